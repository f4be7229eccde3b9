#include <QLineEdit>
#include <QResizeEvent>

#include "common/gui/tablegrid.h"
#include "common/tblfile.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/tableform_shared.h"

namespace velmora {

// The grid: cells and selection, editing, rows, the table's data, fonts and column widths, and
// the clipboard of the in-place editor.

using namespace tableform;

// ---------------------------------------------------------------------------------------
// Layout

void TVexoTableForm::resizeEvent(QResizeEvent* event) {
  TDocChild::resizeEvent(event);
  FormResize();
}

void TVexoTableForm::FormResize() {
  // The grid fills the client width; before the layout has run its own width is not yet set.
  const int gridWidth = contentsRect().width();
  const int fill = gridWidth - (colWidth(0) + colWidth(1) + colWidth(2) + colWidth(3)) - 26;
  if (colWidth(4) > 70)
    setColWidth(4, fill);
  else if (width() > lastWidth_ && fill > 70)
    setColWidth(4, fill);
  lastWidth_ = width();
}

// ---------------------------------------------------------------------------------------
// Grid

int TVexoTableForm::rowCount() const { return table_->rowCount(); }
QString TVexoTableForm::cell(int col, int row) const { return table_->cell(col, row); }
void TVexoTableForm::setCell(int col, int row, const QString& text) { table_->setCell(col, row, text); }
int TVexoTableForm::currentRow() const { return table_->currentRow(); }
int TVexoTableForm::currentColumn() const { return table_->currentColumn(); }
void TVexoTableForm::selectCell(int col, int row) { table_->selectCell(col, row); }
void TVexoTableForm::setCorner(const QString& text) { table_->setCorner(text); }

void TVexoTableForm::GridSelectCell(int col, int row) {
  setStatusPanel(1, QStringLiteral("%1:%2").arg(row).arg(col));
  // Selecting a cell ends an edit; an editor still open goes on counting as one.
  cellEditing_ = cellEditor() != nullptr;
  table_->trimAfterSelect(row);
}

bool TVexoTableForm::GridKeyDown(int key) {
  if (key != Qt::Key_Down || !table_->appendOnDown()) return false;
  markRowsChanged();
  return true;
}

void TVexoTableForm::GridGetEditText(int col, int row) {
  Q_UNUSED(col);
  Q_UNUSED(row);
  cellEditing_ = true;
}

void TVexoTableForm::GridSetEditText(int col, int row, const QString& value, bool editorModified) {
  setCell(col, row, value);
  if (cellEditing_ && editorModified) {
    doc_->setModified(true);
    doc_->setCompiled(false);  // the next model command compiles again
    setStatusPanel(0, kModified);
  }
  CheckTableFilled();
}

void TVexoTableForm::CheckTableFilled() {
  hasContent_ = table_->anyText();
  if (TFrame* f = docwin::activeFrame(this)) {
    f->setCommandEnabled(FrameCmd::ToSku, hasContent_);
  }
  OAModel_->setEnabled(hasContent_ && doc_->oaPresent());
}

QLineEdit* TVexoTableForm::cellEditor() const { return table_->cellEditor(); }
void TVexoTableForm::commitOpenEditor() { table_->commitOpenEditor(); }
void TVexoTableForm::setGridLocked(bool locked, const QString& hint) { table_->setLocked(locked, hint); }
bool TVexoTableForm::gridLocked() const { return table_->locked(); }

// ---------------------------------------------------------------------------------------
// Table data

TableData TVexoTableForm::tableData() const {
  return table_->tableData(doc_->signalCoding() == 1 ? TblFile::abstractTag() : TblFile::binaryTag());
}

void TVexoTableForm::setTableData(const TableData& table) {
  doc_->setSignalCoding(table.signalCoding == TblFile::abstractTag() ? 1 : 0);
  table_->setRows(table.rows);
  CheckTableFilled();
}

// ---------------------------------------------------------------------------------------
// Row commands. A row command changes the file's content, so it marks the table modified and
// the compiled automaton stale, like a cell edit.

void TVexoTableForm::markRowsChanged() {
  doc_->setModified(true);
  doc_->setCompiled(false);
  setStatusPanel(0, kModified);
  CheckTableFilled();
}

void TVexoTableForm::New2Click() {
  table_->appendRow();
  markRowsChanged();
}

void TVexoTableForm::Insert1Click() {
  table_->insertRow();
  markRowsChanged();
}

void TVexoTableForm::Del1Click() {
  if (table_->deleteRow()) markRowsChanged();  // the only data row stays
}

// ---------------------------------------------------------------------------------------
// Fonts and sizes

int TVexoTableForm::gridFontSize() const { return table_->fontSize(); }
int TVexoTableForm::defaultRowHeight() const { return table_->defaultRowHeight(); }
int TVexoTableForm::defaultColWidth() const { return table_->defaultColWidth(); }

void TVexoTableForm::showFontSize(int size) {
  if (frame()) frame()->showFontSize(size);
}

int TVexoTableForm::colWidth(int col) const { return table_->colWidth(col); }
void TVexoTableForm::setColWidth(int col, int width) { table_->setColWidth(col, width); }

void TVexoTableForm::Font1Click() { showFontSize(table_->growFont()); }
void TVexoTableForm::Font2Click() { showFontSize(table_->shrinkFont()); }

// ---------------------------------------------------------------------------------------
// Clipboard: only the in-place editor has text to cut, copy or paste.

void TVexoTableForm::Cut1Click() {
  if (QLineEdit* e = cellEditing_ ? cellEditor() : nullptr) e->cut();
}

void TVexoTableForm::Copy1Click() {
  if (QLineEdit* e = cellEditing_ ? cellEditor() : nullptr) e->copy();
}

void TVexoTableForm::Paste1Click() {
  if (QLineEdit* e = cellEditing_ ? cellEditor() : nullptr) e->paste();
}

void TVexoTableForm::SelectAll1Click() {
  if (QLineEdit* e = cellEditing_ ? cellEditor() : nullptr) e->selectAll();
}

}  // namespace velmora
