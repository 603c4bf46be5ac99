#pragma once

#include <QObject>

class QCPGrid;

// One axis grid of the plot. The grid belongs to its axis; the wrapper only
// points at it. The spectrum styles its grids with ConfigUtils::setGrid.
class QBasePlotGrid : public QObject {
  Q_OBJECT
public:
  explicit QBasePlotGrid(QCPGrid *grid, QObject *parent = nullptr);

  QCPGrid *grid() const { return m_grid; }
  void setVisible(bool visible);
  void setSubVisible(bool visible);

private:
  QCPGrid *m_grid;
};
