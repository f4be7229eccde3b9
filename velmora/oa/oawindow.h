#pragma once
// What the operational-automaton windows share: their File menu and the frame's radix buttons.
#include <functional>

#include "velmora/frameapi/docchild.h"

class QMenu;
class QWidget;

namespace oawin {

// The frame's radix button of a model's Radix (0 binary, 1 hexadecimal, 2 decimal).
inline FrameCmd radixCommand(int radix) {
  return radix == 0 ? FrameCmd::Bin : radix == 1 ? FrameCmd::Hex : FrameCmd::Dec;
}

// "&Файл": "&Создать" (РВАС, СКУ, ГСА, table, text), "&Открыть..." (F3), "&Закрыть" (Ctrl+X),
// "От&чет" when there is a report command, "&Выход".
QMenu* fileMenu(QWidget* window, const std::function<void()>& report = {});

}  // namespace oawin
