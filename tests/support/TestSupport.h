#pragma once

// What every test process needs: a private HOME, a recorder of QML warnings,
// loading a QML page the way the application does, and rendering an item.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QtTest>

class DeclarativeWindow;
class QQuickItem;
class QQuickWidget;

namespace orvik::test {

// Empties and recreates the private HOME that CTest gave this process
// (ORVIK_TEST_HOME). Without one the process ends: a test never reaches the
// real user's Documents.
void preparePrivateHome();

// The private HOME and the Documents folder inside it.
QString homePath();
QString documentsPath();

// Installs (again) the message handler that records QML warnings and errors.
// It chains to the handler that was there before. Call it again after
// something else (the log service) installed its own handler.
void installMessageRecorder();

// QML warnings and errors recorded so far; take... also forgets them.
QStringList qmlWarnings();
QStringList takeQmlWarnings();

// Loads a QML page with the application's import paths, the native QML types
// registered and every model created and published, as the main window does. The caller owns
// the returned page. Its view is sized to `size` and shown off-screen.
DeclarativeWindow *loadQmlPage(const QString &url, QSize size = QSize(1280, 750));

// The root object's child with this objectName, or null.
QQuickItem *findItem(QQuickWidget *view, const QString &objectName);

// The item as drawn by the view, cropped to the item's rectangle.
QImage renderItem(QQuickWidget *view, QQuickItem *item);
QImage renderView(QQuickWidget *view);

// Runs the test object; the process fails when QML warnings were recorded.
int runTests(QObject *testObject, int argc, char **argv);

}  // namespace orvik::test

// Test entry point: private HOME before anything reads it, a QApplication,
// the QML warning recorder, and a failing exit code on any QML warning.
#define ORVIK_TEST_MAIN(TestClass)                                 \
  int main(int argc, char **argv) {                                \
    orvik::test::preparePrivateHome();                             \
    QApplication app(argc, argv);                                  \
    app.setAttribute(Qt::AA_Use96Dpi, true);                       \
    orvik::test::installMessageRecorder();                         \
    TestClass tc;                                                  \
    return orvik::test::runTests(&tc, argc, argv);                 \
  }

// Fails the current test function when QML warnings were recorded during it.
#define ORVIK_VERIFY_NO_QML_WARNINGS()                                                  \
  do {                                                                                  \
    const QStringList orvikWarnings = orvik::test::takeQmlWarnings();                  \
    QVERIFY2(orvikWarnings.isEmpty(), qPrintable(orvikWarnings.join(QLatin1Char('\n')))); \
  } while (false)
