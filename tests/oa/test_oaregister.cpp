// Elements and the element array: widths, cutting, radices, bits, slices, shifts.
#include <gtest/gtest.h>

#include "velmora/oa/oaerrors.h"
#include "velmora/oa/oaregister.h"

using namespace velmora;

namespace {

TRegister reg(int width, quint8 kind = TRegister::Register, const QString& name = "R") {
  TRegister r;
  r.Define(width, kind, name);
  return r;
}

TRegister withValue(int width, qint32 v) {
  TRegister r = reg(width);
  r.SetValue(v);
  r.Commit();
  return r;
}

}  // namespace

TEST(TRegisterTest, NewElementHoldsZero) {
  TRegister r = reg(8, TRegister::Bus, "DI1");
  EXPECT_EQ(r.name(), "DI1");
  EXPECT_EQ(r.kind(), TRegister::Bus);
  EXPECT_EQ(r.width(), 8);
  EXPECT_EQ(r.GetValueText(2), "0");
  EXPECT_EQ(r.GetValueText(0), "00000000");
  EXPECT_EQ(r.pending(), 0);
}

TEST(TRegisterTest, SetValueCutsToWidth) {
  TRegister r4 = reg(4);
  r4.SetValue("20");
  EXPECT_EQ(r4.pending(), 4);
  EXPECT_EQ(r4.current(), 0) << "a register changes only at the commit";
  r4.Commit();
  EXPECT_EQ(r4.GetValueText(2), "4");

  TRegister r8 = reg(8);
  r8.SetValue("-1");
  EXPECT_EQ(r8.pending(), 255);
  TRegister r32 = reg(32);
  r32.SetValue("-1");
  EXPECT_EQ(r32.pending(), -1);
  TRegister r0 = reg(0);
  r0.SetValue("12345");
  EXPECT_EQ(r0.pending(), 0);
  r0.Commit();
  EXPECT_EQ(r0.GetValueText(0), "");
}

TEST(TRegisterTest, BusShowsUncutValueUntilCommit) {
  TRegister b = reg(4, TRegister::Bus);
  b.SetValue("20");
  EXPECT_EQ(b.pending(), 4);
  EXPECT_EQ(b.GetValueText(2), "20");
  EXPECT_EQ(b.GetValueText(0), "0100") << "the bit text is always width bits";
  b.Commit();
  EXPECT_EQ(b.GetValueText(2), "4");
}

TEST(TRegisterTest, SetValueRefusesNonNumbers) {
  TRegister r = reg(8);
  r.SetValue("7");
  EXPECT_THROW(r.SetValue("abc"), EOaConvertError);
  EXPECT_THROW(r.SetValue(""), EOaConvertError);
  EXPECT_THROW(r.SetValue("4294967296"), EOaConvertError);
  EXPECT_EQ(r.pending(), 7) << "a refused value changes nothing";
  r.SetValue(" -3 ");
  EXPECT_EQ(r.pending(), 253);
}

TEST(TRegisterTest, Radices) {
  EXPECT_EQ(withValue(8, 255).GetValueText(1), "FF");
  EXPECT_EQ(withValue(32, -1).GetValueText(1), "FFFFFFFF");
  EXPECT_EQ(withValue(8, 0).GetValueText(1), "0");
  EXPECT_EQ(withValue(3, 5).GetValueText(0), "101");
  EXPECT_EQ(withValue(6, 5).GetValueText(0), "000101");
  EXPECT_EQ(withValue(32, -2).GetValueText(0), "11111111111111111111111111111110");
  EXPECT_EQ(withValue(8, 5).GetValueText(7), "0");
  EXPECT_EQ(withValue(8, 5).GetValueText(-1), "0");
}

TEST(TRegisterTest, BitsAndSlices) {
  TRegister r = withValue(8, 179);  // 10110011
  EXPECT_EQ(r.Bit(0), 1);
  EXPECT_EQ(r.Bit(2), 0);
  EXPECT_EQ(r.Bit(7), 1);
  EXPECT_THROW(r.Bit(8), EOaRangeError);
  EXPECT_THROW(r.Bit(-1), EOaRangeError);
  EXPECT_EQ(r.Slice("7/4"), "1011");
  EXPECT_EQ(r.Slice("7\\4"), "1011");
  EXPECT_EQ(r.Slice("3/0"), "0011");
  EXPECT_EQ(r.Slice("4/7"), "");
  EXPECT_EQ(r.Slice("5/5"), "1");
  EXPECT_THROW(r.Slice("9/4"), EOaRangeError);
  EXPECT_THROW(r.Slice("x/4"), EOaConvertError);
  EXPECT_THROW(r.Slice("74"), EOaConvertError);
  EXPECT_THROW(reg(0).Bit(0), EOaRangeError);
}

TEST(TRegisterTest, TwoOperandValuesAreNotCut) {
  TRegister a = withValue(8, 200), b = withValue(8, 100);
  EXPECT_EQ(a.Add(b), "300");
  EXPECT_EQ(b.Subtract(a), "-100");
  EXPECT_EQ(a.And(b), QString::number(200 & 100));
  EXPECT_EQ(a.Or(b), QString::number(200 | 100));
  EXPECT_EQ(a.Xor(b), QString::number(200 ^ 100));
  TRegister big = withValue(32, 2147483647), one = withValue(32, 1);
  EXPECT_EQ(big.Add(one), "-2147483648") << "32-bit arithmetic wraps";
}

TEST(TOperAutoTest, BuildsFromBlockList) {
  TOperAuto oa({"reg:", "A[8]", "B[16]xyz", "mux:", "DI1[8]", "register", "C[0]"});
  ASSERT_EQ(oa.Count(), 4);
  EXPECT_EQ(oa.Element(0).name(), "A");
  EXPECT_EQ(oa.Element(1).width(), 16) << "text after ] is ignored";
  EXPECT_EQ(oa.Element(2).kind(), TRegister::Bus);
  EXPECT_EQ(oa.Element(3).kind(), TRegister::Register);
  EXPECT_EQ(oa.Element(3).width(), 0);
  EXPECT_EQ(oa.FindRegister("DI1"), 2);
  EXPECT_EQ(oa.FindRegister("di1"), -1) << "names compare case-sensitively";
  EXPECT_EQ(oa.FindRegister("Q"), -1);
  EXPECT_EQ(oa.Answer(), "");
  EXPECT_THROW(oa.Element(4), EOaRangeError);
  EXPECT_THROW(oa.GetRegisterValue("Q", 2), EOaNameError);
  EXPECT_EQ(oa.GetRegisterValue("A", 0), "00000000");
}

TEST(TOperAutoTest, HeadingsOnlyAsWritten) {
  EXPECT_EQ(TOperAuto({"reg", "A[1]", "mux", "B[2]"}).Element(1).kind(), TRegister::Bus);
  EXPECT_EQ(TOperAuto({"A[3]"}).Element(0).kind(), TRegister::Register)
      << "lines before any heading declare registers";
  EXPECT_THROW(TOperAuto({"Reg:", "A[8]"}), EOaConvertError);
  EXPECT_THROW(TOperAuto({"reg: ", "A[8]"}), EOaConvertError);
  EXPECT_THROW(TOperAuto({"reg:", ""}), EOaConvertError);
  EXPECT_THROW(TOperAuto({"reg:", "A[x]"}), EOaConvertError);
  EXPECT_THROW(TOperAuto({"reg:", "A[8"}), EOaConvertError);
}

TEST(TOperAutoTest, WidthsOutsideRangeAreRefused) {
  EXPECT_THROW(TOperAuto({"reg:", "A[33]"}), EOaRangeError);
  EXPECT_THROW(TOperAuto({"reg:", "A[-1]"}), EOaRangeError);
  EXPECT_NO_THROW(TOperAuto({"reg:", "A[32]", "B[0]"}));
  try {
    TOperAuto({"reg:", "A[8]", "Q[40]"});
    FAIL();
  } catch (const EOaRangeError& e) {
    EXPECT_TRUE(e.message().contains("Q[40]")) << e.message().toStdString();
    EXPECT_TRUE(e.message().contains("0..32"));
  }
}

TEST(TOperAutoTest, ShiftsAndRotations) {
  TOperAuto oa({"reg:", "A[4]", "B[32]", "C[8]"});
  oa.Element(0).SetValue(9);  // 1001
  oa.Element(1).SetValue(-8);
  oa.Element(2).SetValue(3);
  for (int i = 0; i < oa.Count(); ++i) oa.Element(i).Commit();
  EXPECT_EQ(oa.ArithRight(0, 1), "12");
  EXPECT_EQ(oa.RotateLeft(0, 1), "3");
  EXPECT_EQ(oa.RotateRight(0, 1), "12");
  EXPECT_EQ(oa.RotateLeft(0, 4), "9");
  EXPECT_EQ(oa.RotateLeft(0, 5), "3");
  EXPECT_EQ(oa.ArithRight(0, 10), "15");
  EXPECT_EQ(oa.ArithRight(0, 0), "9");
  EXPECT_EQ(oa.RotateRight(0, -2), "9");
  EXPECT_EQ(oa.ShiftRight(1, 1), "2147483644");
  EXPECT_EQ(oa.ShiftLeft(2, 33), oa.ShiftLeft(2, 1));
  EXPECT_EQ(oa.ShiftLeft(2, 1), "6");
  EXPECT_EQ(oa.ArithLeft(2, 2), "12");
  EXPECT_EQ(oa.ShiftLeft(2, 0), "3");
  EXPECT_EQ(oa.ShiftLeft(2, 30), "-1073741824") << "the left shift works on 32 bits, uncut";
  EXPECT_EQ(oa.ArithRight(1, 1), "-4");
  EXPECT_EQ(oa.RotateRight(1, 3), QString::number(qint32(0x1FFFFFFF)));
}

TEST(TOperAutoTest, SmallOperations) {
  TOperAuto oa({"reg:", "A[8]", "B[32]"});
  oa.Element(0).SetValue(179);
  oa.Element(1).SetValue(2147483647);
  oa.Element(0).Commit();
  oa.Element(1).Commit();
  EXPECT_TRUE(oa.BitIsOne(0, 0));
  EXPECT_FALSE(oa.BitIsOne(0, 2));
  EXPECT_THROW(oa.BitIsOne(0, 8), EOaRangeError);
  EXPECT_EQ(oa.Increment(0), "180");
  EXPECT_EQ(oa.Decrement(0), "178");
  EXPECT_EQ(oa.Increment(1), "-2147483648");
  EXPECT_EQ(oa.Not(0), "-180");
  EXPECT_EQ(oa.NotBit(0, 0), "0");
  EXPECT_EQ(oa.NotBit(0, 2), "1");
  EXPECT_EQ(oa.NotSlice(0, "7/4"), "-12");
  EXPECT_EQ(TOperAuto::BinToDec("1011"), 11);
  EXPECT_EQ(TOperAuto::BinToDec(""), 0);
  EXPECT_EQ(TOperAuto::BinToDec("11111111111111111111111111111111"), -1);
  EXPECT_THROW(TOperAuto::BinToDec("102"), EOaConvertError);
  EXPECT_THROW(oa.Increment(2), EOaRangeError);
}
