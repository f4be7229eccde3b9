#pragma once
// The signal-set dialog: chooses an event set, a complete assignment of binary
// inputs, or one abstract input letter from a list of names.
#include <QDialog>
#include <QString>
#include <QStringList>

#include "tiravo/core/signalset.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tiravo {

class TSetSForm : public QDialog {
  Q_OBJECT
 public:
  enum Modes : unsigned char { EventSet = 0, BinaryInput = 1, AbstractInput = 2 };

  explicit TSetSForm(QWidget* parent = nullptr);

  // `names` index i is signal i+1. False (after saying so) for an unknown mode.
  bool SetIt(const QStringList& names, const SignalSet& set, int mode);
  // After OK: the chosen set and its text.
  void GetIt(QString& text, const QStringList& names, SignalSet& set) const;

  unsigned char Mode = EventSet;
  QListWidget* Act = nullptr;
  QListWidget* Pass = nullptr;
  QGroupBox* gbAct = nullptr;
  QGroupBox* gbPass = nullptr;
  QPushButton* btAct = nullptr;
  QPushButton* btPass = nullptr;
  QPushButton* btAllAct = nullptr;
  QPushButton* btAllPass = nullptr;
  QPushButton* btOk = nullptr;
  QPushButton* btCancel = nullptr;
  QLabel* lZ = nullptr;
  QLineEdit* eZ = nullptr;
  QListWidget* lbZ = nullptr;

  void btActClick();
  void btPassClick();
  void btAllActClick();
  void btAllPassClick();
  void lbZClick();
  void UpdateButtons();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Move(QListWidget* from, QListWidget* to);
  void MoveAll(QListWidget* from, QListWidget* to);
  void ShowLetterMode(bool letter);
};

}  // namespace tiravo
