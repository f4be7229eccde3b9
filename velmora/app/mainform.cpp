#include "velmora/app/mainform.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>

#include "mainform_p.h"
#include "platform/dialogs.h"
#include "platform/docwindow.h"
#include "platform/guard.h"
#include "platform/mdilayout.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/app/frameglyphs.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/editform.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"
#include "velmora/flowchart/gsaform.h"

namespace velmora {

// The frame itself: construction, the children and what the frame does for them, the status
// bar, File > Open and New, and the exit. Actions, menus and bars are in mainform_actions.cpp,
// enabling and routing in mainform_dispatch.cpp, layout, settings and help in
// mainform_settings.cpp.

namespace {

const char* const kOpenFilter =
    "Файлы программы|*.sku;*.lsa;*.rvs;*.tbl;*.gsa;*.rtf|Файл СКУ (*.sku)|*.sku|"
    "Файл РВАС (*.rvs)|*.rvs|Файл ГСА (*.gsa)|*.gsa|Файл Таблицы переходов (*.tbl)|*.tbl|"
    "Текстовый файл (*.rtf)|*.rtf|Текстовый файл (*.txt)|*.txt|Все файлы (*.*)|*.*";

// The part of the file name from its last dot, dot included, in lower case.
QString lowerExtension(const QString& path) { return docwin::extensionOf(path).toLower(); }

// The windows File > Open makes, by the file's extension.
enum class Opens { Nothing, Sku, Rvas, Text, Flowchart, Table };

Opens opensAs(const QString& ext) {
  if (ext == QLatin1String(".sku")) return Opens::Sku;
  if (ext == QLatin1String(".rvs")) return Opens::Rvas;
  if (ext == QLatin1String(".txt")) return Opens::Text;
  if (ext == QLatin1String(".gsa")) return Opens::Flowchart;
  if (ext == QLatin1String(".tbl")) return Opens::Table;
  return Opens::Nothing;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), d_(std::make_unique<Private>()) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Vexo"));
  setAttribute(Qt::WA_DeleteOnClose, false);

  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("mdiArea"));
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  // Closing a window brings back the one that was active before it.
  mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
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
  UpdateCommands();
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
}

// ---------------------------------------------------------------- status bar

void TMainForm::createStatusBar() {
  QStatusBar* sb = statusBar();
  sb->setSizeGripEnabled(true);
  // The bar's simple text (the flowchart's cell under the pointer) takes the whole bar in
  // place of the panels while it is shown; the panels come back where they were, with what the
  // windows put there meanwhile.
  simpleText_ = new QLabel;
  simpleText_->setObjectName(QStringLiteral("StatusSimpleText"));
  simpleText_->hide();
  sb->addWidget(simpleText_, 1);
  const int widths[4] = {55, 55, 95, 40};
  for (int i = 0; i < 4; ++i) {
    auto* l = new QLabel;
    l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    if (i < 3) {
      // A panel grows to show a longer text whole (a line number of a large text, a note).
      l->setAlignment(Qt::AlignCenter);
      l->setMinimumWidth(widths[i]);
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
  const bool simple = !text.isEmpty();
  for (QLabel* panel : panels_) panel->setVisible(!simple);
  simpleText_->setVisible(simple);
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
  if (auto* text = qobject_cast<TTxtForm*>(child))
    lastTxtForm = text;
  else if (auto* edit = qobject_cast<TEditForm*>(child))
    lastEditForm = edit;
  else if (auto* gsa = qobject_cast<TGSAForm*>(child))
    lastGsaForm = gsa;
  else if (auto* table = qobject_cast<TVexoTableForm*>(child))
    lastTableForm = table;
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
  if (ownerObject) {
    // A window owned by another goes with it, without being asked.
    QPointer<QMdiSubWindow> guarded(sub);
    connect(ownerObject, &QObject::destroyed, sub, [guarded] { delete guarded.data(); });
  }
  child->show();
  sub->show();
  docwin::placeInArea(mdi_, sub);
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
  // Only the window the commands go to switches them, and only those it takes.
  const TDocChild* child = commandTaker();
  if (enabled && !(child && child->handles(cmd))) enabled = false;
  if (QAction* a = commandAction(cmd)) a->setEnabled(enabled);
  if (cmd == FrameCmd::Save) UpdateSaveButton();
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
  ChildKind = ckNone;
  UpdateChildActions();
  UpdateMenuItems();
}

// ---------------------------------------------------------------- File

void TMainForm::FileOpenItemClick() {
  for (;;) {
    const QString path = dlg::openFile(this, QString::fromUtf8(kOpenFilter));
    if (path.isEmpty()) return;
    const QString ext = lowerExtension(path);
    if (opensAs(ext) != Opens::Nothing) {
      openDocument(path);
      return;
    }
    const int r = dlg::message(
        this, QStringLiteral("Расширение ") + ext + QStringLiteral(" программой не поддерживается"),
        QStringLiteral("Ошибка"), dlg::Ok | dlg::Cancel, dlg::Warning);
    if (r != dlg::Ok) return;
  }
}

TDocChild* TMainForm::openDocument(const QString& path) {
  const QString ext = lowerExtension(path);
  switch (opensAs(ext)) {
    case Opens::Sku: return creators.edit(1, path);
    case Opens::Rvas: return creators.edit(0, path);
    case Opens::Text: return creators.text(path);
    case Opens::Flowchart: return creators.gsa(path);
    case Opens::Table: return creators.table(path);
    case Opens::Nothing: break;
  }
  dlg::message(this, QStringLiteral("Расширение ") + ext + QStringLiteral(" программой не поддерживается"),
               QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
  return nullptr;
}

void TMainForm::NewTxtClick() { creators.text(QString()); }
void TMainForm::NewRvasClick() { creators.edit(0, QString()); }
void TMainForm::NewSkuClick() { creators.edit(1, QString()); }
void TMainForm::NewGSAClick() { creators.gsa(QString()); }
void TMainForm::NewTblClick() { creators.table(QString()); }
void TMainForm::FileExitItemClick() { close(); }

// ---------------------------------------------------------------- exit

void TMainForm::closeEvent(QCloseEvent* event) {
  // Every child is asked before any of them closes: Cancel in one keeps all of them open
  // and the program running.
  const bool asked = docwin::askEveryChild(mdi_, [this](QWidget* w) {
    auto* child = qobject_cast<TDocChild*>(w);
    if (!child) return true;
    child->commitPendingEdit();
    bool allow = false;
    guard::run(this, [&] { allow = child->FormCloseQuery(); });
    return allow;
  });
  if (!asked) {
    event->ignore();
    return;
  }
  // The layout as the user leaves it, with the windows still open.
  StoreLayout();
  // All answered: the windows close without being asked a second time.
  const bool closed = docwin::closeEveryChild(mdi_, [this](QWidget* w) {
    if (auto* child = qobject_cast<TDocChild*>(w)) guard::run(this, [child] { child->FormClose(); });
  });
  if (!closed) {
    event->ignore();
    return;
  }
  SaveSettings();
  event->accept();
}

}  // namespace velmora
