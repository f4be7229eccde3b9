#include "velmora/app/mainform.h"

#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QToolBar>
#include <utility>

#include "mainform_p.h"
#include "platform/dialogs.h"
#include "velmora/frameapi/childkind.h"

namespace velmora {

// The bars each kind of active child shows, the commands it takes (from its own declaration),
// and how the frame's own handlers reach that child.

// ---------------------------------------------------------------- enabling

void TMainForm::EnableGsaActions(bool enabled) {
  for (QAction* a : gsaActions) a->setEnabled(enabled);
}

void TMainForm::UpdateChildActions() {
  // The bars each kind shows. Which commands a kind offers is the window's own declaration
  // (UpdateCommands), not the frame's.
  struct Row {
    ChildKindValue kind;
    bool bars[5];  // trans, tbl, model, reg, gsa
  };
  static const Row table[] = {
      {ckNone, {false, false, false, false, false}},     {ckText, {false, false, false, false, false}},
      {ckEdit, {true, false, false, false, false}},      {ckGsa, {true, true, false, false, true}},
      {ckTable, {true, true, false, false, false}},      {ckOaModel, {false, true, true, true, false}},
      {ckOaDesign, {false, false, false, false, false}}, {ckJointModel, {false, true, true, true, false}},
  };
  const Row* row = &table[0];  // any kind not listed behaves as none
  for (const Row& r : table)
    if (r.kind == ChildKind) row = &r;
  if (autoShow()) {
    QToolBar* bars[5] = {transToolBar, tblToolBar, modelToolBar, regToolBar, gsaToolBar};
    for (int i = 0; i < 5; ++i) bars[i]->setVisible(row->bars[i]);
  }
  UpdateCommands();
}

void TMainForm::UpdateCommands() {
  ModelBegAction->setEnabled(false);  // no window takes it
  // A command is on exactly while the active window takes it; what the window switches
  // itself from its content it sets in its activation.
  const TDocChild* child = commandTaker();
  for (const auto& [action, cmd] : commandActions()) {
    const bool takes = child && child->handles(cmd);
    if (action == optionsItem || action == showMessagesItem)
      action->setVisible(takes);
    else if (!takes)
      action->setEnabled(false);
    else if (!child->switchesItself(cmd))
      action->setEnabled(true);
  }
  UpdateSaveButton();
}

TDocChild* TMainForm::commandTaker() const {
  // Kind none: no window takes anything (also while the last one is being destroyed).
  if (ChildKind == ckNone) return nullptr;
  TDocChild* child = activeChild();
  return child && child->kind() == ChildKind ? child : nullptr;
}

QList<std::pair<QAction*, FrameCmd>> TMainForm::commandActions() const {
  QList<std::pair<QAction*, FrameCmd>> out;
  for (int c = 0; c <= int(FrameCmd::ShowMessages); ++c)
    if (QAction* a = commandAction(FrameCmd(c))) out.push_back({a, FrameCmd(c)});
  for (int i = 0; i < gsaActions.size(); ++i)
    out.push_back({gsaActions[i], i == gsaActions.size() - 1 ? FrameCmd::GsaDelete : FrameCmd::GsaPlace});
  return out;
}

void TMainForm::UpdateSaveButton() {
  if (d_->saveButton)
    d_->saveButton->setEnabled(saveFileAction->isEnabled() && mdi_ && !mdi_->subWindowList().isEmpty());
}

void TMainForm::UpdateMenuItems() {
  const bool any = !mdi_->subWindowList().isEmpty();
  UpdateSaveButton();
  cascadeItem->setEnabled(any);
  tileItem->setEnabled(any);
  arrangeItem->setEnabled(any);
  minimizeItem->setEnabled(any);
  fontSizeBox_->setEnabled(any);
}

// ---------------------------------------------------------------- dispatch

bool TMainForm::dispatch(FrameCmd cmd, QObject* sender) {
  TDocChild* child = commandTaker();
  return child && child->frameCommand(cmd, sender);
}

void TMainForm::FileSaveItemClick() { dispatch(FrameCmd::Save, saveFileAction); }

void TMainForm::mOptionsClick() { dispatch(FrameCmd::Options, optionsItem); }
void TMainForm::mShowMessageClick() { dispatch(FrameCmd::ShowMessages, showMessagesItem); }

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

}  // namespace velmora
