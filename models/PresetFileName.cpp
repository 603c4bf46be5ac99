#include "PresetFileName.h"

#include <QCryptographicHash>

namespace PresetFileName {
namespace {

const QString kPrefix = QStringLiteral("Veltro_");
const QString kSuffix = QStringLiteral(".dov");
const QChar kDigestMark = QLatin1Char('~');

bool needsEscape(QChar c) {
  const ushort u = c.unicode();
  return u < 0x20 || u == 0x7F || c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('%') ||
         c == kDigestMark;
}

void appendPercentBytes(QString &out, const QByteArray &bytes) {
  for (const char byte : bytes)
    out += QLatin1Char('%') + QString::number(uchar(byte), 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

QString baseName(const QString &name) {
  const QString escaped = escapeName(name);
  if (escaped.toUtf8().size() <= kMaxEscapedNameBytes) return escaped;
  // Cut on a code point boundary; the digest of the whole name keeps names
  // with the same beginning apart.
  QString prefix;
  int bytes = 0;
  for (int i = 0; i < escaped.size(); ++i) {
    const int length = (escaped.at(i).isHighSurrogate() && i + 1 < escaped.size()) ? 2 : 1;
    const QString piece = escaped.mid(i, length);
    const int pieceBytes = piece.toUtf8().size();
    if (bytes + pieceBytes > kShortenedPrefixBytes) break;
    prefix += piece;
    bytes += pieceBytes;
    i += length - 1;
  }
  // Hashed as UTF-16 code units: unlike UTF-8 that form exists for every string.
  const QByteArray units(reinterpret_cast<const char *>(name.utf16()), name.size() * int(sizeof(ushort)));
  const QByteArray digest = QCryptographicHash::hash(units, QCryptographicHash::Sha256).toHex();
  return prefix + kDigestMark + QString::fromLatin1(digest);
}

}  // namespace

QString escapeName(const QString &name) {
  QString out;
  out.reserve(name.size());
  for (int i = 0; i < name.size(); ++i) {
    const QChar c = name.at(i);
    if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
      out += c;
      out += name.at(++i);
    } else if (c.isSurrogate()) {
      out += QLatin1String("%u") + QString::number(c.unicode(), 16).rightJustified(4, QLatin1Char('0')).toUpper();
    } else if (needsEscape(c)) {
      appendPercentBytes(out, QString(c).toUtf8());
    } else {
      out += c;
    }
  }
  return out;
}

QString fileNameFor(const QString &name) {
  return kPrefix + baseName(name) + kSuffix;
}

QString fileNameFor(const QString &name, int variant) {
  if (variant < 2) return fileNameFor(name);
  return kPrefix + baseName(name) + kDigestMark + QString::number(variant) + kSuffix;
}

}  // namespace PresetFileName
