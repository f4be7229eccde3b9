#pragma once
// A window made once at start-up that runs one job each time it is shown modally. The start
// is posted, so the window is on screen first; a run that stops at an error stays open and is
// not restarted when the window is activated again. Closing the window cancels the run.
#include <QDialog>

class QHBoxLayout;
class QPushButton;

namespace tiravo {

class TRunDialog : public QDialog {
  Q_OBJECT
 public:
  using QDialog::QDialog;
  bool running() const { return running_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;
  virtual void begin() = 0;
  // The "OK" and "Отмена" buttons, right-aligned in a row; Enter presses neither.
  QHBoxLayout* okCancelRow(QPushButton** ok, QPushButton** cancel);
  bool running_ = false;
};

}  // namespace tiravo
