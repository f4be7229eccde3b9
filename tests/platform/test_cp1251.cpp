#include <gtest/gtest.h>

#include "platform/cp1251.h"

TEST(Cp1251, EveryByteRoundTrips) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(char(b));
  const QString text = cp1251::decode(all);
  ASSERT_EQ(text.size(), 256);
  QByteArray back;
  ASSERT_TRUE(cp1251::encode(text, &back));
  EXPECT_EQ(back, all);
}

TEST(Cp1251, CyrillicAndSpecials) {
  EXPECT_EQ(cp1251::decode(QByteArray("\xcf\xf0", 2)), QString::fromUtf8("Пр"));
  EXPECT_EQ(cp1251::decodeByte(0xA8), QChar(0x0401));  // Ё
  EXPECT_EQ(cp1251::decodeByte(0xB9), QChar(0x2116));  // №
  EXPECT_EQ(cp1251::encodeChar(QChar(0x0443)), 0xF3);  // у
}

TEST(Cp1251, UnmappableIsReportedAndNothingWritten) {
  QByteArray out("keep");
  int bad = -1;
  EXPECT_FALSE(cp1251::encode(QString::fromUtf8("ab€c✓"), &out, &bad));
  EXPECT_EQ(bad, 4);
  EXPECT_EQ(out, QByteArray("keep"));
  EXPECT_FALSE(cp1251::canEncode(QString::fromUtf8("中")));
}
