#include <QSplitter>

#include "platform/guard.h"
#include "velmora/app/mainform.h"
#include "velmora/documents/tableform.h"
#include "velmora/oa/oacamodelform.h"
#include "velmora/oa/oaform.h"
#include "velmora/oa/oamodelform.h"
#include "velmora/oa/oawindow.h"

namespace velmora {

// The table's operational-automaton windows. The table window is below them and cannot name
// them; the frame, which knows both, makes them on its request.

namespace {

// One joint model per table, kept in the table and started again by each command. The model is
// built before the window shows: its activation and the choice of its first row find the model
// there.
TDocChild* openJointModel(TFrame* frame, TVexoTableForm* table) {
  auto* model = qobject_cast<TOACAModelForm*>(table->jointModel());
  const bool fresh = !model;
  if (fresh) {
    model = new TOACAModelForm();
    table->setJointModel(model);
  }
  model->handOver(table);
  guard::run(table, [&] { model->LoadOA(); });
  if (fresh) {
    frame->addChild(model, table);  // goes with the table
    oawin::openWideEnough(model, model->findChild<QSplitter*>(QStringLiteral("grids")));
  }
  model->show();
  frame->activateChild(model);
  model->StartModel();
  return model;
}

}  // namespace

TDocChild* TMainForm::openOaWindow(OaWindow which, TVexoTableForm* table) {
  if (!table) return nullptr;
  switch (which) {
    case OaWindow::Designer: return TOAForm::open(table, table, false);
    case OaWindow::Model: return TOAModelForm::open(table, table, table->document()->oaFileName());
    case OaWindow::JointModel: return openJointModel(this, table);
  }
  return nullptr;
}

}  // namespace velmora
