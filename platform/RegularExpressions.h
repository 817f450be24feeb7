#pragma once
// Called first thing in main(), before any regular expression is matched.
// On Windows, Qt's regular expressions are then matched by PCRE2's
// interpreter instead of its just-in-time compiler: with the compiler, the
// static Qt of the Windows build crashes or hangs when several threads match
// at once (the certificate book reads its files on worker threads). Elsewhere
// nothing changes.
void PrepareRegularExpressions();
