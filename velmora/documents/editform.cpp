#include "velmora/documents/editform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>
#include <functional>

#include "platform/dialogs.h"
#include "platform/guard.h"
#include "velmora/app/childkind.h"
#include "velmora/app/mainform.h"
#include "velmora/app/optionsform.h"
#include "velmora/documents/formats/masktrailer.h"
#include "velmora/documents/tableform.h"
#include "velmora/translate/rvassku.h"
#include "velmora/translate/skutbl.h"
#include "velmora/translate/testing.h"

namespace {

const char kUntitled[] = "Untitled";
const char kRvasFilter[] = "Файл РВАС (*.rvs)|*.rvs|Все файлы|*.*";
const char kSkuFilter[] = "Файл СКУ (*.sku)|*.sku|Все файлы|*.*";
const char kConfirm[] = "Подтверждение";
const char kChanged[] = "Изменен";

QString withDefaultExtension(const QString& path, const QString& ext) {
  return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + ext : path;
}

QString directoryOf(const QString& name) {
  const QFileInfo fi(name);
  return fi.isAbsolute() ? fi.absolutePath() : QString();
}

// A line with something on it; the section headings alone are no content (blanks are).
bool isContent(const QString& line) {
  return !line.isEmpty() && line != QLatin1String("sku:") && line != QLatin1String("svf:");
}

}  // namespace

QString TEditForm::untitledCaption(int kind) {
  return kind == 1 ? QStringLiteral("Untitled - редактор СКУ") : QStringLiteral("Untitled - редактор РВАС");
}

TEditForm::TEditForm(QWidget* parent)
    : TDocChild(parent), fileName(QString::fromLatin1(kUntitled)), saveFilter(QString::fromUtf8(kRvasFilter)) {
  settings.kind = 0;
  setWindowTitle(untitledCaption(0));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setChildrenCollapsible(false);
  Editor = new QPlainTextEdit(splitter_);
  QFont f(QStringLiteral("Vexo font"));
  f.setPixelSize(13);
  Editor->setFont(f);
  Editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Editor->setContextMenuPolicy(Qt::CustomContextMenu);
  Editor->installEventFilter(this);
  ErrorList = new QListWidget(splitter_);
  QFont lf = ErrorList->font();
  lf.setPointSize(8);
  ErrorList->setFont(lf);
  ErrorList->installEventFilter(this);
  ErrorList->hide();
  splitter_->addWidget(Editor);
  splitter_->addWidget(ErrorList);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  layout->addWidget(splitter_);
  setFocusProxy(Editor);
  buildMenus();

  connect(Editor, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { popup_->popup(Editor->viewport()->mapToGlobal(p)); });
  connect(Editor, &QPlainTextEdit::textChanged, this, [this] { EditorChange(); });
  connect(Editor, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    if (isActiveChild()) EditorKeyPress();
  });
  connect(Editor, &QPlainTextEdit::selectionChanged, this, [this] { Edit1Click(); });
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { Edit1Click(); });
  connect(ErrorList, &QListWidget::itemDoubleClicked, this,
          [this] { guard::run(this, [this] { ErrorListDblClick(); }); });

  // FormCreate: the record's message font size is the list's.
  settings.fontSize = ErrorList->font().pointSize();
  EditorChange();
  if (MainForm && MainForm->fontSizeBox()) MainForm->fontSizeBox()->setEnabled(true);
}

TEditForm::~TEditForm() = default;

void TEditForm::buildMenus() {
  auto add = [this](QMenu* m, const QString& text, const QKeySequence& key, std::function<void()> fn) {
    QAction* a = m->addAction(text);
    if (!key.isEmpty()) {
      a->setShortcut(key);
      a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
      addAction(a);
    }
    connect(a, &QAction::triggered, this, [this, fn] { guard::run(this, fn); });
    return a;
  };
  auto shown = [](const QString& text, const char* key) { return text + QLatin1Char('\t') + QLatin1String(key); };
  auto frame = [](void (TMainForm::*h)()) {
    return [h] {
      if (MainForm) (MainForm->*h)();
    };
  };

  mFile_ = new QMenu(QStringLiteral("&Файл"), this);
  QMenu* create = mFile_->addMenu(QStringLiteral("Созд&ать"));
  add(create, QStringLiteral("&СКУ"), {}, frame(&TMainForm::NewSkuClick));
  add(create, QStringLiteral("&РВАС"), {}, frame(&TMainForm::NewRvasClick));
  add(create, QStringLiteral("&ГСА"), {}, frame(&TMainForm::NewGSAClick));
  add(create, QStringLiteral("Таблицу &переходов"), {}, frame(&TMainForm::NewTblClick));
  create->addSeparator();
  add(create, QStringLiteral("&Текстовый файл"), {}, frame(&TMainForm::NewTxtClick));
  add(mFile_, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3), frame(&TMainForm::FileOpenItemClick));
  add(mFile_, QStringLiteral("&Закрыть"), {}, [this] { close1Click(); });
  add(mFile_, QStringLiteral("&Сохранить"), QKeySequence(Qt::Key_F2), [this] { Save1Click(); });
  add(mFile_, QStringLiteral("Сохранить &как..."), {}, [this] { Saveas1Click(); });
  mFile_->addSeparator();
  add(mFile_, QStringLiteral("В&ыход"), {}, frame(&TMainForm::FileExitItemClick));

  mEdit_ = new QMenu(QStringLiteral("&Правка"), this);
  cutItem = add(mEdit_, shown(QStringLiteral("&Вырезать"), "Ctrl+X"), {}, [this] { Cut1Click(); });
  copyItem = add(mEdit_, shown(QStringLiteral("&Копировать"), "Ctrl+C"), {}, [this] { Copy1Click(); });
  pasteItem = add(mEdit_, shown(QStringLiteral("Вст&авить"), "Ctrl+V"), {}, [this] { Paste1Click(); });
  deleteItem = add(mEdit_, QStringLiteral("&Удалить"), QKeySequence(QStringLiteral("Ctrl+D")), [this] { Delete1Click(); });
  mEdit_->addSeparator();
  add(mEdit_, QStringLiteral("Выделить в&сё"), QKeySequence(QStringLiteral("Ctrl+A")), [this] { Selectall1Click(); });
  connect(mEdit_, &QMenu::aboutToShow, this, [this] { Edit1Click(); });

  mFormat_ = new QMenu(QStringLiteral("&Формат"), this);
  alignLeftItem = add(mFormat_, QStringLiteral("По &левому краю"), {}, [this] { Left1Click(alignLeftItem); });
  alignRightItem = add(mFormat_, QStringLiteral("По &правому краю"), {}, [this] { Left1Click(alignRightItem); });
  alignCenterItem = add(mFormat_, QStringLiteral("По &центру"), {}, [this] { Left1Click(alignCenterItem); });
  for (QAction* a : {alignLeftItem, alignRightItem, alignCenterItem}) a->setCheckable(true);
  alignLeftItem->setChecked(true);
  mFormat_->addSeparator();
  wordWrapItem = add(mFormat_, QStringLiteral("Перенос &слов"), {}, [this] { Wordwrap1Click(); });
  wordWrapItem->setCheckable(true);
  wordWrapItem->setChecked(true);
  mFormat_->addSeparator();
  add(mFormat_, QStringLiteral("У&величить шрифт"), {}, [this] { FontBig1Click(); });
  add(mFormat_, QStringLiteral("У&меньшить шрифт"), {}, [this] { FontSml2Click(); });

  mTrans_ = new QMenu(QStringLiteral("Пре&образования"), this);
  toTblItem = add(mTrans_, QStringLiteral("Перевод в &Таблицу переходов"), {}, [this] { ToTblClick(); });
  toSkuItem = add(mTrans_, QStringLiteral("Перевод в &СКУ"), {}, [this] { ToSkuClick(); });
  testingItem = add(mTrans_, QStringLiteral("&Проверка"), QKeySequence(Qt::Key_F9), [this] { TestingClick(); });
  for (QAction* a : {toTblItem, toSkuItem, testingItem}) a->setEnabled(false);

  popup_ = new QMenu(this);
  popupCut = add(popup_, QStringLiteral("&Вырезать"), {}, [this] { Cut1Click(); });
  popupCopy = add(popup_, QStringLiteral("&Копировать"), {}, [this] { Copy1Click(); });
  popupPaste = add(popup_, QStringLiteral("Вст&авить"), {}, [this] { Paste1Click(); });
  connect(popup_, &QMenu::aboutToShow, this, [this] { Edit1Click(); });
}

void TEditForm::frameCommand(FrameCmd cmd, QObject*) {
  switch (cmd) {
    case FrameCmd::Save: Save1Click(); break;
    case FrameCmd::Cut: Cut1Click(); break;
    case FrameCmd::Copy: Copy1Click(); break;
    case FrameCmd::Paste: Paste1Click(); break;
    case FrameCmd::Delete: Delete1Click(); break;
    case FrameCmd::Compile: TestingClick(); break;
    case FrameCmd::ToSku: ToSkuClick(); break;
    case FrameCmd::ToTbl: ToTblClick(); break;
    case FrameCmd::Options: mOptionsClick(); break;
    case FrameCmd::ShowMessages: MessageClick(); break;
    default: break;
  }
}

void TEditForm::setKind(int kind) {
  settings.kind = static_cast<unsigned char>(kind == 1 ? 1 : 0);
  saveFilter = QString::fromUtf8(settings.kind == 1 ? kSkuFilter : kRvasFilter);
  if (fileName == QLatin1String(kUntitled)) setWindowTitle(untitledCaption(settings.kind));
  EditorChange();
}

bool TEditForm::isModified() const { return Editor->document()->isModified(); }

bool TEditForm::isActiveChild() const { return MainForm && MainForm->activeChild() == this; }

void TEditForm::setStatus(int panel, const QString& text) {
  if (MainForm) MainForm->setStatusText(panel, text);
}

QStringList TEditForm::lines() const {
  QStringList out;
  const QTextDocument* doc = Editor->document();
  if (doc->isEmpty()) return out;
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
    const QString t = b.text();
    // A line break inside a line (pasted) still ends a line of the file.
    if (t.contains(QChar(0x2028))) out << t.split(QChar(0x2028));
    else out << t;
  }
  return out;
}

void TEditForm::setLines(const QStringList& text) {
  QTextCursor c(Editor->document());
  c.select(QTextCursor::Document);
  c.insertText(text.join(QLatin1Char('\n')));
}

// ---------------------------------------------------------------------------------------------
// Files

bool TEditForm::LoadFromFile(const QString& path) {
  QStringList text;
  DocSettings s = settings;
  QString error;
  if (!masktrailer::load(path, &text, &s, &error)) {
    dlg::error(this, error);
    return false;
  }
  fileName = path;
  setWindowTitle(QFileInfo(path).fileName());
  settings = s;
  Editor->setPlainText(text.join(QLatin1Char('\n')));
  Editor->moveCursor(QTextCursor::Start);
  Editor->document()->setModified(false);
  if (isActiveChild()) setStatus(0, QString());
  return true;
}

bool TEditForm::Save1Click() {
  if (windowTitle() == untitledCaption(0) || windowTitle() == untitledCaption(1)) {
    fileName = QString::fromLatin1(kUntitled);
    return Saveas1Click();
  }
  QString error;
  if (!masktrailer::save(fileName, lines(), settings, &error)) {
    dlg::error(this, error);
    return false;
  }
  Editor->document()->setModified(false);
  setStatus(0, QString());
  return true;
}

bool TEditForm::Saveas1Click() {
  const QString name = fileName == QLatin1String(kUntitled) ? QString() : QFileInfo(fileName).fileName();
  QString path = dlg::saveFile(this, saveFilter, directoryOf(fileName), name);
  if (path.isEmpty()) return false;
  path = withDefaultExtension(path, settings.kind == 1 ? QStringLiteral("sku") : QStringLiteral("rvs"));
  fileName = path;
  setWindowTitle(QFileInfo(path).fileName());
  return Save1Click();
}

void TEditForm::close1Click() {
  if (auto* sw = qobject_cast<QMdiSubWindow*>(parentWidget()))
    sw->close();
  else
    close();
}

// ---------------------------------------------------------------------------------------------
// Editing

void TEditForm::Cut1Click() { Editor->cut(); }
void TEditForm::Copy1Click() { Editor->copy(); }
void TEditForm::Paste1Click() { Editor->paste(); }
void TEditForm::Delete1Click() { Editor->textCursor().removeSelectedText(); }
void TEditForm::Selectall1Click() { Editor->selectAll(); }

void TEditForm::Edit1Click() {
  updateClipboardItems();
  if (isActiveChild()) EditorKeyPress();
}

void TEditForm::updateClipboardItems() {
  const QMimeData* md = QApplication::clipboard()->mimeData();
  const bool canPaste = md && md->hasText();
  const bool selected = Editor->textCursor().hasSelection();
  pasteItem->setEnabled(canPaste);
  popupPaste->setEnabled(canPaste);
  for (QAction* a : {cutItem, copyItem, deleteItem, popupCut, popupCopy}) a->setEnabled(selected);
  if (MainForm && isActiveChild()) {
    MainForm->EditPasteAction->setEnabled(canPaste);
    MainForm->EditCutAction->setEnabled(selected);
    MainForm->EditCopyAction->setEnabled(selected);
    MainForm->EditDelAction->setEnabled(selected);
  }
}

void TEditForm::Left1Click(QAction* item) {
  for (QAction* a : {alignLeftItem, alignRightItem, alignCenterItem}) a->setChecked(a == item);
  QTextOption opt = Editor->document()->defaultTextOption();
  if (item == alignRightItem) opt.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
  else if (item == alignCenterItem) opt.setAlignment(Qt::AlignHCenter);
  else opt.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
  Editor->document()->setDefaultTextOption(opt);
  Editor->viewport()->update();
}

bool TEditForm::wordWrap() const { return Editor->lineWrapMode() != QPlainTextEdit::NoWrap; }

void TEditForm::Wordwrap1Click() {
  const bool wrap = !wordWrap();
  Editor->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  Editor->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  wordWrapItem->setChecked(wrap);
}

int TEditForm::fontSize() const {
  const QFont f = Editor->font();
  if (f.pointSize() > 0) return f.pointSize();
  return qRound(f.pixelSize() * 72.0 / 96.0);
}

void TEditForm::applyFontSize(int size) {
  QFont f = Editor->font();
  f.setPointSize(size);
  Editor->setFont(f);
}

void TEditForm::showFontSize() {
  if (!MainForm || !MainForm->fontSizeBox()) return;
  QComboBox* box = MainForm->fontSizeBox();
  const QSignalBlocker block(box);
  box->setCurrentText(QString::number(fontSize()));
}

bool TEditForm::setFontSize(int size) {
  if (size >= 1) applyFontSize(size);
  return true;
}

void TEditForm::FontBig1Click() {
  if (fontSize() < 72) applyFontSize(fontSize() + 2);
  showFontSize();
}

void TEditForm::FontSml2Click() {
  if (fontSize() > 6) applyFontSize(fontSize() - 2);
  showFontSize();
}

void TEditForm::EditorChange() {
  const bool active = isActiveChild();
  if (active && isModified()) setStatus(0, QString::fromUtf8(kChanged));
  bool content = false;
  for (QTextBlock b = Editor->document()->begin(); b.isValid() && !content; b = b.next())
    content = isContent(b.text());
  checkFlag = content;
  toSkuFlag = content && settings.kind == 0;
  toTblItem->setEnabled(checkFlag);
  testingItem->setEnabled(checkFlag);
  toSkuItem->setEnabled(toSkuFlag);
  if (active) {
    MainForm->CompileAction->setEnabled(checkFlag);
    MainForm->ToTblAction->setEnabled(checkFlag);
    MainForm->ToSkuAction->setEnabled(toSkuFlag);
  }
}

void TEditForm::EditorKeyPress() {
  const QTextCursor c = Editor->textCursor();
  setStatus(1, QStringLiteral("%1:%2").arg(c.blockNumber()).arg(c.positionInBlock()));
}

// ---------------------------------------------------------------------------------------------
// Check and conversions

void TEditForm::showMessages(const QStringList& messages) {
  ErrorList->clear();
  ErrorList->addItems(messages);
}

void TEditForm::showErrors(int count) {
  if (!messagesVisible) MessageClick();
  setStatus(2, QStringLiteral("Ошибок: ") + QString::number(count));
}

void TEditForm::TestingClick() {
  setStatus(2, QStringLiteral("Проверка"));
  QStringList messages;
  bool failed;
  int errors;
  {
    TTesting checker(lines(), &messages, settings);
    failed = settings.kind == 1 ? checker.CheckSku() : checker.Check();
    errors = checker.errorCount();
  }
  showMessages(messages);
  if (failed) {
    showErrors(errors);
    return;
  }
  // Messages of a passed check are warnings: they stay in view.
  setMessageListShown(!messages.isEmpty());
  dlg::message(this, QStringLiteral("Проверка прошла успешно."), QStringLiteral("Сообщение"), dlg::Ok,
               dlg::Warning);
  setStatus(2, QString());
}

void TEditForm::ToSkuClick() {
  if (settings.kind == 1) return;
  setStatus(2, QStringLiteral("Преобразование в СКУ"));
  QStringList messages;
  const QStringList text = lines();
  {
    TTesting checker(text, &messages, settings);
    const bool failed = checker.Check();
    showMessages(messages);
    if (failed) {
      showErrors(checker.errorCount());
      return;
    }
  }
  if (!MainForm) return;
  MainForm->NewSkuClick();
  TEditForm* target = MainForm->lastEditForm;
  setMessageListShown(!messages.isEmpty());
  if (!target || target == this) return;
  QStringList out;
  TRvasSku(text, &out, settings).Convert();
  // The new window keeps its own letters; only the text comes over.
  target->setLines(out);
  setStatus(2, QString());
}

TVexoTableForm* TEditForm::newTable() {
  auto* table = new TVexoTableForm();
  tables_ << table;
  if (MainForm) {
    MainForm->addChild(table, this);
    MainForm->lastTableForm = table;
  }
  table->renumberPending = true;
  return table;
}

void TEditForm::ToTblClick() {
  setStatus(2, QStringLiteral("Преобразование в таблицу"));
  const QStringList text = lines();
  QStringList messages;
  if (settings.kind == 1) {
    TTesting checker(text, &messages, settings);
    const bool failed = checker.CheckSku();
    showMessages(messages);
    if (failed) {
      showErrors(checker.errorCount());
      return;
    }
    setMessageListShown(!messages.isEmpty());
    TableData data;
    TSkuTbl(text, &data, settings).Convert();
    newTable()->setTableData(data);
  } else {
    setStatus(2, QStringLiteral("Преобразование в Tbl"));
    TTesting checker(text, &messages, settings);
    const bool failed = checker.Check();
    showMessages(messages);
    if (failed) {
      showErrors(checker.errorCount());
      return;
    }
    setMessageListShown(!messages.isEmpty());
    setStatus(2, QString());
    QStringList sku;
    TRvasSku(text, &sku, settings).Convert();
    TableData data;
    TSkuTbl(sku, &data, settings).Convert();
    newTable()->setTableData(data);
  }
  setStatus(2, QString());
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
  if (MainForm && MainForm->showMessagesItem && isActiveChild()) MainForm->showMessagesItem->setChecked(shown);
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
  const QTextBlock block = Editor->document()->findBlockByNumber(line - 1);
  if (line < 1 || !block.isValid()) return false;
  const int lineLength = block.length() - 1;
  int select = length;
  if (pos >= lineLength) {
    // Past the end of the line: its start, nothing selected.
    pos = 0;
    select = 0;
  } else if (pos + length > lineLength) {
    select = 0;
  }
  QTextCursor c(Editor->document());
  c.setPosition(block.position() + pos);
  c.setPosition(block.position() + pos + select, QTextCursor::KeepAnchor);
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
  if (MainForm) {
    MainForm->UpdateChildActions();
    showFontSize();
    MainForm->ToTblAction->setEnabled(checkFlag);
    MainForm->CompileAction->setEnabled(checkFlag);
    MainForm->ToSkuAction->setEnabled(toSkuFlag && settings.kind != 1);
    if (MainForm->showMessagesItem) MainForm->showMessagesItem->setChecked(messagesVisible);
  }
  setStatus(0, isModified() ? QString::fromUtf8(kChanged) : QString());
  setStatus(1, QString());
  setStatus(2, QString());
  updateClipboardItems();
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
  if (isModified()) {
    const QString name = fileName == QLatin1String(kUntitled)
                             ? (settings.kind == 1 ? QStringLiteral("Untitled СКУ") : QStringLiteral("Untitled РВАС"))
                             : fileName;
    const int a = dlg::message(this, QStringLiteral("Сохранить изменения в ") + name, QString::fromUtf8(kConfirm),
                               dlg::Yes | dlg::No | dlg::Cancel, dlg::Question);
    if (a == dlg::Cancel) return false;
    // A save that was cancelled or failed keeps the window and its changes.
    if (a == dlg::Yes && !Save1Click()) return false;
  }
  // The tables made from this text are asked before they go with it.
  return closeOwnedTables();
}

void TEditForm::FormClose() {
  setStatus(0, QString());
  setStatus(1, QString());
  ChildKind = ckNone;
  if (MainForm) MainForm->UpdateChildActions();
}

void TEditForm::closeEvent(QCloseEvent* event) {
  bool allow = false;
  guard::run(this, [&] { allow = FormCloseQuery(); });
  if (!allow) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
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
