#pragma once
// Late-bound automation objects: created by programmatic identifier, called by method name
// with a list of variant arguments. This is what stands in for OLE automation on this
// platform.
//
// Where objects come from, in this order:
//  1. factories registered in this process (tests register recording fakes here);
//  2. the servers plugin "vexoservers", looked for in the directory named by the environment
//     variable VEXO_SERVERS_DIR and then next to the executable.
// A programmatic identifier that neither knows makes creation fail with EAutomationError,
// so callers show their "not installed" message and go on.
//
// Identifiers are compared without regard to case; so are method names inside our servers.
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>

#include "platform/errors.h"

namespace automation {

// Creating an object failed, a method is unknown, or a call was made on an empty object.
class EAutomationError : public VexoError {
 public:
  using VexoError::VexoError;
  ~EAutomationError() override;
};

// One automation object. invoke() may throw; EAutomationError for an unknown method or
// wrong arguments, VexoError for failures the server itself reports this way.
class Object {
 public:
  virtual ~Object() = default;
  virtual QVariant invoke(const QString& method, const QVariantList& args) = 0;
};

// A variant that holds an automation object, or nothing. Copies share the object; the
// object is released when the last copy is cleared or destroyed.
class Dispatch {
 public:
  Dispatch() = default;
  explicit Dispatch(std::shared_ptr<Object> object) : object_(std::move(object)) {}

  bool isEmpty() const { return !object_; }
  void clear() { object_.reset(); }
  Object* object() const { return object_.get(); }

  // Throws EAutomationError on an empty object; whatever the object throws passes through.
  QVariant call(const QString& method, const QVariantList& args = {}) const;
  // The same, with the result converted (EConvertError when it does not convert).
  int callInt(const QString& method, const QVariantList& args = {}) const;
  QString callText(const QString& method, const QVariantList& args = {}) const;

  // Stored in a QVariant member of a window (an empty Dispatch is an invalid QVariant).
  QVariant toVariant() const;
  static Dispatch fromVariant(const QVariant& v);

 private:
  std::shared_ptr<Object> object_;
};

// Creates the object named by `progId`; EAutomationError when no server knows it.
Dispatch createObject(const QString& progId);

// Variant conversions used on results: an integer (EConvertError when the variant holds
// none) and a text (an empty variant gives the empty text).
int toInt(const QVariant& v);
QString toText(const QVariant& v);

// In-process factories. A registered factory hides a server of the same identifier.
using Factory = std::function<std::unique_ptr<Object>()>;
void registerFactory(const QString& progId, Factory factory);
void unregisterFactory(const QString& progId);

// Registers for the lifetime of the object (tests).
class FactoryRegistration {
 public:
  FactoryRegistration(const QString& progId, Factory factory);
  ~FactoryRegistration();
  FactoryRegistration(const FactoryRegistration&) = delete;
  FactoryRegistration& operator=(const FactoryRegistration&) = delete;

 private:
  QString progId_;
};

// Name of the environment variable that points at the servers' directory, and the base
// name of the plugin file.
extern const char* const kServersDirVariable;
extern const char* const kServersPluginName;

// Where the plugin was loaded from, or why it was not (for messages and tests).
QString serversPluginPath();
QString serversLoadError();
// Forgets a failed attempt so the next creation looks for the plugin again (tests that
// change VEXO_SERVERS_DIR).
void rescanServers();
// While set, the plugin is not looked for at all (tests of the "not installed" case).
void setServersDisabled(bool disabled);

// What the servers plugin offers. The plugin shares the host's platform library, so its
// message boxes go through the host's dialog handler (and the tests' scripts).
class ServerPlugin {
 public:
  virtual ~ServerPlugin() = default;
  virtual QStringList programIds() const = 0;
  // nullptr when the identifier is not one of this plugin's.
  virtual std::unique_ptr<Object> create(const QString& progId) = 0;
};

// Helper for servers: the arguments a method was given, checked and converted.
class Args {
 public:
  Args(const QString& method, const QVariantList& args) : method_(method), args_(args) {}
  // EAutomationError unless exactly n arguments were given.
  void expect(int n) const;
  int integer(int i) const;  // EAutomationError when it does not convert
  QString text(int i) const;

 private:
  QString method_;
  QVariantList args_;
};

}  // namespace automation

Q_DECLARE_METATYPE(automation::Dispatch)

#define VexoAutomationServerPlugin_iid "org.vexo.AutomationServerPlugin/1.0"
Q_DECLARE_INTERFACE(automation::ServerPlugin, VexoAutomationServerPlugin_iid)
