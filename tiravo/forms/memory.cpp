#include "tiravo/forms/memory.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QResizeEvent>
#include <QTimer>
#include <algorithm>

#include "platform/titlebar.h"

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
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
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
  swap_->setToolTip(swapHint(s));
}

void TMemory::showCentred(const QRect& avoid) {
  if (!placed_) {
    // Centred on the screen, but never over the frame's menus and tool bar: a click meant
    // for them must not land here.
    titlebar::fit(this);  // centred at the width it shows with
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    QRect r(QPoint(0, 0), frameGeometry().size());
    if (where) r.moveCenter(where->availableGeometry().center());
    if (r.intersects(avoid)) r.moveTop(avoid.bottom() + 1);
    move(r.topLeft());
    placed_ = true;
  }
  show();
  raise();
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
