#include "tiravo/forms/browser.h"

#include <QLabel>
#include <QListWidget>
#include <QTableWidget>

#include "tiravo/core/ftt.h"

namespace tiravo {
TFTT_Brouser::TFTT_Brouser(FTT* model, QWidget* parent) : TChildForm(parent), model_(model) {
  lbSY = new QListWidget(this);
  sgTransfers = new QTableWidget(this);
}
TFTT_Brouser::~TFTT_Brouser() = default;
void TFTT_Brouser::FormActivate() { ActiveChildKind = 7; }
void TFTT_Brouser::lbSYClick(int) {}
void TFTT_Brouser::SpeedButton1Click() {}
void TFTT_Brouser::resizeEvent(QResizeEvent* e) { TChildForm::resizeEvent(e); }
bool TFTT_Brouser::eventFilter(QObject* w, QEvent* e) { return TChildForm::eventFilter(w, e); }
}  // namespace tiravo
