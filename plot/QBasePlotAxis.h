#pragma once

#include <QObject>

class QCPAxis;

// Pixel/plot conversions through one axis of the plot. The axis belongs to the
// plot; the wrapper only points at it.
class QBasePlotAxis : public QObject {
  Q_OBJECT
public:
  explicit QBasePlotAxis(QCPAxis *axis, QObject *parent = nullptr);

  QCPAxis *axis() const { return m_axis; }

  double pixelToCoord(double pixel) const;
  double coordToPixel(double coordinate) const;
  // Pixel of the range's upper and lower bound.
  double getMaxPixel() const;
  double getMinPixel() const;
  double getMaxCoordinate() const;
  double getMinCoordinate() const;
  // True outside the current range; the bounds themselves are valid.
  bool isInvalidCoordinate(double coordinate) const;

private:
  QCPAxis *m_axis;
};
