#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include "answer.h"
#include "platform/dialogs.h"
#include "tiravo/forms/simstep.h"

using tiravo::TSimStep;

using wintest::ListTexts;

TEST(SimStep, WalksTheWorkedTableForwardAndBack) {
  TSimStep w(wintest::Worked());
  EXPECT_FALSE(w.sbStep->isEnabled());
  wintest::AnswerSetS({"s1"});
  w.SetSClick();
  EXPECT_EQ(w.mHistory->toPlainText(), QStringLiteral("Начальное событие:s1"));
  EXPECT_EQ(ListTexts(w.lbXS), (QStringList{"X1 s1", "x1 s2&s3"}));
  EXPECT_EQ(w.eXij->text(), QStringLiteral("Входной сигнал не задан"));
  w.lbXS->setCurrentRow(1);
  w.ChooseTransition();
  ASSERT_TRUE(w.sbStep->isEnabled());
  w.sbStep->click();
  EXPECT_TRUE(w.mHistory->toPlainText().endsWith(QStringLiteral("\nшаг 1: из s1 при x1 в s2&s3")));
  EXPECT_EQ(w.lStep->text(), QStringLiteral("(Шаг 2)"));
  EXPECT_EQ(ListTexts(w.lbXS), (QStringList{"X2 s1", "x2 s1&s3"}));
  EXPECT_EQ(w.eSi->text(), QStringLiteral("s2&s3"));
  EXPECT_TRUE(w.sbBack->isEnabled());
  w.sbBack->click();
  EXPECT_EQ(w.lStep->text(), QStringLiteral("(Шаг 1)"));
  EXPECT_EQ(w.mHistory->toPlainText(), QStringLiteral("Начальное событие:s1"));
  EXPECT_FALSE(w.sbBack->isEnabled());
}

TEST(SimStep, InputFromTheDialogStepsIntoTheEmptySet) {
  auto m = std::make_unique<FTT>();
  tablehelp::Row(*m, "s1", "y1", "x1", "s2");
  TSimStep w(std::move(m));
  wintest::AnswerSetS({"s1"});
  w.SetSClick();
  wintest::AnswerSetS({"x1"});  // x1 = 0
  w.SetXClick();
  EXPECT_EQ(w.eXij->text(), QStringLiteral("X1"));
  w.StepClick();
  EXPECT_TRUE(w.eSi->text().startsWith(QStringLiteral("?Событие?")));
  EXPECT_FALSE(w.sbStep->isEnabled());
}

TEST(SimStep, HistorySavesAsCodePage1251LinesAndAFailureIsReported) {
  QTemporaryDir dir;
  TSimStep w(wintest::Worked());
  wintest::AnswerSetS({"s1"});
  w.SetSClick();
  w.lbXS->setCurrentRow(1);
  w.ChooseTransition();
  w.StepClick();
  dlg::Script script;
  script.files << dir.filePath(QStringLiteral("h")) << dir.filePath(QStringLiteral("no/such/h.txt"));
  ASSERT_TRUE(w.SaveClick());
  QFile f(dir.filePath(QStringLiteral("h.txt")));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("\xCD\xE0\xF7\xE0\xEB\xFC\xED\xEE\xE5 \xF1\xEE\xE1\xFB\xF2\xE8\xE5:s1\r\n"
                                    "\xF8\xE0\xE3 1: \xE8\xE7 s1 \xEF\xF0\xE8 x1 \xE2 s2&s3\r\n"));
  EXPECT_EQ(script.fileFilters.first(), QStringLiteral("Текстовые файлы|*.txt|Все файлы|*.*"));
  EXPECT_FALSE(w.SaveClick());
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_EQ(script.shown[0].caption, QStringLiteral("Ошибка"));
}

TEST(SimStep, PanesFoldAndTheSplitterKeepsBothAlive) {
  TSimStep w(wintest::Worked());
  w.resize(400, 400);
  w.show();
  const int tall = w.height();
  w.LedHClick();
  EXPECT_FALSE(w.mHistory->isVisible());
  EXPECT_EQ(w.LedH->toolTip(), QStringLiteral("Раскрыть историю переходов"));
  EXPECT_FALSE(w.lHistory->isEnabled());
  w.LedTClick();
  EXPECT_FALSE(w.lbXS->isVisible());
  EXPECT_EQ(w.LedT->toolTip(), QStringLiteral("Раскрыть список переходов"));
  EXPECT_LT(w.height(), tall);  // with the history folded the window loses the list
  w.LedHClick();
  w.LedTClick();
  EXPECT_TRUE(w.lbXS->isVisible());
  EXPECT_TRUE(w.mHistory->isVisible());
  const int list = w.ListHeight();
  EXPECT_FALSE(w.DragBy(-list));  // the list keeps more than 4 pixels
  EXPECT_TRUE(w.DragBy(10));
  EXPECT_EQ(w.ListHeight(), list + 10);
}
