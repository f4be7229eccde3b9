#include "velmora/app/mainform.h"

#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QToolBar>
#include <algorithm>

#include "mainform_p.h"
#include "platform/dialogs.h"
#include "velmora/frameapi/childkind.h"

// Which of the frame's commands each kind of active child offers, and how the frame's own
// handlers reach that child.

namespace {

bool kindIn(int kind, std::initializer_list<int> kinds) {
  return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

}  // namespace

// ---------------------------------------------------------------- enabling

void TMainForm::EnableGsaActions(bool enabled) {
  for (QAction* a : gsaActions) a->setEnabled(enabled);
}

void TMainForm::UpdateChildActions() {
  // -1 leaves the item as it is (the child sets it itself, or it keeps its state).
  struct Row {
    int kind;
    int bars[5];  // trans, tbl, model, reg, gsa
    int cts[3];   // Compile, ToTbl, ToSku
    int rows[4];  // AddStr, InsStr, DelStr, OaCall
    int report;
    int model[8];  // Open, Save, Beg, Bus, Step, Pause, Play, Stop
    int radix[3];
    int gsa;
    int options;
  };
  static const Row table[] = {
      {0, {0, 0, 0, 0, 0}, {0, 0, 0}, {0, 0, 0, 0}, -1, {-1, -1, -1, -1, -1, -1, -1, -1}, {-1, -1, -1}, 0, 0},
      {1, {0, 0, 0, 0, 0}, {-1, -1, -1}, {0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0}, 0, 0},
      {2, {1, 0, 0, 0, 0}, {-1, -1, -1}, {0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0}, 0, 1},
      {3, {1, 1, 0, 0, 1}, {1, 1, 0}, {1, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0}, 1, 1},
      {4, {1, 1, 0, 0, 0}, {-1, 0, -1}, {1, 1, 1, 1}, 1, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0}, 0, 1},
      {6, {0, 1, 1, 1, 0}, {0, 0, 0}, {1, 1, 1, -1}, 1, {1, 1, 0, -1, 0, 0, 0, 0}, {1, 1, 1}, 0, 0},
      {7, {0, 0, 0, 0, 0}, {0, 0, 0}, {0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0, 0, 0}, {1, 1, 1}, 0, 0},
      {9, {0, 1, 1, 1, 0}, {0, 0, 0}, {0, 0, 0, 1}, 1, {1, 1, 1, -1, 1, 1, 1, 1}, {1, 1, 1}, 0, 0},
  };
  const Row* row = &table[0];  // any kind not listed behaves as none
  for (const Row& r : table)
    if (r.kind == ChildKind) row = &r;

  auto set = [](QAction* a, int v) {
    if (v >= 0) a->setEnabled(v != 0);
  };
  if (autoShow()) {
    QToolBar* bars[5] = {transToolBar, tblToolBar, modelToolBar, regToolBar, gsaToolBar};
    for (int i = 0; i < 5; ++i) bars[i]->setVisible(row->bars[i] != 0);
  }
  set(CompileAction, row->cts[0]);
  set(ToTblAction, row->cts[1]);
  set(ToSkuAction, row->cts[2]);
  set(AddStrAction, row->rows[0]);
  set(InsStrAction, row->rows[1]);
  set(DelStrAction, row->rows[2]);
  set(OaCallAction, row->rows[3]);
  set(ReportAction, row->report);
  QAction* model[8] = {ModelOpenAction, ModelSaveAction,  ModelBegAction,  ModelBusAction,
                       ModelStepAction, ModelPauseAction, ModelPlayAction, ModelStopAction};
  for (int i = 0; i < 8; ++i) set(model[i], row->model[i]);
  set(BinAction, row->radix[0]);
  set(HexAction, row->radix[1]);
  set(DecAction, row->radix[2]);
  EnableGsaActions(row->gsa != 0);
  optionsItem->setVisible(row->options != 0);
  showMessagesItem->setVisible(row->options != 0);
}

void TMainForm::UpdateMenuItems() {
  const bool any = !mdi_->subWindowList().isEmpty();
  d_->saveButton->setEnabled(any);
  cascadeItem->setEnabled(any);
  tileItem->setEnabled(any);
  arrangeItem->setEnabled(any);
  minimizeItem->setEnabled(any);
  fontSizeBox_->setEnabled(any);
}

// ---------------------------------------------------------------- dispatch

bool TMainForm::dispatch(FrameCmd cmd, QObject* sender, std::initializer_list<int> kinds) {
  TDocChild* child = activeChild();
  if (!child || !kindIn(ChildKind, kinds) || child->kind() != ChildKind) return false;
  child->frameCommand(cmd, sender);
  return true;
}

void TMainForm::FileSaveItemClick() { dispatch(FrameCmd::Save, saveFileAction, {1, 2, 3, 4}); }

void TMainForm::mOptionsClick() { dispatch(FrameCmd::Options, optionsItem, {2, 3, 4}); }
void TMainForm::mShowMessageClick() { dispatch(FrameCmd::ShowMessages, showMessagesItem, {2, 3, 4}); }

void TMainForm::FontSizeClick() {
  TDocChild* child = activeChild();
  if (!child) return;
  const int size = ParseInt(fontSizeBox_->currentText());
  // "abc" or "0" would give a font no one can read; the size stays as it is.
  if (size < 1) return;
  if (ChildKind >= ckText && ChildKind <= ckTable && child->kind() == ChildKind && child->setFontSize(size))
    return;
  // The caption is the program's own joke, kept as users have always seen it.
  dlg::message(this, QStringLiteral("Изменение размера шрифта не поддерживается"),
               QStringLiteral("Обломись!"), dlg::Ok, dlg::Warning);
}
