#include "tiravo/forms/autosim.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/docwindow.h"
#include "platform/errors.h"
#include "platform/help.h"
#include "tiravo/forms/bitmaps.h"
#include "tiravo/forms/framemenus.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/frame.h"

namespace tiravo {

namespace {

QLabel* Value(QGridLayout* grid, int row, const QString& caption, QWidget* parent) {
  grid->addWidget(new QLabel(caption, parent), row, 0);
  auto* value = new QLabel(parent);
  grid->addWidget(value, row, 1);
  return value;
}

QListWidget* SortedList(QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setSortingEnabled(true);
  return list;
}

// The grid's heads are shaded like fixed cells.
class ShadedGrid final : public AutoSimGrid {
 public:
  using AutoSimGrid::AutoSimGrid;
  QVariant data(const QModelIndex& index, int role) const override {
    if (role == Qt::BackgroundRole && index.isValid() && IsHead(index)) return QColor(0xE0, 0xE0, 0xE0);
    return AutoSimGrid::data(index, role);
  }
};

}  // namespace

TAutoSim::TAutoSim(QWidget* parent) : TChildForm(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Автоматическое моделирование"));
  resize(449, 347);
  BuildPages();
  BuildMenus();
  SetStepCommandsEnabled();
  Redraw();
}

TAutoSim::~TAutoSim() = default;

void TAutoSim::BuildPages() {
  PCArea = new QTabWidget(this);
  PCArea->setObjectName(QStringLiteral("PCArea"));
  (new QVBoxLayout(this))->addWidget(PCArea);

  auto* general = new QWidget(PCArea);
  auto* facts = new QGridLayout(general);
  lName = Value(facts, 0, QStringLiteral(" &Имя таблицы: "), general);
  lEvents = Value(facts, 1, QStringLiteral(" Событий: "), general);
  lX = Value(facts, 2, QStringLiteral(" Вх&одных сигналов: "), general);
  lAbstract = Value(facts, 3, QStringLiteral(" Ти&п входных сигналов: "), general);
  lY = Value(facts, 4, QStringLiteral(" В&ыходных сигналов:"), general);
  facts->setRowStretch(5, 1);
  PCArea->addTab(general, QStringLiteral("Общее"));

  auto* alphabet = new QWidget(PCArea);
  auto* columns = new QHBoxLayout(alphabet);
  auto* sBox = new QVBoxLayout;
  sBox->addWidget(new QLabel(QStringLiteral("Состояний:"), alphabet));
  lbS = SortedList(alphabet);
  lbS->setObjectName(QStringLiteral("lbS"));
  sBox->addWidget(lbS);
  columns->addLayout(sBox);
  PanelX = new QGroupBox(QStringLiteral("Входных сигналов:"), alphabet);
  auto* xBox = new QVBoxLayout(PanelX);
  ChanZ = new QPushButton(QStringLiteral("Изменить"), PanelX);
  AppZ = new QPushButton(QStringLiteral("Добавить"), PanelX);
  DelZ = new QPushButton(QStringLiteral("Удалть"), PanelX);
  Bug = new QPushButton(QStringLiteral("Тупиковый сигнал"), PanelX);
  Etalon = new QPushButton(QStringLiteral("Эталон"), PanelX);
  const std::pair<QPushButton*, const char*> named[] = {
      {ChanZ, "ChanZ"}, {AppZ, "AppZ"}, {DelZ, "DelZ"}, {Bug, "Bug"}, {Etalon, "Etalon"}};
  for (const auto& [b, name] : named) {
    b->setObjectName(QString::fromLatin1(name));
    b->setEnabled(false);
    xBox->addWidget(b);
  }
  lbX = new QListWidget(PanelX);
  lbX->setObjectName(QStringLiteral("lbX"));
  xBox->addWidget(lbX);
  columns->addWidget(PanelX);
  auto* yBox = new QVBoxLayout;
  yBox->addWidget(new QLabel(QStringLiteral("Выходных сигналов:"), alphabet));
  lbY = SortedList(alphabet);
  lbY->setObjectName(QStringLiteral("lbY"));
  yBox->addWidget(lbY);
  columns->addLayout(yBox);
  connect(ChanZ, &QPushButton::clicked, this, &TAutoSim::ChanZClick);
  connect(AppZ, &QPushButton::clicked, this, &TAutoSim::AppZClick);
  connect(DelZ, &QPushButton::clicked, this, &TAutoSim::DelZClick);
  connect(Bug, &QPushButton::clicked, this, &TAutoSim::BugClick);
  connect(Etalon, &QPushButton::clicked, this, &TAutoSim::EtalonClick);
  connect(lbX, &QListWidget::itemClicked, this, &TAutoSim::lbXClick);
  PCArea->addTab(alphabet, QStringLiteral("Алфавит"));

  auto* transitions = new QWidget(PCArea);
  auto* tBox = new QVBoxLayout(transitions);
  auto* event = new QHBoxLayout;
  event->addWidget(new QLabel(QStringLiteral(" Событие: "), transitions));
  lbTrans = new QComboBox(transitions);
  lbTrans->setObjectName(QStringLiteral("lbTrans"));
  lbTrans->setFont(QFont(QStringLiteral("Vexo font")));
  event->addWidget(lbTrans, 1);
  tBox->addLayout(event);
  tBox->addWidget(new QLabel(QStringLiteral(" Переходы: "), transitions));
  sgTrans = new QTableWidget(0, 2, transitions);
  sgTrans->setObjectName(QStringLiteral("sgTrans"));
  sgTrans->horizontalHeader()->hide();
  sgTrans->verticalHeader()->hide();
  sgTrans->horizontalHeader()->setDefaultSectionSize(200);
  sgTrans->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tBox->addWidget(sgTrans);
  sgTrans->installEventFilter(this);
  connect(lbTrans, &QComboBox::activated, this, &TAutoSim::lbTransClick);
  PCArea->addTab(transitions, QStringLiteral("Переходы"));

  auto* simulation = new QWidget(PCArea);
  auto* simBox = new QVBoxLayout(simulation);
  BuildToolBar(simulation);
  simBox->addWidget(PanelTransfer);
  auto* s0 = new QHBoxLayout;
  auto* s0Label = new QLabel(QStringLiteral("Исходное событие:"), simulation);
  s0Label->installEventFilter(this);
  s0->addWidget(s0Label);
  eS0 = new QLineEdit(QStringLiteral("не задано"), simulation);
  eS0->setObjectName(QStringLiteral("eS0"));
  eS0->setReadOnly(true);
  eS0->installEventFilter(this);
  s0->addWidget(eS0);
  simBox->addLayout(s0);
  sgSim = new QTableView(simulation);
  grid_ = new ShadedGrid(sgSim);
  sgSim->setModel(grid_);
  sgSim->setObjectName(QStringLiteral("sgSim"));
  QFont gridFont(QStringLiteral("Vexo font"));
  gridFont.setPixelSize(12);
  sgSim->setFont(gridFont);
  sgSim->horizontalHeader()->hide();
  sgSim->verticalHeader()->hide();
  sgSim->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgSim->setContextMenuPolicy(Qt::CustomContextMenu);
  simBox->addWidget(sgSim, 1);
  connect(sgSim, &QTableView::doubleClicked, this, [this] { sbEditClick(); });
  // A command announces only the rows it touched; the widths follow what they now hold.
  fitTimer_.setSingleShot(true);
  fitTimer_.setInterval(0);
  connect(&fitTimer_, &QTimer::timeout, this, &TAutoSim::FitColumns);
  const auto askFit = [this] { fitTimer_.start(); };
  connect(grid_, &QAbstractItemModel::modelReset, this, askFit);
  connect(grid_, &QAbstractItemModel::rowsInserted, this, askFit);
  connect(grid_, &QAbstractItemModel::rowsRemoved, this, askFit);
  connect(grid_, &QAbstractItemModel::dataChanged, this, askFit);
  PCArea->addTab(simulation, QStringLiteral("Моделирование"));
  PCArea->setCurrentWidget(simulation);
}

void TAutoSim::BuildToolBar(QWidget* page) {
  PanelTransfer = new QWidget(page);
  auto* row = new QHBoxLayout(PanelTransfer);
  row->setContentsMargins(0, 0, 0, 0);
  struct B {
    QToolButton** button;
    const char* glyph;
    const char* hint;
    int tag;
    void (TAutoSim::*handler)();
  };
  const B buttons[] = {
      {&sbSerS0, "s0", "Установить исходное событие", 500, &TAutoSim::bbSetS0Click},
      {&sbEdit, "edit", "Изменить|Изменить текущий сигнал во входной последовательности", 501,
       &TAutoSim::sbEditClick},
      {&sbInsert, "insert",
       "Вставить сигнал|Вставить во входную последовательность новый сигнал перед текущим", 0,
       &TAutoSim::sbInsertClick},
      {&sbDelete, "delete", "Удалить|Удалить текущий сигнал из входной последовательности", 502,
       &TAutoSim::sbDeleteClick},
      {&sbAdd, "add", "Добавить сигнал|Добавить в конец входной последовательности новый сигнал", 0,
       &TAutoSim::sbAddClick},
      {&sbMinus, "minus", "Удалить последний|Удалить последний сигнал из входной последовательности", 503,
       &TAutoSim::sbMinusClick},
      {&sbSave, "save", "Сохранить сигналы|Сохранить сигналы входной последовательности на диск", 0, nullptr},
      {&sbLoad, "load", "Загрузить сигналы|Загрузить сигналы с диска во входную последовательност", 0,
       &TAutoSim::sbLoadClick},
      {&sbReport, "report", "Отчёт|Сформировать отчёт о моделировании", 0, nullptr},
      {&Bugs, "bugs", "Тупиковый сигнал", 0, &TAutoSim::BugsClick},
      {&TableType, "BITMAP_TBL_V", "Горизонтальная таблица", 0, &TAutoSim::TableTypeClick},
      {&bbExit, "exit", "Закрыть|Закрыть панель моделирования", 0, nullptr},
  };
  for (const B& b : buttons) {
    auto* button = new QToolButton(PanelTransfer);
    const QString hint = QString::fromUtf8(b.hint);
    button->setIcon(Glyph(QString::fromUtf8(b.glyph)));
    button->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
    button->setStatusTip(hint.section(QLatin1Char('|'), -1));
    button->setAutoRaise(true);
    button->setProperty("tag", b.tag);
    button->installEventFilter(this);
    if (b.handler) connect(button, &QToolButton::clicked, this, b.handler);
    row->addWidget(button);
    *b.button = button;
  }
  row->addStretch();
  connect(sbSave, &QToolButton::clicked, this, [this] { sbSaveClick(); });
  connect(sbReport, &QToolButton::clicked, this, [this] { sbReportClick(); });
  connect(bbExit, &QToolButton::clicked, this, [this] { docwin::closeWindow(this); });
  Bugs->setCheckable(true);
  Bugs->setEnabled(false);
  sbReport->setEnabled(false);
}

void TAutoSim::BuildMenus() {
  auto close = [this] { docwin::closeWindow(this); };
  QMenu* file = new QMenu(QStringLiteral("&Файл"), this);
  AddFrameCreateItems(this, file, false);
  file->addSeparator();
  AddItem(this, file, QStringLiteral("Загрузить входные сигналы..."), QKeySequence(QStringLiteral("Ctrl+L")),
          [this] { sbLoadClick(); });
  stepItems << AddItem(this, file, QStringLiteral("Сохранить входные сигналы..."),
                       QKeySequence(QStringLiteral("Ctrl+S")), [this] { sbSaveClick(); });
  AddItem(this, file, QStringLiteral("Закрыть панель"), QKeySequence(QStringLiteral("Ctrl+X")), close);
  file->addSeparator();
  AddFrameExitItem(this, file);

  QMenu* sim = new QMenu(QStringLiteral("Моделирование"), this);
  AddItem(this, sim, QStringLiteral("Исходное событие..."), QKeySequence(QStringLiteral("Ctrl+B")),
          [this] { bbSetS0Click(); });
  addItems << AddItem(this, sim, QStringLiteral("Добавить сигнал..."),
                      QKeySequence(QStringLiteral("Ctrl+Ins")), [this] { sbAddClick(); });
  addItems << AddItem(this, sim, QStringLiteral("Вставить сигнал..."), QKeySequence(Qt::Key_Insert),
                      [this] { sbInsertClick(); });
  stepItems << AddItem(this, sim, QStringLiteral("Изменить..."), QKeySequence(QStringLiteral("Ctrl+E")),
                       [this] { sbEditClick(); });
  stepItems << AddItem(this, sim, QStringLiteral("Удалить текущий"), QKeySequence(Qt::Key_Delete),
                       [this] { sbDeleteClick(); });
  stepItems << AddItem(this, sim, QStringLiteral("Удалить последний"),
                       QKeySequence(QStringLiteral("Ctrl+Del")), [this] { sbMinusClick(); });
  menus_ = {file, sim};

  // The pop-up repeats the commands; its items show the keys the menu items answer.
  popup_ = new QMenu(this);
  struct P {
    const char* text;
    const char* key;
    std::function<void()> command;
    QList<QAction*>* group;
  };
  const P items[] = {
      {"Изменить...", "Ctrl+E", [this] { sbEditClick(); }, &stepItems},
      {"Исходное событие...", "Ctrl+B", [this] { bbSetS0Click(); }, nullptr},
      {"Вставить сигнал...", "Ins", [this] { sbInsertClick(); }, &addItems},
      {"Удалить текущий", "Del", [this] { sbDeleteClick(); }, &stepItems},
      {"Добавить сигнал...", "Ctrl+Ins", [this] { sbAddClick(); }, &addItems},
      {"Удалить последний", "Ctrl+Del", [this] { sbMinusClick(); }, &stepItems},
      {"Сохранить входные сигналы...", "Ctrl+S", [this] { sbSaveClick(); }, &stepItems},
      {"Загрузить входные сигналы...", "Ctrl+L", [this] { sbLoadClick(); }, nullptr},
      {"Закрыть панель", "Ctrl+X", close, nullptr},
  };
  for (const P& p : items) {
    QAction* a = AddItem(this, popup_, docwin::withKeyText(QString::fromUtf8(p.text), p.key), {}, p.command);
    if (p.group) *p.group << a;
  }
  connect(sgSim, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popup_->popup(sgSim->viewport()->mapToGlobal(at)); });
  eS0->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(eS0, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popup_->popup(eS0->mapToGlobal(at)); });
}

void TAutoSim::SetTable(std::unique_ptr<FTT> model, const QString& name) {
  if (!model) throw VexoError(QStringLiteral("ошибка передачи данных в модуль TAutoSim!"));
  sim_ = std::make_unique<AutoSimulation>(std::move(model));
  grid_->SetSimulation(sim_.get());
  const FTT& m = sim_->Model();
  lName->setText(name);
  lX->setText(QString::number(m.XNames.size()));
  lY->setText(QString::number(m.YNames.size()));
  lEvents->setText(QString::number(m.SNames.size()));
  const bool abstract = sim_->IsAbstract();
  lAbstract->setText(abstract ? QStringLiteral("абстрактные") : QStringLiteral("двоичные"));
  for (QWidget* w : {static_cast<QWidget*>(AppZ), static_cast<QWidget*>(Bug), static_cast<QWidget*>(Bugs),
                     static_cast<QWidget*>(Etalon)})
    w->setEnabled(abstract);
  lbS->clear();
  lbS->addItems(m.SNames.All());
  lbY->clear();
  lbY->addItems(m.YNames);
  FillAlphabet();
  QStringList lines;
  m.ListLines(lines);
  lbTrans->clear();
  lbTrans->addItems(lines);
  lbTrans->setCurrentIndex(lines.isEmpty() ? -1 : 0);
  lbTransClick();
  SetStepCommandsEnabled();
  Redraw();
}

void TAutoSim::FillAlphabet() {
  lbX->clear();
  lbX->addItems(sim_->Alphabet());
}

void TAutoSim::lbTransClick() {
  sgTrans->setRowCount(0);
  const int line = lbTrans->currentIndex();
  if (!sim_ || line < 0) return;
  QStringList conditions, targets;
  sim_->Model().ListLine(line, conditions, targets);
  sgTrans->setRowCount(int(conditions.size()));
  for (int r = 0; r < conditions.size(); ++r) {
    sgTrans->setItem(r, 0, new QTableWidgetItem(conditions[r]));
    sgTrans->setItem(r, 1, new QTableWidgetItem(targets[r]));
  }
}

void TAutoSim::SetStepCommandsEnabled() {
  const bool any = sim_ && sim_->StepCount > 0;
  for (QToolButton* b : {sbEdit, sbMinus, sbDelete, sbSave}) b->setEnabled(any);
  for (QAction* a : stepItems) a->setEnabled(any);
}

// ---- the grid ----

int TAutoSim::CurrentStep() const {
  const int steps = sim_ ? sim_->StepCount : 0;
  const QModelIndex current = sgSim->currentIndex();
  if (Horizontal) return qBound(1, current.column(), steps + 1);
  return qBound(1, current.row(), qMax(steps, 1));
}

bool TAutoSim::LastColumnSelected() const {
  return Horizontal && sim_ && CurrentStep() == sim_->StepCount + 1;
}

void TAutoSim::Redraw() {
  sgSim->setSelectionBehavior(Horizontal ? QAbstractItemView::SelectColumns : QAbstractItemView::SelectRows);
  sgSim->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->SetHorizontal(Horizontal);
}

void TAutoSim::SelectStep(int k) {
  if (Horizontal) {
    const int col = qBound(1, k, grid_->columnCount() - 1);
    sgSim->setCurrentIndex(grid_->index(1, col));
    sgSim->selectColumn(col);
  } else {
    const int row = qBound(1, k, grid_->rowCount() - 1);
    sgSim->setCurrentIndex(grid_->index(row, 1));
    sgSim->selectRow(row);
  }
}

void TAutoSim::TableTypeClick() {
  const int step = CurrentStep();
  Horizontal = !Horizontal;
  TableType->setIcon(Glyph(Horizontal ? QStringLiteral("BITMAP_TBL_H") : QStringLiteral("BITMAP_TBL_V")));
  TableType->setToolTip(Horizontal ? QStringLiteral("Вертикальная таблица")
                                   : QStringLiteral("Горизонтальная таблица"));
  Rebuild(step, true);
}

void TAutoSim::Rebuild(int step, bool resimulate) {
  if (sim_ && resimulate) sim_->Simulate(0, false);
  Redraw();
  SelectStep(Horizontal ? step : qMin(step, qMax(sim_ ? sim_->StepCount : 1, 1)));
}

void TAutoSim::FullRebuild() { Rebuild(CurrentStep(), true); }

// ---- events ----

bool TAutoSim::eventFilter(QObject* watched, QEvent* event) {
  auto* button = qobject_cast<QToolButton*>(watched);
  if (button && button->parentWidget() == PanelTransfer && event->type() == QEvent::MouseButtonRelease) {
    const int tag = button->property("tag").toInt();
    if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && tag != 0) {
      help::show(this, QStringLiteral("Tiravo.hlp"), help::ContextPopup, tag);
      return true;
    }
  }
  if (watched == sgTrans && (event->type() == QEvent::Show || event->type() == QEvent::Resize)) FormResize();
  if (event->type() == QEvent::MouseButtonDblClick && (watched == eS0 || qobject_cast<QLabel*>(watched))) {
    bbSetS0Click();
    return true;
  }
  return TChildForm::eventFilter(watched, event);
}

void TAutoSim::resizeEvent(QResizeEvent* event) {
  TChildForm::resizeEvent(event);
  FormResize();
}

void TAutoSim::FormResize() {
  if (!sgTrans->isVisible()) return;  // done when its page is shown
  const int half = qMax(sgTrans->width() / 2 - 3, 10);
  QHeaderView* h = sgTrans->horizontalHeader();
  h->setDefaultSectionSize(half);
  for (int c = 0; c < sgTrans->columnCount(); ++c) h->resizeSection(c, half);
}

void TAutoSim::FitColumns() {
  // Sampled rows (the header's precision), so a long sequence costs no more than a short one.
  if (!Horizontal) sgSim->resizeColumnsToContents();
}

}  // namespace tiravo

namespace tiravo {

void runAutoSim(TFrame& frame, FTT* model, const QString& tableFileName) {
  auto* w = new TAutoSim;
  w->SetTable(std::unique_ptr<FTT>(model), tableFileName);
  frame.addChild(w);
}

}  // namespace tiravo
