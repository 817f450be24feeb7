#pragma once
// The data page's texts for a renewal: the certificate's data, the company
// and e-mail given (or found), the renewal folder as destination.

#include "RequestData.h"
#include "Renewal.h"

TRequestData RenewalRequestData(const TRenewal &Renewal);
