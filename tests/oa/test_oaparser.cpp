// The reading of microoperations, conditions and step inputs, as the model and the designer's
// checks share it.
#include <gtest/gtest.h>

#include <climits>

#include "velmora/oa/oaerrors.h"
#include "velmora/oa/oaparser.h"

using namespace velmora;

using namespace oa;

TEST(OaParserTest, SplitInput) {
  EXPECT_EQ(splitInput("y1"), QStringList({"y1"}));
  EXPECT_EQ(splitInput("y1&y2"), QStringList({"y1", "y2"}));
  EXPECT_EQ(splitInput("y1,,y2"), QStringList({"y1", ",y2"}));
  for (QChar sep : QString(",&*;-+%#@"))
    EXPECT_EQ(splitInput(QString("a") + sep + "b"), QStringList({"a", "b"})) << QString(sep).toStdString();
  EXPECT_EQ(splitInput("y1&"), QStringList({"y1"})) << "a trailing separator reads nothing further";
  EXPECT_EQ(splitInput("&"), QStringList({""}));
  EXPECT_EQ(splitInput(""), QStringList());
  EXPECT_EQ(splitInput("y1 & y2"), QStringList({"y1 ", " y2"})) << "blanks are kept";
}

TEST(OaParserTest, Decimal) {
  qint32 v = 0;
  EXPECT_TRUE(toInt32(QString(" -12 "), &v));
  EXPECT_EQ(v, -12);
  EXPECT_TRUE(toInt32(QString("2147483647"), &v));
  EXPECT_TRUE(toInt32(QString("-2147483648"), &v));
  EXPECT_EQ(v, INT_MIN);
  EXPECT_FALSE(toInt32(QString("2147483648"), &v));
  EXPECT_FALSE(toInt32(QString("99999999999999999999"), &v));
  EXPECT_FALSE(toInt32(QString(""), &v));
  EXPECT_FALSE(toInt32(QString("-"), &v));
  EXPECT_FALSE(toInt32(QString("1a"), &v));
  EXPECT_THROW(decimalValue(QString("x"), "ширина"), EOaConvertError);
}

TEST(OaParserTest, ShiftFunctionNames) {
  EXPECT_EQ(shiftFunction("sl"), ShiftFn::ShiftLeft);
  EXPECT_EQ(shiftFunction("SL"), ShiftFn::ShiftLeft);
  EXPECT_EQ(shiftFunction("LS"), ShiftFn::ShiftLeft);
  EXPECT_EQ(shiftFunction("Srx"), ShiftFn::ShiftRight);
  EXPECT_EQ(shiftFunction("rs"), ShiftFn::ShiftRight);
  EXPECT_EQ(shiftFunction("al"), ShiftFn::ArithLeft);
  EXPECT_EQ(shiftFunction("AR"), ShiftFn::ArithRight);
  EXPECT_EQ(shiftFunction("lc"), ShiftFn::RotateLeft);
  EXPECT_EQ(shiftFunction("rC"), ShiftFn::RotateRight);
  EXPECT_EQ(shiftFunction("XY"), ShiftFn::None);
  EXPECT_EQ(shiftFunction("s"), ShiftFn::None);
}

TEST(OaParserTest, SimpleAssignments) {
  Microoperation m = parseMicrooperation("A:=200");
  EXPECT_EQ(m.destination, "A");
  EXPECT_FALSE(m.bits);
  EXPECT_EQ(m.expr.form, Expression::Single);
  EXPECT_EQ(m.expr.left.kind, Operand::Literal);
  EXPECT_EQ(m.expr.left.digits, "200");
  EXPECT_EQ(m.names(), QStringList({"A"}));

  m = parseMicrooperation("B=!C");  // a text without ":" before "=" serves as well
  EXPECT_EQ(m.destination, "B");
  EXPECT_EQ(m.expr.left.kind, Operand::Element);
  EXPECT_TRUE(m.expr.left.complement);
  EXPECT_EQ(m.names(), QStringList({"B", "C"}));

  m = parseMicrooperation("B:=C[3]");
  EXPECT_EQ(m.expr.left.kind, Operand::Bit);
  EXPECT_EQ(m.expr.left.bit, 3);
  m = parseMicrooperation("B:=C[7/4]");
  EXPECT_EQ(m.expr.left.kind, Operand::Slice);
  EXPECT_EQ(m.expr.left.high, 7);
  EXPECT_EQ(m.expr.left.low, 4);
  m = parseMicrooperation("B:=!C[7\\4]");
  EXPECT_EQ(m.expr.left.kind, Operand::Slice);
  EXPECT_TRUE(m.expr.left.complement);
}

TEST(OaParserTest, BitDestinations) {
  Microoperation m = parseMicrooperation("C[0]:=1");
  EXPECT_TRUE(m.bits);
  EXPECT_EQ(m.destination, "C");
  EXPECT_EQ(m.low, 0);
  EXPECT_EQ(m.high, 0);
  m = parseMicrooperation("R[3/0]:=0001");
  EXPECT_EQ(m.high, 3);
  EXPECT_EQ(m.low, 0);
  EXPECT_EQ(m.expr.left.digits, "0001");
  m = parseMicrooperation("R[x]:=1");
  EXPECT_EQ(m.low, 0) << "bit numbers of a destination are read leniently";
  // What follows the "]" of a destination is not read: a blank before ":=" is harmless here.
  m = parseMicrooperation("R[3] :=1");
  EXPECT_TRUE(m.bits);
  EXPECT_EQ(m.destination, "R");
  EXPECT_EQ(m.high, 3);
  EXPECT_EQ(m.low, 3);
  m = parseMicrooperation("R[3/1]x:=101");
  EXPECT_EQ(m.destination, "R");
  EXPECT_EQ(m.high, 3);
  EXPECT_EQ(m.low, 1);
  m = parseMicrooperation("R[3\\0]:=0001");
  EXPECT_EQ(m.high, 3) << "a backslash separates the bounds as in a slice operand";
  EXPECT_EQ(m.low, 0);
  EXPECT_THROW(parseMicrooperation("R[3 :=1"), EOaSyntaxError);
}

TEST(OaParserTest, TwoOperandForms) {
  Microoperation m = parseMicrooperation("A:=A+1");
  EXPECT_EQ(m.expr.form, Expression::Step);
  EXPECT_EQ(m.expr.op, QChar('+'));
  m = parseMicrooperation("A:=A-1");
  EXPECT_EQ(m.expr.form, Expression::Step);
  EXPECT_EQ(m.expr.op, QChar('-'));

  m = parseMicrooperation("R1:=R2+R3+1");
  EXPECT_EQ(m.expr.form, Expression::Binary);
  EXPECT_EQ(m.expr.left.name, "R2");
  EXPECT_EQ(m.expr.right.name, "R3");
  EXPECT_EQ(m.expr.adjust, 1);
  m = parseMicrooperation("R1:=R2+R3+7");
  EXPECT_EQ(m.expr.adjust, 1) << "whatever follows the second sign, it counts as 1";
  m = parseMicrooperation("R1:=R2-R3-1");
  EXPECT_EQ(m.expr.op, QChar('-'));
  EXPECT_EQ(m.expr.adjust, -1);
  m = parseMicrooperation("R1:=R2&R3");
  EXPECT_EQ(m.expr.op, QChar('&'));
  EXPECT_EQ(m.expr.adjust, 0);
  EXPECT_EQ(m.names(), QStringList({"R1", "R2", "R3"}));
  m = parseMicrooperation("R1:=R2%5");
  EXPECT_EQ(m.expr.right.kind, Operand::Literal);
  EXPECT_EQ(m.names(), QStringList({"R1", "R2"}));
}

TEST(OaParserTest, Calls) {
  Microoperation m = parseMicrooperation("R1:=sl(R2,1)");
  EXPECT_EQ(m.expr.form, Expression::Call);
  EXPECT_EQ(m.expr.function, "sl");
  EXPECT_EQ(m.expr.shift, ShiftFn::ShiftLeft);
  EXPECT_EQ(m.expr.left.name, "R2");
  EXPECT_EQ(m.expr.count, 1);
  EXPECT_EQ(m.names(), QStringList({"R1", "R2"}));
  m = parseMicrooperation("R1:=XY(R2, 3)");
  EXPECT_EQ(m.expr.shift, ShiftFn::None);
  EXPECT_EQ(m.expr.count, 3);
  m = parseMicrooperation("R1:=rc(R2,x)");
  EXPECT_EQ(m.expr.count, 0) << "the count is read leniently";
  EXPECT_THROW(parseMicrooperation("R1:=sl(R2)"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("R1:=sl(R2,1"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("R1:=sl(,1)"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("R1:=R2,1"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("R1:=sl(R2,1)+B"), EOaSyntaxError);
}

TEST(OaParserTest, MalformedLines) {
  EXPECT_THROW(parseMicrooperation("LS(A,1)"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("A:="), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation(":=5"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("[0]:=5"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("A[0:=1"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("A:=B[3"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("A:=-5"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("A:=B++C"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("A:=!"), EOaSyntaxError);
  EXPECT_THROW(parseMicrooperation("A:=B[x/1]"), EOaConvertError);
  EXPECT_THROW(parseMicrooperation("   "), EOaSyntaxError);
  EXPECT_TRUE(isBlankLine("  "));
  EXPECT_FALSE(isBlankLine(" a"));
  // Nothing is trimmed: the blank belongs to the name.
  EXPECT_EQ(parseMicrooperation("A :=B").destination, "A ");
}

TEST(OaParserTest, Conditions) {
  Condition c = parseCondition("A[7]");
  EXPECT_EQ(c.mode, Condition::Single);
  ASSERT_EQ(c.terms.size(), 1);
  EXPECT_EQ(c.terms[0].name, "A");
  EXPECT_EQ(c.terms[0].bit, 7);

  c = parseCondition("B[0]&B[1]");
  EXPECT_EQ(c.mode, Condition::AnyOf);
  EXPECT_EQ(c.names(), QStringList({"B", "B"}));
  c = parseCondition("B[0]|C[1]");
  EXPECT_EQ(c.mode, Condition::AllOf);
  EXPECT_EQ(c.names(), QStringList({"B", "C"}));
  c = parseCondition("B[0]&");
  ASSERT_EQ(c.terms.size(), 2);
  EXPECT_TRUE(c.terms[1].empty());
  EXPECT_TRUE(parseCondition("").terms.isEmpty());

  EXPECT_THROW(parseCondition("A[0]&B[1]|C[2]"), EOaSyntaxError);
  EXPECT_THROW(parseCondition("A"), EOaSyntaxError);
  EXPECT_THROW(parseCondition("A[0"), EOaSyntaxError);
  EXPECT_THROW(parseCondition("A[0]x"), EOaSyntaxError);
  EXPECT_THROW(parseCondition("A[x]"), EOaConvertError);
  EXPECT_THROW(parseCondition("A[]"), EOaConvertError);
}
