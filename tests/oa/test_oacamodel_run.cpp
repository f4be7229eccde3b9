// The joint model's run: steps and their limit, what a refused step or a failed load shows, a
// reset, the worker's end however the window goes; then once against our real servers.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QTemporaryDir>
#include <thread>

#include "platform/dialogs.h"
#include "tests/oa/jointmodeltest.h"

namespace {

// A table window in the frame whose operational automaton is the register A[4] with the
// outputs `ys` and one input x1 of condition `x1`.
TVexoTableForm* tableWithA(const QList<TableRow>& rows, const QStringList& ys,
                           const QList<QStringList>& items, const QString& x1) {
  auto* table = new TVexoTableForm();
  TestFrame->addChild(table);
  TableData t;
  t.rows = rows;
  table->setTableData(t);
  OaDescription d;
  d.blocks = {"reg:", "A[4]"};
  d.ySignals = ys;
  d.yItems = items;
  d.xSignals = {"x1"};
  d.xValues = {x1};
  d.oaPresent = true;
  table->document()->oa() = d;
  return table;
}

TEST_F(JointModel, LimitIsAskedAndChecked) {
  TOACAModelForm* w = run();
  dlg::Script script;
  const QString range = QStringLiteral("Значение должно находится в диапазоне от 1 до 1000");
  struct Case {
    QString typed;
    unsigned limit;
    QString message;
  };
  const Case cases[] = {{"1000", 1000, ""},
                        {"0", 1000, range},
                        {"1001", 1000, range},
                        {"abc", 1000, "'abc' не является целым числом"},
                        {"1", 1, ""}};
  for (const Case& c : cases) {
    script.shown.clear();
    script.inputs << c.typed;
    w->modelCountAction->trigger();
    EXPECT_EQ(w->stepLimit(), c.limit) << c.typed.toStdString();
    EXPECT_EQ(script.lastText(), c.message);
  }
  EXPECT_EQ(script.queries[0].caption, QStringLiteral("Управляющий автомат"));
  EXPECT_EQ(script.queries[0].prompt, QStringLiteral("Предел автоматического моделирования:"));
  EXPECT_EQ(script.queries[0].offered, QStringLiteral("50"));
  w->modelCountAction->trigger();  // cancelled: unchanged
  EXPECT_EQ(w->stepLimit(), 1u);
}

TEST_F(JointModel, LimitOneMakesStepZeroThenOnlyPauses) {
  TOACAModelForm* w = run();
  w->stepLimit_ = 1;
  w->startClick();
  ASSERT_TRUE(waitFor([&] { return w->cell(2, 1) == "s1" && idle(w); }));
  EXPECT_EQ(sim->count("SetState"), 1);
  EXPECT_EQ(sim->count("DoStep"), 0);
  w->startClick();
  w->stepClick();
  // Both commands taken and the step attempt after them made.
  ASSERT_TRUE(turned(w, 4));
  ASSERT_TRUE(waitFor([&] { return idle(w); }));
  EXPECT_EQ(sim->count("DoStep"), 0);
  EXPECT_EQ(w->rowCount(), 2);
}

TEST_F(JointModel, LoadFailureAndCaption) {
  sim->loadResult = -1;
  TOACAModelForm* w = run();
  EXPECT_TRUE(w->consoleText().contains(QStringLiteral("(Ошибка -1) Файл: ") + table->compiledFileName()));
  EXPECT_EQ(w->worker(), nullptr);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Моделирование УА+ОА"));
  EXPECT_TRUE(w->start->isEnabled());
  w->startClick();  // does nothing
  EXPECT_EQ(oacathread_t::liveWorkers(), 0);

  QTemporaryDir dir;
  table->document()->setFileName(dir.filePath("t1.tbl"));
  sim->loadResult = 0;
  table->AllModelClick();
  EXPECT_EQ(qobject_cast<TOACAModelForm*>(table->jointModel()), w);  // the same window again
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Модель УА+OA - ") + dir.filePath("t1.tbl"));
  EXPECT_EQ(sim->argsOf("Load").last(), dir.filePath("t1.fsm"));
  EXPECT_TRUE(w->consoleText().endsWith(QStringLiteral("Загрузка файла: ") + dir.filePath("t1.fsm")));
}

TEST_F(JointModel, OneStepThenTheNextGivesTheAnswer) {
  TOACAModelForm* w = run();
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Модель УА+OA - Untitled"));
  EXPECT_TRUE(w->start->isEnabled() && w->step->isEnabled() && !w->pause->isEnabled());
  w->stepClick();
  ASSERT_TRUE(waitFor([&] { return w->cell(2, 1) == "s1" && idle(w); }));
  EXPECT_EQ(sim->argsOf("SetState"), QStringList{"s0"});
  EXPECT_EQ(w->cell(1, 1), "x1");  // y1 raised A to 1, so A[0] holds
  EXPECT_EQ(w->cell(3, 1), "y1");
  EXPECT_EQ(w->model()->RowCount(), 2);
  EXPECT_FALSE(w->pause->isEnabled());
  EXPECT_TRUE(w->consoleText().endsWith(QStringLiteral("статус шага")));
  w->stepClick();
  ASSERT_TRUE(waitFor([&] { return w->rowCount() == 3 && idle(w); }));
  EXPECT_EQ(sim->argsOf("DoStep"), QStringList{"x1"});
  EXPECT_EQ(w->cell(0, 2), "2");
  EXPECT_EQ(w->cell(1, 2), "X1");  // A is 2 now
  EXPECT_EQ(sim->count("SetState"), 1);
}

// What a refused step shows, and that the run stops until reset.
TEST_F(JointModel, RefusedStepsStopTheRun) {
  struct Case {
    bool first;  // the status comes from SetState
    int status;
    bool throws;
    QStringList row;
  };
  const Case cases[] = {
      {false, 2, false, {"---?---", "---нет перехода---", "---?---"}},
      {true, 1, false, {"---?---", "s1", "---нет событий---"}},
      {false, -1, false, {"x1", "---ошибка---", "---ошибка---"}},
      {false, 0, true, {"x1", "---ошибка---", "---ошибка---"}},
  };
  for (const Case& c : cases) {
    closeTable();
    openTable();
    sim->edit([&](SimScript& s) {
      s.calls_.clear();
      s.setStateResult = c.first ? c.status : 0;
      s.doStepDefault = c.first ? 0 : c.status;
      s.throwOnDoStep = c.throws;
    });
    TOACAModelForm* w = run();
    w->startClick();
    const int row = c.first ? 1 : 2;
    ASSERT_TRUE(waitFor([&] { return w->cell(2, row) == c.row[1] && idle(w); })) << c.status;
    EXPECT_EQ((QStringList{w->cell(1, row), w->cell(2, row), w->cell(3, row)}), c.row);
    if (c.throws) {
      EXPECT_TRUE(w->consoleText().endsWith(QStringLiteral("Сервер: сбой шага")));
    }
    const int calls = int(sim->calls().size());
    w->startClick();
    w->stepClick();
    ASSERT_TRUE(turned(w, 4));
    ASSERT_TRUE(waitFor([&] { return idle(w); }));
    EXPECT_EQ(int(sim->calls().size()), calls);  // only paused
  }
}

TEST_F(JointModel, ResetDuringAutomaticRunning) {
  TOACAModelForm* w = run();
  w->startClick();
  ASSERT_TRUE(waitFor([&] { return w->rowCount() > 4; }));
  EXPECT_TRUE(w->pause->isEnabled());
  w->resetClick();
  ASSERT_TRUE(waitFor([&] { return w->consoleText() == QStringLiteral("---СБРОС---"); }));
  // A whole turn of the worker's loop after the reset, where a running worker would step.
  ASSERT_TRUE(turned(w, 2));
  EXPECT_EQ(w->consoleText(), QStringLiteral("---СБРОС---"));
  EXPECT_EQ(w->rowCount(), 2);
  EXPECT_EQ(w->cell(1, 1) + w->cell(2, 1) + w->cell(3, 1), QString());
  EXPECT_EQ(w->model()->RowCount(), 1);
  EXPECT_TRUE(idle(w));
  const int before = sim->count("SetState");
  w->stepClick();
  ASSERT_TRUE(waitFor([&] { return sim->count("SetState") == before + 1; }));
}

TEST_F(JointModel, WithoutAModelTheCommandsDoNothing) {
  table->document()->oa().blocks = {"reg:", "A[x]"};  // no width: the model cannot be built
  dlg::Script script;
  TOACAModelForm* w = run();
  EXPECT_FALSE(script.lastText().isEmpty());
  EXPECT_FALSE(table->gridLocked());
  EXPECT_EQ(w->model(), nullptr);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Модель УА (ОА нет!) - Untitled"));
  const int windows = int(TestFrame->mdiArea()->subWindowList().size());
  w->mReportClick();
  w->BinClick();
  w->BusSetBtnClick();
  EXPECT_EQ(int(TestFrame->mdiArea()->subWindowList().size()), windows);
  script.shown.clear();
  w->stepGrid()->setCurrentCell(0, 1);
  EXPECT_EQ(script.lastText(), QStringLiteral("Нет ОА!"));
}

// The worker never reaches a window that is gone, however it goes; nothing hangs or stays.
// Each of the three ways, 100 times.
TEST_F(JointModel, CloseRunAgainAndExitDuringRunning) {
  for (int i = 0; i < 300; ++i) {
    TOACAModelForm* w = run();
    w->startClick();
    ASSERT_TRUE(waitFor([&] { return w->rowCount() > 2; }));
    switch (i % 3) {
      case 0:  // the window closes
        w->parentWidget()->close();
        break;
      case 1: {  // the command again: the old worker ends before the model is replaced
        QPointer<TOACAModelForm> same = run();
        EXPECT_EQ(same.data(), w);
        break;
      }
      case 2:  // the program's exit: no event loop any more, the table goes, workers are joined
        closeTable();
        oacathread_t::EndAll();
        EXPECT_EQ(oacathread_t::liveWorkers(), 0);
        openTable();
        break;
    }
    ASSERT_TRUE(waitFor([] { return oacathread_t::liveWorkers() <= 1; }));
  }
}

// The worker is waiting in a hand-off that cannot run (no event loop) when the program ends.
TEST_F(JointModel, ExitWhileTheWorkerWaitsForTheMainThread) {
  TOACAModelForm* w = run();
  w->startClick();
  oacathread_t* worker = w->worker();
  ASSERT_TRUE(worker);
  // No event loop runs here: the worker takes the command and waits for its hand-off.
  while (!worker->waitingForHandOff()) std::this_thread::yield();
  oacathread_t::EndAll();
  EXPECT_EQ(w->worker(), nullptr);
  EXPECT_EQ(oacathread_t::liveWorkers(), 0);
}

// Our real servers, found as Velmora finds them: the table compiles, its operational automaton
// counts, and the run stops by itself where the table has no transition left.
TEST(JointModelServers, RunsToAStop) {
  dlg::Script script;
  OptionsForm->AutoReg->setChecked(true);
  TVexoTableForm* table = tableWithA(
      {{"s0", "y1", "1", "s1"}, {"s1", "yInc", "x1", "s2"}, {"", "", "X1", "s1"}, {"s2", "y3", "0", "0"}},
      {"y1", "yInc", "y3"}, {{"A:=0"}, {"A:=A+1"}, {"A:=A"}}, "A[2]");
  table->AllModelClick();
  TOACAModelForm* w = qobject_cast<TOACAModelForm*>(table->jointModel());
  ASSERT_TRUE(w && w->worker()) << w->consoleText().toStdString();
  w->startClick();
  ASSERT_TRUE(waitFor([&] { return w->cell(3, w->rowCount() - 1) == "---нет событий---" && idle(w); }));
  // s0, then s1 four times while A counts to 4, then s2, where nothing goes on.
  EXPECT_EQ(w->rowCount(), 8);
  EXPECT_EQ(w->cell(3, 2), "yInc");
  EXPECT_EQ(w->cell(1, 5), "x1");
  EXPECT_EQ(w->cell(2, 6), "s2");
  EXPECT_EQ(w->regCell(1, 1), "0100");
  EXPECT_TRUE(script.shown.isEmpty());
  delete table->parentWidget();
  EXPECT_TRUE(waitFor([] { return oacathread_t::liveWorkers() == 0; }));
}

// A state without outputs leaves the operational automaton without an answer ("сигнал
// неопределен"): our simulator takes the state's unconditional transition, and without one the
// run stops with "no transition" and says why.
TEST(JointModelServers, AStateWithoutOutputsTakesItsUnconditionalTransition) {
  struct Case {
    const char* s1;    // the condition of s1's transition to s2
    QStringList last;  // x, s, y of the last row
    QString console;   // a part of the console
  };
  const Case cases[] = {
      {"1", {"---?---", "s2", "---нет событий---"}, QStringLiteral("безусловный переход из s1 в s2")},
      {"x1", {"---?---", "---нет перехода---", "---?---"}, QStringLiteral("безусловного перехода нет")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.s1);
    dlg::Script script;
    OptionsForm->AutoReg->setChecked(true);
    TVexoTableForm* table =
        tableWithA({{"s0", "y1", "1", "s1"}, {"s1", "", c.s1, "s2"}, {"s2", "y3", "0", "0"}}, {"y1", "y3"},
                   {{"A:=1"}, {"A:=A"}}, "A[0]");
    table->AllModelClick();
    TOACAModelForm* w = qobject_cast<TOACAModelForm*>(table->jointModel());
    ASSERT_TRUE(w && w->worker()) << w->consoleText().toStdString();
    w->startClick();
    ASSERT_TRUE(
        waitFor([&] { return w->rowCount() > 2 && w->cell(2, w->rowCount() - 1) == c.last[1] && idle(w); }));
    const int last = w->rowCount() - 1;
    EXPECT_EQ(w->cell(1, 2), TModelOA::undefinedSignal());  // s1 gave no outputs
    EXPECT_EQ((QStringList{w->cell(1, last), w->cell(2, last), w->cell(3, last)}), c.last);
    EXPECT_TRUE(w->consoleText().contains(c.console)) << w->consoleText().toStdString();
    EXPECT_TRUE(script.shown.isEmpty());
    delete table->parentWidget();
    EXPECT_TRUE(waitFor([] { return oacathread_t::liveWorkers() == 0; }));
  }
}

}  // namespace
