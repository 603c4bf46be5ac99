#pragma once

#include <QString>

// Maps a preset name to the name of its file in the preset directory. The preset
// keeps its name as given ("Name" in the file, "name" in the index); only the
// file name is escaped, so that no name can leave the directory and no two
// names share a file.
namespace PresetFileName {

// Longest escaped name kept as it is, in UTF-8 bytes; longer ones are shortened
// and made unique by a digest, so the file name stays within NAME_MAX (255).
constexpr int kMaxEscapedNameBytes = 200;
// Bytes of the escaped name kept in front of the digest of a shortened name.
constexpr int kShortenedPrefixBytes = 150;

// Percent-encodes, as %XX of their UTF-8 bytes, the characters that could change
// the meaning of a path or that no file system should get: "/", "\", NUL and the
// other control characters, DEL, and the escape characters "%" and "~"
// themselves (so the mapping stays one-to-one). A lone UTF-16 surrogate,
// which has no UTF-8 form, becomes %uXXXX. Every other character is kept.
QString escapeName(const QString &name);

// "Veltro_<escaped name>.dov"; an escaped name longer than kMaxEscapedNameBytes
// is cut on a character boundary and followed by "~" and the SHA-256 of the
// name in hex. "~" never occurs in an escaped name, so shortened and plain
// forms cannot meet.
QString fileNameFor(const QString &name);

// fileNameFor() with "~<n>" before ".dov" (n >= 2): the alternative used when a
// file of the plain name already exists, e.g. on a file system that ignores
// letter case, where "A" and "a" would otherwise share a file.
QString fileNameFor(const QString &name, int variant);

}  // namespace PresetFileName
