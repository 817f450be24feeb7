#include "WindowOpeners.h"

TWindowOpeners &WindowOpeners()
{
    static TWindowOpeners openers;
    return openers;
}
