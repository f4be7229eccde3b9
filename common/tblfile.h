#pragma once
// The *.tbl transition-table file, shared byte for byte with the second program.
//
// cp1251 text, every line (the last one too) ended by CR LF:
//   line 1 "Abstract" or "Binary" (exact, letter case included);
//   then four lines per table row: si, y, xij, sj (an empty line for an empty cell).
// A trailing group of fewer than four lines is dropped when reading.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

#include "common/tabledata.h"

class TblFile {
 public:
  static const QString& abstractTag();  // "Abstract"
  static const QString& binaryTag();    // "Binary"
  // "Неправильный формат файла таблицы переходов"
  static QString badFormatMessage();

  // A cell as it can be stored: every line break (CR LF, CR or LF) becomes a blank, so a
  // cell can never shift the four-line groups of the file.
  static QString cellText(const QString& text);

  // Fills *out from the lines of a file; false (with *error set to badFormatMessage())
  // when the first line is neither tag. Only complete four-line groups become rows, so a
  // file with the tag alone gives no rows.
  // *ignoredLines (when given) tells how many lines at the end made no complete row.
  static bool parse(const QStringList& lines, TableData* out, QString* error, int* ignoredLines = nullptr);
  static bool read(const QString& path, TableData* out, QString* error, int* ignoredLines = nullptr);
  // The warning for a file that ends inside a row, or empty when `ignoredLines` is 0.
  static QString ignoredLinesMessage(int ignoredLines);

  // The lines of the file: the tag ("Abstract" only for that exact coding), then each
  // row's four cells, line breaks inside a cell turned into blanks.
  static QStringList toLines(const TableData& table);
  // Atomic; nothing is written when a cell has a character without a cp1251 code (the
  // message names the row and the column).
  static bool write(const QString& path, const TableData& table, QString* error);
  // The same for `rows` rows whose cells `cell` gives (column 0 si .. 3 sj), each view used
  // before the next call: the cells go straight into the file, with no copy of the table.
  using CellSource = std::function<QStringView(qsizetype row, int column)>;
  static bool write(const QString& path, const QString& codingTag, qsizetype rows, const CellSource& cell,
                    QString* error);
};
