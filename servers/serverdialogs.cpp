#include "servers/serverdialogs.h"

#include <atomic>

namespace srv {

namespace {
std::atomic<dlg::Handler*> g_host{nullptr};
}

dlg::Handler* dialogs() {
  dlg::Handler* host = g_host.load();
  return host ? host : dlg::handler();
}

void attachDialogs(dlg::Handler* host) { g_host.store(host); }

int message(QWidget* parent, const QString& text, const QString& caption, int buttons, dlg::Icon icon) {
  return dialogs()->message(parent, text, caption, buttons, icon);
}

QString saveFile(QWidget* parent, const QString& filter, const QString& dir, const QString& name) {
  return dialogs()->saveFile(parent, QString(), filter, dir, name);
}

}  // namespace srv
