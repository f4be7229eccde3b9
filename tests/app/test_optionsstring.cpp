#include <gtest/gtest.h>

#include "velmora/frameapi/optionsstring.h"

using namespace velmora;

using optstr::build;
using optstr::parse;
using optstr::split;

TEST(OptionString, DefaultStringGivesDesignValues) {
  const OptionValues v = parse(optstr::defaultString());
  EXPECT_EQ(v.letters, "zxyss");
  EXPECT_EQ(v.fontSize, "10");
  EXPECT_EQ(v.rvasS0, "s0");
  EXPECT_TRUE(v.autoNum);
  EXPECT_TRUE(v.trackFig);
  EXPECT_EQ(v.begName, "s0");
  EXPECT_EQ(v.begSignal, "y0");
  EXPECT_EQ(v.endName, "sk");
  EXPECT_EQ(v.endSignal, "yk");
  EXPECT_FALSE(v.abstractStates);
  EXPECT_FALSE(v.abstractInputs);
  EXPECT_FALSE(v.abstractOutputs);
  EXPECT_EQ(v.triggerType, 0);
  EXPECT_TRUE(v.autoReg);
  EXPECT_EQ(v, OptionValues());
  EXPECT_EQ(parse(QString()), OptionValues());
}

TEST(OptionString, SplitKeepsEmptyFieldsInPlace) {
  const QStringList f = split("zxyss&10&&11&s0&y0&sk&yk&0000&0&1");
  ASSERT_EQ(f.size(), 11);
  EXPECT_EQ(f[1], "10");
  EXPECT_EQ(f[2], "");
  EXPECT_EQ(f[3], "11");
  EXPECT_EQ(f[10], "1");
  // Short strings are padded, long ones cut after the eleventh field.
  EXPECT_EQ(split("abc").size(), 11);
  EXPECT_EQ(split("a&b&c&d&e&f&g&h&i&j&k&l&m").last(), "k");
}

TEST(OptionString, EmptyOrMalformedFieldTakesItsDefault) {
  // A string saved while the initial event name was empty: nothing moves.
  OptionValues v = parse("abcde&12&&01&b&by&e&ey&1111&2&0");
  EXPECT_EQ(v.letters, "abcde");
  EXPECT_EQ(v.fontSize, "12");
  EXPECT_EQ(v.rvasS0, "s0");
  EXPECT_FALSE(v.autoNum);
  EXPECT_TRUE(v.trackFig);
  EXPECT_EQ(v.begName, "b");
  EXPECT_EQ(v.endSignal, "ey");
  EXPECT_TRUE(v.abstractStates && v.abstractInputs && v.abstractOutputs);
  EXPECT_EQ(v.triggerType, 2);
  EXPECT_FALSE(v.autoReg);

  // Four letters, a font size that is no number, a bad trigger type: defaults.
  v = parse("zxys&1x&q0&1&&&&&00&9&");
  EXPECT_EQ(v.letters, "zxyss");
  EXPECT_EQ(v.fontSize, "10");
  EXPECT_EQ(v.rvasS0, "q0");
  EXPECT_TRUE(v.autoNum);  // field 3 of one character: both checked
  EXPECT_TRUE(v.trackFig);
  EXPECT_EQ(v.begName, "s0");
  EXPECT_EQ(v.begSignal, "y0");
  EXPECT_EQ(v.endName, "sk");
  EXPECT_EQ(v.endSignal, "yk");
  EXPECT_FALSE(v.abstractStates);  // field 8 of two characters: default
  EXPECT_EQ(v.triggerType, 0);
  EXPECT_TRUE(v.autoReg);  // empty field 10
  EXPECT_EQ(parse("zxyss&10&s0&11&s0&y0&sk&yk&0000&-1&1").triggerType, 0);
}

TEST(OptionString, CheckBoxFieldIsCheckedExactlyWhenNotZero) {
  EXPECT_FALSE(parse("zxyss&10&s0&00").autoNum);
  EXPECT_FALSE(parse("zxyss&10&s0&00").trackFig);
  OptionValues v = parse("zxyss&10&s0&10");
  EXPECT_TRUE(v.autoNum);
  EXPECT_FALSE(v.trackFig);
  v = parse("zxyss&10&s0&11&s0&y0&sk&yk&9x0a&0&0");
  EXPECT_TRUE(v.abstractStates);  // the first character is not read
  EXPECT_FALSE(v.abstractInputs);
  EXPECT_TRUE(v.abstractOutputs);
  EXPECT_FALSE(v.autoReg);
  EXPECT_TRUE(parse("zxyss&10&s0&11&s0&y0&sk&yk&0000&0&x").autoReg);
}

TEST(OptionString, BuildRoundTrips) {
  OptionValues d;
  EXPECT_EQ(build(d), "zxyss&10&s0&11&s0&y0&sk&yk&1000&0&1");
  EXPECT_EQ(parse(build(d)), d);

  OptionValues v;
  v.letters = "abcde";
  v.fontSize = "14";
  v.rvasS0 = "start";
  v.autoNum = false;
  v.trackFig = true;
  v.begName = "b0";
  v.begSignal = "w0";
  v.endName = "bk";
  v.endSignal = "wk";
  v.abstractStates = true;
  v.abstractInputs = false;
  v.abstractOutputs = true;
  v.triggerType = 3;
  v.autoReg = false;
  EXPECT_EQ(build(v), "abcde&14&start&01&b0&w0&bk&wk&1101&3&0");
  EXPECT_EQ(parse(build(v)), v);
}

TEST(OptionString, IsNumber) {
  EXPECT_TRUE(optstr::IsNumber(""));
  EXPECT_TRUE(optstr::IsNumber("0123456789"));
  EXPECT_FALSE(optstr::IsNumber("-1"));
  EXPECT_FALSE(optstr::IsNumber(" 1"));
  EXPECT_FALSE(optstr::IsNumber("1a"));
  EXPECT_FALSE(optstr::IsNumber(QString::fromUtf8("١")));  // digits of other scripts are not 0..9
}
