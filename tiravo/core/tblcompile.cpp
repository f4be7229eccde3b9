#include "tiravo/core/tblcompile.h"

#include "tiravo/core/ftt.h"

#include <QSet>

namespace tiravo {

namespace {

const QString kForbidden = QStringLiteral("~,.`!@#$%^*()[]-+?/\\|=;'{}\"");

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// A name is positive when it starts with a lower-case Latin or Cyrillic letter.
bool isPositive(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'a' && u <= u'z') || (u >= u'а' && u <= u'я') || u == u'ё';
}

// The keys of the items already in a list, each item's text before its "=".
QSet<QString> keysOf(const QStringList& list) {
  QSet<QString> keys;
  for (const QString& item : list) {
    const int eq = item.indexOf(QLatin1Char('='));
    keys.insert(eq < 0 ? item : item.left(eq));
  }
  return keys;
}

QString cellText(const TableRow& row, int column) {
  switch (column) {
    case 1: return row.si;
    case 2: return row.y;
    case 3: return row.x;
    default: return row.sj;
  }
}

}  // namespace

QString cellMessage(int code) {
  static const char* const texts[] = {"успешная компиляция",  "соеденитель ничкго не соединяет",
                                      "пустая ячейка",        "недопустимый символ",
                                      "лишний соеденитель",   "пропущено имя",
                                      "пропущен разделитель", "имя начинается не с буквы",
                                      "совмещение инверсии",  "повторение имени",
                                      "инверсия недопустима", "соеденитель недопустим"};
  if (code < 0 || code > 11) return QString();
  return QString::fromUtf8(texts[code]);
}

QString emptyTableMessage() { return QStringLiteral("Таблица пуста, введите данные в таблицу."); }
QString emptyTableCaption() { return QStringLiteral("Ошибка компиляции"); }

int ScanCell(const QString& text, QStringList& list, int mode, int* first, int* last) {
  int spanFirst = 0, spanLast = 0;
  const auto result = [&](int code) {
    if (first) *first = spanFirst;
    if (last) *last = spanLast;
    return code;
  };
  for (int i = 0; i < text.size(); ++i) {
    if (kForbidden.contains(text[i])) {
      spanFirst = spanLast = i;
      return result(BadCharacter);
    }
  }
  if (mode == BinaryCondition || mode == AbstractCondition) {
    const QString trimmed = text.trimmed();
    if (trimmed == QLatin1String("1") || trimmed == QLatin1String("0")) {
      list.append(trimmed);
      return result(CellOk);
    }
  }
  // A set of the keys, so that a cell of many names is read in time linear in its length.
  QSet<QString> keys = keysOf(list);
  int p = 0;
  bool haveName = false, afterAmp = false;
  int ampPos = 0;
  const int n = int(text.size());
  for (;;) {
    spanFirst = spanLast = ampPos;
    int e = p;
    while (e < n && isBlank(text[e])) ++e;
    if (e >= n) {
      if (haveName) return result(afterAmp ? ExtraJoiner : CellOk);
      return result(mode == OutputCell ? CellOk : EmptyCell);
    }
    if (text[e] == QLatin1Char('&')) {
      if (!haveName) return result(ExtraJoiner);
      if (mode == AbstractCondition) return result(JoinerNotAllowed);
      if (afterAmp) {
        spanLast = e;
        return result(MissingName);
      }
      afterAmp = true;
      ampPos = e;
      p = e + 1;
      continue;
    }
    int end = e;
    while (end < n && !isBlank(text[end]) && text[end] != QLatin1Char('&')) ++end;
    spanFirst = e;
    spanLast = end - 1;
    if (haveName && !afterAmp) return result(MissingSeparator);
    haveName = true;
    afterAmp = false;
    const QChar head = text[e];
    if (head.isDigit() || head == QLatin1Char('_')) return result(NotALetter);
    const bool positive = isPositive(head);
    if (!positive && (mode == TargetCell || mode == OutputCell || mode == AbstractCondition))
      return result(InversionNotAllowed);
    const QString key = text.mid(e, end - e).toLower();
    if (keys.contains(key)) return result(RepeatedName);
    keys.insert(key);
    list.append(key + (positive ? QStringLiteral("=1") : QStringLiteral("=0")));
    p = end;
  }
}

bool ParseTableCell(int row, int column, TableData& table, QStringList& list, int mode,
                    CompileCallbacks* callbacks) {
  QStringList scratch;
  for (;;) {
    scratch.clear();
    int first = 0, last = 0;
    int code = ScanCell(cellText(table.rows[row - 1], column), scratch, mode, &first, &last);
    if (code == EmptyCell && mode == SourceCell && !list.isEmpty()) {
      scratch = list;
      code = CellOk;
    }
    if (code == CellOk) break;
    CompileCallbacks::CellError error;
    error.row = row;
    error.column = column;
    error.code = code;
    error.message = cellMessage(code);
    error.selStart = first;
    error.selLength = last - first + 1;
    if (!callbacks || !callbacks->cellError(error, table)) return false;
    // The caller may have removed rows while correcting; a row that is gone cannot be read.
    if (row > table.rows.size()) return false;
  }
  list = scratch;
  return true;
}

std::unique_ptr<FTT> CompileTable(TableData& table, int signalCoding, CompileCallbacks* callbacks) {
  QStringList si, y, xij, sj;
  auto model = std::make_unique<FTT>();
  model->Mode = signalCoding == 1 ? FTT::Abstract : FTT::Binary;
  const int total = int(table.rows.size());
  if (callbacks) {
    callbacks->progress(0, total);
    callbacks->progressShown(true);
  }
  const int conditionMode = signalCoding == 1 ? AbstractCondition : BinaryCondition;
  bool failed = false;
  for (int r = 1; r <= table.rows.size(); ++r) {
    if (table.rows[r - 1].isEmpty()) continue;
    if (!ParseTableCell(r, 1, table, si, SourceCell, callbacks) ||
        !ParseTableCell(r, 3, table, xij, conditionMode, callbacks) ||
        !ParseTableCell(r, 2, table, y, OutputCell, callbacks) ||
        (!xij.contains(QStringLiteral("0")) && !ParseTableCell(r, 4, table, sj, TargetCell, callbacks))) {
      failed = true;
      break;
    }
    model->AddLine(si, y, xij, sj);
    if (callbacks) callbacks->progress(r, total);
  }
  if (callbacks) callbacks->progressShown(false);
  if (failed) return nullptr;
  if (model->Lines.empty()) {
    if (callbacks) callbacks->tableEmpty();
    return nullptr;
  }
  return model;
}

}  // namespace tiravo
