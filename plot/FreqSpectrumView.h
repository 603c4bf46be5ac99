#pragma once

#include "ChartGeometry.h"
#include "QBasePlotGraph.h"
#include "QBaseWidgetPlot.h"
#include "RightButtonMenu.h"
#include "SweepAxis.h"

#include <QPointF>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPolygonF>
#include <QStaticText>
#include <QVariantList>
#include <QVector>
#include <memory>

// The spectrum chart of the main window: the latest sweep and its max-hold
// against frequency, a tracker under the mouse, ranges dragged in bands
// beside the axes or zoomed with the wheel (always inside the band and level
// limits of the scan settings), a context menu, and the marks and monitoring
// overlays. Sweeps come in from the scan sequence model; each one is handed
// on to the mark and monitoring models.
class FreqSpectrumView : public QBaseWidgetPlot {
  Q_OBJECT
  Q_PROPERTY(bool autoScanLabelVisible READ autoScanLabelVisible WRITE setAutoScanLabelVisible NOTIFY
                 autoScanLabelVisibleChanged)
  Q_PROPERTY(bool markPriorityFrequencyVisible READ frequencyPriorityFlag WRITE setFrequencyPriorityFlag NOTIFY
                 frequencyPriorityFlagChanged)
public:
  // A shape drawn once into a small picture at device resolution, copied to
  // its place (origin, item pixels) at each paint.
  struct Sprite {
    QImage image;
    QPointF origin;
  };

  // The sweep length the tracker counts points against.
  static constexpr int kSweepPoints = 1000;
  static constexpr double kWarningLevelHighDbm = -70.0;
  static constexpr double kWarningLevelLowDbm = -100.0;
  // Width of the level axis's tick-label column.
  static constexpr int kLevelLabelColumnPx = 48;
  // Levels outside the level range are drawn this far inside the frame.
  static constexpr double kClampInsetPx = 3.0;

  explicit FreqSpectrumView(QQuickItem *parent = nullptr);
  ~FreqSpectrumView() override;

  bool autoScanLabelVisible() const { return m_autoScanLabelVisible; }
  void setAutoScanLabelVisible(bool visible);
  bool frequencyPriorityFlag() const { return m_frequencyPriorityFlag; }
  void setFrequencyPriorityFlag(bool visible);

  // Called once by the chart area when its component is complete.
  Q_INVOKABLE void initCustomPlot() override;

  double xMin() const { return m_xMin; }
  double xMax() const { return m_xMax; }
  double yMin() const { return m_yMin; }
  double yMax() const { return m_yMax; }
  QVector<QPointF> mainPoints() const { return m_mainPoints; }
  QVector<QPointF> peakPoints() const { return m_peakPoints; }
  ChartGeometry::BandSegment hoveredSegment() const { return m_hovered; }
  bool isPressed(ChartGeometry::BandSegment segment) const { return m_pressedSegments & segmentBit(segment); }
  QString trackerText() const;
  bool trackerVisible() const;
  QCPItemText *autoScanTip() const { return m_autoScanTip; }
  QCPItemLine *warningLine(int index) const { return index == 0 ? m_warningLineHigh : m_warningLineLow; }
  QBasePlotGraph &mainGraph() { return m_mainGraph; }
  QBasePlotGraph &peakGraph() { return m_peakGraph; }

  // A decoded sweep: one whole-dBm level per point across the scan range.
  void takeSweep(const QVariantList &pointList);
  // A stored sweep (a preset) shown as the current trace.
  void showStoredPoints(const QVector<QPointF> &points);

  // The frequencies of a sweep of pointCount points over the current scan range.
  static SweepAxis::Grid calculateXValues(int pointCount);

  // The context menu for a press at an item position, built and enabled as
  // it will be shown; showRightBtnMenu runs it.
  std::unique_ptr<RightButtonMenu> createRightBtnMenu(const QPointF &itemPosition);
  void showRightBtnMenu(const QPoint &globalPosition);
  RightButtonMenu::MenuActions createMenuActions(double x, double y);

  // The chart as a PNG picture of the given size; savePngFile writes it to a
  // chosen path.
  void savePng(int width, int height);
  bool savePngFile(const QString &path, int width, int height);

  void onChartViewSizeChanged() override;

signals:
  void axisChanged();
  void autoScanLabelVisibleChanged();
  void frequencyPriorityFlagChanged();

protected:
  void initAxis() override;
  void initGraph() override;
  void paintEvent(QPainter *painter) override;

private slots:
  void handleXAxisChanged(const QCPRange &newRange, const QCPRange &oldRange);
  void handleYAxisChanged(const QCPRange &newRange, const QCPRange &oldRange);

private:
  // What the overlays draw, in item pixels, in four parts rebuilt only when
  // what they show changes (the monitoring points, the marks, the switches,
  // the ranges, the size). Shapes are drawn once into small pictures
  // (sprites) at their exact place and copied at each paint; texts are laid
  // out once.
  enum OverlayPart : unsigned {
    PriorityPart = 1u,  // priority-frequency marks and interference bands
    MarksPart = 2u,     // peak and valley marks
    ManualPart = 4u,    // manual monitoring points
    LabelPart = 8u,     // the level unit label
    AllParts = 15u
  };
  struct OverlayScene {
    struct Mark {
      Sprite triangle;
      QStaticText number;
      QPointF numberTopLeft;
    };
    QVector<Sprite> priorityTriangles;
    QVector<QRect> priorityLines;
    QVector<QRect> interferenceBands;
    bool marksShown = false;
    QFont markFont;
    QVector<Mark> marks;
    QFont manualFont;
    QVector<Sprite> manualPoints;
    QFont unitFont;
    QStaticText unitLabel;
    QPointF unitLabelTopLeft;
  };

  void onScanSuccessed(const QVariantList &pointList);
  void onAxisChanged();
  void onStartFreqChanged();
  void onStopFreqChanged();
  void onClearPeakPoints();
  void onPlotMouseMove(QMouseEvent *event);
  void onPlotMousePress(QMouseEvent *event);
  void onPlotMouseRelease(QMouseEvent *event);
  void onPlotMouseDoubleClick(QMouseEvent *event);

  void updateGraphs(const QVector<double> &xs, const QVector<double> &ys);
  // Restarts the max-hold when the sweep's frequencies differ from its own.
  void restartPeakIfGridChanged();
  void updateTracker(const QPoint &pixel);
  void updateInteractions(const QPoint &pixel);
  void dragFrequencyBand(int x);
  void dragLevelBand(int y);
  void placeWarningLines();
  void placeAutoScanTip();
  void invalidateOverlays(unsigned parts = AllParts);
  // A fresh plot picture and overlays.
  void repaint();
  // Only these overlays changed: the plot picture is kept.
  void repaintOverlays(unsigned parts = AllParts);
  // Rebuilt where invalidated, with the fonts and metrics of the painter.
  const OverlayScene &overlayScene(const QPainter *painter);
  void buildPriorityPart(OverlayScene &scene, qreal devicePixelRatio);
  void buildMarksPart(OverlayScene &scene, const QPainter *painter);
  void buildManualPart(OverlayScene &scene, const QPainter *painter);
  void buildLabelPart(OverlayScene &scene, const QPainter *painter);
  // A triangle of 20 x 10 pixels with its tip at `tip`, from a cache of
  // pictures by colour and sub-pixel place.
  Sprite triangleSprite(bool pointingDown, const QPointF &tip, const QColor &fill, const QColor &outline,
                        qreal devicePixelRatio);
  // A mark number laid out in the marks' font, from a cache.
  QStaticText numberText(int number, const QFont &font);
  ChartGeometry::AxisEdges axisEdges() const;
  void setLevelLabelColumn();
  bool isStopped() const;
  static unsigned segmentBit(ChartGeometry::BandSegment segment) { return 1u << unsigned(segment); }

  QBasePlotGraph m_mainGraph;
  QBasePlotGraph m_peakGraph;
  QVector<QPointF> m_mainPoints;
  QVector<QPointF> m_peakPoints;

  QCPItemLine *m_warningLineHigh = nullptr;
  QCPItemLine *m_warningLineLow = nullptr;
  QCPItemText *m_autoScanTip = nullptr;
  QCPItemText *m_trackerText = nullptr;
  QCPItemLine *m_trackerLine = nullptr;
  QCPItemTracer *m_tracer = nullptr;

  double m_xMin = 450.0;
  double m_xMax = 950.0;
  double m_yMin = -110.0;
  double m_yMax = 0.0;

  ChartGeometry::BandSegment m_hovered = ChartGeometry::BandSegment::None;
  // One bit per segment latched by a left press, cleared by the release.
  unsigned m_pressedSegments = 0;
  double m_dragX = 0;
  double m_dragY = 0;

  bool m_autoScanLabelVisible = false;
  bool m_frequencyPriorityFlag = false;
  bool m_initialized = false;

  OverlayScene m_overlay;
  unsigned m_dirtyOverlayParts = AllParts;
  QHash<quint64, Sprite> m_triangleSprites;
  qreal m_spriteRatio = 1.0;
  QHash<int, QStaticText> m_numberTexts;
  QFont m_numberFont;
};
