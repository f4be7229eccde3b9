// Commands whose windows are not built yet: each does nothing (a model handed over is freed).
// Delete a function here when its real one is added in a file of its own.
#include "tiravo/core/ftt.h"
#include "tiravo/forms/later_commands.h"

namespace tiravo {

void createRvasSkuDialog(TMainForm&) {}
void createSkuTblDialog(TMainForm&) {}
void runTableToSku(TVexoTableForm&, QStringList&) {}
void runRvasSku(TEditForm&, int) {}
void runSkuTbl(TEditForm&) {}

}  // namespace tiravo
