#include "Environment.h"

void AdoptMachineEnvironmentValue(const QString &Name, const QString &Value)
{
    Q_UNUSED(Name);
    Q_UNUSED(Value);
}
