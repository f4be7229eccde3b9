#pragma once
// The table compiler of Tiravo: checks every cell of a transition table against the cell
// language, turns it into name items ("name=1", "name=0", "1", "0") and builds the automaton
// model row by row. Windows take part only through the callbacks.
#include <QString>
#include <QStringList>
#include <memory>

#include "common/tabledata.h"

class FTT;

namespace tiravo {

// How a cell is read.
enum CellMode {
  BinaryCondition = 0,   // xij of a "Binary" table: "1", "0" or names joined by "&"
  SourceCell = 1,        // si: names joined by "&", inversion allowed
  TargetCell = 2,        // sj: names joined by "&", no inversion
  OutputCell = 3,        // y: like sj, may be empty
  AbstractCondition = 4  // xij of an "Abstract" table: "1", "0" or one name
};

// Result codes of ScanCell (1 and 8 are never produced).
enum CellCode {
  CellOk = 0,
  EmptyCell = 2,
  BadCharacter = 3,
  ExtraJoiner = 4,
  MissingName = 5,
  MissingSeparator = 6,
  NotALetter = 7,
  RepeatedName = 9,
  InversionNotAllowed = 10,
  JoinerNotAllowed = 11
};
// The message of a code ("успешная компиляция", "пустая ячейка", ...).
QString cellMessage(int code);

// Checks `text` in `mode`. On code 0 the cell's items are appended to `list`; otherwise `list`
// may hold the items read before the fault. *first and *last: the faulty span (from 0).
int ScanCell(const QString& text, QStringList& list, int mode, int* first = nullptr, int* last = nullptr);

// What the compiler asks of its caller.
class CompileCallbacks {
 public:
  struct CellError {
    int row = 0, column = 0;  // grid coordinates: data rows from 1, columns 1 si .. 4 sj
    int code = 0;
    QString message;
    int selStart = 0, selLength = 0;
  };
  virtual ~CompileCallbacks() = default;
  // Compilation begins (true) and ends (false).
  virtual void progressShown(bool shown) { (void)shown; }
  // `done` of `total` rows are compiled.
  virtual void progress(int done, int total) {
    (void)done;
    (void)total;
  }
  // A faulty cell. Return true after the caller corrected `table` to read the cell again;
  // false ends the compilation.
  virtual bool cellError(const CellError& error, TableData& table) {
    (void)error;
    (void)table;
    return false;
  }
  // Every row was empty: "Таблица пуста, введите данные в таблицу." is to be shown.
  virtual void tableEmpty() {}
};

// The message and caption for a table with no rows.
QString emptyTableMessage();  // "Таблица пуста, введите данные в таблицу."
QString emptyTableCaption();  // "Ошибка компиляции"

// Reads cell `column` of data row `row` (from 1) into `list` (replaced on success). An empty
// si cell in a row after the first takes the si items already in `list`. A fault goes to
// `callbacks`, which may correct the table and have the cell read again. False: cancelled.
bool ParseTableCell(int row, int column, TableData& table, QStringList& list, int mode,
                    CompileCallbacks* callbacks);

// The model of the table (coding from signalCoding: 1 "Abstract", 0 "Binary"), or null after a
// cancelled fault or for a table without rows. `table` holds the user's corrections afterwards.
std::unique_ptr<FTT> CompileTable(TableData& table, int signalCoding, CompileCallbacks* callbacks = nullptr);

}  // namespace tiravo
