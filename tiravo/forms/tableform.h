#pragma once
// The transition-table window of Tiravo: the grid of rows "si / y / xij / sj", the *.tbl file,
// and the model commands that compile the grid and hand the model on.
//
// Grid coordinates: row 0 holds the titles, column 0 the row numbers; data rows are
// 1 .. rowCount() - 1, data columns 1 (si), 2 (y), 3 (xij), 4 (sj).
#include <QString>
#include <functional>
#include <memory>

#include "common/tabledata.h"
#include "common/tabledocument.h"
#include "tiravo/forms/childform.h"

class FTT;
class QAction;
class QMenu;
class QRadioButton;
class QTableView;
class TableGrid;

namespace tiravo {

class TFrame;

class TVexoTableForm : public TChildForm {
  Q_OBJECT
 public:
  explicit TVexoTableForm(QWidget* parent = nullptr);
  ~TVexoTableForm() override;

  int kind() const override { return 5; }
  QList<QMenu*> menus() const override;

  // ---- document ----
  // The file's name, the modified flag and the coding; the window shows it and owns it.
  TableDocument* document() const { return doc_; }
  // Reads a table file. False when it was refused (message shown); the caller closes the window.
  bool Open(const QString& path);
  bool Save1Click();  // true when written
  bool Saveas1Click();
  QString fileName() const { return doc_->fileName(); }
  // The grid as a table (rows as they stand, empty ones included; the document's coding).
  TableData tableData() const;
  // Puts the rows into the grid (at least one data row stays) and the coding into the
  // document and the radio buttons; the modified flag is left as it is.
  void setTableData(const TableData& table);
  void setSignalCoding(int coding);  // 1 "Abstract", 0 "Binary"
  // A command (a conversion, the determinizer) has just filled the grid: the table counts as
  // modified at once; `renumber` numbers its rows when the window is or becomes active.
  void markFilled(bool renumber);

  // ---- grid ----
  QTableView* grid() const;
  TableGrid* table() const { return table_; }
  int rowCount() const;  // title row included
  QString cell(int col, int row) const;
  void setCell(int col, int row, const QString& text);
  int gridFontSize() const;
  // The frame's font-size box: the grid font and its default row height and column width.
  void setFontSize(int size);
  bool hasFont() const override { return true; }

  // ---- handlers ----
  void FormActivate() override;
  bool FormCloseQuery() override;
  void GridSelectCell(int col, int row);
  bool GridKeyDown();  // Down on a filled last row appends a row; true when it did
  void GridKeyPress();
  void Insert1Click();  // insert a row before the current one
  void New2Click();     // append a row
  void Del1Click();     // delete the current row
  void Font1Click();    // grid font one step larger
  void Font2Click();    // grid font one step smaller
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void Delete1Click();
  void AbstrButtonClick();
  void BinButtonClick();
  void SelectAll1Click() {}
  void StandartClick();     // compile, then the automatic simulator
  void miSimStepClick();    // compile, then the step simulator
  void miDetermClick();     // compile, then the determinization window
  void SkuClick();          // table -> СКУ
  void miToBrouserClick();  // compile, then the model browser
  // Compiles the grid; null when the compiler refused it (it has said why).
  std::unique_ptr<FTT> compile();

  QRadioButton *AbstrButton = nullptr, *BinButton = nullptr;
  // Menu items by their text without the shortcut part (for the frame and tests).
  QAction* menuAction(const QString& text) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenus();
  bool writeTo(const QString& path);  // reports a failure
  void chooseCoding(int coding);
  // Compiles and gives the model to `receive`, which owns it from then on.
  void handOver(const std::function<void(TFrame&, FTT*)>& receive);
  void rowsChanged();
  void showFontSize(int size);
  TableDocument* doc_ = nullptr;  // a child of the window: goes with it
  bool renumberPending_ = false;
  TableGrid* table_ = nullptr;
  QList<QMenu*> menus_;
};

}  // namespace tiravo
