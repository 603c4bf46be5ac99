#include "StartupWarmup.h"

#include "LoggerService.h"

#include <QImage>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QScopedPointer>
#include <QUrl>
#include <iterator>

namespace {

// The fonts as the pages load them, and a control of each kind they use most.
const char kWarmupQml[] = R"(
import QtQuick 2.15
import QtQuick.Controls 2.15

Item {
    property var families: [text.name, title.name, digits.name]
    FontLoader { id: text; source: "qrc:/font/MicrosoftYaHei.ttf" }
    FontLoader { id: title; source: "qrc:/font/BankGothicMediumBT.ttf" }
    FontLoader { id: digits; source: "qrc:/font/DS-DIGII.TTF" }
    Button { text: "连接设备" }
    TextField { text: "450.000" }
    ComboBox { model: ["COM1"] }
    Popup {}
}
)";

// Characters of the interface in each font's role.
const char *const kSamples[] = {"连接设备单次扫描连续扫描停止开启跟踪关闭未连接已连接监控列表全选预存库录制视频另存为",
                                "VELTRO Orvik", "0123456789.-"};

}  // namespace

namespace StartupWarmup {

void run() {
  QQmlEngine engine;
  QQmlComponent component(&engine);
  component.setData(kWarmupQml, QUrl(QStringLiteral("qrc:/startup-warmup.qml")));
  const QScopedPointer<QObject> root(component.create());
  if (!root) {
    LOG_WARNING(QStringLiteral("Start-up warm-up failed: %1").arg(component.errorString()));
    return;
  }
  const QStringList families = root->property("families").toStringList();
  QImage canvas(600, 40, QImage::Format_ARGB32_Premultiplied);
  for (int i = 0; i < families.size() && i < int(std::size(kSamples)); ++i) {
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    for (int pixelSize : {12, 14, 16, 18}) {
      QFont font(families.at(i));
      font.setPixelSize(pixelSize);
      painter.setFont(font);
      painter.drawText(0, 30, QString::fromUtf8(kSamples[i]));
    }
  }
}

}  // namespace StartupWarmup
