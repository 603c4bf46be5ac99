// Runs a libFuzzer harness over the files of its seed corpus (and any files or
// directories given), so every build checks the corpus without libFuzzer.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const QFileInfo info(QString::fromLocal8Bit(argv[i]));
    QStringList files;
    if (info.isDir()) {
      for (const QFileInfo &entry : QDir(info.filePath()).entryInfoList(QDir::Files, QDir::Name))
        files << entry.filePath();
    } else {
      files << info.filePath();
    }
    for (const QString &path : files) {
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
      }
      const QByteArray bytes = file.readAll();
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
      ++replayed;
    }
  }
  std::printf("replayed %d inputs\n", replayed);
  return replayed > 0 ? 0 : 1;
}
