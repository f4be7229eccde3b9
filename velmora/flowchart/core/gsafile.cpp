#include "velmora/flowchart/core/gsafile.h"

#include <vector>

#include "common/tblfile.h"
#include "platform/cp1251.h"
#include "platform/textfile.h"

namespace {

const QString kEnd = QStringLiteral("End");

QString badFile(int lineNo, const QString& detail) {
  return QStringLiteral("Неправильный формат файла ГСА (строка %1): %2").arg(lineNo).arg(detail);
}

// A decimal integer and nothing else (blanks around it allowed).
bool toNumber(const QString& text, int* value) {
  bool ok = false;
  *value = text.trimmed().toInt(&ok, 10);
  return ok && !text.trimmed().isEmpty();
}

// The counts of rows and columns at lines[at] and lines[at + 1].
template <class Lines>
bool readCounts(const Lines& lines, int at, int* rows, int* cols, QString* error) {
  if (lines.size() < at + 2) {
    *error = badFile(lines.size() + 1, QStringLiteral("файл обрывается до размеров сетки."));
    return false;
  }
  const struct {
    int* value;
    int max;
    const char* what;
  } counts[] = {{rows, GsaGridList::kMaxRows, "число строк"},
                {cols, GsaGridList::kMaxCols, "число столбцов"}};
  for (int k = 0; k < 2; ++k) {
    const QString line = lines[at + k];
    if (!toNumber(line, counts[k].value) || *counts[k].value < 1 || *counts[k].value > counts[k].max) {
      *error = badFile(at + k + 1, QStringLiteral("%1 \"%2\" должно быть от 1 до %3.")
                                       .arg(QString::fromUtf8(counts[k].what), line)
                                       .arg(counts[k].max));
      return false;
    }
  }
  return true;
}

bool cellPosition(const GsaGridList& grid, const QString& rowText, const QString& colText, int lineNo,
                  int* col, int* row, QString* error) {
  if (!toNumber(rowText, row) || !toNumber(colText, col) || !grid.contains(*col, *row)) {
    *error = badFile(lineNo, QStringLiteral("позиция ячейки \"%1, %2\" вне сетки %3 × %4.")
                                 .arg(rowText, colText)
                                 .arg(grid.rowCount())
                                 .arg(grid.colCount()));
    return false;
  }
  return true;
}

// The lines of a text read whole ('\n' between lines), taken from it one at a time: a list of
// them would cost many times the file.
class TextLines {
 public:
  explicit TextLines(const QString& text)
      : text_(text), count_(text.isEmpty() ? 0 : int(text.count(QLatin1Char('\n'))) + 1) {}
  int size() const { return count_; }
  bool isEmpty() const { return count_ == 0; }
  // The parser asks for lines close to the last one: the way there is walked.
  QString operator[](int i) const {
    while (line_ < i) {
      start_ = text_.indexOf(QLatin1Char('\n'), start_) + 1;
      ++line_;
    }
    while (line_ > i) {
      start_ = start_ < 2 ? 0 : text_.lastIndexOf(QLatin1Char('\n'), start_ - 2) + 1;
      --line_;
    }
    const qsizetype end = text_.indexOf(QLatin1Char('\n'), start_);
    return text_.mid(start_, (end < 0 ? text_.size() : end) - start_);
  }

 private:
  const QString& text_;
  int count_;
  mutable int line_ = 0;
  mutable qsizetype start_ = 0;
};

template <class Lines>
bool parseLines(const Lines& lines, GsaDocument* doc, QString* error);

}  // namespace

const QString& GsaFile::header() {
  static const QString h = QStringLiteral("GSA1.1");
  return h;
}

bool GsaFile::parse(const QStringList& lines, GsaDocument* doc, QString* error) {
  return parseLines(lines, doc, error);
}

namespace {

template <class Lines>
bool parseLines(const Lines& lines, GsaDocument* doc, QString* error) {
  QString message;
  if (!error) error = &message;
  GsaDocument read;  // the defaults are those of the older layout, but for tracking
  read.trackFigures = false;
  int at = 0;
  int groupSize = 4;
  if (!lines.isEmpty() && lines[0] == GsaFile::header()) {
    if (lines.size() < 12) {
      *error = badFile(lines.size() + 1, QStringLiteral("файл обрывается в заголовке."));
      return false;
    }
    read.userNaming = lines[1] == QLatin1String("USER");
    read.trackFigures = lines[2] == QLatin1String("TRACK");
    read.moveEvents = lines[3] == QLatin1String("MOVE");
    read.y0 = lines[4];
    read.yk = lines[5];
    read.s0 = lines[6];
    read.sk = lines[7];
    read.eventLetter = lines[8];
    read.outputLetter = lines[9];
    at = 10;
    groupSize = 3;
  }
  int rows = 0, cols = 0;
  if (!readCounts(lines, at, &rows, &cols, error)) return false;
  read.grid = GsaGridList(rows, cols);
  at += 2;
  read.grid.reserve((lines.size() - at) / groupSize);
  while (true) {
    if (at >= lines.size()) {
      *error = badFile(at + 1, QStringLiteral("нет строки \"End\"."));
      return false;
    }
    if (lines[at] == kEnd) break;
    if (at + groupSize > lines.size()) {
      *error = badFile(lines.size() + 1, QStringLiteral("файл обрывается внутри описания ячейки."));
      return false;
    }
    int col = 0, row = 0;
    if (groupSize == 3) {
      // "row,col": the row before the first comma, the column all after it.
      const QString pos = lines[at];
      const int comma = pos.indexOf(QLatin1Char(','));
      const QString rowText = comma < 0 ? pos : pos.left(comma);
      const QString colText = comma < 0 ? QString() : pos.mid(comma + 1);
      if (!cellPosition(read.grid, rowText, colText, at + 1, &col, &row, error)) return false;
    } else if (!cellPosition(read.grid, lines[at], lines[at + 1], at + 1, &col, &row, error)) {
      return false;
    }
    read.grid.setCell(col, row, GsaCell{lines[at + groupSize - 2], lines[at + groupSize - 1]});
    at += groupSize;
  }
  *doc = std::move(read);
  return true;
}

}  // namespace

bool GsaFile::read(const QString& path, GsaDocument* doc, QString* error) {
  QString text;
  if (!textfile::readJoined(path, &text, error)) return false;
  return parseLines(TextLines(text), doc, error);
}

QStringList GsaFile::toLines(const GsaDocument& doc) {
  // A line break inside a text would shift every later line of the file.
  auto line = [](const QString& t) { return TblFile::cellText(t); };
  QStringList out;
  out << header() << QString::fromLatin1(doc.userNaming ? "USER" : "AUTO")
      << QString::fromLatin1(doc.trackFigures ? "TRACK" : "NOTRACK")
      << QString::fromLatin1(doc.moveEvents ? "MOVE" : "NOMOVE") << line(doc.y0) << line(doc.yk)
      << line(doc.s0) << line(doc.sk) << line(doc.eventLetter) << line(doc.outputLetter)
      << QString::number(doc.grid.rowCount()) << QString::number(doc.grid.colCount());
  const GsaGridList& g = doc.grid;
  for (int index : g.usedCells()) {
    const int col = g.colOf(index), row = g.rowOf(index);
    out << QString::number(row) + QLatin1Char(',') + QString::number(col) << line(g.text(col, row))
        << line(g.kind(col, row));
  }
  out << kEnd;
  return out;
}

bool GsaFile::write(const QString& path, const GsaDocument& doc, QString* error) {
  const struct {
    const QString* text;
    const char* what;
  } names[] = {
      {&doc.y0, "выходной сигнал начальной вершины"}, {&doc.yk, "выходной сигнал конечной вершины"},
      {&doc.s0, "имя начального состояния"},          {&doc.sk, "имя конечного состояния"},
      {&doc.eventLetter, "буква входного события"},   {&doc.outputLetter, "буква выходного сигнала"}};
  for (const auto& n : names) {
    if (!cp1251::canEncode(*n.text)) {
      if (error)
        *error = textfile::unencodableMessage(*n.text) + QStringLiteral(" (") + QString::fromUtf8(n.what) +
                 QLatin1Char(')');
      return false;
    }
  }
  const GsaGridList& g = doc.grid;
  for (int index : g.usedCells()) {
    const int col = g.colOf(index), row = g.rowOf(index);
    for (const QString& t : {g.text(col, row), g.kind(col, row)}) {
      if (!cp1251::canEncode(t)) {
        if (error)
          *error = textfile::unencodableMessage(t) + QStringLiteral(" (ячейка [%1, %2])").arg(col).arg(row);
        return false;
      }
    }
  }
  return textfile::writeLines(path, toLines(doc), error);
}
