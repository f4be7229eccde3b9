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
  const bool canPaste = clipboardHasText();
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

void stepFontSize(QWidget* editor, int step) { showFontSize(stepPointSize(editor, step)); }

void showFontSize(int size) {
  if (!MainForm || !MainForm->fontSizeBox()) return;
  QComboBox* box = MainForm->fontSizeBox();
  const QSignalBlocker block(box);
  box->setCurrentText(QString::number(size));
}

void enableFontSizeBox() {
  if (MainForm && MainForm->fontSizeBox()) MainForm->fontSizeBox()->setEnabled(true);
}

bool closeQuery(QWidget* window, bool modified, const QString& name, const std::function<bool()>& save) {
  return askToSave(window, modified, QStringLiteral("Сохранить изменения в ") + name, save);
}

bool isActiveChild(const QWidget* window) { return MainForm && MainForm->activeChild() == window; }

void setStatus(int panel, const QString& text) {
  if (MainForm) MainForm->setStatusText(panel, text);
}

}  // namespace docwin
