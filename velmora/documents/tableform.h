#pragma once
// The transition-table window: a grid of rows "si / y / xij / sj" stored as a *.tbl file,
// a message list for the compiler, and the operational-automaton description of the table
// stored beside it as a *.oa file.
//
// Grid coordinates follow the string-grid convention used throughout the program: row 0
// holds the column titles, column 0 the row numbers, data rows are 1 .. rowCount() - 1 and
// data columns 1 (si), 2 (y), 3 (xij), 4 (sj).
//
// The sources, a file per concern: tableform.cpp (construction, frame interface, closing),
// tableform_menus.cpp, tableform_file.cpp (the table file and the close question),
// tableform_oafile.cpp (the *.oa file), tableform_grid.cpp, tableform_messages.cpp, and
// tableform_oawindows.cpp, tableform_model.cpp, tableform_report.cpp, tableform_sku.cpp.
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QVariant>

#include "velmora/frameapi/docchild.h"
#include "velmora/documents/formats/tabledocument.h"
#include "common/tabledata.h"
#include "platform/longlines.h"

class QAction;
class QLineEdit;
class QMenu;
class QSplitter;
class QTableView;
class QTextEdit;
class TableGrid;

namespace velmora {

class TVexoTableForm : public TDocChild {
  Q_OBJECT
 public:
  explicit TVexoTableForm(QWidget* parent = nullptr);
  ~TVexoTableForm() override;

  // ---- TDocChild ----
  ChildKindValue kind() const override { return ckTable; }
  void commitPendingEdit() override;
  bool setFontSize(int size) override;
  void activated() override { FormActivate(); }
  bool isModified() const override { return doc_->isModified(); }
  QMenu* fileMenu() const override { return mFile_; }
  QList<QMenu*> windowMenus() const override;

  // ---- document ----
  // The file names, flags, description and locks; the window shows it and owns it.
  TTableDocument* document() const { return doc_; }
  // Reads a table file (and its companion *.oa file). False when the file was refused
  // (message already shown); the caller then discards the window.
  bool Open(const QString& path);
  // Both return true when the table was written.
  bool Save1Click();
  bool Saveas1Click();
  QString fileName() const { return doc_->fileName(); }
  // The table as the converters and the compiler see it (an open cell editor is taken in).
  TableData tableData() const;
  // Replaces the whole grid (at least one data row remains) and numbers the rows; leaves
  // the modified flag as it is. Line breaks in cells become blanks.
  void setTableData(const TableData& table);

  // ---- grid ----
  int rowCount() const;  // the header row included
  QString cell(int col, int row) const;
  void setCell(int col, int row, const QString& text);
  int currentRow() const;             // 1-based data row
  int currentColumn() const;          // 1 .. 4
  void selectCell(int col, int row);  // moves the selection, as a click would
  QTableView* grid() const { return grid_; }
  // The grid cannot be edited while locked and shows `hint`; unlocking clears the hint. The
  // windows that work on the description lock the document instead (see TableGridLock).
  void setGridLocked(bool locked, const QString& hint = QString());
  bool gridLocked() const;

  // ---- windows working on the operational automaton ----
  // The designer, the ОА model window and the joint model each hold a lock on the document
  // while they are open; the grid follows the locks and is editable again only when the last
  // holder lets go. While any window holds one the description cannot be replaced or deleted
  // ("Открыть..." and "Удалить" of the ОА menu are disabled); closing the table first asks
  // every holder its own close question, then closes them (FormClose, then the window is
  // deleted).
  // The joint model window of this table, reused by later commands. The frame makes it as a
  // child of its MDI area, so the table keeps it rather than finding it by name.
  TDocChild* jointModel() const { return jointModel_; }
  void setJointModel(TDocChild* window) { jointModel_ = window; }
  int gridFontSize() const;
  int defaultRowHeight() const;
  int defaultColWidth() const;
  int colWidth(int col) const;
  QLineEdit* cellEditor() const;  // the in-place editor while a cell is being edited

  // ---- message memo ----
  longlines::TextEdit* messageMemo() const { return status_; }
  void appendMessage(const QString& line);
  void clearMessages();
  void setMessagesText(const QString& text);
  QString messagesText() const;
  bool messagesVisible() const;

  // ---- handlers ----
  void FormActivate();
  bool FormCloseQuery();  // true when the window may close
  void FormClose();
  void FormResize();
  void GridSelectCell(int col, int row);
  bool GridKeyDown(int key);  // returns whether a row was appended
  void GridGetEditText(int col, int row);
  void GridSetEditText(int col, int row, const QString& value, bool editorModified);
  void CheckTableFilled();
  void Insert1Click();  // insert a row before the current one
  void New2Click();     // append a row
  void Del1Click();     // delete the current row
  void Font1Click();    // grid font one step larger
  void Font2Click();    // grid font one step smaller
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void SelectAll1Click();
  void MessageClick(QObject* sender = nullptr);
  void mOptionsClick();
  void statusDblClick() {}
  void AbstrButtonClick() { doc_->setSignalCoding(1); }
  void BinButtonClick() { doc_->setSignalCoding(0); }
  // The next activation renumbers the rows (a table a converter filled before it showed).
  void requestRenumber() { renumberPending_ = true; }
  bool renumberPending() const { return renumberPending_; }

  // Filled in by other parts of the program (each in a file of its own).
  void mReportClick();               // table report
  void SkuClick();                   // table -> СКУ
  bool Compile(bool save = true);    // through the outside compiler
  QString compiledFileName() const;  // the file the compiler writes for this table
  void StandartClick();              // "Моделирование &УА"
  void N9Click();                    // "Детерминизация...": through the outside determinizer
  void AllModelClick();              // "&Моделирование УА+ОА"

  // ---- operational automaton ----
  bool OASaveOA();  // writes the description to its file; false when it failed
  // Reads a *.oa file into the description. `companion`: read while opening the table, where
  // a file that is not an ОА file refuses the table. Returns false on a refused file.
  bool OAOpenOA(const QString& name, bool companion = false);
  void OACreateClick();
  void OAOpenClick();
  bool OASaveSrazuClick();  // true when written
  bool OASaveClick();
  void OADeleteClick();
  void OAClick();       // the designer (the frame's "Вызов &ОА" too)
  void OAModelClick();  // the ОА model window
  QAction* oaModelAction() const { return OAModel_; }
  // The commands of the window's menus (submenus flattened), and one by its text without
  // the shortcut part, for the frame's menu merging and for tests.
  QList<QAction*> menuActions() const;
  QAction* menuAction(const QString& text) const;
  // The *.oa name that belongs to a table file: same directory and base name.
  static QString companionOaName(const QString& tablePath);

  // ---- view state ----
  bool cellEditing() const { return cellEditing_; }
  bool hasContent() const { return hasContent_; }
  bool messagesShown() const { return messagesShown_; }
  int lastWidth() const { return lastWidth_; }
  QTextEdit* reportEditor() const;
  // The automation objects of the simulator and the determinizer: empty until first used,
  // kept between commands, released with the window.
  const QVariant& simulator() const { return simulator_; }
  const QVariant& determinizator() const { return determinizator_; }

 protected:
  FrameHandlers frameHandlers() override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void buildMenus();
  void setCorner(const QString& text);
  void setColWidth(int col, int width);
  void showFontSize(int size);
  void commitOpenEditor();
  void updateCaptionFromPath(const QString& path);
  void setStatusPanel(int panel, const QString& text);
  bool saveOaTo(const QString& path);
  // Reads an ОА file into the description; a file that does not read is reported and
  // changes nothing.
  OaFile::Result loadOa(const QString& name);
  void markRowsChanged();
  bool writeTable(const QString& path);  // the save itself; reports a failure

  TTableDocument* doc_ = nullptr;  // a child of the window: goes with it
  bool cellEditing_ = false;
  bool hasContent_ = false;
  bool messagesShown_ = true;  // the memo starts visible, so the frame's check mark matches it
  bool renumberPending_ = false;
  int lastWidth_ = 0;
  QPointer<QTextEdit> reportEditor_;  // borrowed: the editor of the report window being written
  QVariant simulator_;
  QVariant determinizator_;
  QPointer<TDocChild> jointModel_;

  TableGrid* table_ = nullptr;  // the grid's logic, shared with the second program
  QTableView* grid_ = nullptr;
  QSplitter* splitter_ = nullptr;
  longlines::TextEdit* status_ = nullptr;
  void applyGridLocks();  // the grid and the ОА menu follow the document's locks
  // Asks every holder its close question; false when one of them refuses.
  bool askLockHolders();
  void closeLockHolders();

  QMenu *mFile_ = nullptr, *mEdit_ = nullptr, *mFormat_ = nullptr, *mModel_ = nullptr, *mTrans_ = nullptr,
        *mOa_ = nullptr;
  QAction* OAModel_ = nullptr;
  QAction *OAOpen_ = nullptr, *OADelete_ = nullptr;  // off while a window holds the grid lock
};

}  // namespace velmora
