#pragma once
// Keeping the fixed-size window on the screen at high scale factors: the
// window is 709 x 533 pixels at a scale factor of 1 and cannot shrink, so a
// factor that makes it larger than the screen's free area is lowered, in
// steps of a quarter, until the window with its frame fits (never below 1).

#include <QSize>

// The room a window manager's frame takes around the client area, at a scale
// factor of 1 (a generous title bar and borders).
constexpr int FrameAllowanceWidth = 16;
constexpr int FrameAllowanceHeight = 48;

// The largest factor, ACurrent itself or a quarter step below it, at which
// AClient plus the frame allowance (both at factor 1) fit AAvailable (in
// device pixels). ACurrent when it already fits or is 1 or less; 1 when
// nothing above it fits.
double FittingScaleFactor(double ACurrent, const QSize &AAvailable, const QSize &AClient);

// The value of QT_SCALE_FACTOR that turns a screen factor of ACurrent into
// AWanted, given the QT_SCALE_FACTOR in force (empty: none).
QByteArray ScaleFactorSetting(double ACurrent, double AWanted, const QByteArray &AInForce);
