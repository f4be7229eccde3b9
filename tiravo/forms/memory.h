#pragma once
// "Свободная память": a small stay-on-top window with the free share of physical memory and
// of swap, refreshed twice a second.
#include <QWidget>

#include "tiravo/forms/meminfo.h"

class QLabel;
class QTimer;

namespace tiravo {

class TMemory : public QWidget {
  Q_OBJECT
 public:
  explicit TMemory(QWidget* parent = nullptr);
  // Where the figures come from (/proc/meminfo unless a test gives another file).
  QString meminfoPath = QStringLiteral("/proc/meminfo");
  void Timer1Timer();  // each tick: the figures read again
  void showStatus(const MemoryStatus& status);
  QLabel* phys() const { return phys_; }
  QLabel* swap() const { return swap_; }
  QTimer* timer() const { return timer_; }
  void Resizing();
  // Shows the window; the first time it is placed centred on the screen and off `avoid`
  // (the frame's menu bar and tool panel, in global coordinates).
  void showCentred(const QRect& avoid);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* phys_ = nullptr;
  QLabel* swap_ = nullptr;
  QTimer* timer_ = nullptr;
  bool placed_ = false;
};

}  // namespace tiravo
