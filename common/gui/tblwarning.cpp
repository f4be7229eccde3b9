#include "common/gui/tblwarning.h"

#include "common/tblfile.h"
#include "platform/dialogs.h"

void warnIgnoredTableLines(QWidget* window, int ignoredLines) {
  // The user learns of a cut file before a save could make the loss permanent.
  if (ignoredLines <= 0) return;
  dlg::message(window, TblFile::ignoredLinesMessage(ignoredLines), QStringLiteral("Предупреждение"), dlg::Ok,
               dlg::Warning);
}
