#include "RenderBackend.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace RenderBackend {

bool isSoftwareRasterizer(const QString &glRenderer) {
  static const char *const kSoftwareRenderers[] = {
      "llvmpipe", "softpipe", "swrast", "Software Rasterizer", "Apple Software Renderer", "GDI Generic",
      "Microsoft Basic Render Driver",
  };
  for (const char *name : kSoftwareRenderers) {
    if (glRenderer.contains(QLatin1String(name), Qt::CaseInsensitive)) return true;
  }
  return false;
}

QString choose() {
  if (!qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
    return QStringLiteral("Scene graph: %1 (from QT_QUICK_BACKEND)").arg(qEnvironmentVariable("QT_QUICK_BACKEND"));

  QString renderer;
  {
    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (context.create() && surface.isValid() && context.makeCurrent(&surface)) {
      renderer = QString::fromLatin1(reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER)));
      context.doneCurrent();
    }
  }
  if (renderer.isEmpty()) {
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    return QStringLiteral("Scene graph: software (no OpenGL context)");
  }
  if (isSoftwareRasterizer(renderer)) {
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    return QStringLiteral("Scene graph: software (OpenGL is emulated by %1)").arg(renderer);
  }
  return QStringLiteral("Scene graph: OpenGL on %1").arg(renderer);
}

}  // namespace RenderBackend
