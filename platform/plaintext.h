#pragma once
// A plain code page 1251 file in a text document, as a rich or plain edit loads and saves it:
// one paragraph per line, every character kept (a document's own plain text would turn
// non-breaking spaces into blanks).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <deque>

#include "platform/heap.h"

class QIODevice;
class QTextDocument;

namespace plaintext {

// The text to put into the document: the file's lines joined by '\n'.
QString fromBytes(const QByteArray& bytes);

// The lines to save: one per paragraph, and a line break inside a paragraph ends a line too.
// An empty document has one empty line.
QStringList lines(const QTextDocument& doc);

// How a plain file parts its lines: the first line break it holds (CR LF, LF or CR) parts them
// all, and whether the file ends with one. Any other CR or LF is a control byte like the rest.
struct Breaks {
  QByteArray lineEnd = "\r\n";
  bool finalBreak = false;
};

// The file's text as a plain editor shows it: its lines joined by '\n', every control byte but
// the tab shown as its visible mark (U+2400 plus its code; U+2421 for DEL). A textfile::Writer
// made asPlainText with `breaks` saves it back: a text opened and saved unchanged gives the bytes
// it came from.
QString toShown(const QByteArray& bytes, Breaks* breaks);

// A plain file read whole, in parts of a quarter megabyte or so, for its shown text to be made a
// part at a time: the text toShown gives, without the file's bytes held whole beside it.
class ShownParts {
 public:
  static constexpr qint64 kPart = 1 << 18;  // bytes read at a time

  explicit ShownParts(qint64 partSize = kPart) : partSize_(qMax<qint64>(1, partSize)) {}
  // Reads the rest of the device. False when reading fails (the device says why).
  bool read(QIODevice* device);
  // The parts read and not shown yet, in order.
  size_t partCount() const { return parts_.size(); }
  QByteArrayView part(size_t i) const { return parts_[i].bytes(); }
  // All the bytes not shown yet, joined; they are then given up.
  QByteArray takeAll();
  const Breaks& breaks() const { return breaks_; }
  // The lines of the shown text (its '\n' plus one).
  qsizetype lineCount() const { return lines_; }
  // The shown text of the next part, whose bytes are then given up; the parts joined are the
  // shown text. False after the last.
  bool next(QString* shown);

 private:
  struct Part {
    heap::Pages pages;  // so that a part given up leaves nothing resident
    qsizetype size = 0;
    QByteArrayView bytes() const { return QByteArrayView(pages.data(), size); }
  };
  qint64 partSize_;
  std::deque<Part> parts_;  // no CR LF is cut between two
  Breaks breaks_;
  bool hasBreak_ = false;
  qsizetype lines_ = 1;
};

}  // namespace plaintext
