#pragma once
// The folders every part of the program agrees on.

#include <QString>

// The user's documents folder ("Personal" of the user's shell folders); empty
// when it is not known.
QString GetPersonalFolder();

// Where the wizard writes by default and the certificates are looked for:
// the documents folder, with the platform's path delimiter appended unless
// it ends with one, + "Mis certificados" (a single delimiter + "Mis
// certificados" when the documents folder is not known).
QString DefaultCertificatesFolder();
