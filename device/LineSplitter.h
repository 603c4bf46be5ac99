#pragma once

#include <QByteArray>
#include <QList>

// Cutting the analyser's byte stream into text lines. A line ends at a line
// feed; one carriage return right before it is dropped with it, so "\r\n" and
// "\n" both end a line, while a bare "\r" stays part of the line. Empty lines
// are not reported. Bytes are not decoded: binary data is split the same way.
namespace LineSplitter {

// The unfinished line kept between chunks is capped, so a device that streams
// bytes without ever sending a line feed cannot grow it without limit. Only the
// newest bytes are kept: a version banner at the end of an overlong line still
// arrives whole.
constexpr int kMaxLineBufferBytes = 64 * 1024;

// Appends `chunk` to `lineBuffer` (the text after the last line feed seen so
// far), returns the complete, non-empty lines in order, without their line
// ends, and leaves the unfinished rest in `lineBuffer`. When the rest exceeds
// kMaxLineBufferBytes its oldest bytes are dropped; their number is added to
// *droppedBytes when given, so the caller can report it.
QList<QByteArray> splitLines(QByteArray &lineBuffer, const QByteArray &chunk, int *droppedBytes = nullptr);

}  // namespace LineSplitter
