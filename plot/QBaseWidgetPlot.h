#pragma once

#include "OffscreenCustomPlot.h"
#include "QBasePlotGrid.h"
#include "QBasePlotXAxis.h"
#include "QBasePlotYAxis.h"

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QMargins>
#include <QPointF>
#include <QQuickPaintedItem>
#include <QTimer>
#include <qcustomplot.h>

// A Qt Quick item that shows an off-screen QCustomPlot. Input on the item is
// posted to the plot as widget events, so the plot's own signals and built-in
// interactions work as in a widget; every repaint draws the plot and then lets
// the subclass paint overlays on top (paintEvent).
//
// Repaints are cheap and rate-limited: the plot picture is redrawn only when
// something asked for it (replotCustomPlot or the plot's own replot), at most
// once per kMinRepaintIntervalMs, and kept between repaints otherwise. The
// still part of the plot (background, grids, axes) is drawn once per change
// of the ranges, the size or the styling; a repaint copies it and draws the
// graphs and items over it.
class QBaseWidgetPlot : public QQuickPaintedItem {
  Q_OBJECT
public:
  // About 60 repaints per second at most.
  static constexpr int kMinRepaintIntervalMs = 16;

  explicit QBaseWidgetPlot(QQuickItem *parent = nullptr);
  ~QBaseWidgetPlot() override;

  QCustomPlot *customPlot() { return &m_customPlot; }
  const QCustomPlot *customPlot() const { return &m_customPlot; }

  // Schedules a repaint of the whole item with a fresh plot picture.
  Q_INVOKABLE void replotCustomPlot();

  void setBackgroundColor(const QColor &color) { m_backgroundColor = color; }
  QColor backgroundColor() const { return m_backgroundColor; }

  // Conversions between item pixels and plot coordinates (x: bottom axis,
  // y: left axis). Item and plot share one coordinate system.
  QPointF pixelToCoordinate(const QPointF &pixel) const;
  double pixelToCoordinateX(double pixel) const;
  double pixelToCoordinateY(double pixel) const;
  QPointF coordinateToPixel(const QPointF &coordinate) const;
  double coordinateToPixelX(double coordinate) const;
  double coordinateToPixelY(double coordinate) const;
  QPointF getMaxPointCoordinates() const;
  QPointF getMinPointCoordinates() const;
  double getMaxPointCoordinatesX() const;
  double getMaxPointCoordinatesY() const;
  double getMinPointCoordinatesX() const;
  double getMinPointCoordinatesY() const;
  // Pixel y grows downwards: the max point is the top right corner of the
  // axis rectangle, the min point its bottom left corner.
  QPointF getMaxPointPixel() const;
  QPointF getMinPointPixel() const;
  double getMaxPointPixelX() const;
  double getMaxPointPixelY() const;
  double getMinPointPixelX() const;
  double getMinPointPixelY() const;
  bool isInvalidCoordinateX(double x) const;
  bool isInvalidCoordinateY(double y) const;
  bool isInvalidCoordinatePoint(double x, double y) const;
  bool isInvalidCoordinatePoint(const QPointF &point) const;

  // How many times the plot picture and its still part were drawn (for
  // checks of the caching).
  int plotRenderCount() const { return m_plotRenderCount; }
  int stillPartRenderCount() const { return m_stillRenderCount; }

  void paint(QPainter *painter) override;

signals:
  void hoverLeave();

public slots:
  virtual void onChartViewSizeChanged();
  void onChartViewReplot();
  virtual void onMousePressed(QMouseEvent *event);
  virtual void onMouseMoved(QMouseEvent *event);
  virtual void onMouseReleased();

protected:
  virtual void paintEvent(QPainter *painter);
  virtual void routeMouseEvents(QMouseEvent *event);
  virtual void initAxis();
  virtual void initGrid();
  virtual void initGraph();
  virtual void initBackground();
  virtual void initCustomPlot();

  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void wheelEvent(QWheelEvent *event) override;
  void hoverMoveEvent(QHoverEvent *event) override;
  void hoverLeaveEvent(QHoverEvent *event) override;

  // Plot geometry and viewport = the item's rectangle, with these margins
  // around the plot layout; the layout is brought up to date at once, so the
  // conversions are right before the next paint.
  void applyGeometry(const QMargins &layoutMargins);
  // Lays the plot out now (tick vectors, margins, axis rectangle).
  void updatePlotLayout();
  // Schedules a repaint that keeps the plot picture (only overlays changed).
  void requestOverlayRepaint() { requestRepaint(); }
  // The still part must be drawn again (styling changed).
  void invalidateStillPart() { m_stillDirty = true; }

  QBasePlotXAxis &xAxisWrapper() { return m_xAxis; }
  QBasePlotYAxis &yAxisWrapper() { return m_yAxis; }
  QBasePlotGrid &xGridWrapper() { return m_xGrid; }
  QBasePlotGrid &yGridWrapper() { return m_yGrid; }

private:
  void requestRepaint();
  void renderPlot(const QSize &size, qreal devicePixelRatio);

  OffscreenCustomPlot m_customPlot;
  QBasePlotXAxis m_xAxis;
  QBasePlotYAxis m_yAxis;
  QBasePlotGrid m_xGrid;
  QBasePlotGrid m_yGrid;
  QColor m_backgroundColor = Qt::black;

  QImage m_stillImage;
  bool m_stillDirty = true;
  int m_stillRenderCount = 0;
  QImage m_plotImage;
  bool m_plotDirty = true;
  int m_plotRenderCount = 0;
  QElapsedTimer m_sinceLastPaint;
  QTimer m_repaintTimer;
};
