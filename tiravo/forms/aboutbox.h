#pragma once
// "О программе": the modal about box of Tiravo.
#include <QDialog>

class QLabel;

namespace tiravo {

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  QWidget* panel2() const { return Panel2; }
  QLabel* programIcon() const { return ProgramIcon; }
  void ProgramIconClick();
  void FormClose();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void done(int result) override;

 private:
  QLabel* ProgramIcon = nullptr;
  QWidget* Panel2 = nullptr;
};

}  // namespace tiravo
