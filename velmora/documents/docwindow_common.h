#pragma once
// What the РВАС/СКУ editor and the text window have in common: their File and Edit menus, the
// clipboard items, alignment and wrapping, the font steps, Save as and the close question.
#include <QAction>
#include <QKeySequence>
#include <QString>
#include <Qt>
#include <functional>

class QAbstractScrollArea;
class QCloseEvent;
class QFont;
class QMenu;
class QWidget;
class TMainForm;

namespace docwin {

// A menu item whose command runs guarded (an exception it throws is shown in a box). A key makes
// it a shortcut of `window` and its children.
QAction* addItem(QWidget* window, QMenu* menu, const QString& text, const QKeySequence& key,
                 std::function<void()> command);
// The menu text of an item whose key the frame's own action carries: "text<Tab>key".
QString withKeyText(const QString& text, const char* key);
// "&Закрыть": closes the window's MDI frame (or the window itself when it has none).
void closeWindow(QWidget* window);
// One of the frame's File handlers as a command.
std::function<void()> frameCommand(void (TMainForm::*handler)());

// "&Файл" up to "Сохранить &как...": the create submenu titled `createTitle` (СКУ before РВАС
// when `skuFirst`), open (F3), close, save (F2) and save as. The caller adds the rest.
struct FileCommands {
  std::function<void()> close, save, saveAs;
};
QMenu* fileMenu(QWidget* window, const QString& createTitle, bool skuFirst, const FileCommands& commands);
void addExitItem(QWidget* window, QMenu* file);

// The items of "&Правка" and of the edit's pop-up menu that follow the clipboard and the selection.
struct ClipboardItems {
  QAction *cut = nullptr, *copy = nullptr, *paste = nullptr, *del = nullptr;
  QAction *popupCut = nullptr, *popupCopy = nullptr, *popupPaste = nullptr;
  // Paste while the clipboard holds text, the rest while something is selected; the frame's
  // buttons too when `frameToo` (the window is the active child).
  void update(bool selected, bool frameToo) const;
};
struct EditCommands {
  std::function<void()> cut, copy, paste, del, selectAll;
  std::function<void()> aboutToShow;  // either menu opens
};
// The edit's context menu is `popup`; `changed` runs whenever the clipboard changes.
void attachPopup(QWidget* window, QAbstractScrollArea* editor, QMenu* popup);
void onClipboardChange(QWidget* window, const std::function<void()>& changed);
// Fills "&Правка" (cut, copy, paste, delete Ctrl+D, select all Ctrl+A) and the pop-up menu.
ClipboardItems editMenus(QWidget* window, QMenu* edit, QMenu* popup, const EditCommands& commands);

// "По &левому краю" (checked), "По &правому краю", "По &центру".
struct AlignItems {
  QAction *left = nullptr, *right = nullptr, *center = nullptr;
  // Checks `chosen` alone and returns its alignment.
  Qt::Alignment choose(QAction* chosen) const;
};
AlignItems addAlignItems(QWidget* window, QMenu* format, const std::function<void(QAction*)>& chosen);

// "&Правка", the edit's pop-up menu and the format menu (alignment, "Перенос &слов",
// "&Шрифт..." when there is a font command, "У&величить шрифт", "У&меньшить шрифт").
struct TextMenus {
  QMenu *edit = nullptr, *popup = nullptr, *format = nullptr;
  ClipboardItems clip;
  AlignItems align;
  QAction* wordWrap = nullptr;
};
struct FormatCommands {
  std::function<void(QAction*)> align;  // one of the three alignment items was chosen
  std::function<void()> wordWrap, font, bigger, smaller;  // font may be empty
};
TextMenus textMenus(QWidget* window, const QString& formatTitle, bool wrapping, const EditCommands& edit,
                    const FormatCommands& format);

// The same menus and the File menu bound to the handlers both windows name alike.
template <class Window>
TextMenus textMenusFor(Window* w, const QString& formatTitle, bool wrapping, std::function<void()> font = {}) {
  return textMenus(w, formatTitle, wrapping,
                   {[w] { w->Cut1Click(); }, [w] { w->Copy1Click(); }, [w] { w->Paste1Click(); },
                    [w] { w->Delete1Click(); }, [w] { w->Selectall1Click(); }, [w] { w->Edit1Click(); }},
                   {[w](QAction* item) { w->Left1Click(item); }, [w] { w->Wordwrap1Click(); }, std::move(font),
                    [w] { w->FontBig1Click(); }, [w] { w->FontSml2Click(); }});
}
template <class Window>
QMenu* fileMenuFor(Window* w, const QString& createTitle, bool skuFirst) {
  return fileMenu(w, createTitle, skuFirst,
                  {[w] { closeWindow(w); }, [w] { w->Save1Click(); }, [w] { w->Saveas1Click(); }});
}

// Wrapping: the edit's wrap mode, its scroll bars (vertical only with wrapping, both without)
// and the check of the item. Works for both kinds of text edit.
template <class Edit>
void setWordWrap(Edit* editor, QAction* item, bool wrap) {
  editor->setLineWrapMode(wrap ? Edit::WidgetWidth : Edit::NoWrap);
  editor->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  item->setChecked(wrap);
}

// Font sizes in points; a size given in pixels counts at 96 pixels per inch.
int pointSize(const QFont& font);
void setPointSize(QWidget* editor, int size);
// "У&величить шрифт" (step +2, only below 72) and "У&меньшить шрифт" (step -2, only above 6);
// the frame's font-size box then shows the size.
void stepFontSize(QWidget* editor, int step);
void showFontSize(int size);
// A window with a font enables the frame's font-size box when it is made.
void enableFontSizeBox();

// Save as: the dialog starts at the document's own name and directory (or at `startDir` for an
// untitled one); a name typed without extension gets `ext`. Empty: cancelled.
QString askSavePath(QWidget* window, const QString& fileName, const QString& filter, const QString& ext,
                    const QString& startDir = QString());
// Save as of a window: asks for the path, then *fileName and the caption (the name without
// directory) take it and `save` writes. False when cancelled or when the save fails.
bool saveAs(QWidget* window, QString* fileName, const QString& filter, const QString& ext, const QString& startDir,
            const std::function<bool()>& save);
// The directory of an absolute path, else empty.
QString directoryOf(const QString& path);

// "Сохранить изменения в " + name with Yes, No and Cancel, for a modified document. True when the
// window may close: No, or Yes and `save` succeeded. A cancelled or failed save keeps it open.
bool closeQuery(QWidget* window, bool modified, const QString& name, const std::function<bool()>& save);
// The close event of a document window: `query` (guarded) decides, `closed` runs when it closes.
void handleClose(QWidget* window, QCloseEvent* event, const std::function<bool()>& query,
                 const std::function<void()>& closed);

bool isActiveChild(const QWidget* window);
void setStatus(int panel, const QString& text);

}  // namespace docwin
