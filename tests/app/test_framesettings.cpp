#include <gtest/gtest.h>

#include "platform/parseint.h"
#include "velmora/frameapi/framesettings.h"

using namespace velmora;

using namespace framesettings;

TEST(FrameState, MaxAndFourValues) {
  EXPECT_TRUE(parseState("max").maximized);
  EXPECT_EQ(buildState(true, 1, 2, 3, 4), "max");
  EXPECT_EQ(buildState(false, 400, 700, 10, 20), "400&700&10&20&");
  const StateValues s = parseState("400&700&10&20&");
  EXPECT_FALSE(s.maximized);
  ASSERT_TRUE(s.values[0] && s.values[1] && s.values[2] && s.values[3]);
  EXPECT_EQ(*s.values[0], 400);
  EXPECT_EQ(*s.values[1], 700);
  EXPECT_EQ(*s.values[2], 10);
  EXPECT_EQ(*s.values[3], 20);
  EXPECT_EQ(*parseState("1&2&-30&4&").values[2], -30);
}

TEST(FrameState, CorruptValuesAreSkippedOneByOne) {
  const StateValues s = parseState("abc&700&&20&99&");
  EXPECT_FALSE(s.values[0]);
  EXPECT_EQ(*s.values[1], 700);
  EXPECT_FALSE(s.values[2]);
  EXPECT_EQ(*s.values[3], 20);
  // A value not closed by '&' is not taken.
  const StateValues t = parseState("400&700&10&20");
  EXPECT_TRUE(t.values[2]);
  EXPECT_FALSE(t.values[3]);
  EXPECT_FALSE(parseState("").values[0]);
  EXPECT_FALSE(parseState("99999999999999&").values[0]);
}

TEST(FramePanels, ShortTextIgnoredAndEightFlagsOnly) {
  EXPECT_FALSE(parsePanels("1111111").hasFlags);
  EXPECT_FALSE(parsePanels("").hasFlags);
  const PanelValues p = parsePanels("01100001");
  ASSERT_TRUE(p.hasFlags);
  EXPECT_FALSE(p.autoShow);
  const std::array<bool, 7> expect = {true, true, false, false, false, false, true};
  EXPECT_EQ(p.visible, expect);
  for (const auto& v : p.positions) EXPECT_FALSE(v);
  EXPECT_TRUE(parsePanels("x0000000").autoShow);  // any character but '0' is on
}

TEST(FramePanels, AllSixteenPositionsRoundTrip) {
  std::array<int, 16> pos;
  for (int i = 0; i < 16; ++i) pos[i] = 100 + 7 * i;
  const std::array<bool, 7> vis = {true, false, true, false, true, false, true};
  const QString text = buildPanels(true, vis, pos);
  EXPECT_TRUE(text.startsWith("11010101,100,107,"));
  EXPECT_FALSE(text.endsWith(","));
  const PanelValues p = parsePanels(text);
  EXPECT_TRUE(p.autoShow);
  EXPECT_EQ(p.visible, vis);
  for (int i = 0; i < 16; ++i) {
    ASSERT_TRUE(p.positions[i]) << i;
    EXPECT_EQ(*p.positions[i], pos[i]) << i;
  }
}

TEST(FramePanels, NonDigitValuesSkippedButCounted) {
  const PanelValues p = parsePanels("11000000,5,-3, 7,,x,9");
  EXPECT_EQ(*p.positions[0], 5);
  EXPECT_FALSE(p.positions[1]);
  EXPECT_FALSE(p.positions[2]);
  EXPECT_FALSE(p.positions[3]);
  EXPECT_FALSE(p.positions[4]);
  EXPECT_EQ(*p.positions[5], 9);
  // The ninth character is skipped whatever it is; a seventeenth value is dropped.
  QString many = "11000000;1";
  for (int i = 2; i <= 17; ++i) many += "," + QString::number(i);
  const PanelValues q = parsePanels(many);
  EXPECT_EQ(*q.positions[0], 1);
  EXPECT_EQ(*q.positions[15], 16);
  EXPECT_FALSE(parsePanels("11000000,").positions[0]);
}

TEST(FrameHelp, HelpFileBesideStartDirectory) {
  EXPECT_EQ(helpFileFor("/"), "/Vexo.hlp");
  EXPECT_EQ(helpFileFor("/home/user/vexo"), "/home/user/vexo/Vexo.hlp");
  EXPECT_EQ(helpFileFor("C:\\"), "C:\\Vexo.hlp");
  EXPECT_EQ(helpFileFor(""), "");
}

TEST(ParseIntFrame, AcceptanceExamples) {
  EXPECT_EQ(ParseInt("  +12pt"), 12);
  EXPECT_EQ(ParseInt("abc"), 0);
  EXPECT_EQ(ParseInt("-7x"), -7);
  EXPECT_EQ(ParseInt("12pt"), 12);
}
