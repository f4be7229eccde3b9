#pragma once
// Stand-in for the help system: opens the help file if it exists, else says so.
#include <QString>

class QWidget;

namespace help {

enum Command { Contents = 3, HelpOnHelp = 4, PartialKey = 0x105, ContextPopup = 8 };

// Returns true when the file was handed to the desktop's viewer.
bool show(QWidget* parent, const QString& helpFile, Command command, int topic = 0);

}  // namespace help
