#include "platform/plaintext.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "platform/cp1251.h"
#include "platform/textfile.h"

namespace plaintext {

namespace {

constexpr char16_t kMarks = 0x2400;  // U+2400..U+241F show the control codes 0..31
constexpr char16_t kDelMark = 0x2421;

bool isMarked(unsigned char b) { return (b < 0x20 && b != '\t') || b == 0x7F; }

}  // namespace

QString toShown(const QByteArray& bytes, Breaks* breaks) {
  const char* p = bytes.constData();
  const qsizetype n = bytes.size();
  const qsizetype first = std::find_if(p, p + n, [](char c) { return c == '\r' || c == '\n'; }) - p;
  Breaks b;
  if (first < n)
    b.lineEnd = p[first] == '\r' && first + 1 < n && p[first + 1] == '\n' ? "\r\n" : QByteArray(1, p[first]);
  b.finalBreak = first < n && bytes.endsWith(b.lineEnd);
  if (breaks) *breaks = b;
  const qsizetype end = b.finalBreak ? n - b.lineEnd.size() : n;
  QString out(end, Qt::Uninitialized);
  char16_t* q = reinterpret_cast<char16_t*>(out.data());
  qsizetype k = 0;
  const char e0 = b.lineEnd[0];
  const bool pair = b.lineEnd.size() == 2;
  for (qsizetype i = 0; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(p[i]);
    if (c == static_cast<unsigned char>(e0) && first < n && (!pair || (i + 1 < end && p[i + 1] == '\n'))) {
      q[k++] = u'\n';
      i += pair ? 1 : 0;
    } else if (isMarked(c)) {
      q[k++] = c == 0x7F ? kDelMark : char16_t(kMarks + c);
    } else {
      q[k++] = cp1251::decodeByte(c).unicode();
    }
  }
  out.truncate(k);
  return out;
}

bool toBytes(const QStringList& shown, const Breaks& breaks, QByteArray* out, QString* error) {
  // An empty editor has no lines; the file it stands for has one empty line.
  const QStringList lines = shown.isEmpty() ? QStringList{QString()} : shown;
  qsizetype size = 0;
  for (const QString& l : lines) size += l.size() + breaks.lineEnd.size();
  out->clear();
  out->reserve(size);
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i > 0) out->append(breaks.lineEnd);
    const QString& line = lines[i];
    for (qsizetype j = 0; j < line.size(); ++j) {
      const char16_t c = line[j].unicode();
      if ((c >= kMarks && c < kMarks + 0x20) || c == kDelMark) {
        out->append(char(c == kDelMark ? 0x7F : c - kMarks));
        continue;
      }
      const int code = cp1251::encodeChar(line[j]);
      if (code < 0) {
        if (error) *error = textfile::unencodableMessage(line, int(i) + 1);
        out->clear();
        return false;
      }
      out->append(char(code));
    }
  }
  if (breaks.finalBreak) out->append(breaks.lineEnd);
  return true;
}

QString fromBytes(const QByteArray& bytes) {
  return textfile::splitLines(cp1251::decode(bytes)).join(QLatin1Char('\n'));
}

QStringList lines(const QTextDocument& doc) {
  QStringList out;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) out << b.text().split(QChar::LineSeparator);
  return out;
}

}  // namespace plaintext
