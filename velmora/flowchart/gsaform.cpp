#include "velmora/flowchart/gsaform.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QSplitter>
#include <QVBoxLayout>

#include "platform/dialogs.h"
#include "platform/guard.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/flowchart/blockdialogs.h"
#include "velmora/flowchart/core/gsafile.h"
#include "velmora/flowchart/gsaconvert.h"
#include "velmora/flowchart/gsagridview.h"

namespace velmora {

namespace {

const char kUntitled[] = "Untitled";
const char kFilter[] = "Граф-схема алгоритма (*.gsa)|*.gsa";
const char kChanged[] = "Изменен";

// The delete tool's cursor, our own picture; its hot spot is the arrow's tip.
const QCursor& deleteCursor() {
  static const QCursor cursor(QPixmap(QStringLiteral(":/DELCURSOR")), 0, 0);
  return cursor;
}

bool isCtrlX(const QKeyEvent* e) {
  return e->key() == Qt::Key_X && (e->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

}  // namespace

TGSAForm::TGSAForm(QWidget* parent)
    : TDocChild(parent), fileName(QString::fromLatin1(kUntitled)), dialogs_(new DialogAsker(this)) {
  setObjectName(QStringLiteral("GSAForm"));
  setWindowTitle(fileName);
  asker = dialogs_.get();
  resize(640, 420);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setChildrenCollapsible(false);
  GSAGrid = new GsaGridView(&editor.doc.grid, splitter_);
  MessageList = new QListWidget(splitter_);
  MessageList->setObjectName(QStringLiteral("MessageList"));
  MessageList->setMinimumHeight(10);
  MessageList->hide();
  splitter_->addWidget(GSAGrid);
  splitter_->addWidget(MessageList);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  layout->addWidget(splitter_);
  setFocusProxy(GSAGrid);
  GSAGrid->installEventFilter(this);
  MessageList->installEventFilter(this);

  GSAGrid->mouseDown = [this](Qt::MouseButton b, int col, int row) {
    guard::run(this, [&] { GSAGridMouseDown(b, col, row); });
  };
  GSAGrid->mouseMove = [this](int col, int row) { GSAGridMouseMove(col, row); };
  GSAGrid->mouseLeft = [this] { leaveGrid(); };
  connect(MessageList, &QListWidget::itemDoubleClicked, this,
          [this] { guard::run(this, [this] { MessageListDblClick(); }); });
  buildMenus();

  GSAGrid->selectCell(0, 0);
  takeOptions();
  chooseTool(GsaTool::Start);
}

void TGSAForm::attachedToFrame() {
  // A new flowchart starts with the start tool on the frame's bar and shows its font size.
  chooseTool(tool_);
  docwin::showFontSize(this, GSAGrid->cellFontSize());
}

TGSAForm::~TGSAForm() = default;

void TGSAForm::buildMenus() {
  using docwin::addItem;
  mFile_ = docwin::fileMenu(
      this, QStringLiteral("Создать"), false,
      {[this] { docwin::closeWindow(this); }, [this] { Save1Click(); }, [this] { Saveas1Click(); }});
  mFile_->addSeparator();
  mFile_->addAction(QStringLiteral("В&ыход"));  // has no command

  mEdit_ = new QMenu(QStringLiteral("&Правка"), this);
  UndoItem = addItem(this, mEdit_, QStringLiteral("&Отменить"), QKeySequence(QStringLiteral("Ctrl+Z")),
                     [this] { UndoItemClick(); });
  UndoItem->setEnabled(false);
  AddLineItem = addItem(this, mEdit_, QStringLiteral("&Добавить строку"),
                        QKeySequence(QStringLiteral("Ctrl+A")), [this] { AddLineClick(); });
  // Ctrl+X is also the frame's cut, which has nothing to cut here: the key is taken from the
  // grid and the pane (see eventFilter) so that it clears.
  ClearItem = addItem(this, mEdit_, docwin::withKeyText(QStringLiteral("О&чистить ГСА"), "Ctrl+X"), {},
                      [this] { ClearGSAClick(); });

  mTrans_ = new QMenu(QStringLiteral("Пре&образования"), this);
  ToTblItem =
      addItem(this, mTrans_, QStringLiteral("Перевод в Таблицу &переходов"), {}, [this] { ToTblClick(); });
}

void TGSAForm::takeOptions() {
  if (!OptionsForm) return;
  // Every new flowchart starts from the stored defaults.
  OptionsForm->LoadOptions();
  QChar* letters[5] = {&settings.InAbstr, &settings.InDigit, &settings.OutSgn, &settings.InSob,
                       &settings.OutSob};
  for (int i = 0; i < 5; ++i) *letters[i] = OptionsForm->letter(i);
  settings.RvasS0 = OptionsForm->rvasS0();
  GsaDocument& d = editor.doc;
  d.userNaming = !OptionsForm->autoNum();
  d.trackFigures = OptionsForm->trackFig();
  d.moveEvents = OptionsForm->moveEvent();
  d.y0 = OptionsForm->begSignal();
  d.yk = OptionsForm->endSignal();
  d.s0 = OptionsForm->begName();
  d.sk = OptionsForm->endName();
  d.eventLetter = OptionsForm->inSob();
  d.outputLetter = OptionsForm->outSgn();
}

FrameHandlers TGSAForm::frameHandlers() {
  return {{FrameCmd::Save, [this](QObject*) { Save1Click(); }},
          {FrameCmd::AddStr, [this](QObject*) { AddLineClick(); }},
          {FrameCmd::ToTbl, [this](QObject*) { ToTblClick(); }},
          {FrameCmd::GsaPlace, [this](QObject*) { BegButtonClick(); }},
          {FrameCmd::GsaDelete, [this](QObject*) { CursButtonClick(); }},
          {FrameCmd::Options, [this](QObject*) { mOptionsClick(); }},
          {FrameCmd::ShowMessages, [this](QObject*) { MessageClick(); }}};
}

bool TGSAForm::setFontSize(int size) {
  GSAGrid->setCellFont(size);
  return true;
}

// ---------------------------------------------------------------- tools and mouse

GsaTool TGSAForm::currentTool() const {
  if (frame()) {
    const int i = frame()->gsaTool();
    if (i >= 0) return static_cast<GsaTool>(i);
  }
  return tool_;
}

void TGSAForm::chooseTool(GsaTool tool) {
  tool_ = tool;
  const int i = static_cast<int>(tool);
  if (frame()) frame()->setGsaTool(i);
  if (tool == GsaTool::Delete)
    CursButtonClick();
  else
    BegButtonClick();
}

void TGSAForm::BegButtonClick() { GSAGrid->viewport()->setCursor(Qt::ArrowCursor); }
void TGSAForm::CursButtonClick() { GSAGrid->viewport()->setCursor(deleteCursor()); }

bool TGSAForm::deleteCursorShown() const { return GSAGrid->viewport()->cursor().shape() == Qt::BitmapCursor; }

static bool activeWindow(const QWidget* w) { return !docwin::frameOf(w) || docwin::isActiveChild(w); }

void TGSAForm::GSAGridMouseDown(Qt::MouseButton button, int col, int row) {
  if (button == Qt::LeftButton) {
    if (!activeWindow(this)) return;
    editor.apply(currentTool(), GSAGrid->currentCol(), GSAGrid->currentRow(), *asker);
    afterEdit();
  } else if (button == Qt::RightButton) {
    chooseTool(gsa::nextTool(currentTool()));
    GSAGrid->viewport()->update();
    pointer.forceRedraw();
    GSAGridMouseMove(col, row);  // the new tool's preview at once
  }
}

void TGSAForm::GSAGridMouseMove(int col, int row) {
  if (frame()) frame()->setSimpleText(QStringLiteral(" Строка: %1  Столбец: %2").arg(row).arg(col));
  if (pointer.moved(col, row, activeWindow(this), editor.doc.trackFigures))
    GSAGrid->showPreview(col, row, currentTool());
}

void TGSAForm::leaveGrid() {
  // The cell position is shown only while the pointer is over the grid: the panels come back.
  if (frame()) frame()->setSimpleText(QString());
  if (pointer.left()) GSAGrid->hidePreview();
  pointer.forceRedraw();  // coming back into the same cell shows the preview again
}

// ---------------------------------------------------------------- editing

void TGSAForm::afterEdit() {
  if (GSAGrid->verticalHeader()->count() != grid().rowCount() ||
      GSAGrid->horizontalHeader()->count() != grid().colCount())
    GSAGrid->gridChanged();
  else
    GSAGrid->viewport()->update();
  UndoItem->setEnabled(editor.undoAvailable());
  if (activeWindow(this))
    docwin::setStatus(this, 0, editor.modified ? QString::fromUtf8(kChanged) : QString());
}

void TGSAForm::UndoItemClick() {
  if (editor.undo()) afterEdit();
}

void TGSAForm::AddLineClick() {
  editor.addRow();
  afterEdit();
}

void TGSAForm::ClearGSAClick() {
  if (dlg::message(this, QStringLiteral("Очистить ГСА?"), QStringLiteral("Подтверждение"), dlg::Yes | dlg::No,
                   dlg::Question) != dlg::Yes)
    return;
  editor.clear();
  afterEdit();
}

// ---------------------------------------------------------------- conversion and messages

void TGSAForm::ToTblClick() {
  messageCols.clear();
  messageRows.clear();
  MessageList->clear();
  const GsaConversion c = convertGsa(editor.doc, frame());
  if (c.verdict == 0) {
    setMessagesShown(false);
    return;
  }
  setMessagesShown(true);
  MessageList->addItems(c.messages);
  messageCols = c.cols;
  messageRows = c.rows;
}

void TGSAForm::setMessagesShown(bool shown) {
  messagesShown = shown;
  MessageList->setVisible(shown);
  if (frame() && activeWindow(this)) frame()->setCommandChecked(FrameCmd::ShowMessages, shown);
}

void TGSAForm::MessageClick() {
  setMessagesShown(frame() ? !frame()->commandChecked(FrameCmd::ShowMessages) : !messagesShown);
}

void TGSAForm::MessageListDblClick() {
  const QListWidgetItem* item = MessageList->currentItem();
  const int i = MessageList->currentRow();
  if (!item || !item->isSelected() || i < 0 || i >= messageCols.size() || i >= messageRows.size()) return;
  // The flowchart may have changed since the check (an undo, a clear).
  if (!grid().contains(messageCols[i], messageRows[i])) return;
  GSAGrid->selectCell(messageCols[i], messageRows[i]);
  GSAGrid->setFocus();
}

// ---------------------------------------------------------------- options

void TGSAForm::mOptionsClick() {
  if (!OptionsForm) return;
  GsaDocument& d = editor.doc;
  settings.kind = 2;
  OptionsForm->setAutoNum(!d.userNaming);
  OptionsForm->setTrackFig(d.trackFigures);
  OptionsForm->setMoveEvent(d.moveEvents);
  OptionsForm->setBegSignal(d.y0);
  OptionsForm->setEndSignal(d.yk);
  OptionsForm->setBegName(d.s0);
  OptionsForm->setEndName(d.sk);
  OptionsForm->setLetterText(TOptionsForm::InputEvent, d.eventLetter);
  OptionsForm->setLetterText(TOptionsForm::OutputSignal, d.outputLetter);
  OptionsForm->showPage(TOptionsForm::Page::Gsa);
  if (OptionsForm->execFor(&settings, false) != QDialog::Accepted) return;  // Cancel changes nothing
  GsaDocument next = d;
  next.userNaming = !OptionsForm->autoNum();
  next.trackFigures = OptionsForm->trackFig();
  next.moveEvents = OptionsForm->moveEvent();
  next.y0 = OptionsForm->begSignal();
  next.yk = OptionsForm->endSignal();
  next.s0 = OptionsForm->begName();
  next.sk = OptionsForm->endName();
  // An emptied letter keeps the flowchart's letter: naming always has one to compare.
  const QString eventLetter = OptionsForm->letterText(TOptionsForm::InputEvent);
  const QString outputLetter = OptionsForm->letterText(TOptionsForm::OutputSignal);
  if (!eventLetter.isEmpty()) next.eventLetter = eventLetter;
  if (!outputLetter.isEmpty()) next.outputLetter = outputLetter;
  if (next == d) return;
  d = next;
  editor.modified = true;
  if (!d.trackFigures && GSAGrid->previewShown()) GSAGrid->hidePreview();
  afterEdit();
}

// ---------------------------------------------------------------- activation and closing

void TGSAForm::FormActivate() {
  ChildKind = ckGsa;
  if (TFrame* f = frame()) {
    f->updateActions();
    f->setCommandChecked(FrameCmd::ShowMessages, messagesShown);
  }
  docwin::showFontSize(this, GSAGrid->cellFontSize());
  docwin::setStatus(this, 0, editor.modified ? QString::fromUtf8(kChanged) : QString());
  // The position and the results there belonged to the window active before.
  docwin::setStatus(this, 1, QString());
  docwin::setStatus(this, 2, QString());
  // Another flowchart may have chosen the tool meanwhile: the cursor follows the frame.
  if (currentTool() == GsaTool::Delete)
    CursButtonClick();
  else
    BegButtonClick();
}

void TGSAForm::FormDeactivate() {
  if (frame()) frame()->setSimpleText(QString());
  if (QWidget* grabber = QWidget::mouseGrabber(); grabber && isAncestorOf(grabber)) grabber->releaseMouse();
  leaveGrid();
}

bool TGSAForm::FormCloseQuery() {
  return docwin::closeQuery(this, editor.modified, fileName + QLatin1Char('?'),
                            [this] { return Save1Click(); });
}

void TGSAForm::FormClose() {
  if (frame()) frame()->setSimpleText(QString());
  docwin::setStatus(this, 0, QString());
  ChildKind = ckNone;
  if (frame()) frame()->updateActions();
}

void TGSAForm::closeEvent(QCloseEvent* event) {
  docwin::handleClose(
      this, event, [this] { return FormCloseQuery(); }, [this] { FormClose(); });
}

bool TGSAForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride && isCtrlX(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  if (event->type() == QEvent::KeyPress && isCtrlX(static_cast<QKeyEvent*>(event))) {
    guard::run(this, [this] { ClearGSAClick(); });
    return true;
  }
  if (watched == MessageList && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      guard::run(this, [this] { MessageListDblClick(); });
      return true;
    }
  }
  return TDocChild::eventFilter(watched, event);
}

// ---------------------------------------------------------------- file

bool TGSAForm::Open(const QString& path) {
  GsaDocument read;
  QString error;
  if (!GsaFile::read(path, &read, &error)) {
    dlg::error(this, error);
    return false;
  }
  editor.doc = std::move(read);
  fileName = path;
  setWindowTitle(QFileInfo(path).fileName());
  GSAGrid->gridChanged();
  return true;
}

bool TGSAForm::Save1Click() {
  if (windowTitle() == QLatin1String(kUntitled)) {
    fileName = QString::fromLatin1(kUntitled);
    return Saveas1Click();
  }
  return writeFile();
}

bool TGSAForm::Saveas1Click() {
  return docwin::saveAs(this, &fileName, QString::fromUtf8(kFilter), QStringLiteral("gsa"), QString(),
                        [this] { return Save1Click(); });
}

bool TGSAForm::writeFile() {
  QString error;
  if (!GsaFile::write(fileName, editor.doc, &error)) {
    dlg::error(this, error);  // the flowchart stays modified
    return false;
  }
  editor.modified = false;
  if (activeWindow(this)) docwin::setStatus(this, 0, QString());
  return true;
}

}  // namespace velmora
