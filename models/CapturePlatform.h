#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// The screen-capture input that ffmpeg is given for a recording. Everything else
// on its command line (overwrite flag, output file) is the same on every platform.
namespace CapturePlatform {

// macOS: AVFoundation's first screen.
QStringList avFoundationInput();

// X11: the display's whole screen. A valid size is passed as the capture size;
// without one ffmpeg takes the size of the display's root window itself.
QStringList x11GrabInput(const QString &display, const QSize &screenSize);

// The input for this platform and this session: on Linux the display named by
// DISPLAY (":0" when unset) with the size of the screen Qt shows on, if Qt runs on X11.
QStringList captureInputArguments();

}  // namespace CapturePlatform
