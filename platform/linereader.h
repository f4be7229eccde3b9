#pragma once
// A text file's lines read a block at a time, as the bytes the file holds: a long file is
// never held whole, neither as bytes nor decoded.
#include <QByteArray>
#include <QByteArrayView>

class QIODevice;

namespace textfile {

// Lines as splitLines finds them: CR LF, LF and CR each end a line; a final line break adds
// no empty line.
class LineReader {
 public:
  explicit LineReader(QIODevice* device, qsizetype blockSize = qsizetype(1) << 20);
  // The next line without its break, valid until the next call. False at the end of the file
  // and when reading fails (failed() then tells).
  bool next(QByteArrayView* line);
  bool failed() const { return failed_; }
  // Bytes of the file up to the end of the last line handed out.
  qint64 position() const { return offset_ + start_; }

 private:
  void refill();
  QIODevice* device_;
  qsizetype block_;
  QByteArray buffer_;
  qint64 offset_ = 0;    // where buffer_ begins in the file
  qsizetype start_ = 0;  // the unread part begins here
  qsizetype scan_ = 0;   // no break before this
  bool end_ = false, failed_ = false;
};

}  // namespace textfile
