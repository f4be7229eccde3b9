#pragma once
// "О программе": what the program is, what it is for and its version.
#include <QDialog>

class QLabel;

namespace velmora {

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  static QString version() { return QStringLiteral("1.0"); }
  QLabel* programIcon() const { return icon_; }

 private:
  QLabel* icon_ = nullptr;
};

}  // namespace velmora
