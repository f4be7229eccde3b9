#pragma once
// Stand-in for the help system: opens the help file if it exists, else says so.
#include <QString>

class QWidget;

namespace help {

enum Command { Contents = 3, HelpOnHelp = 4, PartialKey = 0x105, ContextPopup = 8 };

// Returns true when the file was handed to the desktop's viewer.
bool show(QWidget* parent, const QString& helpFile, Command command, int topic = 0);

// The help file of the application object (a relative path is taken from the current
// directory when the help opens); empty until the program sets it.
void setApplicationHelpFile(const QString& helpFile);
QString applicationHelpFile();
// show() on the application's help file.
bool show(QWidget* parent, Command command, int topic = 0);

}  // namespace help
