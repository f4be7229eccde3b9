#include "velmora/documents/txtform.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QPointer>
#include <QPrinterInfo>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>

#include "platform/dialogs.h"
#include "platform/filewriter.h"
#include "platform/heap.h"
#include "platform/textprint.h"
#include "platform/plaintext.h"
#include "platform/rtf.h"
#include "platform/textfile.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/documents/docwindow_common.h"

namespace velmora {

namespace {

const char kUntitled[] = "Untitled";
const char kSaveFilter[] = "Текстовый файл (*.txt)|*.txt|Все файлы|*.*";

}  // namespace

QString TTxtForm::untitledCaption() { return QStringLiteral("Untitled - текстовый редактор"); }

TTxtForm::TTxtForm(QWidget* parent) : TDocChild(parent), fileName(QString::fromLatin1(kUntitled)) {
  setWindowTitle(untitledCaption());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  stack_ = new QStackedWidget(this);
  Editor = new QTextEdit(stack_);
  Plain = new longlines::TextEdit(stack_);
  QFont f(QStringLiteral("Vexo font"));
  f.setPixelSize(12);
  for (QAbstractScrollArea* e :
       {static_cast<QAbstractScrollArea*>(Editor), static_cast<QAbstractScrollArea*>(Plain)}) {
    e->setFont(f);
    e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    stack_->addWidget(e);
  }
  Editor->setLineWrapMode(QTextEdit::NoWrap);
  Plain->setLineWrapMode(QPlainTextEdit::NoWrap);
  layout->addWidget(stack_);
  setFocusProxy(Editor);
  buildMenus();

  docwin::attachPopup(this, Editor, menus.popup);
  docwin::attachPopup(this, Plain, menus.popup);
  connect(Editor, &QTextEdit::selectionChanged, this, [this] { Edit1Click(); });
  connect(Plain, &QPlainTextEdit::selectionChanged, this, [this] { Edit1Click(); });
  watchModified(Plain->document());
  docwin::onClipboardChange(this, [this] { Edit1Click(); });
  setDocument(new QTextDocument(this));

  // FormCreate
  Edit1Click();
}

TTxtForm::~TTxtForm() { delete printer_; }

void TTxtForm::buildMenus() {
  using docwin::addItem;
  mFile_ = docwin::fileMenuFor(this, QStringLiteral("Создать..."), false);
  mFile_->addSeparator();
  addItem(this, mFile_, QStringLiteral("&Печать..."), QKeySequence(QStringLiteral("Ctrl+P")),
          [this] { mPrintClick(); });
  addItem(this, mFile_, QStringLiteral("&Настройки принтера..."), {}, [this] { mPrintSetupClick(); });
  mFile_->addSeparator();
  docwin::addExitItem(this, mFile_);

  menus = docwin::textMenusFor(this, QStringLiteral("Ф&ормат"), false, [this] { mFontClick(); });
}

FrameHandlers TTxtForm::frameHandlers() {
  // The clipboard commands follow the selection and the clipboard (Edit1Click).
  return {{FrameCmd::Save, [this](QObject*) { Save1Click(); }},
          {FrameCmd::Cut, [this](QObject*) { Cut1Click(); }, true},
          {FrameCmd::Copy, [this](QObject*) { Copy1Click(); }, true},
          {FrameCmd::Paste, [this](QObject*) { Paste1Click(); }, true},
          {FrameCmd::Delete, [this](QObject*) { Delete1Click(); }, true}};
}

bool TTxtForm::isModified() const {
  return (plainText_ ? Plain->document() : Editor->document())->isModified();
}

QAbstractScrollArea* TTxtForm::shown() const {
  if (plainText_) return Plain;
  return Editor;
}

void TTxtForm::showPlain(bool plain) {
  plainText_ = plain;
  stack_->setCurrentWidget(shown());
  setFocusProxy(shown());
}

void TTxtForm::makeRich() {
  if (!plainText_) return;
  auto* doc = new QTextDocument(this);
  doc->setUndoRedoEnabled(false);
  doc->setPlainText(Plain->wholeText());
  doc->setUndoRedoEnabled(true);
  doc->setModified(Plain->document()->isModified());
  setDocument(doc);
  // The selection stays where it was (pieces of long lines aside, as their marks go).
  const QTextCursor was = Plain->textCursor();
  const int last = doc->characterCount() - 1;
  QTextCursor c(doc);
  c.setPosition(qMin(was.anchor(), last));
  c.setPosition(qMin(was.position(), last), QTextCursor::KeepAnchor);
  Editor->setTextCursor(c);
  Plain->setText(QString(), false);
  showPlain(false);
  Editor->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Files

namespace {

// Whether the file is rich text, by its first bytes past any blanks.
bool isRich(const plaintext::ShownParts& parts) {
  QByteArray head;
  for (size_t i = 0; i < parts.partCount() && head.size() < 5; ++i) {
    QByteArrayView part = parts.part(i);
    if (head.isEmpty()) {
      const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
      part = part.sliced(std::find_if_not(part.begin(), part.end(), blank) - part.begin());
    }
    head += part.first(qMin<qsizetype>(part.size(), 5 - head.size()));
  }
  return rtf::isRtf(head);
}

}  // namespace

bool TTxtForm::LoadFromFile(const QString& path) {
  QFile file;
  QString failure;
  if (!textfile::openForReading(&file, path, &failure)) {
    dlg::error(this, failure);
    return false;
  }
  // The file is read whole before anything changes, in parts: a plain text is shown a part at a
  // time, each part's bytes given up once shown, and the document's buffer grows by remapping.
  heap::SystemBlocks systemBlocks;
  plaintext::ShownParts parts;
  errno = 0;
  if (!parts.read(&file) || file.error() != QFileDevice::NoError) {
    dlg::error(this, QStringLiteral("Ошибка чтения файла ") + path + QStringLiteral(": ") +
                         textfile::failureCause(errno, file));
    return false;
  }
  fileName = path;
  setWindowTitle(QFileInfo(path).fileName());
  if (!isRich(parts)) {
    breaks_ = parts.breaks();
    Plain->load(parts.lineCount(), [&](QString* shown) { return parts.next(shown); });
    Plain->moveCursor(QTextCursor::Start);
    showPlain(true);
    setDocument(new QTextDocument(this));
    return true;
  }
  // The document is built apart from the editor and shown whole: filling a shown document lays
  // it out again and again.
  auto* doc = new QTextDocument(this);
  doc->setDefaultFont(Editor->font());
  doc->setUndoRedoEnabled(false);
  rtf::toTextDocument(rtf::read(parts.takeAll()), doc);
  doc->setUndoRedoEnabled(true);
  doc->setModified(false);
  setDocument(doc);
  Editor->moveCursor(QTextCursor::Start);
  showPlain(false);
  return true;
}

void TTxtForm::setDocument(QTextDocument* doc) {
  // The editor frees a document it made itself; one of ours is freed here.
  QPointer<QTextDocument> old = Editor->document();
  doc->setDefaultFont(Editor->font());
  Editor->setDocument(doc);
  watchModified(doc);
  if (old && old->parent() == this) delete old;
}

void TTxtForm::watchModified(QTextDocument* doc) {
  connect(doc, &QTextDocument::modificationChanged, this, [this](bool modified) {
    if (docwin::isActiveChild(this))
      docwin::setStatus(this, 0, modified ? QStringLiteral("Изменен") : QString());
  });
}

bool TTxtForm::Save1Click() {
  // A report named by its producer but placed nowhere yet goes through the dialog too.
  if (windowTitle() == untitledCaption() || !QFileInfo(fileName).isAbsolute()) {
    if (windowTitle() == untitledCaption()) fileName = QString::fromLatin1(kUntitled);
    return Saveas1Click();
  }
  QString error;
  bool written;
  if (plainText_) {
    // A text that came as plain text goes back as plain text, its lines parted as they came,
    // streamed from the edit into the file.
    textfile::Writer out(fileName);
    out.asPlainText(breaks_.lineEnd, breaks_.finalBreak);
    Plain->write(out);
    written = out.commit(&error);
  } else {
    written = textfile::writeBytes(fileName, rtf::write(rtf::fromTextDocument(*Editor->document())), &error);
  }
  if (!written) {
    dlg::error(this, error);
    return false;
  }
  (plainText_ ? Plain->document() : Editor->document())->setModified(false);
  docwin::setStatus(this, 0, QString());
  return true;
}

bool TTxtForm::Saveas1Click() {
  return docwin::saveAs(this, &fileName, QString::fromUtf8(kSaveFilter), QStringLiteral("txt"), QString(),
                        [this] { return Save1Click(); });
}

// ---------------------------------------------------------------------------------------------
// Editing

void TTxtForm::Cut1Click() { plainText_ ? Plain->cut() : Editor->cut(); }
void TTxtForm::Copy1Click() { plainText_ ? Plain->copy() : Editor->copy(); }
void TTxtForm::Paste1Click() { plainText_ ? Plain->paste() : Editor->paste(); }
void TTxtForm::Delete1Click() {
  (plainText_ ? Plain->textCursor() : Editor->textCursor()).removeSelectedText();
}
void TTxtForm::Selectall1Click() { plainText_ ? Plain->selectAll() : Editor->selectAll(); }

void TTxtForm::Edit1Click() {
  const bool selected = (plainText_ ? Plain->textCursor() : Editor->textCursor()).hasSelection();
  menus.clip.update(selected, docwin::activeFrame(this));
}

void TTxtForm::Left1Click(QAction* item) {
  makeRich();
  Editor->setAlignment(menus.align.choose(item));
}

bool TTxtForm::wordWrap() const { return Editor->lineWrapMode() != QTextEdit::NoWrap; }

void TTxtForm::Wordwrap1Click() {
  // Both edits wrap alike, so a text made rich keeps the wrapping it had.
  const bool wrap = !wordWrap();
  docwin::setWordWrap(Plain, menus.wordWrap, wrap);
  docwin::setWordWrap(Editor, menus.wordWrap, wrap);
}

int TTxtForm::fontSize() const { return docwin::pointSize(Editor->font()); }

bool TTxtForm::setFontSize(int size) {
  if (size < 1) return true;  // a size nobody can read is not taken
  docwin::setPointSize(Editor, size);
  docwin::setPointSize(Plain, size);
  return true;
}

void TTxtForm::FontBig1Click() {
  docwin::stepFontSize(Editor, +2);
  docwin::setPointSize(Plain, fontSize());
}

void TTxtForm::FontSml2Click() {
  docwin::stepFontSize(Editor, -2);
  docwin::setPointSize(Plain, fontSize());
}

void TTxtForm::mFontClick() {
  QFont f = plainText_ ? Plain->font() : Editor->currentCharFormat().font().resolve(Editor->font());
  if (!dlg::fontDialog(this, &f)) return;
  makeRich();
  QTextCharFormat cf;
  cf.setFont(f);
  Editor->mergeCurrentCharFormat(cf);
}

// ---------------------------------------------------------------------------------------------
// Printing

QPrinter* TTxtForm::printer() {
  if (!printer_) printer_ = new QPrinter(QPrinter::HighResolution);
  return printer_;
}

void TTxtForm::mPrintClick() {
  QPrinter* p = printer();
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    // No printer on this machine: the job goes into a PDF file beside the document.
    p->setOutputFormat(QPrinter::PdfFormat);
    if (p->outputFileName().isEmpty()) {
      // Beside the document; a document placed nowhere yet goes to the documents folder when
      // there is one (the dialog refuses a folder that does not exist), else home.
      const QFileInfo fi(fileName);
      QString dir = docwin::directoryOf(fileName);
      if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
      if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::homePath();
      p->setOutputFileName(QDir(dir).filePath(fi.completeBaseName() + QStringLiteral(".pdf")));
    }
  }
  if (!dlg::printDialog(this, p)) return;
  p->setDocName(fileName);
  textprint::printAsShown(*(plainText_ ? Plain->document() : Editor->document()), p);
  if (p->printerState() == QPrinter::Error) {
    p->abort();
    dlg::error(this, QStringLiteral("Ошибка печати: ") +
                         (p->outputFileName().isEmpty() ? p->printerName() : p->outputFileName()));
  }
}

void TTxtForm::mPrintSetupClick() { dlg::pageSetupDialog(this, printer()); }

// ---------------------------------------------------------------------------------------------
// Lifecycle

void TTxtForm::FormActivate() {
  ChildKind = ckText;
  if (frame()) frame()->updateActions();
  docwin::showFontSize(this, fontSize());
  docwin::setStatus(this, 1, QString());
  // A plain text shown otherwise than usual (long lines in pieces) says so.
  docwin::setStatus(this, 2, plainText_ ? Plain->notes() : QString());
  docwin::setStatus(this, 0, isModified() ? QStringLiteral("Изменен") : QString());
  Edit1Click();
}

bool TTxtForm::FormCloseQuery() {
  const QString name =
      fileName == QLatin1String(kUntitled) ? QStringLiteral("Untitled текстовый файл") : fileName;
  return docwin::closeQuery(this, isModified(), name, [this] { return Save1Click(); });
}

void TTxtForm::FormClose() {
  docwin::setStatus(this, 0, QString());
  ChildKind = ckNone;
  if (frame()) frame()->updateActions();
}

void TTxtForm::closeEvent(QCloseEvent* event) {
  docwin::handleClose(
      this, event, [this] { return FormCloseQuery(); }, [this] { FormClose(); });
}

}  // namespace velmora
