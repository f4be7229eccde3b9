#include "common/gui/tablegrid.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableView>

#include "common/gui/tablegridmodel.h"
#include "common/tblfile.h"
#include "platform/guard.h"
#include "platform/textfile.h"

namespace {
const QAbstractItemView::EditTriggers kEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;
}

// The in-place editor of the grid: a line edit whose "modified" flag tells a typed change
// from a mere visit, and whose text reaches the grid through editFinished only.
class TableGridDelegate : public QStyledItemDelegate {
 public:
  explicit TableGridDelegate(TableGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    if (grid_->locked_) return nullptr;
    auto* e = new QLineEdit(parent);
    e->setFrame(false);
    grid_->editor_ = e;
    grid_->editorIndex_ = QPersistentModelIndex(index);
    if (grid_->editStarted) grid_->editStarted(index.column() + 1, index.row() + 1);
    return e;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* e = static_cast<QLineEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (e->text() != text) e->setText(text);
    e->setModified(false);
  }

  // A cell is shown in one line of its width: a longer text is cut to what can fit before the
  // style elides it, so a cell of megabytes costs no more to paint than a short one.
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = TableGrid::shownText(option->text, option->rect.width());
  }

  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    auto* e = static_cast<QLineEdit*>(editor);
    const bool modified = e->isModified();
    e->setModified(false);
    const int col = index.column() + 1, row = index.row() + 1;
    grid_->setCell(col, row, e->text());
    if (grid_->editFinished) grid_->editFinished(col, row, e->text(), modified);
  }

 private:
  TableGrid* grid_;
};

TableGrid::TableGrid(QWidget* parent, const QString& fontFamily, int pointSize, int rowHeight, int colWidth)
    : QObject(parent), fontSize_(pointSize) {
  model_ = new TableGridModel(this);
  model_->resizeRows(1);
  grid_ = new QTableView(parent);
  grid_->setModel(model_);
  grid_->setObjectName(QStringLiteral("Grid"));
  delegate_ = new TableGridDelegate(this);
  grid_->setItemDelegate(delegate_);
  grid_->setEditTriggers(kEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setTabKeyNavigation(true);
  grid_->setWordWrap(false);
  grid_->setCornerButtonEnabled(false);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->horizontalHeader()->setMinimumSectionSize(0);
  grid_->verticalHeader()->setMinimumSectionSize(1);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->verticalHeader()->setHighlightSections(false);
  grid_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  const QString titles[] = {QStringLiteral("si"), QStringLiteral("y"), QStringLiteral("xij"),
                            QStringLiteral("sj")};
  for (int c = 0; c < 4; ++c) model_->setTitle(c, titles[c]);
  // The program's own face is not shipped; a fixed-pitch face stands in for it when it is missing.
  QFont f(fontFamily);
  f.setStyleHint(QFont::TypeWriter);
  f.setFamilies({fontFamily, QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")});
  f.setPointSize(fontSize_);
  grid_->setFont(f);
  grid_->installEventFilter(this);
  if (auto* corner = grid_->findChild<QAbstractButton*>()) corner->installEventFilter(this);
  applyDefaultSizes(rowHeight, colWidth);
  numberRows();
  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current, const QModelIndex&) {
            if (selectGuard_ || !current.isValid()) return;
            if (selected) selected(current.column() + 1, current.row() + 1);
          });
  selectQuietly(1, 1);
}

QString TableGrid::shownText(const QString& text, int width) {
  // No glyph is narrower than a pixel; the ellipsis tells the style that the text goes on.
  const int fits = qMax(width, 256);
  if (text.size() <= fits) return text;
  return text.left(fits) + QChar(0x2026);
}

int TableGrid::rowCount() const { return model_->rowCount() + 1; }

QString TableGrid::cell(int col, int row) const {
  if (col < 0 || col > 4 || row < 0 || row >= rowCount()) return QString();
  if (row == 0) return col == 0 ? corner_ : model_->title(col - 1);
  if (col == 0) {
    const int n = model_->number(row - 1);
    return n > 0 ? QString::number(n) : QString();
  }
  return model_->text(row - 1, col - 1);
}

void TableGrid::setCell(int col, int row, const QString& text) {
  if (col < 0 || col > 4 || row < 0 || row >= rowCount()) return;
  if (row == 0) {
    if (col == 0)
      setCorner(text);
    else
      model_->setTitle(col - 1, text);
    return;
  }
  if (col == 0) {
    // The number column shows only the numbers the grid itself gives.
    bool ok = false;
    const int n = text.toInt(&ok);
    model_->setNumber(row - 1, ok && n > 0 ? n : 0);
    return;
  }
  model_->setText(row - 1, col - 1, TblFile::cellText(text));
}

int TableGrid::currentRow() const {
  const QModelIndex i = grid_->currentIndex();
  return i.isValid() ? i.row() + 1 : 1;
}

int TableGrid::currentColumn() const {
  const QModelIndex i = grid_->currentIndex();
  return i.isValid() ? i.column() + 1 : 1;
}

void TableGrid::setCurrent(int row, int col) { grid_->setCurrentIndex(model_->index(row, col)); }

void TableGrid::selectCell(int col, int row) {
  if (col < 1 || col > 4 || row < 1 || row >= rowCount()) return;
  setCurrent(row - 1, col - 1);
}

void TableGrid::selectQuietly(int col, int row) {
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  selectCell(col, row);
}

void TableGrid::setRowCount(int rows) {
  rows = qMax(rows, 2);
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  model_->resizeRows(rows - 1);
  if (!grid_->currentIndex().isValid()) setCurrent(0, 0);
}

void TableGrid::numberRows() { model_->renumber(); }

bool TableGrid::rowEmpty(int row, bool withNumber) const {
  if (withNumber && model_->number(row - 1) > 0) return false;
  for (int c = 0; c < 4; ++c)
    if (!model_->cellEmpty(row - 1, c)) return false;
  return true;
}

bool TableGrid::anyText() const { return model_->anyText(); }

void TableGrid::trimAfterSelect(int row) {
  numberRows();
  const int last = rowCount() - 1;
  if (row != last && rowCount() > 2 && rowEmpty(last, true)) {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    model_->removeRowAt(last - 1);
  }
}

bool TableGrid::appendOnDown() {
  const int last = rowCount() - 1;
  if (currentRow() != last || rowEmpty(last, false)) return false;
  appendRow();
  return true;
}

void TableGrid::appendRow() { setRowCount(rowCount() + 1); }

void TableGrid::insertRow() {
  const int row = currentRow();
  const int col = currentColumn() - 1;
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  model_->insertEmptyRow(row - 1);
  setCurrent(row - 1, col);
}

bool TableGrid::deleteRow() {
  if (rowCount() < 3) return false;
  const int row = currentRow();
  const int col = currentColumn() - 1;
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  model_->removeRowAt(row - 1);
  setCurrent(qMin(row, rowCount() - 1) - 1, col);
  return true;
}

TableData TableGrid::tableData(const QString& codingTag) const {
  TableData t;
  t.signalCoding = codingTag;
  t.rows.reserve(rowCount() - 1);
  for (int r = 0; r + 1 < rowCount(); ++r)
    t.rows.append({model_->text(r, 0), model_->text(r, 1), model_->text(r, 2), model_->text(r, 3)});
  // A cell being typed into counts with what it shows.
  if (QLineEdit* e = cellEditor()) {
    const int r = editorIndex_.row(), c = editorIndex_.column();
    if (r >= 0 && r < t.rows.size() && c >= 0 && c < 4) {
      TableRow& row = t.rows[r];
      QString* cells[] = {&row.si, &row.y, &row.x, &row.sj};
      *cells[c] = TblFile::cellText(e->text());
    }
  }
  return t;
}

bool TableGrid::writeFile(const QString& path, const QString& codingTag, QString* error) const {
  int editRow = -1, editCol = -1;
  QString edited;
  if (QLineEdit* e = cellEditor()) {
    editRow = editorIndex_.row();
    editCol = editorIndex_.column();
    edited = e->text();
  }
  return TblFile::write(
      path, codingTag, rowCount() - 1,
      [&](qsizetype row, int col) {
        return row == editRow && col == editCol ? QStringView(edited) : model_->view(int(row), col);
      },
      error);
}

void TableGrid::setRows(const QList<TableRow>& rows) {
  {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    model_->assign(rows);
    setCurrent(0, 0);
  }
  numberRows();
}

bool TableGrid::openFile(const QString& path, QString* coding, int* ignoredLines, QString* error) {
  QByteArray bytes;
  if (!textfile::readBytes(path, &bytes, error)) return false;
  {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    if (!model_->assignFileBytes(bytes, coding, ignoredLines)) {
      if (error) *error = TblFile::badFormatMessage();
      return false;
    }
    setCurrent(0, 0);
  }
  numberRows();
  return true;
}

QLineEdit* TableGrid::cellEditor() const {
  if (!editor_ || !editorIndex_.isValid()) return nullptr;
  // The view drops an editor it has closed from its index, before the widget itself goes.
  if (grid_->indexWidget(editorIndex_) != editor_) return nullptr;
  return editor_;
}

void TableGrid::commitOpenEditor() {
  if (QLineEdit* e = cellEditor()) emit delegate_->commitData(e);
}

void TableGrid::setLocked(bool locked, const QString& hint) {
  locked_ = locked;
  if (locked) {
    if (QLineEdit* e = cellEditor()) {
      emit delegate_->commitData(e);
      emit delegate_->closeEditor(e);
    }
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setToolTip(hint);
  } else {
    grid_->setEditTriggers(kEditTriggers);
    grid_->setToolTip(QString());
    grid_->setEnabled(true);
  }
}

void TableGrid::setCorner(const QString& text) {
  corner_ = text;
  if (auto* corner = grid_->findChild<QAbstractButton*>()) corner->update();
}

void TableGrid::setFontSize(int size) {
  fontSize_ = size;
  QFont f = grid_->font();
  f.setPointSize(size);
  grid_->setFont(f);
}

void TableGrid::applyDefaultSizes(int rowHeight, int colWidth) {
  defaultRowHeight_ = rowHeight;
  defaultColWidth_ = colWidth;
  grid_->verticalHeader()->setDefaultSectionSize(rowHeight);
  grid_->horizontalHeader()->setDefaultSectionSize(colWidth);
  grid_->horizontalHeader()->setFixedHeight(rowHeight);  // the title row
  col0Width_ = colWidth;                                 // the number column
  grid_->verticalHeader()->setFixedWidth(colWidth);
  grid_->viewport()->update();
}

int TableGrid::colWidth(int col) const {
  if (col == 0) return col0Width_;
  if (col < 1 || col > 4) return 0;
  return grid_->horizontalHeader()->sectionSize(col - 1);
}

void TableGrid::setColWidth(int col, int width) {
  width = qMax(width, 0);
  if (col == 0) {
    col0Width_ = width;
    grid_->verticalHeader()->setFixedWidth(width);
  } else if (col >= 1 && col <= 4) {
    grid_->horizontalHeader()->resizeSection(col - 1, width);
  }
}

int TableGrid::growFont() {
  if (fontSize_ < 72) setFontSize(fontSize_ + 2);
  const int size = fontSize_;
  applyDefaultSizes(static_cast<int>(size * 1.4 + size), static_cast<int>(size * 5.6 + size));
  return size;
}

int TableGrid::shrinkFont() {
  if (fontSize_ > 6) setFontSize(fontSize_ - 2);
  const int size = fontSize_;
  applyDefaultSizes(3 * size, 8 * size);
  return size;
}

void TableGrid::chooseFontSize(int size) {
  if (size < 1) return;  // no font of that size: left as it is
  setFontSize(size);
  applyDefaultSizes(static_cast<int>(size + 1.4 * size), static_cast<int>(size + 5.6 * size));
}

bool TableGrid::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && qobject_cast<QAbstractButton*>(watched) &&
      watched->parent() == grid_) {
    // The corner cell shows the window's mark (Velmora: whether the table has its description).
    auto* b = static_cast<QAbstractButton*>(watched);
    QStyleOptionHeader opt;
    opt.initFrom(b);
    opt.state = QStyle::State_Raised | QStyle::State_Enabled;
    opt.palette.setCurrentColorGroup(QPalette::Active);  // the button itself is disabled
    opt.rect = b->rect();
    opt.position = QStyleOptionHeader::OnlyOneSection;
    opt.text = corner_;
    opt.textAlignment = Qt::AlignCenter;
    QPainter p(b);
    b->style()->drawControl(QStyle::CE_Header, &opt, &p, b);
    return true;
  }
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(event);
    const bool enter = ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter;
    if (enter && (ke->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !cellEditor() && !locked_) {
      // Enter opens the current cell with its text; F2, the view's own key for it, saves here.
      grid_->edit(grid_->currentIndex());
      return true;
    }
    if (ke->key() == Qt::Key_Down && ke->modifiers() == Qt::NoModifier) {
      guard::run(grid_, [&] {
        commitOpenEditor();
        if (downKey) downKey();
      });
    }
    return false;  // the grid still moves the selection
  }
  return QObject::eventFilter(watched, event);
}
