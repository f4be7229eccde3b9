#pragma once
// "Пошаговое моделирование": walks a compiled automaton one step at a time,
// with the transitions offered at each step and a history that can be stepped
// back through and saved as text.
#include <QPointer>
#include <memory>

#include "tiravo/forms/childform.h"
#include "tiravo/sim/stephistory.h"
#include "platform/longlines.h"

class FTT;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QToolButton;

namespace tiravo {

class TSimStep : public TChildForm {
  Q_OBJECT
 public:
  // Takes the model; a null one is refused with an exception.
  explicit TSimStep(std::unique_ptr<FTT> model, QWidget* parent = nullptr);
  ~TSimStep() override;

  int kind() const override { return 7; }
  QList<QMenu*> menus() const override { return menus_; }
  const StepHistory& History() const { return *history_; }

  // ---- commands ----
  void SetSClick();
  void SetXClick();
  void ChooseTransition();
  void StepClick();
  void BackClick();
  bool SaveClick();  // true when written
  void LedTClick();
  void LedHClick();

  // ---- controls ----
  QToolButton *sbSetS = nullptr, *sbSetX = nullptr, *sbStep = nullptr, *sbBack = nullptr, *sbSave = nullptr,
              *sbExit = nullptr;
  QAction *miStep = nullptr, *miBack = nullptr;
  QLineEdit *eSi = nullptr, *eXij = nullptr;
  QLabel *lTrans = nullptr, *lStep = nullptr, *lHistory = nullptr;
  QToolButton *LedT = nullptr, *LedH = nullptr;
  QListWidget* lbXS = nullptr;
  QFrame* pDrag = nullptr;  // the splitter bar "История переходов:"
  longlines::TextEdit* mHistory = nullptr;

  // Shown, as the toggles and the splitter leave them.
  bool ListShown() const { return listShown_; }
  bool HistoryShown() const { return historyShown_; }
  int ListHeight() const { return listHeight_; }
  // Moves the splitter bar by `d` pixels; false when the move is refused.
  bool DragBy(int d);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void Refresh();
  void SetStepEnabled(bool on);
  void SetBackEnabled(bool on);
  void ApplyLayout();
  void GrowWindow(int d);
  void ShowHistory(bool show, bool resizeWindow);
  bool NormalState() const;

  std::unique_ptr<StepHistory> history_;
  QList<QMenu*> menus_;
  bool listShown_ = true, historyShown_ = true;
  int listHeight_ = 90;
  int spaceBelow_ = 0;
  bool dragging_ = false;
  int dragY_ = 0;
};

}  // namespace tiravo
