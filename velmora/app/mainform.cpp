#include "velmora/app/mainform.h"


#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <climits>

#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/help.h"
#include "platform/registry.h"
#include "velmora/app/aboutbox.h"
#include "velmora/app/childkind.h"
#include "velmora/app/frameglyphs.h"
#include "velmora/app/framesettings.h"
#include "velmora/app/optionsstring.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/editform.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"
#include "velmora/flowchart/gsaform.h"

namespace {

const char* const kOpenFilter =
    "Файлы программы|*.sku;*.lsa;*.rvs;*.tbl;*.gsa;*.rtf|Файл СКУ (*.sku)|*.sku|"
    "Файл РВАС (*.rvs)|*.rvs|Файл ГСА (*.gsa)|*.gsa|Файл Таблицы переходов (*.tbl)|*.tbl|"
    "Текстовый файл (*.rtf)|*.rtf|Текстовый файл (*.txt)|*.txt|Все файлы (*.*)|*.*";

// Hints are "short|long": the tool tip shows the short part, the status bar the long one.
void setHint(QAction* a, const QString& hint) {
  const int bar = hint.indexOf(QLatin1Char('|'));
  const QString shortPart = bar < 0 ? hint : hint.left(bar);
  const QString longPart = bar < 0 ? hint : hint.mid(bar + 1);
  a->setToolTip(shortPart);
  a->setStatusTip(longPart.isEmpty() ? shortPart : longPart);
}

bool kindIn(int kind, std::initializer_list<int> kinds) {
  return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// The part of the file name from its last dot, dot included, in lower case.
QString extensionOf(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const int dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot).toLower();
}

}  // namespace

struct TMainForm::Private {
  QString helpFile;
  // Bars in the order the "Panels" value keeps them.
  std::array<QToolBar*, framesettings::BarCount> bars{};
  // Positions as last read or written; hidden bars keep theirs until shown again.
  std::array<std::optional<int>, framesettings::PositionCount> positions;
  QPointer<QMdiSubWindow> lastActivated;
  // Panels 0-2 of each window as it left them, shown again when it comes back.
  QHash<const QObject*, std::array<QString, 3>> statusOf;
  const QObject* statusKey = nullptr;  // the window whose texts panels 0-2 show now
  QList<QAction*> windowListItems;
  QAction* windowListSeparator = nullptr;
  QWidget* saveButton = nullptr;
  bool closingAsked = false;  // the exit has asked every child; their closing asks nothing
};

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), d_(new Private) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Vexo"));
  setAttribute(Qt::WA_DeleteOnClose, false);

  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("mdiArea"));
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  connect(mdi_, &QMdiArea::subWindowActivated, this, &TMainForm::onSubWindowActivated);

  creators = {[this](const QString& path) { return createTextWindow(this, path); },
              [this](int kind, const QString& path) { return createEditWindow(this, kind, path); },
              [this](const QString& path) { return createTableWindow(this, path); },
              [this](const QString& path) { return createGsaWindow(this, path); }};
  createActions();
  // Before the bars: a changed action would carry its state over the buttons that start disabled.
  setFrameGlyphs(*this);
  createMenus();
  createToolBars();
  createStatusBar();
  mergeMenus(nullptr);

  setWindowState(Qt::WindowMaximized);
  LoadSettings();
  UpdateMenuItems();
}

TMainForm::~TMainForm() {
  // Children go first, while the frame they call back into still exists.
  // Windows closed but not yet freed are still there too.
  // A child that takes in a pending edit as it goes must not reach into a half-deleted MDI area:
  // the frame stops answering first.
  if (mdi_) {
    disconnect(mdi_, nullptr, this, nullptr);
    for (QMdiSubWindow* s : mdi_->findChildren<QMdiSubWindow*>()) disconnect(s, nullptr, this, nullptr);
    QMdiArea* area = mdi_;
    mdi_ = nullptr;
    delete area;
  }
  delete d_;
}

// ---------------------------------------------------------------- actions

void TMainForm::createActions() {
  auto make = [this](const char* name, const QString& caption, const QString& hint, bool enabled,
                     void (TMainForm::*handler)() = nullptr) {
    auto* a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    setHint(a, hint);
    a->setEnabled(enabled);
    if (handler) connect(a, &QAction::triggered, this, [this, handler] { guard::run(this, [&] { (this->*handler)(); }); });
    return a;
  };
  // A frame command routed to the active child of the listed kinds.
  auto routed = [this, &make](const char* name, const QString& caption, const QString& hint,
                              bool enabled, FrameCmd cmd, std::initializer_list<int> kinds) {
    QAction* a = make(name, caption, hint, enabled);
    const std::vector<int> k(kinds);
    connect(a, &QAction::triggered, this, [this, a, cmd, k] {
      guard::run(this, [&] {
        TDocChild* child = activeChild();
        if (child && std::find(k.begin(), k.end(), int(ChildKind)) != k.end() &&
            child->kind() == ChildKind)
          child->frameCommand(cmd, a);
      });
    });
    return a;
  };

  EditCutAction = routed("EditCutAction", QStringLiteral("&Вырезать"),
                         QStringLiteral("Вырезать|Вырезать выделенное в буфер обмена"), true,
                         FrameCmd::Cut, {1, 2, 4});
  EditCutAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
  EditCopyAction = routed("EditCopyAction", QStringLiteral("&Копировать"),
                          QStringLiteral("Копировать|Копировать выделенное в буфер обмена"), true,
                          FrameCmd::Copy, {1, 2, 4});
  EditCopyAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
  EditPasteAction = routed("EditPasteAction", QStringLiteral("Вст&авить"),
                           QStringLiteral("Вставить|Вставить из буфера обмена"), true,
                           FrameCmd::Paste, {1, 2, 4});
  EditPasteAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
  EditDelAction = routed("EditDelAction", QStringLiteral("&Удалить"),
                         QStringLiteral("Удалить|Удалить выделенное"), true, FrameCmd::Delete, {1, 2});
  // The shortcuts work while their bar is hidden too.
  addActions({EditCutAction, EditCopyAction, EditPasteAction});

  openFileAction = make("openFileAction", QStringLiteral("&Открыть"),
                        QStringLiteral("Открыть|Открыть файл"), true, &TMainForm::FileOpenItemClick);
  saveFileAction = make("saveFileAction", QStringLiteral("&Сохранить"),
                        QStringLiteral("Сохранить|Сохранить активный документ"), true,
                        &TMainForm::FileSaveItemClick);
  newRvasAction = make("newRvasAction", QStringLiteral("&РВАС"),
                       QStringLiteral("РВАС|Создать описание на РВАС"), true, &TMainForm::NewRvasClick);
  newSkuAction = make("newSkuAction", QStringLiteral("&СКУ"),
                      QStringLiteral("СКУ|Создать описание на СКУ"), true, &TMainForm::NewSkuClick);
  newGsaAction = make("newGsaAction", QStringLiteral("&ГСА"), QStringLiteral("ГСА|Создать ГСА"),
                      true, &TMainForm::NewGSAClick);
  newTblAction = make("newTblAction", QStringLiteral("Таблицу &переходов"),
                      QStringLiteral("Таблица переходов|Создать таблицу переходов"), true,
                      &TMainForm::NewTblClick);
  newTxtAction = make("newTxtAction", QStringLiteral("&Текстовый файл"),
                      QStringLiteral("Текстовый файл|Создать текстовый файл"), true,
                      &TMainForm::NewTxtClick);
  exitAction = make("exitAction", QStringLiteral("В&ыход"),
                    QStringLiteral("Выход|Завершить работу с программой"), true,
                    &TMainForm::FileExitItemClick);

  CompileAction = routed("CompileAction", QStringLiteral("&Проверка синтаксиса"),
                         QStringLiteral("Проверка синтаксиса|Проверить синтаксис описания"), false,
                         FrameCmd::Compile, {2});
  ToSkuAction = routed("ToSkuAction", QStringLiteral("Перевод в &СКУ"),
                       QStringLiteral("Перевод в СКУ|Перевести описание в СКУ"), false,
                       FrameCmd::ToSku, {2, 4});
  ToTblAction = routed("ToTblAction", QStringLiteral("Перевод в &таблицу"),
                       QStringLiteral("Перевод в таблицу|Перевести описание в таблицу переходов"),
                       false, FrameCmd::ToTbl, {2, 3});

  AddStrAction = routed("AddStrAction", QStringLiteral("&Добавить строку"),
                        QStringLiteral("Добавить строку|Добавить строку в конец"), false,
                        FrameCmd::AddStr, {3, 4, 6});
  InsStrAction = routed("InsStrAction", QStringLiteral("&Вставить строку"),
                        QStringLiteral("Вставить строку|Вставить строку перед текущей"), false,
                        FrameCmd::InsStr, {4, 6});
  DelStrAction = routed("DelStrAction", QStringLiteral("&Удалить строку"),
                        QStringLiteral("Удалить строку|Удалить текущую строку"), false,
                        FrameCmd::DelStr, {4, 6});
  OaCallAction = routed("OaCallAction", QStringLiteral("Вызов &ОА"),
                        QStringLiteral("Вызов ОА|Вызвать редактор операционного автомата"), false,
                        FrameCmd::OaCall, {4, 6});
  ReportAction = routed("ReportAction", QStringLiteral("Отчет"),
                        QStringLiteral("Отчет|Построить отчет"), false, FrameCmd::Report, {4, 6, 9});

  // Flowchart tools: sixteen placing tools share one handler of the editor, which tells
  // them apart by the sender; the last one deletes.
  const struct {
    const char* name;
    const char* caption;
  } gsa[] = {{"GsaBegAction", "Начальная вершина"},
             {"GsaEndAction", "Конечная вершина"},
             {"GsaOperatorAction", "Операторная вершина"},
             {"GsaConditAction", "Условная вершина"},
             {"GsaRazvAction", "Разветвитель"},
             {"GsaSoedAction", "Соединитель"},
             {"GsaHorAction", "Горизонтальная линия"},
             {"GsaVertAction", "Вертикальная линия"},
             {"GsaCor1Action", "Угловой переход"},
             {"GsaCor2Action", "Угловой переход"},
             {"GsaCor3Action", "Угловой переход"},
             {"GsaCor4Action", "Угловой переход"},
             {"GsaALAction", "Слияние слева"},
             {"GsaARAction", "Слияние справа"},
             {"GsaALRAction", "Слияние слева и справа"},
             {"GsaCrossAction", "Слияние слева и справа"},
             {"GsaDelAction", "Удаление"}};
  gsaGroup = new QActionGroup(this);
  gsaGroup->setExclusive(true);
  for (int i = 0; i < 17; ++i) {
    const QString caption = QString::fromUtf8(gsa[i].caption);
    const bool del = i == 16;
    QAction* a = routed(gsa[i].name, caption, caption, false,
                        del ? FrameCmd::GsaDelete : FrameCmd::GsaPlace, {3});
    a->setCheckable(true);
    gsaGroup->addAction(a);
    gsaActions << a;
  }
  gsaActions.first()->setChecked(true);

  ModelOpenAction = routed("ModelOpenAction", QStringLiteral("Открыть|"),
                           QStringLiteral("Открыть|Открыть файл входных воздействий"), false,
                           FrameCmd::ModelOpen, {6});
  ModelSaveAction = routed("ModelSaveAction", QStringLiteral("Сохранить|"),
                           QStringLiteral("Сохранить|Сохранить файл входных воздействий"), false,
                           FrameCmd::ModelSave, {6});
  // The begin button runs nothing from the frame; the step, pause, play and stop buttons run the
  // joint model's Шаг, Пауза, Пуск and Сброс, and that window enables them as it does those.
  ModelBegAction = make("ModelBegAction", QStringLiteral("Начальное событие"),
                        QStringLiteral("Начальное событие|Установить начальное событие"), false,
                        nullptr);
  ModelBusAction = routed("ModelBusAction", QStringLiteral("Установка шин"),
                          QStringLiteral("Установка шин|Установить значения шин"), false,
                          FrameCmd::ModelBus, {6, 9});
  ModelStepAction = routed("ModelStepAction", QStringLiteral("Шаг"),
                           QStringLiteral("Шаг|Один шаг моделирования"), false, FrameCmd::ModelStep, {9});
  ModelPauseAction = routed("ModelPauseAction", QStringLiteral("Моделирование"),
                            QStringLiteral("Моделирование|Приостановить моделирование"), false,
                            FrameCmd::ModelPause, {9});
  ModelPlayAction = routed("ModelPlayAction", QStringLiteral("ModelPlayAction"),
                           QStringLiteral("Пуск|Запустить моделирование"), false, FrameCmd::ModelPlay, {9});
  ModelStopAction = routed("ModelStopAction", QStringLiteral("ModelStopAction"),
                           QStringLiteral("Стоп|Остановить моделирование"), false, FrameCmd::ModelStop, {9});

  BinAction = routed("BinAction", QStringLiteral("&Двоичное"),
                     QStringLiteral("Двоичное|Двоичное представление регистров"), true,
                     FrameCmd::Bin, {6, 9});
  HexAction = routed("HexAction", QStringLiteral("&Шестнадцетиричное"),
                     QStringLiteral("Шестнадцетиричное|Шестнадцатеричное представление регистров"),
                     true, FrameCmd::Hex, {6, 9});
  DecAction = routed("DecAction", QStringLiteral("Д&есятичное"),
                     QStringLiteral("Десятичное|Десятичное представление регистров"), true,
                     FrameCmd::Dec, {6, 9});
  radixGroup = new QActionGroup(this);
  radixGroup->setExclusive(true);
  for (QAction* a : {BinAction, HexAction, DecAction}) {
    a->setCheckable(true);
    radixGroup->addAction(a);
  }
  BinAction->setChecked(true);
}

// ---------------------------------------------------------------- menus

void TMainForm::createMenus() {
  fileMenuFrame = new QMenu(QStringLiteral("&Файл"), this);
  fileMenuFrame->setObjectName(QStringLiteral("fileMenu"));
  createMenu = fileMenuFrame->addMenu(QStringLiteral("Созд&ать"));
  createMenu->addAction(newRvasAction);
  createMenu->addAction(newSkuAction);
  createMenu->addAction(newGsaAction);
  createMenu->addAction(newTblAction);
  createMenu->addSeparator();
  createMenu->addAction(newTxtAction);
  fileMenuFrame->addAction(openFileAction);
  fileMenuFrame->addSeparator();
  fileMenuFrame->addAction(exitAction);

  settingsMenu = new QMenu(QStringLiteral("&Настройки"), this);
  settingsMenu->setObjectName(QStringLiteral("settingsMenu"));
  optionsItem = settingsMenu->addAction(QStringLiteral("&Опции..."));
  optionsItem->setObjectName(QStringLiteral("optionsItem"));
  optionsItem->setVisible(false);
  connect(optionsItem, &QAction::triggered, this, [this] { guard::run(this, [this] { mOptionsClick(); }); });
  toolBarsMenu = settingsMenu->addMenu(QStringLiteral("&Панели инструментов"));
  toolBarsMenu->setObjectName(QStringLiteral("toolBarsMenu"));
  const char* const barItems[] = {"&Файл", "&Редактирование", "&ГСА", "&Таблица", "&Перевод",
                                  "&Моделирование", "Пр&едставление регистров"};
  for (int i = 0; i < 7; ++i) {
    toolBarItems[i] = toolBarsMenu->addAction(QString::fromUtf8(barItems[i]));
    toolBarItems[i]->setCheckable(true);
    toolBarItems[i]->setChecked(i < 2);
  }
  toolBarsMenu->addSeparator();
  autoShowItem = toolBarsMenu->addAction(QStringLiteral("Показывать &автоматически"));
  autoShowItem->setObjectName(QStringLiteral("autoShowItem"));
  autoShowItem->setCheckable(true);
  autoShowItem->setChecked(true);
  for (int i = 0; i < 7; ++i)
    connect(toolBarItems[i], &QAction::triggered, this, [this, i] {
      QToolBar* inMenuOrder[7] = {fileToolBar, editToolBar, gsaToolBar, tblToolBar,
                                  transToolBar, modelToolBar, regToolBar};
      toggleToolBar(inMenuOrder[i]);
    });
  connect(toolBarsMenu, &QMenu::aboutToShow, this, &TMainForm::mToolBarClick);
  showMessagesItem = settingsMenu->addAction(QStringLiteral("Показывать &сообщения"));
  showMessagesItem->setObjectName(QStringLiteral("showMessagesItem"));
  showMessagesItem->setVisible(false);
  // The mark shows the active window's message list; that window sets it, on activation
  // and when its list is shown or hidden. A click does not move the mark by itself, so the
  // window reads the state the user saw.
  showMessagesItem->setCheckable(true);
  connect(showMessagesItem, &QAction::triggered, this, [this](bool checked) {
    showMessagesItem->setChecked(!checked);
    guard::run(this, [this] { mShowMessageClick(); });
  });

  windowMenu = new QMenu(QStringLiteral("&Окно"), this);
  windowMenu->setObjectName(QStringLiteral("windowMenu"));
  tileItem = windowMenu->addAction(QStringLiteral("&Черепицей"), this, &TMainForm::WindowTileItemClick);
  cascadeItem = windowMenu->addAction(QStringLiteral("&Каскадом"), this, &TMainForm::WindowCascadeItemClick);
  arrangeItem = windowMenu->addAction(QStringLiteral("&Упорядочить все"), this, &TMainForm::WindowArrangeItemClick);
  minimizeItem = windowMenu->addAction(QStringLiteral("&Свернуть"), this, &TMainForm::WindowMinimizeItemClick);
  connect(windowMenu, &QMenu::aboutToShow, this, &TMainForm::rebuildWindowList);

  helpMenu = new QMenu(QStringLiteral("&Помощь"), this);
  helpMenu->setObjectName(QStringLiteral("helpMenu"));
  helpContentsItem = helpMenu->addAction(QStringLiteral("&Вызов справки"), this, &TMainForm::ContentsClick);
  helpSearchItem = helpMenu->addAction(QStringLiteral("&Поиск..."), this, &TMainForm::SearchforHelpOnClick);
  aboutItem = helpMenu->addAction(QStringLiteral("&О программе..."), this, &TMainForm::AboutClick);
  howToUseItem = helpMenu->addAction(QStringLiteral("Как пользоваться справочником?"), this,
                                     &TMainForm::HowtouseClick);
}

QList<QMenu*> TMainForm::menuBarMenus() const {
  QList<QMenu*> out;
  for (QAction* a : menuBar()->actions())
    if (a->menu()) out << a->menu();
  return out;
}

void TMainForm::mergeMenus(TDocChild* child) {
  QMenuBar* bar = menuBar();
  bar->clear();
  QMenu* file = child ? child->fileMenu() : nullptr;
  bar->addMenu(file ? file : fileMenuFrame);
  if (child)
    for (QMenu* m : child->windowMenus())
      if (m) bar->addMenu(m);
  bar->addMenu(settingsMenu);
  bar->addMenu(windowMenu);
  bar->addMenu(helpMenu);
  setMenuGlyphs(*this);
}

void TMainForm::rebuildWindowList() {
  for (QAction* a : d_->windowListItems) {
    windowMenu->removeAction(a);
    delete a;
  }
  d_->windowListItems.clear();
  if (d_->windowListSeparator) {
    windowMenu->removeAction(d_->windowListSeparator);
    delete d_->windowListSeparator;
    d_->windowListSeparator = nullptr;
  }
  const auto subs = mdi_->subWindowList(QMdiArea::CreationOrder);
  if (subs.isEmpty()) return;
  d_->windowListSeparator = windowMenu->addSeparator();
  int n = 0;
  for (QMdiSubWindow* s : subs) {
    ++n;
    QString title = s->windowTitle();
    title.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* a = windowMenu->addAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(title) : title);
    a->setCheckable(true);
    a->setChecked(s == mdi_->currentSubWindow());
    QPointer<QMdiSubWindow> target(s);
    connect(a, &QAction::triggered, this, [this, target] {
      if (target) mdi_->setActiveSubWindow(target);
    });
    d_->windowListItems << a;
  }
}

// ---------------------------------------------------------------- tool bars, status bar

void TMainForm::createToolBars() {
  auto bar = [this](const char* name, const QString& title, Qt::ToolBarArea area) {
    auto* t = new QToolBar(title, this);
    t->setObjectName(QString::fromLatin1(name));
    t->setIconSize(QSize(22, 22));
    addToolBar(area, t);
    // When any bar starts docking, every bar sizes itself to its buttons again.
    connect(t, &QToolBar::topLevelChanged, this, [this] {
      for (QToolBar* b : d_->bars)
        if (b) b->adjustSize();
    });
    return t;
  };
  fileToolBar = bar("fileToolBar", QStringLiteral("Файл"), Qt::TopToolBarArea);
  fileToolBar->addAction(openFileAction);
  fileToolBar->addAction(saveFileAction);
  fileToolBar->addSeparator();
  for (QAction* a : {newRvasAction, newSkuAction, newGsaAction, newTblAction, newTxtAction})
    fileToolBar->addAction(a);
  d_->saveButton = fileToolBar->widgetForAction(saveFileAction);
  d_->saveButton->setEnabled(false);

  editToolBar = bar("editToolBar", QStringLiteral("Редактирование"), Qt::TopToolBarArea);
  for (QAction* a : {EditCutAction, EditCopyAction, EditPasteAction, EditDelAction}) {
    editToolBar->addAction(a);
    editToolBar->widgetForAction(a)->setEnabled(false);
  }
  editToolBar->addSeparator();
  fontSizeBox_ = new QComboBox;
  fontSizeBox_->setObjectName(QStringLiteral("FontSize"));
  fontSizeBox_->setEditable(true);
  fontSizeBox_->setInsertPolicy(QComboBox::NoInsert);
  for (int s : {6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 28, 36, 48, 72})
    fontSizeBox_->addItem(QString::number(s));
  fontSizeBox_->setEditText(QStringLiteral("10"));
  fontSizeBox_->setEnabled(false);
  fontSizeBox_->setMinimumContentsLength(3);
  editToolBar->addWidget(fontSizeBox_);
  // Only the user's changes resize fonts; filling the box does not.
  connect(fontSizeBox_->lineEdit(), &QLineEdit::textEdited, this,
          [this] { guard::run(this, [this] { FontSizeClick(); }); });
  connect(fontSizeBox_, &QComboBox::textActivated, this,
          [this] { guard::run(this, [this] { FontSizeClick(); }); });

  transToolBar = bar("transToolBar", QStringLiteral("Перевод"), Qt::TopToolBarArea);
  for (QAction* a : {CompileAction, ToSkuAction, ToTblAction}) transToolBar->addAction(a);

  tblToolBar = bar("tblToolBar", QStringLiteral("Таблица"), Qt::TopToolBarArea);
  for (QAction* a : {AddStrAction, InsStrAction, DelStrAction}) tblToolBar->addAction(a);
  tblToolBar->addSeparator();
  tblToolBar->addAction(OaCallAction);
  tblToolBar->addSeparator();
  tblToolBar->addAction(ReportAction);

  modelToolBar = bar("modelToolBar", QStringLiteral("Моделирование"), Qt::TopToolBarArea);
  for (QAction* a : {ModelOpenAction, ModelSaveAction, ModelBegAction, ModelBusAction,
                     ModelStepAction, ModelPauseAction, ModelPlayAction, ModelStopAction})
    modelToolBar->addAction(a);

  regToolBar = bar("regToolBar", QStringLiteral("Регистры"), Qt::TopToolBarArea);
  for (QAction* a : {BinAction, HexAction, DecAction}) {
    regToolBar->addAction(a);
    regToolBar->widgetForAction(a)->setEnabled(false);
  }

  gsaToolBar = bar("gsaToolBar", QStringLiteral("ГСА"), Qt::LeftToolBarArea);
  for (QAction* a : gsaActions) gsaToolBar->addAction(a);

  d_->bars = {fileToolBar, editToolBar, transToolBar, tblToolBar, modelToolBar, regToolBar, gsaToolBar};
  for (QToolBar* t : {transToolBar, tblToolBar, gsaToolBar, modelToolBar, regToolBar}) t->hide();
}

void TMainForm::createStatusBar() {
  QStatusBar* sb = statusBar();
  sb->setSizeGripEnabled(true);
  // The one-line text of a window that shows no panels (the flowchart's cell under the
  // pointer) stands before the panels, which keep what the other windows put there.
  simpleText_ = new QLabel;
  simpleText_->setObjectName(QStringLiteral("StatusSimpleText"));
  simpleText_->hide();
  sb->addWidget(simpleText_);
  const int widths[4] = {55, 55, 95, 40};
  for (int i = 0; i < 4; ++i) {
    auto* l = new QLabel;
    l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    if (i < 3) {
      l->setAlignment(Qt::AlignCenter);
      l->setFixedWidth(widths[i]);
      sb->addWidget(l);
    } else {
      l->setMinimumWidth(widths[i]);
      sb->addWidget(l, 1);
    }
    panels_[i] = l;
  }
}

void TMainForm::setStatusText(int panel, const QString& text) {
  if (panel >= 0 && panel < 4) panels_[panel]->setText(text);
}

void TMainForm::setSimpleText(const QString& text) {
  simpleText_->setText(text);
  simpleText_->setVisible(!text.isEmpty());
}

QString TMainForm::simpleText() const { return simpleText_->text(); }

QString TMainForm::statusText(int panel) const {
  return panel >= 0 && panel < 4 ? panels_[panel]->text() : QString();
}

bool TMainForm::event(QEvent* event) {
  // The long part of the current hint goes to panel 3.
  if (event->type() == QEvent::StatusTip) {
    setStatusText(3, static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

QString TMainForm::helpFile() const { return d_->helpFile; }

// ---------------------------------------------------------------- children

QMdiSubWindow* TMainForm::addChild(TDocChild* child, QObject* ownerObject) {
  if (!child) return nullptr;
  // The child may call back as soon as it is activated below.
  child->setFrame(this);
  if (auto* w = qobject_cast<TTxtForm*>(child)) lastTxtForm = w;
  else if (auto* w = qobject_cast<TEditForm*>(child)) lastEditForm = w;
  else if (auto* w = qobject_cast<TGSAForm*>(child)) lastGsaForm = w;
  else if (auto* w = qobject_cast<TVexoTableForm*>(child)) lastTableForm = w;
  if (child->hasFont() && fontSizeBox_) fontSizeBox_->setEnabled(true);
  // A window keeps the size it was given; one without any gets a usable one.
  QSize want = child->testAttribute(Qt::WA_Resized) ? child->size() : child->sizeHint();
  want = want.expandedTo(QSize(360, 240));
  QMdiSubWindow* sub = mdi_->addSubWindow(child);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(windowIcon());
  const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
  const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
  sub->resize(want.width() + 2 * border, want.height() + title + border);
  connect(sub, &QObject::destroyed, this, &TMainForm::onSubWindowGone);
  child->installEventFilter(this);
  if (ownerObject) {
    // A window owned by another goes with it, without being asked.
    QPointer<QMdiSubWindow> guarded(sub);
    connect(ownerObject, &QObject::destroyed, sub, [guarded] { delete guarded.data(); });
  }
  child->show();
  sub->show();
  mdi_->setActiveSubWindow(sub);
  // Activation is not reported while the frame itself is hidden or inactive.
  if (mdi_->currentSubWindow() == sub && d_->lastActivated != sub) onSubWindowActivated(sub);
  UpdateMenuItems();
  return sub;
}

void TMainForm::activateChild(TDocChild* child) {
  if (!child || !mdi_) return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget())) {
    sub->show();
    mdi_->setActiveSubWindow(sub);
  }
}

TDocChild* TMainForm::lastChild(ChildKindValue kind) const {
  switch (kind) {
    case ckText: return lastTxtForm.data();
    case ckEdit: return lastEditForm.data();
    case ckGsa: return lastGsaForm.data();
    case ckTable: return lastTableForm.data();
    default: return nullptr;
  }
}

TDocChild* TMainForm::newDocument(NewDoc doc) {
  switch (doc) {
    case NewDoc::Text: return creators.text(QString());
    case NewDoc::Rvas: return creators.edit(0, QString());
    case NewDoc::Sku: return creators.edit(1, QString());
    case NewDoc::Gsa: return creators.gsa(QString());
    case NewDoc::Table: return creators.table(QString());
  }
  return nullptr;
}

QAction* TMainForm::commandAction(FrameCmd cmd) const {
  switch (cmd) {
    case FrameCmd::Save: return saveFileAction;
    case FrameCmd::Cut: return EditCutAction;
    case FrameCmd::Copy: return EditCopyAction;
    case FrameCmd::Paste: return EditPasteAction;
    case FrameCmd::Delete: return EditDelAction;
    case FrameCmd::ToSku: return ToSkuAction;
    case FrameCmd::ToTbl: return ToTblAction;
    case FrameCmd::Compile: return CompileAction;
    case FrameCmd::AddStr: return AddStrAction;
    case FrameCmd::InsStr: return InsStrAction;
    case FrameCmd::DelStr: return DelStrAction;
    case FrameCmd::OaCall: return OaCallAction;
    case FrameCmd::Report: return ReportAction;
    case FrameCmd::ModelOpen: return ModelOpenAction;
    case FrameCmd::ModelSave: return ModelSaveAction;
    case FrameCmd::ModelBus: return ModelBusAction;
    case FrameCmd::ModelStep: return ModelStepAction;
    case FrameCmd::ModelPause: return ModelPauseAction;
    case FrameCmd::ModelPlay: return ModelPlayAction;
    case FrameCmd::ModelStop: return ModelStopAction;
    case FrameCmd::Bin: return BinAction;
    case FrameCmd::Hex: return HexAction;
    case FrameCmd::Dec: return DecAction;
    case FrameCmd::Options: return optionsItem;
    case FrameCmd::ShowMessages: return showMessagesItem;
    case FrameCmd::GsaPlace:
    case FrameCmd::GsaDelete: return nullptr;  // the tools: gsaTool()
  }
  return nullptr;
}

void TMainForm::setCommandEnabled(FrameCmd cmd, bool enabled) {
  if (QAction* a = commandAction(cmd)) a->setEnabled(enabled);
}

void TMainForm::setCommandChecked(FrameCmd cmd, bool checked) {
  if (QAction* a = commandAction(cmd)) a->setChecked(checked);
}

bool TMainForm::commandChecked(FrameCmd cmd) const {
  const QAction* a = commandAction(cmd);
  return a && a->isChecked();
}

int TMainForm::gsaTool() const {
  for (int i = 0; i < gsaActions.size(); ++i)
    if (gsaActions[i]->isChecked()) return i;
  return -1;
}

void TMainForm::setGsaTool(int tool) {
  if (tool >= 0 && tool < gsaActions.size()) gsaActions[tool]->setChecked(true);
}

void TMainForm::showFontSize(int size) {
  if (!fontSizeBox_) return;
  // Showing the size is not a change of it.
  const QSignalBlocker b1(fontSizeBox_);
  const QSignalBlocker b2(fontSizeBox_->lineEdit());
  fontSizeBox_->setEditText(QString::number(size));
}

TDocChild* TMainForm::activeChild() const {
  if (!mdi_) return nullptr;
  QMdiSubWindow* s = mdi_->currentSubWindow();
  return s ? qobject_cast<TDocChild*>(s->widget()) : nullptr;
}

void TMainForm::onSubWindowActivated(QMdiSubWindow* window) {
  if (!window) {
    if (mdi_->subWindowList().isEmpty()) onSubWindowGone(nullptr);
    return;
  }
  UpdateMenuItems();
  if (window == d_->lastActivated) return;  // the frame only came back to the front
  if (d_->lastActivated) {
    if (auto* previous = qobject_cast<TDocChild*>(d_->lastActivated->widget())) previous->deactivated();
  }
  if (d_->statusKey) {
    auto& left = d_->statusOf[d_->statusKey];
    for (int i = 0; i < 3; ++i) left[size_t(i)] = statusText(i);
  }
  // A window's status texts go with it; its own come back with it.
  const auto kept = d_->statusOf.value(window);
  for (int i = 0; i < 3; ++i) setStatusText(i, kept[size_t(i)]);
  d_->statusKey = window;
  d_->lastActivated = window;
  auto* child = qobject_cast<TDocChild*>(window->widget());
  mergeMenus(child);
  if (child) child->activated();
  // The clipboard and radix buttons start disabled while their actions are on, and an action
  // set to the state it already has tells its button nothing: every activation puts these
  // buttons in step with their actions.
  QToolBar* barOf[7] = {editToolBar, editToolBar, editToolBar, editToolBar,
                        regToolBar,  regToolBar,  regToolBar};
  QAction* started[7] = {EditCutAction, EditCopyAction, EditPasteAction, EditDelAction,
                         BinAction,     HexAction,      DecAction};
  for (int i = 0; i < 7; ++i)
    if (QWidget* b = barOf[i]->widgetForAction(started[i])) b->setEnabled(started[i]->isEnabled());
}

void TMainForm::onSubWindowGone(QObject* window) {
  // `window` is being destroyed: compare it only as an address.
  d_->statusOf.remove(window);
  if (window == d_->statusKey || !window) {
    d_->statusKey = nullptr;
    for (int i = 0; i < 3; ++i) setStatusText(i, QString());
  }
  int left = 0;
  for (QMdiSubWindow* s : mdi_->subWindowList())
    if (static_cast<QObject*>(s) != window) ++left;
  if (left > 0) {
    UpdateMenuItems();
    return;
  }
  d_->lastActivated = nullptr;
  mergeMenus(nullptr);
  if (ChildKind != ckNone) {
    ChildKind = ckNone;
    UpdateChildActions();
  }
  UpdateMenuItems();
}

// ---------------------------------------------------------------- enabling

void TMainForm::EnableGsaActions(bool enabled) {
  for (QAction* a : gsaActions) a->setEnabled(enabled);
}

bool TMainForm::autoShow() const { return autoShowItem->isChecked(); }

void TMainForm::UpdateChildActions() {
  // -1 leaves the item as it is (the child sets it itself, or it keeps its state).
  struct Row {
    int kind;
    int bars[5];  // trans, tbl, model, reg, gsa
    int cts[3];   // Compile, ToTbl, ToSku
    int rows[4];  // AddStr, InsStr, DelStr, OaCall
    int report;
    int model[8];  // Open, Save, Beg, Bus, Step, Pause, Play, Stop
    int radix[3];
    int gsa;
    int options;
  };
  static const Row table[] = {
      {0, {0, 0, 0, 0, 0}, {0, 0, 0}, {0, 0, 0, 0}, -1, {-1, -1, -1, -1, -1, -1, -1, -1}, {-1, -1, -1}, 0, 0},
      {1, {0, 0, 0, 0, 0}, {-1, -1, -1}, {0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0}, 0, 0},
      {2, {1, 0, 0, 0, 0}, {-1, -1, -1}, {0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0}, 0, 1},
      {3, {1, 1, 0, 0, 1}, {1, 1, 0}, {1, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0}, 1, 1},
      {4, {1, 1, 0, 0, 0}, {-1, 0, -1}, {1, 1, 1, 1}, 1, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0}, 0, 1},
      {6, {0, 1, 1, 1, 0}, {0, 0, 0}, {1, 1, 1, -1}, 1, {1, 1, 0, -1, 0, 0, 0, 0}, {1, 1, 1}, 0, 0},
      {7, {0, 0, 0, 0, 0}, {0, 0, 0}, {0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0, 0, 0}, {1, 1, 1}, 0, 0},
      {9, {0, 1, 1, 1, 0}, {0, 0, 0}, {0, 0, 0, 1}, 1, {1, 1, 1, -1, 1, 1, 1, 1}, {1, 1, 1}, 0, 0},
  };
  const Row* row = &table[0];  // any kind not listed behaves as none
  for (const Row& r : table)
    if (r.kind == ChildKind) row = &r;

  auto set = [](QAction* a, int v) {
    if (v >= 0) a->setEnabled(v != 0);
  };
  if (autoShow()) {
    QToolBar* bars[5] = {transToolBar, tblToolBar, modelToolBar, regToolBar, gsaToolBar};
    for (int i = 0; i < 5; ++i) bars[i]->setVisible(row->bars[i] != 0);
  }
  set(CompileAction, row->cts[0]);
  set(ToTblAction, row->cts[1]);
  set(ToSkuAction, row->cts[2]);
  set(AddStrAction, row->rows[0]);
  set(InsStrAction, row->rows[1]);
  set(DelStrAction, row->rows[2]);
  set(OaCallAction, row->rows[3]);
  set(ReportAction, row->report);
  QAction* model[8] = {ModelOpenAction, ModelSaveAction, ModelBegAction, ModelBusAction,
                       ModelStepAction, ModelPauseAction, ModelPlayAction, ModelStopAction};
  for (int i = 0; i < 8; ++i) set(model[i], row->model[i]);
  set(BinAction, row->radix[0]);
  set(HexAction, row->radix[1]);
  set(DecAction, row->radix[2]);
  EnableGsaActions(row->gsa != 0);
  optionsItem->setVisible(row->options != 0);
  showMessagesItem->setVisible(row->options != 0);
}

void TMainForm::UpdateMenuItems() {
  const bool any = !mdi_->subWindowList().isEmpty();
  d_->saveButton->setEnabled(any);
  cascadeItem->setEnabled(any);
  tileItem->setEnabled(any);
  arrangeItem->setEnabled(any);
  minimizeItem->setEnabled(any);
  fontSizeBox_->setEnabled(any);
}

// ---------------------------------------------------------------- dispatch

bool TMainForm::dispatch(FrameCmd cmd, QObject* sender, std::initializer_list<int> kinds) {
  TDocChild* child = activeChild();
  if (!child || !kindIn(ChildKind, kinds) || child->kind() != ChildKind) return false;
  child->frameCommand(cmd, sender);
  return true;
}

void TMainForm::FileSaveItemClick() { dispatch(FrameCmd::Save, saveFileAction, {1, 2, 3, 4}); }

void TMainForm::mOptionsClick() { dispatch(FrameCmd::Options, optionsItem, {2, 3, 4}); }
void TMainForm::mShowMessageClick() { dispatch(FrameCmd::ShowMessages, showMessagesItem, {2, 3, 4}); }

void TMainForm::FontSizeClick() {
  TDocChild* child = activeChild();
  if (!child) return;
  const int size = ParseInt(fontSizeBox_->currentText());
  // "abc" or "0" would give a font no one can read; the size stays as it is.
  if (size < 1) return;
  if (ChildKind >= ckText && ChildKind <= ckTable && child->kind() == ChildKind &&
      child->setFontSize(size))
    return;
  dlg::message(this, QStringLiteral("Изменение размера шрифта не поддерживается"),
               QStringLiteral("Обломись!"), dlg::Ok, dlg::Warning);
}

// ---------------------------------------------------------------- File

void TMainForm::FileOpenItemClick() {
  for (;;) {
    const QString path = dlg::openFile(this, QString::fromUtf8(kOpenFilter));
    if (path.isEmpty()) return;
    const QString ext = extensionOf(path);
    if (ext == QLatin1String(".sku") || ext == QLatin1String(".rvs") ||
        ext == QLatin1String(".txt") || ext == QLatin1String(".gsa") ||
        ext == QLatin1String(".tbl")) {
      openDocument(path);
      return;
    }
    const int r = dlg::message(this,
                               QStringLiteral("Расширение ") + ext +
                                   QStringLiteral(" программой не поддерживается"),
                               QStringLiteral("Ошибка"), dlg::Ok | dlg::Cancel, dlg::Warning);
    if (r != dlg::Ok) return;
  }
}

TDocChild* TMainForm::openDocument(const QString& path) {
  const QString ext = extensionOf(path);
  if (ext == QLatin1String(".sku")) return creators.edit(1, path);
  if (ext == QLatin1String(".rvs")) return creators.edit(0, path);
  if (ext == QLatin1String(".txt")) return creators.text(path);
  if (ext == QLatin1String(".gsa")) return creators.gsa(path);
  if (ext == QLatin1String(".tbl")) return creators.table(path);
  dlg::message(this,
               QStringLiteral("Расширение ") + ext + QStringLiteral(" программой не поддерживается"),
               QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
  return nullptr;
}

void TMainForm::NewTxtClick() { creators.text(QString()); }
void TMainForm::NewRvasClick() { creators.edit(0, QString()); }
void TMainForm::NewSkuClick() { creators.edit(1, QString()); }
void TMainForm::NewGSAClick() { creators.gsa(QString()); }
void TMainForm::NewTblClick() { creators.table(QString()); }
void TMainForm::FileExitItemClick() { close(); }

// ---------------------------------------------------------------- windows

void TMainForm::WindowCascadeItemClick() { mdi_->cascadeSubWindows(); }
void TMainForm::WindowTileItemClick() { mdi_->tileSubWindows(); }

void TMainForm::WindowArrangeItemClick() {
  // Minimized windows line up along the bottom of the client area.
  const int bottom = mdi_->viewport()->height();
  int x = 0;
  for (QMdiSubWindow* s : mdi_->subWindowList(QMdiArea::CreationOrder)) {
    if (!s->isMinimized()) continue;
    if (x > 0 && x + s->width() > mdi_->viewport()->width()) x = 0;
    s->move(x, bottom - s->height());
    x += s->width();
  }
}

void TMainForm::WindowMinimizeItemClick() {
  const auto subs = mdi_->subWindowList(QMdiArea::CreationOrder);
  for (int i = subs.size() - 1; i >= 0; --i) subs[i]->showMinimized();
}

void TMainForm::mToolBarClick() {
  QToolBar* inMenuOrder[7] = {fileToolBar, editToolBar, gsaToolBar, tblToolBar,
                              transToolBar, modelToolBar, regToolBar};
  for (int i = 0; i < 7; ++i) toolBarItems[i]->setChecked(!inMenuOrder[i]->isHidden());
}

void TMainForm::toggleToolBar(QToolBar* bar) {
  bar->setVisible(bar->isHidden());
  QToolBar* inMenuOrder[7] = {fileToolBar, editToolBar, gsaToolBar, tblToolBar,
                              transToolBar, modelToolBar, regToolBar};
  for (int i = 0; i < 7; ++i)
    if (inMenuOrder[i] == bar) toolBarItems[i]->setChecked(!bar->isHidden());
}

// The menu item toggles its own check; this is the same for callers outside the menu.
void TMainForm::mAutoShowClick() { autoShowItem->setChecked(!autoShowItem->isChecked()); }

// ---------------------------------------------------------------- settings

void TMainForm::LoadSettings() {
  const QString startDir = QDir::currentPath();
  Registry reg(QString::fromLatin1(framesettings::RegistryKey));
  if (!reg.openKey(false)) {
    // The frame is not shown yet: the box centres over the place the maximized frame will take.
    const QRect normal = geometry();
    const Qt::WindowStates state = windowState();
    if (QScreen* sc = screen()) setGeometry(sc->availableGeometry());
    dlg::message(this, QStringLiteral("Добро пожаловать в Vexo!"), QStringLiteral("Сообщение"),
                 dlg::Ok, dlg::Information);
    setGeometry(normal);
    setWindowState(state);
  }
  Options = reg.readString(QStringLiteral("Options"));
  if (Options.isEmpty()) Options = optstr::defaultString();
  Panels = reg.readString(QStringLiteral("Panels"));
  RootDir = reg.readString(QStringLiteral("RootDir"));
  State = reg.readString(QStringLiteral("State"));
  reg.closeKey();
  if (!State.isEmpty()) RestoreLayout();
  if (startDir != RootDir) RootDir = startDir;
  d_->helpFile = framesettings::helpFileFor(RootDir);
}

void TMainForm::RestoreLayout() {
  const framesettings::StateValues st = framesettings::parseState(State);
  if (st.maximized) {
    setWindowState(Qt::WindowMaximized);
  } else {
    // The frame still opens maximized; these are its size and place when it is not.
    setWindowState(Qt::WindowNoState);
    QSize size = this->size();
    QPoint at = pos();
    if (st.values[0]) size.setHeight(*st.values[0]);
    if (st.values[1]) size.setWidth(*st.values[1]);
    if (st.values[2]) at.setX(*st.values[2]);
    if (st.values[3]) at.setY(*st.values[3]);
    resize(size);
    move(at);
    setWindowState(Qt::WindowMaximized);
  }

  const framesettings::PanelValues p = framesettings::parsePanels(Panels);
  if (!p.hasFlags) return;
  autoShowItem->setChecked(p.autoShow);
  for (int j = 0; j < framesettings::BarCount; ++j) d_->bars[j]->setVisible(p.visible[j]);
  for (int k = 0; k < framesettings::PositionCount; ++k)
    if (p.positions[k]) d_->positions[k] = p.positions[k];
  applyBarPositions();
}

void TMainForm::applyBarPositions() {
  // Docked bars cannot stand anywhere: bars with the same top share a row, ordered by left.
  struct Place {
    int top, left, index;
  };
  std::vector<Place> places;
  for (int i = 0; i < 6; ++i) {
    const auto& l = d_->positions[2 * i];
    const auto& t = d_->positions[2 * i + 1];
    places.push_back({t ? *t : INT_MAX, l ? *l : INT_MAX, i});
  }
  std::stable_sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  });
  std::array<bool, 6> hidden{};
  for (int i = 0; i < 6; ++i) {
    hidden[i] = d_->bars[i]->isHidden();
    removeToolBarBreak(d_->bars[i]);
    removeToolBar(d_->bars[i]);
  }
  for (size_t n = 0; n < places.size(); ++n) {
    if (n > 0 && places[n].top != places[n - 1].top) addToolBarBreak(Qt::TopToolBarArea);
    QToolBar* b = d_->bars[places[n].index];
    addToolBar(Qt::TopToolBarArea, b);
    b->setVisible(!hidden[places[n].index]);
  }
  if (d_->positions[14] && d_->positions[15])
    gsaToolBar->resize(*d_->positions[14], *d_->positions[15]);
}

void TMainForm::StoreLayout() {
  State = framesettings::buildState(isMaximized(), height(), width(), x(), y());
  std::array<bool, framesettings::BarCount> visible{};
  std::array<int, framesettings::PositionCount> pos{};
  for (int j = 0; j < framesettings::BarCount; ++j) {
    QToolBar* b = d_->bars[j];
    visible[j] = !b->isHidden();
    // A bar on screen tells where it stands; a hidden one keeps what was read or last seen.
    const bool seen = isVisible() && b->isVisible();
    const QRect g = b->geometry();
    const int values[4] = {g.x(), g.y(), g.width(), g.height()};
    const int count = j == 6 ? 4 : 2;
    for (int v = 0; v < count; ++v) {
      const int k = 2 * j + v;
      if (seen || !d_->positions[k]) d_->positions[k] = values[v];
      pos[k] = *d_->positions[k];
    }
  }
  Panels = framesettings::buildPanels(autoShow(), visible, pos);
}

void TMainForm::SaveSettings() {
  Registry reg(QString::fromLatin1(framesettings::RegistryKey));
  guard::run(this, [&] {
    if (!reg.openKey(true))
      dlg::message(this, QStringLiteral("Problem with key"), QStringLiteral("Сообщение"), dlg::Ok,
                   dlg::Warning);
    reg.writeString(QStringLiteral("Options"), Options);
    reg.writeString(QStringLiteral("Panels"), Panels);
    reg.writeString(QStringLiteral("RootDir"), RootDir);
    reg.writeString(QStringLiteral("State"), State);
  });
  reg.closeKey();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // Every child is asked before any of them closes: Cancel in one keeps all of them open
  // and the program running.
  QList<QPointer<QMdiSubWindow>> subs;
  for (QMdiSubWindow* s : mdi_->subWindowList(QMdiArea::CreationOrder)) subs << s;
  for (const auto& s : subs) {
    if (!s) continue;  // went with its owner while another window was asked
    auto* child = qobject_cast<TDocChild*>(s->widget());
    if (!child) continue;
    takeInOpenEditors(child);
    bool allow = false;
    guard::run(this, [&] { allow = child->FormCloseQuery(); });
    if (!allow) {
      event->ignore();
      return;
    }
  }
  // The layout as the user leaves it, with the windows still open.
  StoreLayout();
  // All answered: the windows close without being asked a second time.
  d_->closingAsked = true;
  bool closed = true;
  for (const auto& s : subs)
    if (s && !s->close()) closed = false;
  d_->closingAsked = false;
  if (!closed || !mdi_->subWindowList().isEmpty()) {
    event->ignore();
    return;
  }
  SaveSettings();
  event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close && d_->closingAsked) {
    if (auto* child = qobject_cast<TDocChild*>(watched)) {
      guard::run(this, [child] { child->FormClose(); });
      event->accept();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::takeInOpenEditors(QWidget* child) {
  // A cell still being typed belongs to the document the question is about. Only an editor
  // opened for typing counts; widgets placed in cells for good are not editing.
  struct EditingProbe : QAbstractItemView {
    static bool editing(const QAbstractItemView* v) {
      return (v->*(&EditingProbe::state))() == EditingState;
    }
  };
  for (QAbstractItemView* view : child->findChildren<QAbstractItemView*>()) {
    if (!EditingProbe::editing(view)) continue;
    const QModelIndex index = view->currentIndex();
    QWidget* editor = index.isValid() ? view->indexWidget(index) : nullptr;
    QAbstractItemDelegate* delegate = editor ? view->itemDelegateForIndex(index) : nullptr;
    if (delegate) emit delegate->commitData(editor);
  }
}

// ---------------------------------------------------------------- help

void TMainForm::ContentsClick() { help::show(this, d_->helpFile, help::Contents); }
void TMainForm::SearchforHelpOnClick() { help::show(this, d_->helpFile, help::PartialKey); }
void TMainForm::AboutClick() {
  TAboutBox box(this);
  box.exec();
}

void TMainForm::HowtouseClick() { help::show(this, d_->helpFile, help::HelpOnHelp); }
