#include "velmora/documents/docwindow_common.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QSignalBlocker>

#include "platform/dialogs.h"
#include "platform/guard.h"
#include "velmora/app/mainform.h"

namespace docwin {

QAction* addItem(QWidget* window, QMenu* menu, const QString& text, const QKeySequence& key,
                 std::function<void()> command) {
  QAction* a = menu->addAction(text);
  if (!key.isEmpty()) {
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    window->addAction(a);
  }
  QObject::connect(a, &QAction::triggered, window, [window, command] { guard::run(window, command); });
  return a;
}

QString withKeyText(const QString& text, const char* key) { return text + QLatin1Char('\t') + QLatin1String(key); }

std::function<void()> frameCommand(void (TMainForm::*handler)()) {
  return [handler] {
    if (MainForm) (MainForm->*handler)();
  };
}

QMenu* fileMenu(QWidget* window, const QString& createTitle, bool skuFirst, const FileCommands& commands) {
  auto* file = new QMenu(QStringLiteral("&Файл"), window);
  QMenu* create = file->addMenu(createTitle);
  const auto sku = [&] { addItem(window, create, QStringLiteral("&СКУ"), {}, frameCommand(&TMainForm::NewSkuClick)); };
  const auto rvas = [&] { addItem(window, create, QStringLiteral("&РВАС"), {}, frameCommand(&TMainForm::NewRvasClick)); };
  if (skuFirst) {
    sku();
    rvas();
  } else {
    rvas();
    sku();
  }
  addItem(window, create, QStringLiteral("&ГСА"), {}, frameCommand(&TMainForm::NewGSAClick));
  addItem(window, create, QStringLiteral("Таблицу &переходов"), {}, frameCommand(&TMainForm::NewTblClick));
  create->addSeparator();
  addItem(window, create, QStringLiteral("&Текстовый файл"), {}, frameCommand(&TMainForm::NewTxtClick));
  addItem(window, file, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3),
          frameCommand(&TMainForm::FileOpenItemClick));
  addItem(window, file, QStringLiteral("&Закрыть"), {}, commands.close);
  addItem(window, file, QStringLiteral("&Сохранить"), QKeySequence(Qt::Key_F2), commands.save);
  addItem(window, file, QStringLiteral("Сохранить &как..."), {}, commands.saveAs);
  return file;
}

void addExitItem(QWidget* window, QMenu* file) {
  addItem(window, file, QStringLiteral("В&ыход"), {}, frameCommand(&TMainForm::FileExitItemClick));
}

void ClipboardItems::update(bool selected, bool frameToo) const {
  const QMimeData* md = QApplication::clipboard()->mimeData();
  const bool canPaste = md && md->hasText();
  paste->setEnabled(canPaste);
  popupPaste->setEnabled(canPaste);
  for (QAction* a : {cut, copy, del, popupCut, popupCopy}) a->setEnabled(selected);
  if (MainForm && frameToo) {
    MainForm->EditPasteAction->setEnabled(canPaste);
    MainForm->EditCutAction->setEnabled(selected);
    MainForm->EditCopyAction->setEnabled(selected);
    MainForm->EditDelAction->setEnabled(selected);
  }
}

void attachPopup(QWidget* window, QAbstractScrollArea* editor, QMenu* popup) {
  editor->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(editor, &QWidget::customContextMenuRequested, window,
                   [editor, popup](const QPoint& p) { popup->popup(editor->viewport()->mapToGlobal(p)); });
}

void onClipboardChange(QWidget* window, const std::function<void()>& changed) {
  QObject::connect(QApplication::clipboard(), &QClipboard::dataChanged, window, changed);
}

ClipboardItems editMenus(QWidget* window, QMenu* edit, QMenu* popup, const EditCommands& commands) {
  ClipboardItems items;
  // Ctrl+X, Ctrl+C and Ctrl+V belong to the frame's edit actions, which route here; the menu names them.
  items.cut = addItem(window, edit, withKeyText(QStringLiteral("&Вырезать"), "Ctrl+X"), {}, commands.cut);
  items.copy = addItem(window, edit, withKeyText(QStringLiteral("&Копировать"), "Ctrl+C"), {}, commands.copy);
  items.paste = addItem(window, edit, withKeyText(QStringLiteral("Вст&авить"), "Ctrl+V"), {}, commands.paste);
  items.del = addItem(window, edit, QStringLiteral("&Удалить"), QKeySequence(QStringLiteral("Ctrl+D")), commands.del);
  edit->addSeparator();
  addItem(window, edit, QStringLiteral("Выделить в&сё"), QKeySequence(QStringLiteral("Ctrl+A")), commands.selectAll);
  items.popupCut = addItem(window, popup, QStringLiteral("&Вырезать"), {}, commands.cut);
  items.popupCopy = addItem(window, popup, QStringLiteral("&Копировать"), {}, commands.copy);
  items.popupPaste = addItem(window, popup, QStringLiteral("Вст&авить"), {}, commands.paste);
  if (commands.aboutToShow) {
    QObject::connect(edit, &QMenu::aboutToShow, window, commands.aboutToShow);
    QObject::connect(popup, &QMenu::aboutToShow, window, commands.aboutToShow);
  }
  return items;
}

Qt::Alignment AlignItems::choose(QAction* chosen) const {
  for (QAction* a : {left, right, center}) a->setChecked(a == chosen);
  if (chosen == right) return Qt::AlignRight | Qt::AlignAbsolute;
  if (chosen == center) return Qt::AlignHCenter;
  return Qt::AlignLeft | Qt::AlignAbsolute;
}

AlignItems addAlignItems(QWidget* window, QMenu* format, const std::function<void(QAction*)>& chosen) {
  AlignItems items;
  QAction** targets[] = {&items.left, &items.right, &items.center};
  const QString texts[] = {QStringLiteral("По &левому краю"), QStringLiteral("По &правому краю"),
                           QStringLiteral("По &центру")};
  for (int i = 0; i < 3; ++i) {
    QAction* a = format->addAction(texts[i]);
    a->setCheckable(true);
    // The item passes itself, so one handler serves all three.
    QObject::connect(a, &QAction::triggered, window, [window, chosen, a] { guard::run(window, [&] { chosen(a); }); });
    *targets[i] = a;
  }
  items.left->setChecked(true);
  return items;
}

TextMenus textMenus(QWidget* window, const QString& formatTitle, bool wrapping, const EditCommands& edit,
                    const FormatCommands& format) {
  TextMenus m;
  m.edit = new QMenu(QStringLiteral("&Правка"), window);
  m.popup = new QMenu(window);
  m.clip = editMenus(window, m.edit, m.popup, edit);
  m.format = new QMenu(formatTitle, window);
  m.align = addAlignItems(window, m.format, format.align);
  m.format->addSeparator();
  m.wordWrap = addItem(window, m.format, QStringLiteral("Перенос &слов"), {}, format.wordWrap);
  m.wordWrap->setCheckable(true);
  m.wordWrap->setChecked(wrapping);
  m.format->addSeparator();
  if (format.font) addItem(window, m.format, QStringLiteral("&Шрифт..."), {}, format.font);
  addItem(window, m.format, QStringLiteral("У&величить шрифт"), {}, format.bigger);
  addItem(window, m.format, QStringLiteral("У&меньшить шрифт"), {}, format.smaller);
  return m;
}

int pointSize(const QFont& font) {
  if (font.pointSize() > 0) return font.pointSize();
  return qRound(font.pixelSize() * 72.0 / 96.0);
}

void setPointSize(QWidget* editor, int size) {
  QFont f = editor->font();
  f.setPointSize(size);
  editor->setFont(f);
}

void stepFontSize(QWidget* editor, int step) {
  const int size = pointSize(editor->font());
  if (step > 0 ? size < 72 : size > 6) setPointSize(editor, size + step);
  showFontSize(pointSize(editor->font()));
}

void showFontSize(int size) {
  if (!MainForm || !MainForm->fontSizeBox()) return;
  QComboBox* box = MainForm->fontSizeBox();
  const QSignalBlocker block(box);
  box->setCurrentText(QString::number(size));
}

void enableFontSizeBox() {
  if (MainForm && MainForm->fontSizeBox()) MainForm->fontSizeBox()->setEnabled(true);
}

QString directoryOf(const QString& path) {
  const QFileInfo fi(path);
  return fi.isAbsolute() ? fi.absolutePath() : QString();
}

QString askSavePath(QWidget* window, const QString& fileName, const QString& filter, const QString& ext,
                    const QString& startDir) {
  const bool untitled = fileName == QLatin1String("Untitled");
  const QString name = untitled ? QString() : QFileInfo(fileName).fileName();
  QString dir = directoryOf(fileName);
  if (dir.isEmpty()) dir = startDir;
  const QString path = dlg::saveFile(window, filter, dir, name);
  if (path.isEmpty()) return path;
  // The dialog adds the default extension to a name typed without one.
  return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + ext : path;
}

bool saveAs(QWidget* window, QString* fileName, const QString& filter, const QString& ext, const QString& startDir,
            const std::function<bool()>& save) {
  const QString path = askSavePath(window, *fileName, filter, ext, startDir);
  if (path.isEmpty()) return false;
  *fileName = path;
  window->setWindowTitle(QFileInfo(path).fileName());
  return save();
}

bool closeQuery(QWidget* window, bool modified, const QString& name, const std::function<bool()>& save) {
  if (!modified) return true;
  const int answer = dlg::message(window, QStringLiteral("Сохранить изменения в ") + name,
                                  QStringLiteral("Подтверждение"), dlg::Yes | dlg::No | dlg::Cancel, dlg::Question);
  if (answer == dlg::Cancel) return false;
  if (answer == dlg::Yes) return save();
  return true;
}

void handleClose(QWidget* window, QCloseEvent* event, const std::function<bool()>& query,
                 const std::function<void()>& closed) {
  bool allow = false;
  guard::run(window, [&] { allow = query(); });
  if (!allow) {
    event->ignore();
    return;
  }
  closed();
  event->accept();
}

void closeWindow(QWidget* window) {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
    sub->close();
  else
    window->close();
}

bool isActiveChild(const QWidget* window) { return MainForm && MainForm->activeChild() == window; }

void setStatus(int panel, const QString& text) {
  if (MainForm) MainForm->setStatusText(panel, text);
}

}  // namespace docwin
