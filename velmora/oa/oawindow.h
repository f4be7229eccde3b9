#pragma once
// What the operational-automaton windows share: their File menu, and closing the windows they
// own (the designer owns the model window it opened, and the model window the designer it
// called) only after these have answered their own close questions.
#include <QPointer>
#include <functional>

#include "velmora/app/docchild.h"

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

// The owned window's close question; true when it may close or is gone.
bool askOwned(const QPointer<TDocChild>& owned);
// Closes an owned window that has answered: its FormClose runs, then it is deleted.
void closeOwned(const QPointer<TDocChild>& owned);

}  // namespace oawin
