#include "platform/plaintext.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QIODevice>
#include <algorithm>
#include <utility>

#include "platform/cp1251.h"
#include "platform/filewriter.h"
#include "platform/textfile.h"

namespace plaintext {

namespace {

constexpr char16_t kMarks = textfile::kControlMarks;  // U+2400..U+241F show the codes 0..31
using textfile::kDelMark;

bool isMarked(unsigned char b) { return (b < 0x20 && b != '\t') || b == 0x7F; }

// The breaks of a file whose first CR or LF is at p[first] (first == n: none), the file ending
// with `last`.
Breaks breaksAt(const char* p, qsizetype first, qsizetype n, QByteArrayView last) {
  Breaks b;
  if (first < n)
    b.lineEnd = p[first] == '\r' && first + 1 < n && p[first + 1] == '\n' ? "\r\n" : QByteArray(1, p[first]);
  b.finalBreak = first < n && last.endsWith(b.lineEnd);
  return b;
}

// The shown text of the bytes [p, p + end) of a file parted by `b` (`parted`: the file has a
// line break at all); a CR LF never spans the end.
QString shownOf(const char* p, qsizetype end, const Breaks& b, bool parted) {
  QString out(end, Qt::Uninitialized);
  char16_t* q = reinterpret_cast<char16_t*>(out.data());
  qsizetype k = 0;
  const char e0 = b.lineEnd[0];
  const bool pair = b.lineEnd.size() == 2;
  for (qsizetype i = 0; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(p[i]);
    if (c == static_cast<unsigned char>(e0) && parted && (!pair || (i + 1 < end && p[i + 1] == '\n'))) {
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

}  // namespace

QString toShown(const QByteArray& bytes, Breaks* breaks) {
  const char* p = bytes.constData();
  const qsizetype n = bytes.size();
  const qsizetype first = std::find_if(p, p + n, [](char c) { return c == '\r' || c == '\n'; }) - p;
  const Breaks b = breaksAt(p, first, n, QByteArrayView(bytes));
  if (breaks) *breaks = b;
  return shownOf(p, b.finalBreak ? n - b.lineEnd.size() : n, b, first < n);
}

bool ShownParts::read(QIODevice* device) {
  parts_.clear();
  for (;;) {
    // A part that ends with the CR of a CR LF takes the LF too.
    Part part{heap::Pages(size_t(partSize_) + 1)};
    if (!part.pages.data()) return false;
    char* p = part.pages.data();
    const qint64 got = device->read(p, partSize_);
    if (got <= 0) {
      if (got < 0) return false;
      break;
    }
    part.size = got;
    char next = 0;
    if (p[got - 1] == '\r' && device->peek(&next, 1) == 1 && next == '\n' && device->read(p + got, 1) == 1)
      ++part.size;
    parts_.push_back(std::move(part));
  }
  // The breaks, from the first CR or LF and the file's end.
  hasBreak_ = false;
  breaks_ = Breaks();
  for (const Part& part : parts_) {
    const char* p = part.pages.data();
    const qsizetype first = std::find_if(p, p + part.size, [](char c) { return c == '\r' || c == '\n'; }) - p;
    if (first == part.size) continue;
    breaks_ = breaksAt(p, first, part.size, parts_.back().bytes());
    hasBreak_ = true;
    break;
  }
  lines_ = 1;
  if (hasBreak_) {
    for (const Part& part : parts_) lines_ += part.bytes().count(QByteArrayView(breaks_.lineEnd));
    if (breaks_.finalBreak) --lines_;
  }
  return true;
}

QByteArray ShownParts::takeAll() {
  QByteArray all;
  for (const Part& part : parts_) all += part.bytes();
  parts_.clear();
  return all;
}

bool ShownParts::next(QString* shown) {
  if (parts_.empty()) return false;
  const Part part = std::move(parts_.front());
  parts_.pop_front();
  const bool last = parts_.empty();
  const qsizetype end = part.size - (last && breaks_.finalBreak ? breaks_.lineEnd.size() : 0);
  *shown = shownOf(part.pages.data(), end, breaks_, hasBreak_);
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
