#include "tiravo/forms/memory.h"

#include <QLabel>
#include <QResizeEvent>
#include <QTimer>

namespace tiravo {

namespace {
QLabel* panel(QWidget* parent, const char* name) {
  auto* p = new QLabel(QStringLiteral("Определение..."), parent);
  p->setObjectName(QLatin1String(name));
  p->setToolTip(QStringLiteral("Всего:?"));
  p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  p->setAlignment(Qt::AlignCenter);
  return p;
}
}  // namespace

TMemory::TMemory(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("Свободная память"));
  resize(153, 55);
  phys_ = panel(this, "phys");
  swap_ = panel(this, "swap");
  Resizing();
  timer_ = new QTimer(this);
  timer_->setInterval(500);
  connect(timer_, &QTimer::timeout, this, [this] { Timer1Timer(); });
  // It runs whether the window is shown or not.
  timer_->start();
}

void TMemory::Timer1Timer() {
  MemoryStatus s;
  if (readMeminfo(meminfoPath, &s)) showStatus(s);
}

void TMemory::showStatus(const MemoryStatus& s) {
  phys_->setText(physCaption(s));
  phys_->setToolTip(totalHint(s.totalPhys));
  swap_->setText(swapCaption(s));
  swap_->setToolTip(totalHint(s.totalSwap));
}

void TMemory::Resizing() {
  const int h = height() / 2;
  phys_->setGeometry(0, 0, width(), h);
  swap_->setGeometry(0, h, width(), height() - h);
}

void TMemory::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Resizing();
}

}  // namespace tiravo
