#include <gtest/gtest.h>

#include "platform/errors.h"
#include "tablehelp.h"
#include "tiravo/sim/determ.h"

using determ::Determinizer;
using determ::Notice;
using determ::Options;
using DRun = determ::Run;
using tablehelp::Row;

namespace {

Options DefaultOptions(const FTT& m, USignalSet s0 = USignalSet{1}) {
  Options o;
  o.initial = std::move(s0);
  o.eventNames = m.SNames.All();
  return o;
}

// "key | outputs | cond -> target; ..." per line of a result.
QStringList Describe(const FTT& r) {
  QStringList out;
  for (const FTT_Line& line : r.Lines) {
    QStringList moves;
    for (const LTT_Line& t : line.Transitions)
      moves << t.Condition.ToText(r.XNames) + " -> " + t.Targets.ToText(r.SNames);
    out << line.Key.ToText(r.SNames) + " | " + line.Outputs.ToText(r.YNames) + " | " + moves.join("; ");
  }
  return out;
}

std::unique_ptr<FTT> RunToEnd(const FTT& m, const Options& o, DRun::Status expected = DRun::Done) {
  DRun run(m, o);
  EXPECT_EQ(run.RunAll(), expected) << run.Message().toStdString();
  return run.TakeResult();
}

std::unique_ptr<FTT> Worked() {
  auto m = std::make_unique<FTT>();
  tablehelp::WorkedTable(*m);
  return m;
}

}  // namespace

TEST(Determinization, WorkedExample) {
  const auto m = Worked();
  DRun run(*m, DefaultOptions(*m));
  ASSERT_EQ(run.RunAll(), DRun::Done);
  EXPECT_EQ(run.OldNames(), (QStringList{"s1", "s2&s3", "s1&s3", "s1&s2&s3"}));
  EXPECT_EQ(run.NewNames(), run.OldNames());
  const auto r = run.TakeResult();
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Mode, FTT::Binary);
  EXPECT_EQ(r->XNames, m->XNames);
  EXPECT_EQ(r->YNames, m->YNames);
  EXPECT_EQ(Describe(*r),
            (QStringList{
                "s1 | y1 | X1 -> s1; x1 -> s2&s3",
                "s2&s3 | y2&y3 | X2 -> s1; x2 -> s1&s3",
                "s1&s3 | y1&y3 | X1&X2 -> s1; X1&x2 -> s1&s3; x1&X2 -> s1&s2&s3; x1&x2 -> s2&s3",
                "s1&s2&s3 | y1&y2&y3 | X1&X2 -> s1; X1&x2 -> s1&s3; x1&X2 -> s1&s2&s3; "
                "x1&x2 -> s1&s2&s3",
            }));
  // Each state is one event of the result, numbered in order of discovery.
  for (size_t k = 0; k < r->Lines.size(); ++k) EXPECT_EQ(r->Lines[k].Key, (SSignalSet{int(k) + 1}));
  EXPECT_FALSE(run.TakeResult());  // handed over once
}

TEST(Determinization, WorkedExampleAsTableRows) {
  const auto m = Worked();
  const auto r = RunToEnd(*m, DefaultOptions(*m));
  std::vector<QStringList> rows;
  ASSERT_TRUE(determ::ResultTableRows(r.get(), &rows, nullptr));
  ASSERT_EQ(rows.size(), 3u + 3u + 5u + 5u);
  EXPECT_EQ(rows[0], (QStringList{"1", "s1", "y1", "X1", "s1"}));
  EXPECT_EQ(rows[1], (QStringList{"", "", "", "x1", "s2&s3"}));
  EXPECT_EQ(rows[2], (QStringList{"", "", "", "", ""}));
  EXPECT_EQ(rows[3], (QStringList{"2", "s2&s3", "y2&y3", "X2", "s1"}));
  EXPECT_EQ(rows[6], (QStringList{"3", "s1&s3", "y1&y3", "X1&X2", "s1"}));
  EXPECT_EQ(rows.back(), (QStringList{"", "", "", "", ""}));
}

TEST(Determinization, StateWithoutTransitions) {
  FTT m;
  Row(m, "s1", "y1", "0", "");
  const auto r = RunToEnd(m, DefaultOptions(m));
  ASSERT_TRUE(r);
  EXPECT_EQ(Describe(*r), (QStringList{"s1 | y1 | "}));
  std::vector<QStringList> rows;
  ASSERT_TRUE(determ::ResultTableRows(r.get(), &rows, nullptr));
  EXPECT_EQ(rows, (std::vector<QStringList>{{"1", "s1", "y1", "0", ""}, {"", "", "", "", ""}}));
}

TEST(Determinization, InputCombinationLeadingNowhere) {
  FTT m;
  Row(m, "s1", "y1", "x1", "s2");
  Row(m, "s2", "y2", "0", "");
  Options o = DefaultOptions(m);
  {
    DRun run(m, o);
    EXPECT_EQ(run.RunAll(), DRun::NoTarget);
    EXPECT_EQ(run.ErrorEvent(), "s1");
    EXPECT_EQ(run.ErrorCondition(), "X1");
    EXPECT_FALSE(run.TakeResult());
  }
  o.complete = false;  // the combination is left out
  const auto r = RunToEnd(m, o);
  ASSERT_TRUE(r);
  EXPECT_EQ(Describe(*r), (QStringList{"s1 | y1 | x1 -> s2", "s2 | y2 | "}));
}

TEST(Determinization, RenamingTemplate) {
  const auto m = Worked();
  Options o = DefaultOptions(*m);
  o.rename = true;
  o.nameTemplate = "q";
  DRun run(*m, o);
  ASSERT_EQ(run.RunAll(), DRun::Done);
  EXPECT_EQ(run.NewNames(), (QStringList{"q0", "q1", "q2", "q3"}));
  EXPECT_EQ(run.OldNames(), (QStringList{"s1", "s2&s3", "s1&s3", "s1&s2&s3"}));
  const auto r = run.TakeResult();
  EXPECT_EQ(r->SNames, (QStringList{"q0", "q1", "q2", "q3"}));
  EXPECT_EQ(Describe(*r)[1], "q1 | y2&y3 | X2 -> q0; x2 -> q2");
}

TEST(Determinization, StatesAreFoundByTheirEventsNotByTheirNames) {
  // The alphabet only labels the states; other spellings give the same automaton.
  const auto m = Worked();
  Options o = DefaultOptions(*m);
  o.eventNames = QStringList{"p", "q", QString::fromUtf8("р")};
  DRun run(*m, o);
  ASSERT_EQ(run.RunAll(), DRun::Done);
  EXPECT_EQ(run.OldNames(), (QStringList{"p", QString::fromUtf8("q&р"), QString::fromUtf8("p&р"),
                                         QString::fromUtf8("p&q&р")}));
  EXPECT_EQ(run.TakeResult()->Lines.size(), 4u);
}

TEST(Determinization, TTrigger) {
  const auto m = Worked();
  Options o = DefaultOptions(*m);
  o.trigger = determ::Trigger::T;
  {
    // Staying put changes no event: an empty set has no name of its own.
    DRun run(*m, o);
    EXPECT_EQ(run.RunAll(), DRun::Refused);
    EXPECT_FALSE(run.Message().isEmpty());
    EXPECT_FALSE(run.TakeResult());
  }
  o.rename = true;
  DRun run(*m, o);
  ASSERT_EQ(run.RunAll(), DRun::Done);
  EXPECT_EQ(run.OldNames(), (QStringList{"s1", "", "s1&s2&s3", "s2&s3", "s2", "s1&s2", "s3", "s1&s3"}));
  const auto r = run.TakeResult();
  EXPECT_EQ(Describe(*r)[0], "a0 | y1 | X1 -> a1; x1 -> a2");
  EXPECT_EQ(Describe(*r)[1], "a1 |  | ");
  EXPECT_EQ(Describe(*r)[2], "a2 | y1&y2&y3 | X1&X2 -> a3; X1&x2 -> a4; x1&X2 -> a1; x1&x2 -> a1");
}

TEST(Determinization, AbstractSource) {
  FTT m;
  m.Mode = FTT::Abstract;
  Row(m, "s1", "y1", "z1", "s1");
  Row(m, "s1", "y1", "z1", "s2");
  Row(m, "s1", "y1", "z2", "s1");
  Row(m, "s2", "y2", "1", "s1");
  const auto r = RunToEnd(m, DefaultOptions(m));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Mode, FTT::Abstract);
  EXPECT_EQ(Describe(*r),
            (QStringList{"s1 | y1 | z1 -> s1&s2; z2 -> s1", "s1&s2 | y1&y2 | z1 -> s1&s2; z2 -> s1"}));
}

TEST(Determinization, RoundsReportProgress) {
  const auto m = Worked();
  DRun run(*m, DefaultOptions(*m));
  EXPECT_EQ(run.Total(), 1);
  EXPECT_EQ(run.Current(), 0);
  EXPECT_EQ(run.Percent(), 0);
  EXPECT_EQ(run.StatusText(), QString::fromUtf8("Детерминизация: Всего=1, текущее[0]=s1"));
  EXPECT_EQ(run.Round(), DRun::Running);
  EXPECT_EQ(run.Total(), 2);
  EXPECT_EQ(run.Current(), 1);
  EXPECT_EQ(run.Percent(), 50);
  EXPECT_EQ(run.StatusText(), QString::fromUtf8("Детерминизация: Всего=2, текущее[1]=s2&s3"));
  EXPECT_FALSE(run.TakeResult());  // nothing until the end
  int rounds = 0;
  EXPECT_EQ(run.RunAll([&](const DRun&) { return ++rounds > 0; }), DRun::Done);
  EXPECT_EQ(rounds, 3);
  EXPECT_EQ(run.Percent(), 100);
  EXPECT_EQ(run.Round(), DRun::Done);  // an ended run stays ended
}

TEST(Determinization, StoppingBetweenRounds) {
  const auto m = Worked();
  DRun run(*m, DefaultOptions(*m));
  int rounds = 0;
  EXPECT_EQ(run.RunAll([&](const DRun&) { return ++rounds < 3; }), DRun::Stopped);
  EXPECT_EQ(rounds, 3);
  EXPECT_FALSE(run.TakeResult());
}

TEST(Determinization, RefusedRunsHaveNoProgressToDivide) {
  const auto m = Worked();
  Options o = DefaultOptions(*m);
  o.eventNames = QStringList{"s1", "s2"};
  DRun run(*m, o);
  EXPECT_EQ(run.status(), DRun::Refused);
  EXPECT_EQ(run.Total(), 0);
  EXPECT_EQ(run.Percent(), 0);
  EXPECT_EQ(run.StatusText(), QString::fromUtf8("Детерминизация: Всего=0, текущее[0]="));
  EXPECT_EQ(run.Message(), QString::fromUtf8("Неполный алфавит [S]. Добавте имя!"));
  EXPECT_EQ(run.Round(), DRun::Refused);
}

TEST(Determinization, RefusesNamesThatCannotTellStatesApart) {
  const auto m = Worked();
  auto message = [&](const Options& o) {
    DRun run(*m, o);
    EXPECT_EQ(run.status(), DRun::Refused);
    return run.Message();
  };
  Options o = DefaultOptions(*m);
  o.eventNames = QStringList{"s1", "s2", "s1"};
  EXPECT_EQ(message(o), QString::fromUtf8("Повторное имя 's1' в алфавите [S]"));
  o.eventNames = QStringList{"s1", "S1", "s3"};
  EXPECT_EQ(message(o), QString::fromUtf8("Повторное имя 'S1' в алфавите [S]"));
  o.eventNames = QStringList{"s1", "", "s3"};
  EXPECT_EQ(message(o), QString::fromUtf8("Пустое имя в алфавите [S]. Добавте имя!"));
  o.eventNames = QStringList{"s1", "s2&s3", "s3"};
  EXPECT_EQ(message(o), QString::fromUtf8("Недопустимый символ '&' в алфавите [S]"));
  // The initial set names an event past the end of the alphabet.
  o = DefaultOptions(*m, USignalSet{4});
  EXPECT_EQ(message(o), QString::fromUtf8("Неполный алфавит [S]. Добавте имя!"));
  // An empty initial set has no name unless states are renamed.
  o = DefaultOptions(*m, USignalSet());
  EXPECT_FALSE(message(o).isEmpty());
  o.rename = true;
  DRun renamed(*m, o);
  EXPECT_EQ(renamed.RunAll(), DRun::Done);
  EXPECT_EQ(renamed.TakeResult()->SNames, (QStringList{"a0"}));

  o = DefaultOptions(*m);
  o.rename = true;
  o.nameTemplate = "";
  EXPECT_EQ(message(o), QString::fromUtf8("Пустой шаблон имени!"));
  o.nameTemplate = "a b";
  EXPECT_EQ(message(o), QString::fromUtf8("Недопустимый символ ' ' в шаблоне имени"));
  o.rename = false;  // the template is not used then
  DRun plain(*m, o);
  EXPECT_EQ(plain.status(), DRun::Running);
}

TEST(Alphabet, Check) {
  auto check = [](const char* text, int required) {
    return determ::CheckAlphabet(QString::fromUtf8(text), "[S]", required);
  };
  EXPECT_TRUE(check("s1\ns2\ns3", 3).ok);
  EXPECT_TRUE(check("s1\ns2\ns3\n", 3).ok);
  EXPECT_TRUE(check("s1\ns2\ns3\ns1", 3).ok);  // lines past the needed ones are not used

  auto c = check("s1\ns&2\ns3", 3);
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.position, 4);
  EXPECT_EQ(c.length, 1);
  EXPECT_EQ(c.notice.text, QString::fromUtf8("Недопустимый символ '&' в алфавите [S]"));
  EXPECT_EQ(c.notice.caption, "Ошибка!");
  EXPECT_EQ(c.notice.icon, Notice::Warning);

  c = check("s1\ns 2\ns3", 3);
  EXPECT_EQ(c.position, 4);
  EXPECT_EQ(c.notice.text, QString::fromUtf8("Недопустимый символ ' ' в алфавите [S]"));
  for (const char* bad : {"~", "!", "@", "#", "$", "%", "^",  "*",  "(", ")", "-", "+",
                          "`", "?", ">", "<", ".", ",", "\"", "\\", "}", "{", "]", "["})
    EXPECT_FALSE(check((std::string("s") + bad).c_str(), 1).ok) << bad;
  EXPECT_TRUE(check("s_1=", 1).ok);

  c = check("s1\ns2", 3);
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.notice.text, QString::fromUtf8("Неполный алфавит [S]. Добавте имя!"));
  EXPECT_FALSE(check("", 1).ok);
  EXPECT_TRUE(check("", 0).ok);

  c = check("s1\n\ns3", 3);
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.position, 3);

  c = check("s1\r\nS1\r\ns3", 3);
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.position, 4);
  EXPECT_EQ(c.length, 2);
  EXPECT_TRUE(check("ёж\nЁЖ", 1).ok);
  EXPECT_FALSE(check("ёж\nЁЖ", 2).ok);
}

TEST(Alphabet, MemoLines) {
  EXPECT_EQ(determ::MemoLines(""), QStringList());
  EXPECT_EQ(determ::MemoLines("a\nb"), (QStringList{"a", "b"}));
  EXPECT_EQ(determ::MemoLines("a\r\nb\r\n"), (QStringList{"a", "b"}));
  EXPECT_EQ(determ::MemoLines("a\n\n"), (QStringList{"a", ""}));
}

TEST(Determinizer, HandOver) {
  Determinizer d;
  EXPECT_FALSE(d.Ready());
  try {
    d.SetTable(nullptr, "t.tbl");
    FAIL() << "a null model was taken";
  } catch (const VexoError& e) {
    EXPECT_EQ(e.message(), QString::fromUtf8("ошибка передачи данных в модуль TDeterm!"));
  }
  Notice n;
  EXPECT_FALSE(d.Begin(Options(), &n));
  EXPECT_EQ(n.text, QString::fromUtf8("Нечего детерминизировать!"));
  EXPECT_EQ(n.caption, "Ups!");

  d.SetTable(Worked(), "t.tbl");
  EXPECT_TRUE(d.Ready());
  EXPECT_EQ(d.TableName(), "t.tbl");
  EXPECT_EQ(d.CodingText(), QString::fromUtf8("двоичные"));
  EXPECT_TRUE(d.CompleteAllowed());
  auto abstract = std::make_unique<FTT>();
  abstract->Mode = FTT::Abstract;
  Determinizer a;
  a.SetTable(std::move(abstract), "z.tbl");
  EXPECT_EQ(a.CodingText(), QString::fromUtf8("абстрактные"));
  EXPECT_FALSE(a.CompleteAllowed());
}

TEST(Determinizer, OneRunAtATime) {
  Determinizer d;
  d.SetTable(Worked(), "t.tbl");
  const Options o = DefaultOptions(*d.Source());
  ASSERT_TRUE(d.Begin(o, nullptr));
  EXPECT_TRUE(d.Running());
  Notice n;
  EXPECT_FALSE(d.Begin(o, &n));
  EXPECT_EQ(n.text, QString::fromUtf8("Процесс в стадии выполнения!"));
  EXPECT_EQ(n.caption, QString::fromUtf8("Детерминизация"));
  EXPECT_EQ(d.RunAll(), DRun::Done);
  EXPECT_FALSE(d.Running());
  EXPECT_EQ(d.EndNotice(DRun::Done).text, QString::fromUtf8("Детерминизация успешно выполнена!"));
  ASSERT_TRUE(d.Result());
  EXPECT_EQ(d.StateCount(), 4);
  EXPECT_EQ(d.NameAt(1).number, 2);
  EXPECT_EQ(d.NameAt(1).newName, "s2&s3");
  EXPECT_EQ(d.NameAt(1).oldName, "s2&s3");
}

TEST(Determinizer, OnlyASuccessfulRunReplacesTheResult) {
  Determinizer d;
  auto m = std::make_unique<FTT>();
  Row(*m, "s1", "y1", "x1", "s2");
  Row(*m, "s2", "y2", "x1", "s1");
  d.SetTable(std::move(m), "t.tbl");
  Options o = DefaultOptions(*d.Source());
  o.complete = false;
  ASSERT_TRUE(d.Begin(o, nullptr));
  ASSERT_EQ(d.RunAll(), DRun::Done);
  const FTT* first = d.Result();
  ASSERT_TRUE(first);
  EXPECT_EQ(d.StateCount(), 2);

  // Leads nowhere on X1: the error dialog's facts, the old result stays.
  o.complete = true;
  o.initial = USignalSet{2};
  ASSERT_TRUE(d.Begin(o, nullptr));
  EXPECT_EQ(d.RunAll(), DRun::NoTarget);
  EXPECT_EQ(d.ErrorEvent(), "s2");
  EXPECT_EQ(d.ErrorCondition(), "X1");
  EXPECT_EQ(d.Result(), first);
  EXPECT_EQ(d.StateCount(), 2);

  // Interrupted: the old result stays.
  o.complete = false;
  ASSERT_TRUE(d.Begin(o, nullptr));
  d.Interrupt();
  EXPECT_EQ(d.Round(), DRun::Stopped);
  EXPECT_EQ(d.EndNotice(DRun::Stopped).text, QString::fromUtf8("Процесс прерван!"));
  EXPECT_EQ(d.Result(), first);

  // Refused at the start: nothing runs, the old result stays.
  o.eventNames = QStringList{"s1"};
  Notice n;
  EXPECT_FALSE(d.Begin(o, &n));
  EXPECT_EQ(n.text, QString::fromUtf8("Неполный алфавит [S]. Добавте имя!"));
  EXPECT_FALSE(d.Running());
  EXPECT_EQ(d.Result(), first);

  // A run stopped from inside the loop, as a window's close question would.
  o.eventNames = d.Source()->SNames.All();
  ASSERT_TRUE(d.Begin(o, nullptr));
  EXPECT_EQ(d.RunAll([&](const DRun&) { return false; }), DRun::Stopped);
  EXPECT_EQ(d.Result(), first);

  // A good run replaces it.
  o.initial = USignalSet{2};
  ASSERT_TRUE(d.Begin(o, nullptr));
  EXPECT_EQ(d.RunAll(), DRun::Done);
  ASSERT_TRUE(d.Result());
  EXPECT_EQ(d.Result()->SNames.first(), "s2");
}

TEST(ResultTable, NothingToShow) {
  std::vector<QStringList> rows;
  Notice n;
  EXPECT_FALSE(determ::ResultTableRows(nullptr, &rows, &n));
  EXPECT_EQ(n.text, QString::fromUtf8("Внутренняя ошибка передачи данных!"));
  EXPECT_EQ(n.caption, QString::fromUtf8("Модуль TDeterm"));
  FTT empty;
  EXPECT_FALSE(determ::ResultTableRows(&empty, &rows, &n));
  EXPECT_EQ(n.text, QString::fromUtf8("Внутренняя ошибка трансляции данных!"));
}
