// Any file that is not rich text, opened in the text window and saved at once: every line
// comes back with every character, the save never refuses a character the file held, and
// the saved file opens as plain text again. Read in parts of any size, it shows the same.
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

#include "platform/filewriter.h"
#include "platform/plaintext.h"
#include "platform/rtf.h"
#include "platform/textfile.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Where the saves go: memory, when the machine has it as a folder, for speed.
const QString& savePath() {
  static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isDir()
                               ? QStringLiteral("/dev/shm/fuzz-XXXXXX")
                               : QDir::tempPath() + QStringLiteral("/fuzz-XXXXXX"));
  static const QString path = dir.filePath(QStringLiteral("saved.txt"));
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  if (rtf::isRtf(bytes)) return 0;  // the rich-text reader has a target of its own
  const QString text = plaintext::fromBytes(bytes);
  QTextDocument doc;
  doc.setPlainText(text);
  const QStringList lines = plaintext::lines(doc);
  bool ok = false;
  QString error;
  const QByteArray saved = textfile::joinCrLf(lines, &ok, &error);
  Check(ok && error.isEmpty());
  Check(!rtf::isRtf(saved));
  Check(plaintext::fromBytes(saved) == text);
  // As the window shows it: marks for the control bytes, and saved back byte for byte.
  plaintext::Breaks breaks;
  const QString shown = plaintext::toShown(bytes, &breaks);
  for (QChar c : shown) Check(c == QLatin1Char('\n') || c == QLatin1Char('\t') || c.unicode() >= 0x20);
  textfile::Writer out(savePath());
  out.asPlainText(breaks.lineEnd, breaks.finalBreak);
  for (QStringView line : QStringView(shown).split(QLatin1Char('\n'))) out.line(line);
  Check(out.commit(&error));
  QByteArray back;
  Check(textfile::readBytes(savePath(), &back, &error) && back == bytes);
  // Parts of a few bytes (at most some hundreds of them), and a part holding the whole input.
  const qint64 small =
      qMax<qint64>(1 + (bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes[0]) % 16), bytes.size() / 256);
  for (const qint64 partSize : {small, qint64(1 << 16)}) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    plaintext::ShownParts parts(partSize);
    Check(parts.read(&buffer));
    Check(parts.breaks().lineEnd == breaks.lineEnd && parts.breaks().finalBreak == breaks.finalBreak);
    Check(parts.lineCount() == shown.count(QLatin1Char('\n')) + 1);
    QString joined, part;
    while (parts.next(&part)) joined += part;
    Check(joined == shown && parts.partCount() == 0);
  }
  return 0;
}
