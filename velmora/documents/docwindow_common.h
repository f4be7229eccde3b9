#pragma once
// What the РВАС/СКУ editor and the text window have in common: their File and Edit menus, the
// clipboard items, alignment and wrapping, the font steps, Save as and the close question.
// The pieces that do not know the frame are in platform/docwindow.h.
#include <QPointer>

#include "platform/docwindow.h"
#include "velmora/frameapi/frame.h"

namespace velmora {

// Adds the document windows' helpers of this program to those of the platform.
namespace docwin {
using namespace ::docwin;

// The frame that holds `window` (or the document window it belongs to); nullptr outside a frame.
TFrame* frameOf(const QWidget* window);
// One of the frame's File commands as a command of `window`'s menus.
std::function<void()> newCommand(QWidget* window, TFrame::NewDoc doc);
std::function<void()> openCommand(QWidget* window);
std::function<void()> exitCommand(QWidget* window);

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
  // Paste while the clipboard holds text, the rest while something is selected; the buttons
  // of `frame` too when it is given (the window is the active child).
  void update(bool selected, TFrame* frame) const;
};
struct EditCommands {
  std::function<void()> cut, copy, paste, del, selectAll;
  std::function<void()> aboutToShow;  // either menu opens
};
// Fills "&Правка" (cut, copy, paste, delete Ctrl+D, select all Ctrl+A) and the pop-up menu.
ClipboardItems editMenus(QWidget* window, QMenu* edit, QMenu* popup, const EditCommands& commands);

// "&Правка", the edit's pop-up menu and the format menu (alignment, "Перенос &слов",
// "&Шрифт..." when there is a font command, "У&величить шрифт", "У&меньшить шрифт").
struct TextMenus {
  QMenu *edit = nullptr, *popup = nullptr, *format = nullptr;
  ClipboardItems clip;
  AlignItems align;
  QAction* wordWrap = nullptr;
};
struct FormatCommands {
  std::function<void(QAction*)> align;                    // one of the three alignment items was chosen
  std::function<void()> wordWrap, font, bigger, smaller;  // font may be empty
};
TextMenus textMenus(QWidget* window, const QString& formatTitle, bool wrapping, const EditCommands& edit,
                    const FormatCommands& format);

// The same menus and the File menu bound to the handlers both windows name alike.
template <class Window>
TextMenus textMenusFor(Window* w, const QString& formatTitle, bool wrapping,
                       std::function<void()> font = {}) {
  return textMenus(w, formatTitle, wrapping,
                   {[w] { w->Cut1Click(); }, [w] { w->Copy1Click(); }, [w] { w->Paste1Click(); },
                    [w] { w->Delete1Click(); }, [w] { w->Selectall1Click(); }, [w] { w->Edit1Click(); }},
                   {[w](QAction* item) { w->Left1Click(item); }, [w] { w->Wordwrap1Click(); },
                    std::move(font), [w] { w->FontBig1Click(); }, [w] { w->FontSml2Click(); }});
}
template <class Window>
QMenu* fileMenuFor(Window* w, const QString& createTitle, bool skuFirst) {
  return fileMenu(w, createTitle, skuFirst,
                  {[w] { closeWindow(w); }, [w] { w->Save1Click(); }, [w] { w->Saveas1Click(); }});
}

// "У&величить шрифт" (step +2, only below 72) and "У&меньшить шрифт" (step -2, only above 6);
// the frame's font-size box then shows the size.
void stepFontSize(QWidget* editor, int step);
void showFontSize(const QWidget* window, int size);

// "Сохранить изменения в " + name with Yes, No and Cancel, for a modified document. True when the
// window may close: No, or Yes and `save` succeeded. A cancelled or failed save keeps it open.
bool closeQuery(QWidget* window, bool modified, const QString& name, const std::function<bool()>& save);
bool isActiveChild(const QWidget* window);
// The frame of `window` while it is the active child; nullptr otherwise.
TFrame* activeFrame(const QWidget* window);
void setStatus(const QWidget* window, int panel, const QString& text);

// A window that another one owns (a table its ОА windows, the designer the model window it
// opened, the model window the designer it called) closes only after its own close question.
// The owned window's close question; true when it may close or is gone.
bool askOwned(const QPointer<TDocChild>& owned);
// Closes an owned window that has answered: its FormClose runs, then it is deleted.
void closeOwned(const QPointer<TDocChild>& owned);

}  // namespace docwin

}  // namespace velmora
