#pragma once
// The automation objects of our servers, by programmatic identifier:
//   "FSM.Compiler"          SetType, AddSource, Make, GetStatus, Save, Load
//   "fsm.Simulator"         Load, SetState, DoStep, GetStatus, GetState, GetOut
//   "FSM.CA.Simulator"      Open(path): the interactive simulation window
//   "FSM.CA.Determinizator" Open(path): the determinization window
// Identifiers and method names are compared without regard to case.
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <mutex>

#include "platform/automation.h"
#include "servers/fsmcompiler.h"
#include "servers/fsmsimulator.h"

namespace servers {

extern const char* const kCompilerId;
extern const char* const kSimulatorId;
extern const char* const kCaSimulatorId;
extern const char* const kDeterminizatorId;

QStringList programIds();
// nullptr when the identifier is not one of ours.
std::unique_ptr<automation::Object> create(const QString& progId);

class CompilerObject : public automation::Object {
 public:
  QVariant invoke(const QString& method, const QVariantList& args) override;
  const fsm::Compiler& compiler() const { return compiler_; }

 private:
  fsm::Compiler compiler_;
};

// Called by the joint model from its worker thread: every call is serialised.
class SimulatorObject : public automation::Object {
 public:
  QVariant invoke(const QString& method, const QVariantList& args) override;

 private:
  std::mutex mutex_;
  fsm::Simulator sim_;
};

// The objects that show windows own them: releasing the object closes its windows.
class WindowObject : public automation::Object {
 public:
  ~WindowObject() override;
  QList<QWidget*> windows() const;

 protected:
  void adopt(QWidget* window);

 private:
  QList<QPointer<QWidget>> windows_;
};

class CaSimulatorObject : public WindowObject {
 public:
  // Open: 1 when the window shows the automaton, 0 when the file could not be loaded.
  QVariant invoke(const QString& method, const QVariantList& args) override;
};

class DeterminizatorObject : public WindowObject {
 public:
  // Open: 1 when the window shows the automaton; a file that cannot be loaded is
  // reported in a message box and gives 0.
  QVariant invoke(const QString& method, const QVariantList& args) override;
};

}  // namespace servers
