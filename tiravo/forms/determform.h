#pragma once
// "Детерминизация": turns a compiled automaton into one whose states are the
// event sets reachable from a chosen initial set. The run stays on the main
// thread and lets pending events in between its rounds, so the window can be
// stopped and closed while it works.
#include <QString>
#include <functional>
#include <memory>

#include "tiravo/forms/childform.h"
#include "tiravo/sim/determ.h"

class FTT;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QRadioButton;
class QTabWidget;
class QTableView;
class QToolButton;

namespace tiravo {

class NameTableModel;

class TDeterm : public TChildForm {
  Q_OBJECT
 public:
  explicit TDeterm(QWidget* parent = nullptr);
  ~TDeterm() override;

  int kind() const override { return 7; }
  // Takes the model; a null one is refused with an exception.
  void SetTable(std::unique_ptr<FTT> model, const QString& tableName);
  const determ::Determinizer& Engine() const { return engine_; }
  bool Running() const { return engine_.Running(); }
  bool AlphabetError() const { return alphabetError_; }
  const USignalSet& S0() const { return s0_; }

  // ---- commands ----
  void sbS0Click();
  void sbDetermClick();
  bool sbTableClick();  // true when a table window was made
  bool FormCloseQuery() override;
  void CheckAlphabet();

  // Where the status text goes (the frame's status bar unless a test puts another here).
  std::function<void(const QString&)> showStatus;
  // At most this often the status text is shown and pending events are let in, by `clock`:
  // milliseconds on a steady clock, read once a round (tests put a clock of their own here).
  int statusIntervalMs = 250;
  int eventsIntervalMs = 20;
  std::function<qint64()> clock;

  // ---- controls ----
  QToolButton *sbDeterm = nullptr, *sbTable = nullptr, *sbExit = nullptr, *sbS0 = nullptr;
  QTabWidget* pages = nullptr;
  QLabel *ltName = nullptr, *ltE = nullptr, *ltX = nullptr, *ltZ = nullptr, *ltY = nullptr, *ltS2 = nullptr,
         *ltS0 = nullptr, *lNameTable = nullptr, *lS0 = nullptr;
  QPlainTextEdit *mS = nullptr, *mX = nullptr, *mY = nullptr;
  QCheckBox *cbName = nullptr, *cbBrouser = nullptr, *Complete = nullptr;
  QLineEdit* eTemplate = nullptr;
  QRadioButton *trD = nullptr, *trT = nullptr;
  QTableView* sgNameTable = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void Show(const determ::Notice& notice);
  void Finish(determ::Run::Status status);
  void FillNameTable();

  determ::Determinizer engine_;
  NameTableModel* names_ = nullptr;  // sgNameTable's rows
  USignalSet s0_;
  bool ready_ = false;
  bool alphabetError_ = false;
  // While the check shows its box: the box takes the focus, which is no second leaving of mS.
  bool showingAlphabetError_ = false;
};

}  // namespace tiravo
