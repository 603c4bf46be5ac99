// Draws the application's pictures (window buttons, button faces, panel and
// chart backgrounds, lamps, scan and record icons...) in the dark theme of the
// interface and writes them into one directory (PNG, or JPEG where the file
// name asks for it).
//
// The pictures are kept in the repository (qml/res), so a normal build does
// not run this program; the `artgen` target runs it to redraw them.
//
// Usage: orvik-artgen <output directory>

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <QTextStream>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// Every picture is drawn at twice the size it is usually shown at, so it stays
// sharp on high-density screens and when QML scales it up a little.
constexpr int kWindowButtonPx = 40;
constexpr int kDialogClosePx = 52;
constexpr int kLampPx = 64;
constexpr int kScanIconPx = 48;
constexpr int kMenuIconPx = 60;  // shown at 30 px in the chart's context menu
constexpr int kJpegQuality = 95;
constexpr double kPi = 3.14159265358979323846;

const QColor kCyan(0x00, 0xbf, 0xff);
const QColor kPressedGreen(0x8c, 0xc0, 0xaa);
const QColor kWhite(0xff, 0xff, 0xff);
// The context menu's own background, under pictures saved without alpha.
const QColor kMenuBackground(0x33, 0x33, 0x33);

struct Picture {
  QString fileName;
  QSize size;
  std::function<void(QPainter &, const QRectF &)> draw;
};

bool isJpeg(const Picture &picture) {
  return picture.fileName.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive);
}

QImage render(const Picture &picture) {
  // JPEG keeps no alpha, so such pictures are drawn onto the menu background
  // they are shown on instead of onto transparency.
  const bool opaque = isJpeg(picture);
  QImage image(picture.size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
  image.fill(opaque ? kMenuBackground : QColor(Qt::transparent));
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  picture.draw(painter, QRectF(QPointF(0, 0), QSizeF(picture.size)));
  painter.end();
  return image;
}

QPen roundPen(const QColor &color, qreal width) {
  QPen pen(color, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// ---- title bar and window buttons ------------------------------------------

void drawTitleBar(QPainter &p, const QRectF &r) {
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0.0, QColor(0x4a, 0x4d, 0x52));
  fill.setColorAt(0.55, QColor(0x2f, 0x31, 0x35));
  fill.setColorAt(1.0, QColor(0x26, 0x27, 0x2a));
  p.fillRect(r, fill);
  // A thin cyan line along the bottom, brightest in the middle, separates the
  // bar from the page without a hard frame.
  QLinearGradient line(r.topLeft(), r.topRight());
  line.setColorAt(0.0, QColor(0, 0xbf, 0xff, 0));
  line.setColorAt(0.5, QColor(0, 0xbf, 0xff, 200));
  line.setColorAt(1.0, QColor(0, 0xbf, 0xff, 0));
  p.fillRect(QRectF(r.left(), r.bottom() - 3, r.width(), 2), line);
  p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), QColor(255, 255, 255, 40));
}

void drawCircleFace(QPainter &p, const QRectF &r, const QColor &face) {
  const QRectF disc = r.adjusted(2, 2, -2, -2);
  QRadialGradient shade(disc.center() - QPointF(0, disc.height() * 0.2), disc.width() * 0.7);
  shade.setColorAt(0.0, face.lighter(110));
  shade.setColorAt(1.0, face.darker(118));
  p.setPen(QPen(QColor(0, 0, 0, 90), 1.5));
  p.setBrush(shade);
  p.drawEllipse(disc);
}

enum class WindowGlyph { Close, Shrink, FullScreen };

void drawWindowButton(QPainter &p, const QRectF &r, WindowGlyph glyph, bool hover) {
  QColor face = kWhite;
  QColor ink(0x33, 0x33, 0x33);
  if (hover) {
    face = glyph == WindowGlyph::Close ? QColor(0xe5, 0x4b, 0x4b) : kCyan;
    ink = kWhite;
  }
  drawCircleFace(p, r, face);
  const QPointF c = r.center();
  const qreal s = r.width() * 0.2;
  p.setPen(roundPen(ink, r.width() * 0.09));
  p.setBrush(Qt::NoBrush);
  switch (glyph) {
  case WindowGlyph::Close:
    p.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
    p.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
    break;
  case WindowGlyph::Shrink:
    p.drawLine(c + QPointF(-s * 1.2, 0), c + QPointF(s * 1.2, 0));
    break;
  case WindowGlyph::FullScreen: {
    const qreal a = s * 1.15;
    const qreal arm = s * 0.75;
    for (int sx : {-1, 1}) {
      for (int sy : {-1, 1}) {
        const QPointF corner = c + QPointF(sx * a, sy * a);
        QPainterPath path;
        path.moveTo(corner - QPointF(sx * arm, 0));
        path.lineTo(corner);
        path.lineTo(corner - QPointF(0, sy * arm));
        p.drawPath(path);
      }
    }
    break;
  }
  }
}

// ---- button faces, dialog strip and close icon ------------------------------

void drawGeneralButton(QPainter &p, const QRectF &r, bool pressed) {
  // The shadow below, then the face with a light rim; the face sits lower when
  // pressed, so the button looks pushed in.
  const qreal radius = r.height() * 0.22;
  const QRectF shadow = r.adjusted(2, 6, -2, -1);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x12, 0x12, 0x12, 220));
  p.drawRoundedRect(shadow, radius, radius);

  const QRectF face = pressed ? r.adjusted(3, 6, -3, -4) : r.adjusted(3, 3, -3, -8);
  QLinearGradient fill(face.topLeft(), face.bottomLeft());
  if (pressed) {
    fill.setColorAt(0.0, QColor(0x2c, 0x2e, 0x31));
    fill.setColorAt(1.0, QColor(0x3a, 0x3d, 0x41));
  } else {
    fill.setColorAt(0.0, QColor(0x5a, 0x5d, 0x62));
    fill.setColorAt(0.5, QColor(0x46, 0x48, 0x4c));
    fill.setColorAt(1.0, QColor(0x3a, 0x3c, 0x40));
  }
  p.setBrush(fill);
  p.setPen(QPen(pressed ? QColor(0x8c, 0xc0, 0xaa, 170) : QColor(0xc8, 0xcc, 0xd2, 150), 2));
  p.drawRoundedRect(face, radius, radius);
  // A soft gloss over the upper half that fades out before the middle, where
  // the button's text stands.
  if (!pressed) {
    const QRectF gloss = face.adjusted(2, 2, -2, -face.height() * 0.5);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0.0, QColor(255, 255, 255, 55));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawRoundedRect(gloss, radius * 0.8, radius * 0.8);
  }
}

void drawDialogTitle(QPainter &p, const QRectF &r) {
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0.0, QColor(0x4b, 0x50, 0x57));
  fill.setColorAt(1.0, QColor(0x2e, 0x31, 0x36));
  p.fillRect(r, fill);
  QLinearGradient accent(r.topLeft(), r.topRight());
  accent.setColorAt(0.0, QColor(0, 0xbf, 0xff, 230));
  accent.setColorAt(0.6, QColor(0, 0xbf, 0xff, 60));
  accent.setColorAt(1.0, QColor(0, 0xbf, 0xff, 0));
  p.fillRect(QRectF(r.left(), r.bottom() - 2, r.width(), 2), accent);
  p.fillRect(QRectF(r.left(), r.top(), 6, r.height()), QColor(0, 0xbf, 0xff, 200));
}

void drawDialogClose(QPainter &p, const QRectF &r) {
  const QRectF ring = r.adjusted(4, 4, -4, -4);
  p.setPen(QPen(QColor(255, 255, 255, 200), 2.5));
  p.setBrush(QColor(255, 255, 255, 25));
  p.drawEllipse(ring);
  const QPointF c = r.center();
  const qreal s = r.width() * 0.17;
  p.setPen(roundPen(kWhite, r.width() * 0.07));
  p.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
  p.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
}

// ---- lamps, scan panel and scan icons --------------------------------------

void drawLamp(QPainter &p, const QRectF &r, bool lit) {
  const QRectF bezel = r.adjusted(4, 4, -4, -4);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1a, 0x1a, 0x1a));
  p.drawEllipse(bezel);
  const QRectF glass = bezel.adjusted(6, 6, -6, -6);
  QRadialGradient g(glass.center() - QPointF(glass.width() * 0.15, glass.height() * 0.15), glass.width() * 0.65);
  if (lit) {
    g.setColorAt(0.0, QColor(0xd8, 0xff, 0xc8));
    g.setColorAt(0.35, QColor(0x46, 0xfa, 0x32));
    g.setColorAt(1.0, QColor(0x16, 0x7a, 0x10));
  } else {
    g.setColorAt(0.0, QColor(0x6a, 0x6e, 0x6a));
    g.setColorAt(0.4, QColor(0x3c, 0x40, 0x3c));
    g.setColorAt(1.0, QColor(0x20, 0x22, 0x20));
  }
  p.setBrush(g);
  p.setPen(QPen(QColor(0, 0, 0, 160), 1.5));
  p.drawEllipse(glass);
}

void drawScanPanel(QPainter &p, const QRectF &r) {
  p.fillRect(r, Qt::black);
  const QRectF bar = r.adjusted(4, 6, -4, -6);
  const qreal radius = bar.height() * 0.3;
  QLinearGradient fill(bar.topLeft(), bar.bottomLeft());
  fill.setColorAt(0.0, QColor(0x4c, 0x4e, 0x52));
  fill.setColorAt(0.5, QColor(0x3a, 0x3c, 0x3f));
  fill.setColorAt(1.0, QColor(0x2c, 0x2d, 0x30));
  p.setBrush(fill);
  p.setPen(QPen(QColor(0x70, 0x74, 0x7a), 2));
  p.drawRoundedRect(bar, radius, radius);
}

void drawScanHighlight(QPainter &p, const QRectF &r) {
  const QRectF area = r.adjusted(4, 4, -4, -4);
  const qreal radius = area.height() * 0.3;
  QLinearGradient fill(area.topLeft(), area.bottomLeft());
  fill.setColorAt(0.0, QColor(0x1e, 0x2a, 0x26));
  fill.setColorAt(0.5, QColor(0x2a, 0x42, 0x3a));
  fill.setColorAt(1.0, QColor(0x1a, 0x24, 0x20));
  p.setBrush(fill);
  p.setPen(QPen(QColor(0x8c, 0xc0, 0xaa, 200), 2));
  p.drawRoundedRect(area, radius, radius);
}

enum class ScanGlyph { Single, Stop, Continuous };

void drawScanIcon(QPainter &p, const QRectF &r, ScanGlyph glyph, const QColor &ink) {
  const QPointF c = r.center();
  const qreal s = r.width() * 0.3;
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  switch (glyph) {
  case ScanGlyph::Single: {
    // Play once: a triangle against a bar.
    QPainterPath tri;
    tri.moveTo(c + QPointF(-s * 0.9, -s));
    tri.lineTo(c + QPointF(s * 0.6, 0));
    tri.lineTo(c + QPointF(-s * 0.9, s));
    tri.closeSubpath();
    p.drawPath(tri);
    p.drawRoundedRect(QRectF(c.x() + s * 0.65, c.y() - s, s * 0.35, 2 * s), 2, 2);
    break;
  }
  case ScanGlyph::Stop:
    p.drawRoundedRect(QRectF(c.x() - s * 0.85, c.y() - s * 0.85, s * 1.7, s * 1.7), 4, 4);
    break;
  case ScanGlyph::Continuous: {
    // Two chasing arrows on a ring.
    const QRectF ring(c.x() - s, c.y() - s, 2 * s, 2 * s);
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(ink, r.width() * 0.1));
    p.drawArc(ring, 20 * 16, 140 * 16);
    p.drawArc(ring, 200 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (double angleDeg : {20.0, 200.0}) {
      const double a = angleDeg * kPi / 180.0;
      const QPointF tip(c.x() + s * std::cos(a), c.y() - s * std::sin(a));
      const QPointF along(std::sin(a), std::cos(a));  // clockwise tangent
      const QPointF out(std::cos(a), -std::sin(a));
      const qreal h = r.width() * 0.14;
      QPainterPath head;
      head.moveTo(tip + along * h);
      head.lineTo(tip + out * h * 0.9 - along * h * 0.3);
      head.lineTo(tip - out * h * 0.9 - along * h * 0.3);
      head.closeSubpath();
      p.drawPath(head);
    }
    break;
  }
  }
}

// ---- chart, media and panel pictures ---------------------------------------

void drawChartBackground(QPainter &p, const QRectF &r) {
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0.0, QColor(0x3e, 0x40, 0x44));
  fill.setColorAt(1.0, QColor(0x2a, 0x2b, 0x2e));
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 14, 14);
  p.setPen(QPen(QColor(0x5e, 0x62, 0x68), 2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 13, 13);
}

void drawRecordIcon(QPainter &p, const QRectF &r, bool recording) {
  const QRectF ring = r.adjusted(4, 4, -4, -4);
  p.setPen(QPen(recording ? QColor(0xff, 0x5a, 0x5a) : QColor(0xdd, 0xdd, 0xdd), 3));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(ring);
  const QRectF dot = ring.adjusted(ring.width() * 0.22, ring.height() * 0.22, -ring.width() * 0.22,
                                   -ring.height() * 0.22);
  p.setPen(Qt::NoPen);
  p.setBrush(recording ? QColor(0xff, 0x2e, 0x2e) : QColor(0x80, 0x80, 0x80));
  p.drawEllipse(dot);
}

void drawToggleTrack(QPainter &p, const QRectF &r, bool on) {
  const QRectF track = r.adjusted(2, 2, -2, -2);
  const qreal radius = track.height() / 2;
  p.setPen(QPen(on ? kCyan.darker(120) : QColor(0x6a, 0x6a, 0x6a), 2));
  p.setBrush(on ? QColor(0x00, 0x8c, 0xbd) : QColor(0x22, 0x22, 0x22));
  p.drawRoundedRect(track, radius, radius);
}

void drawToggleThumb(QPainter &p, const QRectF &r) {
  const QRectF disc = r.adjusted(3, 3, -3, -3);
  QRadialGradient g(disc.center() - QPointF(0, disc.height() * 0.2), disc.width() * 0.7);
  g.setColorAt(0.0, kWhite);
  g.setColorAt(1.0, QColor(0xc8, 0xc8, 0xc8));
  p.setPen(QPen(QColor(0, 0, 0, 110), 1.5));
  p.setBrush(g);
  p.drawEllipse(disc);
}

void drawCheck(QPainter &p, const QRectF &r, bool checked) {
  const QRectF box = r.adjusted(4, 4, -4, -4);
  p.setPen(QPen(checked ? kCyan : QColor(0xaa, 0xaa, 0xaa), 3));
  p.setBrush(checked ? QColor(0x00, 0x5e, 0x80) : QColor(0x1c, 0x1c, 0x1c));
  p.drawRoundedRect(box, 6, 6);
  if (checked) {
    QPainterPath tick;
    tick.moveTo(box.left() + box.width() * 0.22, box.top() + box.height() * 0.52);
    tick.lineTo(box.left() + box.width() * 0.43, box.top() + box.height() * 0.72);
    tick.lineTo(box.left() + box.width() * 0.78, box.top() + box.height() * 0.3);
    p.setPen(roundPen(kWhite, r.width() * 0.09));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
  }
}

void drawTrackIcon(QPainter &p, const QRectF &r, bool peak, bool on) {
  // A small spectrum hump (peak) or dip (valley) with a marker triangle.
  const QColor ink = on ? (peak ? QColor(0xff, 0x7a, 0x45) : QColor(0x45, 0xb5, 0xff)) : QColor(0x80, 0x80, 0x80);
  const QRectF area = r.adjusted(r.width() * 0.1, r.height() * 0.15, -r.width() * 0.1, -r.height() * 0.15);
  const qreal base = peak ? area.bottom() : area.top();
  const qreal tip = peak ? area.top() + area.height() * 0.3 : area.bottom() - area.height() * 0.3;
  QPainterPath curve;
  curve.moveTo(area.left(), base);
  curve.cubicTo(QPointF(area.center().x() - area.width() * 0.15, base), QPointF(area.center().x() - area.width() * 0.1, tip),
                QPointF(area.center().x(), tip));
  curve.cubicTo(QPointF(area.center().x() + area.width() * 0.1, tip), QPointF(area.center().x() + area.width() * 0.15, base),
                QPointF(area.right(), base));
  p.setPen(roundPen(ink, r.width() * 0.08));
  p.setBrush(Qt::NoBrush);
  p.drawPath(curve);
  const qreal h = area.height() * 0.22;
  const qreal markerY = peak ? tip - h * 0.4 : tip + h * 0.4;
  QPainterPath marker;
  marker.moveTo(area.center().x(), markerY);
  marker.lineTo(area.center().x() - h * 0.7, markerY + (peak ? -h : h));
  marker.lineTo(area.center().x() + h * 0.7, markerY + (peak ? -h : h));
  marker.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawPath(marker);
}

void drawPanelBackground(QPainter &p, const QRectF &r) {
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0.0, QColor(0x3c, 0x3d, 0x40));
  fill.setColorAt(1.0, QColor(0x30, 0x31, 0x33));
  p.setPen(QPen(QColor(0x55, 0x58, 0x5c), 2));
  p.setBrush(fill);
  p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 12, 12);
}

void drawListBackground(QPainter &p, const QRectF &r) {
  p.setPen(QPen(QColor(0x4a, 0x4c, 0x50), 2));
  p.setBrush(QColor(0x26, 0x27, 0x29));
  p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 10, 10);
}

// ---- frequency, plot and monitoring panel icons ----------------------------

void drawConfirmIcon(QPainter &p, const QRectF &r) {
  const QRectF ring = r.adjusted(4, 4, -4, -4);
  p.setPen(QPen(kCyan, 3));
  p.setBrush(QColor(0x00, 0x3c, 0x52));
  p.drawEllipse(ring);
  QPainterPath tick;
  tick.moveTo(ring.left() + ring.width() * 0.27, ring.top() + ring.height() * 0.52);
  tick.lineTo(ring.left() + ring.width() * 0.44, ring.top() + ring.height() * 0.69);
  tick.lineTo(ring.left() + ring.width() * 0.75, ring.top() + ring.height() * 0.34);
  p.setPen(roundPen(kWhite, r.width() * 0.09));
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
}

void drawClearIcon(QPainter &p, const QRectF &r) {
  // A waste bin: lid with a handle, and a tapered body with three ribs.
  const QColor ink(0xdd, 0xdd, 0xdd);
  const qreal w = r.width();
  const qreal h = r.height();
  p.setPen(roundPen(ink, w * 0.07));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(r.left() + w * 0.18, r.top() + h * 0.26), QPointF(r.left() + w * 0.82, r.top() + h * 0.26));
  p.drawLine(QPointF(r.left() + w * 0.40, r.top() + h * 0.16), QPointF(r.left() + w * 0.60, r.top() + h * 0.16));
  QPainterPath body;
  body.moveTo(r.left() + w * 0.26, r.top() + h * 0.34);
  body.lineTo(r.left() + w * 0.32, r.top() + h * 0.84);
  body.lineTo(r.left() + w * 0.68, r.top() + h * 0.84);
  body.lineTo(r.left() + w * 0.74, r.top() + h * 0.34);
  p.drawPath(body);
  p.setPen(roundPen(ink, w * 0.05));
  for (qreal x : {0.41, 0.50, 0.59})
    p.drawLine(QPointF(r.left() + w * x, r.top() + h * 0.44), QPointF(r.left() + w * x, r.top() + h * 0.74));
}

void drawOneClickIcon(QPainter &p, const QRectF &r, bool start) {
  // Start: a green play triangle in a ring; stop: a red square in a ring.
  const QColor ink = start ? QColor(0x46, 0xfa, 0x32) : QColor(0xff, 0x5a, 0x4a);
  const QRectF ring = r.adjusted(4, 4, -4, -4);
  p.setPen(QPen(ink, 3));
  p.setBrush(QColor(0x1a, 0x1a, 0x1a));
  p.drawEllipse(ring);
  const QPointF c = ring.center();
  const qreal s = ring.width() * 0.22;
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  if (start) {
    QPainterPath tri;
    tri.moveTo(c + QPointF(-s * 0.7, -s));
    tri.lineTo(c + QPointF(s * 1.0, 0));
    tri.lineTo(c + QPointF(-s * 0.7, s));
    tri.closeSubpath();
    p.drawPath(tri);
  } else {
    p.drawRoundedRect(QRectF(c.x() - s * 0.85, c.y() - s * 0.85, s * 1.7, s * 1.7), 3, 3);
  }
}

// ---- chart context menu icons ----------------------------------------------

const QColor kMenuInk(0xdd, 0xdd, 0xdd);

// A sweep edge: a baseline, an upright cyan marker and an arrow pointing from
// it into the sweep. The stop edge is the start edge mirrored left to right.
void drawFrequencyEdgeIcon(QPainter &p, const QRectF &r, bool start) {
  p.save();
  if (!start) {
    p.translate(r.left() + r.right(), 0);
    p.scale(-1, 1);
  }
  const qreal w = r.width();
  const qreal h = r.height();
  p.setBrush(Qt::NoBrush);
  p.setPen(roundPen(kMenuInk, w * 0.06));
  p.drawLine(QPointF(r.left() + w * 0.12, r.top() + h * 0.82), QPointF(r.left() + w * 0.88, r.top() + h * 0.82));
  p.setPen(roundPen(kCyan, w * 0.08));
  p.drawLine(QPointF(r.left() + w * 0.26, r.top() + h * 0.16), QPointF(r.left() + w * 0.26, r.top() + h * 0.82));
  p.setPen(roundPen(kMenuInk, w * 0.07));
  const qreal y = r.top() + h * 0.48;
  const qreal tipX = r.left() + w * 0.82;
  p.drawLine(QPointF(r.left() + w * 0.38, y), QPointF(tipX, y));
  QPainterPath head;
  head.moveTo(tipX - w * 0.16, y - h * 0.14);
  head.lineTo(tipX, y);
  head.lineTo(tipX - w * 0.16, y + h * 0.14);
  p.drawPath(head);
  p.restore();
}

// A scale edge: a level axis with ticks, the edge line in cyan and an arrow
// pushing it outwards. The bottom edge is the top edge mirrored upside down.
void drawScaleEdgeIcon(QPainter &p, const QRectF &r, bool top) {
  p.save();
  if (!top) {
    p.translate(0, r.top() + r.bottom());
    p.scale(1, -1);
  }
  const qreal w = r.width();
  const qreal h = r.height();
  p.setBrush(Qt::NoBrush);
  p.setPen(roundPen(kMenuInk, w * 0.06));
  const qreal axisX = r.left() + w * 0.24;
  p.drawLine(QPointF(axisX, r.top() + h * 0.18), QPointF(axisX, r.top() + h * 0.86));
  for (qreal ty : {0.40, 0.58, 0.76})
    p.drawLine(QPointF(axisX - w * 0.08, r.top() + h * ty), QPointF(axisX + w * 0.06, r.top() + h * ty));
  p.setPen(roundPen(kCyan, w * 0.08));
  p.drawLine(QPointF(axisX - w * 0.1, r.top() + h * 0.18), QPointF(r.left() + w * 0.86, r.top() + h * 0.18));
  p.setPen(roundPen(kMenuInk, w * 0.07));
  const qreal x = r.left() + w * 0.62;
  const qreal tipY = r.top() + h * 0.32;
  p.drawLine(QPointF(x, r.top() + h * 0.82), QPointF(x, tipY));
  QPainterPath head;
  head.moveTo(x - w * 0.14, tipY + h * 0.16);
  head.lineTo(x, tipY);
  head.lineTo(x + w * 0.14, tipY + h * 0.16);
  p.drawPath(head);
  p.restore();
}

// A marker triangle standing on a spectrum trace, with a round badge holding
// a plus (add) or a minus (delete).
void drawDetectionPointIcon(QPainter &p, const QRectF &r, bool add) {
  const qreal w = r.width();
  const qreal h = r.height();
  QPainterPath trace;
  trace.moveTo(r.left() + w * 0.08, r.top() + h * 0.74);
  trace.lineTo(r.left() + w * 0.22, r.top() + h * 0.66);
  trace.lineTo(r.left() + w * 0.34, r.top() + h * 0.70);
  trace.lineTo(r.left() + w * 0.44, r.top() + h * 0.42);
  trace.lineTo(r.left() + w * 0.54, r.top() + h * 0.68);
  trace.lineTo(r.left() + w * 0.66, r.top() + h * 0.62);
  p.setPen(roundPen(kMenuInk, w * 0.06));
  p.setBrush(Qt::NoBrush);
  p.drawPath(trace);
  QPainterPath marker;
  marker.moveTo(r.left() + w * 0.44, r.top() + h * 0.36);
  marker.lineTo(r.left() + w * 0.34, r.top() + h * 0.16);
  marker.lineTo(r.left() + w * 0.54, r.top() + h * 0.16);
  marker.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kCyan);
  p.drawPath(marker);

  const QColor badge = add ? QColor(0x3c, 0xc8, 0x5a) : QColor(0xe5, 0x4b, 0x4b);
  const QRectF disc(r.left() + w * 0.56, r.top() + h * 0.56, w * 0.38, h * 0.38);
  p.setPen(QPen(QColor(0, 0, 0, 120), 1.5));
  p.setBrush(badge);
  p.drawEllipse(disc);
  const QPointF c = disc.center();
  const qreal s = disc.width() * 0.26;
  p.setPen(roundPen(kWhite, w * 0.06));
  p.drawLine(c - QPointF(s, 0), c + QPointF(s, 0));
  if (add)
    p.drawLine(c - QPointF(0, s), c + QPointF(0, s));
}

// A framed picture: hills under a sun.
void drawSavePictureIcon(QPainter &p, const QRectF &r) {
  const qreal w = r.width();
  const qreal h = r.height();
  const QRectF frame(r.left() + w * 0.12, r.top() + h * 0.2, w * 0.76, h * 0.6);
  p.setPen(roundPen(kMenuInk, w * 0.06));
  p.setBrush(QColor(0x1c, 0x1c, 0x1c));
  p.drawRoundedRect(frame, w * 0.06, w * 0.06);
  p.save();
  p.setClipRect(frame.adjusted(w * 0.04, h * 0.04, -w * 0.04, -h * 0.04));
  QPainterPath hills;
  hills.moveTo(frame.left(), frame.bottom());
  hills.lineTo(frame.left() + frame.width() * 0.36, frame.top() + frame.height() * 0.42);
  hills.lineTo(frame.left() + frame.width() * 0.58, frame.top() + frame.height() * 0.7);
  hills.lineTo(frame.left() + frame.width() * 0.74, frame.top() + frame.height() * 0.54);
  hills.lineTo(frame.right(), frame.top() + frame.height() * 0.8);
  hills.lineTo(frame.right(), frame.bottom());
  hills.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kCyan);
  p.drawPath(hills);
  p.restore();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xff, 0xc8, 0x3c));
  p.drawEllipse(QPointF(frame.left() + frame.width() * 0.74, frame.top() + frame.height() * 0.3), w * 0.06, w * 0.06);
}

// A sheet with a folded corner, ruled into a small table.
void drawSaveCsvIcon(QPainter &p, const QRectF &r) {
  const qreal w = r.width();
  const qreal h = r.height();
  const qreal left = r.left() + w * 0.2;
  const qreal right = r.left() + w * 0.8;
  const qreal top = r.top() + h * 0.12;
  const qreal bottom = r.top() + h * 0.88;
  const qreal fold = w * 0.18;
  QPainterPath sheet;
  sheet.moveTo(left, top);
  sheet.lineTo(right - fold, top);
  sheet.lineTo(right, top + fold);
  sheet.lineTo(right, bottom);
  sheet.lineTo(left, bottom);
  sheet.closeSubpath();
  p.setPen(roundPen(kMenuInk, w * 0.06));
  p.setBrush(QColor(0x1c, 0x1c, 0x1c));
  p.drawPath(sheet);
  QPainterPath corner;
  corner.moveTo(right - fold, top);
  corner.lineTo(right - fold, top + fold);
  corner.lineTo(right, top + fold);
  p.setBrush(Qt::NoBrush);
  p.drawPath(corner);
  p.setPen(roundPen(kCyan, w * 0.04));
  const qreal tableLeft = left + w * 0.1;
  const qreal tableRight = right - w * 0.1;
  for (qreal ty : {0.46, 0.60, 0.74})
    p.drawLine(QPointF(tableLeft, r.top() + h * ty), QPointF(tableRight, r.top() + h * ty));
  const qreal column = tableLeft + (tableRight - tableLeft) * 0.4;
  p.drawLine(QPointF(column, r.top() + h * 0.4), QPointF(column, r.top() + h * 0.8));
}

std::vector<Picture> pictures() {
  using W = WindowGlyph;
  using S = ScanGlyph;
  const QSize winBtn(kWindowButtonPx, kWindowButtonPx);
  const QSize scanIcon(kScanIconPx, kScanIconPx);
  const QSize menuIcon(kMenuIconPx, kMenuIconPx);
  const QColor iconIdle(0xdd, 0xdd, 0xdd);
  return {
      {"title_bar_bg.png", QSize(2560, 45), drawTitleBar},
      {"window_close_icon_normal.png", winBtn, [](QPainter &p, const QRectF &r) { drawWindowButton(p, r, W::Close, false); }},
      {"window_close_icon_hover.png", winBtn, [](QPainter &p, const QRectF &r) { drawWindowButton(p, r, W::Close, true); }},
      {"window_shrink_icon_normal.png", winBtn, [](QPainter &p, const QRectF &r) { drawWindowButton(p, r, W::Shrink, false); }},
      {"window_shrink_icon_hover.png", winBtn, [](QPainter &p, const QRectF &r) { drawWindowButton(p, r, W::Shrink, true); }},
      {"full_screen_icon_normal.png", winBtn, [](QPainter &p, const QRectF &r) { drawWindowButton(p, r, W::FullScreen, false); }},
      {"full_screen_icon_hover.png", winBtn, [](QPainter &p, const QRectF &r) { drawWindowButton(p, r, W::FullScreen, true); }},
      {"general_btn_bg_normal.png", QSize(240, 72), [](QPainter &p, const QRectF &r) { drawGeneralButton(p, r, false); }},
      {"general_btn_bg_pressed.png", QSize(240, 72), [](QPainter &p, const QRectF &r) { drawGeneralButton(p, r, true); }},
      {"title_bg.png", QSize(1200, 60), drawDialogTitle},
      {"close.png", QSize(kDialogClosePx, kDialogClosePx), drawDialogClose},
      {"connected_icon.png", QSize(kLampPx, kLampPx), [](QPainter &p, const QRectF &r) { drawLamp(p, r, true); }},
      {"disconnect_icon.png", QSize(kLampPx, kLampPx), [](QPainter &p, const QRectF &r) { drawLamp(p, r, false); }},
      {"scan_btn_bg.png", QSize(460, 90), drawScanPanel},
      {"scan_pressed_bg.png", QSize(160, 70), drawScanHighlight},
      {"single_scan_btn_icon_normal_1.png", scanIcon, [=](QPainter &p, const QRectF &r) { drawScanIcon(p, r, S::Single, iconIdle); }},
      {"single_scan_btn_icon_pressed_1.png", scanIcon, [](QPainter &p, const QRectF &r) { drawScanIcon(p, r, S::Single, kPressedGreen); }},
      {"stop_scan_btn_icon_normal_1.png", scanIcon, [=](QPainter &p, const QRectF &r) { drawScanIcon(p, r, S::Stop, iconIdle); }},
      {"stop_scan_btn_icon_pressed_1.png", scanIcon, [](QPainter &p, const QRectF &r) { drawScanIcon(p, r, S::Stop, QColor(0xff, 0x6a, 0x5a)); }},
      {"continue_scan_btn_icon_normal_1.png", scanIcon, [=](QPainter &p, const QRectF &r) { drawScanIcon(p, r, S::Continuous, iconIdle); }},
      {"continue_scan_btn_icon_pressed_1.png", scanIcon, [](QPainter &p, const QRectF &r) { drawScanIcon(p, r, S::Continuous, kPressedGreen); }},
      {"line_chart_bg.png", QSize(1280, 720), drawChartBackground},
      {"video_record_icon_normal.png", QSize(48, 48), [](QPainter &p, const QRectF &r) { drawRecordIcon(p, r, false); }},
      {"video_record_icon_pressed.png", QSize(48, 48), [](QPainter &p, const QRectF &r) { drawRecordIcon(p, r, true); }},
      {"toggle_switch_on.png", QSize(96, 48), [](QPainter &p, const QRectF &r) { drawToggleTrack(p, r, true); }},
      {"toggle_switch_off.png", QSize(96, 48), [](QPainter &p, const QRectF &r) { drawToggleTrack(p, r, false); }},
      {"toggle_switch_thumb.png", QSize(48, 48), drawToggleThumb},
      {"select_check_pressed.png", QSize(40, 40), [](QPainter &p, const QRectF &r) { drawCheck(p, r, true); }},
      {"select_check_released.png", QSize(40, 40), [](QPainter &p, const QRectF &r) { drawCheck(p, r, false); }},
      {"track_peak_icon_on.png", QSize(48, 48), [](QPainter &p, const QRectF &r) { drawTrackIcon(p, r, true, true); }},
      {"track_peak_icon_off.png", QSize(48, 48), [](QPainter &p, const QRectF &r) { drawTrackIcon(p, r, true, false); }},
      {"track_valley_icon_on.png", QSize(48, 48), [](QPainter &p, const QRectF &r) { drawTrackIcon(p, r, false, true); }},
      {"track_valley_icon_off.png", QSize(48, 48), [](QPainter &p, const QRectF &r) { drawTrackIcon(p, r, false, false); }},
      {"panel_bg.png", QSize(460, 280), drawPanelBackground},
      {"list_bg.png", QSize(460, 600), drawListBackground},
      {"confirm_icon.png", QSize(48, 48), drawConfirmIcon},
      {"clear_icon.png", QSize(48, 48), drawClearIcon},
      {"one_click_start_icon.png", QSize(48, 48), [](QPainter &p, const QRectF &r) { drawOneClickIcon(p, r, true); }},
      {"one_click_stop_icon.png", QSize(48, 48), [](QPainter &p, const QRectF &r) { drawOneClickIcon(p, r, false); }},
      {"start_fre_icon.png", menuIcon, [](QPainter &p, const QRectF &r) { drawFrequencyEdgeIcon(p, r, true); }},
      {"end_fre_icon.jpg", menuIcon, [](QPainter &p, const QRectF &r) { drawFrequencyEdgeIcon(p, r, false); }},
      {"highest_scale_icon.png", menuIcon, [](QPainter &p, const QRectF &r) { drawScaleEdgeIcon(p, r, true); }},
      {"lowest_scale_icon.png", menuIcon, [](QPainter &p, const QRectF &r) { drawScaleEdgeIcon(p, r, false); }},
      {"add_detection_points_icon.png", menuIcon, [](QPainter &p, const QRectF &r) { drawDetectionPointIcon(p, r, true); }},
      {"del_detection_points_icon.png", menuIcon, [](QPainter &p, const QRectF &r) { drawDetectionPointIcon(p, r, false); }},
      {"save_picture_icon.png", menuIcon, drawSavePictureIcon},
      {"save_csv_file_icon.png", menuIcon, drawSaveCsvIcon},
  };
}

}  // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QTextStream err(stderr);
  const QStringList args = app.arguments();
  if (args.size() != 2) {
    err << "usage: orvik-artgen <output directory>\n";
    return 2;
  }
  const QDir outDir(args.at(1));
  if (!QDir().mkpath(outDir.absolutePath())) {
    err << "cannot create " << outDir.absolutePath() << "\n";
    return 1;
  }
  int failures = 0;
  for (const Picture &picture : pictures()) {
    const QString path = outDir.filePath(picture.fileName);
    // Fixed compression settings and no text chunks, so that drawing the same
    // picture twice gives the same file and the repository sees no change.
    const bool saved = isJpeg(picture) ? render(picture).save(path, "JPG", kJpegQuality)
                                       : render(picture).save(path, "PNG", 0);
    if (!saved) {
      err << "cannot write " << path << "\n";
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
