#pragma once
// The three small modal dialogs the flowchart editor opens when it places a block:
// "Оператор" (TRectForm), "Условие" (TRombForm) and "Соединитель" (TSoedForm), and the
// asker that opens them for the editor's tool logic.
#include <QDialog>

#include "platform/longlines.h"
#include "velmora/flowchart/tools/blockask.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace velmora {

class TRectForm : public QDialog {
  Q_OBJECT
 public:
  explicit TRectForm(QWidget* owner = nullptr);
  bool userNaming = false;  // set before showing; UpdatePrompt follows it
  void UpdatePrompt();
  void RectButtonClick();  // OK only with a text
  void RectXButtonClick();
  QLabel *Label1 = nullptr, *Label2 = nullptr;
  longlines::LineEdit* RectEdit = nullptr;
  QPushButton *RectButton = nullptr, *RectXButton = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

class TRombForm : public QDialog {
  Q_OBJECT
 public:
  explicit TRombForm(QWidget* owner = nullptr);
  static const QString kNoExit;  // "нет перехода"
  // Presets the edit and the combos (an empty or unknown label leaves the combo unselected).
  void preset(const gsa::ConditionBlock& block);
  gsa::ConditionBlock block() const;  // an unselected combo gives an empty label
  void RombButtonClick();             // completes the labels, then OK only when all is filled in
  void RombXButtonClick();
  void LeftComboChange();
  void RightComboChange();
  void DownComboChange();
  longlines::LineEdit* RombEdit = nullptr;
  QComboBox *LeftCombo = nullptr, *RightCombo = nullptr, *DownCombo = nullptr;
  QPushButton *RombButton = nullptr, *RombXButton = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int shift_ = 0;  // how far the combos' width moved the controls right
};

class TSoedForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSoedForm(QWidget* owner = nullptr);
  QString type;  // "D" or "C" after OK
  void SoedButtonClick();
  void SoedXButtonClick();
  QRadioButton *DizRadio = nullptr, *ConRadio = nullptr;
  QPushButton *SoedButton = nullptr, *SoedXButton = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Opens the real dialogs, owned by `owner`, one per question.
class DialogAsker : public gsa::BlockAsker {
 public:
  explicit DialogAsker(QWidget* owner) : owner_(owner) {}
  bool askOperator(bool userNaming, QString* text) override;
  bool askCondition(gsa::ConditionBlock* block) override;
  bool askConnector(QString* type) override;

 private:
  QWidget* owner_;
};

}  // namespace velmora
