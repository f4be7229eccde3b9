#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include "answer.h"
#include "platform/dialogs.h"
#include "tiravo/forms/autosim.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/mainform.h"

using tiravo::TAutoSim;

namespace {

QString CellText(const QTableView* g, int r, int c) { return g->model()->index(r, c).data().toString(); }

QStringList RowTexts(const QTableView* g, int r) {
  QStringList out;
  for (int c = 0; c < g->model()->columnCount(); ++c) out << CellText(g, r, c);
  return out;
}

QStringList ColumnTexts(const QTableView* g, int c) {
  QStringList out;
  for (int r = 0; r < g->model()->rowCount(); ++r) out << CellText(g, r, c);
  return out;
}

void SetCurrent(QTableView* g, int r, int c) { g->setCurrentIndex(g->model()->index(r, c)); }

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::unique_ptr<FTT> Letters() {
  auto m = std::make_unique<FTT>();
  tablehelp::LettersTable(*m);
  return m;
}

// The worked table from {s1} with the inputs x1&X2 and X1&X2.
class WorkedRun : public ::testing::Test {
 protected:
  void SetUp() override {
    w.SetTable(wintest::Worked(), QStringLiteral("W.tbl"));
    wintest::AnswerSetS({"s1"});
    w.bbSetS0Click();
    wintest::AnswerSetS({"x2"});
    w.sbAddClick();
    wintest::AnswerSetS({"x1", "x2"});
    w.sbAddClick();
  }
  TAutoSim w;
};

}  // namespace

TEST_F(WorkedRun, VerticalAndHorizontalTablesShowEveryStep) {
  EXPECT_EQ(w.eS0->text(), QStringLiteral("s1"));
  EXPECT_EQ(RowTexts(w.sgSim, 0), (QStringList{"шаг", "вход(xij)", "событие(sj)", "выход(yj)"}));
  EXPECT_EQ(RowTexts(w.sgSim, 1), (QStringList{"1", "x1&X2", "s2&s3", "y2&y3"}));
  EXPECT_EQ(RowTexts(w.sgSim, 2), (QStringList{"2", "X1&X2", "s1", "y1"}));
  EXPECT_TRUE(w.sbEdit->isEnabled());
  EXPECT_TRUE(w.sbReport->isEnabled());
  w.TableType->click();
  EXPECT_EQ(w.TableType->toolTip(), QStringLiteral("Вертикальная таблица"));
  EXPECT_EQ(CellText(w.sgSim, 0, 0), QStringLiteral("шаг (1-2)"));
  ASSERT_EQ(w.sgSim->model()->rowCount(), 5);
  EXPECT_EQ(ColumnTexts(w.sgSim, 0), (QStringList{"шаг (1-2)", "входы(xij)", "выходы(yi)", "события", ""}));
  EXPECT_EQ(ColumnTexts(w.sgSim, 2), (QStringList{"шаг 2", "X1&X2", "y2&y3", "s2", "s3"}));
  EXPECT_EQ(ColumnTexts(w.sgSim, 3), (QStringList{"конец", "Не определено", "y1", "s1", ""}));
}

TEST_F(WorkedRun, SavedSequenceIsTheDocumentedBytesAndLoadsBack) {
  QTemporaryDir dir;
  dlg::Script script;
  script.files << dir.filePath(QStringLiteral("input"));
  ASSERT_TRUE(w.sbSaveClick());
  const QByteArray bytes = ReadAll(dir.filePath(QStringLiteral("input.sgn")));
  EXPECT_EQ(bytes, tablehelp::TwoInputsSgn());
  w.sbMinusClick();
  w.sbMinusClick();
  EXPECT_FALSE(w.sbEdit->isEnabled());
  script.files << dir.filePath(QStringLiteral("input.sgn"));
  w.sbLoadClick();
  EXPECT_TRUE(script.shown.isEmpty());
  EXPECT_EQ(RowTexts(w.sgSim, 2), (QStringList{"2", "X1&X2", "s1", "y1"}));
  EXPECT_TRUE(w.sbEdit->isEnabled());
}

TEST_F(WorkedRun, FaultyOrOversizedFileIsRefusedWithItsReasonAndChangesNothing) {
  QTemporaryDir dir;
  struct Case {
    const char* name;
    qint64 size;  // past the tag, zeros (sparse on disk)
    const char* reason;
  };
  const Case cases[] = {
      {"empty.sgn", -1, "\": неверный формат файла!"},
      {"huge.sgn", 100 << 20, "\":\n файл слишком велик для моделирования!"},
  };
  for (const Case& c : cases) {
    const QString path = dir.filePath(QString::fromUtf8(c.name));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    if (c.size >= 0) {
      f.write(tiravo::SgnFile::kTag, tiravo::SgnFile::kTagSize);
      ASSERT_TRUE(f.resize(c.size));
    }
    f.close();
    dlg::Script script;
    script.files << path;
    w.sbLoadClick();
    ASSERT_EQ(script.shown.size(), 1) << c.name;
    EXPECT_EQ(script.shown[0].text,
              QStringLiteral("Ошибка при открытии файла\"") + path + QString::fromUtf8(c.reason));
    EXPECT_EQ(script.shown[0].caption, QStringLiteral("Ошибка!"));
    EXPECT_EQ(w.Simulation().StepCount, 2);
    EXPECT_EQ(RowTexts(w.sgSim, 1), (QStringList{"1", "x1&X2", "s2&s3", "y2&y3"}));
  }
}

TEST_F(WorkedRun, LongSequenceLoadsIntoTheGridStepForStep) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("long.sgn"));
  tiravo::SgnFile file = w.Simulation().ToFile();
  const int steps = 200000;
  file.Inputs.resize(steps, SSignalSet{-1, -2});  // s1 stays s1
  file.Inputs[steps - 1] = SSignalSet{1, -2};
  QString error;
  ASSERT_TRUE(file.Save(path, &error));
  dlg::Script script;
  script.files << path;
  w.sbLoadClick();
  EXPECT_TRUE(script.shown.isEmpty());
  ASSERT_EQ(w.sgSim->model()->rowCount(), steps + 1);
  EXPECT_EQ(RowTexts(w.sgSim, steps - 1), (QStringList{"199999", "X1&X2", "s1", "y1"}));
  EXPECT_EQ(RowTexts(w.sgSim, steps), (QStringList{"200000", "x1&X2", "s2&s3", "y2&y3"}));
  w.TableType->click();
  EXPECT_EQ(CellText(w.sgSim, 0, 0), QStringLiteral("шаг (1-200000)"));
  EXPECT_EQ(ColumnTexts(w.sgSim, steps + 1), (QStringList{"конец", "Не определено", "y2&y3", "s2", "s3"}));
}

TEST_F(WorkedRun, ReportEndsWithTheStepLines) {
  QTemporaryDir dir;
  dlg::Script script;
  script.files << dir.filePath(QStringLiteral("report"))
               << dir.filePath(QStringLiteral("no/such/report.rtf"));
  ASSERT_TRUE(w.sbReportClick());
  const QByteArray bytes = ReadAll(dir.filePath(QStringLiteral("report.rtf")));
  EXPECT_TRUE(
      bytes.endsWith("\\par \xD8\xE0\xE3 1:\\tab x1&X2\\tab s2&s3\\tab y2&y3\r\n"
                     "\\par \xD8\xE0\xE3 2:\\tab X1&X2\\tab s1\\tab y1\r\n\\par }"));
  EXPECT_FALSE(w.sbReportClick());
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_EQ(script.shown[0].text, QStringLiteral("Error file creation!"));
  EXPECT_EQ(script.shown[0].caption, QStringLiteral("SaveDialog"));
}

TEST_F(WorkedRun, StepCommandsFollowTheSelectedRowAndColumn) {
  SetCurrent(w.sgSim, 1, 1);
  wintest::AnswerSetS({"x1", "x2"});
  w.sbInsertClick();  // X1&X2 before step 1: s1 stays s1
  EXPECT_EQ(RowTexts(w.sgSim, 1), (QStringList{"1", "X1&X2", "s1", "y1"}));
  EXPECT_EQ(RowTexts(w.sgSim, 2), (QStringList{"2", "x1&X2", "s2&s3", "y2&y3"}));
  SetCurrent(w.sgSim, 1, 1);
  w.sbDeleteClick();
  EXPECT_EQ(RowTexts(w.sgSim, 1), (QStringList{"1", "x1&X2", "s2&s3", "y2&y3"}));
  EXPECT_EQ(w.sgSim->model()->rowCount(), 3);
  w.TableType->click();
  SetCurrent(w.sgSim, 1, 3);  // the last column: edit appends
  wintest::AnswerSetS({});
  w.sbEditClick();
  EXPECT_EQ(CellText(w.sgSim, 0, 0), QStringLiteral("шаг (1-3)"));
  w.sbMinusClick();
  w.sbMinusClick();
  w.sbMinusClick();
  EXPECT_EQ(CellText(w.sgSim, 0, 0), QStringLiteral("пусто"));
  EXPECT_EQ(ColumnTexts(w.sgSim, 1).mid(0, 4), (QStringList{"конец", "Не определено", "y1", "s1"}));
  EXPECT_FALSE(w.sbMinus->isEnabled());
  dlg::Script script;
  w.TableType->click();
  w.sbEditClick();
  EXPECT_EQ(script.lastText(), QStringLiteral("Таблица пуста!"));
}

TEST(AutoSim, AbstractAlphabetGrowsRenamesAndShrinksWithTheSequence) {
  TAutoSim w;
  w.SetTable(Letters(), QStringLiteral("Z.tbl"));
  EXPECT_EQ(w.lAbstract->text(), QStringLiteral("абстрактные"));
  ASSERT_TRUE(w.AppZ->isEnabled());
  wintest::AnswerName(QStringLiteral("z3"));
  w.AppZClick();
  wintest::AnswerName(QStringLiteral("z4"));
  w.AppZClick();
  EXPECT_EQ(w.Simulation().Alphabet(), (QStringList{"z1", "z2", "z3", "z4"}));
  wintest::AnswerSetS({"s1"});
  w.bbSetS0Click();
  wintest::AnswerSetS({"z4"});
  w.sbAddClick();
  w.lbX->setCurrentRow(0);
  w.lbXClick();
  EXPECT_FALSE(w.DelZ->isEnabled());
  w.lbX->setCurrentRow(3);
  w.lbXClick();
  dlg::Script script;
  w.DelZClick();
  EXPECT_EQ(script.lastText(),
            QStringLiteral("Сигнал присутствует во входной последовательности\nУдаление невозможно!"));
  w.lbX->setCurrentRow(2);
  w.lbXClick();
  w.DelZClick();  // z3 goes, the step's z4 keeps its name
  EXPECT_EQ(w.Simulation().Alphabet(), (QStringList{"z1", "z2", "z4"}));
  EXPECT_EQ(CellText(w.sgSim, 1, 1), QStringLiteral("z4"));
  wintest::AnswerName(QStringLiteral("z5"));
  w.lbX->setCurrentRow(2);
  w.ChanZClick();
  EXPECT_EQ(CellText(w.sgSim, 1, 1), QStringLiteral("z5"));
  script.answers << dlg::No;
  w.EtalonClick();
  EXPECT_EQ(script.lastText(), QStringLiteral("Операция ввостановления эталонного алфавита отменена!"));
  EXPECT_EQ(w.Simulation().StepCount, 1);
  script.answers << dlg::Yes;
  w.EtalonClick();
  EXPECT_EQ(w.Simulation().StepCount, 0);
  EXPECT_EQ(w.lbX->count(), 2);
}

TEST(AutoSim, AbstractFileAsksBeforeTheAlphabetChanges) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("z.sgn"));
  {
    TAutoSim w;
    w.SetTable(Letters(), QStringLiteral("Z.tbl"));
    wintest::AnswerName(QStringLiteral("z3"));
    w.AppZClick();
    wintest::AnswerSetS({"s1"});
    w.bbSetS0Click();
    wintest::AnswerSetS({"z3"});
    w.sbAddClick();
    dlg::Script script;
    script.files << path;
    ASSERT_TRUE(w.sbSaveClick());
  }
  TAutoSim w;
  w.SetTable(Letters(), QStringLiteral("Z.tbl"));
  dlg::Script script;
  script.files << path << path;
  script.answers << dlg::No;
  w.sbLoadClick();
  EXPECT_EQ(script.lastText(), QStringLiteral("Опереция загрузки входной последовательности отменена!"));
  EXPECT_EQ(w.lbX->count(), 2);
  EXPECT_EQ(w.Simulation().StepCount, 0);
  script.answers << dlg::Yes;
  w.sbLoadClick();
  EXPECT_EQ(w.Simulation().Alphabet(), (QStringList{"z1", "z2", "z3"}));
  EXPECT_EQ(CellText(w.sgSim, 1, 1), QStringLiteral("z3"));
}

TEST(AutoSim, DeadEndSignalRedoesAStepThatLeadsNowhere) {
  TAutoSim w;
  w.SetTable(Letters(), QStringLiteral("Z.tbl"));
  wintest::AnswerSetS({"s2"});
  w.bbSetS0Click();
  wintest::AnswerSetS({"z2"});
  w.sbAddClick();
  EXPECT_EQ(CellText(w.sgSim, 1, 2), QStringLiteral("Не определено"));
  wintest::AnswerSetS({"z1"});
  w.BugClick();
  EXPECT_EQ(w.PanelX->title(), QStringLiteral("Входных сигналов: [z1]"));
  EXPECT_TRUE(w.Bugs->isChecked());
  EXPECT_EQ(CellText(w.sgSim, 1, 2), QStringLiteral("s1"));
  w.BugsClick();
  EXPECT_EQ(CellText(w.sgSim, 1, 2), QStringLiteral("Не определено"));
}

TEST(AutoSim, TransitionColumnsAreHalfTheGridWhenShownAndOnResize) {
  TAutoSim w;
  w.SetTable(wintest::Worked(), QStringLiteral("W.tbl"));
  w.show();
  const struct {
    const char* what;
    std::function<void()> act;
  } cases[] = {
      {"the page shown", [&] { w.PCArea->setCurrentWidget(w.sgTrans->parentWidget()); }},
      {"the window made wider", [&] { w.resize(w.width() + 150, w.height()); }},
      {"the window made narrower", [&] { w.resize(w.width() - 200, w.height()); }},
  };
  for (const auto& c : cases) {
    c.act();
    QApplication::processEvents();
    const int half = w.sgTrans->width() / 2 - 3;
    EXPECT_GT(half, 100) << c.what;
    EXPECT_EQ(w.sgTrans->columnWidth(0), half) << c.what;
    EXPECT_EQ(w.sgTrans->columnWidth(1), half) << c.what;
  }
}

TEST(AutoSim, VerticalColumnsAreAsWideAsTheirTexts) {
  TAutoSim w;
  w.SetTable(Letters(), QStringLiteral("Z.tbl"));
  w.show();
  const struct {
    const char* what;
    QStringList answer;
    std::function<void()> command;
  } cases[] = {
      {"initial set", {"s2"}, [&] { w.bbSetS0Click(); }},
      {"a step that leads nowhere", {"z2"}, [&] { w.sbAddClick(); }},
      {"a second step from nowhere", {"z1"}, [&] { w.sbAddClick(); }},
  };
  for (const auto& c : cases) {
    wintest::AnswerSetS(c.answer);
    c.command();
    QApplication::processEvents();
    // A cell's text and the margins the view draws it with, on one line.
    const QFontMetrics fm(w.sgSim->font());
    const int margins =
        2 * (w.sgSim->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w.sgSim) + 1);
    for (int r = 0; r < w.sgSim->model()->rowCount(); ++r)
      for (int col = 0; col < w.sgSim->model()->columnCount(); ++col)
        EXPECT_GE(w.sgSim->columnWidth(col), fm.horizontalAdvance(CellText(w.sgSim, r, col)) + margins)
            << c.what << ": " << CellText(w.sgSim, r, col).toStdString();
  }
  EXPECT_EQ(CellText(w.sgSim, 2, 2), QStringLiteral("Не определено"));
}

TEST(AutoSim, TableModelCommandsOpenTheirWindowsInTheFrame) {
  tiravo::TMainForm frame;
  tiravo::runAutoSim(frame, wintest::Worked().release(), QStringLiteral("W.tbl"));
  tiravo::runStepSim(frame, wintest::Worked().release());
  tiravo::runDeterm(frame, wintest::Worked().release(), QStringLiteral("W.tbl"));
  const QList<QMdiSubWindow*> subs = frame.mdiArea()->subWindowList();
  ASSERT_EQ(subs.size(), 3);
  EXPECT_EQ(subs[0]->windowTitle(), QStringLiteral("Автоматическое моделирование"));
  EXPECT_EQ(subs[1]->windowTitle(), QStringLiteral("Пошаговое моделирование"));
  EXPECT_EQ(subs[2]->windowTitle(), QStringLiteral("Детерминизация W.tbl"));
  tiravo::ActiveChildKind = 0;
  frame.mdiArea()->setActiveSubWindow(subs[0]);
  frame.mdiArea()->setActiveSubWindow(subs[1]);
  EXPECT_EQ(tiravo::ActiveChildKind, 7);
  EXPECT_EQ(frame.menuBarMenus().first()->title(), QStringLiteral("Файл"));
}

TEST(AutoSim, RightClickOnATaggedButtonOpensItsHelpTopic) {
  TAutoSim w;
  w.SetTable(wintest::Worked(), QStringLiteral("W.tbl"));
  auto release = [](QWidget* b) {
    QMouseEvent e(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::RightButton, Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(b, &e);
  };
  dlg::Script script;
  release(w.sbAdd);  // no topic
  EXPECT_TRUE(script.shown.isEmpty());
  release(w.sbEdit);  // topic 501: the help file is looked for
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_TRUE(script.shown[0].text.contains(QStringLiteral("Tiravo.hlp")));
}
