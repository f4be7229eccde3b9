#include "tiravo/forms/rundialog.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tiravo {

void TRunDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (running_) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!running_ && isVisible()) begin();
      },
      Qt::QueuedConnection);
}

QHBoxLayout* TRunDialog::okCancelRow(QPushButton** ok, QPushButton** cancel) {
  *ok = new QPushButton(QStringLiteral("OK"), this);
  *cancel = new QPushButton(QStringLiteral("Отмена"), this);
  (*ok)->setAutoDefault(false);
  (*cancel)->setAutoDefault(false);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(*ok);
  row->addWidget(*cancel);
  return row;
}

void TRunDialog::reject() {
  running_ = false;
  QDialog::reject();
}

}  // namespace tiravo
