#pragma once
// The joint model window and its worker, against a scripted simulator registered under the
// server's identifier: the fixture and the waits its tests share.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPointer>
#include <QTest>
#include <functional>
#include <memory>

#include "platform/automation.h"
#include "tests/oa/oacatestutil.h"
#include "tests/servers/testframe.h"
#include "velmora/app/mainform.h"
#include "velmora/documents/tableform.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/oa/oacamodelform.h"
#include "velmora/oa/oastep.h"

using namespace velmora;

inline bool waitFor(const std::function<bool()>& done, int ms = 5000) { return QTest::qWaitFor(done, ms); }

// The frame in front, as a user has it.
inline bool showFrame() {
  TestFrame->show();
  TestFrame->activateWindow();
  return QTest::qWaitForWindowActive(TestFrame);
}

// The menus of an idle worker (checked together with what a step wrote, since they are idle
// before the command arrives too).
inline bool idle(TOACAModelForm* w) { return w->step->isEnabled() && w->start->isEnabled(); }

// Waits until the worker has gone round its loop `more` times after now: every command posted
// before has been taken and, with none left, a running worker has made its next step attempt.
inline bool turned(TOACAModelForm* w, int more) {
  oacathread_t* worker = w->worker();
  if (!worker) return false;
  const int from = worker->turns();
  return waitFor([&] { return w->worker() == worker && worker->turns() >= from + more; });
}

inline OaDescription description(const QStringList& blocks = {"reg:", "A[8]", "mux:", "DI1[8]", "d[4]"}) {
  OaDescription d;
  d.blocks = blocks;
  d.ySignals = {"y1"};
  d.yItems = {{"A:=A+1"}};
  d.xSignals = {"x1"};
  d.xValues = {"A[0]"};
  d.oaPresent = true;
  return d;
}

class JointModel : public ::testing::Test {
 protected:
  void SetUp() override {
    automation::setServersDisabled(true);
    OptionsForm->AutoReg->setChecked(true);
    openTable();
  }
  void TearDown() override {
    closeTable();
    // Every worker ends by itself once its window is gone.
    EXPECT_TRUE(waitFor([] { return oacathread_t::liveWorkers() == 0; }));
    automation::setServersDisabled(false);
  }

  void openTable() {
    table = new TVexoTableForm();
    TestFrame->addChild(table);
    TableData t;
    t.rows << TableRow{"s0", "y1", "1", "s1"} << TableRow{"s1", "y1", "1", "s0"};
    table->setTableData(t);
    table->document()->oa() = description();
  }
  void closeTable() {
    if (table) delete table->parentWidget();
  }
  TOACAModelForm* run() {
    table->AllModelClick();
    return qobject_cast<TOACAModelForm*>(table->jointModel());
  }
  std::shared_ptr<SimScript> sim = std::make_shared<SimScript>();
  automation::FactoryRegistration compilerReg{"FSM.Compiler",
                                              [] { return std::make_unique<FakeCompiler>(); }};
  automation::FactoryRegistration simReg{"fsm.Simulator",
                                         [this] { return std::make_unique<FakeSimulator>(sim); }};
  QPointer<TVexoTableForm> table;
};
