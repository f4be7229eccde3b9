#include "tiravo/forms/aboutbox.h"

#include <QLabel>

namespace tiravo {
TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  ProgramIcon = new QLabel(this);
  Panel2 = new QWidget(this);
}
void TAboutBox::ProgramIconClick() {}
void TAboutBox::FormClose() {}
bool TAboutBox::eventFilter(QObject* w, QEvent* e) { return QDialog::eventFilter(w, e); }
void TAboutBox::done(int r) { QDialog::done(r); }
}  // namespace tiravo
