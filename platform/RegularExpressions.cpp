#include "RegularExpressions.h"

void PrepareRegularExpressions() {}
