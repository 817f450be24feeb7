#include "FontWarmUp.h"

// Windows keeps its fonts loaded system-wide: the toolkit asks GDI, which has
// nothing to parse first, so there is no work for a thread of its own.

TFontWarmUp::TFontWarmUp() = default;

TFontWarmUp::~TFontWarmUp()
{
    Wait();
}

void TFontWarmUp::Wait()
{
    if (FThread.joinable())
        FThread.join();
}
