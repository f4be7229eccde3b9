#include "tiravo/forms/errorview.h"

#include <QLabel>
#include <QLineEdit>

namespace tiravo {
TErrorView::TErrorView(QWidget* parent) : QDialog(parent) {
  for (int i = 0; i < 4; ++i) {
    headers_[i] = new QLabel(this);
    edits_[i] = new QLineEdit(this);
  }
  error_ = new QLabel(this);
  line_ = new QLabel(this);
}
void TErrorView::setMessage(const QString& text) { error_->setText(text); }
QString TErrorView::message() const { return error_->text(); }
QString TErrorView::lineText() const { return line_->text(); }
bool TErrorView::headerRaised(int) const { return false; }
void TErrorView::FormActivate() {}
void TErrorView::edit_siChange() {}
void TErrorView::showEvent(QShowEvent* e) { QDialog::showEvent(e); }
}  // namespace tiravo
