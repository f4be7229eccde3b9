#pragma once
// The frame's own state shared by its source files (mainform*.cpp); nothing else includes it.
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <array>
#include <optional>

#include "velmora/frameapi/framesettings.h"
#include "velmora/app/mainform.h"

class QAction;
class QMdiSubWindow;
class QToolBar;
class QWidget;

namespace velmora {

struct TMainForm::Private {
  QString helpFile;
  // Bars in the order the "Panels" value keeps them.
  std::array<QToolBar*, framesettings::BarCount> bars{};
  // Positions as last read or written; hidden bars keep theirs until shown again.
  std::array<std::optional<int>, framesettings::PositionCount> positions;
  QPointer<QMdiSubWindow> lastActivated;
  // Panels 0-2 of each window as it left them, shown again when it comes back.
  QHash<const QObject*, std::array<QString, 3>> statusOf;
  const QObject* statusKey = nullptr;  // the window whose texts panels 0-2 show now
  QList<QAction*> windowListItems;
  QAction* windowListSeparator = nullptr;
  QWidget* saveButton = nullptr;
  bool welcomePending = false;  // no settings were found: the first start, not yet welcomed
};

}  // namespace velmora
