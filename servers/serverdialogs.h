#pragma once
// Message boxes and file dialogs of the servers. Loaded as a plugin, the servers carry
// their own copy of the platform layer; the host attaches its dialogs so that boxes shown
// here follow the host's handler (and a test's script).
#include <QString>

#include "platform/dialogs.h"

class QWidget;

namespace srv {

dlg::Handler* dialogs();
void attachDialogs(dlg::Handler* host);  // nullptr: this copy's own handler

int message(QWidget* parent, const QString& text, const QString& caption, int buttons = dlg::Ok,
            dlg::Icon icon = dlg::Warning);
QString saveFile(QWidget* parent, const QString& filter, const QString& dir, const QString& name);

}  // namespace srv
