#pragma once
// "Моделирование УА+ОА": the control automaton of a table, stepped by the server
// "fsm.Simulator" in a worker thread, together with the register-level model of the table's
// operational automaton. Each step the outputs of the control automaton drive one step of the
// model, and the model's answer is the next input. One row per step, the registers of the
// chosen step, and a console of the server's texts.
//
// Grid coordinates follow the string-grid convention of the program: row 0 holds the titles;
// in `table` column 0 holds the step numbers.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

#include "velmora/frameapi/docchild.h"
#include "velmora/documents/tablegridlock.h"
#include "velmora/oa/oacathread.h"
#include "platform/longlines.h"

class QAction;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTableWidget;
class QTextEdit;
class QColor;

namespace velmora {

class RegisterGrid;
class TModelStep;
class TVexoTableForm;

class TOACAModelForm : public TDocChild, public OacaHost {
  Q_OBJECT
 public:
  explicit TOACAModelForm(QWidget* owner = nullptr);
  ~TOACAModelForm() override;

  // ---- TDocChild ----
  ChildKindValue kind() const override { return ckJointModel; }
  void activated() override { FormActivate(); }
  void FormClose() override;
  QList<QMenu*> windowMenus() const override { return {mModel_}; }

  // What the table window hands over before LoadOA: its name, its grid (locked while this
  // window works) and the lists of its description, which this window borrows. The compiled
  // file is the one the table window compiled.
  void handOver(TVexoTableForm* table);
  void LoadOA();
  void StartModel();

  // ---- handlers ----
  void startClick();
  void pauseClick();
  void stepClick();
  void resetClick();
  void modelCountActionExecute();  // "Предел"
  void tableSelectCell(int col, int row);
  void RegGridSelectCell(int col, int row);
  void RegGridKeyDown(int key);
  void FormActivate();
  void FormResize();
  void mReportClick();
  void BusSetBtnClick();
  void BinClick() { setRadix(0); }
  void HexClick() { setRadix(1); }
  void DecClick() { setRadix(2); }
  void AddReportText(const QString& text, const QColor& color);

  // ---- reading the window (tests too) ----
  QString cell(int col, int row) const;     // `table`
  int rowCount() const;                     // `table`, the title row included
  int currentRow() const;                   // the selected row of `table` (1 ..)
  QString regCell(int col, int row) const;  // `RegGrid`
  void setRegCell(int col, int row, const QString& text);
  int regRowCount() const;
  QString consoleText() const;
  QLineEdit* stateEdit() const { return state_; }
  QTableWidget* stepGrid() const { return table_; }
  QTableWidget* regGrid() const { return RegGrid_; }
  QAction *start = nullptr, *pause = nullptr, *step = nullptr, *reset = nullptr, *modelCountAction = nullptr;
  TModelStep* model() const { return model_.get(); }
  oacathread_t* worker() const { return thread; }
  TVexoTableForm* table() const { return gridLock_.table(); }

  int regGridWidth = 0;
  bool busMode = false;
  unsigned stepLimit_ = 50;
  QString fileName;
  QPointer<QTextEdit> reportEditor;  // the editor of the report being written (borrowed)

  // ---- OacaHost ----
  QString initialState() const override;
  unsigned stepLimit() const override { return stepLimit_; }
  TModelStep* stepModel() override { return model_.get(); }
  void appendConsole(const QStringList& lines) override;
  void clearConsole() override;
  int stepRowCount() const override { return rowCount(); }
  void addStepRow(int number) override;
  void setStepRow(int row, const QString& x, const QString& s, const QString& y) override;
  void setStepRowCount(int rows) override;
  void setRunMenus(bool startOn, bool pauseOn, bool stepOn) override;
  void workerEnded(oacathread_t* worker) override;

 protected:
  FrameHandlers frameHandlers() override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildWindow();
  void setRadix(int radix);
  // The frame's step, pause, play and stop buttons as this window's Шаг, Пауза, Пуск and Сброс,
  // while this window is the active one.
  void syncRunButtons();
  // The worker stops reaching this window and ends by itself.
  void endWorker();
  void dropModel();
  void setCell(int col, int row, const QString& text);

  QTableWidget* table_ = nullptr;
  QTableWidget* RegGrid_ = nullptr;
  longlines::TextEdit* status_ = nullptr;
  QLineEdit* state_ = nullptr;
  QTabWidget* pages_ = nullptr;
  QMenu* mModel_ = nullptr;

  std::unique_ptr<RegisterGrid> regAdapter_;
  std::unique_ptr<TModelStep> model_;
  oacathread_t* thread = nullptr;
  TableGridLock gridLock_{this, TableGridLock::Role::JointModel};
  QString fsmFile_;
  // Borrowed from the table window's description.
  const QStringList *ySignals = nullptr, *blocks = nullptr, *xSignals = nullptr, *xValues = nullptr;
  const QList<QStringList>* yItems = nullptr;
  int selectGuard_ = 0;
};

}  // namespace velmora
