#include "ScreenFit.h"

#include <QByteArray>

#include <cmath>

namespace {

bool Fits(double AFactor, const QSize &AAvailable, const QSize &AClient)
{
    // A pixel of slack for the rounding of fractional factors.
    const double w = std::ceil((AClient.width() + FrameAllowanceWidth) * AFactor);
    const double h = std::ceil((AClient.height() + FrameAllowanceHeight) * AFactor);
    return w <= AAvailable.width() + 1 && h <= AAvailable.height() + 1;
}

} // namespace

double FittingScaleFactor(double ACurrent, const QSize &AAvailable, const QSize &AClient)
{
    if (ACurrent <= 1.0 || Fits(ACurrent, AAvailable, AClient))
        return ACurrent;
    // The quarter steps below the current factor, largest first.
    for (double f = std::ceil(ACurrent * 4.0 - 1.0) / 4.0; f > 1.0; f -= 0.25) {
        if (Fits(f, AAvailable, AClient))
            return f;
    }
    return 1.0;
}

QByteArray ScaleFactorSetting(double ACurrent, double AWanted, const QByteArray &AInForce)
{
    bool ok = false;
    double inForce = AInForce.trimmed().toDouble(&ok);
    if (!ok || inForce <= 0)
        inForce = 1.0;
    return QByteArray::number(inForce * AWanted / ACurrent, 'g', 6);
}
