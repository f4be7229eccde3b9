#include "velmora/oa/oamodelform.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/dialogs.h"
#include "platform/guard.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/documents/tableform.h"
#include "velmora/oa/bussetform.h"
#include "velmora/oa/gridfit.h"
#include "velmora/oa/oablocks.h"
#include "velmora/oa/oaerrors.h"
#include "velmora/oa/oastep.h"
#include "velmora/oa/oawindow.h"
#include "velmora/oa/steprows.h"
#include "velmora/oa/yselectform.h"

namespace velmora {

QPointer<TOAModelForm> OAModelForm;

namespace {

const QString kInit = QStringLiteral("инициализация");

void setUpGrid(QTableView* g, const char* name) {
  g->setObjectName(QLatin1String(name));
  g->verticalHeader()->hide();
  g->setSelectionMode(QAbstractItemView::SingleSelection);
  g->setWordWrap(false);
  g->horizontalHeader()->setHighlightSections(false);
  g->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                     QAbstractItemView::SelectedClicked);
}

QTableWidget* makeGrid(QWidget* parent, const char* name, const QString& h0, const QString& h1) {
  auto* g = new QTableWidget(1, 2, parent);
  g->setHorizontalHeaderLabels({h0, h1});
  setUpGrid(g, name);
  return g;
}

QString itemText(const QTableWidget* g, int row, int col) {
  const QTableWidgetItem* it = g->item(row, col);
  return it ? it->text() : QString();
}

}  // namespace

// The input cell's editor: every change is a step at once.
class StepGridDelegate : public QStyledItemDelegate {
 public:
  explicit StepGridDelegate(TOAModelForm* form) : QStyledItemDelegate(form), form_(form) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    auto* e = new QLineEdit(parent);
    e->setFrame(false);
    const int row = index.row() + 1;
    QObject::connect(e, &QLineEdit::textEdited, form_, [this, row](const QString& text) {
      guard::run(form_, [&] { form_->yxGridSetEditText(row, text); });
    });
    return e;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* e = static_cast<QLineEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (e->text() != text) e->setText(text);  // the caret stays where the user types
  }
  void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

 private:
  TOAModelForm* form_;
};

// The value columns belong to the model.
class NoEditDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override {
    return nullptr;
  }
};

TOAModelForm::TOAModelForm(QWidget* owner) : TDocChild(owner) {
  OAModelForm = this;
  buildControls();
  buildMenus();
  resize(520, 360);
  updateCaption();
  fitColumns();
}

TOAModelForm::~TOAModelForm() { FormClose(); }

void TOAModelForm::buildControls() {
  // The steps of a long input file are many: their grid is a view of compact rows.
  steps_ = new StepRows(QStringLiteral("вход (y)"), QStringLiteral("выход (x)"), this);
  steps_->setRows(1);
  yxGrid = new QTableView(this);
  yxGrid->setModel(steps_);
  setUpGrid(yxGrid, "yxGrid");
  yxGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  yxGrid->setItemDelegateForColumn(0, new StepGridDelegate(this));
  yxGrid->setItemDelegateForColumn(1, new NoEditDelegate(this));
  RegGrid = makeGrid(this, "RegGrid", QStringLiteral("Регистр/шина"), QStringLiteral("Значение"));
  RegGrid->setItemDelegateForColumn(1, new NoEditDelegate(this));
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->setObjectName(QStringLiteral("Splitter1"));
  split->addWidget(yxGrid);
  split->addWidget(RegGrid);
  // A text written into a cell, by the model or the user, or a step loaded: its column makes
  // room for it.
  gridfit::keepFitted(yxGrid);
  gridfit::keepFitted(RegGrid);
  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(0, 0, 0, 0);
  lay->addWidget(split);

  setStepCell(0, 1, kInit);
  yxGrid->installEventFilter(this);
  RegGrid->installEventFilter(this);
  connect(yxGrid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& i) {
    if (selectGuard_ || !i.isValid()) return;
    guard::run(this, [&] { yxGridSelectCell(i.column(), i.row() + 1); });
  });
  connect(yxGrid, &QTableView::doubleClicked, this,
          [this] { guard::run(this, [this] { yxGridDblClick(); }); });
  connect(RegGrid, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
    if (selectGuard_ || row < 0) return;
    guard::run(this, [&] { RegGridSelectCell(col, row + 1); });
  });
  connect(RegGrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* it) {
    if (selectGuard_ || it->column() != 0) return;
    guard::run(this, [this] { goToSelected(); });  // a name typed shows its value
  });
}

void TOAModelForm::buildMenus() {
  using docwin::addItem;
  mFile_ = oawin::fileMenu(this, [this] { mReportClick(); });
  mActions_ = new QMenu(QStringLiteral("&Воздействия"), this);
  addItem(this, mActions_, QStringLiteral("&Открыть"), {}, [this] { mOpenFileClick(); });
  addItem(this, mActions_, QStringLiteral("&Сохранить"), {}, [this] { mSaveFileClick(); });
  addItem(this, mActions_, QStringLiteral("Сохранить &как..."), {}, [this] { mSaveFileAsClick(); });
  mModel_ = new QMenu(QStringLiteral("&Моделирование"), this);
  addItem(this, mModel_, QStringLiteral("&Добавить строку"), {}, [this] { yAddClick(); });
  addItem(this, mModel_, QStringLiteral("&Вставить строку"), {}, [this] { yInsClick(); });
  addItem(this, mModel_, QStringLiteral("&Удалить строку"), {}, [this] { yDelClick(); });
  mBusSet = addItem(this, mModel_, QStringLiteral("Установить &шины"), {}, [this] { BusSetBtnClick(); });
  mOACall = addItem(this, mModel_, QStringLiteral("&Вызов ОА"), {}, [this] { OACallBtnClick(); });
}

FrameHandlers TOAModelForm::frameHandlers() {
  auto on = [this](void (TOAModelForm::*handler)()) {
    return [this, handler](QObject*) { guard::run(this, [&] { (this->*handler)(); }); };
  };
  // The bus command follows the bus mode, the designer's call whether the designer is open.
  return {{FrameCmd::Bin, on(&TOAModelForm::BinClick)},
          {FrameCmd::Hex, on(&TOAModelForm::HexClick)},
          {FrameCmd::Dec, on(&TOAModelForm::DecClick)},
          {FrameCmd::AddStr, on(&TOAModelForm::yAddClick)},
          {FrameCmd::InsStr, on(&TOAModelForm::yInsClick)},
          {FrameCmd::DelStr, on(&TOAModelForm::yDelClick)},
          {FrameCmd::OaCall, on(&TOAModelForm::OACallBtnClick), true},
          {FrameCmd::ModelBus, on(&TOAModelForm::BusSetBtnClick), true},
          {FrameCmd::Report, on(&TOAModelForm::mReportClick)},
          {FrameCmd::ModelSave, [this](QObject*) { guard::run(this, [&] { mSaveFileClick(); }); }},
          {FrameCmd::ModelOpen, on(&TOAModelForm::mOpenFileClick)}};
}

// ---------------------------------------------------------------------------------------
// Opening and building

TOAModelForm* TOAModelForm::open(TVexoTableForm* table, QObject* owner, const QString& oaName) {
  if (!table) return nullptr;
  auto* w = new TOAModelForm();
  w->setTable(table, oaName);
  if (!w->BuildModel()) {
    delete w;  // lets the table go
    return nullptr;
  }
  if (TFrame* f = docwin::frameOf(table)) f->addChild(w, owner);
  oawin::openWideEnough(w, w->findChild<QSplitter*>(QStringLiteral("Splitter1")));
  w->FormActivate();
  return w;
}

void TOAModelForm::setTable(TVexoTableForm* table, const QString& name) {
  table_ = table;
  oaName = name;
  updateCaption();
  // "&Вызов ОА" is there exactly while no designer is open on the description.
  if (table)
    connect(table->document(), &TTableDocument::lockChanged, this, [this] {
      if (!closed_ && table_) mOACall->setEnabled(!table_->document()->designerOpen());
    });
}

bool TOAModelForm::BuildModel() {
  if (!table_) return false;
  lock_.acquire(table_);
  const OaDescription& d = table_->document()->oa();
  const bool autoReg = OptionsForm && OptionsForm->autoReg();
  QStringList names;
  for (const QString& line : d.blocks) {
    const QString name = oa::blockName(line);
    if (autoReg && !name.isEmpty() && !oa::isHeading(name)) names << name;
    if (TBusSetForm::isBusName(name)) busMode = true;
  }
  if (!names.isEmpty()) {
    // Each name goes into the last row, a new one when the last has a name; the rows are made
    // at once, as a description may have a great many registers.
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    const int first = nameAt(rowCount() - 1).isEmpty() ? rowCount() - 1 : rowCount();
    RegGrid->setRowCount(first - 1 + int(names.size()));
    for (int k = 0; k < names.size(); ++k) RegGrid->setItem(first - 1 + k, 0, new QTableWidgetItem(names[k]));
  }
  try {
    model_ = std::make_unique<TModelStep>(this, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
    setStepCell(1, 1, model_->Reset(QString(), QString()));
  } catch (const VexoError& e) {
    dlg::message(this, QStringLiteral("Модель операционного автомата не построена: ") + e.message(),
                 QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
    model_.reset();
    return false;
  }
  if (busMode && frame()) frame()->setCommandEnabled(FrameCmd::ModelBus, true);
  {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    yxGrid->setCurrentIndex(steps_->index(0, 0));
  }
  fitColumns();
  return true;
}

void TOAModelForm::updateCaption() {
  if (inputsFileName == untitled())
    setWindowTitle(oaName + QStringLiteral(" - моделирование ОА"));
  else
    setWindowTitle(oaName + QStringLiteral(" - ") + QFileInfo(inputsFileName).fileName());
}

void TOAModelForm::FormActivate() {
  ChildKind = ckOaModel;
  const bool designerOpen = table_ && table_->document()->designerOpen();
  if (TFrame* f = frame()) {
    f->updateActions();
    if (model_ && model_->Radix < 3) f->setCommandChecked(oawin::radixCommand(model_->Radix), true);
    f->setCommandEnabled(FrameCmd::ModelBus, busMode);
    f->setCommandEnabled(FrameCmd::OaCall, !designerOpen);
    f->setStatusText(1, QString());
  }
  mOACall->setEnabled(!designerOpen);
  showStepNumber();
}

void TOAModelForm::showStepNumber() {
  if (TFrame* f = docwin::activeFrame(this))
    f->setStatusText(2, QStringLiteral("Шаг №") + QString::number(selectedStep()));
}

void TOAModelForm::setRadix(int radix) {
  if (!model_) return;
  model_->Radix = static_cast<quint8>(radix);
  if (frame() && radix < 3) frame()->setCommandChecked(oawin::radixCommand(radix), true);
  goToSelected();
  gridfit::fitAll(RegGrid);  // every value changed its length
}

// ---------------------------------------------------------------------------------------
// Grids

int TOAModelForm::rowCount() const { return RegGrid->rowCount() + 1; }
QString TOAModelForm::nameAt(int row) const { return itemText(RegGrid, row - 1, 0); }

void TOAModelForm::setValueAt(int row, const QString& text) {
  if (row < 1 || row >= rowCount()) return;
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  if (QTableWidgetItem* it = RegGrid->item(row - 1, 1)) {
    if (it->text() != text) it->setText(text);
    return;
  }
  auto* it = new QTableWidgetItem(text);
  it->setFlags(it->flags() & ~Qt::ItemIsEditable);
  RegGrid->setItem(row - 1, 1, it);
}

QString TOAModelForm::regCell(int col, int row) const { return itemText(RegGrid, row - 1, col); }

void TOAModelForm::setRegName(int row, const QString& name) {
  if (row < 1) return;
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  if (row >= rowCount()) RegGrid->setRowCount(row);
  RegGrid->setItem(row - 1, 0, new QTableWidgetItem(name));
}

int TOAModelForm::stepRowCount() const { return steps_->rowCount() + 1; }
QString TOAModelForm::stepCell(int col, int row) const { return steps_->cell(col, row - 1); }
int TOAModelForm::selectedStep() const {
  const int r = yxGrid->currentIndex().row();
  return r < 0 ? 1 : r + 1;
}

void TOAModelForm::selectStep(int row) {
  if (row < 1 || row >= stepRowCount()) return;
  yxGrid->setCurrentIndex(steps_->index(row - 1, 0));
}

QStringList TOAModelForm::stepInputs() const {
  QStringList out;
  for (int r = 2; r < stepRowCount(); ++r) out << stepCell(0, r);
  return out;
}

void TOAModelForm::setStepCell(int col, int row, const QString& text) {
  if (row < 1 || row >= stepRowCount()) return;
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  steps_->setCell(col, row - 1, text);
}

void TOAModelForm::setStepRowCount(int rows) {
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  steps_->setRows(qMax(rows, 2) - 1);
}

void TOAModelForm::refreshAnswers(int fromRow) {
  for (int r = qMax(fromRow, 1); r < stepRowCount(); ++r)
    if (r - 1 < model_->RowCount()) setStepCell(1, r, model_->GetStepSignals(r - 1));
}

void TOAModelForm::goToSelected() {
  if (!model_) return;
  const int s = selectedStep();
  if (s - 1 < model_->RowCount()) model_->GoToStep(s - 1);
}

bool TOAModelForm::trailingHasHistory() const {
  const int last = stepRowCount() - 1;
  return model_ && last - 1 < model_->RowCount();
}

void TOAModelForm::dropTrailingEmpty() {
  const int last = stepRowCount() - 1;
  if (last < 2 || !stepCell(0, last).isEmpty()) return;
  setStepCell(1, last, QString());
  if (trailingHasHistory() && last == model_->RowCount()) {
    model_->GoToStep(last - 1);
    model_->ApplySignals(QString(), 'd');
  }
  setStepRowCount(stepRowCount() - 1);
}

void TOAModelForm::fitColumns() {
  gridfit::fitAll(RegGrid);
  gridfit::fitAll(yxGrid);
}

void TOAModelForm::resizeEvent(QResizeEvent* event) {
  TDocChild::resizeEvent(event);
  fitColumns();
}

// ---------------------------------------------------------------------------------------
// Steps

bool TOAModelForm::chooseSignals(const QStringList& active, QString* text) {
  if (!YSelectForm) YSelectForm = new TYSelectForm(window());
  QStringList passive;
  for (const QString& y : table_->document()->oa().ySignals)
    if (!active.contains(y)) passive << y;
  YSelectForm->setSignals(passive, active);
  if (YSelectForm->exec() != QDialog::Accepted) return false;
  *text = YSelectForm->activeText();
  return !text->isEmpty();
}

void TOAModelForm::appendStep(const QString& text) {
  int last = stepRowCount() - 1;
  if (last >= 2 && stepCell(0, last).isEmpty() && trailingHasHistory()) {
    // A row the down arrow added already has its step: it takes the input.
    model_->GoToStep(last - 1);
    const QString answer = model_->ApplySignals(text, 'c');
    setStepCell(0, last, text);
    setStepCell(1, last, answer);
  } else {
    const QString answer = model_->ApplySignals(text, 'a');  // a failed step adds no row
    if (!stepCell(0, last).isEmpty()) setStepRowCount(stepRowCount() + 1);
    last = stepRowCount() - 1;
    setStepCell(0, last, text);
    setStepCell(1, last, answer);
  }
  {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    selectStep(last);
  }
  modified = true;
  goToSelected();
  showStepNumber();
}

void TOAModelForm::yAddClick() {
  if (!model_) return;
  QString text;
  if (chooseSignals({}, &text)) appendStep(text);
}

void TOAModelForm::insertStep(int s, const QString& text) {
  int last = stepRowCount() - 1;
  if (s == last && stepCell(0, last).isEmpty()) {
    appendStep(text);  // the empty last row: nothing to push down
    return;
  }
  dropTrailingEmpty();
  last = stepRowCount() - 1;
  model_->GoToStep(s - 1);
  const QString answer = model_->ApplySignals(text, 'i');
  setStepRowCount(stepRowCount() + 1);
  for (int r = last; r >= s; --r) {
    setStepCell(0, r + 1, stepCell(0, r));
    setStepCell(1, r + 1, QString());
  }
  setStepCell(0, s, text);
  setStepCell(1, s, answer);
  refreshAnswers(s + 1);
  modified = true;
  goToSelected();
}

void TOAModelForm::yInsClick() {
  if (!model_) return;
  const int s = selectedStep();
  if (s < 2) return;  // nothing goes before the initial state
  QString text;
  if (chooseSignals({}, &text)) insertStep(s, text);
}

void TOAModelForm::deleteStep(int s) {
  if (s - 1 < model_->RowCount()) {
    model_->GoToStep(s - 1);
    model_->ApplySignals(QString(), 'd');
  }
  const int last = stepRowCount() - 1;
  for (int r = s; r < last; ++r) setStepCell(0, r, stepCell(0, r + 1));
  setStepCell(0, last, QString());
  setStepCell(1, last, QString());
  if (stepRowCount() > 2) setStepRowCount(stepRowCount() - 1);
  refreshAnswers(s);
  modified = true;
}

void TOAModelForm::yDelClick() {
  if (!model_) return;
  const int s = selectedStep();
  if (s < 2 || stepCell(1, s).isEmpty()) return;  // the initial state stays
  deleteStep(s);
  goToSelected();
  showStepNumber();
}

void TOAModelForm::yxGridDblClick() {
  if (!model_) return;
  const int s = selectedStep();
  if (s < 2) return;
  if (stepCell(0, s).isEmpty()) {
    yInsClick();
    return;
  }
  QString text;
  if (!chooseSignals(stepCell(0, s).split(QLatin1Char('&')), &text)) return;
  model_->GoToStep(s - 1);
  const QString answer = model_->ApplySignals(text, 'c');
  modified = true;
  setStepCell(0, s, text);
  setStepCell(1, s, answer);
  refreshAnswers(s + 1);
  goToSelected();
}

void TOAModelForm::yxGridSetEditText(int r, const QString& text) {
  if (!model_ || r < 2 || r >= stepRowCount()) return;
  setStepCell(0, r, text);
  const int last = stepRowCount() - 1;
  QString answer;
  if (model_->RowCount() < stepRowCount() - 1 && r == last) {
    model_->GoToStep(r - 2);
    answer = model_->ApplySignals(text, 'a');
  } else if (r - 1 < model_->RowCount()) {
    model_->GoToStep(r - 1);
    answer = model_->ApplySignals(text, 'c');
  } else {
    return;
  }
  modified = true;
  setStepCell(1, r, answer);
  refreshAnswers(r + 1);
  goToSelected();
}

bool TOAModelForm::yxGridKeyDown(int key) {
  if (!model_ || key != Qt::Key_Down) return false;
  const int last = stepRowCount() - 1;
  if (selectedStep() != last || stepCell(0, last).isEmpty()) return false;
  const QString answer = model_->ApplySignals(QString(), 'a');
  setStepRowCount(stepRowCount() + 1);
  setStepCell(0, last + 1, QString());
  setStepCell(1, last + 1, answer);
  return true;
}

void TOAModelForm::yxGridSelectCell(int col, int row) {
  if (col != 0) {  // only the inputs can be chosen
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    selectStep(row);
  }
  const int last = stepRowCount() - 1;
  if (row != last && stepCell(0, last).isEmpty()) dropTrailingEmpty();
  if (model_ && row - 1 < model_->RowCount()) model_->GoToStep(row - 1);
  for (int r = 1; r < stepRowCount(); ++r)
    if (stepCell(0, r).isEmpty()) setStepCell(1, r, TModelOA::undefinedSignal());
  showStepNumber();
}

void TOAModelForm::RegGridSelectCell(int col, int row) {
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  if (col != 0) RegGrid->setCurrentCell(row - 1, 0);
  for (int r = 1; r < rowCount(); ++r)
    if (nameAt(r).isEmpty() && RegGrid->item(r - 1, 1)) RegGrid->item(r - 1, 1)->setText(QString());
  const int last = rowCount() - 1;
  if (row != last && rowCount() > 2 && nameAt(last).isEmpty()) RegGrid->setRowCount(RegGrid->rowCount() - 1);
}

bool TOAModelForm::RegGridKeyDown(int key) {
  if (key != Qt::Key_Down) return false;
  const int last = rowCount() - 1;
  if (RegGrid->currentRow() + 1 != last || nameAt(last).isEmpty()) return false;
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  RegGrid->setRowCount(RegGrid->rowCount() + 1);
  return true;
}

bool TOAModelForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down &&
      static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
    if (watched == yxGrid) guard::run(this, [this] { yxGridKeyDown(Qt::Key_Down); });
    if (watched == RegGrid) guard::run(this, [this] { RegGridKeyDown(Qt::Key_Down); });
  }
  return TDocChild::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------
// Closing

bool TOAModelForm::askSaveSteps() {
  if (!modified) return true;
  const int a = dlg::message(this, QStringLiteral("Сохранить входные воздействия в '") + oaName,
                             QStringLiteral("Сохранение"), dlg::Yes | dlg::No | dlg::Cancel, dlg::Question);
  if (a == dlg::Cancel) return false;
  if (a == dlg::Yes) return mSaveFileClick();  // a cancelled or failed save keeps the steps
  return true;
}

bool TOAModelForm::FormCloseQuery() { return askSaveSteps(); }

void TOAModelForm::closeEvent(QCloseEvent* event) {
  docwin::handleClose(
      this, event, [this] { return docwin::askOwned(designer) && FormCloseQuery(); },
      [this] { FormClose(); });
}

void TOAModelForm::FormClose() {
  if (closed_) return;
  closed_ = true;
  docwin::closeOwned(designer);
  lock_.release();
  if (busMode && frame()) frame()->setCommandEnabled(FrameCmd::ModelBus, false);
}

}  // namespace velmora
