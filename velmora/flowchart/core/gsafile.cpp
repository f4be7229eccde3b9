#include "velmora/flowchart/core/gsafile.h"

#include <algorithm>
#include <cerrno>

#include "common/tblfile.h"
#include "platform/cp1251.h"
#include "platform/filewriter.h"
#include "platform/linereader.h"
#include "platform/textfile.h"
#include "platform/quote.h"

namespace velmora {

namespace {

QString badFile(int lineNo, const QString& detail) {
  return QStringLiteral("Неправильный формат файла ГСА (строка %1): %2").arg(lineNo).arg(detail);
}

// A decimal integer and nothing else (blanks around it allowed).
bool toNumber(const QString& text, int* value) {
  bool ok = false;
  *value = text.trimmed().toInt(&ok, 10);
  return ok && !text.trimmed().isEmpty();
}

// Lines handed out one at a time, as views into the text that holds them; the two sources
// below fill `views_`.
class LineViews {
 public:
  int count() const { return count_; }
  QStringView view() const { return line_; }
  QString line() const { return line_.toString(); }
  bool is(QLatin1StringView s) const { return line_.size() == s.size() && line_ == s; }
  void setText(GsaGridList& g, int col, int row) const { g.setText(col, row, line_); }
  void setKind(GsaGridList& g, int col, int row) const { g.setKind(col, row, line_); }

 protected:
  bool take() {
    if (at_ >= views_.size()) return false;
    line_ = views_[at_++];
    ++count_;
    return true;
  }
  QList<QStringView> views_;
  qsizetype at_ = 0;

 private:
  QStringView line_;
  int count_ = 0;
};

// The lines of a list.
class ListLines : public LineViews {
 public:
  explicit ListLines(const QStringList& lines) {
    views_.reserve(lines.size());
    for (const QString& l : lines) views_ << QStringView(l);
  }
  bool next() { return take(); }
  // Fraction of the lines read.
  double done() const { return views_.isEmpty() ? 1 : double(at_) / double(views_.size()); }
  bool failed() const { return false; }
};

// The lines of a file read a block of lines at a time: the file is never held whole.
class FileLines : public LineViews {
 public:
  // Small blocks: a block and the lines in it are all this costs beside the grid.
  FileLines() : reader_(1 << 16, 1 << 16) {}
  bool open(const QString& path, QString* error) { return reader_.open(path, error); }
  bool next() {
    while (at_ >= views_.size()) {
      if (!reader_.next(&block_, &failure_)) return false;
      QStringView lines(block_);
      // A block after the first begins with the break that ends the line before it.
      if (!first_) lines = lines.mid(1);
      first_ = false;
      views_ = lines.split(QLatin1Char('\n'));
      at_ = 0;
    }
    return take();
  }
  double done() const { return reader_.lineCount() > 0 ? double(count()) / double(reader_.lineCount()) : 1; }
  bool failed() const { return !failure_.isEmpty(); }
  const QString& failure() const { return failure_; }

 private:
  textfile::LineReader reader_;
  QString block_, failure_;
  bool first_ = true;
};

// "row,col" in plain digits (the usual line), read without making a string; false for
// anything else, which then takes the general way.
bool plainPosition(QStringView v, int* row, int* col) {
  int values[2] = {0, 0}, digits[2] = {0, 0}, part = 0;
  const char16_t* p = v.utf16();
  for (qsizetype i = 0; i < v.size(); ++i) {
    const char16_t c = p[i];
    if (c == ',' && part == 0) {
      part = 1;
    } else if (c >= '0' && c <= '9' && digits[part] < 9) {
      values[part] = values[part] * 10 + (c - '0');
      ++digits[part];
    } else {
      return false;
    }
  }
  if (part == 0 || digits[0] == 0 || digits[1] == 0) return false;
  *row = values[0];
  *col = values[1];
  return true;
}

// Reads the lines in order, once: a file's lines are never all held at a time.
template <class Lines>
class Parser {
 public:
  explicit Parser(Lines& lines) : lines_(lines) {}
  bool parse(GsaDocument* read, QString* error);

 private:
  // The lines ended where more were needed.
  bool cutShort(const char* what, QString* error) const {
    *error = badFile(lines_.count() + 1, QString::fromUtf8(what));
    return false;
  }
  bool readCounts(bool firstRead, int* rows, int* cols, QString* error);
  bool readCell(GsaGridList& grid, QString* error);
  void reserveAhead(GsaGridList& grid);
  Lines& lines_;
  bool current_ = false;  // the current layout: "row,col" on one line
  int cells_ = 0;
  qsizetype textLength_ = 0;
};

// Once a few thousand cells are in, room for the rest as many more as the part read so far
// promises: the grid's storage then never moves, which would hold it twice for a while.
template <class Lines>
void Parser<Lines>::reserveAhead(GsaGridList& grid) {
  const double done = lines_.done();
  if (++cells_ != 4096 || done <= 0) return;
  const double ahead = 1.1 / done;
  grid.reserve(int(std::min(cells_ * ahead, 1e9)), qsizetype(std::min(double(textLength_) * ahead, 1e10)));
}

// The counts of rows and columns on the next two lines; with `firstRead`, the first of them
// is the line read last.
template <class Lines>
bool Parser<Lines>::readCounts(bool firstRead, int* rows, int* cols, QString* error) {
  const int first = lines_.count() + (firstRead ? 0 : 1);
  QString texts[2];
  for (int k = 0; k < 2; ++k) {
    // The counts end the current layout's header.
    if ((k > 0 || !firstRead) && !lines_.next())
      return cutShort(current_ ? "файл обрывается в заголовке." : "файл обрывается до размеров сетки.",
                      error);
    texts[k] = lines_.line();
  }
  const struct {
    int* value;
    int max;
    const char* what;
  } counts[] = {{rows, GsaGridList::kMaxRows, "число строк"},
                {cols, GsaGridList::kMaxCols, "число столбцов"}};
  for (int k = 0; k < 2; ++k) {
    if (!toNumber(texts[k], counts[k].value) || *counts[k].value < 1 || *counts[k].value > counts[k].max) {
      *error = badFile(first + k, QStringLiteral("%1 %2 должно быть от 1 до %3.")
                                      .arg(QString::fromUtf8(counts[k].what), quote::quoted(texts[k]))
                                      .arg(counts[k].max));
      return false;
    }
  }
  return true;
}

template <class Lines>
bool Parser<Lines>::parse(GsaDocument* read, QString* error) {
  read->trackFigures = false;  // the defaults are those of the older layout, but for tracking
  const bool any = lines_.next();
  current_ = any && lines_.is(QLatin1StringView("GSA1.1"));
  if (current_) {
    QString header[9];
    for (QString& h : header) {
      if (!lines_.next()) return cutShort("файл обрывается в заголовке.", error);
      h = lines_.line();
    }
    read->userNaming = header[0] == QLatin1String("USER");
    read->trackFigures = header[1] == QLatin1String("TRACK");
    read->moveEvents = header[2] == QLatin1String("MOVE");
    read->y0 = header[3];
    read->yk = header[4];
    read->s0 = header[5];
    read->sk = header[6];
    read->eventLetter = header[7];
    read->outputLetter = header[8];
  }
  int rows = 0, cols = 0;
  // The older layout begins with the row count.
  if (!readCounts(any && !current_, &rows, &cols, error)) return false;
  read->grid = GsaGridList(rows, cols);
  while (true) {
    if (!lines_.next()) return cutShort("нет строки \"End\".", error);
    if (lines_.is(QLatin1StringView("End"))) break;
    if (!readCell(read->grid, error)) return false;
  }
  return true;
}

// One cell from its first line (the line read last) on. The text goes into the grid as soon as
// its line is read (no line is kept); a bad position is told only when the whole group is
// there, since a group cut short is told first.
template <class Lines>
bool Parser<Lines>::readCell(GsaGridList& grid, QString* error) {
  const int groupLine = lines_.count();
  int col = 0, row = 0;
  QString rowText, colText;
  const bool plain = current_ && plainPosition(lines_.view(), &row, &col);
  if (current_ && !plain) {
    // "row,col": the row before the first comma, the column all after it.
    const QString pos = lines_.line();
    const qsizetype comma = pos.indexOf(QLatin1Char(','));
    rowText = comma < 0 ? pos : pos.left(comma);
    colText = comma < 0 ? QString() : pos.mid(comma + 1);
  } else if (!current_) {
    rowText = lines_.line();
    if (!lines_.next()) return cutShort("файл обрывается внутри описания ячейки.", error);
    colText = lines_.line();
  }
  const bool placed =
      (plain || (toNumber(rowText, &row) && toNumber(colText, &col))) && grid.contains(col, row);
  if (!lines_.next()) return cutShort("файл обрывается внутри описания ячейки.", error);
  if (placed) {
    lines_.setText(grid, col, row);
    textLength_ += lines_.view().size();
  }
  if (!lines_.next()) return cutShort("файл обрывается внутри описания ячейки.", error);
  if (!placed) {
    if (plain) {
      rowText = QString::number(row);
      colText = QString::number(col);
    }
    *error = badFile(groupLine, QStringLiteral("позиция ячейки %1 вне сетки %2 × %3.")
                                    .arg(quote::quoted(rowText + QStringLiteral(", ") + colText))
                                    .arg(grid.rowCount())
                                    .arg(grid.colCount()));
    return false;
  }
  lines_.setKind(grid, col, row);
  reserveAhead(grid);
  return true;
}

template <class Lines>
bool parseLines(Lines& lines, GsaDocument* doc, QString* error) {
  QString message;
  if (!error) error = &message;
  GsaDocument read;
  if (!Parser<Lines>(lines).parse(&read, error)) return false;
  *doc = std::move(read);
  return true;
}

}  // namespace

const QString& GsaFile::header() {
  static const QString h = QStringLiteral("GSA1.1");
  return h;
}

bool GsaFile::parse(const QStringList& lines, GsaDocument* doc, QString* error) {
  ListLines list(lines);
  return parseLines(list, doc, error);
}

bool GsaFile::read(const QString& path, GsaDocument* doc, QString* error) {
  QString message;
  if (!error) error = &message;
  FileLines lines;
  if (!lines.open(path, error)) return false;
  GsaDocument read;
  const bool ok = Parser<FileLines>(lines).parse(&read, error);
  if (lines.failed()) {
    *error = lines.failure();  // what was read before it is no file
    return false;
  }
  if (!ok) return false;
  *doc = std::move(read);
  return true;
}

namespace {

// The lines of the file in the current layout: those of the header and "End" handed to `line`
// as they stand (line breaks still in them), every written cell between them to
// cell(col, row, text, kindNumber). Stops at the first that refuses; false then.
template <class Line, class Cell>
bool eachLine(const GsaDocument& doc, Line line, Cell cell) {
  const GsaGridList& g = doc.grid;
  const QString head[] = {GsaFile::header(),
                          QString::fromLatin1(doc.userNaming ? "USER" : "AUTO"),
                          QString::fromLatin1(doc.trackFigures ? "TRACK" : "NOTRACK"),
                          QString::fromLatin1(doc.moveEvents ? "MOVE" : "NOMOVE"),
                          doc.y0,
                          doc.yk,
                          doc.s0,
                          doc.sk,
                          doc.eventLetter,
                          doc.outputLetter,
                          QString::number(g.rowCount()),
                          QString::number(g.colCount())};
  for (const QString& h : head)
    if (!line(QStringView(h))) return false;
  return g.eachUsed(cell) && line(QStringView(u"End"));
}

// The decimal digits of `v` put before `end`; returns where they begin.
char* digitsBefore(char* end, int v) {
  do {
    *--end = char('0' + v % 10);
    v /= 10;
  } while (v > 0);
  return end;
}

}  // namespace

QStringList GsaFile::toLines(const GsaDocument& doc) {
  QStringList out;
  eachLine(
      doc,
      [&out](QStringView line) {
        out << TblFile::cellText(line.toString());
        return true;
      },
      [&](int col, int row, QStringView text, int) {
        out << QString::number(row) + QLatin1Char(',') + QString::number(col)
            << TblFile::cellText(text.toString()) << TblFile::cellText(doc.grid.kind(col, row));
        return true;
      });
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
  // The lines go from the grid straight into the file's buffer, a line break inside a text made
  // one blank (it would shift every later line): a list of the lines or of the cells would cost
  // more than the writing.
  const GsaGridList& g = doc.grid;
  textfile::Writer out(path);
  QString refused;
  int badCol = -1, badRow = -1;
  auto take = [&](QStringView line, int col, int row) {
    qsizetype bad = -1;
    if (out.cellLine(line, &bad)) return true;
    if (bad >= 0) {
      refused = line.toString();
      badCol = col;
      badRow = row;
    }
    return false;
  };
  char position[24];  // "row,col", made from the end
  char* const end = position + sizeof position;
  const bool all = eachLine(
      doc, [&](QStringView line) { return take(line, -1, -1); },
      [&](int col, int row, QStringView text, int number) {
        char* p = digitsBefore(end, col);
        *--p = ',';
        p = digitsBefore(p, row);
        if (!out.bytesLine(p, end - p) || !take(text, col, row)) return false;
        // A kind that is a number is that number's digits; only another text is read as it stands.
        if (number >= 0) {
          char* k = digitsBefore(end, number);
          return out.bytesLine(k, end - k);
        }
        return take(g.kind(col, row), col, row);
      });
  if (!all && badCol >= 0) {
    if (error)
      *error = textfile::unencodableMessage(refused) +
               QStringLiteral(" (ячейка [%1, %2])").arg(badCol).arg(badRow);
    return false;  // the old file stays as it was
  }
  return out.commit(error);
}

}  // namespace velmora
