#pragma once
// The model browser: the lines of a compiled automaton in one list, the transitions of the
// chosen line in a two-column grid.
#include <memory>

#include "tiravo/forms/childform.h"

class FTT;
class QListWidget;
class QTableWidget;
class QLabel;

namespace tiravo {

class TFTT_Brouser : public TChildForm {
  Q_OBJECT
 public:
  // Takes ownership of `model` (at least one line).
  explicit TFTT_Brouser(FTT* model, QWidget* parent = nullptr);
  ~TFTT_Brouser() override;

  int kind() const override { return 7; }
  void FormActivate() override;
  void lbSYClick(int index);
  void SpeedButton1Click();  // the close button

  QListWidget* lines() const { return lbSY; }
  QTableWidget* transfers() const { return sgTransfers; }
  const FTT* model() const { return model_.get(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fillTransfers(int line);
  std::unique_ptr<FTT> model_;
  QListWidget* lbSY = nullptr;
  QTableWidget* sgTransfers = nullptr;
  QLabel* pDrag = nullptr;
  bool dragging_ = false;
  int dragRow_ = 0;
};

}  // namespace tiravo
