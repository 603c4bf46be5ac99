#include "ChartGeometry.h"

#include <algorithm>

namespace ChartGeometry {
namespace {

constexpr double kTrackerLeftOffsetPx = -110.0;
constexpr double kTrackerRightOffsetPx = 20.0;
constexpr double kTrackerUpOffsetPx = -60.0;
constexpr double kTrackerDownOffsetPx = 10.0;
constexpr double kTrackerRightZone = 0.1;
constexpr double kTrackerBottomZone = 0.2;
constexpr int kUnitLabelMaxPoints = 12;
constexpr double kUnitLabelPointsPerPx = 0.02;
constexpr double kTipPointsPerPx = 0.13;

bool between(double value, double low, double high) { return low < value && value < high; }

}  // namespace

BandSegment bandSegmentAt(const QPointF &pixel, const AxisEdges &edges) {
  const double x = pixel.x();
  const double y = pixel.y();
  if (between(y, edges.bottom, edges.bottom + kBandWidthPx)) {
    if (between(x, edges.left, kFirstSplit * edges.right))
      return BandSegment::FrequencyLeft;
    if (between(x, kFirstSplit * edges.right, kSecondSplit * edges.right))
      return BandSegment::FrequencyCentre;
    if (between(x, kSecondSplit * edges.right, edges.right))
      return BandSegment::FrequencyRight;
  }
  if (between(x, edges.left - kBandWidthPx, edges.left)) {
    if (between(y, edges.top, kFirstSplit * edges.bottom))
      return BandSegment::LevelTop;
    if (between(y, kFirstSplit * edges.bottom, kSecondSplit * edges.bottom))
      return BandSegment::LevelCentre;
    if (between(y, kSecondSplit * edges.bottom, edges.bottom))
      return BandSegment::LevelBottom;
  }
  return BandSegment::None;
}

QRectF bandSegmentRect(BandSegment segment, const AxisEdges &edges) {
  const double belowAxis = edges.bottom + kBandWidthPx;
  const double leftOfAxis = edges.left - kBandWidthPx;
  switch (segment) {
  case BandSegment::FrequencyLeft:
    return QRectF(QPointF(edges.left, edges.bottom), QPointF(kFirstSplit * edges.right, belowAxis));
  case BandSegment::FrequencyCentre:
    return QRectF(QPointF(kFirstSplit * edges.right, edges.bottom), QPointF(kSecondSplit * edges.right, belowAxis));
  case BandSegment::FrequencyRight:
    return QRectF(QPointF(kSecondSplit * edges.right, edges.bottom), QPointF(edges.right, belowAxis));
  case BandSegment::LevelTop:
    return QRectF(QPointF(leftOfAxis, edges.top), QPointF(edges.left, kFirstSplit * edges.bottom));
  case BandSegment::LevelCentre:
    return QRectF(QPointF(leftOfAxis, kFirstSplit * edges.bottom), QPointF(edges.left, kSecondSplit * edges.bottom));
  case BandSegment::LevelBottom:
    return QRectF(QPointF(leftOfAxis, kSecondSplit * edges.bottom), QPointF(edges.left, edges.bottom));
  case BandSegment::None:
    break;
  }
  return QRectF();
}

QVector<QRect> interferenceBands(const QVector<double> &pixelXs, const AxisEdges &edges) {
  QVector<QRect> bands;
  bool open = false;
  double startX = 0;
  for (int i = 0; i < pixelXs.size(); ++i) {
    const double x = pixelXs[i];
    if (!open) {
      startX = x;
      open = true;
    }
    const bool last = i + 1 == pixelXs.size();
    if (last || pixelXs[i + 1] > x + kBandMergeDistancePx) {
      const int left = int(startX - 1);
      const int width = int(x - startX + 2);
      const int top = int(edges.top);
      const int bottom = int(edges.bottom);
      bands.append(QRect(left, top, width, bottom - top));
      open = false;
    }
  }
  return bands;
}

QRect priorityLineRect(double x, const AxisEdges &edges) {
  const int left = int(x);
  const int top = int(edges.top);
  const int bottom = int(edges.bottom);
  // A 2-pixel pen centred on the edges of [left, left + 1] x [top, bottom + 1].
  return QRect(QPoint(left - 1, top - 1), QPoint(left + 1, bottom + 1));
}

QColor markColor(int id) {
  static const QColor kColors[] = {QColor("#946a00"), QColor("#ff0000"), QColor("#ff7b00"), QColor("#fffb00"),
                                   QColor("#48ff00"), QColor("#00BFFF"), QColor("#b700ff"), QColor("#818181")};
  constexpr int kCount = int(sizeof(kColors) / sizeof(kColors[0]));
  return id >= 0 && id < kCount ? kColors[id] : kColors[kCount - 1];
}

QPointF trackerTextOffset(const QPointF &cursor, const AxisEdges &edges, const QSizeF &itemSize) {
  const double dx =
      cursor.x() > edges.right - kTrackerRightZone * itemSize.width() ? kTrackerLeftOffsetPx : kTrackerRightOffsetPx;
  const double dy =
      cursor.y() > edges.bottom - kTrackerBottomZone * itemSize.height() ? kTrackerUpOffsetPx : kTrackerDownOffsetPx;
  return QPointF(dx, dy);
}

int unitLabelPointSize(double itemHeight) {
  // A font needs at least one point; tiny items get the smallest.
  return std::max(1, int(std::min<double>(kUnitLabelMaxPoints, kUnitLabelPointsPerPx * itemHeight)));
}

int autoScanTipPointSize(double plotHeight) { return std::max(1, int(kTipPointsPerPx * plotHeight)); }

}  // namespace ChartGeometry
