#include "FontWarmUp.h"

#include <fontconfig/fontconfig.h>

TFontWarmUp::TFontWarmUp()
    : FThread([] { FcInit(); })
{
}

TFontWarmUp::~TFontWarmUp()
{
    Wait();
}

void TFontWarmUp::Wait()
{
    if (FThread.joinable())
        FThread.join();
}
