// Any file read a block of lines at a time, with the sizes read and handed out taken from the
// input's first two bytes: the blocks make the text a whole read makes, the line count and the
// last lines agree with it, and leaving the last lines out leaves them out of the text.
#include <unistd.h>

#include <QFile>
#include <cstdint>
#include <cstdlib>

#include "platform/cp1251.h"
#include "platform/linereader.h"
#include "platform/textfile.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

QString filePath() {
  static const QString path = QStringLiteral("%1/fuzz_line_reader_%2")
                                  .arg(QFile::exists("/dev/shm") ? "/dev/shm" : "/tmp")
                                  .arg(getpid());
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int chunk = 1 + data[0] % 16, block = 1 + data[1] % 64;
  const QByteArray bytes(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
  QFile f(filePath());
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
  f.write(bytes);
  f.close();
  const QStringList lines = textfile::splitLines(cp1251::decode(bytes));
  const int dropped = lines.isEmpty() ? 0 : data[1] % qMin<int>(8, int(lines.size()) + 1);
  textfile::LineReader r(chunk, block);
  QString error;
  Check(r.open(filePath(), &error));
  Check(r.lineCount() == lines.size());
  const int n = qMin<int>(textfile::LineReader::kTail, int(lines.size()));
  QStringList tail;
  Check(n == 0 || (r.tail(n, &tail, &error) && tail == lines.mid(lines.size() - n)));
  r.dropLast(dropped);
  QString text;
  Check(r.rest(&text, &error));
  Check(text == lines.mid(0, lines.size() - dropped).join(QLatin1Char('\n')));
  return 0;
}
