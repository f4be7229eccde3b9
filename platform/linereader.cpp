#include "platform/linereader.h"

#include <QIODevice>
#include <algorithm>

namespace textfile {

LineReader::LineReader(QIODevice* device, qsizetype blockSize)
    : device_(device), block_(std::max<qsizetype>(blockSize, 1)) {}

void LineReader::refill() {
  // What was handed out goes; a line longer than a block makes the buffer grow.
  buffer_.remove(0, start_);
  offset_ += start_;
  scan_ -= start_;
  start_ = 0;
  const qsizetype kept = buffer_.size();
  if (buffer_.capacity() < kept + block_) buffer_.reserve(std::max(kept + block_, kept + kept / 2));
  buffer_.resize(kept + block_);
  const qint64 got = device_->read(buffer_.data() + kept, block_);
  if (got <= 0) {
    end_ = true;
    failed_ = got < 0;
  }
  buffer_.resize(kept + std::max<qint64>(got, 0));
}

bool LineReader::next(QByteArrayView* line) {
  while (true) {
    const char* d = buffer_.constData();
    const qsizetype n = buffer_.size();
    qsizetype i = scan_;
    while (i < n && d[i] != '\n' && d[i] != '\r') ++i;
    // A CR that ends the block may have its LF in the next one.
    const bool open = i == n || (d[i] == '\r' && i + 1 == n);
    if (!open || end_) {
      if (i == n && start_ == n) return false;
      *line = QByteArrayView(d + start_, i - start_);
      if (i < n && d[i] == '\r' && i + 1 < n && d[i + 1] == '\n') ++i;
      start_ = scan_ = std::min(i + 1, n);
      return true;
    }
    scan_ = i;
    refill();
  }
}

}  // namespace textfile
