#include "tiravo/forms/editform.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include "platform/filewriter.h"
#include "platform/dialogs.h"
#include "platform/docwindow.h"
#include "platform/guard.h"
#include "platform/linereader.h"
#include "platform/longlines.h"
#include "platform/textfile.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/frame.h"

namespace tiravo {

namespace {

const QString kUntitled = QStringLiteral("Untitled");

bool isUntitledCaption(const QString& caption) {
  return caption == QStringLiteral("Untitled - редактор РВАС") ||
         caption == QStringLiteral("Untitled - редактор СКУ") ||
         caption == QStringLiteral("Untitled - редактор ЛСА");
}

// A line with something on it; the section headings alone are no content.
bool isContent(const QString& line) {
  return !line.isEmpty() && line != QLatin1String("sku:") && line != QLatin1String("svf:");
}

// The file part of a name: what follows the last slash, backslash or colon.
QString filePart(const QString& name) {
  int cut = -1;
  for (const QChar sep : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')})
    cut = qMax(cut, int(name.lastIndexOf(sep)));
  return name.mid(cut + 1);
}

}  // namespace

TEditForm::TEditForm(QWidget* parent) : TChildForm(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Untitled - редактор РВАС"));
  resize(540, 225);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Editor = new longlines::TextEdit(this);
  Editor->setObjectName(QStringLiteral("Editor"));
  Editor->setFrameStyle(QFrame::NoFrame);
  QFont f(QStringLiteral("Vexo font"));
  f.setPixelSize(13);
  Editor->setFont(f);
  Editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(Editor);
  setFocusProxy(Editor);
  buildMenus();
  docwin::setWordWrap(Editor, wordWrapItem, true);
  docwin::attachPopup(this, Editor, popup_);
  connect(Editor, &QPlainTextEdit::textChanged, this, [this] { EditorChange(); });
  connect(Editor, &QPlainTextEdit::selectionChanged, this, [this] { Edit1Click(); });
  docwin::onClipboardChange(this, [this] { Edit1Click(); });
  Edit1Click();
  EditorChange();
}

void TEditForm::buildMenus() {
  QMenu* file = new QMenu(QStringLiteral("&Файл"), this);
  QMenu* create = file->addMenu(QStringLiteral("Созд&ать"));
  docwin::addItem(this, create, QStringLiteral("СКУ"), {}, frameCommand(this, int(TFrame::FileCmd::NewSku)));
  docwin::addItem(this, create, QStringLiteral("РВАС"), {},
                  frameCommand(this, int(TFrame::FileCmd::NewRvas)));
  docwin::addItem(this, create, QStringLiteral("ЛСА"), {}, frameCommand(this, int(TFrame::FileCmd::NewLsa)))
      ->setEnabled(false);
  docwin::addItem(this, file, QStringLiteral("Создать таблицу"), QKeySequence(QStringLiteral("Shift+F4")),
                  frameCommand(this, int(TFrame::FileCmd::NewTable)));
  docwin::addItem(this, file, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3),
                  frameCommand(this, int(TFrame::FileCmd::Open)));
  docwin::addItem(this, file, QStringLiteral("&Закрыть"), {}, [this] { docwin::closeWindow(this); });
  docwin::addItem(this, file, QStringLiteral("&Сохранить"), QKeySequence(Qt::Key_F2),
                  [this] { Save1Click(); });
  docwin::addItem(this, file, QStringLiteral("Сохранить &как..."), {}, [this] { Saveas1Click(); });
  file->addSeparator();
  docwin::addItem(this, file, QStringLiteral("&Печать"), {}, [this] { Print1Click(); })->setEnabled(false);
  docwin::addItem(this, file, QStringLiteral("&Настройка печати..."), {}, [this] {
    Printersetup1Click();
  })->setEnabled(false);
  file->addSeparator();
  docwin::addItem(this, file, QStringLiteral("В&ыход"), {}, frameCommand(this, int(TFrame::FileCmd::Exit)));

  QMenu* edit = new QMenu(QStringLiteral("&Правка"), this);
  cutItem = docwin::addItem(this, edit, QStringLiteral("&Вырезать"), QKeySequence(QStringLiteral("Ctrl+X")),
                            [this] { Cut1Click(); });
  copyItem = docwin::addItem(this, edit, QStringLiteral("&Копировать"),
                             QKeySequence(QStringLiteral("Ctrl+C")), [this] { Copy1Click(); });
  pasteItem = docwin::addItem(this, edit, QStringLiteral("Вст&авить"), QKeySequence(QStringLiteral("Ctrl+V")),
                              [this] { Paste1Click(); });
  deleteItem = docwin::addItem(this, edit, QStringLiteral("&Удалить"), QKeySequence(QStringLiteral("Ctrl+D")),
                               [this] { Delete1Click(); });
  edit->addSeparator();
  docwin::addItem(this, edit, QStringLiteral("Выделить в&сё"), QKeySequence(QStringLiteral("Ctrl+A")),
                  [this] { Selectall1Click(); });
  connect(edit, &QMenu::aboutToShow, this, [this] { Edit1Click(); });

  QMenu* format = new QMenu(QStringLiteral("Ф&ормат"), this);
  const docwin::AlignItems align = docwin::addAlignItems(this, format, [this](QAction* a) { Left1Click(a); });
  alignLeft = align.left;
  alignRight = align.right;
  alignCenter = align.center;
  format->addSeparator();
  wordWrapItem =
      docwin::addItem(this, format, QStringLiteral("Перенос &слов"), {}, [this] { Wordwrap1Click(); });
  wordWrapItem->setCheckable(true);
  format->addSeparator();
  docwin::addItem(this, format, QStringLiteral("У&величить шрифт"), {}, [this] { FontBig1Click(); });
  docwin::addItem(this, format, QStringLiteral("У&меньшить шрифт"), {}, [this] { FontSml2Click(); });

  QMenu* trans = new QMenu(QStringLiteral("Пре&образования"), this);
  ToTbl = docwin::addItem(this, trans, QStringLiteral("Перевод в &Таблицу переходов"), {},
                          [this] { ToTblClick(); });
  ToSku = docwin::addItem(this, trans, QStringLiteral("Перевод в &СКУ"), {}, [this] { ToSkuClick(); });

  popup_ = new QMenu(this);
  popupCut = docwin::addItem(this, popup_, QStringLiteral("&Вырезать"), {}, [this] { Cut1Click(); });
  popupCopy = docwin::addItem(this, popup_, QStringLiteral("&Копировать"), {}, [this] { Copy1Click(); });
  popupPaste = docwin::addItem(this, popup_, QStringLiteral("Вст&авить"), {}, [this] { Paste1Click(); });
  connect(popup_, &QMenu::aboutToShow, this, [this] { Edit1Click(); });
  menus_ = {file, edit, format, trans};
}

QList<QMenu*> TEditForm::menus() const { return menus_; }

QStringList TEditForm::lines() const { return Editor->lines(); }

void TEditForm::setLines(const QStringList& lines) {
  // As an edit of the text: it can be undone and it marks the document modified.
  Editor->setLines(lines, true);
  showLongLineNote();
}

void TEditForm::showLongLineNote() {
  const QString notes = Editor->notes();
  if (!notes.isEmpty() && frame() && frame()->activeChild() == this) frame()->ShowHint(notes);
}

bool TEditForm::isModified() const { return Editor->document()->isModified(); }
void TEditForm::setModified(bool modified) { Editor->document()->setModified(modified); }

bool TEditForm::LoadFile(const QString& name) {
  textfile::LineReader reader;
  QString error;
  if (!reader.open(name, &error) || !Editor->load(reader, &error)) {
    dlg::error(this, error);
    return false;
  }
  FileName = name;
  setWindowTitle(filePart(name));
  if (Editor->isLarge()) docwin::setWordWrap(Editor, wordWrapItem, false);
  Editor->moveCursor(QTextCursor::Start);
  setModified(false);
  showLongLineNote();
  return true;
}

bool TEditForm::Save1Click() {
  if (isUntitledCaption(windowTitle())) {
    FileName = kUntitled;
    return Saveas1Click();
  }
  // Straight from the editor into the file: a list of the lines would cost several times the text.
  textfile::Writer out(FileName);
  Editor->write(out);
  QString error;
  if (!out.commit(&error)) {
    // The text stays modified, so closing still asks.
    dlg::error(this, error);
    return false;
  }
  setModified(false);
  return true;
}

bool TEditForm::Saveas1Click() {
  // The dialog offers the kind's own extension and takes a name that does not exist yet.
  const QString ext = EditKind == Sku   ? QStringLiteral("sku")
                      : EditKind == Lsa ? QStringLiteral("lsa")
                                        : QStringLiteral("rvs");
  return docwin::saveAs(this, &FileName, saveFilter, ext, QString(), [this] { return Save1Click(); });
}

void TEditForm::FormActivate() {
  ActiveChildKind = 3;
  if (frame()) frame()->showFontSize(fontSize());
  Edit1Click();
  showLongLineNote();
}

bool TEditForm::FormCloseQuery() {
  if (!isModified()) return true;
  const bool renamed = FileName == kUntitled;
  if (renamed)
    FileName = EditKind == Sku   ? QStringLiteral("Untitled СКУ")
               : EditKind == Lsa ? QStringLiteral("Untitled ЛСА")
                                 : QStringLiteral("Untitled РВАС");
  const QString name = FileName;
  if (renamed) FileName = kUntitled;
  // A cancelled or failed save keeps the window open and modified.
  return docwin::askToSave(this, true, QStringLiteral("Сохранить изменения в %1?").arg(name),
                           [this] { return Save1Click(); });
}

void TEditForm::closeEvent(QCloseEvent* event) {
  docwin::handleClose(
      this, event, [this] { return FormCloseQuery(); }, [] {});
}

void TEditForm::Edit1Click() {
  const bool canPaste = docwin::clipboardHasText();
  const bool selected = Editor->textCursor().hasSelection();
  pasteItem->setEnabled(canPaste);
  popupPaste->setEnabled(canPaste);
  for (QAction* a : {cutItem, copyItem, deleteItem, popupCut, popupCopy}) a->setEnabled(selected);
  if (frame() && frame()->activeChild() == this) {
    frame()->setClipboardCommands(selected, canPaste);
  }
}

void TEditForm::Cut1Click() { Editor->cut(); }
void TEditForm::Copy1Click() { Editor->copy(); }
void TEditForm::Paste1Click() { Editor->paste(); }
void TEditForm::Delete1Click() { Editor->textCursor().removeSelectedText(); }
void TEditForm::Selectall1Click() { Editor->selectAll(); }

void TEditForm::Left1Click(QAction* chosen) {
  const docwin::AlignItems items{alignLeft, alignRight, alignCenter};
  QTextOption option = Editor->document()->defaultTextOption();
  option.setAlignment(items.choose(chosen));
  Editor->document()->setDefaultTextOption(option);
}

void TEditForm::Wordwrap1Click() { docwin::setWordWrap(Editor, wordWrapItem, !wordWrapItem->isChecked()); }

int TEditForm::fontSize() const { return docwin::pointSize(Editor->font()); }

void TEditForm::setFontSize(int size) { docwin::setPointSize(Editor, size); }

void TEditForm::FontBig1Click() {
  const int size = docwin::stepPointSize(Editor, 2);
  if (frame()) frame()->showFontSize(size);
}

void TEditForm::FontSml2Click() {
  const int size = docwin::stepPointSize(Editor, -2);
  if (frame()) frame()->showFontSize(size);
}

void TEditForm::EditorChange() {
  // Paragraph by paragraph, up to the first with content: this runs on every key.
  bool content = false;
  for (QTextBlock b = Editor->document()->begin(); b.isValid() && !content; b = b.next())
    for (const QString& line : b.text().split(QChar(0x2028))) content = content || isContent(line);
  ToTbl->setEnabled(content);
  ToSku->setEnabled(content && EditKind == Rvas);
}

void TEditForm::ToSkuClick() {
  if (EditKind == Rvas) runRvasSku(*this, 1);
}

void TEditForm::ToTblClick() {
  // The translators read the real lines, not the wrapped ones.
  const bool wrap = wordWrapItem->isChecked();
  if (wrap) docwin::setWordWrap(Editor, wordWrapItem, false);
  if (EditKind == Sku)
    runSkuTbl(*this);
  else if (EditKind == Rvas)
    runRvasSku(*this, 2);
  if (wrap) docwin::setWordWrap(Editor, wordWrapItem, true);
}

void TEditForm::Print1Click() {
  QPrinter printer;
  dlg::printDialog(this, &printer);
}

void TEditForm::Printersetup1Click() {
  QPrinter printer;
  dlg::pageSetupDialog(this, &printer);
}

}  // namespace tiravo
