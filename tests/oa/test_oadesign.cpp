// The designer's lists and checks without its window.
#include <gtest/gtest.h>

#include "velmora/oa/inputactions.h"
#include "velmora/oa/oadesign.h"

using namespace velmora;

using namespace oadesign;

namespace {

QList<TableRow> acceptanceTable() {
  return {{"s0", "y1&y2", "X1&x2", "s1"}, {"s1", "y2", "1", "s2"}, {"s2", "y3", "x3", "s0"}};
}

OaDescription described(const QStringList& blocks, const QList<QStringList>& items,
                        const QStringList& xValues) {
  OaDescription d;
  d.blocks = blocks;
  d.ySignals = {"y1", "y2"};
  d.yItems = items;
  d.xSignals = {"x1"};
  d.xValues = xValues;
  return d;
}

}  // namespace

TEST(OaDesign, TableSignalsAreSplitUniqueAndSortedWithInputsInLowerCase) {
  QStringList ys, xs;
  EXPECT_EQ(tableOutputs(acceptanceTable(), &ys), Collected::Ok);
  EXPECT_EQ(tableInputs(acceptanceTable(), &xs), Collected::Ok);
  EXPECT_EQ(ys, QStringList({"y1", "y2", "y3"}));
  EXPECT_EQ(xs, QStringList({"x1", "x2", "x3"}));
  // Russian order (Cyrillic before Latin) without regard to case; the first of equal names is kept.
  EXPECT_EQ(uniqueSorted({"Б", "а", "y2", "А", "а", "Y1"}), QStringList({"а", "А", "Б", "Y1", "y2"}));
  EXPECT_EQ(tableInputs({{"s0", "y1", "ХА&1", "s1"}, {"", "y1", "1", "s0"}}, &xs), Collected::Ok);
  EXPECT_EQ(xs, QStringList({"1", "ха"})) << "only a whole cell \"1\" is unconditional";
}

TEST(OaDesign, TooSmallOrOutputlessTablesAreRefused) {
  QStringList names;
  EXPECT_EQ(tableOutputs({{"s0", "y1", "x1", "s1"}}, &names), Collected::TooFewRows);
  EXPECT_EQ(message(Collected::TooFewRows), "Недостаточно данных в таблице переходов");
  EXPECT_EQ(tableOutputs({{"s0", "", "x1", "s1"}, {"s1", "", "1", "s0"}}, &names), Collected::NoOutputs);
  EXPECT_EQ(message(Collected::NoOutputs), "Таблица переходов должна содержать выходные сигналы");
}

TEST(OaDesign, SyncAddsNewSignalsInPlaceAndRemovesOnlyWhenAllowed) {
  OaDescription d;
  d.ySignals = {"y1", "y2", "y3"};
  d.yItems = {{"A:=1"}, {"A:=2"}, {"A:=3"}};
  QStringList asked;
  OaDescription yes = d;
  EXPECT_TRUE(syncSignals(&yes, Kind::Y, {"y1", "y3", "y4"}, [&](const QString& n) {
    asked << n;
    return true;
  }));
  EXPECT_EQ(asked, QStringList({"y2"}));
  EXPECT_EQ(yes.ySignals, QStringList({"y1", "y3", "y4"}));
  EXPECT_EQ(yes.yItems, (QList<QStringList>{{"A:=1"}, {"A:=3"}, {}}));
  OaDescription no = d;
  EXPECT_FALSE(syncSignals(&no, Kind::Y, {"y1", "y3", "y4"}, [](const QString&) { return false; }));
  EXPECT_EQ(removeQuestion(Kind::Y, "y2"),
            "В таблице переходов не найден сигнал y2. Сигнал и соответствующие ему микрооперации будут "
            "удалены из ОА. "
            "Продолжить?");
  EXPECT_EQ(removeQuestion(Kind::X, "x2"),
            "В таблице переходов не найден сигнал x2. Он будет удален из ОА. Продолжить?");
}

TEST(OaDesign, SortingSignalsMovesTheirMicrooperations) {
  OaDescription d;
  d.ySignals = {"y3", "y1", "y2"};
  d.yItems = {{"C:=3"}, {"A:=1"}, {"B:=2"}, {"extra"}};
  sortOutputs(&d);
  EXPECT_EQ(d.ySignals, QStringList({"y1", "y2", "y3"}));
  EXPECT_EQ(d.yItems, (QList<QStringList>{{"A:=1"}, {"B:=2"}, {"C:=3"}, {"extra"}}));
}

TEST(OaDesign, AssignmentsGoBehindTheOtherLinesOfEachSignal) {
  QList<QStringList> items{{"A:=B", "LS(A,1)", "", "C:=D"}, {"X:=1", "y"}};
  orderMicrooperations(&items);
  EXPECT_EQ(items, (QList<QStringList>{{"LS(A,1)", "A:=B", "C:=D"}, {"y", "X:=1"}}));
}

TEST(OaDesign, BlockListNeedsBothHeadings) {
  EXPECT_EQ(checkBlockList({"A[8]", "mux:"}), "В списке блоков отсутствует идентификатор регистров 'reg:'");
  EXPECT_EQ(checkBlockList({"reg:", "A[8]"}),
            "В списке блоков отсутствует идентификатор комбинационных узлов 'mux:'");
  EXPECT_EQ(checkBlockList({"reg:", "mux:"}), QString());
}

TEST(OaDesign, RegisterCheckGivesThePassMessagesThenWhatTheModelRefuses) {
  const QStringList blocks{"reg:", "A[8]", "B[8]", "mux:", "DI1[8]"};
  const struct {
    QStringList y1;
    QString x1;
    QString fault;
  } cases[] = {
      {{"Z:=A"}, "", "Использован неописанный регистр Z в сигнале y1"},
      {{"A:=Q"}, "", "После знака равенства использован неописанный регистр Q в сигнале y1"},
      {{"A:=!Q+B"}, "", "После знака равенства использован неописанный регистр Q в сигнале y1"},
      {{"A:=B+Q"}, "", "После знака операции использован неописанный регистр Q в сигнале y1"},
      {{"A:=B+!Q-1"}, "", "После знака операции использован неописанный регистр Q в сигнале y1"},
      {{"A:=B"}, "A[7]|Q[0]", "Возврат значения неописанного регистра Q в сигнале x1"},
      // Lines the passes let through and the model could not run.
      {{"A:=B*B"}, "", "Сигнал y1. Микрооперация \"A:=B*B\": неописанный регистр \"B*B\""},
      {{"LS(A,1)"}, "", "Сигнал y1. Микрооперация \"LS(A,1)\": нет знака присваивания \":=\""},
      {{"A[9]:=1"},
       "",
       "Сигнал y1. Микрооперация \"A[9]:=1\": номер бита 9 вне разрядов 0..7 регистра \"A\""},
      {{"A[3/0]:=B"},
       "",
       "Сигнал y1. Микрооперация \"A[3/0]:=B\": разрядам 0..3 регистра \"A\" можно присвоить "
       "двоичную константу, разряд или срез не короче 4 разрядов"},
      {{"A:=B"},
       "A[1]&B[0]|B[1]",
       "Входной сигнал x1. Условие \"A[1]&B[0]|B[1]\": в условии нельзя сочетать \"&\" и \"|\""},
      {{"A:=B"},
       "A[8]",
       "Входной сигнал x1. Условие \"A[8]\": номер бита 8 вне разрядов 0..7 регистра \"A\""},
      // What runs passes: numbers, bits, slices, calls, shift names, the bus.
      {{"A:=5", "A:=B+1", "A:=B&B[2]", "A:=sl(B,1)", "A:=B^DI1", "A[3/0]:=0001", "A[2]:=B[7]", "DI1:=!A"},
       "A[7]|B[0]",
       ""},
  };
  for (const auto& c : cases) {
    const OaDescription d = described(blocks, {c.y1, {}}, {c.x1});
    EXPECT_EQ(checkRegisters(d), c.fault) << c.y1.join(" ; ").toStdString();
  }
  EXPECT_EQ(checkRegisters(described({"reg:", "A[x]", "mux:"}, {{}, {}}, {""})).left(10), "Блоки ОА: ");
}

// A check quotes only a short excerpt of what it found, however long the line is.
TEST(OaDesign, MessagesQuoteAShortExcerptOfTheLine) {
  const QStringList blocks{"reg:", "A[8]", "B[8]", "mux:"};
  const QString huge(200000, QLatin1Char('('));
  const struct {
    QStringList y1;
    QString x1;
  } cases[] = {{{"A:=B"}, huge}, {{huge}, ""}, {{"A:=" + huge}, ""}, {{"A:=B+" + huge}, ""}};
  for (const auto& c : cases) {
    const QString fault = checkRegisters(described(blocks, {c.y1, {}}, {c.x1}));
    EXPECT_FALSE(fault.isEmpty());
    EXPECT_LT(fault.size(), 300) << fault.left(400).toStdString();
  }
}

TEST(InputActions, StepsAreCp1251LinesEachEndedByCrLf) {
  QByteArray bytes;
  ASSERT_TRUE(InputActionsFile::toBytes({"y1", "y2&y3", "уа"}, &bytes, nullptr));
  EXPECT_EQ(bytes, QByteArray("y1\r\ny2&y3\r\n\xF3\xE0\r\n"));
  EXPECT_EQ(InputActionsFile::parse("y1\ny3\r\ny9"), QStringList({"y1", "y3", "y9"}));
  EXPECT_EQ(InputActionsFile::parse("a\rb\r\n\r\nc\r\n"), QStringList({"a", "b", "", "c"}));
  QString err;
  EXPECT_FALSE(InputActionsFile::toBytes({"y1", "a\nb"}, &bytes, &err));
  EXPECT_FALSE(InputActionsFile::toBytes({QString(QChar(0x4E00))}, &bytes, &err));
}
