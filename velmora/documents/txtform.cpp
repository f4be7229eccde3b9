#include "velmora/documents/txtform.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <functional>

#include "platform/cp1251.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/rtf.h"
#include "platform/textfile.h"
#include "velmora/app/childkind.h"
#include "velmora/app/mainform.h"

namespace {

const char kUntitled[] = "Untitled";
const char kSaveFilter[] = "Текстовый файл (*.txt)|*.txt|Все файлы|*.*";
const char kConfirm[] = "Подтверждение";

// A name typed without extension gets the default one, as the save dialog would add it.
QString withDefaultExtension(const QString& path, const QString& ext) {
  return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + ext : path;
}

// Where a dialog for `name` starts: the directory of the document, when it has one.
QString directoryOf(const QString& name) {
  const QFileInfo fi(name);
  return fi.isAbsolute() ? fi.absolutePath() : QString();
}

}  // namespace

QString TTxtForm::untitledCaption() { return QStringLiteral("Untitled - текстовый редактор"); }

TTxtForm::TTxtForm(QWidget* parent) : TDocChild(parent), fileName(QString::fromLatin1(kUntitled)) {
  setWindowTitle(untitledCaption());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Editor = new QTextEdit(this);
  QFont f(QStringLiteral("Vexo font"));
  f.setPixelSize(12);
  Editor->setFont(f);
  Editor->setLineWrapMode(QTextEdit::NoWrap);
  Editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Editor->setContextMenuPolicy(Qt::CustomContextMenu);
  layout->addWidget(Editor);
  setFocusProxy(Editor);
  buildMenus();

  connect(Editor, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { popup_->popup(Editor->viewport()->mapToGlobal(p)); });
  connect(Editor, &QTextEdit::selectionChanged, this, [this] { Edit1Click(); });
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { Edit1Click(); });
  connect(Editor->document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
    if (isActiveChild()) setStatus(0, modified ? QStringLiteral("Изменен") : QString());
  });

  // FormCreate
  Edit1Click();
  if (MainForm && MainForm->fontSizeBox()) MainForm->fontSizeBox()->setEnabled(true);
}

TTxtForm::~TTxtForm() { delete printer_; }

void TTxtForm::buildMenus() {
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
  // Ctrl+X, Ctrl+C and Ctrl+V are the frame's edit actions, which route here; the menu names them.
  auto shown = [](const QString& text, const char* key) { return text + QLatin1Char('\t') + QLatin1String(key); };
  auto frame = [](void (TMainForm::*h)()) {
    return [h] {
      if (MainForm) (MainForm->*h)();
    };
  };

  mFile_ = new QMenu(QStringLiteral("&Файл"), this);
  QMenu* create = mFile_->addMenu(QStringLiteral("Создать..."));
  add(create, QStringLiteral("&РВАС"), {}, frame(&TMainForm::NewRvasClick));
  add(create, QStringLiteral("&СКУ"), {}, frame(&TMainForm::NewSkuClick));
  add(create, QStringLiteral("&ГСА"), {}, frame(&TMainForm::NewGSAClick));
  add(create, QStringLiteral("Таблицу &переходов"), {}, frame(&TMainForm::NewTblClick));
  create->addSeparator();
  add(create, QStringLiteral("&Текстовый файл"), {}, frame(&TMainForm::NewTxtClick));
  add(mFile_, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3), frame(&TMainForm::FileOpenItemClick));
  add(mFile_, QStringLiteral("&Закрыть"), {}, [this] { close1Click(); });
  add(mFile_, QStringLiteral("&Сохранить"), QKeySequence(Qt::Key_F2), [this] { Save1Click(); });
  add(mFile_, QStringLiteral("Сохранить &как..."), {}, [this] { Saveas1Click(); });
  mFile_->addSeparator();
  add(mFile_, QStringLiteral("&Печать..."), QKeySequence(QStringLiteral("Ctrl+P")), [this] { mPrintClick(); });
  add(mFile_, QStringLiteral("&Настройки принтера..."), {}, [this] { mPrintSetupClick(); });
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

  mFormat_ = new QMenu(QStringLiteral("Ф&ормат"), this);
  alignLeftItem = add(mFormat_, QStringLiteral("По &левому краю"), {}, [this] { Left1Click(alignLeftItem); });
  alignRightItem = add(mFormat_, QStringLiteral("По &правому краю"), {}, [this] { Left1Click(alignRightItem); });
  alignCenterItem = add(mFormat_, QStringLiteral("По &центру"), {}, [this] { Left1Click(alignCenterItem); });
  for (QAction* a : {alignLeftItem, alignRightItem, alignCenterItem}) a->setCheckable(true);
  alignLeftItem->setChecked(true);
  mFormat_->addSeparator();
  wordWrapItem = add(mFormat_, QStringLiteral("Перенос &слов"), {}, [this] { Wordwrap1Click(); });
  wordWrapItem->setCheckable(true);
  mFormat_->addSeparator();
  add(mFormat_, QStringLiteral("&Шрифт..."), {}, [this] { mFontClick(); });
  add(mFormat_, QStringLiteral("У&величить шрифт"), {}, [this] { FontBig1Click(); });
  add(mFormat_, QStringLiteral("У&меньшить шрифт"), {}, [this] { FontSml2Click(); });

  popup_ = new QMenu(this);
  popupCut = add(popup_, QStringLiteral("&Вырезать"), {}, [this] { Cut1Click(); });
  popupCopy = add(popup_, QStringLiteral("&Копировать"), {}, [this] { Copy1Click(); });
  popupPaste = add(popup_, QStringLiteral("Вст&авить"), {}, [this] { Paste1Click(); });
  connect(popup_, &QMenu::aboutToShow, this, [this] { Edit1Click(); });
}

void TTxtForm::frameCommand(FrameCmd cmd, QObject*) {
  switch (cmd) {
    case FrameCmd::Save: Save1Click(); break;
    case FrameCmd::Cut: Cut1Click(); break;
    case FrameCmd::Copy: Copy1Click(); break;
    case FrameCmd::Paste: Paste1Click(); break;
    case FrameCmd::Delete: Delete1Click(); break;
    default: break;
  }
}

bool TTxtForm::isModified() const { return Editor->document()->isModified(); }

bool TTxtForm::isActiveChild() const { return MainForm && MainForm->activeChild() == this; }

void TTxtForm::setStatus(int panel, const QString& text) {
  if (MainForm) MainForm->setStatusText(panel, text);
}

// ---------------------------------------------------------------------------------------------
// Files

bool TTxtForm::LoadFromFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    dlg::error(this, QStringLiteral("Не удается открыть файл ") + path + QStringLiteral(": ") + file.errorString());
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    dlg::error(this, QStringLiteral("Ошибка чтения файла ") + path + QStringLiteral(": ") + file.errorString());
    return false;
  }
  fileName = path;
  setWindowTitle(QFileInfo(path).fileName());
  if (rtf::isRtf(bytes)) {
    rtf::toTextDocument(rtf::read(bytes), Editor->document());
  } else {
    Editor->setPlainText(textfile::splitLines(cp1251::decode(bytes)).join(QLatin1Char('\n')));
  }
  Editor->moveCursor(QTextCursor::Start);
  Editor->document()->setModified(false);
  return true;
}

bool TTxtForm::Save1Click() {
  // A report named by its producer but placed nowhere yet goes through the dialog too.
  if (windowTitle() == untitledCaption() || !QFileInfo(fileName).isAbsolute()) {
    if (windowTitle() == untitledCaption()) fileName = QString::fromLatin1(kUntitled);
    return Saveas1Click();
  }
  QString error;
  if (!textfile::writeBytes(fileName, rtf::write(rtf::fromTextDocument(*Editor->document())), &error)) {
    dlg::error(this, error);
    return false;
  }
  Editor->document()->setModified(false);
  setStatus(0, QString());
  return true;
}

bool TTxtForm::Saveas1Click() {
  const QString name = fileName == QLatin1String(kUntitled) ? QString() : QFileInfo(fileName).fileName();
  QString path = dlg::saveFile(this, QString::fromUtf8(kSaveFilter), directoryOf(fileName), name);
  if (path.isEmpty()) return false;
  path = withDefaultExtension(path, QStringLiteral("txt"));
  fileName = path;
  setWindowTitle(QFileInfo(path).fileName());
  return Save1Click();
}

void TTxtForm::close1Click() {
  if (auto* sw = qobject_cast<QMdiSubWindow*>(parentWidget()))
    sw->close();
  else
    close();
}

// ---------------------------------------------------------------------------------------------
// Editing

void TTxtForm::Cut1Click() { Editor->cut(); }
void TTxtForm::Copy1Click() { Editor->copy(); }
void TTxtForm::Paste1Click() { Editor->paste(); }
void TTxtForm::Delete1Click() { Editor->textCursor().removeSelectedText(); }
void TTxtForm::Selectall1Click() { Editor->selectAll(); }

void TTxtForm::Edit1Click() { updateClipboardItems(); }

void TTxtForm::updateClipboardItems() {
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

void TTxtForm::Left1Click(QAction* item) {
  for (QAction* a : {alignLeftItem, alignRightItem, alignCenterItem}) a->setChecked(a == item);
  if (item == alignRightItem) Editor->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
  else if (item == alignCenterItem) Editor->setAlignment(Qt::AlignHCenter);
  else Editor->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
}

bool TTxtForm::wordWrap() const { return Editor->lineWrapMode() != QTextEdit::NoWrap; }

void TTxtForm::Wordwrap1Click() {
  const bool wrap = !wordWrap();
  Editor->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  Editor->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  wordWrapItem->setChecked(wrap);
}

int TTxtForm::fontSize() const {
  const QFont f = Editor->font();
  if (f.pointSize() > 0) return f.pointSize();
  return qRound(f.pixelSize() * 72.0 / 96.0);
}

void TTxtForm::applyFontSize(int size) {
  QFont f = Editor->font();
  f.setPointSize(size);
  Editor->setFont(f);
}

void TTxtForm::showFontSize() {
  if (!MainForm || !MainForm->fontSizeBox()) return;
  QComboBox* box = MainForm->fontSizeBox();
  const QSignalBlocker block(box);
  box->setCurrentText(QString::number(fontSize()));
}

bool TTxtForm::setFontSize(int size) {
  if (size < 1) return true;  // a size nobody can read is not taken
  applyFontSize(size);
  return true;
}

void TTxtForm::FontBig1Click() {
  if (fontSize() < 72) applyFontSize(fontSize() + 2);
  showFontSize();
}

void TTxtForm::FontSml2Click() {
  if (fontSize() > 6) applyFontSize(fontSize() - 2);
  showFontSize();
}

void TTxtForm::mFontClick() {
  QFont f = Editor->currentCharFormat().font().resolve(Editor->font());
  if (!dlg::fontDialog(this, &f)) return;
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
      const QFileInfo fi(fileName);
      const QString dir = fi.isAbsolute() ? fi.absolutePath()
                                          : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
      p->setOutputFileName(QDir(dir.isEmpty() ? QDir::homePath() : dir).filePath(fi.completeBaseName() + QStringLiteral(".pdf")));
    }
  }
  if (!dlg::printDialog(this, p)) return;
  p->setDocName(fileName);
  Editor->document()->print(p);
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
  if (MainForm) MainForm->UpdateChildActions();
  showFontSize();
  setStatus(1, QString());
  setStatus(2, QString());
  setStatus(0, isModified() ? QStringLiteral("Изменен") : QString());
  Edit1Click();
}

bool TTxtForm::FormCloseQuery() {
  if (!isModified()) return true;
  const QString name = fileName == QLatin1String(kUntitled) ? QStringLiteral("Untitled текстовый файл") : fileName;
  const int a = dlg::message(this, QStringLiteral("Сохранить изменения в ") + name, QString::fromUtf8(kConfirm),
                             dlg::Yes | dlg::No | dlg::Cancel, dlg::Question);
  if (a == dlg::Cancel) return false;
  // A save that was cancelled or failed keeps the window and its changes.
  if (a == dlg::Yes) return Save1Click();
  return true;
}

void TTxtForm::FormClose() {
  setStatus(0, QString());
  ChildKind = ckNone;
  if (MainForm) MainForm->UpdateChildActions();
}

void TTxtForm::closeEvent(QCloseEvent* event) {
  bool allow = false;
  guard::run(this, [&] { allow = FormCloseQuery(); });
  if (!allow) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}
