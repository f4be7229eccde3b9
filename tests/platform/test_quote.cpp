#include <gtest/gtest.h>

#include "platform/quote.h"

// A message shows at most a line's worth of the input, cut with "…", and every control
// character as a mark one can see; a pair of surrogates is never cut in two.
TEST(Quote, ExcerptIsShortAndVisible) {
  const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
  const struct {
    QString text;
    QString shown;
  } cases[] = {
      {"", ""},
      {QString::fromUtf8("у1&x2"), QString::fromUtf8("у1&x2")},
      {QString(60, 'a'), QString(60, 'a')},
      {QString(200000, '('), QString(60, '(') + QString::fromUtf8("…")},
      {QString::fromUtf8("a\tb\r\n\x01\x7f"), QString::fromUtf8("a␉b␍␊␁␡")},
      {QString(1, QChar(0)) + QChar(0x98), QString::fromUtf8("␀�")},
      {QString(59, 'a') + emoji, QString(59, 'a') + QString::fromUtf8("…")},
  };
  for (const auto& c : cases) EXPECT_EQ(quote::excerpt(c.text), c.shown) << c.text.left(80).toStdString();
  EXPECT_EQ(quote::quoted(QStringLiteral("R1")), QStringLiteral("\"R1\""));
}
