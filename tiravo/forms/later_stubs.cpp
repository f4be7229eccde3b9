// Commands whose windows are not built yet: each does nothing (a model handed over is freed).
// Delete a function here when its real one is added in a file of its own.
#include "tiravo/core/ftt.h"
#include "tiravo/forms/later_commands.h"

namespace tiravo {

void createDErrorDialog(TMainForm&) {}
void createAddZDialog(TMainForm&) {}
void runAutoSim(TMainForm&, FTT* model, const QString&) { delete model; }
void runStepSim(TMainForm&, FTT* model) { delete model; }
void runDeterm(TMainForm&, FTT* model, const QString&) { delete model; }

}  // namespace tiravo
