#pragma once
// Tiravo's РВАС check: the whole text is one expression, target[(outputs)]=alternatives;
// line breaks, blanks and tabs are ignored. Only the first error is reported.
#include <QString>
#include <QStringList>
#include <QVector>

namespace tiravo {

// The text without blanks, tabs and line breaks, and where each of its characters stands in
// the memo (the lines joined by '\n').
struct RvasCompact {
  explicit RvasCompact(const QStringList& lines);
  QString text;
  QVector<int> origin;  // one entry per character of text, then the end of the last one
  // Memo selection [start, end) of `length` compacted characters from `pos`.
  void select(int pos, int length, int* start, int* end) const;
};

struct RvasFault {
  int code = 0;             // 0: the text passes
  int pos = 0, length = 0;  // in the compacted text
};

RvasFault checkRvas(const QString& compacted);
// The text shown after "Ошибка: ".
QString rvasMessage(int code);

}  // namespace tiravo
