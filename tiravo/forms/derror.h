#pragma once
// "Ошибка ": the determinizer's report of a transition that leads to no event.
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace tiravo {

class TDError : public QDialog {
  Q_OBJECT
 public:
  explicit TDError(QWidget* parent = nullptr);

  QLabel* s = nullptr;  // the event set being translated
  QLabel* x = nullptr;  // the condition without a target
  QPushButton* bClose = nullptr;
  QPushButton* bHelp = nullptr;
  QWidget* pHelp = nullptr;
  QPlainTextEdit* helpText = nullptr;

  void bHelpClick();
  // Back to the short form, for the next use.
  void Reset();
  // What the help memo needs to show its lines as they are set, each whole.
  QSize helpTextSize() const;
};

// The one made at start-up (made here on first use when there is none).
TDError* DErrorDialog(QWidget* frameWindow = nullptr);
extern TDError* DError;

}  // namespace tiravo
