#include "velmora/oa/oacamodelform.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/guard.h"
#include "platform/longlines.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/frameapi/frame.h"
#include "velmora/oa/oawindow.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/documents/tableform.h"
#include "velmora/oa/bussetform.h"
#include "velmora/oa/gridfit.h"
#include "velmora/oa/oablocks.h"
#include "velmora/oa/oastep.h"
#include "platform/quote.h"

namespace velmora {

namespace {

// The register grid as the model sees it: data rows from 1, names in column 0.
class RegGridAdapter : public RegisterGrid {
 public:
  explicit RegGridAdapter(TOACAModelForm* form) : form_(form) {}
  int rowCount() const override { return form_->regRowCount(); }
  QString nameAt(int row) const override { return form_->regCell(0, row); }
  void setValueAt(int row, const QString& text) override { form_->setRegCell(1, row, text); }

 private:
  TOACAModelForm* form_;
};

QString textAt(const QTableWidget* grid, int row, int col) {
  const QTableWidgetItem* it = grid->item(row, col);
  return it ? it->text() : QString();
}

void setTextAt(QTableWidget* grid, int row, int col, const QString& text) {
  if (QTableWidgetItem* it = grid->item(row, col))
    it->setText(text);
  else
    grid->setItem(row, col, new QTableWidgetItem(text));
}

const int kMinWidth = 453, kMinHeight = 125;
const int kStartWidth = 640, kStartHeight = 440;

}  // namespace

TOACAModelForm::TOACAModelForm(QWidget* owner) : TDocChild(owner) {
  setWindowTitle(QStringLiteral("Моделирование УА+ОА"));
  setObjectName(QStringLiteral("fullModel"));
  setMinimumSize(kMinWidth, kMinHeight);
  resize(kStartWidth, kStartHeight);
  buildWindow();
  regAdapter_ = std::make_unique<RegGridAdapter>(this);
  FormResize();
}

TOACAModelForm::~TOACAModelForm() { endWorker(); }

void TOACAModelForm::buildWindow() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* split = new QSplitter(Qt::Vertical, this);
  layout->addWidget(split);

  auto* top = new QSplitter(Qt::Horizontal, split);
  top->setObjectName(QStringLiteral("grids"));
  table_ = new QTableWidget(1, 3, top);
  table_->setObjectName(QStringLiteral("table"));
  table_->setHorizontalHeaderLabels({QStringLiteral("x"), QStringLiteral("s"), QStringLiteral("y")});
  table_->setVerticalHeaderItem(0, new QTableWidgetItem(QString()));
  table_->setFont(QFont(QStringLiteral("Vexo font")));
  table_->verticalHeader()->setDefaultSectionSize(20);
  table_->verticalHeader()->setFixedWidth(50);
  table_->setColumnWidth(0, 70);
  table_->setColumnWidth(1, 90);
  table_->setColumnWidth(2, 110);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  setCell(1, 1, QStringLiteral("s0"));
  for (int c = 0; c < 3; ++c) gridfit::widenFor(table_, c, table_->horizontalHeaderItem(c)->text());
  {
    // Row 1 is the chosen one from the start: the grid taking the focus chooses nothing itself.
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    table_->setCurrentCell(0, 0);
  }
  connect(table_, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
    if (selectGuard_ || row < 0) return;
    guard::run(this, [&] { tableSelectCell(col + 1, row + 1); });
  });

  RegGrid_ = new QTableWidget(1, 2, top);
  RegGrid_->setObjectName(QStringLiteral("RegGrid"));
  RegGrid_->setHorizontalHeaderLabels({QStringLiteral("Регистры/шины"), QStringLiteral("Значение")});
  RegGrid_->verticalHeader()->hide();
  RegGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
  RegGrid_->installEventFilter(this);
  // A name the user typed, or a value the model wrote: the column makes room for it.
  gridfit::keepFitted(RegGrid_);
  connect(RegGrid_, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
    if (selectGuard_ || row < 0) return;
    RegGridSelectCell(col, row + 1);
  });

  pages_ = new QTabWidget(split);
  pages_->setTabPosition(QTabWidget::South);
  status_ = new longlines::TextEdit;
  status_->setObjectName(QStringLiteral("status"));
  status_->setReadOnly(true);
  status_->setToolTip(QStringLiteral("Информационная консоль"));
  status_->setText(QStringLiteral("Консоль, где регистрируются все события"), false);
  pages_->addTab(status_, QStringLiteral("Консоль"));
  auto* resetPage = new QWidget;
  auto* resetLayout = new QHBoxLayout(resetPage);
  resetLayout->addWidget(new QLabel(QStringLiteral("Начальное состояние УА:")));
  state_ = new QLineEdit(QStringLiteral("s0"));
  state_->setObjectName(QStringLiteral("state"));
  resetLayout->addWidget(state_);
  resetLayout->addStretch();
  pages_->addTab(resetPage, QStringLiteral("Сброс"));

  mModel_ = new QMenu(QStringLiteral("&Моделирование"), this);
  auto add = [this](const QString& text, const QString& hint, void (TOACAModelForm::*fn)()) {
    QAction* a = mModel_->addAction(text);
    if (!hint.isEmpty()) {
      a->setStatusTip(hint.section(QLatin1Char('|'), 1));
      a->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
    }
    connect(a, &QAction::triggered, this, [this, fn] { guard::run(this, [&] { (this->*fn)(); }); });
    return a;
  };
  start = add(QStringLiteral("Пуск"), QStringLiteral("Пуск|Пуск автоматического процесса моделирования"),
              &TOACAModelForm::startClick);
  pause = add(QStringLiteral("Пауза"), QString(), &TOACAModelForm::pauseClick);
  step = add(QStringLiteral("Шаг"), QStringLiteral("Шаг|Выполнить один шаг моделирования"),
             &TOACAModelForm::stepClick);
  reset = add(QStringLiteral("Сброс"), QString(), &TOACAModelForm::resetClick);
  modelCountAction = add(QStringLiteral("Предел"), QStringLiteral("Предел|Установть предел моделирования "),
                         &TOACAModelForm::modelCountActionExecute);
  for (QAction* a : {start, pause, step}) a->setEnabled(false);
  for (QAction* a : {start, pause, step, reset})
    connect(a, &QAction::changed, this, [this] { syncRunButtons(); });
}

// ---------------------------------------------------------------- grids

int TOACAModelForm::rowCount() const { return table_->rowCount() + 1; }

QString TOACAModelForm::cell(int col, int row) const {
  if (row < 1 || row >= rowCount() || col < 0 || col > 3) {
    if (row == 0 && col > 0 && col <= 3) return table_->horizontalHeaderItem(col - 1)->text();
    return QString();
  }
  if (col == 0) {
    const QTableWidgetItem* h = table_->verticalHeaderItem(row - 1);
    return h ? h->text() : QString();
  }
  return textAt(table_, row - 1, col - 1);
}

void TOACAModelForm::setCell(int col, int row, const QString& text) {
  if (row < 1 || row >= rowCount()) return;
  if (col == 0)
    table_->setVerticalHeaderItem(row - 1, new QTableWidgetItem(text));
  else
    setTextAt(table_, row - 1, col - 1, text);
}

int TOACAModelForm::currentRow() const { return qMax(table_->currentRow(), 0) + 1; }

int TOACAModelForm::regRowCount() const { return RegGrid_->rowCount() + 1; }

QString TOACAModelForm::regCell(int col, int row) const {
  if (row < 1 || row >= regRowCount()) return QString();
  return textAt(RegGrid_, row - 1, col);
}

void TOACAModelForm::setRegCell(int col, int row, const QString& text) {
  if (row < 1 || row >= regRowCount()) return;
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  setTextAt(RegGrid_, row - 1, col, text);
}

QString TOACAModelForm::consoleText() const { return status_->wholeText(); }

// ---------------------------------------------------------------- hand-over, model, worker

void TOACAModelForm::handOver(TVexoTableForm* tableForm) {
  if (!tableForm) return;
  fileName = tableForm->fileName();
  fsmFile_ = tableForm->compiledFileName();
  OaDescription& d = tableForm->document()->oa();
  ySignals = &d.ySignals;
  blocks = &d.blocks;
  yItems = &d.yItems;
  xSignals = &d.xSignals;
  xValues = &d.xValues;
  gridLock_.acquire(tableForm);
}

void TOACAModelForm::LoadOA() {
  // A run of an earlier command ends before its model goes.
  endWorker();
  dropModel();
  if (!blocks) return;
  busMode = false;
  TVexoTableForm* tableForm = gridLock_.table();
  if (tableForm) gridLock_.acquire(tableForm);
  const bool autoReg = OptionsForm && OptionsForm->autoReg();
  if (autoReg) {
    // The names are filled in anew; a second run does not list them twice.
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    RegGrid_->setRowCount(1);
    setRegCell(0, 1, QString());
    setRegCell(1, 1, QString());
  }
  for (const QString& line : *blocks) {
    const QString name = oa::blockName(line);
    if (autoReg && !oa::isHeading(name)) {
      if (!regCell(0, regRowCount() - 1).isEmpty()) {
        QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
        RegGrid_->setRowCount(RegGrid_->rowCount() + 1);
      }
      setRegCell(0, regRowCount() - 1, name);
    }
    if (TBusSetForm::isBusName(name)) {
      busMode = true;
      if (frame()) frame()->setCommandEnabled(FrameCmd::ModelBus, true);
    }
  }
  try {
    model_ =
        std::make_unique<TModelStep>(regAdapter_.get(), *blocks, *xValues, *xSignals, *yItems, *ySignals);
    model_->Reset(QString(), QString());
    model_->ShowRegisters();
    gridfit::fitAll(RegGrid_);
  } catch (...) {
    // A description the model cannot be built from: the table is editable again.
    model_.reset();
    gridLock_.release();
    throw;
  }
}

void TOACAModelForm::StartModel() {
  endWorker();
  if (!model_) {
    setWindowTitle(QStringLiteral("Модель УА (ОА нет!) - ") + fileName);
    return;
  }
  auto* w = new oacathread_t(this, this, fsmFile_);
  thread = w;
  if (!w->hasSimulator()) {
    thread = nullptr;
    delete w;
    return;
  }
  w->Resume();
  setWindowTitle(QStringLiteral("Модель УА+OA - ") + fileName);
}

void TOACAModelForm::endWorker() {
  if (!thread) return;
  oacathread_t* w = thread;
  thread = nullptr;
  w->Detach();
}

void TOACAModelForm::dropModel() {
  model_.reset();
  reportEditor.clear();
}

void TOACAModelForm::workerEnded(oacathread_t* worker) {
  if (thread == worker) thread = nullptr;
}

// ---------------------------------------------------------------- OacaHost

QString TOACAModelForm::initialState() const { return state_->text(); }

void TOACAModelForm::appendConsole(const QStringList& lines) {
  for (const QString& l : lines) status_->appendLine(l);
}

void TOACAModelForm::clearConsole() { status_->clear(); }

void TOACAModelForm::addStepRow(int number) {
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  table_->setRowCount(table_->rowCount() + 1);
  setCell(0, rowCount() - 1, QString::number(number));
  table_->viewport()->update();
}

void TOACAModelForm::setStepRow(int row, const QString& x, const QString& s, const QString& y) {
  const QString texts[3] = {x, s, y};
  for (int c = 0; c < 3; ++c) {
    setCell(c + 1, row, texts[c]);
    gridfit::widenFor(table_, c, texts[c]);
  }
  // The step just made is the chosen row and the register grid shows it, during a run and
  // where it ends, so the highlight and the registers agree (a reset empties row 1: nothing made).
  const bool made = !(x.isEmpty() && s.isEmpty() && y.isEmpty());
  if (made && row >= 1 && row == rowCount() - 1) {
    {
      QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
      table_->setCurrentCell(row - 1, std::max(0, table_->currentColumn()));
    }
    table_->scrollTo(table_->model()->index(row - 1, 0));
    if (model_) tableSelectCell(1, row);
  }
}

void TOACAModelForm::setStepRowCount(int rows) {
  QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
  table_->setRowCount(qMax(rows, 2) - 1);
}

void TOACAModelForm::setRunMenus(bool startOn, bool pauseOn, bool stepOn) {
  start->setEnabled(startOn);
  pause->setEnabled(pauseOn);
  step->setEnabled(stepOn);
}

// ---------------------------------------------------------------- commands

void TOACAModelForm::startClick() { oacathread_t::PostThreadCommand(thread, SimCmdStart); }
void TOACAModelForm::stepClick() { oacathread_t::PostThreadCommand(thread, SimCmdStep); }
void TOACAModelForm::resetClick() { oacathread_t::PostThreadCommand(thread, SimCmdReset); }
void TOACAModelForm::pauseClick() { oacathread_t::PostThreadCommand(thread, SimCmdPause); }

void TOACAModelForm::modelCountActionExecute() {
  QString text = QString::number(stepLimit_);
  if (!dlg::inputQuery(this, QStringLiteral("Управляющий автомат"),
                       QStringLiteral("Предел автоматического моделирования:"), &text))
    return;
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok) throw EConvertError(QStringLiteral("'%1' не является целым числом").arg(quote::excerpt(text)));
  if (value < 1 || value > 1000)
    throw VexoError(QStringLiteral("Значение должно находится в диапазоне от ") + QString::number(1) +
                    QStringLiteral(" до ") + QString::number(1000));
  stepLimit_ = unsigned(value);
}

void TOACAModelForm::tableSelectCell(int, int row) {
  if (!model_) throw VexoError(QStringLiteral("Нет ОА!"));
  if (model_->RowCount() > 1 && model_->RowCount() > row) model_->GoToStep(row);
}

void TOACAModelForm::RegGridSelectCell(int col, int row) {
  if (col != 0) {
    // Only the names can be chosen (and typed).
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    RegGrid_->setCurrentCell(row - 1, 0);
  }
  for (int r = 1; r < regRowCount(); ++r)
    if (regCell(0, r).isEmpty()) setRegCell(1, r, QString());
  const int last = regRowCount() - 1;
  if (row != last && regCell(0, last).isEmpty()) {
    setRegCell(1, last, QString());
    if (regRowCount() > 2) {
      QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
      RegGrid_->setRowCount(RegGrid_->rowCount() - 1);
    }
  }
}

void TOACAModelForm::RegGridKeyDown(int key) {
  const int last = regRowCount() - 1;
  if (key == Qt::Key_Down && RegGrid_->currentRow() + 1 == last && !regCell(0, last).isEmpty()) {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    RegGrid_->setRowCount(RegGrid_->rowCount() + 1);
  }
}

void TOACAModelForm::setRadix(int radix) {
  if (!model_) return;
  if (frame() && radix < 3) frame()->setCommandChecked(oawin::radixCommand(radix), true);
  model_->Radix = quint8(radix);
  model_->GoToStep(currentRow());
  gridfit::fitAll(RegGrid_);  // every value changed its length
}

void TOACAModelForm::BusSetBtnClick() {
  if (!model_) return;
  auto* dialog = new TBusSetForm(this);
  {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    RegGrid_->setCurrentCell(0, 0);
  }
  model_->GoToStep(0);
  bool found = false;
  for (int r = 1; r < regRowCount(); ++r) {
    const QString name = regCell(0, r);
    if (!TBusSetForm::isBusName(name)) continue;
    found = true;
    dialog->addBus(name, model_->GetRegisterValue(name, 2));
  }
  if (found) dialog->exec();
  const QList<TBusSetForm::Bus> rows = dialog->buses();
  delete dialog;
  TBusSetForm::applyTo(model_.get(), rows);
  {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    RegGrid_->setCurrentCell(RegGrid_->rowCount() - 1, 0);
  }
  if (!cell(0, rowCount() - 1).isEmpty()) model_->GoToStep(rowCount() - 1);
}

FrameHandlers TOACAModelForm::frameHandlers() {
  // The bus command follows the bus mode; the run buttons are the window's Шаг, Пауза, Пуск
  // and Сброс and are switched with them.
  return {{FrameCmd::Report, [this](QObject*) { mReportClick(); }},
          {FrameCmd::ModelBus, [this](QObject*) { BusSetBtnClick(); }, true},
          {FrameCmd::Bin, [this](QObject*) { BinClick(); }},
          {FrameCmd::Hex, [this](QObject*) { HexClick(); }},
          {FrameCmd::Dec, [this](QObject*) { DecClick(); }},
          {FrameCmd::ModelStep, [this](QObject*) { stepClick(); }, true},
          {FrameCmd::ModelPause, [this](QObject*) { pauseClick(); }, true},
          {FrameCmd::ModelPlay, [this](QObject*) { startClick(); }, true},
          {FrameCmd::ModelStop, [this](QObject*) { resetClick(); }, true}};
}

// ---------------------------------------------------------------- window

void TOACAModelForm::FormActivate() {
  ChildKind = ckJointModel;
  TFrame* f = frame();
  if (!f) return;
  f->updateActions();
  f->setCommandEnabled(FrameCmd::ModelBus, busMode);
  if (model_ && model_->Radix < 3) f->setCommandChecked(oawin::radixCommand(model_->Radix), true);
  f->setStatusText(1, QString());
  f->setStatusText(2, QStringLiteral("Шаг №") + QString::number(currentRow()));
  syncRunButtons();
}

void TOACAModelForm::syncRunButtons() {
  TFrame* f = frame();
  if (!f || ChildKind != ckJointModel || f->activeChild() != this) return;
  f->setCommandEnabled(FrameCmd::ModelStep, step->isEnabled());
  f->setCommandEnabled(FrameCmd::ModelPause, pause->isEnabled());
  f->setCommandEnabled(FrameCmd::ModelPlay, start->isEnabled());
  f->setCommandEnabled(FrameCmd::ModelStop, reset->isEnabled());
}

void TOACAModelForm::FormClose() {
  gridLock_.release();
  ChildKind = ckNone;
  if (frame()) frame()->updateActions();
  endWorker();
}

void TOACAModelForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TOACAModelForm::FormResize() {
  gridfit::fitAll(RegGrid_);
  regGridWidth = RegGrid_->viewport()->width();
}

void TOACAModelForm::resizeEvent(QResizeEvent* event) {
  TDocChild::resizeEvent(event);
  FormResize();
}

bool TOACAModelForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == RegGrid_ && event->type() == QEvent::KeyPress)
    RegGridKeyDown(static_cast<QKeyEvent*>(event)->key());
  return TDocChild::eventFilter(watched, event);
}

}  // namespace velmora
