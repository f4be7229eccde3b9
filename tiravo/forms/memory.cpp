#include "tiravo/forms/memory.h"

#include <QLabel>
#include <QTimer>

namespace tiravo {
TMemory::TMemory(QWidget* parent) : QWidget(parent, Qt::Tool) {
  phys_ = new QLabel(this);
  swap_ = new QLabel(this);
  timer_ = new QTimer(this);
}
void TMemory::Timer1Timer() {}
void TMemory::showStatus(const MemoryStatus&) {}
void TMemory::Resizing() {}
void TMemory::resizeEvent(QResizeEvent* e) { QWidget::resizeEvent(e); }
}  // namespace tiravo
