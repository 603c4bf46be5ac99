#include "FrameSeqModel.h"

#include "FrameProcessor.h"

FrameSeqModel *FrameSeqModel::instance() {
  static FrameSeqModel *const s_instance = new FrameSeqModel();
  return s_instance;
}

FrameSeqModel::FrameSeqModel() : QObject(nullptr) {
  FrameProcessor::instance()->initialize();
  connect(FrameProcessor::instance(), &FrameProcessor::scanSuccessed, this, &FrameSeqModel::scanSuccessed);
}

QByteArray FrameSeqModel::getHeartFrame() const {
  return FrameProcessor::instance()->getCommandBytes(FrameProcessor::VERSION);
}
