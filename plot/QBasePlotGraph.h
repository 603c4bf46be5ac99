#pragma once

#include <QBrush>
#include <QColor>
#include <QObject>
#include <QVector>
#include <qcustomplot.h>

// One graph of the plot. The plot owns the graph; the wrapper only points at it.
class QBasePlotGraph : public QObject {
  Q_OBJECT
public:
  explicit QBasePlotGraph(QCPGraph *graph, QObject *parent = nullptr);

  QCPGraph *graph() const { return m_graph; }

  // Replaces all data; the keys need not be sorted.
  void setData(const QVector<double> &keys, const QVector<double> &values);
  void addData(double key, double value);
  void setVisible(bool visible);
  void setGraphColor(const QColor &color);
  void setGraphBrush(const QBrush &brush);
  void setGrapWidth(int width);
  // Fills the area between this graph and the other one (none: no fill).
  void setChannelFillGraph(QCPGraph *other);
  QSharedPointer<QCPGraphDataContainer> data() const;

private:
  QCPGraph *m_graph;
};
