#include "CapturePlatform.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtGlobal>

namespace CapturePlatform {

QStringList avFoundationInput() {
  return {QStringLiteral("-f"), QStringLiteral("avfoundation"), QStringLiteral("-i"),
          QStringLiteral("Capture screen 0")};
}

QStringList x11GrabInput(const QString &display, const QSize &screenSize) {
  QStringList arguments = {QStringLiteral("-f"), QStringLiteral("x11grab")};
  if (screenSize.isValid() && !screenSize.isEmpty())
    arguments << QStringLiteral("-video_size")
              << QStringLiteral("%1x%2").arg(screenSize.width()).arg(screenSize.height());
  arguments << QStringLiteral("-i") << display;
  return arguments;
}

#if defined(Q_OS_MACOS)

QStringList captureInputArguments() {
  return avFoundationInput();
}

#else

namespace {

// Only an X11 platform's screens are the display's screens; on any other Qt
// platform (offscreen, Wayland) their sizes say nothing about the X server.
QSize x11ScreenSize() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return QSize();
  const QScreen *screen = QGuiApplication::primaryScreen();
  if (!screen) return QSize();
  // The root window spans every monitor; x11grab counts device pixels.
  return screen->virtualGeometry().size() * screen->devicePixelRatio();
}

}  // namespace

QStringList captureInputArguments() {
  QString display = QString::fromLocal8Bit(qgetenv("DISPLAY"));
  if (display.isEmpty()) display = QStringLiteral(":0");
  return x11GrabInput(display, x11ScreenSize());
}

#endif

}  // namespace CapturePlatform
