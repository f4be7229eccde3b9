#include "common/tblfile.h"

#include "platform/cp1251.h"
#include "platform/filewriter.h"
#include "platform/textfile.h"

const QString& TblFile::abstractTag() {
  static const QString tag = QStringLiteral("Abstract");
  return tag;
}

const QString& TblFile::binaryTag() {
  static const QString tag = QStringLiteral("Binary");
  return tag;
}

QString TblFile::badFormatMessage() { return QStringLiteral("Неправильный формат файла таблицы переходов"); }

QString TblFile::cellText(const QString& text) {
  if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'))) return text;
  QString out;
  out.reserve(text.size());
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      // CR LF is one break, so it becomes one blank.
      if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
      out += QLatin1Char(' ');
    } else {
      out += c;
    }
  }
  return out;
}

bool TblFile::parse(const QStringList& lines, TableData* out, QString* error, int* ignoredLines) {
  // The tag is compared exactly: "abstract" or "Binary " are not table files.
  const QString first = lines.isEmpty() ? QString() : lines.first();
  TableData t;
  if (!lines.isEmpty() && first == abstractTag()) {
    t.signalCoding = abstractTag();
  } else if (!lines.isEmpty() && first == binaryTag()) {
    t.signalCoding = binaryTag();
  } else {
    if (error) *error = badFormatMessage();
    return false;
  }
  const int groups = (lines.size() - 1) / 4;
  t.rows.reserve(groups);
  for (int g = 0; g < groups; ++g) {
    const int base = 1 + 4 * g;
    TableRow r;
    r.si = lines[base];
    r.y = lines[base + 1];
    r.x = lines[base + 2];
    r.sj = lines[base + 3];
    t.rows << r;
  }
  *out = t;
  if (ignoredLines) *ignoredLines = int((lines.size() - 1) % 4);
  return true;
}

bool TblFile::read(const QString& path, TableData* out, QString* error, int* ignoredLines) {
  QStringList lines;
  if (!textfile::readLines(path, &lines, error)) return false;
  return parse(lines, out, error, ignoredLines);
}

QString TblFile::ignoredLinesMessage(int ignoredLines) {
  if (ignoredLines <= 0) return QString();
  return QStringLiteral(
             "Файл таблицы переходов обрывается посреди строки таблицы: последние строки файла (%1) "
             "не составляют строки таблицы и не прочитаны. При сохранении они будут потеряны.")
      .arg(ignoredLines);
}

QStringList TblFile::toLines(const TableData& table) {
  QStringList lines;
  lines.reserve(1 + 4 * table.rows.size());
  lines << (table.signalCoding == abstractTag() ? abstractTag() : binaryTag());
  for (const TableRow& r : table.rows)
    lines << cellText(r.si) << cellText(r.y) << cellText(r.x) << cellText(r.sj);
  return lines;
}

bool TblFile::write(const QString& path, const TableData& table, QString* error) {
  return write(
      path, table.signalCoding, table.rows.size(),
      [&](qsizetype row, int column) -> QStringView {
        const TableRow& r = table.rows[row];
        const QString* cells[] = {&r.si, &r.y, &r.x, &r.sj};
        return *cells[column];
      },
      error);
}

bool TblFile::write(const QString& path, const QString& codingTag, qsizetype rows, const CellSource& cell,
                    QString* error) {
  static const char* const columns[] = {"si", "y", "xij", "sj"};
  textfile::Writer out(path);
  out.line(codingTag == abstractTag() ? abstractTag() : binaryTag());
  for (qsizetype i = 0; i < rows && out.ok(); ++i) {
    for (int c = 0; c < 4; ++c) {
      const QStringView text = cell(i, c);
      qsizetype bad = -1;
      if (out.cellLine(text, &bad)) continue;
      if (bad < 0) break;  // the file failed
      if (error) {
        *error = QStringLiteral(
                     "Символ %1 в строке %2, столбце %3 таблицы не имеет кода в "
                     "кодировке 1251; файл не записан")
                     .arg(cp1251::describeChar(text.toString(), int(bad)))
                     .arg(i + 1)
                     .arg(QLatin1String(columns[c]));
      }
      return false;  // the old file stays as it was
    }
  }
  return out.commit(error);
}
