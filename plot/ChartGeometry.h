#pragma once

// Pixel geometry of the spectrum chart's interaction bands and overlays, as
// free functions of the axis rectangle's edges.

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QVector>

namespace ChartGeometry {

// Width of the bands beside the bottom and left axis that drag the ranges.
constexpr double kBandWidthPx = 40.0;
// The bands are split at these fractions of the right and bottom edge's
// pixel position (measured from the item's corner, not along the axis).
constexpr double kFirstSplit = 0.35;
constexpr double kSecondSplit = 0.65;
// Interference points closer than this (pixels) belong to one band.
constexpr double kBandMergeDistancePx = 4.0;

// Pixel edges of the axis rectangle (y grows downwards: top < bottom).
struct AxisEdges {
  double left = 0;
  double right = 0;
  double top = 0;
  double bottom = 0;
};

enum class BandSegment { None, FrequencyLeft, FrequencyCentre, FrequencyRight, LevelTop, LevelCentre, LevelBottom };

// The band segment under a pixel; boundary pixels belong to none.
BandSegment bandSegmentAt(const QPointF &pixel, const AxisEdges &edges);

// The highlight of a hovered segment (empty for None).
QRectF bandSegmentRect(BandSegment segment, const AxisEdges &edges);

// Translucent bands over the plot height for interference points at these
// pixel x positions (ascending): neighbours at most kBandMergeDistancePx
// apart merge, every band is one pixel wider on each side.
QVector<QRect> interferenceBands(const QVector<double> &pixelXs, const AxisEdges &edges);

// The vertical line of a priority frequency at pixel x: the outline, two
// pixels wide, of a one-pixel-wide rectangle from the top to the bottom edge
// at x truncated to a whole pixel, which fills this rectangle.
QRect priorityLineRect(double x, const AxisEdges &edges);

// The colour of mark slot `id` (0 to 7); grey outside the table.
QColor markColor(int id);

// Where the tracker text goes relative to the cursor: to its left near the
// right edge, above it near the bottom.
QPointF trackerTextOffset(const QPointF &cursor, const AxisEdges &edges, const QSizeF &itemSize);

// Point size of the level unit label for an item height.
int unitLabelPointSize(double itemHeight);

// Point size of the one-click scan tip for a plot height.
int autoScanTipPointSize(double plotHeight);

}  // namespace ChartGeometry
