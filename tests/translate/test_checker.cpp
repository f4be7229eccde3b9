// The checker of РВАС and СКУ texts: message texts, positions and the decided faults.
#include <gtest/gtest.h>

#include "common/nesting.h"
#include "helpers.h"
#include "platform/errors.h"

using namespace tt;

// Every message, produced by a text that has the fault, with its exact wording.
TEST(CheckerMessages, EveryMessageAsTheUserSeesIt) {
  struct Case {
    bool sku;
    QStringList text;
    const char* message;
  };
  const Case cases[] = {
      {true, L({"sku:", "s1;", "svf:"}), "2-0-0- В выражении нет ни одного знака равенства"},
      {true, L({"sku:", "s1==s0;", "svf:"}), "2-3-1- Более одного знака равенства в вырыжении недопустимо"},
      {true, L({"sku:", "=s0;", "svf:"}), "2-0-0- Перед знаком равенства должно стоять название события"},
      {true, L({"sku:", "s1=s0**x1;", "svf:"}),
       "2-6-1- После знака операции или равенства не может стоять знак операции"},
      {true, L({"sku:", "s1=s0*;", "svf:"}),
       "2-6-0- После знака операции или равенства должно стоять выражение"},
      {true, L({"sku:", "s1=s0*y1;", "svf:"}),
       "2-6-1- Название события или сигнала должно начинаться с определенной буквы"},
      {true, L({"sku:", "s1=(s0*x1);", "svf:"}), "2-3-0- Пропущен знак операции"},
      {true, L({"sku:", "s1=s0*x1#;", "svf:"}), "2-8-1- Данный символ нельзя использовать"},
      {true, L({"sku:", "s1=s0*x1; /* open", "svf:", "y1=s1;"}), "4-0-0- Отсутствует закрывающий коментарий"},
      {true, L({"sku:", "s1=s0*x1; */", "svf:"}), "2-11-1- Отсутствует открывающий коментарий"},
      {true, L({"sku:", "s1=s0*);", "svf:"}),
       "2-6-0- После знака операции или равенства не может стоять закрывающая скобка"},
      {true, L({"sku:", "s1=s0*(*x1);", "svf:"}),
       "2-7-1- После открывающей скобки не может стоять знак операции"},
      {true, L({"sku:", "s1=s0*x1);", "svf:"}), "2-8-1- Отсутствует открывающая круглая скобка"},
      {true, L({"sku:", "s1=s0*(x1|x2;", "svf:"}), "2-12-0- Отсутствует закрывающая круглая скобка"},
      {true, L({"s1=s0;"}), "1-0-0- Отсутствует идетификатор СКУ (\"sku:\")"},
      {true, L({"sku:", "sku:", "s1=s0;", "svf:"}), "2-0-3- Два идентификатора СКУ недопустимы"},
      {true, L({"sku:", "s1=s0;"}), "1-0-0- (Предупреждение)Отсутствует идентификатор СВФ (\"svf:\")"},
      {true, L({"sku:", "s1=s0;", "svf:", "svf:"}), "4-0-3- Два идентификатора СВФ недопустимы"},
      {true, L({"sku:", "s1=s0*Z1;", "svf:"}), "2-6-1- Абстрактные сигналы обозначаютя символом z"},
      {true, L({"sku:", "s1=s0*x1;", "s2=s1*z1;", "svf:"}), "3-6-1- Двоичные сигналы обозначаютя символом x"},
      {true, L({"sku:", "s1=s0*z1*z2;", "svf:"}),
       "2-9-1- В каждом дизъюнктивном члене может присутствовать только один абстрактныи сигнал"},
      {true, L({"sku:", "s1=x1;", "svf:"}), "2-3-1- Сигнал без исходного события"},
      {false, L({"s1=s0*x1*s0*x2;"}), "1-9-2- Начальное событие должно стоять после знаков '=' или 'V'"},
      {false, L({"s1=x1*s0;"}), "1-3-2- Начальное событие должно называться s0"},
      {false, L({"s1=s0*(x1|s0*x2);"}),
       "1-10-2- Начальное событие не может стоять в круглых или итерационных скобках"},
      {false, L({"s1=s0*x1};"}), "1-8-1- Отсутствует открывающая итерационная скобка"},
      {false, L({"s1=s0*{x1;"}), "1-9-0- Отсутствует закрывающая итерационная скобка"},
  };
  for (const Case& c : cases) {
    const Checked r = c.sku ? checkSku(c.text) : checkRvas(c.text);
    EXPECT_TRUE(r.messages.contains(QString::fromUtf8(c.message))) << c.text << " gives " << r.messages;
  }
  EXPECT_TRUE(TTesting::messageText(28).isEmpty());
  EXPECT_TRUE(TTesting::messageText(-1).isEmpty());
}

TEST(CheckerMessages, ConstructorClearsTheList) {
  QStringList messages{"old"};
  TTesting t(QStringList(), &messages, DocSettings());
  EXPECT_TRUE(messages.isEmpty());
}

TEST(CheckSku, EmptyTextGivesOnlyMessage14) {
  const Checked c = checkSku({});
  EXPECT_TRUE(c.failed);
  EXPECT_EQ(c.messages, QStringList{QString::fromUtf8("1-0-0- Отсутствует идетификатор СКУ (\"sku:\")")});
}

TEST(CheckSku, ValidTextPasses) {
  const Checked c = checkSku(L({"sku:", "s1=s0*x1|s2*X2;", "s2=s1*x3;", "svf:", "y1=s1;"}));
  EXPECT_FALSE(c.failed);
  EXPECT_TRUE(c.messages.isEmpty()) << c.messages;
  EXPECT_EQ(c.errors, 0);
}

TEST(CheckSku, MissingSvfIsOnlyAWarningListedLast) {
  Checked c = checkSku(L({"sku:", "s1=s0*x1;"}));
  EXPECT_FALSE(c.failed);
  EXPECT_EQ(c.messages, QStringList{msg(1, 0, 0, 16)});
  EXPECT_EQ(c.errors, 0);
  EXPECT_EQ(c.warnings, 1);

  c = checkSku(L({"sku:", "s1==s0;"}));
  EXPECT_TRUE(c.failed);
  EXPECT_EQ(c.messages, (QStringList{msg(2, 3, 1, 1), msg(1, 0, 0, 16)}));
  EXPECT_EQ(c.errors, 1);
  EXPECT_EQ(c.warnings, 1);
}

TEST(CheckSku, RepeatedHeaders) {
  // The section starts after the last "sku:"; lines between the two are not checked.
  Checked c = checkSku(L({"sku:", "~~~", "sku:", "s1=s0*x1;", "svf:", "y1=s1;"}));
  EXPECT_TRUE(c.failed);
  EXPECT_EQ(c.messages, QStringList{msg(3, 0, 3, 15)});
  // The first "svf:" then stands inside the СКУ section and is checked as text.
  c = checkSku(L({"sku:", "s1=s0*x1;", "svf:", "y1=s1;", " S V F : ", "y2=s1;"}));
  EXPECT_EQ(c.messages, (QStringList{msg(5, 0, 8, 17), msg(3, 3, 1, 7)}));
}

TEST(CheckSku, HeadersIgnoreBlanksAndCase) {
  const Checked c =
      checkSku(L({"text before the header is not checked ~", " SKU: ", "s1=s0*x1;", "Svf:", "y1=s1;"}));
  EXPECT_TRUE(c.messages.isEmpty()) << c.messages;
}

TEST(CheckSku, Pass1Messages) {
  // ';' alone: no '=' and a bad first character.
  EXPECT_EQ(checkSku(L({"sku:", ";", "svf:"})).messages, (QStringList{msg(2, 0, 0, 0), msg(2, 0, 1, 5)}));
  // A bracket group right after '=' lacks an operator; inside a product it is fine.
  EXPECT_EQ(checkSku(L({"sku:", "s1=(s0*x1);", "svf:"})).messages, QStringList{msg(2, 3, 0, 6)});
  EXPECT_TRUE(checkSku(L({"sku:", "s1=s0*(x1|x2);", "svf:"})).messages.isEmpty());
  // Operator after operator, nothing after an operator, a digit or a wrong letter.
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0**x1;", "svf:"})).messages, QStringList{msg(2, 6, 1, 3)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*;", "svf:"})).messages, QStringList{msg(2, 6, 0, 4)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*1x;", "svf:"})).messages, QStringList{msg(2, 6, 1, 5)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*y1;", "svf:"})).messages, QStringList{msg(2, 6, 1, 5)});
  EXPECT_EQ(checkSku(L({"sku:", "y1=s0;", "svf:"})).messages, QStringList{msg(2, 0, 1, 5)});
  EXPECT_EQ(checkSku(L({"sku:", "=s0;", "svf:"})).messages, QStringList{msg(2, 0, 0, 2)});
  // A forbidden character after an operator gives 5 and 7.
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*#x;", "svf:"})).messages,
            (QStringList{msg(2, 6, 1, 5), msg(2, 6, 1, 7)}));
  // Brackets.
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*(x1|x2;", "svf:"})).messages, QStringList{msg(2, 12, 0, 13)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*x1);", "svf:"})).messages, QStringList{msg(2, 8, 1, 12)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*(*x1);", "svf:"})).messages, QStringList{msg(2, 7, 1, 11)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*);", "svf:"})).messages,
            (QStringList{msg(2, 6, 0, 10), msg(2, 6, 1, 12)}));
  // Names after an opening bracket are tested too; the output list of РВАС is not.
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*(Ax1|x2);", "svf:"})).messages, QStringList{msg(2, 7, 1, 5)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*(1|x2);", "svf:"})).messages, QStringList{msg(2, 7, 1, 5)});
  EXPECT_EQ(checkRvas(L({"sw=s0*{Ax1}*x2;"})).messages, QStringList{msg(1, 7, 1, 5)});
  EXPECT_TRUE(checkRvas(L({"sw(y1,y2)=s0*{x1}*(x2|s1);"})).messages.isEmpty());
  // Cyrillic first letters fail the letter test.
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*ж1;", "svf:"})).messages, QStringList{msg(2, 6, 1, 5)});
}

TEST(CheckSku, SvfSection) {
  EXPECT_TRUE(checkSku(L({"sku:", "s1=s0*x1;", "svf:", "y1=s1|s0;", "y2=s1;"})).messages.isEmpty());
  // '*' is forbidden among the output functions, and only event names may follow '='.
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*x1;", "svf:", "y1=s1*s0;"})).messages, QStringList{msg(4, 5, 1, 7)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*x1;", "svf:", "y1=x1;"})).messages, QStringList{msg(4, 3, 1, 5)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*x1;", "svf:", "s1=s0;"})).messages, QStringList{msg(4, 0, 1, 5)});
}

TEST(CheckSku, Comments) {
  // An inner "/*" leaves the depth above zero: message 8 at the last line of the whole text.
  Checked c = checkSku(L({"sku:", "/* a /* b */ s1=s0*x1;", "svf:", "y1=s1;"}));
  EXPECT_EQ(c.messages, QStringList{msg(4, 0, 0, 8)});
  // "//" hides the rest of the line, the "*/" included.
  c = checkSku(L({"sku:", "/* a // b */", "s1=s0*x1;", "svf:", "y1=s1;"}));
  EXPECT_EQ(c.messages, QStringList{msg(5, 0, 0, 8)});
  // A "*/" without an opening: message 9, and both characters are checked as text.
  c = checkSku(L({"sku:", "s1=s0*x1;*/", "svf:"}));
  EXPECT_TRUE(c.messages.contains(msg(2, 10, 1, 9))) << c.messages;
  EXPECT_TRUE(c.messages.contains(msg(2, 10, 1, 7))) << c.messages;
  // Comments spanning lines hide their content.
  c = checkSku(L({"sku:", "s1=s0*x1; /* ~~~", "~~~ */ s2=s1*x2; // ~~~", "svf:"}));
  EXPECT_TRUE(c.messages.isEmpty()) << c.messages;
}

TEST(CheckSku, SignalKinds) {
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*z1*z2;", "svf:"})).messages, QStringList{msg(2, 9, 1, 20)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*x1;", "s2=s1*z1;", "svf:"})).messages, QStringList{msg(3, 6, 1, 19)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*z1;", "s2=s1*x1;", "svf:"})).messages, QStringList{msg(3, 6, 1, 18)});
  // One abstract signal per term: a '|' starts a new term.
  EXPECT_TRUE(checkSku(L({"sku:", "s1=s0*z1|s2*z2;", "svf:"})).messages.isEmpty());
  // Signals inside brackets count too: multiplied out, each of the two terms holds two
  // abstract signals.
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*z1*(z2|z3);", "svf:"})).messages,
            (QStringList{msg(2, 10, 1, 20), msg(2, 13, 1, 20)}));
  // A '|' inside a group does not end the term: what follows the group joins every alternative.
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*(z1|s2)*z3;", "svf:"})).messages, QStringList{msg(2, 14, 1, 20)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*(s2|(z1|s3))*z3;", "svf:"})).messages, QStringList{msg(2, 19, 1, 20)});
  EXPECT_TRUE(checkSku(L({"sku:", "s1=s0*(z1|z2)|s2*z3;", "svf:"})).messages.isEmpty());
  EXPECT_TRUE(checkSku(L({"sku:", "s1=s0*(z1|s2*(z2|z3));", "svf:"})).messages.isEmpty());
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*(x1|x2);", "s2=s1*z1;", "svf:"})).messages,
            QStringList{msg(3, 6, 1, 19)});
}

TEST(CheckSku, UpperCaseAbstractSignalIsReported) {
  const Checked c = checkSku(L({"sku:", "s1=s0*Z1;", "svf:"}));
  EXPECT_TRUE(c.failed);
  EXPECT_EQ(c.messages, QStringList{msg(2, 6, 1, 18)});
  // The inverted binary signal stays valid.
  EXPECT_TRUE(checkSku(L({"sku:", "s1=s0*X1;", "svf:"})).messages.isEmpty());
}

TEST(CheckSku, TermWithoutSourceEvent) {
  Checked c = checkSku(L({"sku:", "s1=s0*x1|x2;", "svf:"}));
  EXPECT_TRUE(c.failed);
  EXPECT_EQ(c.messages, QStringList{msg(2, 9, 1, 21)});
  c = checkSku(L({"sku:", "s1=x1;", "svf:"}));
  EXPECT_EQ(c.messages, QStringList{msg(2, 3, 1, 21)});
  // Over several lines, and with the statement left without ';' at the end of the section.
  c = checkSku(L({"sku:", "s1=s0*x1|", "  x2*x3", "svf:"}));
  EXPECT_EQ(c.messages, QStringList{msg(3, 2, 1, 21)});
  // Brackets: a source before the group serves every alternative of it...
  EXPECT_TRUE(checkSku(L({"sku:", "s1=s0*(x1|x2)*x3;", "svf:"})).messages.isEmpty());
  EXPECT_TRUE(checkSku(L({"sku:", "s1=x3*(s0|s2);", "svf:"})).messages.isEmpty());
  // ...but an alternative of the group without one leaves a term without a source.
  c = checkSku(L({"sku:", "s1=x3*(s0|x2);", "svf:"}));
  EXPECT_EQ(c.messages, QStringList{msg(2, 3, 1, 21)});
}

TEST(CheckSku, LeftSideNamesOnlyTargets) {
  // Several targets are joined by '*'; brackets or '|' would end up in a target's name.
  EXPECT_TRUE(checkSku(L({"sku:", "s1*s2=s0*x1;", "svf:"})).messages.isEmpty());
  EXPECT_EQ(checkSku(L({"sku:", "s1(y1)=s0*x1;", "svf:"})).messages,
            (QStringList{msg(2, 2, 1, 7), msg(2, 5, 1, 7)}));
  EXPECT_EQ(checkSku(L({"sku:", "s1|s2=s0*x1;", "svf:"})).messages, QStringList{msg(2, 2, 1, 7)});
  EXPECT_EQ(checkSku(L({"sku:", "s1*=s0*x1;", "svf:"})).messages, QStringList{msg(2, 3, 0, 4)});
  // Every target needs the target letter, the second as the first.
  EXPECT_EQ(checkSku(L({"sku:", "s1*x2=s0*x1;", "svf:"})).messages, QStringList{msg(2, 3, 1, 5)});
  EXPECT_EQ(checkSku(L({"sku:", "s1*y2=s0*x1;", "svf:"})).messages, QStringList{msg(2, 3, 1, 5)});
}

TEST(CheckSku, InvisibleCharactersAreRefused) {
  // A tab would make "s0<tab>" a name of its own that looks like s0.
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0\t*x1;", "svf:"})).messages, QStringList{msg(2, 5, 1, 7)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*x1;", "svf:", "y1=s1\u00A0;"})).messages,
            QStringList{msg(4, 5, 1, 7)});
  // A null character inside a line (read from a file) is no blank either.
  QStringList text = L({"sku:", "s1=s0*x1;", "svf:"});
  text[1].insert(2, QChar(0));
  EXPECT_EQ(checkSku(text).messages, QStringList{msg(2, 2, 1, 7)});
}

TEST(Checker, EmptyGroupsAreReported) {
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*();", "svf:"})).messages, QStringList{msg(2, 7, 0, 4)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*x1;", "svf:", "y1=s1|();"})).messages, QStringList{msg(4, 7, 0, 4)});
  // An empty repetition would give the target a loop that needs no condition.
  EXPECT_EQ(checkRvas(L({"sw=s0*{};"})).messages, QStringList{msg(1, 7, 0, 4)});
  EXPECT_EQ(checkRvas(L({"sw=s0*{x1|()};"})).messages, QStringList{msg(1, 11, 0, 4)});
}

TEST(CheckSku, NameGluedToAClosingBracket) {
  const Checked c = checkSku(L({"sku:", "s1=s0*(x1|x2)x3;", "svf:"}));
  EXPECT_TRUE(c.failed);
  EXPECT_EQ(c.messages, QStringList{msg(2, 13, 0, 6)});
}

TEST(CheckSku, UnterminatedLastExpression) {
  // Without ';' at the end of the text: nothing to report.
  EXPECT_TRUE(checkSku(L({"sku:", "s1=s0*x1"})).failed == false);
  EXPECT_TRUE(checkSku(L({"sku:", "s1=s0*x1", "svf:", "y1=s1"})).messages.isEmpty());
  // It is still checked as if it ended there.
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*", "svf:"})).messages, QStringList{msg(2, 6, 0, 4)});
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*(x1", "svf:"})).messages, QStringList{msg(2, 9, 0, 13)});
  EXPECT_EQ(checkSku(L({"sku:", "s1", "svf:"})).messages, QStringList{msg(2, 0, 0, 0)});
}

TEST(CheckSku, ConfiguredLetters) {
  const DocSettings s = otherLetters();
  EXPECT_TRUE(checkSku(L({"sku:", "q1=p0*b1|p2*A2x;", "svf:", "o1=p1;"}), s).messages.size() == 1);
  EXPECT_TRUE(checkSku(L({"sku:", "q1=p0*b1|p2*B2;", "svf:", "o1=p1;"}), s).messages.isEmpty());
  EXPECT_EQ(checkSku(L({"sku:", "s1=p0*b1;", "svf:"}), s).messages, QStringList{msg(2, 0, 1, 5)});
  // The texts still name 'z', 'x' and "s0" literally.
  EXPECT_EQ(checkSku(L({"sku:", "q1=p0*a1*a2;", "svf:"}), s).messages, QStringList{msg(2, 9, 1, 20)});
}

TEST(CheckRvas, EmptyTextPasses) {
  const Checked c = checkRvas({});
  EXPECT_FALSE(c.failed);
  EXPECT_TRUE(c.messages.isEmpty());
}

TEST(CheckRvas, InitialEventRules) {
  EXPECT_TRUE(checkRvas(L({"s1=s0*x1;"})).messages.isEmpty());
  EXPECT_TRUE(checkRvas(L({"sa(y1,y2)=s0*x1*X2|s0*z1;"})).messages.size() == 1);  // binary and abstract mixed
  EXPECT_TRUE(checkRvas(L({"sa(y1,y2)=s0*x1*X2|s0*x3;"})).messages.isEmpty());
  // The word read after '=' keeps its blanks, brackets and ';'.
  EXPECT_EQ(checkRvas(L({"s1 = s0 * x1;"})).messages, QStringList{msg(1, 5, 3, 23)});
  EXPECT_EQ(checkRvas(L({"s1=s0;"})).messages, QStringList{msg(1, 3, 3, 23)});
  EXPECT_EQ(checkRvas(L({"s1=x1*s0;"})).messages, QStringList{msg(1, 3, 2, 23)});
  EXPECT_EQ(checkRvas(L({"s1=s0*x1*s0*x2;"})).messages, QStringList{msg(1, 9, 2, 22)});
  EXPECT_EQ(checkRvas(L({"s1=s0*(x1|s0*x2);"})).messages, QStringList{msg(1, 10, 2, 24)});
  // A bracket right after '=': 6 from pass 1, 23 from pass 2.
  EXPECT_EQ(checkRvas(L({"s1=(s0*x1);"})).messages, (QStringList{msg(1, 3, 0, 6), msg(1, 3, 3, 23)}));
  DocSettings s;
  s.RvasS0 = "a0";
  s.InSob = 'a';
  EXPECT_TRUE(checkRvas(L({"s1=a0*x1;"}), s).messages.isEmpty());
}

TEST(CheckRvas, Braces) {
  EXPECT_TRUE(checkRvas(L({"s1=s0*{x1|x2};"})).messages.isEmpty());
  EXPECT_EQ(checkRvas(L({"s1=s0*x1};"})).messages, QStringList{msg(1, 8, 1, 25)});
  EXPECT_EQ(checkRvas(L({"s1=s0*{x1;"})).messages, QStringList{msg(1, 9, 0, 26)});
  EXPECT_EQ(checkRvas(L({"s1=s0*{*x1};"})).messages, QStringList{msg(1, 7, 1, 11)});
  EXPECT_EQ(checkRvas(L({"s1=s0*x1*};"})).messages, (QStringList{msg(1, 9, 0, 10), msg(1, 9, 1, 25)}));
  // Brackets and braces may not cross: "(x1|{x2)}" would be read as "(x1|{x2})".
  EXPECT_EQ(checkRvas(L({"sw=s0*(x1|{x2)};"})).messages, QStringList{msg(1, 13, 0, 26)});
  EXPECT_TRUE(checkRvas(L({"sw=s0*(x1}*{x2);"})).messages.contains(msg(1, 9, 0, 13)));
  EXPECT_TRUE(checkRvas(L({"sw=s0*(x1|{x2})*{(x3)};"})).messages.size() == 1);  // only 6 at "{("
  // Unterminated at the end of the text, the open brace is still reported.
  EXPECT_EQ(checkRvas(L({"s1=s0*{x1"})).messages, QStringList{msg(1, 9, 0, 26)});
  // A name glued to a closing brace.
  EXPECT_EQ(checkRvas(L({"s1=s0*{x1}x2;"})).messages, QStringList{msg(1, 10, 0, 6)});
  // Braces are allowed in РВАС, not in СКУ.
  EXPECT_EQ(checkSku(L({"sku:", "s1=s0*{x1};", "svf:"})).messages,
            (QStringList{msg(2, 6, 1, 7), msg(2, 9, 1, 7)}));
}

TEST(CheckRvas, LeftSideIsOneEventWithItsOutputs) {
  EXPECT_TRUE(checkRvas(L({"sa(y1, Y2 ,y3)=s0*x1;"})).messages.isEmpty());
  // Every output becomes an output function, so it needs the output letter.
  EXPECT_EQ(checkRvas(L({"sa(q1)=s0*x1;"})).messages, QStringList{msg(1, 3, 1, 5)});
  EXPECT_EQ(checkRvas(L({"sa(y1,1y)=s0*x1;"})).messages, QStringList{msg(1, 6, 1, 5)});
  EXPECT_EQ(checkRvas(L({"sa(y1,(y2))=s0*x1;"})).messages, QStringList{msg(1, 6, 1, 5)});
  // The event needs the target letter.
  EXPECT_EQ(checkRvas(L({"qa(y1)=s0*x1;"})).messages, QStringList{msg(1, 0, 1, 5)});
  EXPECT_EQ(checkRvas(L({"s1=s0*x1;", "1s=s0*x1;"})).messages, QStringList{msg(2, 0, 1, 5)});
  // One event and one list.
  EXPECT_EQ(checkRvas(L({"sa*sb(y1)=s0*x1;"})).messages, QStringList{msg(1, 2, 1, 7)});
  EXPECT_EQ(checkRvas(L({"sa|sb=s0*x1;"})).messages, (QStringList{msg(1, 2, 1, 7), msg(1, 3, 2, 23)}));
  EXPECT_EQ(checkRvas(L({"sa(y1)(y2)=s0*x1;"})).messages, QStringList{msg(1, 6, 1, 7)});
  // The output list closes before '=': its ')' on the right would be taken for another.
  EXPECT_EQ(checkRvas(L({"sa(y1=s0)*x1;"})).messages, (QStringList{msg(1, 5, 0, 13), msg(1, 8, 1, 12)}));
  // A brace on the left would hide that the right side does not start with the initial event.
  EXPECT_EQ(checkRvas(L({"sw{2s=x1*{x2}};"})).messages, QStringList{msg(1, 2, 1, 7)});
  EXPECT_TRUE(checkRvas(L({"sw(y1})=s0*x1;"})).messages.contains(msg(1, 5, 1, 7)));
  // A text that passes gives output functions that pass the СКУ check.
  const QStringList rvas = L({"sa(y1,Y2)=s0*x1;", "sb(y2)=s0*x2;"});
  ASSERT_TRUE(checkRvas(rvas).messages.isEmpty());
  EXPECT_TRUE(checkSku(rvasToSku(rvas)).messages.isEmpty()) << rvasToSku(rvas);
}

// The РВАС check reads comments, blanks and invisible characters as the СКУ check does.
TEST(CheckRvas, CommentsAndInvisibleCharacters) {
  QStringList withNull = L({"s1=s0*x1;"});
  withNull[0].insert(2, QChar(0));
  const struct {
    QStringList text;
    QStringList messages;
  } cases[] = {
      {L({"s1=s0*x1; /* {( ~~~", "~~~ */ s2=s0*x2; // ~~~ */"}), {}},
      {L({"/* a /* b */ s1=s0*x1;", "s2=s0*x2;"}), {msg(2, 0, 0, 8)}},
      {L({"/* a // b */", "s1=s0*x1;"}), {msg(2, 0, 0, 8)}},
      // A "*/" without an opening: both characters are checked as text.
      {L({"s1=s0*x1*/;"}), {msg(1, 9, 1, 5), msg(1, 9, 1, 7), msg(1, 9, 1, 9)}},
      {L({"s1=s0*x1\t;"}), {msg(1, 8, 1, 7)}},
      {withNull, {msg(1, 2, 1, 7)}},
  };
  for (const auto& c : cases) EXPECT_EQ(checkRvas(c.text).messages, c.messages) << c.text;
}

TEST(CheckRvas, SignalKinds) {
  // Several abstract signals follow each other as steps of a РВАС product.
  EXPECT_TRUE(checkRvas(L({"s1=s0*z1*z2;"})).messages.isEmpty());
  EXPECT_EQ(checkRvas(L({"s1=s0*Z1;"})).messages, QStringList{msg(1, 6, 1, 18)});
  EXPECT_EQ(checkRvas(L({"s1=s0*x1;", "s2=s0*{z1};"})).messages, QStringList{msg(2, 7, 1, 19)});
  EXPECT_EQ(checkRvas(L({"s1=s0*z1;", "s2=s0*x1;"})).messages, QStringList{msg(2, 6, 1, 18)});
}

TEST(CheckRvas, ManyFaultsAreAllListed) {
  const Checked c = checkRvas(L({"s1=s0*x1;", "s2=1;", "s3=s0*x1#;", "s4=s0*x1"}));
  EXPECT_TRUE(c.failed);
  EXPECT_EQ(c.errors, c.messages.size());
  EXPECT_GE(c.messages.size(), 3) << c.messages;
  EXPECT_TRUE(c.messages.contains(msg(2, 3, 1, 5))) << c.messages;
  EXPECT_TRUE(c.messages.contains(msg(3, 8, 1, 7))) << c.messages;
}

TEST(Checker, TooDeepNestingIsRefusedBeforeAnyConverterSeesIt) {
  const QString deepBraces =
      QStringLiteral("sw=s0*") + QString(12000, QLatin1Char('{')) + "x1" + QString(12000, QLatin1Char('}'));
  const QString deepBrackets = QStringLiteral("sw=s0*") + QString(20000, QLatin1Char('('));
  const QString atLimit = QStringLiteral("sw=s0*") + QString(vexo::kMaxNesting, QLatin1Char('(')) + "x1" +
                          QString(vexo::kMaxNesting, QLatin1Char(')'));
  // A chain of groups each opened after an operator: "s0*(x1*(x1*(...x2)))".
  auto chain = [](const char* open, const char* close) {
    QString t = QStringLiteral("s0");
    for (int k = 0; k < vexo::kMaxNesting + 1; ++k) t += QLatin1String("*") + open + "x1";
    t += "*x2";
    for (int k = 0; k < vexo::kMaxNesting + 1; ++k) t += QLatin1String(close);
    return t + ";";
  };
  const QString deep = TTesting::messageText(27);
  const struct {
    bool sku;
    QStringList text;
    bool refused;
  } cases[] = {
      {false, {deepBraces + ";"}, true},
      {false, {deepBrackets}, true},
      {true, {"sku:", "s1=s0*" + QString(20000, QLatin1Char('(')) + "x1;", "svf:"}, true},
      {false, {atLimit + ";"}, false},
      {false, {"sw=" + chain("(", ")")}, true},
      {false, {"sw=" + chain("{", "}")}, true},
      {true, {"sku:", "s1=" + chain("(", ")"), "svf:"}, true},
  };
  for (const auto& c : cases) {
    const Checked r = c.sku ? checkSku(c.text) : checkRvas(c.text);
    EXPECT_EQ(r.messages.filter(deep).size(), c.refused ? 1 : 0) << c.text.first().left(20);
    // The converters refuse the same texts with a message of their own, not a crash.
    QStringList out;
    TableData t;
    if (c.sku) {
      EXPECT_THROW(TSkuTbl(c.text, &t, DocSettings()).Convert(), VexoError);
    } else if (c.refused) {
      EXPECT_THROW(TRvasSku(c.text, &out, DocSettings()).Convert(), VexoError);
    }
  }
}
