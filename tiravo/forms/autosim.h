#pragma once
// "Автоматическое моделирование": runs a compiled automaton over an input
// sequence built step by step and shows the event set and the outputs after
// every step, in a vertical or a horizontal table; saves and loads the
// sequence (*.sgn), edits the abstract input alphabet and writes a report.
#include <QList>
#include <QTimer>
#include <memory>

#include "tiravo/forms/childform.h"
#include "tiravo/sim/autosimulation.h"
#include "tiravo/sim/simgrid.h"

class FTT;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;
class QToolButton;

namespace tiravo {

class TAutoSim : public TChildForm {
  Q_OBJECT
 public:
  explicit TAutoSim(QWidget* parent = nullptr);
  ~TAutoSim() override;

  int kind() const override { return 7; }
  QList<QMenu*> menus() const override { return menus_; }

  // Takes the model (a null one is refused with an exception) and shows its facts.
  void SetTable(std::unique_ptr<FTT> model, const QString& name);
  AutoSimulation& Simulation() { return *sim_; }
  AutoSimGrid& Grid() { return *grid_; }
  bool Horizontal = false;

  // ---- commands ----
  void bbSetS0Click();
  void sbAddClick();
  void sbInsertClick();
  void sbEditClick();
  void sbDeleteClick();
  void sbMinusClick();
  bool sbSaveClick();
  void sbLoadClick();
  bool sbReportClick();
  void TableTypeClick();
  void BugClick();
  void BugsClick();
  void lbTransClick();
  void lbXClick();
  void AppZClick();
  void ChanZClick();
  void DelZClick();
  void EtalonClick();

  // ---- controls ----
  QTabWidget* PCArea = nullptr;
  QLabel *lName = nullptr, *lEvents = nullptr, *lX = nullptr, *lAbstract = nullptr, *lY = nullptr;
  QListWidget *lbS = nullptr, *lbX = nullptr, *lbY = nullptr;
  QGroupBox* PanelX = nullptr;
  QPushButton *ChanZ = nullptr, *AppZ = nullptr, *DelZ = nullptr, *Bug = nullptr, *Etalon = nullptr;
  QComboBox* lbTrans = nullptr;
  QTableWidget* sgTrans = nullptr;
  QWidget* PanelTransfer = nullptr;
  QToolButton *sbSerS0 = nullptr, *sbEdit = nullptr, *sbInsert = nullptr, *sbDelete = nullptr,
              *sbAdd = nullptr, *sbMinus = nullptr, *sbSave = nullptr, *sbLoad = nullptr, *sbReport = nullptr,
              *Bugs = nullptr, *TableType = nullptr, *bbExit = nullptr;
  QLineEdit* eS0 = nullptr;
  QTableView* sgSim = nullptr;  // shows `Grid()`
  // Menu and pop-up items that follow the step commands and the add and insert commands.
  QList<QAction*> stepItems, addItems;

  // The current step: the selected row (vertical) or column (horizontal).
  int CurrentStep() const;
  bool LastColumnSelected() const;
  // "Переходы": both columns of sgTrans half its width (less 3), whenever the grid is shown or
  // resized; a hidden page has no width of its own to halve.
  void FormResize();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildPages();
  void BuildToolBar(QWidget* page);
  void BuildMenus();
  void SetStepCommandsEnabled();
  // Every cell of the grid anew, in the current layout.
  void Redraw();
  void SelectStep(int k);
  // The vertical table's columns as wide as their texts, so none of them wraps.
  void FitColumns();
  // Changes only ask for a fit; it runs once when the window next gets to the event loop, so
  // appending thousands of steps (a loaded sequence) measures the columns once, not per step.
  QTimer fitTimer_;
  // Everything drawn anew in the same layout, the step of `step` selected again; with
  // `resimulate` every step is recomputed first.
  void Rebuild(int step, bool resimulate);
  void FullRebuild();
  bool ChooseInput(const SSignalSet& start, SSignalSet* chosen);
  void FillAlphabet();

  std::unique_ptr<AutoSimulation> sim_;
  AutoSimGrid* grid_ = nullptr;
  QList<QMenu*> menus_;
  QMenu* popup_ = nullptr;
};

}  // namespace tiravo
