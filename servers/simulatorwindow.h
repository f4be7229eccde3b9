#pragma once
// The interactive simulator of a compiled automaton: start state, input signals, step,
// back, reset and the history of the run.
#include <QWidget>

#include "servers/fsmsimulator.h"
#include "platform/longlines.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace servers {

class SimulatorWindow : public QWidget {
  Q_OBJECT
 public:
  explicit SimulatorWindow(QWidget* parent = nullptr);

  // Loads the file and starts from its initial state; false when it cannot be loaded.
  bool open(const QString& path);
  const fsm::SimSession& session() const { return session_; }
  // The input of the next step as the checked signals make it.
  QString inputText() const;
  void setInputChecked(const QString& name, bool checked);

  void resetClick();
  void stepClick();
  void backClick();

  QLineEdit* startEdit = nullptr;
  QListWidget* inputsList = nullptr;
  QPushButton *resetButton = nullptr, *stepButton = nullptr, *backButton = nullptr;
  QLabel *stateLabel = nullptr, *outputsLabel = nullptr;
  QTableWidget* historyTable = nullptr;
  longlines::TextEdit* statusMemo = nullptr;

 private:
  void refresh();

  fsm::SimSession session_;
  QString path_;
};

}  // namespace servers
