#pragma once
// A scripted "fsm.Simulator" for the joint model's tests. The worker calls it from its own
// thread, so everything it records or answers is kept under a lock and handed out as copies.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <mutex>

#include "platform/automation.h"

struct SimScript {
  int loadResult = 0;
  int setStateResult = 0;
  QList<int> doStepResults;  // taken in order; when empty, doStepDefault
  int doStepDefault = 0;
  bool throwOnDoStep = false;
  QString state = "s1", out = "y1", status = "статус шага";

  struct Call {
    QString method, arg;
  };
  // A copy of the calls made so far.
  QList<Call> calls() const {
    std::lock_guard<std::mutex> lock(mutex);
    return calls_;
  }
  QStringList argsOf(const QString& method) const {
    QStringList args;
    for (const Call& c : calls())
      if (c.method == method) args << c.arg;
    return args;
  }
  int count(const QString& method) const { return int(argsOf(method).size()); }
  // Changes the answers while a worker may be calling.
  template <class F>
  void edit(F f) {
    std::lock_guard<std::mutex> lock(mutex);
    f(*this);
  }

  mutable std::mutex mutex;
  QList<Call> calls_;
};

class FakeSimulator : public automation::Object {
 public:
  explicit FakeSimulator(std::shared_ptr<SimScript> s) : s_(std::move(s)) {}
  QVariant invoke(const QString& method, const QVariantList& args) override {
    std::lock_guard<std::mutex> lock(s_->mutex);
    const QString arg = args.isEmpty() ? QString() : args[0].toString();
    s_->calls_.append({copy(method), copy(arg)});
    if (method == "Load") return s_->loadResult;
    if (method == "SetState") return s_->setStateResult;
    if (method == "DoStep") {
      if (s_->throwOnDoStep) throw automation::EAutomationError(QStringLiteral("Сервер: сбой шага"));
      return s_->doStepResults.isEmpty() ? s_->doStepDefault : s_->doStepResults.takeFirst();
    }
    if (method == "GetStatus") return copy(s_->status);
    if (method == "GetState") return copy(s_->state);
    if (method == "GetOut") return copy(s_->out);
    throw automation::EAutomationError(QStringLiteral("нет метода ") + method);
  }

 private:
  static QString copy(const QString& s) { return QString(s.constData(), s.size()); }
  std::shared_ptr<SimScript> s_;
};

// The compiler answers that every table compiles and is written.
class FakeCompiler : public automation::Object {
 public:
  QVariant invoke(const QString& method, const QVariantList&) override {
    if (method == "GetStatus") return QString();
    return 0;
  }
};
