#pragma once
// The rows of a transition table as its grid shows them: four texts a row and the
// row's number in the header. Kept in flat vectors so that a table of a million rows opens,
// numbers and saves in one pass each. The texts of all cells share one buffer (a string per
// cell would cost several times the file), each cell its place in it; a changed cell's text is
// appended, and the buffer is packed again once most of it is no longer used.
#include <QAbstractTableModel>
#include <QString>
#include <QVector>
#include <array>

#include "common/tabledata.h"

class TableGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TableGridModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Rows and columns count from 0 here (the grid's data row 1 is row 0).
  QString text(int row, int col) const;
  // The same without a copy; valid until the model changes.
  QStringView view(int row, int col) const;
  bool cellEmpty(int row, int col) const;
  void setText(int row, int col, const QString& text);
  QString title(int col) const { return col >= 0 && col < 4 ? titles_[col] : QString(); }
  void setTitle(int col, const QString& text);
  // A row's number as its header shows it; 0 shows nothing.
  int number(int row) const { return row >= 0 && row < rows_.size() ? rows_[row].number : 0; }
  void setNumber(int row, int number);
  // Rows with a source get 1, 2, ...; a row without one continues the row above and shows
  // nothing. One header update for the whole column.
  void renumber();

  void resizeRows(int count);  // new rows are empty
  void insertEmptyRow(int at);
  void removeRowAt(int at);
  void clearTexts();
  void assign(const QVector<TableRow>& rows);  // at least one row remains
  // Rows straight from a table file's bytes (1251, four lines a row), without a string per cell.
  // Returns false, leaving the model as it was, when the first line is neither tag.
  // *coding receives the tag, *ignoredLines the lines after the last complete row.
  bool assignFileBytes(const QByteArray& bytes, QString* coding, int* ignoredLines);
  bool anyText() const { return filledCells_ > 0; }

 private:
  struct Cell {
    quint32 start = 0, length = 0;
  };
  struct Row {
    std::array<Cell, 4> cells;
    int number = 0;
  };
  void count(const Row& r, int sign);
  Cell store(QStringView text);
  void packIfSparse();
  QVector<Row> rows_;
  QString buffer_;
  qint64 used_ = 0;  // characters of the buffer some cell still shows
  std::array<QString, 4> titles_;
  qint64 filledCells_ = 0;
};
