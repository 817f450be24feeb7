#include "RegularExpressions.h"

#include <QByteArray>

// Qt reads this once, when it first optimises an expression.
void PrepareRegularExpressions() { qputenv("QT_ENABLE_REGEXP_JIT", QByteArray("0")); }
