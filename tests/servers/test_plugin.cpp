// The automation layer, and our servers reached through it as Velmora reaches them: from the
// plugin found at run time.
#include <gtest/gtest.h>

#include "tests/servers/printers.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <atomic>
#include <thread>

#include "platform/automation.h"
#include "platform/dialogs.h"

using automation::Dispatch;
using automation::EAutomationError;

namespace {

class Echo : public automation::Object {
 public:
  explicit Echo(std::atomic<int>* alive) : alive_(alive) { ++*alive_; }
  ~Echo() override { --*alive_; }
  QVariant invoke(const QString& method, const QVariantList& args) override {
    if (method == "Fail") throw VexoError("сбой сервера");
    return method + ":" + QString::number(args.size());
  }

 private:
  std::atomic<int>* alive_;
};

QList<QWidget*> windowsNamed(const QString& name) {
  QList<QWidget*> out;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == name) out << w;
  return out;
}

// Compiles the rows of the worked example into `path` through "FSM.Compiler".
void compileExample(const QString& path) {
  Dispatch c = automation::createObject("FSM.Compiler");
  c.call("SetType", {1, 2, 1, 2});
  c.call("AddSource", {"s0", "y1", "x1", "s1"});
  c.call("AddSource", {"", "", "x2", "s2"});
  c.call("AddSource", {"s1", "y2", "1", "s0"});
  c.call("AddSource", {"s2", "y3", "1", "s0"});
  ASSERT_EQ(c.callInt("Make"), 0) << c.callText("GetStatus").toStdString();
  ASSERT_EQ(c.callInt("Save", {path}), 0) << c.callText("GetStatus").toStdString();
}

}  // namespace

TEST(Automation, RegisteredFactoriesByIdentifierWithoutRegardToCase) {
  std::atomic<int> alive{0};
  {
    automation::FactoryRegistration reg("Test.Echo", [&alive] { return std::make_unique<Echo>(&alive); });
    Dispatch d = automation::createObject("test.ECHO");
    EXPECT_FALSE(d.isEmpty());
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(d.callText("Ping", {1, "a"}), QStringLiteral("Ping:2"));
    EXPECT_THROW(d.call("Fail"), VexoError);

    // Kept in a window's variant member and taken back.
    QVariant stored = d.toVariant();
    d.clear();
    EXPECT_EQ(alive, 1);
    EXPECT_FALSE(Dispatch::fromVariant(stored).isEmpty());
    stored = QVariant();
    EXPECT_EQ(alive, 0);
    EXPECT_TRUE(Dispatch::fromVariant(QVariant()).isEmpty());
    EXPECT_FALSE(Dispatch().toVariant().isValid());
  }
  EXPECT_THROW(automation::createObject("Test.Echo"), EAutomationError);
  EXPECT_THROW(Dispatch().call("X"), EAutomationError);
}

TEST(Automation, ResultConversions) {
  EXPECT_EQ(automation::toInt(QVariant(-1)), -1);
  EXPECT_EQ(automation::toInt(QVariant(" 7 ")), 7);
  EXPECT_EQ(automation::toInt(QVariant(true)), 1);
  EXPECT_THROW(automation::toInt(QVariant("семь")), EConvertError);
  EXPECT_THROW(automation::toInt(QVariant()), EConvertError);
  EXPECT_EQ(automation::toText(QVariant()), QString());
  EXPECT_EQ(automation::toText(QVariant(5)), QStringLiteral("5"));
}

TEST(Automation, AbsentServersFailCleanly) {
  automation::setServersDisabled(true);
  EXPECT_THROW(automation::createObject("FSM.Compiler"), EAutomationError);
  automation::setServersDisabled(false);
  EXPECT_THROW(automation::createObject("No.Such.Server"), EAutomationError);
}

TEST(Plugin, IsFoundAtRunTime) {
  EXPECT_FALSE(automation::serversPluginPath().isEmpty()) << automation::serversLoadError().toStdString();
  for (const char* id : {"FSM.Compiler", "fsm.simulator", "FSM.CA.Simulator", "fsm.ca.determinizator"})
    EXPECT_FALSE(automation::createObject(id).isEmpty()) << id;
}

TEST(Plugin, WorkedExampleThroughTheServers) {
  QTemporaryDir dir;
  const QString path = dir.filePath("t.fsm");
  compileExample(path);
  Dispatch sim = automation::createObject("fsm.Simulator");
  EXPECT_EQ(sim.callInt("Load", {path}), 0);
  EXPECT_EQ(sim.callInt("SetState", {"s0"}), 0);
  EXPECT_EQ(sim.callText("GetOut"), QStringLiteral("y1"));
  EXPECT_EQ(sim.callInt("DoStep", {"x1&x2"}), 0);
  EXPECT_EQ(sim.callText("GetState"), QStringLiteral("s1&s2"));
  EXPECT_EQ(sim.callText("GetOut"), QStringLiteral("y2&y3"));
  EXPECT_EQ(sim.callInt("SetState", {"s0"}), 0);
  EXPECT_EQ(sim.callInt("DoStep", {"X1&X2"}), 2);
  EXPECT_FALSE(sim.callText("GetStatus").isEmpty());
  EXPECT_EQ(sim.callInt("load", {dir.filePath("none.fsm")}), -1);
}

TEST(Plugin, CompilerReportsFaultsAndRefusesToSave) {
  QTemporaryDir dir;
  Dispatch c = automation::createObject("FSM.Compiler");
  c.call("settype", {1, 2, 1, 2});
  c.call("AddSource", {"s0", "y1", "x1 x2", "s1"});
  c.call("AddSource", {"", "", "", ""});
  c.call("AddSource", {"s1", "", "1", ""});
  EXPECT_EQ(c.callInt("Make"), 2);
  const QString status = c.callText("GetStatus");
  EXPECT_TRUE(status.contains(QStringLiteral("Строка 1 (s0), столбец 3 (xij), позиция 4")));
  EXPECT_TRUE(status.contains(QStringLiteral("Строка 2 (s1), столбец 4 (sj)")));
  EXPECT_NE(c.callInt("Save", {dir.filePath("t.fsm")}), 0);
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("t.fsm")));
  EXPECT_THROW(c.call("Make", {1}), EAutomationError);
  EXPECT_THROW(c.call("Frobnicate"), EAutomationError);
  EXPECT_THROW(c.call("SetType", {"a", 2, 1, 2}), EAutomationError);
}

TEST(Plugin, SaveFailureIsReported) {
  Dispatch c = automation::createObject("FSM.Compiler");
  c.call("AddSource", {"s0", "", "1", "s0"});
  ASSERT_EQ(c.callInt("Make"), 0);
  EXPECT_NE(c.callInt("Save", {"/nonexistent-dir/sub/t.fsm"}), 0);
  EXPECT_TRUE(c.callText("GetStatus").contains(QStringLiteral("Ошибка записи")));
}

TEST(Plugin, SimulatorIsCalledFromAWorkerThread) {
  QTemporaryDir dir;
  const QString path = dir.filePath("t.fsm");
  compileExample(path);
  // Created and loaded on the main thread, stepped from another, as the joint model does.
  Dispatch sim = automation::createObject("fsm.Simulator");
  ASSERT_EQ(sim.callInt("Load", {path}), 0);
  std::atomic<int> failures{0};
  std::thread worker([&] {
    try {
      if (sim.callInt("SetState", {"s0"}) != 0) ++failures;
      for (int i = 0; i < 200; ++i) {
        if (sim.callInt("DoStep", {i % 2 ? "" : "x1&x2"}) != 0) ++failures;
        sim.callText("GetStatus");
        sim.callText("GetState");
        sim.callText("GetOut");
      }
    } catch (...) {
      ++failures;
    }
  });
  worker.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(sim.callText("GetState"), QStringLiteral("s0"));
}

TEST(Plugin, WindowsOpenAndCloseWithTheirObject) {
  QTemporaryDir dir;
  const QString path = dir.filePath("t.fsm");
  compileExample(path);
  Dispatch sim = automation::createObject("FSM.CA.Simulator");
  EXPECT_EQ(sim.callInt("Open", {dir.filePath("none.fsm")}), 0);
  EXPECT_TRUE(windowsNamed("FsmSimulatorWindow").isEmpty());
  EXPECT_NE(sim.callInt("Open", {path}), 0);
  EXPECT_EQ(windowsNamed("FsmSimulatorWindow").size(), 1);
  sim.clear();
  EXPECT_TRUE(windowsNamed("FsmSimulatorWindow").isEmpty());

  // The determinizer reports its own faults, through the host's dialogs.
  dlg::Script script;
  Dispatch det = automation::createObject("FSM.CA.Determinizator");
  det.call("Open", {dir.filePath("none.fsm")});
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_EQ(script.shown[0].caption, QStringLiteral("Детерминизация"));
  EXPECT_TRUE(windowsNamed("FsmDeterminizatorWindow").isEmpty());
  EXPECT_NE(det.callInt("Open", {path}), 0);
  EXPECT_EQ(windowsNamed("FsmDeterminizatorWindow").size(), 1);
  windowsNamed("FsmDeterminizatorWindow")[0]->close();  // deletes itself
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(windowsNamed("FsmDeterminizatorWindow").isEmpty());
  det.clear();  // nothing left to close
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
