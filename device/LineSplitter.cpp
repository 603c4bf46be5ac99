#include "LineSplitter.h"

namespace LineSplitter {

QList<QByteArray> splitLines(QByteArray &lineBuffer, const QByteArray &chunk, int *droppedBytes) {
  QList<QByteArray> lines;
  lineBuffer.append(chunk);
  int lineStart = 0;
  for (int lineFeed = lineBuffer.indexOf('\n'); lineFeed >= 0; lineFeed = lineBuffer.indexOf('\n', lineStart)) {
    int lineEnd = lineFeed;
    if (lineEnd > lineStart && lineBuffer.at(lineEnd - 1) == '\r') --lineEnd;
    if (lineEnd > lineStart) lines.append(lineBuffer.mid(lineStart, lineEnd - lineStart));
    lineStart = lineFeed + 1;
  }
  lineBuffer.remove(0, lineStart);
  if (lineBuffer.size() > kMaxLineBufferBytes) {
    const int excess = lineBuffer.size() - kMaxLineBufferBytes;
    lineBuffer.remove(0, excess);
    if (droppedBytes) *droppedBytes += excess;
  }
  return lines;
}

}  // namespace LineSplitter
