#include "QBasePlotGraph.h"

#include <qcustomplot.h>

QBasePlotGraph::QBasePlotGraph(QCPGraph *graph, QObject *parent) : QObject(parent), m_graph(graph) {}

void QBasePlotGraph::setData(const QVector<double> &keys, const QVector<double> &values) {
  m_graph->setData(keys, values, false);
}

void QBasePlotGraph::addData(double key, double value) { m_graph->addData(key, value); }

void QBasePlotGraph::setVisible(bool visible) { m_graph->setVisible(visible); }

void QBasePlotGraph::setGraphColor(const QColor &color) {
  QPen pen = m_graph->pen();
  pen.setColor(color);
  m_graph->setPen(pen);
}

void QBasePlotGraph::setGraphBrush(const QBrush &brush) { m_graph->setBrush(brush); }

void QBasePlotGraph::setGrapWidth(int width) {
  QPen pen = m_graph->pen();
  pen.setWidth(width);
  m_graph->setPen(pen);
}

void QBasePlotGraph::setChannelFillGraph(QCPGraph *other) { m_graph->setChannelFillGraph(other); }

QSharedPointer<QCPGraphDataContainer> QBasePlotGraph::data() const { return m_graph->data(); }
