#pragma once
// The grid of a transition table as both programs show it: rows "si / y / xij / sj" with the
// row numbers, an in-place editor that tells a typed change from a visit, the row commands
// and the font steps.
//
// Coordinates follow the string-grid convention: row 0 holds the titles, column 0 the row
// numbers; data rows are 1 .. rowCount() - 1, data columns 1 (si), 2 (y), 3 (xij), 4 (sj).
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <functional>

#include "common/tabledata.h"

class QLineEdit;
class QTableView;
class TableGridModel;
class TableGridDelegate;

class TableGrid : public QObject {
  Q_OBJECT
 public:
  // `fontFamily` falls back to a fixed-pitch face when it is not installed.
  TableGrid(QWidget* parent, const QString& fontFamily, int pointSize, int rowHeight, int colWidth);

  QTableView* widget() const { return grid_; }

  // What the window does when the user acts on the grid. Each may be empty.
  std::function<void(int col, int row)> selected;     // the current cell moved
  std::function<void(int col, int row)> editStarted;  // an in-place editor opened
  // The editor's text reaches the grid; `typed`: the user changed it.
  std::function<void(int col, int row, const QString& text, bool typed)> editFinished;
  std::function<void()> downKey;  // the Down key, after a pending edit is taken in

  // What a cell `width` pixels wide paints of `text`: never more than it could show (at
  // least 256 characters), cut texts marked with an ellipsis. The cell's text is unchanged.
  static QString shownText(const QString& text, int width);

  int rowCount() const;  // the title row included
  QString cell(int col, int row) const;
  // Line breaks in a data cell become blanks, so the table file keeps its four-line groups.
  void setCell(int col, int row, const QString& text);
  int currentRow() const;                // 1-based data row
  int currentColumn() const;             // 1 .. 4
  void selectCell(int col, int row);     // moves the selection as a click would
  void selectQuietly(int col, int row);  // without `selected`

  // At least one data row stays.
  void setRowCount(int rows);
  void numberRows();  // rows with an si cell get 1, 2, ...; the others none
  bool rowEmpty(int row, bool withNumber) const;
  bool anyText() const;  // some data cell is not empty
  // Numbers the rows and drops an empty last row the selection left (not the only data row).
  void trimAfterSelect(int row);
  // Down on the last row, when it is not empty, appends a row. True when it did.
  bool appendOnDown();
  void appendRow();
  void insertRow();  // before the current one, which becomes the new empty row
  bool deleteRow();  // the current one; false when it is the only data row

  TableData tableData(const QString& codingTag) const;  // an open editor counts with its text
  // The table file of the grid as tableData() sees it, written straight from the grid's cells.
  bool writeFile(const QString& path, const QString& codingTag, QString* error) const;
  void setRows(const QList<TableRow>& rows);
  // The rows of a table file, read straight into the grid without a string per cell. False
  // (*error set, nothing changed) when it cannot be read or its first line is neither tag;
  // *coding gets the tag, *ignoredLines the lines past the last complete row.
  bool openFile(const QString& path, QString* coding, int* ignoredLines, QString* error);

  QLineEdit* cellEditor() const;
  void commitOpenEditor();
  void setLocked(bool locked, const QString& hint = QString());
  bool locked() const { return locked_; }

  void setCorner(const QString& text);
  QString corner() const { return corner_; }

  // Sizes: font in points; default row height and column width of the cells, of the title row
  // and of the number column.
  int fontSize() const { return fontSize_; }
  void setFontSize(int size);
  void applyDefaultSizes(int rowHeight, int colWidth);
  int defaultRowHeight() const { return defaultRowHeight_; }
  int defaultColWidth() const { return defaultColWidth_; }
  int colWidth(int col) const;
  void setColWidth(int col, int width);
  // "У&величить шрифт" (+2 below 72; rows 2.4 and columns 6.6 times the size) and
  // "У&меньшить шрифт" (-2 above 6; rows 3 and columns 8 times the size). Return the size.
  int growFont();
  int shrinkFont();
  // A size chosen in the frame's font box: rows 2.4, columns 6.6 times the size.
  void chooseFontSize(int size);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TableGridDelegate;
  QTableView* grid_ = nullptr;
  TableGridModel* model_ = nullptr;
  void setCurrent(int row, int col);  // 0-based, as the view counts
  TableGridDelegate* delegate_ = nullptr;
  QPointer<QLineEdit> editor_;
  QPersistentModelIndex editorIndex_;
  int selectGuard_ = 0;  // >0 while the program itself moves the selection or resizes the grid
  int col0Width_ = 80;
  QString corner_;
  bool locked_ = false;
  int defaultRowHeight_ = 24;
  int defaultColWidth_ = 80;
  int fontSize_ = 11;
};
