#pragma once
// What the document windows of both programs do alike: guarded menu items, the edit's pop-up
// menu, the clipboard state, alignment and wrapping items, font sizes and their steps, Save as
// and the close question. Nothing here knows a frame; the callers pass what belongs to it.
#include <QAction>
#include <QKeySequence>
#include <QString>
#include <Qt>
#include <functional>

class QAbstractScrollArea;
class QCloseEvent;
class QFont;
class QMdiArea;
class QMenu;
class QWidget;

namespace docwin {

// A menu item whose command runs guarded (an exception it throws is shown in a box). A key makes
// it a shortcut of `window` and its children.
QAction* addItem(QWidget* window, QMenu* menu, const QString& text, const QKeySequence& key,
                 std::function<void()> command);
// The menu text of an item whose key another action carries: "text<Tab>key".
QString withKeyText(const QString& text, const char* key);
// "&Закрыть": closes the window's MDI frame (or the window itself when it has none).
void closeWindow(QWidget* window);

// The edit's context menu is `popup`; `changed` runs whenever the clipboard changes.
void attachPopup(QWidget* window, QAbstractScrollArea* editor, QMenu* popup);
void onClipboardChange(QWidget* window, const std::function<void()>& changed);
bool clipboardHasText();

// "По &левому краю" (checked), "По &правому краю", "По &центру".
struct AlignItems {
  QAction *left = nullptr, *right = nullptr, *center = nullptr;
  // Checks `chosen` alone and returns its alignment.
  Qt::Alignment choose(QAction* chosen) const;
};
AlignItems addAlignItems(QWidget* window, QMenu* format, const std::function<void(QAction*)>& chosen);

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
// "У&величить шрифт" (step +2, only below 72) and "У&меньшить шрифт" (step -2, only above 6).
// Returns the size the editor has afterwards.
int stepPointSize(QWidget* editor, int step);

// Save as: the dialog starts at the document's own name and directory (or at `startDir` for an
// untitled one); a name typed without extension gets `ext`. Empty: cancelled. An empty
// `title` leaves the dialog's own.
QString askSavePath(QWidget* window, const QString& fileName, const QString& filter, const QString& ext,
                    const QString& startDir = QString(), const QString& title = QString());
// Save as of a window: asks for the path, then *fileName and the caption (the name without
// directory) take it and `save` writes. False when cancelled or when the save fails.
bool saveAs(QWidget* window, QString* fileName, const QString& filter, const QString& ext,
            const QString& startDir, const std::function<bool()>& save);
// The directory of an absolute path, else empty.
QString directoryOf(const QString& path);
// The extension of the file part of `path` as written, from its last dot, the dot included;
// empty when the name has no dot.
QString extensionOf(const QString& path);

// `question` with Yes, No and Cancel, for a modified document. True when the window may close:
// No, or Yes and `save` succeeded. A cancelled or failed save keeps it open.
bool askToSave(QWidget* window, bool modified, const QString& question, const std::function<bool()>& save);
// The close event of a document window: `query` (guarded) decides, `closed` runs when it closes.
void handleClose(QWidget* window, QCloseEvent* event, const std::function<bool()>& query,
                 const std::function<void()>& closed);

// The frame's exit, in two steps. First every MDI child of `area` is asked (`query`, in the order
// the windows were made) before any of them closes; the first refusal ends the exit with nothing
// closed (false). A window that went with another one while that was asked is skipped.
bool askEveryChild(QMdiArea* area, const std::function<bool(QWidget* child)>& query);
// Then every child closes without being asked a second time: `closed` runs for it in place of its
// own close handling. True when no child is left.
bool closeEveryChild(QMdiArea* area, const std::function<void(QWidget* child)>& closed);

}  // namespace docwin
