#pragma once
// The machine's environment values and the programs this one starts.

#include <QString>

// A machine environment value read afresh (an installer may have set it
// after this program started) is made this program's own, so that the
// programs it starts see it as a program started now would. On Windows the
// registry's value, expanded, goes into the process environment; on Linux the
// value lives in the stand-in registry only and the environment is left as it
// is.
void AdoptMachineEnvironmentValue(const QString &Name, const QString &Value);
