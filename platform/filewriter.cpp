#include "platform/filewriter.h"

#include <array>
#include <cerrno>

#include "platform/cp1251.h"
#include "platform/textfile.h"

namespace textfile {

namespace {

// The byte of every UTF-16 unit; 0 for a unit without a 1251 code (U+0000 itself excepted).
const std::array<unsigned char, 65536>& codes() {
  static const auto table = [] {
    std::array<unsigned char, 65536> t{};
    for (int u = 1; u < 65536; ++u) {
      const int code = cp1251::encodeChar(QChar(char16_t(u)));
      if (code > 0) t[size_t(u)] = static_cast<unsigned char>(code);
    }
    return t;
  }();
  return table;
}

// The same with the marks of control bytes standing for those bytes.
const std::array<unsigned char, 65536>& markedCodes() {
  static const auto table = [] {
    std::array<unsigned char, 65536> t = codes();
    for (int b = 0; b < 0x20; ++b) t[size_t(kControlMarks + b)] = static_cast<unsigned char>(b);
    t[kDelMark] = 0x7F;
    return t;
  }();
  return table;
}

}  // namespace

Writer::Writer(const QString& path) : codes_(codes().data()), file_(path) {
  // errno is read right after the failing call: QSaveFile itself often says only "Unknown error".
  errno = 0;
  if (!file_.open(QIODevice::WriteOnly)) {
    failWith(errno, "Не удается записать файл ");
    return;
  }
  buffer_.resize(kChunk);
}

void Writer::asPlainText(const QByteArray& lineEnd, bool finalBreak) {
  codes_ = markedCodes().data();
  nul_ = kControlMarks;
  parted_ = true;
  lineEnd_ = lineEnd;
  finalBreak_ = finalBreak;
}

bool Writer::putBreak() {
  if (buffer_.size() - used_ < lineEnd_.size() && !flush()) return false;
  for (char c : lineEnd_) buffer_[used_++] = c;
  pending_ = false;
  return true;
}

bool Writer::partLine() {
  if (!ok() || (pending_ && !putBreak())) return false;
  pending_ = true;
  ++lines_;
  return true;
}

void Writer::failWith(int err, const char* what) {
  if (!error_.isEmpty()) return;
  error_ = QString::fromUtf8(what) + file_.fileName() + QStringLiteral(": ") + failureCause(err, file_);
}

bool Writer::flush() {
  if (used_ == 0) return true;
  errno = 0;
  if (file_.write(buffer_.constData(), used_) != used_) {
    failWith(errno, "Ошибка записи файла ");
    return false;
  }
  used_ = 0;
  return true;
}

bool Writer::encode(QStringView text, bool blankBreaks, qsizetype* bad) {
  if (!ok() || (pending_ && !putBreak())) return false;
  const char16_t* p = text.utf16();
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n;) {
    if (used_ == buffer_.size() && !flush()) return false;
    // As many characters as the buffer has room for, one look-up each.
    const qsizetype end = qMin(n, i + (buffer_.size() - used_));
    unsigned char* out = reinterpret_cast<unsigned char*>(buffer_.data()) + used_;
    qsizetype j = i;
    for (; j < end; ++j) {
      const char16_t c = p[j];
      unsigned char b = codes_[c];
      if (b == 0 && c != 0 && c != nul_) {
        if (bad) *bad = j;
        // Named alone: a mark before it would be taken for the character without a code.
        error_ = unencodableMessage(text.mid(j, 2).toString(), int(lines_ + 1));
        return false;
      }
      if (blankBreaks && (c == u'\r' || c == u'\n')) {
        // CR LF is one break, so it becomes one blank.
        if (c == u'\r' && j + 1 < n && p[j + 1] == u'\n') ++j;
        b = ' ';
      }
      *out++ = b;
    }
    used_ = out - reinterpret_cast<unsigned char*>(buffer_.data());
    i = j;
  }
  return true;
}

bool Writer::commit(QString* error) {
  // The last line end of a plain text is left out unless the file had one.
  if (parted_ && finalBreak_ && ok()) putBreak();
  if (ok() && flush()) {
    errno = 0;
    if (file_.commit()) return true;
    failWith(errno, "Ошибка записи файла ");
  }
  file_.cancelWriting();
  if (error) *error = error_;
  return false;
}

}  // namespace textfile
