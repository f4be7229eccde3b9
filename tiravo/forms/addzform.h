#pragma once
// Asks for the name of an abstract input letter to add or rename. The caller
// sets the caption, the alphabet the name must not be in and the number.
#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tiravo {

class TAddZForm : public QDialog {
  Q_OBJECT
 public:
  explicit TAddZForm(QWidget* parent = nullptr);

  QLabel* index = nullptr;  // "Номер сигнала в алфавите:" value
  QLineEdit* Name = nullptr;
  QPushButton* btOk = nullptr;
  QPushButton* btCancel = nullptr;
  QStringList Alphabet;

  // True when the name may be taken; says why not otherwise.
  bool FormCloseQuery();
  void accept() override;
};

// The dialog made once and reused, so the name field keeps the last text typed.
TAddZForm* AddZForm();

}  // namespace tiravo
