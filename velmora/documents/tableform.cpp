#include "velmora/documents/tableform.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <functional>

#include "common/gui/tblwarning.h"
#include "platform/dialogs.h"
#include "platform/docwindow.h"
#include "platform/guard.h"
#include "platform/textfile.h"
#include "velmora/app/childkind.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/app/optionsform.h"
#include "common/gui/tablegrid.h"
#include "common/tblfile.h"

namespace {

const QString kUntitled = QStringLiteral("Untitled");
const QString kUntitledCaption = QStringLiteral("Untitled - таблица");
const QString kTblFilter = QStringLiteral("Таблица переходов (*.tbl)|*.tbl");
const QString kOaFilter = QStringLiteral("Операционный автомат (*.oa)|*.oa");
const QString kError = QStringLiteral("Ошибка");
const QString kConfirm = QStringLiteral("Подтверждение");
const QString kModified = QStringLiteral("Изменен");
const QAbstractItemView::EditTriggers kEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

// A dialog answer without an extension gets the default one, as the file dialogs do.
QString withDefaultExtension(const QString& path, const QString& ext) {
  if (QFileInfo(path).suffix().isEmpty()) return path + QLatin1Char('.') + ext;
  return path;
}

// The folder a file dialog starts in: the document's own, when it has been saved.
QString dialogDir(const QString& name) {
  if (name.isEmpty() || name == kUntitled) return QString();
  return QFileInfo(name).absolutePath();
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Construction

TVexoTableForm::TVexoTableForm(QWidget* parent) : TDocChild(parent) {
  setWindowTitle(kUntitledCaption);

  table_ = new TableGrid(this, QStringLiteral("Vexo font"), 11, 24, 80);  // 15 pixels at 96 dots per inch
  grid_ = table_->widget();
  table_->setCorner(QStringLiteral("[-]"));
  table_->selected = [this](int col, int row) { GridSelectCell(col, row); };
  table_->editStarted = [this](int col, int row) { GridGetEditText(col, row); };
  table_->editFinished = [this](int col, int row, const QString& text, bool typed) {
    GridSetEditText(col, row, text, typed);
  };
  table_->downKey = [this] { GridKeyDown(Qt::Key_Down); };

  status_ = new QPlainTextEdit(this);
  status_->setObjectName(QStringLiteral("status"));
  status_->setReadOnly(true);
  status_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setObjectName(QStringLiteral("Splitter1"));
  splitter_->setHandleWidth(2);
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(grid_);
  splitter_->addWidget(status_);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  splitter_->setSizes({260, 89});

  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(0, 0, 0, 0);
  lay->setSpacing(0);
  lay->addWidget(splitter_);

  buildMenus();
  resize(480, 360);
  FormResize();
}

TVexoTableForm::~TVexoTableForm() {
  // The windows working on the description borrow its lists: they go first.
  closeLockHolders();
  delete mFile_;
  delete mEdit_;
  delete mFormat_;
  delete mModel_;
  delete mTrans_;
  delete mOa_;
}

void TVexoTableForm::buildMenus() {
  // Every command takes a pending cell edit in first, as if the cell had been left.
  auto add = [this](QMenu* m, const QString& text, const QKeySequence& key, const QString& hint,
                    std::function<void()> fn) {
    QAction* a = m->addAction(text);
    if (!key.isEmpty()) {
      a->setShortcut(key);
      a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
      addAction(a);  // active while the focus is in this window
    }
    if (!hint.isEmpty()) {
      a->setStatusTip(hint);
      a->setToolTip(hint);
    }
    connect(a, &QAction::triggered, this, [this, fn] {
      guard::run(this, [&] {
        commitOpenEditor();
        fn();
      });
    });
    return a;
  };
  // Ctrl+X, Ctrl+C and Ctrl+V belong to the frame's edit actions, which route to this window;
  // the menu only names them.
  auto shown = [](const QString& text, const char* key) { return text + QLatin1Char('\t') + QLatin1String(key); };

  mFile_ = new QMenu(QStringLiteral("&Файл"));
  QMenu* create = mFile_->addMenu(QStringLiteral("Создать"));
  create->menuAction()->setStatusTip(QStringLiteral("Создание нового файла"));
  add(create, QStringLiteral("РВАС"), {}, QStringLiteral("Создание нового файла РВАС"), docwin::newCommand(this, TFrame::NewDoc::Rvas));
  add(create, QStringLiteral("СКУ"), {}, QStringLiteral("Создание нового файла СКУ"), docwin::newCommand(this, TFrame::NewDoc::Sku));
  add(create, QStringLiteral("ГСА"), {}, QStringLiteral("Создание нового файла ЛСА"), docwin::newCommand(this, TFrame::NewDoc::Gsa));
  add(create, QStringLiteral("Таблицу &переходов"), {}, QStringLiteral("Создание новой таблицы переходов"),
      docwin::newCommand(this, TFrame::NewDoc::Table));
  create->addSeparator();
  add(create, QStringLiteral("&Текстовый файл"), {}, QStringLiteral("Создание нового текстового файла"),
      docwin::newCommand(this, TFrame::NewDoc::Text));
  add(mFile_, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3), QStringLiteral("Открытие файла"),
      docwin::openCommand(this));
  add(mFile_, QStringLiteral("&Закрыть"), {}, QStringLiteral("Закрытие активного файла"), [this] {
    if (auto* sw = qobject_cast<QMdiSubWindow*>(parentWidget()))
      sw->close();
    else
      close();
  });
  add(mFile_, QStringLiteral("&Сохранить"), QKeySequence(Qt::Key_F2), QStringLiteral("Быстрое сохранение активного файла"),
      [this] { Save1Click(); });
  add(mFile_, QStringLiteral("Сохранить &как..."), {}, QStringLiteral("Сохранение активного файла с новым именем"),
      [this] { Saveas1Click(); });
  add(mFile_, QStringLiteral("От&чет"), {}, {}, [this] { mReportClick(); });
  add(mFile_, QStringLiteral("В&ыход"), {}, QStringLiteral("Выход из программы"), docwin::exitCommand(this));

  mEdit_ = new QMenu(QStringLiteral("&Правка"));
  add(mEdit_, shown(QStringLiteral("&Вырезать"), "Ctrl+X"), {}, QStringLiteral("Вырезание выделенного блока в буфер"),
      [this] { Cut1Click(); });
  add(mEdit_, shown(QStringLiteral("&Копировать"), "Ctrl+C"), {}, QStringLiteral("Копирование выделенного блока в буфер"),
      [this] { Copy1Click(); });
  add(mEdit_, shown(QStringLiteral("Вст&авить"), "Ctrl+V"), {}, QStringLiteral("Вставка из буфера"),
      [this] { Paste1Click(); });
  add(mEdit_, QStringLiteral("Выделить в&сё"), QKeySequence(Qt::CTRL | Qt::Key_A),
      QStringLiteral("Выделение всего текста в активном окне"), [this] { SelectAll1Click(); });
  mEdit_->addSeparator();
  add(mEdit_, QStringLiteral("Вставить строку"), QKeySequence(Qt::CTRL | Qt::Key_I),
      QStringLiteral("Вставка новой строки перед текущей"), [this] { Insert1Click(); });
  add(mEdit_, QStringLiteral("Добавить строку"), QKeySequence(Qt::CTRL | Qt::Key_G),
      QStringLiteral("Добавить новую строку в конец таблицы"), [this] { New2Click(); });
  add(mEdit_, QStringLiteral("Удалить строкку"), QKeySequence(Qt::CTRL | Qt::Key_D),
      QStringLiteral("Удалить текущую строку таблицы"), [this] { Del1Click(); });

  mFormat_ = new QMenu(QStringLiteral("Ф&ормат"));
  add(mFormat_, QStringLiteral("У&величить шрифт"), {}, QStringLiteral("Увеличение шрифта"), [this] { Font1Click(); });
  add(mFormat_, QStringLiteral("У&меньшить шрифт"), {}, QStringLiteral("Уменьшение шрифта"), [this] { Font2Click(); });

  mModel_ = new QMenu(QStringLiteral("&Моделирование"));
  add(mModel_, QStringLiteral("Моделирование &УА"), QKeySequence(Qt::CTRL | Qt::Key_F9), {}, [this] { StandartClick(); });
  OAModel_ = add(mModel_, QStringLiteral("Моделирование &ОА"), QKeySequence(Qt::SHIFT | Qt::Key_F9), {},
                 [this] { OAModelClick(); });
  OAModel_->setObjectName(QStringLiteral("OAModel"));
  OAModel_->setEnabled(false);
  add(mModel_, QStringLiteral("&Моделирование УА+ОА"), QKeySequence(Qt::Key_F9), {}, [this] { AllModelClick(); });

  mTrans_ = new QMenu(QStringLiteral("Пре&образования"));
  add(mTrans_, QStringLiteral("Перевод в &СКУ"), QKeySequence(Qt::Key_F7), QStringLiteral("Первод таблицы переходов в СКУ"),
      [this] { SkuClick(); });
  add(mTrans_, QStringLiteral("Детерминизация..."), {}, QStringLiteral("Выполнение детерминизации"), [this] { N9Click(); });

  mOa_ = new QMenu(QStringLiteral("Операционный &автомат"));
  add(mOa_, QStringLiteral("Создать"), {}, {}, [this] { OACreateClick(); });
  OAOpen_ = add(mOa_, QStringLiteral("Открыть..."), {}, {}, [this] { OAOpenClick(); });
  add(mOa_, QStringLiteral("Сохранить"), {}, {}, [this] { OASaveSrazuClick(); });
  add(mOa_, QStringLiteral("Сохранить как..."), {}, {}, [this] { OASaveClick(); });
  OADelete_ = add(mOa_, QStringLiteral("Удалить"), {}, {}, [this] { OADeleteClick(); });
  add(mOa_, QStringLiteral("Редактировать..."), {}, {}, [this] { OAClick(); });
}

QList<QMenu*> TVexoTableForm::windowMenus() const { return {mEdit_, mFormat_, mModel_, mTrans_, mOa_}; }

QList<QAction*> TVexoTableForm::menuActions() const {
  QList<QAction*> all;
  std::function<void(QMenu*)> walk = [&](QMenu* m) {
    for (QAction* a : m->actions()) {
      if (a->isSeparator()) continue;
      if (a->menu())
        walk(a->menu());
      else
        all << a;
    }
  };
  walk(mFile_);
  for (QMenu* m : windowMenus()) walk(m);
  return all;
}

QAction* TVexoTableForm::menuAction(const QString& text) const {
  for (QAction* a : menuActions()) {
    QString t = a->text();
    const int tab = t.indexOf(QLatin1Char('\t'));
    if (tab >= 0) t.truncate(tab);
    if (t == text) return a;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------
// Frame interface

void TVexoTableForm::frameCommand(FrameCmd cmd, QObject* sender) {
  guard::run(this, [&] {
    commitOpenEditor();
    switch (cmd) {
      case FrameCmd::Save: Save1Click(); break;
      case FrameCmd::Cut: Cut1Click(); break;
      case FrameCmd::Copy: Copy1Click(); break;
      case FrameCmd::Paste: Paste1Click(); break;
      case FrameCmd::ToSku: SkuClick(); break;
      case FrameCmd::AddStr: New2Click(); break;
      case FrameCmd::InsStr: Insert1Click(); break;
      case FrameCmd::DelStr: Del1Click(); break;
      case FrameCmd::OaCall: OAClick(); break;
      case FrameCmd::Report: mReportClick(); break;
      case FrameCmd::Options: mOptionsClick(); break;
      case FrameCmd::ShowMessages: MessageClick(sender); break;
      default: break;  // the other frame commands do not concern a table
    }
  });
}

bool TVexoTableForm::setFontSize(int size) {
  table_->chooseFontSize(size);
  return true;
}

void TVexoTableForm::setStatusPanel(int panel, const QString& text) {
  if (frame()) frame()->setStatusText(panel, text);
}

void TVexoTableForm::FormActivate() {
  ChildKind = ckTable;
  if (TFrame* f = frame()) {
    f->updateActions();
    f->setCommandEnabled(FrameCmd::Compile, hasContent);
    f->setCommandEnabled(FrameCmd::ToSku, hasContent);
    f->setCommandEnabled(FrameCmd::OaCall, !oaEditOpen);
    f->setCommandChecked(FrameCmd::ShowMessages, messagesShown);
  }
  if (oa.oaPresent) {
    setCorner(QStringLiteral("[+]"));
    OAModel_->setEnabled(!oaModelOpen);
  } else {
    setCorner(QStringLiteral("[-]"));
    OAModel_->setEnabled(false);
  }
  showFontSize(table_->fontSize());
  setStatusPanel(0, tableModified ? kModified : QString());
  if (renumberPending) {
    GridSelectCell(1, 1);
    renumberPending = false;
  }
  setStatusPanel(1, QStringLiteral("%1:%2").arg(currentRow()).arg(currentColumn()));
}

void TVexoTableForm::closeEvent(QCloseEvent* event) {
  commitOpenEditor();
  // The windows working on the description answer first (a modified input file is not lost);
  // they close only once the table closes.
  docwin::handleClose(
      this, event, [this] { return askLockHolders() && FormCloseQuery(); },
      [this] {
        closeLockHolders();
        FormClose();
      });
}

bool TVexoTableForm::FormCloseQuery() {
  bool allow = true;
  if (tableModified) {
    const int a = dlg::message(this, QStringLiteral("Сохранить изменения в файл таблицы переходов ") + tableFileName,
                               kConfirm, dlg::Yes | dlg::No | dlg::Cancel, dlg::Question);
    if (a == dlg::Cancel)
      allow = false;
    else if (a == dlg::Yes && !Save1Click())
      allow = false;  // cancelled or failed: the changes would be lost
  }
  // Asked whatever the first answer was.
  if (oaModified) {
    const int a = dlg::message(this, QStringLiteral("Сохранить изменения в файл операционного автомата ") + oaFileName,
                               kConfirm, dlg::Yes | dlg::No | dlg::Cancel, dlg::Question);
    if (a == dlg::Cancel)
      allow = false;
    else if (a == dlg::Yes && !OASaveSrazuClick())
      allow = false;
  }
  return allow;
}

void TVexoTableForm::FormClose() {
  setStatusPanel(0, QString());
  setStatusPanel(1, QString());
  ChildKind = ckNone;
  if (frame()) frame()->updateActions();
}

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
  else if (width() > lastWidth && fill > 70)
    setColWidth(4, fill);
  lastWidth = width();
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
  cellEditing = cellEditor() != nullptr;
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
  cellEditing = true;
}

void TVexoTableForm::GridSetEditText(int col, int row, const QString& value, bool editorModified) {
  setCell(col, row, value);
  if (cellEditing && editorModified) {
    tableModified = true;
    compiled = false;  // the next model command compiles again
    setStatusPanel(0, kModified);
  }
  CheckTableFilled();
}

void TVexoTableForm::CheckTableFilled() {
  hasContent = table_->anyText();
  if (TFrame* f = docwin::activeFrame(this)) {
    f->setCommandEnabled(FrameCmd::Compile, hasContent);
    f->setCommandEnabled(FrameCmd::ToSku, hasContent);
  }
  OAModel_->setEnabled(hasContent && oa.oaPresent);
}

QLineEdit* TVexoTableForm::cellEditor() const { return table_->cellEditor(); }
void TVexoTableForm::commitOpenEditor() { table_->commitOpenEditor(); }
void TVexoTableForm::setGridLocked(bool locked, const QString& hint) { table_->setLocked(locked, hint); }
bool TVexoTableForm::gridLocked() const { return table_->locked(); }

// ---------------------------------------------------------------------------------------
// Table data

TableData TVexoTableForm::tableData() const {
  return table_->tableData(signalCoding == 1 ? TblFile::abstractTag() : TblFile::binaryTag());
}

void TVexoTableForm::setTableData(const TableData& table) {
  signalCoding = table.signalCoding == TblFile::abstractTag() ? 1 : 0;
  table_->setRows(table.rows);
  CheckTableFilled();
}

// ---------------------------------------------------------------------------------------
// Row commands. A row command changes the file's content, so it marks the table modified and
// the compiled automaton stale, like a cell edit.

void TVexoTableForm::markRowsChanged() {
  tableModified = true;
  compiled = false;
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
  if (QLineEdit* e = cellEditing ? cellEditor() : nullptr) e->cut();
}

void TVexoTableForm::Copy1Click() {
  if (QLineEdit* e = cellEditing ? cellEditor() : nullptr) e->copy();
}

void TVexoTableForm::Paste1Click() {
  if (QLineEdit* e = cellEditing ? cellEditor() : nullptr) e->paste();
}

void TVexoTableForm::SelectAll1Click() {
  if (QLineEdit* e = cellEditing ? cellEditor() : nullptr) e->selectAll();
}

// ---------------------------------------------------------------------------------------
// Messages and options

void TVexoTableForm::appendMessage(const QString& line) { status_->appendPlainText(line); }
void TVexoTableForm::clearMessages() { status_->clear(); }
void TVexoTableForm::setMessagesText(const QString& text) { status_->setPlainText(text); }
QString TVexoTableForm::messagesText() const { return status_->toPlainText(); }
bool TVexoTableForm::messagesVisible() const { return !status_->isHidden(); }

void TVexoTableForm::MessageClick(QObject* sender) {
  if (messagesShown) {
    status_->hide();
    messagesShown = false;
  } else {
    status_->show();
    messagesShown = true;
  }
  if (auto* item = qobject_cast<QAction*>(sender))
    item->setChecked(messagesShown);
  else if (frame())
    frame()->setCommandChecked(FrameCmd::ShowMessages, messagesShown);
}

void TVexoTableForm::mOptionsClick() {
  // The table has no settings of its own; the compiler reads the dialog's table page.
  if (!OptionsForm) return;
  DocSettings tmp;
  OptionsForm->execFor(&tmp, false);
}

// ---------------------------------------------------------------------------------------
// Reading and writing the table

void TVexoTableForm::updateCaptionFromPath(const QString& path) { setWindowTitle(QFileInfo(path).fileName()); }

QString TVexoTableForm::companionOaName(const QString& tablePath) {
  const QFileInfo fi(tablePath);
  return QDir(fi.path()).filePath(fi.completeBaseName() + QStringLiteral(".oa"));
}

bool TVexoTableForm::Open(const QString& path) {
  tableFileName = path;
  oaFileName = path;
  updateCaptionFromPath(path);
  // Straight from the file's bytes into the grid: a string per cell would cost several times the file.
  QString err, coding;
  int ignored = 0;
  if (!table_->openFile(path, &coding, &ignored, &err)) {
    dlg::message(this, err, kError, dlg::Ok, dlg::Warning);
    return false;
  }
  signalCoding = coding == TblFile::abstractTag() ? 1 : 0;
  CheckTableFilled();
  warnIgnoredTableLines(this, ignored);
  // The description lives next to the table, whatever the current directory is.
  oaFileName = companionOaName(path);
  if (!OAOpenOA(oaFileName, true)) return false;
  tableModified = false;
  return true;
}

bool TVexoTableForm::Save1Click() {
  commitOpenEditor();
  if (windowTitle() == kUntitledCaption) {
    tableFileName = kUntitled;
    return Saveas1Click();
  }
  return writeTable(tableFileName);
}

bool TVexoTableForm::writeTable(const QString& path) {
  QString err;
  if (!TblFile::write(path, tableData(), &err)) {
    dlg::message(this, err, kError, dlg::Ok, dlg::Warning);
    return false;  // still modified
  }
  tableModified = false;
  setStatusPanel(0, QString());
  return true;
}

bool TVexoTableForm::Saveas1Click() {
  QString path = dlg::saveFile(this, kTblFilter, dialogDir(tableFileName), QFileInfo(tableFileName).fileName());
  if (path.isEmpty()) return false;
  path = withDefaultExtension(path, QStringLiteral("tbl"));
  // The window takes the new name only once the table is written there.
  commitOpenEditor();
  if (!writeTable(path)) return false;
  tableFileName = path;
  oaFileName = companionOaName(path);
  updateCaptionFromPath(path);
  return true;
}

// ---------------------------------------------------------------------------------------
// The operational-automaton description

bool TVexoTableForm::saveOaTo(const QString& path) {
  QString err;
  if (!OaFile::write(path, oa, &err)) {
    dlg::message(this, err, kError, dlg::Ok, dlg::Warning);
    return false;
  }
  return true;
}

bool TVexoTableForm::OASaveOA() { return saveOaTo(oaFileName); }

OaFile::Result TVexoTableForm::loadOa(const QString& name) {
  QString err;
  const OaFile::Result r = OaFile::read(name, &oa, &err);
  switch (r) {
    case OaFile::NoFile:
      break;
    case OaFile::BadHeader:
      dlg::message(this, err, kError, dlg::Ok, dlg::Warning);
      break;
    case OaFile::Malformed:
      dlg::message(this, err, kError, dlg::Ok, dlg::Warning);  // the description is as it was
      break;
    case OaFile::Read:
      OAModel_->setEnabled(true);
      setCorner(QStringLiteral("[+]"));
      break;
  }
  return r;
}

bool TVexoTableForm::OAOpenOA(const QString& name, bool companion) {
  // Opening a table with a foreign companion file is refused; a file chosen by hand is not.
  return !(loadOa(name) == OaFile::BadHeader && companion);
}

void TVexoTableForm::OAOpenClick() {
  if (gridLockCount() > 0) return;  // a window built its model from the description
  const QString path = dlg::openFile(this, kOaFilter, dialogDir(oaFileName));
  if (path.isEmpty()) return;
  // A file that could not be read keeps the old name, so a later save does not overwrite it.
  const OaFile::Result r = loadOa(path);
  if (r == OaFile::Read || r == OaFile::NoFile) oaFileName = path;
}

bool TVexoTableForm::OASaveSrazuClick() {
  if (oaFileName == kUntitled) return OASaveClick();
  if (!OASaveOA()) return false;
  oaModified = false;
  return true;
}

bool TVexoTableForm::OASaveClick() {
  QString path = dlg::saveFile(this, kOaFilter, dialogDir(oaFileName), QFileInfo(oaFileName).fileName());
  if (path.isEmpty()) return false;
  path = withDefaultExtension(path, QStringLiteral("oa"));
  oaFileName = path;
  if (!OASaveOA()) return false;
  oaModified = false;
  return true;
}

void TVexoTableForm::OADeleteClick() {
  if (gridLockCount() > 0) return;
  oa.oaPresent = false;
  OAModel_->setEnabled(false);
  setCorner(QStringLiteral("[-]"));
}

void TVexoTableForm::OACreateClick() {
  if (!oa.oaPresent) OAClick();
}
