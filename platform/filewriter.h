#pragma once
// A 1251 text file written as it is made: the text is encoded by table through one buffer of
// kChunk bytes straight into the file, so that a document of any size is saved without a copy
// of it being made first. The new file replaces the old one only on commit(); a writer that
// fails, or is dropped before commit(), leaves the old file as it was.
#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringView>

namespace textfile {

// The visible marks a plain text shows for control bytes: U+2400 plus the code, U+2421 for DEL.
constexpr char16_t kControlMarks = 0x2400;
constexpr char16_t kDelMark = 0x2421;

class Writer {
 public:
  static constexpr qsizetype kChunk = 1 << 18;

  explicit Writer(const QString& path);

  // For a plain text saved back as it was read, set before anything is written: `lineEnd` (CR LF,
  // LF or CR) parts the lines, and ends the last one only when `finalBreak` (nothing written
  // still stands for one empty line); the marks of control bytes (U+2400 plus the code, U+2421
  // for DEL) are those bytes again. cellLine and bytesLine stay CR LF lines: not for such a file.
  void asPlainText(const QByteArray& lineEnd, bool finalBreak);

  // Each call does nothing once the writer has failed, and returns whether it is still sound.
  // A character without a 1251 code fails it: *bad (when given) gets its index in `text`, and
  // error() names it and its line.
  bool put(QStringView text, qsizetype* bad = nullptr) { return encode(text, false, bad); }
  bool endLine() {  // CR LF, or a plain text's line end
    if (parted_) return partLine();
    if (!ok() || (buffer_.size() - used_ < 2 && !flush())) return false;
    char* out = buffer_.data() + used_;
    out[0] = '\r';
    out[1] = '\n';
    used_ += 2;
    ++lines_;
    return true;
  }
  bool line(QStringView text, qsizetype* bad = nullptr) { return put(text, bad) && endLine(); }
  // A table cell as a line: each of its line breaks (CR LF, CR or LF) one blank.
  bool cellLine(QStringView text, qsizetype* bad = nullptr) {
    // A short cell of plain characters, the usual one, is encoded here in one pass: a document
    // of millions of cells spends more on the calls than on the characters otherwise.
    Q_ASSERT(!parted_);
    const qsizetype n = text.size();
    if (n + 2 <= buffer_.size() - used_ && ok()) {
      const char16_t* p = text.utf16();
      char* out = buffer_.data() + used_;
      qsizetype j = 0;
      for (; j < n; ++j) {
        const unsigned char b = codes_[p[j]];
        if (b == 0 || b == '\r' || b == '\n') break;
        out[j] = char(b);
      }
      if (j == n) {
        out[n] = '\r';
        out[n + 1] = '\n';
        used_ += n + 2;
        ++lines_;
        return true;
      }
    }
    return encode(text, true, bad) && endLine();
  }
  // A line of bytes that stand for themselves (digits, commas), at most kChunk - 2 of them.
  bool bytesLine(const char* bytes, qsizetype n) {
    Q_ASSERT(!parted_);
    if (!ok() || (buffer_.size() - used_ < n + 2 && !flush())) return false;
    char* out = buffer_.data() + used_;
    for (qsizetype i = 0; i < n; ++i) out[i] = bytes[i];  // a few bytes: cheaper than a call
    out[n] = '\r';
    out[n + 1] = '\n';
    used_ += n + 2;
    ++lines_;
    return true;
  }

  qsizetype lines() const { return lines_; }  // lines ended so far
  bool ok() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }
  // Writes out the rest and puts the file in place of the old one. False with *error set to
  // error() (or why the file could not be written).
  bool commit(QString* error);

 private:
  // With `blankBreaks`, each line break in `text` becomes one blank.
  bool encode(QStringView text, bool blankBreaks, qsizetype* bad);
  bool flush();
  // A plain text's line end: written once something follows it, so that the last can be left.
  bool partLine();
  bool putBreak();
  void failWith(int err, const char* what);
  const unsigned char* codes_;  // the byte of every UTF-16 unit, 0: none (U+0000, nul_ aside)
  char16_t nul_ = 0;            // for a plain text the mark of NUL, whose byte is 0 too
  bool parted_ = false;
  bool finalBreak_ = false;
  bool pending_ = false;  // a line ended and its break not written yet
  QByteArray lineEnd_;
  QSaveFile file_;
  QByteArray buffer_;
  qsizetype used_ = 0;
  qsizetype lines_ = 0;
  QString error_;
};

}  // namespace textfile
