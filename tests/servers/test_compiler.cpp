// The table compiler and the names of a cell.
#include <gtest/gtest.h>

#include "tests/servers/printers.h"

#include "servers/fsmcompiler.h"

using namespace fsm;

namespace {

struct Row {
  const char* si;
  const char* y;
  const char* xij;
  const char* sj;
};

Compiler compile(std::initializer_list<Row> rows, int* errors = nullptr, Type type = Type()) {
  Compiler c;
  c.setType(type.states, type.outputs, type.inputs, type.triggers);
  for (const Row& r : rows)
    c.addSource(QString::fromUtf8(r.si), QString::fromUtf8(r.y), QString::fromUtf8(r.xij),
                QString::fromUtf8(r.sj));
  const int n = c.make();
  if (errors) *errors = n;
  return c;
}

QString status(const Compiler& c) { return c.status(); }

}  // namespace

TEST(ScanNames, NamesBlanksAndInversion) {
  QVector<Name> names;
  ScanError e;
  ASSERT_TRUE(scanNames(QStringLiteral("  x1 &X2&  вход "), &names, &e));
  ASSERT_EQ(names.size(), 3);
  EXPECT_EQ(names[0].key, QStringLiteral("x1"));
  EXPECT_FALSE(names[0].inverted);
  EXPECT_EQ(names[1].key, QStringLiteral("x2"));
  EXPECT_TRUE(names[1].inverted);
  EXPECT_EQ(names[1].pos, 6);
  EXPECT_EQ(names[2].key, QStringLiteral("вход"));
  ASSERT_TRUE(scanNames(QStringLiteral("Вход"), &names, &e));
  EXPECT_TRUE(names[0].inverted);
  EXPECT_EQ(names[0].key, QStringLiteral("вход"));
  ASSERT_TRUE(scanNames(QStringLiteral("   "), &names, &e));
  EXPECT_TRUE(names.isEmpty());
}

TEST(ScanNames, FaultsCarryTheirPosition) {
  QVector<Name> names;
  ScanError e;
  EXPECT_FALSE(scanNames(QStringLiteral("x1 x2"), &names, &e));
  EXPECT_EQ(e.pos, 3);
  EXPECT_TRUE(e.message.contains(QStringLiteral("разделитель")));
  EXPECT_FALSE(scanNames(QStringLiteral("x1&&x2"), &names, &e));
  EXPECT_EQ(e.pos, 3);
  EXPECT_FALSE(scanNames(QStringLiteral("&x1"), &names, &e));
  EXPECT_EQ(e.pos, 0);
  EXPECT_FALSE(scanNames(QStringLiteral("x1 & "), &names, &e));
  EXPECT_EQ(e.pos, 3);
  EXPECT_FALSE(scanNames(QStringLiteral("s+1"), &names, &e));
  EXPECT_EQ(e.pos, 1);
  EXPECT_EQ(e.message, QStringLiteral("недопустимый символ '+'"));
  EXPECT_FALSE(scanNames(QStringLiteral("x1|x2"), &names, &e));
  EXPECT_FALSE(scanNames(QStringLiteral("x1*x2"), &names, &e));
  EXPECT_FALSE(scanNames(QStringLiteral("s(1)"), &names, &e));
  EXPECT_FALSE(scanNames(QStringLiteral("1s"), &names, &e));
  EXPECT_TRUE(e.message.contains(QStringLiteral("не с буквы")));
  EXPECT_FALSE(scanNames(QStringLiteral("_a"), &names, &e));
  EXPECT_FALSE(scanNames(QStringLiteral("a\tb\x01"), &names, &e));
}

// A cell of a hundred thousand names compiles: every name is one literal, a name written
// twice counts once, and one written both ways is refused at its place.
TEST(Compiler, CellOfManyNames) {
  constexpr int kNames = 100000;
  QStringList names;
  for (int k = 0; k < kNames; ++k) names << (k % 2 ? QStringLiteral("X%1") : QStringLiteral("x%1")).arg(k);
  const QString cell = names.join(QLatin1Char('&'));
  struct Case {
    QString xij;
    int errors;
  } cases[] = {{cell, 0}, {cell + QStringLiteral("&x2"), 0}, {cell + QStringLiteral("&x1"), 1}};
  for (const Case& c : cases) {
    Compiler compiler;
    compiler.setType(0, 0, 1, 0);
    compiler.addSource(QStringLiteral("s0"), QStringLiteral("y1"), c.xij, QStringLiteral("s1"));
    EXPECT_EQ(compiler.make(), c.errors);
    if (c.errors) {
      EXPECT_TRUE(compiler.status().contains(
          QStringLiteral("позиция %1: имя 'x1' входит и прямо, и инверсно").arg(cell.size() + 2)))
          << compiler.status().left(200).toStdString();
      continue;
    }
    const Set& condition = compiler.model().lines.first().transitions.first().condition;
    ASSERT_EQ(condition.size(), kNames);
    EXPECT_EQ(condition[0], 1);
    EXPECT_EQ(condition[1], -2);
    EXPECT_EQ(compiler.model().inputs.size(), kNames);
  }
}

TEST(Compiler, ConverterConventions) {
  int errors = -1;
  // Grouped rows as the СКУ converter writes them, Cyrillic names, blanks around "&",
  // an output-only row and two targets at once.
  Compiler c = compile({{"s0", "y1 & y2", "x1 & X2", "s1"},
                        {"", "", "x2", "s2&s3"},
                        {"s1", "", "1", "s0"},
                        {"", "", "", ""},
                        {"s5", "y3", "0", "0"},
                        {"s2&S3", "выход", "вход", "s0"},
                        {"s3", "", "1", "s0"}},
                       &errors);
  ASSERT_EQ(errors, 0) << status(c).toStdString();
  const Model& m = c.model();
  EXPECT_EQ(m.events, (QStringList{"s0", "s1", "s2", "s3", "s5"}));
  EXPECT_EQ(m.inputs, (QStringList{"x1", "x2", "вход"}));
  EXPECT_EQ(m.outputs, (QStringList{"y1", "y2", "y3", "выход"}));
  ASSERT_EQ(m.lines.size(), 5);
  EXPECT_EQ(m.lines[0].key, (Set{1}));
  EXPECT_EQ(m.lines[0].outputs, (Set{1, 2}));
  ASSERT_EQ(m.lines[0].transitions.size(), 2);
  EXPECT_EQ(m.lines[0].transitions[0].condition, (Set{1, -2}));
  EXPECT_EQ(m.lines[0].transitions[1].targets, (Set{3, 4}));
  EXPECT_TRUE(m.lines[1].transitions[0].condition.isEmpty());  // "1"
  EXPECT_TRUE(m.lines[2].transitions.isEmpty());               // "0" / "0"
  EXPECT_EQ(m.lines[3].key, (Set{3, -4}));                     // s2 & not s3
  EXPECT_EQ(m.start, (Set{1}));
  EXPECT_TRUE(status(c).startsWith(QStringLiteral("Компиляция завершена без ошибок.")));
}

TEST(Compiler, SameKeyAndConditionJoinTargets) {
  int errors = -1;
  Compiler c = compile({{"s1", "y1", "x1", "s2"}, {"s1", "y2", "x1", "s3"}, {"", "", "x2", "s4"}}, &errors);
  ASSERT_EQ(errors, 0);
  const Model& m = c.model();
  ASSERT_EQ(m.lines.size(), 1);
  EXPECT_EQ(m.lines[0].outputs, (Set{1, 2}));
  ASSERT_EQ(m.lines[0].transitions.size(), 2);
  EXPECT_EQ(m.lines[0].transitions[0].targets, (Set{2, 3}));
}

TEST(Compiler, EveryFaultIsListedWithRowColumnAndPosition) {
  int errors = 0;
  Compiler c = compile({{"", "y1", "x1", "s1"},     // no source on the first row
                        {"s1", "Y1", "x1", "s2"},   // inverted output
                        {"s2", "", "x1 x2", "s0"},  // missing "&"
                        {"s3", "", "", "s0"},       // no condition
                        {"s4", "", "x1", ""},       // no target
                        {"s5", "", "0", "s1"},      // target on an output-only row
                        {"s6", "", "x1&X1", "s0"},  // contradiction
                        {"s7", "Y1", "1", "s0"},    // inverted output
                        {"s8", "", "1", "S0"}},     // inverted target
                       &errors);
  EXPECT_EQ(errors, 9);
  const QStringList lines = status(c).split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 10);
  EXPECT_EQ(lines[0],
            QStringLiteral(
                "Строка таблицы 1 (без номера), столбец 1 (si), позиция 1: не указано исходное событие"));
  EXPECT_EQ(lines[1],
            QStringLiteral("Строка 1 (s1), столбец 2 (y), позиция 1: инверсия имени 'y1' недопустима"));
  EXPECT_EQ(lines[2], QStringLiteral("Строка 2 (s2), столбец 3 (xij), позиция 4: пропущен разделитель '&'"));
  EXPECT_EQ(lines[3],
            QStringLiteral("Строка 3 (s3), столбец 3 (xij), позиция 1: не указано условие перехода"));
  EXPECT_EQ(lines[4],
            QStringLiteral("Строка 4 (s4), столбец 4 (sj), позиция 1: не указано событие перехода"));
  EXPECT_EQ(lines[5],
            QStringLiteral(
                "Строка 5 (s5), столбец 4 (sj), позиция 1: при условии 0 событие перехода не указывается"));
  EXPECT_EQ(lines[6],
            QStringLiteral("Строка 6 (s6), столбец 3 (xij), позиция 4: имя 'x1' входит и прямо, и инверсно"));
  EXPECT_EQ(lines[7],
            QStringLiteral("Строка 7 (s7), столбец 2 (y), позиция 1: инверсия имени 'y1' недопустима"));
  EXPECT_EQ(lines[8],
            QStringLiteral("Строка 8 (s8), столбец 4 (sj), позиция 1: инверсия имени 's0' недопустима"));
  EXPECT_EQ(lines[9], QStringLiteral("Ошибок: 9"));
  EXPECT_FALSE(c.compiled());
}

TEST(Compiler, ContinuationOfAFaultySourceIsNotReportedTwice) {
  int errors = 0;
  Compiler c = compile({{"s+0", "", "x1", "s1"}, {"", "", "x2", "s2"}, {"s1", "", "1", "s0"}}, &errors);
  EXPECT_EQ(errors, 1);
  EXPECT_TRUE(status(c).startsWith(QStringLiteral("Строка 1 (s+0), столбец 1 (si), позиция 2")));
}

TEST(Compiler, RowsAreNamedAsTheRowHeaderNumbersThem) {
  // Only rows with an si carry a number; the rows under one are named from it.
  int errors = 0;
  Compiler c = compile({{"s0", "", "1", "s1"},
                        {"", "", "x2 x3", "s0"},
                        {"", "", "", ""},
                        {"", "", "x1", ""},
                        {"s1", "", "", "s0"}},
                       &errors);
  EXPECT_EQ(errors, 3);
  const QStringList lines = status(c).split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(
      lines[0].startsWith(QStringLiteral("Строка 1 (s0), продолжение 1, столбец 3 (xij), позиция 4:")));
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Строка 1 (s0), продолжение 3, столбец 4 (sj)")));
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Строка 2 (s1), столбец 3 (xij)")));
}

TEST(Compiler, EmptyTableAndBlankRows) {
  int errors = 0;
  Compiler c = compile({{"", "", "", ""}, {" ", "  ", "", "\t"}}, &errors);
  EXPECT_EQ(errors, 1);
  EXPECT_TRUE(status(c).contains(QStringLiteral("Таблица пуста")));
  Compiler none;
  EXPECT_EQ(none.make(), 1);
}

TEST(Compiler, AbstractInputsAndOutputs) {
  int errors = 0;
  Type abstract{0, 0, 0, 0};
  compile({{"s0", "w1", "z1", "s1"}, {"s1", "", "1", "s0"}}, &errors, abstract);
  EXPECT_EQ(errors, 0);
  Compiler c = compile({{"s0", "w1", "z1&z2", "s1"}, {"s1", "", "Z1", "s0"}}, &errors, abstract);
  EXPECT_EQ(errors, 2);
  EXPECT_TRUE(status(c).contains(QStringLiteral("абстрактное условие задается одним именем")));
  EXPECT_TRUE(status(c).contains(QStringLiteral("инверсия имени 'z1' недопустима")));

  // Several outputs, in one row or in rows of one source, make one abstract output: the
  // converters write "y1&y2" whatever the options say.
  c = compile(
      {{"s0", "w1&w2", "z1", "s1"}, {"", "w3", "z2", "s0"}, {"s0", "w1", "z3", "s0"}, {"s1", "", "1", "s0"}},
      &errors, abstract);
  ASSERT_EQ(errors, 0) << status(c).toStdString();
  EXPECT_EQ(c.model().lines[0].outputs, (Set{1, 2, 3}));
}

TEST(Compiler, RepeatedNamesMeanTheNameOnce) {
  // "s1*s1=s0*s0*x1*x1;" passes the text checker; its table repeats every name.
  int errors = -1;
  Compiler c = compile({{"s0&s0", "y1&y1", "x1&x1", "s1&s1"}, {"s1", "", "X2 & X2", "s0"}}, &errors);
  ASSERT_EQ(errors, 0) << status(c).toStdString();
  const Model& m = c.model();
  EXPECT_EQ(m.lines[0].key, (Set{1}));
  EXPECT_EQ(m.lines[0].outputs, (Set{1}));
  EXPECT_EQ(m.lines[0].transitions[0].condition, (Set{1}));
  EXPECT_EQ(m.lines[0].transitions[0].targets, (Set{2}));
  EXPECT_EQ(m.lines[1].transitions[0].condition, (Set{-2}));
  // A name that is both direct and inverted stays a fault: the condition never holds.
  c = compile({{"s0", "", "x1&X2&X1", "s1"}, {"s1", "", "1", "s0"}}, &errors);
  EXPECT_EQ(errors, 1);
  EXPECT_TRUE(status(c).startsWith(
      QStringLiteral("Строка 1 (s0), столбец 3 (xij), позиция 7: имя 'x1' входит и прямо, и инверсно")));
}

TEST(Compiler, NamesWithPunctuationTheCheckerAllows) {
  int errors = -1;
  Compiler c = compile({{"s1.2", "y.2", "x1,2&X\\a", "s0"}, {"s0", "", "1", "s1.2"}}, &errors);
  ASSERT_EQ(errors, 0) << status(c).toStdString();
  EXPECT_EQ(c.model().inputs, (QStringList{"x1,2", "x\\a"}));
  EXPECT_EQ(c.model().events, (QStringList{"s1.2", "s0"}));
}

TEST(Compiler, TypeIsChecked) {
  Compiler c;
  EXPECT_EQ(c.setType(1, 2, 1, 2), 0);
  EXPECT_EQ(c.setType(1, 2, 1, 5), 0);
  EXPECT_EQ(c.setType(0, 2, 0, 0), 0);
  EXPECT_EQ(c.setType(0, 2, 0, 7), 0);  // without state coding the trigger is not used
  EXPECT_EQ(c.setType(1, 2, 1, 6), -1);
  c.addSource("s0", "", "1", "s0");
  EXPECT_EQ(c.make(), 1);
  EXPECT_TRUE(c.status().startsWith(QStringLiteral("Недопустимый тип автомата")));
  EXPECT_EQ(c.setType(1, 1, 1, 2), -1);
  EXPECT_EQ(c.setType(1, 2, 1, 3), 0);
  EXPECT_EQ(c.make(), 0);
  EXPECT_TRUE(c.status().contains(QStringLiteral("T-триггеры")));
}

TEST(Compiler, SaveNeedsACompilation) {
  Compiler c;
  c.addSource("s0", "", "", "s0");
  EXPECT_EQ(c.make(), 1);
  EXPECT_EQ(c.save(QStringLiteral("/nonexistent-dir/x.fsm")), 1);
  c.addSource("s1", "", "1", "s0");
}
