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

namespace velmora {

namespace docwin {

TFrame* frameOf(const QWidget* window) {
  for (const QWidget* w = window; w; w = w->parentWidget())
    if (auto* child = qobject_cast<const TDocChild*>(w)) return child->frame();
  return nullptr;
}

std::function<void()> newCommand(QWidget* window, TFrame::NewDoc doc) {
  return [window, doc] {
    if (TFrame* f = frameOf(window)) f->newDocument(doc);
  };
}

std::function<void()> openCommand(QWidget* window) {
  return [window] {
    if (TFrame* f = frameOf(window)) f->openFile();
  };
}

std::function<void()> exitCommand(QWidget* window) {
  return [window] {
    if (TFrame* f = frameOf(window)) f->exitProgram();
  };
}

QMenu* fileMenu(QWidget* window, const QString& createTitle, bool skuFirst, const FileCommands& commands) {
  auto* file = new QMenu(QStringLiteral("&Файл"), window);
  QMenu* create = file->addMenu(createTitle);
  const auto sku = [&] {
    addItem(window, create, QStringLiteral("&СКУ"), {}, newCommand(window, TFrame::NewDoc::Sku));
  };
  const auto rvas = [&] {
    addItem(window, create, QStringLiteral("&РВАС"), {}, newCommand(window, TFrame::NewDoc::Rvas));
  };
  if (skuFirst) {
    sku();
    rvas();
  } else {
    rvas();
    sku();
  }
  addItem(window, create, QStringLiteral("&ГСА"), {}, newCommand(window, TFrame::NewDoc::Gsa));
  addItem(window, create, QStringLiteral("Таблицу &переходов"), {},
          newCommand(window, TFrame::NewDoc::Table));
  create->addSeparator();
  addItem(window, create, QStringLiteral("&Текстовый файл"), {}, newCommand(window, TFrame::NewDoc::Text));
  addItem(window, file, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3), openCommand(window));
  addItem(window, file, QStringLiteral("&Закрыть"), {}, commands.close);
  addItem(window, file, QStringLiteral("&Сохранить"), QKeySequence(Qt::Key_F2), commands.save);
  addItem(window, file, QStringLiteral("Сохранить &как..."), {}, commands.saveAs);
  return file;
}

void addExitItem(QWidget* window, QMenu* file) {
  addItem(window, file, QStringLiteral("В&ыход"), {}, exitCommand(window));
}

void ClipboardItems::update(bool selected, TFrame* frame) const {
  const bool canPaste = clipboardHasText();
  paste->setEnabled(canPaste);
  popupPaste->setEnabled(canPaste);
  for (QAction* a : {cut, copy, del, popupCut, popupCopy}) a->setEnabled(selected);
  if (frame) {
    frame->setCommandEnabled(FrameCmd::Paste, canPaste);
    frame->setCommandEnabled(FrameCmd::Cut, selected);
    frame->setCommandEnabled(FrameCmd::Copy, selected);
    frame->setCommandEnabled(FrameCmd::Delete, selected);
  }
}

ClipboardItems editMenus(QWidget* window, QMenu* edit, QMenu* popup, const EditCommands& commands) {
  ClipboardItems items;
  // Ctrl+X, Ctrl+C and Ctrl+V belong to the frame's edit actions, which route here; the menu names them.
  items.cut = addItem(window, edit, withKeyText(QStringLiteral("&Вырезать"), "Ctrl+X"), {}, commands.cut);
  items.copy = addItem(window, edit, withKeyText(QStringLiteral("&Копировать"), "Ctrl+C"), {}, commands.copy);
  items.paste = addItem(window, edit, withKeyText(QStringLiteral("Вст&авить"), "Ctrl+V"), {}, commands.paste);
  items.del =
      addItem(window, edit, QStringLiteral("&Удалить"), QKeySequence(QStringLiteral("Ctrl+D")), commands.del);
  edit->addSeparator();
  addItem(window, edit, QStringLiteral("Выделить в&сё"), QKeySequence(QStringLiteral("Ctrl+A")),
          commands.selectAll);
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

void stepFontSize(QWidget* editor, int step) { showFontSize(editor, stepPointSize(editor, step)); }

void showFontSize(const QWidget* window, int size) {
  if (TFrame* f = frameOf(window)) f->showFontSize(size);
}

bool closeQuery(QWidget* window, bool modified, const QString& name, const std::function<bool()>& save) {
  return askToSave(window, modified, QStringLiteral("Сохранить изменения в ") + name, save);
}

bool isActiveChild(const QWidget* window) { return activeFrame(window) != nullptr; }

TFrame* activeFrame(const QWidget* window) {
  TFrame* f = frameOf(window);
  return f && f->activeChild() == window ? f : nullptr;
}

void setStatus(const QWidget* window, int panel, const QString& text) {
  if (TFrame* f = frameOf(window)) f->setStatusText(panel, text);
}

bool askOwned(const QPointer<TDocChild>& owned) { return !owned || owned->FormCloseQuery(); }

void closeOwned(const QPointer<TDocChild>& owned) {
  if (!owned) return;
  owned->FormClose();
  if (!owned) return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(owned->parentWidget()))
    delete sub;
  else
    delete owned.data();
}

}  // namespace docwin

}  // namespace velmora
