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

}  // namespace

Writer::Writer(const QString& path) : file_(path) {
  // errno is read right after the failing call: QSaveFile itself often says only "Unknown error".
  errno = 0;
  if (!file_.open(QIODevice::WriteOnly)) {
    failWith(errno, "Не удается записать файл ");
    return;
  }
  buffer_.resize(kChunk);
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

bool Writer::put(QStringView text, qsizetype* bad) {
  if (!ok()) return false;
  const auto& table = codes();
  const char16_t* p = text.utf16();
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n;) {
    if (used_ == buffer_.size() && !flush()) return false;
    // As many characters as the buffer has room for, one look-up each.
    const qsizetype end = qMin(n, i + (buffer_.size() - used_));
    unsigned char* out = reinterpret_cast<unsigned char*>(buffer_.data()) + used_;
    for (qsizetype j = i; j < end; ++j) {
      const unsigned char b = table[p[j]];
      if (b == 0 && p[j] != 0) {
        if (bad) *bad = j;
        error_ = unencodableMessage(text.toString(), int(lines_ + 1));
        return false;
      }
      *out++ = b;
    }
    used_ += end - i;
    i = end;
  }
  return true;
}

bool Writer::endLine() {
  if (!ok()) return false;
  if (buffer_.size() - used_ < 2 && !flush()) return false;
  buffer_[used_++] = '\r';
  buffer_[used_++] = '\n';
  ++lines_;
  return true;
}

bool Writer::cellLine(QStringView text, qsizetype* bad) {
  qsizetype from = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
    qsizetype b = -1;
    if (!put(text.mid(from, i - from), &b) || !put(u" ")) {
      if (bad && b >= 0) *bad = from + b;
      return false;
    }
    // CR LF is one break, so it becomes one blank.
    if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
    from = i + 1;
  }
  qsizetype b = -1;
  if (!put(text.mid(from), &b)) {
    if (bad && b >= 0) *bad = from + b;
    return false;
  }
  return endLine();
}

bool Writer::commit(QString* error) {
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
