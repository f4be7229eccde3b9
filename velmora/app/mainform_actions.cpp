#include "velmora/app/mainform.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <algorithm>
#include <vector>

#include "mainform_p.h"
#include "platform/guard.h"
#include "platform/mdilayout.h"
#include "velmora/app/frameglyphs.h"

namespace velmora {

// The frame's actions, menus and tool bars, and the commands of "&Окно" and
// "&Панели инструментов".

namespace {

// Hints are "short|long": the tool tip shows the short part, the status bar the long one.
void setHint(QAction* a, const QString& hint) {
  const int bar = hint.indexOf(QLatin1Char('|'));
  const QString shortPart = bar < 0 ? hint : hint.left(bar);
  const QString longPart = bar < 0 ? hint : hint.mid(bar + 1);
  a->setToolTip(shortPart);
  a->setStatusTip(longPart.isEmpty() ? shortPart : longPart);
}

}  // namespace

// ---------------------------------------------------------------- actions

void TMainForm::createActions() {
  auto make = [this](const char* name, const QString& caption, const QString& hint, bool enabled,
                     void (TMainForm::*handler)() = nullptr) {
    auto* a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    setHint(a, hint);
    a->setEnabled(enabled);
    if (handler)
      connect(a, &QAction::triggered, this,
              [this, handler] { guard::run(this, [&] { (this->*handler)(); }); });
    return a;
  };
  // A frame command routed to the active child, when it takes it; enabled by the same
  // declaration (UpdateChildActions).
  auto routed = [this, &make](const char* name, const QString& caption, const QString& hint, bool enabled,
                              FrameCmd cmd) {
    QAction* a = make(name, caption, hint, enabled);
    connect(a, &QAction::triggered, this, [this, a, cmd] { guard::run(this, [&] { dispatch(cmd, a); }); });
    return a;
  };

  EditCutAction = routed("EditCutAction", QStringLiteral("&Вырезать"),
                         QStringLiteral("Вырезать|Вырезать выделенное в буфер обмена"), true, FrameCmd::Cut);
  EditCutAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
  EditCopyAction =
      routed("EditCopyAction", QStringLiteral("&Копировать"),
             QStringLiteral("Копировать|Копировать выделенное в буфер обмена"), true, FrameCmd::Copy);
  EditCopyAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
  EditPasteAction = routed("EditPasteAction", QStringLiteral("Вст&авить"),
                           QStringLiteral("Вставить|Вставить из буфера обмена"), true, FrameCmd::Paste);
  EditPasteAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
  EditDelAction = routed("EditDelAction", QStringLiteral("&Удалить"),
                         QStringLiteral("Удалить|Удалить выделенное"), true, FrameCmd::Delete);
  // The shortcuts work while their bar is hidden too.
  addActions({EditCutAction, EditCopyAction, EditPasteAction});

  openFileAction = make("openFileAction", QStringLiteral("&Открыть"), QStringLiteral("Открыть|Открыть файл"),
                        true, &TMainForm::FileOpenItemClick);
  saveFileAction =
      make("saveFileAction", QStringLiteral("&Сохранить"),
           QStringLiteral("Сохранить|Сохранить активный документ"), true, &TMainForm::FileSaveItemClick);
  newRvasAction = make("newRvasAction", QStringLiteral("&РВАС"),
                       QStringLiteral("РВАС|Создать описание на РВАС"), true, &TMainForm::NewRvasClick);
  newSkuAction = make("newSkuAction", QStringLiteral("&СКУ"), QStringLiteral("СКУ|Создать описание на СКУ"),
                      true, &TMainForm::NewSkuClick);
  newGsaAction = make("newGsaAction", QStringLiteral("&ГСА"), QStringLiteral("ГСА|Создать ГСА"), true,
                      &TMainForm::NewGSAClick);
  newTblAction =
      make("newTblAction", QStringLiteral("Таблицу &переходов"),
           QStringLiteral("Таблица переходов|Создать таблицу переходов"), true, &TMainForm::NewTblClick);
  newTxtAction = make("newTxtAction", QStringLiteral("&Текстовый файл"),
                      QStringLiteral("Текстовый файл|Создать текстовый файл"), true, &TMainForm::NewTxtClick);
  exitAction =
      make("exitAction", QStringLiteral("В&ыход"), QStringLiteral("Выход|Завершить работу с программой"),
           true, &TMainForm::FileExitItemClick);

  CompileAction =
      routed("CompileAction", QStringLiteral("&Проверка синтаксиса"),
             QStringLiteral("Проверка синтаксиса|Проверить синтаксис описания"), false, FrameCmd::Compile);
  ToSkuAction = routed("ToSkuAction", QStringLiteral("Перевод в &СКУ"),
                       QStringLiteral("Перевод в СКУ|Перевести описание в СКУ"), false, FrameCmd::ToSku);
  ToTblAction = routed("ToTblAction", QStringLiteral("Перевод в &таблицу"),
                       QStringLiteral("Перевод в таблицу|Перевести описание в таблицу переходов"), false,
                       FrameCmd::ToTbl);

  AddStrAction = routed("AddStrAction", QStringLiteral("&Добавить строку"),
                        QStringLiteral("Добавить строку|Добавить строку в конец"), false, FrameCmd::AddStr);
  InsStrAction =
      routed("InsStrAction", QStringLiteral("&Вставить строку"),
             QStringLiteral("Вставить строку|Вставить строку перед текущей"), false, FrameCmd::InsStr);
  DelStrAction = routed("DelStrAction", QStringLiteral("&Удалить строку"),
                        QStringLiteral("Удалить строку|Удалить текущую строку"), false, FrameCmd::DelStr);
  OaCallAction =
      routed("OaCallAction", QStringLiteral("Вызов &ОА"),
             QStringLiteral("Вызов ОА|Вызвать редактор операционного автомата"), false, FrameCmd::OaCall);
  ReportAction = routed("ReportAction", QStringLiteral("Отчет"), QStringLiteral("Отчет|Построить отчет"),
                        false, FrameCmd::Report);

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
    QAction* a = routed(gsa[i].name, caption, caption, false, del ? FrameCmd::GsaDelete : FrameCmd::GsaPlace);
    a->setCheckable(true);
    gsaGroup->addAction(a);
    gsaActions << a;
  }
  gsaActions.first()->setChecked(true);

  ModelOpenAction =
      routed("ModelOpenAction", QStringLiteral("Открыть|"),
             QStringLiteral("Открыть|Открыть файл входных воздействий"), false, FrameCmd::ModelOpen);
  ModelSaveAction =
      routed("ModelSaveAction", QStringLiteral("Сохранить|"),
             QStringLiteral("Сохранить|Сохранить файл входных воздействий"), false, FrameCmd::ModelSave);
  // The begin button runs nothing (no window takes it), so it stays off; the step, pause, play
  // and stop buttons run the joint model's Шаг, Пауза, Пуск and Сброс, and that window enables
  // them as it does those.
  ModelBegAction = make("ModelBegAction", QStringLiteral("Начальное событие"),
                        QStringLiteral("Начальное событие|Установить начальное событие"), false, nullptr);
  ModelBusAction = routed("ModelBusAction", QStringLiteral("Установка шин"),
                          QStringLiteral("Установка шин|Установить значения шин"), false, FrameCmd::ModelBus);
  ModelStepAction = routed("ModelStepAction", QStringLiteral("Шаг"),
                           QStringLiteral("Шаг|Один шаг моделирования"), false, FrameCmd::ModelStep);
  ModelPauseAction =
      routed("ModelPauseAction", QStringLiteral("Моделирование"),
             QStringLiteral("Моделирование|Приостановить моделирование"), false, FrameCmd::ModelPause);
  ModelPlayAction = routed("ModelPlayAction", QStringLiteral("ModelPlayAction"),
                           QStringLiteral("Пуск|Запустить моделирование"), false, FrameCmd::ModelPlay);
  ModelStopAction = routed("ModelStopAction", QStringLiteral("ModelStopAction"),
                           QStringLiteral("Стоп|Остановить моделирование"), false, FrameCmd::ModelStop);

  BinAction = routed("BinAction", QStringLiteral("&Двоичное"),
                     QStringLiteral("Двоичное|Двоичное представление регистров"), true, FrameCmd::Bin);
  HexAction = routed("HexAction", QStringLiteral("&Шестнадцетиричное"),
                     QStringLiteral("Шестнадцетиричное|Шестнадцатеричное представление регистров"), true,
                     FrameCmd::Hex);
  DecAction = routed("DecAction", QStringLiteral("Д&есятичное"),
                     QStringLiteral("Десятичное|Десятичное представление регистров"), true, FrameCmd::Dec);
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
  const char* const barItems[] = {"&Файл",          "&Редактирование",         "&ГСА", "&Таблица", "&Перевод",
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
      QToolBar* inMenuOrder[7] = {fileToolBar,  editToolBar,  gsaToolBar, tblToolBar,
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
  arrangeItem =
      windowMenu->addAction(QStringLiteral("&Упорядочить все"), this, &TMainForm::WindowArrangeItemClick);
  minimizeItem =
      windowMenu->addAction(QStringLiteral("&Свернуть"), this, &TMainForm::WindowMinimizeItemClick);
  connect(windowMenu, &QMenu::aboutToShow, this, &TMainForm::rebuildWindowList);

  helpMenu = new QMenu(QStringLiteral("&Помощь"), this);
  helpMenu->setObjectName(QStringLiteral("helpMenu"));
  helpContentsItem = helpMenu->addAction(QStringLiteral("&Вызов справки"), this, &TMainForm::ContentsClick);
  helpSearchItem = helpMenu->addAction(QStringLiteral("&Поиск..."), this, &TMainForm::SearchforHelpOnClick);
  aboutItem = helpMenu->addAction(QStringLiteral("&О программе..."), this, &TMainForm::AboutClick);
  howToUseItem =
      helpMenu->addAction(QStringLiteral("Как пользоваться справочником?"), this, &TMainForm::HowtouseClick);
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

// ---------------------------------------------------------------- tool bars

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
  for (QAction* a : {ModelOpenAction, ModelSaveAction, ModelBegAction, ModelBusAction, ModelStepAction,
                     ModelPauseAction, ModelPlayAction, ModelStopAction})
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

// ---------------------------------------------------------------- windows

void TMainForm::WindowCascadeItemClick() { mdi_->cascadeSubWindows(); }
// The area's own tiling grows the frame until every window gets its least size; ours keeps the frame.
void TMainForm::WindowTileItemClick() { docwin::tileArea(mdi_); }

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
  QToolBar* inMenuOrder[7] = {fileToolBar,  editToolBar,  gsaToolBar, tblToolBar,
                              transToolBar, modelToolBar, regToolBar};
  for (int i = 0; i < 7; ++i) toolBarItems[i]->setChecked(!inMenuOrder[i]->isHidden());
}

void TMainForm::toggleToolBar(QToolBar* bar) {
  bar->setVisible(bar->isHidden());
  QToolBar* inMenuOrder[7] = {fileToolBar,  editToolBar,  gsaToolBar, tblToolBar,
                              transToolBar, modelToolBar, regToolBar};
  for (int i = 0; i < 7; ++i)
    if (inMenuOrder[i] == bar) toolBarItems[i]->setChecked(!bar->isHidden());
}

// The menu item toggles its own check; this is the same for callers outside the menu.
void TMainForm::mAutoShowClick() { autoShowItem->setChecked(!autoShowItem->isChecked()); }

bool TMainForm::autoShow() const { return autoShowItem->isChecked(); }

}  // namespace velmora
