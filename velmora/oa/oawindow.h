#pragma once
// What the operational-automaton windows share: their File menu and the frame's radix buttons.
#include <functional>

#include "velmora/frameapi/docchild.h"

class QMenu;
class QSplitter;
class QWidget;

namespace velmora {

namespace oawin {

// The frame's radix button of a model's Radix (0 binary, 1 hexadecimal, 2 decimal).
inline FrameCmd radixCommand(int radix) {
  return radix == 0 ? FrameCmd::Bin : radix == 1 ? FrameCmd::Hex : FrameCmd::Dec;
}

// "&Файл": "&Создать" (РВАС, СКУ, ГСА, table, text), "&Открыть..." (F3), "&Закрыть" (Ctrl+X),
// "От&чет" when there is a report command, "&Выход".
QMenu* fileMenu(QWidget* window, const std::function<void()>& report = {});

// Widens the model window that holds `grids` (side by side, the grids of a splitter) until
// each shows all its columns whole, within the MDI area: wider than the area it is not, and
// it moves left as far as it must to stay inside. Called once the window has been added.
void openWideEnough(QWidget* window, QSplitter* grids);

}  // namespace oawin

}  // namespace velmora
