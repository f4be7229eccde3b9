// The joint model window and its worker, against a scripted simulator registered under the
// server's identifier; the last test runs our real servers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextEdit>
#include <QTableWidget>
#include <QLineEdit>
#include <QCheckBox>
#include <QTimer>
#include <thread>

#include "velmora/frameapi/childkind.h"
#include "velmora/oa/bussetform.h"

#include "platform/automation.h"
#include "platform/dialogs.h"
#include "tests/oa/gridtestutil.h"
#include "tests/oa/oacatestutil.h"
#include "velmora/app/mainform.h"
#include "../servers/testframe.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"
#include "velmora/oa/oacamodelform.h"
#include "velmora/oa/oamodelform.h"
#include "velmora/oa/oastep.h"

using namespace velmora;

namespace {

bool waitFor(const std::function<bool()>& done, int ms = 5000) { return QTest::qWaitFor(done, ms); }

// The menus of an idle worker (checked together with what a step wrote, since they are idle
// before the command arrives too).
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

// The frame in front, as a user has it.
bool showFrame() {
  TestFrame->show();
  TestFrame->activateWindow();
  return QTest::qWaitForWindowActive(TestFrame);
}

bool idle(TOACAModelForm* w) { return w->step->isEnabled() && w->start->isEnabled(); }

// Waits until the worker has gone round its loop `more` times after now: every command posted
// before has been taken and, with none left, a running worker has made its next step attempt.
bool turned(TOACAModelForm* w, int more) {
  oacathread_t* worker = w->worker();
  if (!worker) return false;
  const int from = worker->turns();
  return waitFor([&] { return w->worker() == worker && worker->turns() >= from + more; });
}

// The first fields of the report's lines that do not start at the tab stop of their column: a text
// that reaches past the next stop pushes the rest of its line one column on.
QStringList misaligned(QTextDocument* doc) {
  QStringList out;
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
    if (!b.text().contains('\t')) continue;
    doc->documentLayout()->blockBoundingRect(b);  // lays the paragraph out
    const QList<QTextOption::Tab> stops = b.blockFormat().tabPositions();
    int pos = 0;
    const QStringList fields = b.text().split('\t');
    for (int i = 0; i < fields.size(); ++i) {
      const QTextLine line = b.layout()->lineForTextPosition(pos);
      const qreal x = line.cursorToX(pos);
      if ((i >= stops.size() || qAbs(x - stops[i].position) > 0.5) && out.size() < 5)
        out << QStringLiteral("%1 field %2 at %3").arg(b.text()).arg(i).arg(x);
      pos += int(fields[i].size()) + 1;
    }
  }
  return out;
}

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
    table->document()->oa().blocks = c.blocks;
    table->document()->oa().xSignals.clear();  // no conditions on registers these blocks may lack
    table->document()->oa().xValues.clear();
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

// Every field of the report starts at the tab stop of its column: a fresh window, and rows of
// long texts past step 99 with a long register name. Columns are never narrower than 7 points
// per character of their title.
TEST_F(JointModel, ReportOfAFreshWindow) {
  const QString longName = QStringLiteral("Накопитель_результата");
  const QList<int> least = {0, 16, 25, 34, 43, 94};
  for (int rows : {0, 101}) {  // numbered rows written as a run writes them
    SCOPED_TRACE(rows);
    closeTable();
    openTable();
    table->document()->oa().blocks = {"reg:", "A[8]", longName + "[4]"};
    TOACAModelForm* w = run();
    for (int r = 1; r <= rows; ++r) {
      if (r >= w->rowCount()) w->addStepRow(r);
      w->setStepRow(r, "x1&X2&x3&X4", "s1&s2&s3", "y1&y2&yWrite");
      w->model()->ApplySignals("y1", 'a');
    }
    w->mReportClick();
    ASSERT_TRUE(w->reportEditor);
    QTextDocument* doc = w->reportEditor->document();
    QTextBlock header;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
      if (b.text().startsWith("t \t")) header = b;
    ASSERT_TRUE(header.isValid());
    EXPECT_EQ(header.text(), QStringLiteral("t \tx\ts\ty\tрегистр\tзначение"));
    QList<int> stops;
    for (const QTextOption::Tab& t : header.blockFormat().tabPositions())
      stops << qRound(t.position * 3.0 / 4.0);
    ASSERT_EQ(stops.size(), least.size());
    for (int i = 0; i < stops.size(); ++i) EXPECT_GE(stops[i], least[i]) << i;
    EXPECT_EQ(misaligned(doc), QStringList());
    EXPECT_TRUE(doc->toPlainText().startsWith(QStringLiteral("Модель: Untitled")));
    EXPECT_TRUE(doc->toPlainText().contains(QStringLiteral("\t\t\t\t") + longName + "\t"));
  }
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

// Whatever made the last row (a run to its limit, single steps), it is the highlighted one and
// the register grid shows its step, as choosing it by hand does.
TEST_F(JointModel, TheLastStepIsChosenAndShown) {
  const struct {
    const char* how;
    unsigned limit;
    int steps;  // single steps; 0 runs to the limit
    int rows;   // step rows made
  } cases[] = {{"run to 3", 3, 0, 3}, {"run to 1", 1, 0, 1}, {"two steps", 50, 2, 2}, {"run to 5", 5, 0, 5}};
  TOACAModelForm* w = run();
  w->DecClick();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    w->stepLimit_ = c.limit;
    auto made = [&](int steps) { return w->model()->RowCount() == steps + 1 && idle(w); };
    if (c.steps == 0) w->startClick();
    for (int i = 0; i < c.steps; ++i) {
      w->stepClick();
      ASSERT_TRUE(waitFor([&] { return made(i + 1); }));
    }
    ASSERT_TRUE(waitFor([&] { return made(c.rows); }));
    ASSERT_TRUE(turned(w, 2));
    EXPECT_EQ(w->rowCount(), c.rows + 1);
    EXPECT_EQ(w->stepGrid()->currentRow() + 1, c.rows);
    const QString shown = w->regCell(1, 1);
    EXPECT_EQ(shown, QString::number(c.rows));  // y1 adds one to A at every step
    w->stepGrid()->setCurrentCell(0, 0);
    w->stepGrid()->setCurrentCell(c.rows - 1, 0);  // the same row chosen by hand
    EXPECT_EQ(w->regCell(1, 1), shown);
    w->resetClick();
    ASSERT_TRUE(waitFor([&] { return made(0) && w->rowCount() == 2; }));
    EXPECT_EQ(w->regCell(1, 1), "0");  // a reset shows the initial registers
  }
}

// The window opens as wide as its two grids need, within the MDI area, and never below its
// smallest size.
TEST_F(JointModel, OpensWideEnoughForItsColumns) {
  const QStringList blocks[] = {{"reg:", "A[8]", "mux:", "DI1[8]", "d[4]"},
                                {"reg:", "A[32]", "B[32]", "mux:"}};
  for (const QStringList& b : blocks) {
    SCOPED_TRACE(b.join(' ').toStdString());
    closeTable();
    openTable();
    table->document()->oa() = description(b);
    ASSERT_TRUE(showFrame());
    TOACAModelForm* w = run();
    ASSERT_NE(w, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(columnsOutOfView(w->stepGrid()), QStringList());
    EXPECT_EQ(columnsOutOfView(w->regGrid()), QStringList());
    EXPECT_EQ(cutTexts(w->regGrid()), QStringList());
    const QWidget* sub = w->parentWidget();
    const int room = TestFrame->mdiArea()->viewport()->width();
    EXPECT_GE(sub->x(), 0);
    EXPECT_LE(sub->x() + sub->width(), room);
    EXPECT_GE(w->width(), 453);
    EXPECT_GE(w->height(), 125);
    EXPECT_EQ(w->minimumSize(), QSize(453, 125));
  }
}

// With the frame in front, F9 shows the window only once its model is built: the grid taking
// the focus chooses no row without a model, so no "Нет ОА!". The radix buttons show the base of
// the active window's registers at every activation.
TEST_F(JointModel, StartsWithoutABoxAndTheRadixFollowsTheActiveWindow) {
  ASSERT_TRUE(showFrame());
  TestFrame->ui().DecAction->setChecked(true);  // pressed for another window before
  dlg::Script script;
  TOACAModelForm* w = run();
  EXPECT_EQ(script.shown.size(), 0) << script.lastText().toStdString();
  EXPECT_TRUE(TestFrame->ui().BinAction->isChecked());
  EXPECT_EQ(w->regCell(1, 1), "00000000");

  TOAModelForm* other = TOAModelForm::open(table, table, QStringLiteral("t.oa"));
  ASSERT_TRUE(other);
  auto activate = [](QWidget* window) {
    TestFrame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(window->parentWidget()));
  };
  struct Case {
    QAction* joint;  // pressed while the joint window is active
    QAction* model;  // pressed while the ОА model window is active
    QString a;       // A in the joint window
  };
  const Case cases[] = {{TestFrame->ui().HexAction, TestFrame->ui().DecAction, "0"},
                        {TestFrame->ui().DecAction, TestFrame->ui().BinAction, "0"},
                        {TestFrame->ui().BinAction, TestFrame->ui().HexAction, "00000000"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.joint->objectName().toStdString());
    activate(w);
    c.joint->trigger();
    activate(other);
    c.model->trigger();
    EXPECT_TRUE(c.model->isChecked());
    activate(w);
    EXPECT_TRUE(c.joint->isChecked());
    EXPECT_EQ(w->regCell(1, 1), c.a);
    activate(other);
    EXPECT_TRUE(c.model->isChecked());
  }
  EXPECT_EQ(script.shown.size(), 0);
  delete other->parentWidget();
  TestFrame->hide();
}

// The register grid and the step grid show every title and every value whole: when the window
// opens, after steps change the values and the step texts, and after the radix changes.
TEST_F(JointModel, ColumnsShowEveryTextWhole) {
  table->document()->oa().blocks = {"reg:", "A[8]", QStringLiteral("Накопитель_результата[32]")};
  table->document()->oa().yItems = {{"A:=A+1", QStringLiteral("Накопитель_результата:=!A")}};
  sim->edit([](SimScript& s) { s.state = "s1&s2&s3&s4&s5&s6"; });
  ASSERT_TRUE(showFrame());
  TOACAModelForm* w = run();
  auto check = [&](const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(cutTexts(w->regGrid()), QStringList());
    EXPECT_EQ(cutTexts(w->stepGrid()), QStringList());
  };
  check("opened");
  w->stepLimit_ = 3;
  w->startClick();
  ASSERT_TRUE(waitFor([&] { return w->rowCount() == 4 && idle(w); }));
  EXPECT_EQ(w->regCell(1, 2).size(), 32);
  check("stepped");
  for (QAction* radix : {TestFrame->ui().DecAction, TestFrame->ui().HexAction, TestFrame->ui().BinAction}) {
    radix->trigger();
    check(radix->objectName().toLatin1().constData());
  }
  TestFrame->hide();
}

// The frame's >|, ||, > and [] buttons are the window's Шаг, Пауза, Пуск and Сброс: they do
// what those do and are enabled exactly when those are, while the window is the active one.
TEST_F(JointModel, FrameRunButtonsAreTheMenuCommands) {
  TOACAModelForm* w = run();
  ASSERT_EQ(TestFrame->activeChild(), w);
  auto same = [&] {
    return TestFrame->ui().ModelStepAction->isEnabled() == w->step->isEnabled() &&
           TestFrame->ui().ModelPauseAction->isEnabled() == w->pause->isEnabled() &&
           TestFrame->ui().ModelPlayAction->isEnabled() == w->start->isEnabled() &&
           TestFrame->ui().ModelStopAction->isEnabled() == w->reset->isEnabled();
  };
  EXPECT_TRUE(same());
  struct Case {
    QAction* button;
    std::function<bool()> done;
  };
  const Case cases[] = {
      {TestFrame->ui().ModelStepAction, [&] { return w->cell(2, 1) == "s1" && idle(w); }},
      {TestFrame->ui().ModelPlayAction, [&] { return w->pause->isEnabled() && w->rowCount() > 3; }},
      {TestFrame->ui().ModelPauseAction, [&] { return idle(w); }},
      {TestFrame->ui().ModelStopAction, [&] { return w->consoleText() == QStringLiteral("---СБРОС---"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button->objectName().toStdString());
    ASSERT_TRUE(c.button->isEnabled());
    c.button->trigger();
    EXPECT_TRUE(waitFor(c.done));
    EXPECT_TRUE(same());
  }
  // Another window in front: the buttons go with it, and the worker's menus leave them alone.
  auto* text = new TTxtForm();
  TestFrame->addChild(text);
  w->startClick();
  ASSERT_TRUE(waitFor([&] { return w->pause->isEnabled(); }));
  for (QAction* a : {TestFrame->ui().ModelStepAction, TestFrame->ui().ModelPauseAction,
                     TestFrame->ui().ModelPlayAction, TestFrame->ui().ModelStopAction})
    EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
  TestFrame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
  EXPECT_TRUE(same());
  EXPECT_TRUE(TestFrame->ui().ModelPauseAction->isEnabled());
  delete text->parentWidget();
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
