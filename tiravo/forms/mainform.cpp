#include "tiravo/forms/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QHeaderView>
#include <algorithm>

#include "platform/dialogs.h"
#include "platform/docwindow.h"
#include "platform/guard.h"
#include "platform/help.h"
#include "platform/mdilayout.h"
#include "tiravo/forms/aboutbox.h"
#include "tiravo/forms/editform.h"
#include "tiravo/forms/errorview.h"
#include "tiravo/forms/frameglyphs.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/memory.h"
#include "tiravo/forms/tableform.h"

namespace tiravo {

int ActiveChildKind = 0;

namespace {
const QString kSkuFilter = QStringLiteral("Файл СКУ (*.sku)|*.sku|Все файлы|*.*");
const QString kLsaFilter = QStringLiteral("Файл ЛСА (*.lsa)|*.lsa|Все файлы|*.*");
const QString kOpenFilter = QStringLiteral(
    "Файлы программы|*.sku;*.lsa;*.rvs;*.tbl;*.gsa|Файл СКУ (*.sku)|*.sku|Файл РВАС (*.rvs)|*.rvs|"
    "Файл ЛСА (*.lsa)|*.lsa|Файл Таблицы переходов (*.tbl)|*.tbl|Файл ГСА (*.gsa)|*.gsa|Все файлы (*.*)|*.*");

// The extension of the file part of `path`, dot included, ASCII letters in lower case.
QString lowerExtension(const QString& path) {
  QString ext = docwin::extensionOf(path);
  for (QChar& c : ext)
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + 32);
  return ext;
}

// The windows File > Open makes, by the file's extension.
enum class Opens { Nothing, Sku, Rvas, Lsa, Flowchart, Table };

Opens opensAs(const QString& ext) {
  if (ext == QLatin1String(".sku")) return Opens::Sku;
  if (ext == QLatin1String(".rvs")) return Opens::Rvas;
  if (ext == QLatin1String(".lsa")) return Opens::Lsa;
  if (ext == QLatin1String(".gsa")) return Opens::Flowchart;
  if (ext == QLatin1String(".tbl")) return Opens::Table;
  return Opens::Nothing;
}

// A page control or a combo box hands the focus to a part of its own ("qt_tabwidget_tabbar"):
// the control meant is the nearest one, up to `top`, that carries one of our names.
QWidget* namedControl(QWidget* focused, QWidget* top) {
  for (QWidget* w = focused; w && w != top; w = w->parentWidget()) {
    const QString name = w->objectName();
    if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) return w;
  }
  return nullptr;
}

// A decimal number, or false when the text is not one.
bool decimal(const QString& text, int* value) {
  bool ok = false;
  *value = text.trimmed().toInt(&ok);
  return ok;
}
}  // namespace

// The owner-drawn panel: the percentage centred in its rectangle.
class ProgressPanel : public QWidget {
 public:
  explicit ProgressPanel(TMainForm* frame) : QWidget(frame), frame_(frame) { setFixedWidth(40); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QString text = frame_->progressText();
    const QFontMetrics fm(font());
    const QRect r = rect();
    const int x = r.left() + (r.right() - r.left()) / 2 - fm.horizontalAdvance(text) / 2;
    const int y = r.top() + (r.bottom() - r.top()) / 2 - fm.height() / 2;
    p.drawText(x, y + fm.ascent(), text);
  }

 private:
  TMainForm* frame_;
};

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Vexo"));
  resize(724, 493);
  mdi_ = new QMdiArea(this);
  setCentralWidget(mdi_);
  // Closing a window brings back the one that was active before it.
  mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) { childActivated(sub); });
  buildMenus();
  buildToolPanel();
  setFrameGlyphs(*this);
  buildStatusBar();
  clock = [] { return QTime::currentTime(); };
  timer_ = new QTimer(this);
  timer_->setInterval(1000);
  connect(timer_, &QTimer::timeout, this, [this] { Timer1Timer(); });
  timer_->start();
  // Yellow hints, as the program always had them.
  QPalette pal = QToolTip::palette();
  pal.setColor(QPalette::ToolTipBase, QColor(255, 255, 0));
  QToolTip::setPalette(pal);
  UpdateMenuItems();
}

TMainForm::~TMainForm() {
  // The children go with the frame; what they signal on the way must not reach it.
  mdi_->disconnect(this);
  for (QMdiSubWindow* sub : mdi_->subWindowList()) sub->disconnect(this);
}

void TMainForm::createStartupWindows() {
  createRvasSkuDialog(this);
  errorView();
  createSkuTblDialog(this);
  createDErrorDialog(this);
  createAddZDialog(this);
  memory();
}

TErrorView* TMainForm::errorView() {
  if (!errorView_) errorView_ = new TErrorView(this);
  return errorView_;
}

TMemory* TMainForm::memory() {
  if (!memory_) memory_ = new TMemory(this);
  return memory_;
}

QAction* TMainForm::addMenuItem(QMenu* menu, const QString& text, const QKeySequence& key,
                                const QString& hint, void (TMainForm::*handler)()) {
  QAction* a = menu->addAction(text);
  if (!key.isEmpty()) a->setShortcut(key);
  if (!hint.isEmpty()) a->setStatusTip(hint);
  connect(a, &QAction::triggered, this, [this, handler] { guard::run(this, [&] { (this->*handler)(); }); });
  return a;
}

void TMainForm::buildMenus() {
  fileMenu = new QMenu(QStringLiteral("&Файл"), this);
  QMenu* create = fileMenu->addMenu(QStringLiteral("Созд&ать"));
  create->menuAction()->setStatusTip(QStringLiteral("Создание новго файла"));
  addMenuItem(create, QStringLiteral("СКУ"), {}, QStringLiteral("Создание нового файла СКУ"),
              &TMainForm::NewSkuClick);
  addMenuItem(create, QStringLiteral("РВАС"), {}, QStringLiteral("Создание нового файла РВАС"),
              &TMainForm::NewRvasClick);
  addMenuItem(create, QStringLiteral("ЛСА"), {}, QStringLiteral("Создание нового файла ЛСА"),
              &TMainForm::NewLsaClick)
      ->setEnabled(false);
  addMenuItem(fileMenu, QStringLiteral("Создать таблицу"), QKeySequence(QStringLiteral("Shift+F4")),
              QStringLiteral("Создание новой таблицу переходов"), &TMainForm::NewTblClick);
  addMenuItem(fileMenu, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3),
              QStringLiteral("Открытие файла"), &TMainForm::FileOpenItemClick);
  fileMenu->addSeparator();
  addMenuItem(fileMenu, QStringLiteral("В&ыход"), {}, QStringLiteral("Выход из программы"),
              &TMainForm::FileExitItemClick);

  windowMenu = new QMenu(QStringLiteral("&Окно"), this);
  tileItem = addMenuItem(windowMenu, QStringLiteral("&Черепицей"), {},
                         QStringLiteral("Упорядочивание окон черепицей"), &TMainForm::WindowTileItemClick);
  cascadeItem =
      addMenuItem(windowMenu, QStringLiteral("&Каскадом"), {}, QStringLiteral("Упорядочивание окон каскадом"),
                  &TMainForm::WindowCascadeItemClick);
  arrangeItem = addMenuItem(windowMenu, QStringLiteral("&Упорядочить все"), {},
                            QStringLiteral("Упорядочивание значков"), &TMainForm::WindowArrangeItemClick);
  minimizeItem = addMenuItem(windowMenu, QStringLiteral("&Свернуть"), {},
                             QStringLiteral("Сворачивание всех окон"), &TMainForm::WindowMinimizeItemClick);
  windowMenu->addSeparator();
  memoryItem = addMenuItem(windowMenu, QStringLiteral("Память"), {}, {}, &TMainForm::miMemoryClick);
  // The list of MDI children follows the fixed items.
  connect(windowMenu, &QMenu::aboutToShow, this, [this] { fillWindowList(); });

  helpMenu = new QMenu(QStringLiteral("&Помощь"), this);
  addMenuItem(helpMenu, QStringLiteral("&Вызов справки"), {}, QStringLiteral("Вызов справки"),
              &TMainForm::Contents1Click);
  addMenuItem(helpMenu, QStringLiteral("&Поиск..."), {}, QStringLiteral("Поиск справки по ключевому слову"),
              &TMainForm::SearchforHelpOn1Click);
  addMenuItem(helpMenu, QStringLiteral("&О программе..."), {}, QStringLiteral("Сведения о программе"),
              &TMainForm::About1Click);
  addMenuItem(helpMenu, QStringLiteral("Как пользоваться справочником?"), {}, {}, &TMainForm::N3Click);
  mergeMenus(nullptr);
}

void TMainForm::fillWindowList() {
  for (QAction* a : windowList_) {
    windowMenu->removeAction(a);
    a->deleteLater();
  }
  windowList_.clear();
  const QList<QMdiSubWindow*> subs = mdi_->subWindowList();
  for (int i = 0; i < subs.size(); ++i) {
    QMdiSubWindow* sub = subs[i];
    QAction* a = windowMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(sub->windowTitle()));
    a->setCheckable(true);
    a->setChecked(sub == mdi_->activeSubWindow());
    connect(a, &QAction::triggered, this, [this, sub] { mdi_->setActiveSubWindow(sub); });
    windowList_.append(a);
  }
}

void TMainForm::buildToolPanel() {
  QToolBar* bar = addToolBar(QStringLiteral("Панель"));
  toolBar_ = bar;
  bar->setMovable(false);
  const auto button = [&](const QString& hint, void (TMainForm::*handler)()) {
    QAction* a = bar->addAction(hint);
    a->setToolTip(hint);
    a->setStatusTip(hint);
    connect(a, &QAction::triggered, this, [this, handler] { guard::run(this, [&] { (this->*handler)(); }); });
    return a;
  };
  OpenBtn = button(QStringLiteral("Открыть"), &TMainForm::FileOpenItemClick);
  SaveBtn = button(QStringLiteral("Сохранить"), &TMainForm::FileSaveItemClick);
  bar->addSeparator();
  NewSkuBtn = button(QStringLiteral("Создать СКУ"), &TMainForm::NewSkuClick);
  NewRvasBtn = button(QStringLiteral("Создать РВАС"), &TMainForm::NewRvasClick);
  NewLsaBtn = button(QStringLiteral("Создать ЛСА"), &TMainForm::NewLsaClick);
  NewLsaBtn->setEnabled(false);
  NewTblBtn = button(QStringLiteral("Создать таблицу"), &TMainForm::NewTblClick);
  NewGsaBtn = button(QStringLiteral("Создать ГСА"), &TMainForm::NewGSAClick);
  bar->addSeparator();
  CutBtn = button(QStringLiteral("Вырезать"), &TMainForm::CutItemClick);
  CopyBtn = button(QStringLiteral("Копировать"), &TMainForm::CopyItemClick);
  PasteBtn = button(QStringLiteral("Вставить"), &TMainForm::PasteItemClick);
  DeleteBtn = button(QStringLiteral("Удалить"), &TMainForm::Delete1Click);
  for (QAction* a : {CutBtn, CopyBtn, PasteBtn, DeleteBtn}) a->setEnabled(false);
  ComboBox1 = new QComboBox(bar);
  ComboBox1->setEditable(true);
  for (const char* s : {"8", "10", "12", "14", "16", "18", "20", "22", "24", "28", "36", "48", "72"})
    ComboBox1->addItem(QString::fromLatin1(s));
  ComboBox1->setCurrentText(QStringLiteral("10"));
  ComboBox1->setEnabled(false);
  connect(ComboBox1, &QComboBox::currentTextChanged, this,
          [this] { guard::run(this, [this] { Font3Click(); }); });
  bar->addWidget(ComboBox1);
  bar->addSeparator();
  ExitBtn = button(QStringLiteral("Выход"), &TMainForm::FileExitItemClick);
  AboutBtn = button(QStringLiteral("О программе"), &TMainForm::About1Click);
  AboutBtn->setStatusTip(QStringLiteral(" О программе"));
}

void TMainForm::buildStatusBar() {
  auto* compile = new QLabel(QStringLiteral("Компиляция"), this);
  compile->setFixedWidth(90);
  progressLabel_ = compile;
  progressPanel_ = new ProgressPanel(this);
  statusBar()->addWidget(compile);
  statusBar()->addWidget(progressPanel_);
  showProgressPanels(false);
}

QString TMainForm::progressText(int done, int total) {
  // A zero total has no share: "0%".
  const int percent = total == 0 ? 0 : int(double(done) / double(total) * 100.0);
  return QString::number(percent) + QLatin1Char('%');
}

void TMainForm::showProgressPanels(bool on) {
  if (on) statusBar()->clearMessage();
  progressLabel_->setVisible(on);
  progressPanel_->setVisible(on);
}

bool TMainForm::progressPanelsShown() const { return !progressPanel_->isHidden(); }

void TMainForm::repaintProgress() { progressPanel_->repaint(); }

QString TMainForm::hintText() const { return statusBar()->currentMessage(); }

void TMainForm::ShowHint(const QString& hint) {
  if (progressPanelsShown()) return;
  QStatusBar* bar = statusBar();
  bar->showMessage(hint);
  // A text longer than the bar is cut there; its tip shows it whole.
  const bool fits = bar->fontMetrics().horizontalAdvance(hint) <= bar->width() - 40;
  bar->setToolTip(fits ? QString() : hint);
}

void TMainForm::Timer1Timer() {
  const QTime t = clock();
  setWindowTitle(QStringLiteral("Vexo [%1:%2]").arg(t.hour()).arg(t.minute()));
}

// ---- children ----

QMdiSubWindow* TMainForm::addChild(TChildForm* child) {
  child->setFrame(this);  // before it is activated below
  if (child->hasFont()) enableFontSize();
  // The size the window was made with; the sub-window would otherwise shrink to the child's hint.
  const QSize designed = child->size().expandedTo(child->minimumSizeHint());
  QMdiSubWindow* sub = mdi_->addSubWindow(child);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(windowIcon());
  sub->setWindowTitle(child->windowTitle());
  connect(child, &QWidget::windowTitleChanged, sub, &QWidget::setWindowTitle);
  connect(sub, &QObject::destroyed, this,
          [this] { QTimer::singleShot(0, this, [this] { UpdateMenuItems(); }); });
  child->show();
  sub->show();
  sub->resize(sub->size() - child->size() + designed);
  docwin::placeInArea(mdi_, sub);
  mdi_->setActiveSubWindow(sub);
  UpdateMenuItems();
  return sub;
}

void TMainForm::fileCommand(FileCmd cmd) {
  switch (cmd) {
    case FileCmd::Open: FileOpenItemClick(); break;
    case FileCmd::NewSku: NewSkuClick(); break;
    case FileCmd::NewRvas: NewRvasClick(); break;
    case FileCmd::NewLsa: NewLsaClick(); break;
    case FileCmd::NewTable: NewTblClick(); break;
    case FileCmd::Exit: FileExitItemClick(); break;
  }
}

void TMainForm::setProgress(int done, int total) {
  ProgressTotal = total;
  ProgressDone = done;
  repaintProgress();
}

void TMainForm::enableFontSize() { ComboBox1->setEnabled(true); }

void TMainForm::setClipboardCommands(bool selected, bool canPaste) {
  PasteBtn->setEnabled(canPaste);
  for (QAction* a : {CutBtn, CopyBtn, DeleteBtn}) a->setEnabled(selected);
}

TChildForm* TMainForm::activeChild() const {
  QMdiSubWindow* sub = mdi_->activeSubWindow();
  return sub ? qobject_cast<TChildForm*>(sub->widget()) : nullptr;
}

void TMainForm::childActivated(QMdiSubWindow* sub) {
  auto* child = sub ? qobject_cast<TChildForm*>(sub->widget()) : nullptr;
  if (child) guard::run(this, [child] { child->FormActivate(); });
  mergeMenus(child);
  UpdateMenuItems();
}

void TMainForm::mergeMenus(TChildForm* child) {
  const QList<QMenu*> own = child ? child->menus() : QList<QMenu*>();
  QList<QMenu*> menus;
  if (own.isEmpty())
    menus << fileMenu;
  else
    menus << own;
  menus << windowMenu << helpMenu;
  if (menus == barMenus_) return;
  menuBar()->clear();
  for (QMenu* m : menus) menuBar()->addMenu(m);
  barMenus_ = menus;
  setMenuGlyphs(*this);
}

QList<QMenu*> TMainForm::menuBarMenus() const { return barMenus_; }

void TMainForm::UpdateMenuItems() {
  const bool any = !mdi_->subWindowList().isEmpty();
  SaveBtn->setEnabled(any);
  for (QAction* a : {tileItem, cascadeItem, arrangeItem, minimizeItem}) a->setEnabled(any);
  ComboBox1->setEnabled(any);
  if (!any) mergeMenus(nullptr);
}

TEditForm* TMainForm::newEditor(int kind) {
  auto* e = new TEditForm;
  e->setEditKind(kind, kind == TEditForm::Sku ? kSkuFilter : kind == TEditForm::Lsa ? kLsaFilter : QString());
  if (kind == TEditForm::Sku) {
    e->setWindowTitle(QStringLiteral("Untitled - редактор СКУ"));
    e->setLines({QStringLiteral("sku:"), QString(), QStringLiteral("svf:")});
    e->setModified(false);
  } else if (kind == TEditForm::Lsa) {
    e->setWindowTitle(QStringLiteral("Untitled - редактор ЛСА"));
  }
  EditForm = e;
  addChild(e);
  return e;
}

TVexoTableForm* TMainForm::newTable() {
  auto* t = new TVexoTableForm;
  TableForm = t;
  addChild(t);
  return t;
}

void TMainForm::NewRvasClick() { newEditor(TEditForm::Rvas); }
void TMainForm::NewSkuClick() { newEditor(TEditForm::Sku); }
void TMainForm::NewLsaClick() { newEditor(TEditForm::Lsa); }
void TMainForm::NewTblClick() { newTable(); }

void TMainForm::NewGSAClick() {
  dlg::message(this, QStringLiteral("В данной версии программы работа с ГСА не поддерживается!"),
               QStringLiteral("Сообщение от разработчиков"), dlg::Ok, dlg::Information);
}

bool TMainForm::openDocument(const QString& path) {
  const Opens kind = opensAs(lowerExtension(path));
  if (kind == Opens::Sku || kind == Opens::Rvas || kind == Opens::Lsa) {
    // A file that cannot be read (reported by the editor) leaves no window.
    TEditForm* e = newEditor(kind == Opens::Sku    ? TEditForm::Sku
                             : kind == Opens::Rvas ? TEditForm::Rvas
                                                   : TEditForm::Lsa);
    if (!e->LoadFile(path)) {
      e->setModified(false);
      e->parentWidget()->close();
      return false;
    }
    return true;
  }
  if (kind == Opens::Flowchart) {
    NewGSAClick();
    return true;
  }
  if (kind == Opens::Table) {
    TVexoTableForm* t = newTable();
    if (!t->Open(path)) {
      t->document()->setModified(false);
      t->parentWidget()->close();
      return false;
    }
    return true;
  }
  return false;
}

void TMainForm::FileOpenItemClick() {
  for (;;) {
    const QString path = dlg::openFile(this, kOpenFilter);
    if (path.isEmpty()) return;
    const QString ext = lowerExtension(path);
    if (opensAs(ext) != Opens::Nothing) {
      openDocument(path);
      return;
    }
    const int answer = dlg::message(
        this, QStringLiteral("Расширение ") + ext + QStringLiteral(" программой не поддерживается"),
        QStringLiteral("Ошибка"), dlg::Ok | dlg::Cancel, dlg::Warning);
    if (answer != dlg::Ok) return;
  }
}

void TMainForm::FileExitItemClick() { close(); }

template <class Window>
Window* TMainForm::activeAs(int kind) const {
  if (ActiveChildKind != kind) return nullptr;
  return qobject_cast<Window*>(activeChild());
}

template <class EditHandler, class TableHandler>
void TMainForm::route(EditHandler onEditor, TableHandler onTable) {
  if (auto* e = activeAs<TEditForm>(3))
    (e->*onEditor)();
  else if (auto* t = activeAs<TVexoTableForm>(5))
    (t->*onTable)();
}

void TMainForm::FileSaveItemClick() { route(&TEditForm::Save1Click, &TVexoTableForm::Save1Click); }
void TMainForm::CutItemClick() { route(&TEditForm::Cut1Click, &TVexoTableForm::Cut1Click); }
void TMainForm::CopyItemClick() { route(&TEditForm::Copy1Click, &TVexoTableForm::Copy1Click); }
void TMainForm::PasteItemClick() { route(&TEditForm::Paste1Click, &TVexoTableForm::Paste1Click); }

void TMainForm::Delete1Click() {
  if (auto* e = activeAs<TEditForm>(3)) e->Delete1Click();
}

void TMainForm::showFontSize(int size) {
  const QSignalBlocker block(ComboBox1);
  ComboBox1->setCurrentText(QString::number(size));
}

void TMainForm::Font3Click() {
  int n = 0;
  // A text that is not a number (typed into the box) changes nothing.
  if (!decimal(ComboBox1->currentText(), &n) || n <= 0) return;
  TChildForm* child = activeChild();
  if (!child) return;
  switch (ActiveChildKind) {
    case 3:
      if (auto* e = qobject_cast<TEditForm*>(child)) e->setFontSize(n);
      return;
    case 5:
      if (auto* t = qobject_cast<TVexoTableForm*>(child)) t->setFontSize(n);
      return;
    case 7: {
      // The simulator, determinizer and browser windows have no font of their own: the box
      // sizes the focused control, chosen by the first letter of its name as the program always
      // did (names starting P, e, l, m, p take the size; s, the grids, also get taller rows).
      // It is the names, kept from the old forms, that decide: a renamed control changes this.
      QWidget* focused = namedControl(child->focusWidget(), child);
      const QString name = focused ? focused->objectName() : QString();
      statusBar()->showMessage(QLatin1Char('[') + name + QLatin1Char(']'));
      const QChar first = name.isEmpty() ? QChar() : name[0];
      if (first == QLatin1Char('P') || first == QLatin1Char('e') || first == QLatin1Char('l') ||
          first == QLatin1Char('m') || first == QLatin1Char('p')) {
        QFont f = focused->font();
        f.setPointSize(n);
        focused->setFont(f);
      } else if (first == QLatin1Char('s')) {
        QFont f = focused->font();
        f.setPointSize(n);
        focused->setFont(f);
        if (auto* grid = qobject_cast<QTableView*>(focused)) {
          grid->verticalHeader()->setDefaultSectionSize(int(n * 1.4 + n));
          grid->viewport()->update();
        }
      } else {
        dlg::message(this, QStringLiteral("Изменение размера шрифта для данного элемента не поддерживается"),
                     QStringLiteral("Сообщение"), dlg::Ok, dlg::Warning);
      }
      return;
    }
    default:
      // The caption is the program's own joke, kept as users have always seen it.
      dlg::message(this, QStringLiteral("Изменение размера шрифта не поддерживается"),
                   QStringLiteral("Обломись!"), dlg::Ok, dlg::Warning);
  }
}

// The area's own tiling grows the frame until every window gets its least size; ours keeps the frame.
void TMainForm::WindowTileItemClick() { docwin::tileArea(mdi_); }
void TMainForm::WindowCascadeItemClick() { mdi_->cascadeSubWindows(); }
// The MDI area lines up minimised children by itself; arranging them again does the same.
void TMainForm::WindowArrangeItemClick() {
  for (QMdiSubWindow* sub : mdi_->subWindowList())
    if (sub->isMinimized()) sub->showMinimized();
}
void TMainForm::WindowMinimizeItemClick() {
  const QList<QMdiSubWindow*> subs = mdi_->subWindowList(QMdiArea::CreationOrder);
  for (int i = subs.size() - 1; i >= 0; --i) subs[i]->showMinimized();
}

void TMainForm::miMemoryClick() {
  // The menu bar and the tool panel lie together at the top of the frame.
  const QRect bars = menuBar()->geometry().united(toolBar_->geometry());
  memory()->showCentred(QRect(mapToGlobal(bars.topLeft()), bars.size()));
}

void TMainForm::About1Click() {
  TAboutBox box(this);
  box.exec();
}

void TMainForm::setUpApplication() {
  // The application's title (the caption of boxes that have none) and its help file.
  QCoreApplication::setApplicationName(QStringLiteral("Vexo"));
  help::setApplicationHelpFile(QStringLiteral("Tiravo.hlp"));
}

void TMainForm::Contents1Click() { help::show(this, help::Contents, 0); }
void TMainForm::SearchforHelpOn1Click() { help::show(this, help::PartialKey, 0); }
void TMainForm::N3Click() { help::show(this, help::HelpOnHelp, 0); }

void TMainForm::closeEvent(QCloseEvent* event) {
  // Every child is asked before any of them closes: the first Cancel keeps all of them open,
  // and the program with them.
  const bool asked = docwin::askEveryChild(mdi_, [this](QWidget* w) {
    auto* child = qobject_cast<TChildForm*>(w);
    bool allow = true;
    if (child) guard::run(this, [&] { allow = child->FormCloseQuery(); });
    return allow;
  });
  // All answered: the windows close without being asked a second time.
  if (!asked || !docwin::closeEveryChild(mdi_, [](QWidget*) {})) {
    event->ignore();
    return;
  }
  event->accept();
}

bool TMainForm::event(QEvent* e) {
  // Hints of menus and buttons go to the status bar as the simple text.
  if (e->type() == QEvent::StatusTip) {
    ShowHint(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  return QMainWindow::event(e);
}

}  // namespace tiravo
