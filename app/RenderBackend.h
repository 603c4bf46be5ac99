#pragma once

#include <QString>

// Which Qt Quick scene graph draws the pages. With a graphics processor the
// OpenGL renderer is the right one. When OpenGL is only emulated on the CPU
// (Mesa's llvmpipe in a virtual machine or a remote X session, the software
// renderers of macOS and Windows) every frame redraws the whole window on the
// CPU, and each blink of the connection lamp costs tens of milliseconds of the
// main thread; Qt Quick's software renderer then repaints only what changed.
namespace RenderBackend {

// True for the names (GL_RENDERER) of OpenGL renderers that rasterise on the CPU.
bool isSoftwareRasterizer(const QString &glRenderer);

// Chooses the scene graph before the first page exists: the software renderer
// when OpenGL is missing or emulated, otherwise Qt's default. A backend the
// user names in QT_QUICK_BACKEND is left alone. Returns a line for the log.
QString choose();

}  // namespace RenderBackend
