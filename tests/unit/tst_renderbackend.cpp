// The choice of the scene graph: CPU-emulated OpenGL renderers are told apart
// from real graphics processors by their GL_RENDERER names, and a backend the
// user names is left alone.

#include "RenderBackend.h"
#include "TestSupport.h"

#include <QQuickWindow>

class TestRenderBackend : public QObject {
  Q_OBJECT

private slots:
  void isSoftwareRasterizer_data() {
    QTest::addColumn<QString>("renderer");
    QTest::addColumn<bool>("software");
    QTest::newRow("Mesa llvmpipe") << "llvmpipe (LLVM 15.0.6, 256 bits)" << true;
    QTest::newRow("Mesa softpipe") << "softpipe" << true;
    QTest::newRow("Mesa swrast") << "Mesa X11 swrast" << true;
    QTest::newRow("Mesa software rasterizer") << "Software Rasterizer" << true;
    QTest::newRow("macOS software") << "Apple Software Renderer" << true;
    QTest::newRow("Windows GDI") << "GDI Generic" << true;
    QTest::newRow("Windows basic driver") << "Microsoft Basic Render Driver" << true;
    QTest::newRow("Apple GPU") << "Apple M2" << false;
    QTest::newRow("Intel GPU on Mesa") << "Mesa Intel(R) UHD Graphics 620 (KBL GT2)" << false;
    QTest::newRow("AMD GPU on Mesa") << "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)" << false;
    QTest::newRow("NVIDIA") << "NVIDIA GeForce GTX 1650/PCIe/SSE2" << false;
    QTest::newRow("virtual GPU") << "virgl (Intel(R) Iris(R) Xe Graphics)" << false;
  }

  void isSoftwareRasterizer() {
    QFETCH(QString, renderer);
    QFETCH(bool, software);
    QCOMPARE(RenderBackend::isSoftwareRasterizer(renderer), software);
  }

  // The test environment names the software backend; the choice keeps it and says so.
  void choose_keepsTheBackendTheUserNamed() {
    QCOMPARE(qEnvironmentVariable("QT_QUICK_BACKEND"), QStringLiteral("software"));
    QCOMPARE(RenderBackend::choose(), QStringLiteral("Scene graph: software (from QT_QUICK_BACKEND)"));
    QCOMPARE(QQuickWindow::sceneGraphBackend(), QString());
  }
};

ORVIK_TEST_MAIN(TestRenderBackend)
#include "tst_renderbackend.moc"
