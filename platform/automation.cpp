#include "platform/automation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPluginLoader>

namespace automation {

const char* const kServersDirVariable = "VEXO_SERVERS_DIR";
const char* const kServersPluginName = "vexoservers";

EAutomationError::~EAutomationError() = default;

namespace {

struct Registry {
  QMutex mutex;
  QHash<QString, Factory> factories;  // keyed by the lower-case identifier
  bool scanned = false;
  bool disabled = false;
  ServerPlugin* plugin = nullptr;   // owned by its loader, which is never unloaded
  QPluginLoader* loader = nullptr;  // kept for the program's life
  QString pluginPath, loadError;
};

Registry& registry() {
  static Registry r;
  return r;
}

QString key(const QString& progId) { return progId.trimmed().toLower(); }

QStringList candidateDirs() {
  QStringList dirs;
  const QString env = qEnvironmentVariable(kServersDirVariable);
  if (!env.isEmpty()) dirs << env;
  if (QCoreApplication::instance()) {
    const QString own = QCoreApplication::applicationDirPath();
    dirs << own;
#ifdef VEXO_PLUGIN_RELDIR
    // Installed, the plugin sits in its own directory beside bin.
    dirs << QDir::cleanPath(own + QLatin1Char('/') + QStringLiteral(VEXO_PLUGIN_RELDIR));
#endif
  }
  return dirs;
}

// Called with the mutex held.
void scanLocked(Registry& r) {
  if (r.scanned || r.disabled) return;
  r.scanned = true;
  QStringList errors;
  for (const QString& dir : candidateDirs()) {
    const QString base = QDir(dir).filePath(QString::fromLatin1(kServersPluginName));
    // The loader adds the platform's prefix and suffix itself.
    auto* loader = new QPluginLoader(base);
    QObject* instance = loader->instance();
    ServerPlugin* plugin = instance ? qobject_cast<ServerPlugin*>(instance) : nullptr;
    if (!plugin) {
      errors << (instance ? base + QStringLiteral(": не является модулем серверов") : loader->errorString());
      if (instance) loader->unload();
      delete loader;
      continue;
    }
    // The loader stays alive: the objects it makes live in the plugin's code.
    r.plugin = plugin;
    r.loader = loader;
    r.pluginPath = loader->fileName();
    r.loadError.clear();
    return;
  }
  r.loadError =
      errors.isEmpty() ? QStringLiteral("Каталог серверов не задан") : errors.join(QLatin1Char('\n'));
}

}  // namespace

QVariant Dispatch::call(const QString& method, const QVariantList& args) const {
  if (!object_) throw EAutomationError(QStringLiteral("Вызов метода %1 у пустого объекта").arg(method));
  return object_->invoke(method, args);
}

int Dispatch::callInt(const QString& method, const QVariantList& args) const {
  return toInt(call(method, args));
}

QString Dispatch::callText(const QString& method, const QVariantList& args) const {
  return toText(call(method, args));
}

QVariant Dispatch::toVariant() const { return object_ ? QVariant::fromValue(*this) : QVariant(); }

Dispatch Dispatch::fromVariant(const QVariant& v) {
  return v.canConvert<Dispatch>() ? v.value<Dispatch>() : Dispatch();
}

Dispatch createObject(const QString& progId) {
  Registry& r = registry();
  Factory factory;
  ServerPlugin* plugin = nullptr;
  {
    QMutexLocker lock(&r.mutex);
    factory = r.factories.value(key(progId));
    if (!factory) {
      scanLocked(r);
      plugin = r.disabled ? nullptr : r.plugin;
    }
  }
  std::unique_ptr<Object> object;
  if (factory)
    object = factory();
  else if (plugin)
    object = plugin->create(progId.trimmed());
  if (!object)
    throw EAutomationError(
        QStringLiteral("Объект автоматизации \"%1\" не зарегистрирован в системе").arg(progId));
  return Dispatch(std::shared_ptr<Object>(std::move(object)));
}

int toInt(const QVariant& v) {
  bool ok = false;
  int n = 0;
  if (v.typeId() == QMetaType::QString) {
    n = v.toString().trimmed().toInt(&ok);
  } else if (v.canConvert<int>()) {
    n = v.toInt(&ok);
  }
  if (!ok) throw EConvertError(QStringLiteral("Значение '%1' не является целым числом").arg(v.toString()));
  return n;
}

QString toText(const QVariant& v) { return v.isValid() ? v.toString() : QString(); }

void registerFactory(const QString& progId, Factory factory) {
  QMutexLocker lock(&registry().mutex);
  registry().factories.insert(key(progId), std::move(factory));
}

void unregisterFactory(const QString& progId) {
  QMutexLocker lock(&registry().mutex);
  registry().factories.remove(key(progId));
}

FactoryRegistration::FactoryRegistration(const QString& progId, Factory factory) : progId_(progId) {
  registerFactory(progId, std::move(factory));
}

FactoryRegistration::~FactoryRegistration() { unregisterFactory(progId_); }

QString serversPluginPath() {
  QMutexLocker lock(&registry().mutex);
  scanLocked(registry());
  return registry().pluginPath;
}

QString serversLoadError() {
  QMutexLocker lock(&registry().mutex);
  return registry().loadError;
}

void rescanServers() {
  QMutexLocker lock(&registry().mutex);
  if (!registry().plugin) registry().scanned = false;
}

void setServersDisabled(bool disabled) {
  QMutexLocker lock(&registry().mutex);
  registry().disabled = disabled;
}

void Args::expect(int n) const {
  if (args_.size() != n)
    throw EAutomationError(QStringLiteral("Метод %1: ожидается аргументов %2, передано %3")
                               .arg(method_)
                               .arg(n)
                               .arg(args_.size()));
}

int Args::integer(int i) const {
  bool ok = false;
  const QVariant& v = args_.value(i);
  int n = v.typeId() == QMetaType::QString ? v.toString().trimmed().toInt(&ok) : v.toInt(&ok);
  if (!ok)
    throw EAutomationError(
        QStringLiteral("Метод %1: аргумент %2 не является целым числом").arg(method_).arg(i + 1));
  return n;
}

QString Args::text(int i) const { return toText(args_.value(i)); }

}  // namespace automation
