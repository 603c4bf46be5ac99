#pragma once

#include <QByteArray>
#include <QObject>
#include <QVariantList>

// Publishes each decoded sweep on the main thread, in order.
class FrameSeqModel : public QObject {
  Q_OBJECT
public:
  static FrameSeqModel *instance();
  Q_INVOKABLE QByteArray getHeartFrame() const;

signals:
  void scanSuccessed(QVariantList pointList);

private:
  FrameSeqModel();
};
