#pragma once
// The frame's commands that the File menus of the simulators and the
// determinizer repeat: creating documents, opening and leaving the program.
#include <QKeySequence>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace tiravo {

// "Созд&ать" › "СКУ", "РВАС", "ЛСА", then "Создать таблицу" (Shift+F4) and
// "&Открыть..." (F3), in the order the simulators show them.
void AddFrameCreateItems(QWidget* window, QMenu* file, bool openFirst);
// "В&ыход": the frame's exit.
QAction* AddFrameExitItem(QWidget* window, QMenu* file);
// A guarded item of this window.
QAction* AddItem(QWidget* window, QMenu* menu, const QString& text, const QKeySequence& key,
                 std::function<void()> command);

}  // namespace tiravo
