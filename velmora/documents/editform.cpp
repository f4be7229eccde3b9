#include "velmora/documents/editform.h"

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include "platform/filewriter.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/linereader.h"
#include "platform/longlines.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/documents/formats/masktrailer.h"
#include "velmora/documents/tableform.h"
#include "velmora/translate/rvassku.h"
#include "velmora/translate/skutbl.h"
#include "velmora/translate/testing.h"

namespace velmora {

namespace {

const char kUntitled[] = "Untitled";
const char kRvasFilter[] = "Файл РВАС (*.rvs)|*.rvs|Все файлы|*.*";
const char kSkuFilter[] = "Файл СКУ (*.sku)|*.sku|Все файлы|*.*";
const char kChanged[] = "Изменен";

// A line with something on it; the section headings alone are no content (blanks are).
bool isContent(const QString& line) {
  return !line.isEmpty() && line != QLatin1String("sku:") && line != QLatin1String("svf:");
}

}  // namespace

QString TEditForm::untitledCaption(int kind) {
  return kind == 1 ? QStringLiteral("Untitled - редактор СКУ") : QStringLiteral("Untitled - редактор РВАС");
}

TEditForm::TEditForm(QWidget* parent)
    : TDocChild(parent),
      fileName(QString::fromLatin1(kUntitled)),
      saveFilter(QString::fromUtf8(kRvasFilter)) {
  settings.kind = 0;
  setWindowTitle(untitledCaption(0));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setChildrenCollapsible(false);
  Editor = new longlines::TextEdit(splitter_);
  QFont f(QStringLiteral("Vexo font"));
  f.setPixelSize(13);
  Editor->setFont(f);
  Editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Editor->installEventFilter(this);
  ErrorList = new QListWidget(splitter_);
  QFont lf = ErrorList->font();
  lf.setPointSize(8);
  ErrorList->setFont(lf);
  ErrorList->installEventFilter(this);
  // Every message is one line in one font: the list need not measure each of a hundred thousand.
  ErrorList->setUniformItemSizes(true);
  ErrorList->hide();
  splitter_->addWidget(Editor);
  splitter_->addWidget(ErrorList);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  layout->addWidget(splitter_);
  setFocusProxy(Editor);
  buildMenus();

  docwin::attachPopup(this, Editor, menus.popup);
  connect(Editor, &QPlainTextEdit::textChanged, this, [this] { EditorChange(); });
  connect(Editor, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    if (docwin::isActiveChild(this)) EditorKeyPress();
  });
  connect(Editor, &QPlainTextEdit::selectionChanged, this, [this] { Edit1Click(); });
  docwin::onClipboardChange(this, [this] { Edit1Click(); });
  connect(ErrorList, &QListWidget::itemDoubleClicked, this,
          [this] { guard::run(this, [this] { ErrorListDblClick(); }); });

  // FormCreate: the record's message font size is the list's.
  settings.fontSize = ErrorList->font().pointSize();
  EditorChange();
}

TEditForm::~TEditForm() = default;

void TEditForm::buildMenus() {
  using docwin::addItem;
  mFile_ = docwin::fileMenuFor(this, QStringLiteral("Созд&ать"), true);
  mFile_->addSeparator();
  docwin::addExitItem(this, mFile_);

  menus = docwin::textMenusFor(this, QStringLiteral("&Формат"), true);

  mTrans_ = new QMenu(QStringLiteral("Пре&образования"), this);
  toTblItem =
      addItem(this, mTrans_, QStringLiteral("Перевод в &Таблицу переходов"), {}, [this] { ToTblClick(); });
  toSkuItem = addItem(this, mTrans_, QStringLiteral("Перевод в &СКУ"), {}, [this] { ToSkuClick(); });
  testingItem = addItem(this, mTrans_, QStringLiteral("&Проверка"), QKeySequence(Qt::Key_F9),
                        [this] { TestingClick(); });
  for (QAction* a : {toTblItem, toSkuItem, testingItem}) a->setEnabled(false);
}

FrameHandlers TEditForm::frameHandlers() {
  // The clipboard commands follow the selection and the clipboard (Edit1Click), the
  // translations what the last check found.
  return {{FrameCmd::Save, [this](QObject*) { Save1Click(); }},
          {FrameCmd::Cut, [this](QObject*) { Cut1Click(); }, true},
          {FrameCmd::Copy, [this](QObject*) { Copy1Click(); }, true},
          {FrameCmd::Paste, [this](QObject*) { Paste1Click(); }, true},
          {FrameCmd::Delete, [this](QObject*) { Delete1Click(); }, true},
          {FrameCmd::Compile, [this](QObject*) { TestingClick(); }, true},
          {FrameCmd::ToSku, [this](QObject*) { ToSkuClick(); }, true},
          {FrameCmd::ToTbl, [this](QObject*) { ToTblClick(); }, true},
          {FrameCmd::Options, [this](QObject*) { mOptionsClick(); }},
          {FrameCmd::ShowMessages, [this](QObject*) { MessageClick(); }}};
}

void TEditForm::setKind(int kind) {
  settings.kind = static_cast<unsigned char>(kind == 1 ? 1 : 0);
  saveFilter = QString::fromUtf8(settings.kind == 1 ? kSkuFilter : kRvasFilter);
  if (fileName == QLatin1String(kUntitled)) setWindowTitle(untitledCaption(settings.kind));
  EditorChange();
}

bool TEditForm::isModified() const { return Editor->document()->isModified(); }

QStringList TEditForm::lines() const { return Editor->lines(); }

void TEditForm::setLines(const QStringList& text) {
  Editor->setLines(text, true);
  showLongLineNote();
}

void TEditForm::showLongLineNote() {
  const QString notes = Editor->notes();
  if (!notes.isEmpty() && docwin::isActiveChild(this)) docwin::setStatus(this, 2, notes);
}

// ---------------------------------------------------------------------------------------------
// Files

bool TEditForm::LoadFromFile(const QString& path) {
  // The text goes into the editor as it is read (the window is new, and goes if reading fails).
  textfile::LineReader reader;
  DocSettings s = settings;
  QString error;
  if (!masktrailer::open(path, &reader, &s, &error) || !Editor->load(reader, &error)) {
    dlg::error(this, error);
    return false;
  }
  fileName = path;
  setWindowTitle(QFileInfo(path).fileName());
  settings = s;
  if (Editor->isLarge()) docwin::setWordWrap(Editor, menus.wordWrap, false);
  Editor->moveCursor(QTextCursor::Start);
  Editor->document()->setModified(false);
  if (docwin::isActiveChild(this)) docwin::setStatus(this, 0, QString());
  showLongLineNote();
  return true;
}

bool TEditForm::Save1Click() {
  if (windowTitle() == untitledCaption(0) || windowTitle() == untitledCaption(1)) {
    fileName = QString::fromLatin1(kUntitled);
    return Saveas1Click();
  }
  // Straight from the editor into the file: a list of the lines would cost several times the text.
  textfile::Writer out(fileName);
  Editor->write(out);
  masktrailer::putTrailer(out, settings);
  QString error;
  if (!out.commit(&error)) {
    dlg::error(this, error);
    return false;
  }
  Editor->document()->setModified(false);
  docwin::setStatus(this, 0, QString());
  return true;
}

bool TEditForm::Saveas1Click() {
  return docwin::saveAs(this, &fileName, saveFilter,
                        settings.kind == 1 ? QStringLiteral("sku") : QStringLiteral("rvs"), saveDir,
                        [this] { return Save1Click(); });
}

// ---------------------------------------------------------------------------------------------
// Editing

void TEditForm::Cut1Click() { Editor->cut(); }
void TEditForm::Copy1Click() { Editor->copy(); }
void TEditForm::Paste1Click() { Editor->paste(); }
void TEditForm::Delete1Click() { Editor->textCursor().removeSelectedText(); }
void TEditForm::Selectall1Click() { Editor->selectAll(); }

void TEditForm::Edit1Click() {
  TFrame* active = docwin::activeFrame(this);
  menus.clip.update(Editor->textCursor().hasSelection(), active);
  if (active) EditorKeyPress();
}

void TEditForm::Left1Click(QAction* item) {
  QTextOption opt = Editor->document()->defaultTextOption();
  opt.setAlignment(menus.align.choose(item));
  Editor->document()->setDefaultTextOption(opt);
  Editor->viewport()->update();
}

bool TEditForm::wordWrap() const { return Editor->lineWrapMode() != QPlainTextEdit::NoWrap; }

void TEditForm::Wordwrap1Click() { docwin::setWordWrap(Editor, menus.wordWrap, !wordWrap()); }

int TEditForm::fontSize() const { return docwin::pointSize(Editor->font()); }

bool TEditForm::setFontSize(int size) {
  if (size >= 1) docwin::setPointSize(Editor, size);
  return true;
}

void TEditForm::FontBig1Click() { docwin::stepFontSize(Editor, +2); }

void TEditForm::FontSml2Click() { docwin::stepFontSize(Editor, -2); }

void TEditForm::EditorChange() {
  TFrame* active = docwin::activeFrame(this);
  // An undo back to the saved text clears the mark again.
  if (active) docwin::setStatus(this, 0, isModified() ? QString::fromUtf8(kChanged) : QString());
  bool content = false;
  for (QTextBlock b = Editor->document()->begin(); b.isValid() && !content; b = b.next())
    content = isContent(b.text());
  checkFlag = content;
  toSkuFlag = content && settings.kind == 0;
  toTblItem->setEnabled(checkFlag);
  testingItem->setEnabled(checkFlag);
  toSkuItem->setEnabled(toSkuFlag);
  if (active) {
    active->setCommandEnabled(FrameCmd::Compile, checkFlag);
    active->setCommandEnabled(FrameCmd::ToTbl, checkFlag);
    active->setCommandEnabled(FrameCmd::ToSku, toSkuFlag);
  }
}

void TEditForm::EditorKeyPress() {
  int line, column;
  Editor->caretPlace(&line, &column);
  docwin::setStatus(this, 1, QStringLiteral("%1:%2").arg(line).arg(column));
}

// ---------------------------------------------------------------------------------------------
// Check and conversions

void TEditForm::showMessages(const QStringList& messages) {
  ErrorList->clear();
  ErrorList->addItems(messages);
}

bool TEditForm::passesCheck(const QStringList& text) {
  QStringList messages;
  bool failed;
  int errors;
  {
    TTesting checker(text, &messages, settings);
    failed = settings.kind == 1 ? checker.CheckSku() : checker.Check();
    errors = checker.errorCount();
  }
  showMessages(messages);
  if (failed) {
    setMessageListShown(true);
    docwin::setStatus(this, 2, QStringLiteral("Ошибок: ") + QString::number(errors));
    return false;
  }
  // Messages of a passed check are warnings: they stay in view.
  setMessageListShown(!messages.isEmpty());
  return true;
}

void TEditForm::TestingClick() {
  docwin::setStatus(this, 2, QStringLiteral("Проверка"));
  if (!passesCheck(lines())) return;
  dlg::message(this, QStringLiteral("Проверка прошла успешно."), QStringLiteral("Сообщение"), dlg::Ok,
               dlg::Warning);
  docwin::setStatus(this, 2, QString());
}

void TEditForm::ToSkuClick() {
  if (settings.kind == 1) return;
  docwin::setStatus(this, 2, QStringLiteral("Преобразование в СКУ"));
  const QStringList text = lines();
  if (!passesCheck(text) || !frame()) return;
  // Convert first: a refused (oversized) text must not leave an empty СКУ window behind.
  QStringList out;
  TRvasSku(text, &out, settings).Convert();
  auto* target = qobject_cast<TEditForm*>(frame()->newDocument(TFrame::NewDoc::Sku));
  if (!target || target == this) return;
  // The new window keeps its own letters; only the text comes over, and its save goes beside this one.
  target->setLines(out);
  const QString home = docwin::directoryOf(fileName);
  target->saveDir = home.isEmpty() ? saveDir : home;
  docwin::setStatus(this, 2, QString());
}

TVexoTableForm* TEditForm::newTable() {
  auto* table = new TVexoTableForm();
  tables_ << table;
  if (frame()) frame()->addChild(table, this);
  table->requestRenumber();
  return table;
}

void TEditForm::ToTblClick() {
  const bool sku = settings.kind == 1;
  docwin::setStatus(this, 2, QStringLiteral("Преобразование в таблицу"));
  if (!sku) docwin::setStatus(this, 2, QStringLiteral("Преобразование в Tbl"));
  const QStringList text = lines();
  if (!passesCheck(text)) return;
  QStringList skuText;
  if (sku)
    skuText = text;
  else
    TRvasSku(text, &skuText, settings).Convert();
  TableData table;
  TSkuTbl(skuText, &table, settings).Convert();
  newTable()->setTableData(table);
  docwin::setStatus(this, 2, QString());
}

// ---------------------------------------------------------------------------------------------
// Messages

void TEditForm::setMessageListShown(bool shown) {
  if (shown == messagesVisible) return;
  if (!shown) {
    messagesHeight = ErrorList->height();
    ErrorList->hide();
  } else {
    ErrorList->show();
    const int h = messagesHeight > 0 ? messagesHeight : 30;
    const int total = qMax(splitter_->height(), h + 1);
    splitter_->setSizes({total - h, h});
  }
  messagesVisible = shown;
  if (TFrame* f = docwin::activeFrame(this)) f->setCommandChecked(FrameCmd::ShowMessages, shown);
}

void TEditForm::MessageClick() { setMessageListShown(!messagesVisible); }

bool TEditForm::parseMessage(const QString& message, int* line, int* pos, int* length) {
  int values[3];
  int i = 0;
  for (int& v : values) {
    const int start = i;
    long long n = 0;
    while (i < message.size() && message[i] >= QLatin1Char('0') && message[i] <= QLatin1Char('9')) {
      n = n * 10 + (message[i].unicode() - '0');
      if (n > 1000000000) return false;
      ++i;
    }
    if (i == start || i >= message.size() || message[i] != QLatin1Char('-')) return false;
    ++i;
    v = static_cast<int>(n);
  }
  *line = values[0];
  *pos = values[1];
  *length = values[2];
  return true;
}

bool TEditForm::jumpToMessage(const QString& message) {
  int line, pos, length;
  if (!parseMessage(message, &line, &pos, &length)) return false;
  int lineLength = 0;
  const int start = line < 1 ? -1 : Editor->positionOf(line - 1, 0, &lineLength);
  if (start < 0) return false;
  int select = length;
  if (pos >= lineLength) {
    // Past the end of the line: its start, nothing selected.
    pos = 0;
    select = 0;
  } else if (pos + length > lineLength) {
    select = 0;
  }
  QTextCursor c(Editor->document());
  c.setPosition(Editor->positionOf(line - 1, pos));
  c.setPosition(Editor->positionOf(line - 1, pos + select), QTextCursor::KeepAnchor);
  Editor->setFocus();
  Editor->setTextCursor(c);
  return true;
}

void TEditForm::ErrorListDblClick() {
  const QListWidgetItem* item = ErrorList->currentItem();
  if (item) jumpToMessage(item->text());
}

void TEditForm::mOptionsClick() {
  if (OptionsForm) OptionsForm->execFor(&settings, true);
  QFont f = ErrorList->font();
  if (settings.fontSize > 0) f.setPointSize(settings.fontSize);
  ErrorList->setFont(f);
}

// ---------------------------------------------------------------------------------------------
// Lifecycle

void TEditForm::FormActivate() {
  ChildKind = ckEdit;
  if (TFrame* f = frame()) {
    f->updateActions();
    f->showFontSize(fontSize());
    f->setCommandEnabled(FrameCmd::ToTbl, checkFlag);
    f->setCommandEnabled(FrameCmd::Compile, checkFlag);
    f->setCommandEnabled(FrameCmd::ToSku, toSkuFlag && settings.kind != 1);
    f->setCommandChecked(FrameCmd::ShowMessages, messagesVisible);
  }
  docwin::setStatus(this, 0, isModified() ? QString::fromUtf8(kChanged) : QString());
  docwin::setStatus(this, 1, QString());
  docwin::setStatus(this, 2, QString());
  showLongLineNote();
  menus.clip.update(Editor->textCursor().hasSelection(), docwin::activeFrame(this));
}

bool TEditForm::closeOwnedTables() {
  for (const QPointer<TVexoTableForm>& t : tables_) {
    if (!t) continue;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(t->parentWidget())) {
      if (!sub->close()) return false;
      delete sub;  // now, so that nobody asks it a second time
    } else {
      if (!t->close()) return false;
      delete t.data();
    }
  }
  tables_.clear();
  return true;
}

bool TEditForm::FormCloseQuery() {
  const QString name = fileName != QLatin1String(kUntitled) ? fileName
                       : settings.kind == 1                 ? QStringLiteral("Untitled СКУ")
                                                            : QStringLiteral("Untitled РВАС");
  if (!docwin::closeQuery(this, isModified(), name, [this] { return Save1Click(); })) return false;
  // The tables made from this text are asked before they go with it.
  return closeOwnedTables();
}

void TEditForm::FormClose() {
  docwin::setStatus(this, 0, QString());
  docwin::setStatus(this, 1, QString());
  ChildKind = ckNone;
  if (frame()) frame()->updateActions();
}

void TEditForm::closeEvent(QCloseEvent* event) {
  docwin::handleClose(
      this, event, [this] { return FormCloseQuery(); }, [this] { FormClose(); });
}

bool TEditForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(event);
    const bool enter = ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter;
    if (watched == ErrorList && enter) {
      guard::run(this, [this] { ErrorListDblClick(); });
      return true;
    }
    if (watched == Editor && enter && (ke->modifiers() & Qt::ShiftModifier)) {
      // Every line break is a line of the file.
      Editor->textCursor().insertBlock();
      return true;
    }
  }
  return TDocChild::eventFilter(watched, event);
}

}  // namespace velmora
