#pragma once
// A 1251 text file read a block of lines at a time, so that a large file is never held whole.
// The lines and the text they make are those readJoined finds: CR LF, CR and LF each end a
// line, and a final break adds no empty line.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

namespace textfile {

class LineReader {
 public:
  static constexpr int kTail = 8;  // how many of the last lines tail() can give

  // `chunk` bytes are read at a time, and a block holds at least `block` characters (unless it
  // is the last) and whole lines.
  // (A text edit takes a block at a time into its document: small blocks keep its load from
  // holding more than a little of the text beside the document.)
  explicit LineReader(qint64 chunk = 1 << 18, qsizetype block = 1 << 17);

  // Opens the file and reads it through once, counting its lines. False (with *error) on failure.
  bool open(const QString& path, QString* error);
  // The lines the blocks will hold.
  qsizetype lineCount() const { return count_; }
  // The file's last `n` lines (n ≤ kTail and ≤ the line count), however far the blocks go.
  bool tail(int n, QStringList* lines, QString* error);
  // The blocks end before the last `n` lines of the file (n ≤ kTail).
  void dropLast(int n);
  // The next block: whole lines joined by '\n', every block after the first starting with the
  // '\n' that ends the line before it; the blocks joined make the text. False at the end, and on
  // a failure, which then sets *error.
  bool next(QString* block, QString* error);
  // The blocks not handed out yet, joined. False (with *error) on a failure.
  bool rest(QString* text, QString* error);

 private:
  bool readAt(qint64 at, qint64 size, QByteArray* bytes, QString* error);
  QFile file_;
  qint64 chunk_;
  qsizetype block_;
  qsizetype count_ = 0;
  qint64 starts_[kTail] = {};  // where the last lines start, the latest at (count_ - 1) % kTail
  qint64 end_ = 0;             // where the text's bytes end
  qint64 at_ = 0;              // the next byte to read
  bool afterCr_ = false;       // the last byte read was a CR: an LF next is part of its break
  bool owed_ = false;          // a line break read but not handed out yet
  bool done_ = false;
  QString pending_;  // text read beyond the last whole line handed out
};

}  // namespace textfile
