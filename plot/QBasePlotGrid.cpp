#include "QBasePlotGrid.h"

#include <qcustomplot.h>

QBasePlotGrid::QBasePlotGrid(QCPGrid *grid, QObject *parent) : QObject(parent), m_grid(grid) {}

void QBasePlotGrid::setVisible(bool visible) { m_grid->setVisible(visible); }

void QBasePlotGrid::setSubVisible(bool visible) { m_grid->setSubGridVisible(visible); }
