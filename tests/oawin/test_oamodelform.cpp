// The ОА model window: steps, the *.y file, closing, the counted table lock, buses, report.
#include <QAbstractTableModel>
#include <QAction>
#include <QHeaderView>
#include <QTableView>
#include <QDir>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <sys/resource.h>
#include <unistd.h>

#include <functional>

#include "oawinhelpers.h"
#include "tests/oa/gridtestutil.h"
#include "velmora/documents/txtform.h"
#include "velmora/oa/bussetform.h"
#include "velmora/oa/gridfit.h"
#include "velmora/oa/oastep.h"

using namespace velmora;

using namespace oawt;

namespace {

QStringList answers(const TOAModelForm* m) {
  QStringList out;
  for (int r = 1; r < m->stepRowCount(); ++r) out << m->stepCell(1, r);
  return out;
}

// The answers a model of its own gives for the same inputs, appended one by one.
QStringList replayed(const OaDescription& d, const QStringList& inputs) {
  TModelStep m(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  QStringList out{m.Reset({}, {})};
  for (const QString& in : inputs) out << m.ApplySignals(in, 'a');
  return out;
}

}  // namespace

TEST_F(OaWindows, StepsSaveAsAYFileAndOpenFromOne) {
  QTemporaryDir dir;
  TVexoTableForm* t = exampleTable();
  TOAModelForm* m = openModel(t);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(ChildKind, ckOaModel);
  EXPECT_EQ(m->stepCell(0, 1), "инициализация");
  pickSignals({"y1"});
  m->yAddClick();
  pickSignals({"y2", "y3"});
  m->yAddClick();
  EXPECT_EQ(m->stepInputs(), QStringList({"y1", "y2&y3"}));
  EXPECT_EQ(answers(m), replayed(t->document()->oa(), {"y1", "y2&y3"}));
  EXPECT_TRUE(m->modified);

  dlg::Script s;
  s.files << dir.filePath("s");  // typed without extension
  ASSERT_TRUE(m->mSaveFileClick());
  EXPECT_EQ(s.fileFilters.value(0), "Файл воздействи (*.y)|*.y|Все файлы|*.*");
  EXPECT_EQ(edtest::readAll(dir.filePath("s.y")), QByteArray("\x79\x31\x0D\x0A\x79\x32\x26\x79\x33\x0D\x0A"));
  EXPECT_TRUE(m->windowTitle().endsWith(" - s.y"));
  EXPECT_FALSE(m->modified);

  ASSERT_TRUE(edtest::writeAll(dir.filePath("o.y"), "y1\ny3\r\ny9"));
  s.files << dir.filePath("o.y");
  m->mOpenFileClick();
  EXPECT_EQ(m->stepInputs(), QStringList({"y1", "y3", "y9"}));
  EXPECT_EQ(answers(m).mid(1), QStringList({"x1&x2&X3", "X1&x2&X3", "сигнал неопределен"}));
  EXPECT_EQ(m->model()->RowCount(), 4);
  EXPECT_TRUE(m->windowTitle().endsWith(" - o.y"));

  // A file that cannot be read leaves the steps as they were.
  s.files << dir.filePath("missing.y");
  m->mOpenFileClick();
  EXPECT_EQ(m->stepInputs(), QStringList({"y1", "y3", "y9"}));
  EXPECT_EQ(s.shown.last().caption, "Ошибка");
  // Unsaved steps are asked about before anything is chosen; Cancel keeps them.
  pickSignals({"y2"});
  m->yAddClick();
  s.answers << dlg::Cancel;
  s.files << dir.filePath("s.y");
  m->mOpenFileClick();
  EXPECT_EQ(s.lastText(), "Сохранить входные воздействия в '" + t->document()->oaFileName());
  EXPECT_EQ(s.files.size(), 1) << "no file was asked for";
  EXPECT_EQ(m->stepInputs(), QStringList({"y1", "y3", "y9", "y2"}));
  s.files.clear();
  m->modified = false;
}

// A file that cannot be loaded whole leaves the steps, the answers, the file name and the
// caption as they were, and the message says why.
TEST_F(OaWindows, AFailedLoadChangesNothingAndSaysWhy) {
  struct Case {
    const char* what;
    QByteArray bytes;  // empty: the file does not exist
    bool lowMemory;
    QString says;
  };
  // y4 names a register the description does not declare: its step fails when it runs.
  const Case cases[] = {
      {"missing", {}, false, "Не удается открыть файл"},
      {"failing step", "y1\r\ny2\r\ny4\r\ny3\r\n", false, "Шаг 3: "},
      {"out of memory", QByteArray("y1&y2&y3\r\n").repeated(8 << 20), true, "не хватает памяти"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
#if defined(__SANITIZE_ADDRESS__)
    if (c.lowMemory) continue;  // the sanitizer's shadow memory does not live under an address-space limit
#endif
    QTemporaryDir dir;
    TVexoTableForm* t = exampleTable();
    t->document()->oa().ySignals << "y4";
    t->document()->oa().yItems << QStringList{"Q:=1"};
    TOAModelForm* m = openModel(t);
    ASSERT_NE(m, nullptr);
    dlg::Script s;
    ASSERT_TRUE(edtest::writeAll(dir.filePath("kept.y"), "y1\r\ny2&y3\r\n"));
    s.files << dir.filePath("kept.y");
    m->mOpenFileClick();
    const QString path = dir.filePath("new.y");
    if (!c.bytes.isEmpty()) {
      ASSERT_TRUE(edtest::writeAll(path, c.bytes));
    }
    const QStringList inputs = m->stepInputs();
    const QStringList before = answers(m);
    const QString title = m->windowTitle();
    const auto load = [&] {
      s.files << path;
      m->mOpenFileClick();
      return m->stepInputs() == inputs && answers(m) == before && m->model()->RowCount() == 3 &&
             m->inputsFileName == dir.filePath("kept.y") && m->windowTitle() == title &&
             s.shown.last().caption == "Ошибка" && s.lastText().contains(c.says);
    };
    if (!c.lowMemory) {
      EXPECT_TRUE(load()) << s.lastText().toStdString();
    } else {
      // In a child process whose address space ends a little above what it uses now.
      EXPECT_EXIT(
          {
            rlimit lim{};
            QFile statm(QStringLiteral("/proc/self/statm"));
            statm.open(QIODevice::ReadOnly);
            const rlim_t used =
                rlim_t(statm.readAll().split(' ').value(0).toLongLong()) * rlim_t(getpagesize());
            lim.rlim_cur = lim.rlim_max = used + (96 << 20);
            setrlimit(RLIMIT_AS, &lim);
            _exit(load() ? 0 : 1);
          },
          ::testing::ExitedWithCode(0), "");
    }
    m->modified = false;
    m->close();
  }
}

TEST_F(OaWindows, ChangedInsertedAndDeletedStepsRecomputeTheRowsBelow) {
  TVexoTableForm* t = exampleTable();
  TOAModelForm* m = openModel(t);
  ASSERT_NE(m, nullptr);
  for (const char* y : {"y1", "y2", "y3"}) {
    pickSignals({y});
    m->yAddClick();
  }
  m->selectStep(3);
  m->yDelClick();
  EXPECT_EQ(m->stepInputs(), QStringList({"y1", "y3"}));
  EXPECT_EQ(answers(m), replayed(t->document()->oa(), {"y1", "y3"}));
  m->selectStep(2);
  pickSignals({"y2"});
  m->yInsClick();
  EXPECT_EQ(m->stepInputs(), QStringList({"y2", "y1", "y3"}));
  EXPECT_EQ(answers(m), replayed(t->document()->oa(), {"y2", "y1", "y3"}));
  // Typed into the input cell: every change is a step.
  m->selectStep(3);
  m->yxGrid->edit(m->yxGrid->currentIndex());
  auto* e = m->yxGrid->findChild<QLineEdit*>();
  ASSERT_NE(e, nullptr);
  e->selectAll();
  QTest::keyClicks(e, "y3");
  EXPECT_EQ(m->stepInputs(), QStringList({"y2", "y3", "y3"}));
  EXPECT_EQ(answers(m), replayed(t->document()->oa(), {"y2", "y3", "y3"}));
  EXPECT_EQ(m->model()->RowCount(), 4);
  // The initial row is neither deleted nor preceded.
  m->selectStep(1);
  m->yDelClick();
  m->yInsClick();
  EXPECT_EQ(m->model()->RowCount(), 4);
}

TEST_F(OaWindows, ClosingAsksAboutUnsavedStepsAndACancelledSaveKeepsTheWindow) {
  TVexoTableForm* t = exampleTable();
  TOAModelForm* m = openModel(t);
  ASSERT_NE(m, nullptr);
  pickSignals({"y1"});
  m->yAddClick();
  {
    dlg::Script s;
    s.answers << dlg::Yes;  // then the save dialog is cancelled
    EXPECT_FALSE(subOf(m)->close());
    EXPECT_EQ(s.shown.value(0).text, "Сохранить входные воздействия в '" + t->document()->oaFileName());
    EXPECT_EQ(s.shown.value(0).caption, "Сохранение");
  }
  {
    // The table asks its model window first; Cancel keeps both open.
    dlg::Script s;
    s.answers << dlg::Cancel;
    EXPECT_FALSE(subOf(t)->close());
    EXPECT_TRUE(t->document()->modelOpen());
    EXPECT_NE(OAModelForm.data(), nullptr);
  }
  dlg::Script s;
  s.answers << dlg::No << dlg::No;
  EXPECT_TRUE(subOf(t)->close());
  QApplication::processEvents();
  EXPECT_EQ(OAModelForm.data(), nullptr);
}

TEST_F(OaWindows, TheTableStaysLockedUntilTheLastOaWindowCloses) {
  TVexoTableForm* t = exampleTable();
  TOAForm* d = openDesigner(t);
  ASSERT_NE(d, nullptr);
  TOAModelForm* m = openModel(t);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(t->document()->lockCount(), 2);
  EXPECT_FALSE(t->menuAction("Открыть...")->isEnabled());
  EXPECT_FALSE(t->menuAction("Удалить")->isEnabled());
  t->OADeleteClick();
  EXPECT_TRUE(t->document()->oa().oaPresent) << "the description stays while a window works on it";
  d->FormActivate();
  EXPECT_TRUE(d->rMemo->isReadOnly()) << "the model works on the description";
  subOf(d)->close();
  QApplication::processEvents();
  EXPECT_TRUE(t->gridLocked());
  EXPECT_FALSE(t->document()->designerOpen());
  subOf(m)->close();
  QApplication::processEvents();
  EXPECT_FALSE(t->gridLocked());
  EXPECT_TRUE(t->menuAction("Удалить")->isEnabled());
  EXPECT_FALSE(t->document()->modelOpen());
}

TEST_F(OaWindows, AModelThatCannotBeBuiltIsReportedAndNoWindowStays) {
  TVexoTableForm* t = exampleTable();
  t->document()->oa().blocks = {"reg:", "A[x]", "mux:"};
  const int before = children();
  dlg::Script s;
  EXPECT_EQ(openModel(t), nullptr);
  EXPECT_EQ(children(), before);
  EXPECT_TRUE(s.lastText().startsWith("Модель операционного автомата не построена"));
  EXPECT_FALSE(t->gridLocked());
}

TEST_F(OaWindows, BusesGetTheirInitialValuesFromTheDialog) {
  TVexoTableForm* t = exampleTable();
  TOAModelForm* m = openModel(t);
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->busMode);
  EXPECT_TRUE(frame->ui().ModelBusAction->isEnabled());
  pickSignals({"y2"});
  m->yAddClick();
  whenModal([](QWidget*) {
    BusSetForm->setCell(1, 1, "300");
    BusSetForm->accept();
  });
  frame->ui().ModelBusAction->trigger();
  EXPECT_EQ(m->model()->History().Values(0), "0&0&0&44&");
  TModelStep expect(nullptr, t->document()->oa().blocks, t->document()->oa().xValues,
                    t->document()->oa().xSignals, t->document()->oa().yItems, t->document()->oa().ySignals);
  expect.Reset("DI1", "300");
  EXPECT_EQ(m->stepCell(1, 2), expect.ApplySignals("y2", 'a'));

  // Without a di* block no dialog comes up and the initial state stays.
  dlg::Script s;
  s.answers << dlg::No;
  subOf(m)->close();
  QApplication::processEvents();
  t->document()->oa().blocks = {"reg:", "A[8]", "B[8]", "C[4]", "mux:", "D[8]"};
  t->document()->oa().yItems = {{}, {}, {}};
  m = openModel(t);
  ASSERT_NE(m, nullptr);
  EXPECT_FALSE(m->busMode);
  const QString before = m->model()->History().Values(0);
  m->BusSetBtnClick();
  EXPECT_EQ(m->model()->History().Values(0), before);
}

TEST_F(OaWindows, ReportShowsEveryRegisterOncePerStepAndTheDesignerCanBeCalledReadOnly) {
  TVexoTableForm* t = exampleTable();
  TOAModelForm* m = openModel(t);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->regCell(0, 1), "A") << "the registers are listed automatically";
  pickSignals({"y1"});
  m->yAddClick();
  m->DecClick();
  m->mReportClick();
  TTxtForm* r = frame->lastTxtForm;
  ASSERT_NE(r, nullptr);
  const QStringList lines = r->Editor->toPlainText().split('\n');
  EXPECT_EQ(lines.value(0), "Модель: " + t->document()->oaFileName());
  EXPECT_EQ(lines.value(1), "Воздействия: Untitled");
  EXPECT_EQ(lines.value(3), "t \ty(t)\tx(t)\tрегистр\tзначение");
  EXPECT_EQ(lines.value(4), "0\tинициализация\t" + m->stepCell(1, 1) + "\tA\t0");
  EXPECT_EQ(lines.value(5), "\t\t\tB\t0");
  EXPECT_EQ(lines.value(8), "1\ty1\t" + m->stepCell(1, 2) + "\tA\t200");
  EXPECT_EQ(lines.size(), 4 + 2 * 4);

  // "&Вызов ОА": the designer shows the description and has nothing to apply.
  t->document()->setOaModified(false);
  m->activated();
  EXPECT_TRUE(m->mOACall->isEnabled());
  m->OACallBtnClick();
  TOAForm* d = OAForm;
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(d->readOnly());
  EXPECT_FALSE(d->bApply->isVisible());
  EXPECT_TRUE(d->yActMemo->isReadOnly());
  EXPECT_FALSE(d->Apply(true));
  EXPECT_FALSE(t->document()->isOaModified());
  m->activated();
  EXPECT_FALSE(m->mOACall->isEnabled());
}

TEST_F(OaWindows, AModelOpenedFromTheDesignerIsAskedOnceAndClosesWithIt) {
  TVexoTableForm* t = exampleTable();
  TOAForm* d = openDesigner(t);
  ASSERT_NE(d, nullptr);
  d->bModel->click();
  TOAModelForm* m = OAModelForm;
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(d->openedModel);
  EXPECT_EQ(m->windowTitle(), " - моделирование ОА") << "the designer hands over no name";
  pickSignals({"y1"});
  m->yAddClick();
  {
    dlg::Script s;
    s.answers << dlg::Cancel;
    EXPECT_FALSE(subOf(d)->close()) << "its model window keeps it open";
    EXPECT_EQ(s.shown.size(), 1);
  }
  dlg::Script s;
  s.answers << dlg::No;
  EXPECT_TRUE(subOf(t)->close());
  EXPECT_EQ(s.shown.size(), 1);
  QApplication::processEvents();
  EXPECT_EQ(OAModelForm.data(), nullptr);
  EXPECT_EQ(OAForm.data(), nullptr);
}

// The step grid and the register grid show every title and every text whole: when the window
// opens, after steps with long inputs and answers, and after the radix changes.
TEST_F(OaWindows, ColumnsShowEveryTextWhole) {
  TVexoTableForm* t = exampleTable();
  t->document()->oa().blocks << QStringLiteral("Накопитель_результата[32]");
  t->document()->oa().ySignals << QStringLiteral("y_запись_в_накопитель");
  t->document()->oa().yItems << QStringList{QStringLiteral("Накопитель_результата:=!A")};
  TOAModelForm* m = openModel(t);
  ASSERT_NE(m, nullptr);
  auto check = [&](const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(cutTexts(m->RegGrid), QStringList());
    EXPECT_EQ(cutTexts(m->yxGrid), QStringList());
  };
  check("opened");
  pickSignals({"y1", "y2", "y3", "y_запись_в_накопитель"});
  m->yAddClick();
  pickSignals({"y2"});
  m->yAddClick();
  ASSERT_EQ(m->stepRowCount(), 4);
  check("stepped");
  {
    QTemporaryDir dir;
    dlg::Script s;
    m->modified = false;  // the steps are not asked about
    s.files << dir.filePath("long.y");
    ASSERT_TRUE(edtest::writeAll(s.files.last(), QByteArray("y1&y2&y3\r\ny2\r\n").repeated(50)));
    m->mOpenFileClick();
    ASSERT_EQ(m->stepRowCount(), 102);
    check("loaded");
    m->modified = false;
  }
  for (QAction* radix : {frame->ui().DecAction, frame->ui().HexAction, frame->ui().BinAction}) {
    radix->trigger();
    check(radix->objectName().toLatin1().constData());
  }
}

namespace {

// A grid of very many rows whose texts are counted as they are read; one row's text is long.
class ManyRows : public QAbstractTableModel {
 public:
  int rows = 0, longRow = -1, reads = 0;
  int rowCount(const QModelIndex& = {}) const override { return rows; }
  int columnCount(const QModelIndex& = {}) const override { return 2; }
  QVariant data(const QModelIndex& i, int role) const override {
    if (role != Qt::DisplayRole) return {};
    ++const_cast<ManyRows*>(this)->reads;
    return i.row() == longRow ? QStringLiteral("y1&y2&y3&y_запись_в_накопитель") : QStringLiteral("y1");
  }
  void reset(int n) {
    beginResetModel();
    rows = n;
    endResetModel();
  }
  void add(int n) {
    beginInsertRows({}, rows, rows + n - 1);
    rows += n;
    endInsertRows();
  }
  void changeAll() { emit dataChanged(index(0, 0), index(rows - 1, 1)); }
};

}  // namespace

// A grid of a million rows filled, added to or changed whole is measured only where it is
// seen: the rows in view are read, not the million; a long text scrolled into view shows whole.
TEST(GridFit, ManyRowsAreMeasuredWhereTheyAreSeen) {
  const int kRows = 1000000;
  struct Case {
    const char* what;
    int rowsBefore;
    std::function<void(ManyRows&)> fill;
  };
  const Case cases[] = {
      {"reset", 1, [&](ManyRows& m) { m.reset(kRows); }},
      {"rows added", 1, [&](ManyRows& m) { m.add(kRows - 1); }},
      {"all changed", kRows, [&](ManyRows& m) { m.changeAll(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ManyRows model;
    model.rows = c.rowsBefore;
    QTableView view;
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.setModel(&model);
    view.resize(300, 200);
    view.show();
    gridfit::keepFitted(&view);
    model.longRow = kRows - 1;
    model.reads = 0;
    c.fill(model);
    EXPECT_LT(model.reads, 1000);
    view.scrollToBottom();
    const QModelIndex last = model.index(kRows - 1, 0);
    EXPECT_GE(view.columnWidth(0), view.sizeHintForIndex(last).width() + 1);
  }
}

// The window opens as wide as its columns need, within the MDI area: a 32-bit register shows
// its whole binary value beside the step grid.
TEST_F(OaWindows, TheModelWindowOpensWideEnoughForItsColumns) {
  const struct {
    const char* blocks;
    int values;  // the longest value in binary
  } cases[] = {{"reg:\nA[8]\nB[8]\nC[4]\nmux:", 8},
               {"reg:\nA[32]\nB[8]\nC[4]\nmux:", 32},
               {"reg:\nA[8]\nB[8]\nC[4]\nmux:\nDI1[8]", 8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.blocks);
    TVexoTableForm* t = exampleTable();
    t->document()->oa().blocks = QString(c.blocks).split('\n');
    TOAModelForm* m = openModel(t);
    ASSERT_NE(m, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(m->regCell(1, 1).size(), c.values);
    EXPECT_EQ(columnsOutOfView(m->yxGrid), QStringList());
    EXPECT_EQ(columnsOutOfView(m->RegGrid), QStringList());
    EXPECT_EQ(cutTexts(m->RegGrid), QStringList());
    const QWidget* sub = m->parentWidget();
    // Across: where a window is placed down the area is the frame's business.
    EXPECT_GE(sub->x(), 0);
    EXPECT_LE(sub->x() + sub->width(), frame->mdiArea()->viewport()->width());
    delete sub;
    delete t->parentWidget();
  }
}
