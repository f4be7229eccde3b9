#include "tiravo/forms/tableform.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/gui/tablegrid.h"
#include "common/gui/tblwarning.h"
#include "common/icons/glyphs.h"
#include "common/tblfile.h"
#include "platform/dialogs.h"
#include "platform/docwindow.h"
#include "platform/guard.h"
#include "tiravo/core/ftt.h"
#include "tiravo/core/tblcompile.h"
#include "tiravo/forms/browser.h"
#include "tiravo/forms/editform.h"
#include "tiravo/forms/errorview.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/frame.h"

namespace tiravo {

namespace {

const QString kUntitled = QStringLiteral("Untitled");
const QString kUntitledCaption = QStringLiteral("Untitled - таблица");
const QString kTblFilter = QStringLiteral("Таблица переходов (*.tbl)|*.tbl");

// The compiler's progress goes to the frame's status bar, its faulty cells to the error view.
class WindowCallbacks : public CompileCallbacks {
 public:
  explicit WindowCallbacks(TVexoTableForm* form) : form_(form) {}
  void progressShown(bool shown) override {
    if (TFrame* f = form_->frame()) f->showProgressPanels(shown);
  }
  void progress(int done, int total) override {
    if (TFrame* f = form_->frame()) f->setProgress(done, total);
  }
  bool cellError(const CellError& e, TableData& table) override {
    TFrame* f = form_->frame();
    if (!f) return false;
    TErrorView* view = f->errorView();
    view->setError(form_->table(), e.row, e.column, e.message, e.selStart, e.selLength);
    const TableData before = form_->tableData();
    const bool retry = view->exec() == QDialog::Accepted;
    // What the user typed in the view stays in the grid, confirmed or not.
    table = form_->tableData();
    if (!(table.rows == before.rows)) form_->document()->setModified(true);
    return retry;
  }
  void tableEmpty() override {
    dlg::message(nullptr, emptyTableMessage(), emptyTableCaption(), dlg::Ok, dlg::Information);
  }

 private:
  TVexoTableForm* form_;
};

}  // namespace

TVexoTableForm::TVexoTableForm(QWidget* parent) : TChildForm(parent), doc_(new TableDocument(this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kUntitledCaption);
  resize(472, 306);
  // "Vexo font" 17 pixels high: 13 points at 96 dots per inch.
  table_ = new TableGrid(this, QStringLiteral("Vexo font"), 13, 24, 90);
  table_->selected = [this](int col, int row) { GridSelectCell(col, row); };
  table_->editFinished = [this](int, int, const QString&, bool typed) {
    if (typed) doc_->setModified(true);
  };
  table_->downKey = [this] { GridKeyDown(); };
  grid()->installEventFilter(this);

  auto* panel = new QWidget(this);
  panel->setFixedHeight(37);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(4, 2, 4, 2);
  const auto button = [&](glyphs::Glyph glyph, const QString& hint, void (TVexoTableForm::*handler)()) {
    auto* b = new QToolButton(panel);
    b->setIcon(glyphs::icon(glyph));
    b->setAutoRaise(true);
    b->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
    b->setStatusTip(hint.section(QLatin1Char('|'), 1));
    connect(b, &QToolButton::clicked, this,
            [this, handler] { guard::run(this, [&] { (this->*handler)(); }); });
    row->addWidget(b);
  };
  button(glyphs::Glyph::AddRow, QStringLiteral("Добавить строку|Добавляет строку в конец таблицы"),
         &TVexoTableForm::New2Click);
  button(glyphs::Glyph::InsertRow, QStringLiteral("Вставить строку|Вставляет строку перед текущей"),
         &TVexoTableForm::Insert1Click);
  button(glyphs::Glyph::DeleteRow, QStringLiteral("Удалить строку|Удаляет текущую строку"),
         &TVexoTableForm::Del1Click);
  row->addSpacing(12);
  AbstrButton = new QRadioButton(QStringLiteral("Абстрактные сигналы"), panel);
  BinButton = new QRadioButton(QStringLiteral("Двоичные сигналы"), panel);
  BinButton->setChecked(true);
  connect(AbstrButton, &QRadioButton::clicked, this, [this] { AbstrButtonClick(); });
  connect(BinButton, &QRadioButton::clicked, this, [this] { BinButtonClick(); });
  row->addWidget(AbstrButton);
  row->addWidget(BinButton);
  row->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(panel);
  layout->addWidget(grid());
  setFocusProxy(grid());
  buildMenus();
}

TVexoTableForm::~TVexoTableForm() = default;

QTableView* TVexoTableForm::grid() const { return table_->widget(); }

void TVexoTableForm::buildMenus() {
  QMenu* file = new QMenu(QStringLiteral("&Файл"), this);
  QMenu* create = file->addMenu(QStringLiteral("Создать"));
  create->menuAction()->setStatusTip(QStringLiteral("Создание нового файла"));
  docwin::addItem(this, create, QStringLiteral("СКУ"), {}, frameCommand(this, int(TFrame::FileCmd::NewSku)));
  docwin::addItem(this, create, QStringLiteral("РВАС"), {},
                  frameCommand(this, int(TFrame::FileCmd::NewRvas)));
  docwin::addItem(this, create, QStringLiteral("ЛСА"), {}, frameCommand(this, int(TFrame::FileCmd::NewLsa)))
      ->setEnabled(false);
  docwin::addItem(this, file, QStringLiteral("Создать таблицу"), QKeySequence(QStringLiteral("Ctrl+N")),
                  frameCommand(this, int(TFrame::FileCmd::NewTable)));
  docwin::addItem(this, file, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3),
                  frameCommand(this, int(TFrame::FileCmd::Open)));
  docwin::addItem(this, file, QStringLiteral("&Закрыть"), {}, [this] { docwin::closeWindow(this); });
  docwin::addItem(this, file, QStringLiteral("&Сохранить"), QKeySequence(Qt::Key_F2),
                  [this] { Save1Click(); });
  docwin::addItem(this, file, QStringLiteral("Сохранить &как..."), {}, [this] { Saveas1Click(); });
  file->addSeparator();
  file->addAction(QStringLiteral("&Печать"))->setEnabled(false);
  file->addAction(QStringLiteral("&Настройка печати..."))->setEnabled(false);
  file->addSeparator();
  docwin::addItem(this, file, QStringLiteral("В&ыход"), {}, frameCommand(this, int(TFrame::FileCmd::Exit)));

  // Ctrl+D and F9 belong to two items each; a shortcut bound twice would fire neither, so the
  // first item keeps it.
  QMenu* edit = new QMenu(QStringLiteral("&Правка"), this);
  docwin::addItem(this, edit, QStringLiteral("&Вырезать"), QKeySequence(QStringLiteral("Ctrl+X")),
                  [this] { Cut1Click(); });
  docwin::addItem(this, edit, QStringLiteral("&Копировать"), QKeySequence(QStringLiteral("Ctrl+C")),
                  [this] { Copy1Click(); });
  docwin::addItem(this, edit, QStringLiteral("Вст&авить"), QKeySequence(QStringLiteral("Ctrl+V")),
                  [this] { Paste1Click(); });
  docwin::addItem(this, edit, QStringLiteral("&Удалить"), QKeySequence(QStringLiteral("Ctrl+D")),
                  [this] { Delete1Click(); });
  docwin::addItem(this, edit, QStringLiteral("Выделить в&сё"), QKeySequence(QStringLiteral("Ctrl+A")),
                  [this] { SelectAll1Click(); });
  edit->addSeparator();
  docwin::addItem(this, edit, QStringLiteral("Вставить строку"), QKeySequence(QStringLiteral("Ctrl+I")),
                  [this] { Insert1Click(); });
  docwin::addItem(this, edit, QStringLiteral("Добавить строку"), QKeySequence(QStringLiteral("Ctrl+G")),
                  [this] { New2Click(); });
  docwin::addItem(this, edit, QStringLiteral("Удалить строкку"), {}, [this] { Del1Click(); });

  QMenu* model = new QMenu(QStringLiteral("&Моделирование"), this);
  docwin::addItem(this, model, QStringLiteral("Стан&дартное"), QKeySequence(Qt::Key_F9),
                  [this] { StandartClick(); });
  docwin::addItem(this, model, QStringLiteral("По шагам"), QKeySequence(QStringLiteral("Shift+F9")),
                  [this] { miSimStepClick(); });

  QMenu* trans = new QMenu(QStringLiteral("Пре&образования"), this);
  docwin::addItem(this, trans, QStringLiteral("&Детерминизация"), QKeySequence(Qt::Key_F6), [this] {
    miDetermClick();
  })->setStatusTip(QStringLiteral("Детерминизация таблицы переходов"));
  docwin::addItem(this, trans, QStringLiteral("Перевод в &СКУ"), QKeySequence(Qt::Key_F7), [this] {
    SkuClick();
  })->setStatusTip(QStringLiteral("Первод таблицы переходов в СКУ"));
  docwin::addItem(this, trans, QStringLiteral("Список переходов"), {}, [this] { miToBrouserClick(); });

  QMenu* format = new QMenu(QStringLiteral("Ф&ормат"), this);
  docwin::addItem(this, format, QStringLiteral("У&величить шрифт"), {}, [this] { Font1Click(); });
  docwin::addItem(this, format, QStringLiteral("У&меньшить шрифт"), {}, [this] { Font2Click(); });
  menus_ = {file, edit, model, trans, format};
}

QList<QMenu*> TVexoTableForm::menus() const { return menus_; }

QAction* TVexoTableForm::menuAction(const QString& text) const {
  QList<QMenu*> pending = menus_;
  while (!pending.isEmpty()) {
    QMenu* m = pending.takeFirst();
    for (QAction* a : m->actions()) {
      if (a->menu()) pending << a->menu();
      if (a->text() == text) return a;
    }
  }
  return nullptr;
}

// ---- document ----

bool TVexoTableForm::Open(const QString& path) {
  doc_->setFileName(path);
  setWindowTitle(QFileInfo(path).fileName());
  // Straight into the grid: a string per cell would cost several times the file.
  QString err, coding;
  int ignored = 0;
  if (!table_->openFile(path, &coding, &ignored, &err)) {
    dlg::message(this, err, QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
    return false;
  }
  setSignalCoding(coding == TblFile::abstractTag() ? 1 : 0);
  warnIgnoredTableLines(this, ignored);
  return true;
}

bool TVexoTableForm::Save1Click() {
  table_->commitOpenEditor();
  // A table with no file of its own (a new one, or one a command filled under a caption of its
  // own) is never written to a file named "Untitled": it asks where to go.
  if (windowTitle() == kUntitledCaption || doc_->fileName() == kUntitled) {
    doc_->setFileName(kUntitled);
    return Saveas1Click();
  }
  return writeTo(doc_->fileName());
}

bool TVexoTableForm::writeTo(const QString& path) {
  QString err;
  if (!table_->writeFile(path, doc_->signalCoding() == 1 ? TblFile::abstractTag() : TblFile::binaryTag(),
                         &err)) {
    dlg::message(this, err, QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
    return false;
  }
  // Saving leaves the modified flag as it is: the window asks again when it closes.
  return true;
}

bool TVexoTableForm::Saveas1Click() {
  const QString path = docwin::askSavePath(this, doc_->fileName(), kTblFilter, QStringLiteral("tbl"));
  if (path.isEmpty()) return false;
  table_->commitOpenEditor();
  // The window takes the new name only once the table is written there.
  if (!writeTo(path)) return false;
  doc_->setFileName(path);
  setWindowTitle(QFileInfo(path).fileName());
  return true;
}

TableData TVexoTableForm::tableData() const {
  return table_->tableData(doc_->signalCoding() == 1 ? TblFile::abstractTag() : TblFile::binaryTag());
}

void TVexoTableForm::setTableData(const TableData& table) {
  setSignalCoding(table.signalCoding == TblFile::abstractTag() ? 1 : 0);
  table_->setRows(table.rows);
}

void TVexoTableForm::setSignalCoding(int coding) {
  doc_->setSignalCoding(coding == 1 ? 1 : 0);
  (doc_->signalCoding() == 1 ? AbstrButton : BinButton)->setChecked(true);
}

// ---- grid ----

int TVexoTableForm::rowCount() const { return table_->rowCount(); }
QString TVexoTableForm::cell(int col, int row) const { return table_->cell(col, row); }
void TVexoTableForm::setCell(int col, int row, const QString& text) { table_->setCell(col, row, text); }
int TVexoTableForm::gridFontSize() const { return table_->fontSize(); }

void TVexoTableForm::showFontSize(int size) {
  if (frame()) frame()->showFontSize(size);
}

void TVexoTableForm::setFontSize(int size) { table_->chooseFontSize(size); }

void TVexoTableForm::AbstrButtonClick() { chooseCoding(1); }
void TVexoTableForm::BinButtonClick() { chooseCoding(0); }

void TVexoTableForm::chooseCoding(int coding) {
  // The coding is part of the document: choosing the other one is a change.
  if (doc_->signalCoding() == coding) return;
  doc_->setSignalCoding(coding);
  doc_->setModified(true);
}

void TVexoTableForm::markFilled(bool renumber) {
  // Nobody saved what a command wrote, whether the window was activated before or after.
  doc_->setModified(true);
  if (!renumber) return;
  renumberPending_ = true;
  if (frame() && frame()->activeChild() == this) FormActivate();
}

void TVexoTableForm::FormActivate() {
  ActiveChildKind = 5;
  showFontSize(gridFontSize());
  if (renumberPending_) {
    GridSelectCell(1, 1);
    renumberPending_ = false;
    doc_->setModified(true);
  }
}

void TVexoTableForm::GridSelectCell(int, int row) { table_->trimAfterSelect(row); }

bool TVexoTableForm::GridKeyDown() {
  if (!table_->appendOnDown()) return false;
  doc_->setModified(true);
  return true;
}

void TVexoTableForm::GridKeyPress() { doc_->setModified(true); }

bool TVexoTableForm::eventFilter(QObject* watched, QEvent* event) {
  // A character typed on the grid opens its editor with that character: the table changes.
  if (watched == grid() && event->type() == QEvent::KeyPress && !table_->locked()) {
    const auto* ke = static_cast<QKeyEvent*>(event);
    if (!ke->text().isEmpty() && ke->text()[0].isPrint() &&
        !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
      GridKeyPress();
  }
  return TChildForm::eventFilter(watched, event);
}

void TVexoTableForm::rowsChanged() { doc_->setModified(true); }

void TVexoTableForm::New2Click() {
  table_->appendRow();
  rowsChanged();
}

void TVexoTableForm::Insert1Click() {
  table_->insertRow();
  rowsChanged();
}

void TVexoTableForm::Del1Click() {
  if (table_->deleteRow()) rowsChanged();
}

void TVexoTableForm::Font1Click() { showFontSize(table_->growFont()); }
void TVexoTableForm::Font2Click() { showFontSize(table_->shrinkFont()); }

// The clipboard items only say where the grid's own clipboard keys are.
void TVexoTableForm::Copy1Click() {
  dlg::message(this, QStringLiteral("Воспользуйтесь правой кнопкой мыши или комбинацией клавиш CTRL+INS"),
               QStringLiteral("Сообщение"), dlg::Ok, dlg::Warning);
}
void TVexoTableForm::Cut1Click() {
  dlg::message(this, QStringLiteral("Воспользуйтесь правой кнопкой мыши или комбинацией клавиш SHIFT+DEL"),
               QStringLiteral("Сообщение"), dlg::Ok, dlg::Warning);
}
void TVexoTableForm::Paste1Click() {
  dlg::message(this, QStringLiteral("Воспользуйтесь правой кнопкой мыши или комбинацией клавиш SHIFT+INS"),
               QStringLiteral("Сообщение"), dlg::Ok, dlg::Warning);
}
void TVexoTableForm::Delete1Click() {
  dlg::message(this, QStringLiteral("Воспользуйтесь правой кнопкой мыши или клавишей DEL"),
               QStringLiteral("Сообщение"), dlg::Ok, dlg::Warning);
}

// ---- close ----

bool TVexoTableForm::FormCloseQuery() {
  table_->commitOpenEditor();
  // A cancelled or failed save keeps the window open.
  return docwin::askToSave(this, doc_->isModified(),
                           QStringLiteral("Сохранить изменения в %1?").arg(doc_->fileName()),
                           [this] { return Save1Click(); });
}

void TVexoTableForm::closeEvent(QCloseEvent* event) {
  docwin::handleClose(
      this, event, [this] { return FormCloseQuery(); }, [] {});
}

// ---- model commands ----

std::unique_ptr<FTT> TVexoTableForm::compile() {
  table_->commitOpenEditor();
  TableData t = tableData();
  WindowCallbacks callbacks(this);
  return CompileTable(t, doc_->signalCoding(), &callbacks);
}

void TVexoTableForm::handOver(const std::function<void(TFrame&, FTT*)>& receive) {
  std::unique_ptr<FTT> model = compile();
  // The window that receives the model owns it from then on.
  if (model && frame()) receive(*frame(), model.release());
}

void TVexoTableForm::StandartClick() {
  handOver([this](TFrame& frame, FTT* model) { runAutoSim(frame, model, doc_->fileName()); });
}

void TVexoTableForm::miSimStepClick() {
  handOver([](TFrame& frame, FTT* model) { runStepSim(frame, model); });
}

void TVexoTableForm::miDetermClick() {
  handOver([this](TFrame& frame, FTT* model) { runDeterm(frame, model, doc_->fileName()); });
}

void TVexoTableForm::miToBrouserClick() {
  std::unique_ptr<FTT> model = compile();
  if (!model) return;
  auto* browser = new TFTT_Brouser(model.release());  // the browser owns the model
  // The first letter is a Latin C, as the program always wrote it.
  browser->setWindowTitle(QStringLiteral("Cписок переходов для ") + doc_->fileName());
  if (frame())
    frame()->addChild(browser);
  else
    browser->show();
}

void TVexoTableForm::SkuClick() {
  // The compiler only checks the table here; nothing opens for a table it refused.
  if (!compile()) return;
  if (!frame()) return;
  GridSelectCell(1, 1);
  TEditForm* editor = frame()->newEditor(TEditForm::Sku);
  if (!editor) return;
  QStringList lines;
  runTableToSku(*this, lines);
  editor->setLines(lines);
}

}  // namespace tiravo
