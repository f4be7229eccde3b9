// The plugin that Velmora loads at run time to reach our servers.
#include <QObject>
#include <QtPlugin>

#include "platform/automation.h"
#include "servers/servers.h"

class VexoServersPlugin : public QObject, public automation::ServerPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID VexoAutomationServerPlugin_iid)
  Q_INTERFACES(automation::ServerPlugin)

 public:
  QStringList programIds() const override { return servers::programIds(); }
  std::unique_ptr<automation::Object> create(const QString& progId) override {
    return servers::create(progId);
  }
};

#include "serversplugin.moc"
