#include "QBaseWidgetPlot.h"

#include <QCoreApplication>
#include <QPainter>
#include <QQuickWindow>
#include <QtMath>
#include <cstring>

QBaseWidgetPlot::QBaseWidgetPlot(QQuickItem *parent)
    : QQuickPaintedItem(parent), m_customPlot(nullptr), m_xAxis(m_customPlot.xAxis), m_yAxis(m_customPlot.yAxis),
      m_xGrid(m_customPlot.xAxis->grid()), m_yGrid(m_customPlot.yAxis->grid()) {
  setAcceptHoverEvents(true);
  setAcceptedMouseButtons(Qt::AllButtons);
  setRenderTarget(QQuickPaintedItem::FramebufferObject);

  m_repaintTimer.setSingleShot(true);
  connect(&m_repaintTimer, &QTimer::timeout, this, [this] { update(); });

  connect(this, &QQuickItem::widthChanged, this, &QBaseWidgetPlot::onChartViewSizeChanged);
  connect(this, &QQuickItem::heightChanged, this, &QBaseWidgetPlot::onChartViewSizeChanged);
  connect(&m_customPlot, &QCustomPlot::afterReplot, this, &QBaseWidgetPlot::onChartViewReplot);
  // New ranges move the grid and relabel the axes.
  for (QCPAxis *axis : {m_customPlot.xAxis, m_customPlot.yAxis, m_customPlot.xAxis2, m_customPlot.yAxis2})
    connect(axis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this, [this] { m_stillDirty = true; });
  connect(&m_customPlot, &QCustomPlot::mousePress, this, &QBaseWidgetPlot::onMousePressed);
  connect(&m_customPlot, &QCustomPlot::mouseMove, this, &QBaseWidgetPlot::onMouseMoved);
  connect(&m_customPlot, &QCustomPlot::mouseRelease, this, [this](QMouseEvent *) { onMouseReleased(); });
}

QBaseWidgetPlot::~QBaseWidgetPlot() = default;

void QBaseWidgetPlot::replotCustomPlot() {
  m_plotDirty = true;
  requestRepaint();
}

void QBaseWidgetPlot::onChartViewReplot() { replotCustomPlot(); }

void QBaseWidgetPlot::requestRepaint() {
  // Sweeps, mouse moves and model signals can ask many times per frame; one
  // repaint per interval answers them all.
  if (m_sinceLastPaint.isValid() && m_sinceLastPaint.elapsed() < kMinRepaintIntervalMs) {
    if (!m_repaintTimer.isActive())
      m_repaintTimer.start(int(kMinRepaintIntervalMs - m_sinceLastPaint.elapsed()));
    return;
  }
  update();
}

// ---- coordinates ----------------------------------------------------------

QPointF QBaseWidgetPlot::pixelToCoordinate(const QPointF &pixel) const {
  return QPointF(m_xAxis.pixelToCoord(pixel.x()), m_yAxis.pixelToCoord(pixel.y()));
}
double QBaseWidgetPlot::pixelToCoordinateX(double pixel) const { return m_xAxis.pixelToCoord(pixel); }
double QBaseWidgetPlot::pixelToCoordinateY(double pixel) const { return m_yAxis.pixelToCoord(pixel); }

QPointF QBaseWidgetPlot::coordinateToPixel(const QPointF &coordinate) const {
  return QPointF(m_xAxis.coordToPixel(coordinate.x()), m_yAxis.coordToPixel(coordinate.y()));
}
double QBaseWidgetPlot::coordinateToPixelX(double coordinate) const { return m_xAxis.coordToPixel(coordinate); }
double QBaseWidgetPlot::coordinateToPixelY(double coordinate) const { return m_yAxis.coordToPixel(coordinate); }

QPointF QBaseWidgetPlot::getMaxPointCoordinates() const {
  return QPointF(m_xAxis.getMaxCoordinate(), m_yAxis.getMaxCoordinate());
}
QPointF QBaseWidgetPlot::getMinPointCoordinates() const {
  return QPointF(m_xAxis.getMinCoordinate(), m_yAxis.getMinCoordinate());
}
double QBaseWidgetPlot::getMaxPointCoordinatesX() const { return m_xAxis.getMaxCoordinate(); }
double QBaseWidgetPlot::getMaxPointCoordinatesY() const { return m_yAxis.getMaxCoordinate(); }
double QBaseWidgetPlot::getMinPointCoordinatesX() const { return m_xAxis.getMinCoordinate(); }
double QBaseWidgetPlot::getMinPointCoordinatesY() const { return m_yAxis.getMinCoordinate(); }

QPointF QBaseWidgetPlot::getMaxPointPixel() const { return QPointF(m_xAxis.getMaxPixel(), m_yAxis.getMaxPixel()); }
QPointF QBaseWidgetPlot::getMinPointPixel() const { return QPointF(m_xAxis.getMinPixel(), m_yAxis.getMinPixel()); }
double QBaseWidgetPlot::getMaxPointPixelX() const { return m_xAxis.getMaxPixel(); }
double QBaseWidgetPlot::getMaxPointPixelY() const { return m_yAxis.getMaxPixel(); }
double QBaseWidgetPlot::getMinPointPixelX() const { return m_xAxis.getMinPixel(); }
double QBaseWidgetPlot::getMinPointPixelY() const { return m_yAxis.getMinPixel(); }

bool QBaseWidgetPlot::isInvalidCoordinateX(double x) const { return m_xAxis.isInvalidCoordinate(x); }
bool QBaseWidgetPlot::isInvalidCoordinateY(double y) const { return m_yAxis.isInvalidCoordinate(y); }
bool QBaseWidgetPlot::isInvalidCoordinatePoint(double x, double y) const {
  return isInvalidCoordinateX(x) || isInvalidCoordinateY(y);
}
bool QBaseWidgetPlot::isInvalidCoordinatePoint(const QPointF &point) const {
  return isInvalidCoordinatePoint(point.x(), point.y());
}

// ---- painting -------------------------------------------------------------

void QBaseWidgetPlot::paint(QPainter *painter) {
  m_sinceLastPaint.start();
  const QSize size(qRound(width()), qRound(height()));
  if (size.isEmpty())
    return;
  // One device pixel per device pixel: sharp on high-density screens.
  const qreal ratio = window() ? qMax<qreal>(1.0, window()->effectiveDevicePixelRatio()) : 1.0;
  const QSize pixels(qCeil(size.width() * ratio), qCeil(size.height() * ratio));
  if (m_plotDirty || m_plotImage.size() != pixels || !qFuzzyCompare(m_plotImage.devicePixelRatio(), ratio))
    renderPlot(size, ratio);
  painter->drawImage(QPointF(0, 0), m_plotImage);
  painter->setRenderHint(QPainter::Antialiasing, true);
  paintEvent(painter);
}

void QBaseWidgetPlot::renderPlot(const QSize &size, qreal devicePixelRatio) {
  const QSize pixels(qCeil(size.width() * devicePixelRatio), qCeil(size.height() * devicePixelRatio));
  // An opaque picture is copied rather than blended onto the item.
  const QImage::Format format =
      m_backgroundColor.alpha() == 255 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
  if (m_stillDirty || m_stillImage.size() != pixels || m_stillImage.format() != format
      || !qFuzzyCompare(m_stillImage.devicePixelRatio(), devicePixelRatio)) {
    m_stillImage = QImage(pixels, format);
    m_stillImage.setDevicePixelRatio(devicePixelRatio);
    m_stillImage.fill(Qt::transparent);
    QCPPainter stillPainter(&m_stillImage);
    m_customPlot.renderStillPart(&stillPainter, size);
    m_stillDirty = false;
    ++m_stillRenderCount;
  }
  if (m_plotImage.size() != pixels || m_plotImage.format() != format)
    m_plotImage = QImage(pixels, format);
  m_plotImage.setDevicePixelRatio(devicePixelRatio);
  std::memcpy(m_plotImage.bits(), m_stillImage.constBits(), size_t(m_stillImage.sizeInBytes()));
  {
    QCPPainter plotPainter(&m_plotImage);
    m_customPlot.renderMovingPart(&plotPainter, size);
  }
  m_plotDirty = false;
  ++m_plotRenderCount;
}

void QBaseWidgetPlot::paintEvent(QPainter *painter) { Q_UNUSED(painter) }

// ---- geometry -------------------------------------------------------------

void QBaseWidgetPlot::onChartViewSizeChanged() { applyGeometry(QMargins(0, 0, 0, 0)); }

void QBaseWidgetPlot::applyGeometry(const QMargins &layoutMargins) {
  const QRect rect(0, 0, int(width()), int(height()));
  m_customPlot.setGeometry(rect);
  m_customPlot.setViewport(rect);
  m_customPlot.plotLayout()->setMargins(layoutMargins);
  m_customPlot.axisRect()->setMinimumMargins(QMargins(0, 0, 0, 0));
  updatePlotLayout();
  m_stillDirty = true;
  replotCustomPlot();
}

void QBaseWidgetPlot::updatePlotLayout() {
  QCPLayoutGrid *layout = m_customPlot.plotLayout();
  layout->update(QCPLayoutElement::upPreparation);
  layout->update(QCPLayoutElement::upMargins);
  layout->update(QCPLayoutElement::upLayout);
}

void QBaseWidgetPlot::initBackground() {
  m_customPlot.setBackground(QBrush(m_backgroundColor, Qt::SolidPattern));
  m_stillDirty = true;
}

void QBaseWidgetPlot::initAxis() {}
void QBaseWidgetPlot::initGrid() {}
void QBaseWidgetPlot::initGraph() {}
void QBaseWidgetPlot::initCustomPlot() {}
void QBaseWidgetPlot::onMousePressed(QMouseEvent *event) { Q_UNUSED(event) }
void QBaseWidgetPlot::onMouseMoved(QMouseEvent *event) { Q_UNUSED(event) }
void QBaseWidgetPlot::onMouseReleased() {}

// ---- input ----------------------------------------------------------------

void QBaseWidgetPlot::mousePressEvent(QMouseEvent *event) { routeMouseEvents(event); }

void QBaseWidgetPlot::mouseMoveEvent(QMouseEvent *event) {
  unsetCursor();
  routeMouseEvents(event);
}

void QBaseWidgetPlot::mouseReleaseEvent(QMouseEvent *event) { routeMouseEvents(event); }

void QBaseWidgetPlot::mouseDoubleClickEvent(QMouseEvent *event) { routeMouseEvents(event); }

void QBaseWidgetPlot::routeMouseEvents(QMouseEvent *event) {
  // Posted, not sent: the plot handles the copy on a later pass of the event
  // loop, never inside the item's own handler. The screen position travels
  // along so that a menu opened by the plot appears under the pointer.
  auto *copy = new QMouseEvent(event->type(), event->localPos(), event->localPos(), event->screenPos(),
                               event->button(), event->buttons(), event->modifiers());
  QCoreApplication::postEvent(&m_customPlot, copy);
}

void QBaseWidgetPlot::wheelEvent(QWheelEvent *event) {
  const QPointF position(QPointF(event->position().toPoint()));
  auto *copy = new QWheelEvent(position, event->globalPosition(), event->pixelDelta(), event->angleDelta(),
                               event->buttons(), event->modifiers(), event->phase(), event->inverted(),
                               event->source());
  QCoreApplication::postEvent(&m_customPlot, copy);
}

void QBaseWidgetPlot::hoverMoveEvent(QHoverEvent *event) {
  const QPointF position(QPointF(event->posF().toPoint()));
  QMouseEvent move(QEvent::MouseMove, position, position, mapToGlobal(position), Qt::NoButton, Qt::NoButton,
                   event->modifiers());
  routeMouseEvents(&move);
}

void QBaseWidgetPlot::hoverLeaveEvent(QHoverEvent *event) {
  Q_UNUSED(event)
  emit hoverLeave();
}
