#include "platform/linereader.h"

#include <array>
#include <cerrno>

#include "platform/cp1251.h"
#include "platform/textfile.h"

namespace textfile {

LineReader::LineReader(qint64 chunk, qsizetype block) : chunk_(qMax<qint64>(1, chunk)), block_(block) {}

bool LineReader::readAt(qint64 at, qint64 size, QByteArray* bytes, QString* error) {
  errno = 0;
  if (!file_.seek(at)) {
    if (error)
      *error = QStringLiteral("Ошибка чтения файла ") + file_.fileName() + QStringLiteral(": ") +
               failureCause(errno, file_);
    return false;
  }
  *bytes = file_.read(size);
  if (file_.error() != QFileDevice::NoError) {
    if (error)
      *error = QStringLiteral("Ошибка чтения файла ") + file_.fileName() + QStringLiteral(": ") +
               failureCause(errno, file_);
    return false;
  }
  return true;
}

bool LineReader::open(const QString& path, QString* error) {
  file_.close();
  if (!openForReading(&file_, path, error)) return false;
  // A line starts at every byte that is not the LF of a CR LF and follows a break or the file's start.
  count_ = 0;
  qint64 at = 0;
  bool lineStart = true, afterCr = false;
  QByteArray bytes;
  for (;;) {
    if (!readAt(at, chunk_, &bytes, error)) return false;
    if (bytes.isEmpty()) break;
    const char* p = bytes.constData();
    for (qsizetype i = 0, n = bytes.size(); i < n; ++i) {
      const char c = p[i];
      if (afterCr && c == '\n') {
        afterCr = false;
        continue;
      }
      if (lineStart) {
        starts_[count_ % kTail] = at + i;
        ++count_;
      }
      afterCr = c == '\r';
      lineStart = c == '\r' || c == '\n';
    }
    at += bytes.size();
  }
  end_ = at;
  at_ = 0;
  afterCr_ = owed_ = done_ = false;
  pending_.clear();
  return true;
}

bool LineReader::tail(int n, QStringList* lines, QString* error) {
  if (n <= 0 || n > kTail || n > count_) return false;
  const qint64 from = starts_[(count_ - n) % kTail];
  QByteArray bytes;
  if (!readAt(from, file_.size() - from, &bytes, error)) return false;
  *lines = splitLines(cp1251::decode(bytes));
  return true;
}

void LineReader::dropLast(int n) {
  if (n <= 0 || n > kTail || n > count_) return;
  end_ = starts_[(count_ - n) % kTail];
  count_ -= n;
}

bool LineReader::next(QString* block, QString* error) {
  static const auto table = [] {
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 256; ++b) t[size_t(b)] = cp1251::decodeByte(static_cast<unsigned char>(b)).unicode();
    return t;
  }();
  block->clear();
  if (done_) return false;
  // Read on until there are enough whole lines, or to the text's end.
  QByteArray bytes;
  while (at_ < end_ && (pending_.size() < block_ || !pending_.contains(QLatin1Char('\n')))) {
    if (!readAt(at_, qMin(chunk_, end_ - at_), &bytes, error)) return false;
    if (bytes.isEmpty()) {  // the file became shorter
      end_ = at_;
      break;
    }
    at_ += bytes.size();
    const qsizetype from = pending_.size();
    pending_.resize(from + bytes.size());
    char16_t* out = reinterpret_cast<char16_t*>(pending_.data());
    qsizetype w = from;
    for (const char c : std::as_const(bytes)) {
      const unsigned char b = static_cast<unsigned char>(c);
      if (afterCr_ && b == '\n') {
        afterCr_ = false;
        continue;
      }
      afterCr_ = b == '\r';
      out[w++] = b == '\r' ? u'\n' : table[b];
    }
    pending_.truncate(w);
  }
  // A block's last break goes out at the start of the next one, so that the text's final break,
  // which ends nothing, is known when it is reached.
  if (owed_) *block += QLatin1Char('\n');
  if (at_ >= end_) {
    *block += pending_;
    pending_ = QString();
    if (block->endsWith(QLatin1Char('\n'))) block->chop(1);
    done_ = true;
    return !block->isEmpty();
  }
  const qsizetype cut = pending_.lastIndexOf(QLatin1Char('\n'));
  block->append(pending_.constData(), cut);
  pending_.remove(0, cut + 1);
  owed_ = true;
  return true;
}

bool LineReader::rest(QString* text, QString* error) {
  QString block, failure;
  text->clear();
  while (next(&block, &failure)) *text += block;
  if (failure.isEmpty()) return true;
  if (error) *error = failure;
  return false;
}

}  // namespace textfile
