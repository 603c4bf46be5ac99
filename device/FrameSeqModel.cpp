#include "FrameSeqModel.h"

#include "FrameProcessor.h"
#include "ThreadHandoff.h"

FrameSeqModel *FrameSeqModel::instance() {
  static FrameSeqModel *const s_instance = new FrameSeqModel();
  return s_instance;
}

FrameSeqModel::FrameSeqModel() : QObject(nullptr) {
  FrameProcessor::instance()->initialize();
  // Queued from the decoder thread; the hand-over is marked here once, for every listener.
  connect(FrameProcessor::instance(), &FrameProcessor::scanSuccessed, this, [this](const QVariantList &pointList) {
    ThreadHandoff::acquire();
    emit scanSuccessed(pointList);
  });
}

QByteArray FrameSeqModel::getHeartFrame() const {
  return FrameProcessor::instance()->getCommandBytes(FrameProcessor::VERSION);
}
