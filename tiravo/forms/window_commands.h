#pragma once
// Commands whose windows are built apart from the frame, the editor and the table window: the
// simulators, the determinizer, the signal-set dialogs and the translators. Each is one
// function, defined in the file of its window.
#include <QStringList>

class FTT;
class QWidget;

namespace tiravo {

class TFrame;
class TEditForm;
class TVexoTableForm;

// ---- made at start-up, in this order after the frame (the error view and the memory
// window are the frame's own); `frameWindow` is the frame, their parent ----
void createRvasSkuDialog(QWidget* frameWindow);
void createSkuTblDialog(QWidget* frameWindow);
void createDErrorDialog(QWidget* frameWindow);
void createAddZDialog(QWidget* frameWindow);

// ---- the table window's model commands; each takes ownership of `model` (never null) ----
// "Стан&дартное": the automatic simulator.
void runAutoSim(TFrame& frame, FTT* model, const QString& tableFileName);
// "По шагам": the step simulator.
void runStepSim(TFrame& frame, FTT* model);
// "&Детерминизация": the determinizer.
void runDeterm(TFrame& frame, FTT* model, const QString& tableFileName);

// ---- translators ----
// "Перевод в &СКУ" of a table the compiler accepted: appends the СКУ text of `table`'s grid to
// `lines` (those of a new, emptied СКУ editor); `table` owns the warning box.
void runTableToSku(TVexoTableForm& table, QStringList& lines);
// The РВАС to СКУ window with the editor's lines; start mode 1: the result opens in a new СКУ
// editor, 2: it goes on to the СКУ to table window.
void runRvasSku(TEditForm& editor, int startMode);
// The СКУ to table window with the editor's lines.
void runSkuTbl(TEditForm& editor);

}  // namespace tiravo
