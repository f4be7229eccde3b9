// The joint model window and its worker, against a scripted simulator registered under the
// server's identifier; the last test runs our real servers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTableWidget>
#include <QLineEdit>
#include <QCheckBox>
#include <QTimer>

#include "velmora/app/childkind.h"
#include "velmora/oa/bussetform.h"

#include "platform/automation.h"
#include "platform/dialogs.h"
#include "tests/oa/oacatestutil.h"
#include "velmora/app/mainform.h"
#include "../servers/testframe.h"
#include "velmora/app/optionsform.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"
#include "velmora/oa/oacamodelform.h"
#include "velmora/oa/oastep.h"

namespace {

bool waitFor(const std::function<bool()>& done, int ms = 5000) { return QTest::qWaitFor(done, ms); }

// The menus of an idle worker (checked together with what a step wrote, since they are idle
// before the command arrives too).
bool idle(TOACAModelForm* w) { return w->step->isEnabled() && w->start->isEnabled(); }

OaDescription description(const QStringList& blocks = {"reg:", "A[8]", "mux:", "DI1[8]", "d[4]"}) {
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
    table->oa = description();
  }
  void closeTable() {
    if (table) delete table->parentWidget();
  }
  TOACAModelForm* run() {
    table->AllModelClick();
    return table->fullModel;
  }
  std::shared_ptr<SimScript> sim = std::make_shared<SimScript>();
  automation::FactoryRegistration compilerReg{"FSM.Compiler", [] { return std::make_unique<FakeCompiler>(); }};
  automation::FactoryRegistration simReg{"fsm.Simulator", [this] { return std::make_unique<FakeSimulator>(sim); }};
  QPointer<TVexoTableForm> table;
};

TEST_F(JointModel, BlocksFillTheRegisterGridAndBusMode) {
  struct Case {
    QStringList blocks;
    QStringList watched;
    bool bus;
  };
  const Case cases[] = {
      {{"reg:", "A[8]", "mux:", "DI1[8]", "d[4]"}, {"A", "DI1", "d"}, true},
      {{"reg", "register", "d[4]", "mux", "B[2]"}, {"d", "B"}, false},
      {{"reg:", "dI[3]"}, {"dI"}, true},
  };
  for (const Case& c : cases) {
    closeTable();
    openTable();
    table->oa.blocks = c.blocks;
    table->oa.xSignals.clear();  // no conditions on registers these blocks may lack
    table->oa.xValues.clear();
    TOACAModelForm* w = run();
    ASSERT_TRUE(w);
    QStringList names;
    for (int r = 1; r < w->regRowCount(); ++r) names << w->regCell(0, r);
    EXPECT_EQ(names, c.watched);
    EXPECT_EQ(w->busMode, c.bus);
    EXPECT_EQ(TestFrame->ui().ModelBusAction->isEnabled(), c.bus);
    EXPECT_TRUE(table->gridLocked());
    EXPECT_EQ(table->grid()->toolTip(), QStringLiteral("Идет процесс моделирования"));
  }
  // Without the option the grid starts empty.
  closeTable();
  openTable();
  OptionsForm->AutoReg->setChecked(false);
  TOACAModelForm* w = run();
  EXPECT_EQ(w->regRowCount(), 2);
  EXPECT_EQ(w->regCell(0, 1), QString());
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
  const Case cases[] = {{"1000", 1000, ""}, {"0", 1000, range}, {"1001", 1000, range},
                        {"abc", 1000, "'abc' не является целым числом"}, {"1", 1, ""}};
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
  QTest::qWait(200);
  EXPECT_TRUE(idle(w));
  EXPECT_EQ(sim->count("DoStep"), 0);
  EXPECT_EQ(w->rowCount(), 2);
}

TEST_F(JointModel, ReportOfAFreshWindow) {
  TOACAModelForm* w = run();
  w->mReportClick();
  ASSERT_TRUE(w->reportEditor);
  const QTextDocument* doc = w->reportEditor->document();
  QTextBlock header;
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
    if (b.text().startsWith("t \t")) header = b;
  ASSERT_TRUE(header.isValid());
  EXPECT_EQ(header.text(), QStringLiteral("t \tx\ts\ty\tрегистр\tзначение"));
  QList<int> stops;
  for (const QTextOption::Tab& t : header.blockFormat().tabPositions()) stops << qRound(t.position * 3.0 / 4.0);
  EXPECT_EQ(stops, (QList<int>{0, 16, 25, 34, 43, 94}));
  EXPECT_TRUE(doc->toPlainText().startsWith(QStringLiteral("Модель: Untitled")));
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
  table->tableFileName = dir.filePath("t1.tbl");
  sim->loadResult = 0;
  table->AllModelClick();
  EXPECT_EQ(table->fullModel, w);  // the same window again
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
    if (c.throws) EXPECT_TRUE(w->consoleText().endsWith(QStringLiteral("Сервер: сбой шага")));
    const int calls = int(sim->calls().size());
    w->startClick();
    w->stepClick();
    QTest::qWait(150);
    EXPECT_EQ(int(sim->calls().size()), calls);  // only paused
    EXPECT_TRUE(idle(w));
  }
}

TEST_F(JointModel, ResetDuringAutomaticRunning) {
  TOACAModelForm* w = run();
  w->startClick();
  ASSERT_TRUE(waitFor([&] { return w->rowCount() > 4; }));
  EXPECT_TRUE(w->pause->isEnabled());
  w->resetClick();
  ASSERT_TRUE(waitFor([&] { return w->consoleText() == QStringLiteral("---СБРОС---"); }));
  QTest::qWait(100);
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
  table->oa.blocks = {"reg:", "A[x]"};  // no width: the model cannot be built
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

TEST_F(JointModel, ChoosingAStepShowsItsRegisters) {
  TOACAModelForm* w = run();
  w->stepLimit_ = 3;
  TestFrame->ui().DecAction->trigger();
  w->DecClick();
  w->startClick();
  ASSERT_TRUE(waitFor([&] { return w->rowCount() == 4 && idle(w); }));
  w->stepGrid()->setCurrentCell(1, 0);  // row 2
  EXPECT_EQ(w->regCell(1, 1), "2");
  w->stepGrid()->setCurrentCell(0, 0);
  EXPECT_EQ(w->regCell(1, 1), "1");
}

// While the window is active the frame's report, radix and bus commands reach it.
TEST_F(JointModel, FrameCommandsReachTheActiveWindow) {
  TOACAModelForm* w = run();
  ASSERT_EQ(TestFrame->activeChild(), w);
  EXPECT_EQ(ChildKind, 9);
  EXPECT_EQ(TestFrame->statusText(2), QStringLiteral("Шаг №1"));
  ASSERT_TRUE(TestFrame->ui().ModelBusAction->isEnabled());

  TestFrame->ui().HexAction->trigger();
  EXPECT_EQ(w->model()->Radix, 1);
  EXPECT_EQ(w->regCell(1, 2), "0");  // DI1 in hexadecimal

  // The bus dialog lists the buses of the register grid; what it is left with is the initial value.
  QTimer::singleShot(0, [] {
    ASSERT_TRUE(BusSetForm);
    EXPECT_EQ(BusSetForm->cell(0, 1), "DI1");
    BusSetForm->setCell(1, 1, "26");
    BusSetForm->accept();
  });
  TestFrame->ui().ModelBusAction->trigger();
  w->model()->GoToStep(0);
  EXPECT_EQ(w->model()->GetRegisterValue("DI1", 2), "26");
  EXPECT_EQ(w->regCell(1, 2), "1A");

  const int windows = int(TestFrame->mdiArea()->subWindowList().size());
  TestFrame->ui().ReportAction->trigger();
  EXPECT_EQ(int(TestFrame->mdiArea()->subWindowList().size()), windows + 1);
  EXPECT_TRUE(w->reportEditor);
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
  QThread::msleep(300);  // the worker now waits for a hand-off no one runs
  oacathread_t::EndAll();
  EXPECT_EQ(w->worker(), nullptr);
  EXPECT_EQ(oacathread_t::liveWorkers(), 0);
}

// Our real servers, found as Velmora finds them: the table compiles, its operational automaton
// counts, and the run stops by itself where the table has no transition left.
TEST(JointModelServers, RunsToAStop) {
  dlg::Script script;
  TestFrame->show();  // the register columns fit what a shown window displays
  OptionsForm->AutoReg->setChecked(true);
  auto* table = new TVexoTableForm();
  TestFrame->addChild(table);
  TableData t;
  t.rows << TableRow{"s0", "y1", "1", "s1"} << TableRow{"s1", "yInc", "x1", "s2"}
         << TableRow{"", "", "X1", "s1"} << TableRow{"s2", "y3", "0", "0"};
  table->setTableData(t);
  OaDescription d;
  d.blocks = {"reg:", "A[4]"};
  d.ySignals = {"y1", "yInc", "y3"};
  d.yItems = {{"A:=0"}, {"A:=A+1"}, {"A:=A"}};
  d.xSignals = {"x1"};
  d.xValues = {"A[2]"};
  d.oaPresent = true;
  table->oa = d;
  table->AllModelClick();
  TOACAModelForm* w = table->fullModel;
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
  // Every register text shows whole in its column.
  QTableWidget* g = w->regGrid();
  QApplication::processEvents();  // the layout a user would see
  for (int r = 0; r < g->rowCount(); ++r)
    for (int c = 0; c < g->columnCount(); ++c)
      if (QTableWidgetItem* it = g->item(r, c))
        EXPECT_GE(g->columnWidth(c), g->fontMetrics().horizontalAdvance(it->text())) << r << "," << c << " " << it->text().toStdString();
  delete table->parentWidget();
  EXPECT_TRUE(waitFor([] { return oacathread_t::liveWorkers() == 0; }));
}

// A state without outputs is legal: the real servers follow its unconditional transition, and
// without one the run stops there with "no transition".
TEST(JointModelServers, StateWithoutOutputs) {
  struct Case {
    QString condition;
    QString lastOutput;
    QString lastState;
  };
  const Case cases[] = {
      {"1", "---нет событий---", "s2"},
      {"x1", "---?---", "---нет перехода---"},
  };
  for (const Case& c : cases) {
    dlg::Script script;
    auto* table = new TVexoTableForm();
    TestFrame->addChild(table);
    TableData t;
    t.rows << TableRow{"s0", "y1", "1", "s1"} << TableRow{"s1", "", c.condition, "s2"}
           << TableRow{"s2", "y3", "0", "0"};
    table->setTableData(t);
    OaDescription d;
    d.blocks = {"reg:", "A[4]"};
    d.ySignals = {"y1", "y3"};
    d.yItems = {{"A:=A+1"}, {"A:=A"}};
    d.xSignals = {"x1"};
    d.xValues = {"A[2]"};
    d.oaPresent = true;
    table->oa = d;
    table->AllModelClick();
    TOACAModelForm* w = table->fullModel;
    ASSERT_TRUE(w && w->worker()) << w->consoleText().toStdString();
    w->startClick();
    ASSERT_TRUE(waitFor([&] { return w->cell(3, w->rowCount() - 1).startsWith("---") && idle(w); }))
        << c.condition.toStdString();
    EXPECT_EQ(w->cell(3, w->rowCount() - 1), c.lastOutput) << c.condition.toStdString();
    EXPECT_EQ(w->cell(2, w->rowCount() - 1), c.lastState) << c.condition.toStdString();
    delete table->parentWidget();
    EXPECT_TRUE(waitFor([] { return oacathread_t::liveWorkers() == 0; }));
  }
}

}  // namespace
