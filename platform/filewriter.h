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

class Writer {
 public:
  static constexpr qsizetype kChunk = 1 << 20;

  explicit Writer(const QString& path);

  // Each call does nothing once the writer has failed, and returns whether it is still sound.
  // A character without a 1251 code fails it: *bad (when given) gets its index in `text`, and
  // error() names it and its line.
  bool put(QStringView text, qsizetype* bad = nullptr);
  bool endLine();  // CR LF
  bool line(QStringView text, qsizetype* bad = nullptr) { return put(text, bad) && endLine(); }
  // A table cell as a line: each of its line breaks (CR LF, CR or LF) one blank.
  bool cellLine(QStringView text, qsizetype* bad = nullptr);

  qsizetype lines() const { return lines_; }  // lines ended so far
  bool ok() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }
  // Writes out the rest and puts the file in place of the old one. False with *error set to
  // error() (or why the file could not be written).
  bool commit(QString* error);

 private:
  bool flush();
  void failWith(int err, const char* what);
  QSaveFile file_;
  QByteArray buffer_;
  qsizetype used_ = 0;
  qsizetype lines_ = 0;
  QString error_;
};

}  // namespace textfile
