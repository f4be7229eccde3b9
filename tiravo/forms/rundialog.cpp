#include "tiravo/forms/rundialog.h"

namespace tiravo {

void TRunDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (running_) return;
  QMetaObject::invokeMethod(this, [this] {
    if (!running_ && isVisible()) begin();
  }, Qt::QueuedConnection);
}

void TRunDialog::reject() {
  running_ = false;
  QDialog::reject();
}

}  // namespace tiravo
