#pragma once
// The frame's commands that the File menus of the simulators and the
// determinizer repeat: creating documents, opening and leaving the program.
#include <QKeySequence>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QToolButton;
class QWidget;

namespace tiravo {

// "Созд&ать" › "СКУ", "РВАС", "ЛСА", then "Создать таблицу" (Shift+F4) and
// "&Открыть..." (F3), in the order the simulators show them.
void AddFrameCreateItems(QWidget* window, QMenu* file, bool openFirst);
// "В&ыход": the frame's exit.
QAction* AddFrameExitItem(QWidget* window, QMenu* file);
// A flat tool button with one of the program's glyphs.
QToolButton* ToolButton(QWidget* parent, const QString& glyph, const QString& hint);
// A guarded item of this window.
QAction* AddItem(QWidget* window, QMenu* menu, const QString& text, const QKeySequence& key,
                 std::function<void()> command);

}  // namespace tiravo
