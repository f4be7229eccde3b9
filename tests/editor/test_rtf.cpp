#include <gtest/gtest.h>

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/rtf.h"

namespace {

rtf::Run run(const QString& text, bool bold = false) {
  rtf::Run r;
  r.text = text;
  r.format.font = QStringLiteral("Arial");
  r.format.halfPoints = 20;
  r.format.bold = bold;
  return r;
}

rtf::Document oneParagraph(const QList<rtf::Run>& runs, rtf::Align align = rtf::AlignLeft) {
  rtf::Document d;
  rtf::Paragraph p;
  p.align = align;
  p.runs = runs;
  d.paragraphs << p;
  return d;
}

}  // namespace

// ---- writing -------------------------------------------------------------------------------

TEST(RtfWrite, CyrillicIsEscapedAsCodePage1251Bytes) {
  const QByteArray out = rtf::write(oneParagraph({run(QStringLiteral("Привет"), true)}, rtf::AlignCenter));
  EXPECT_TRUE(out.startsWith("{\\rtf1\\ansi\\ansicpg1251"));
  EXPECT_TRUE(out.contains("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2"));
  EXPECT_TRUE(out.contains("\\fcharset204 Arial;"));
  EXPECT_TRUE(out.contains("\\qc"));
  EXPECT_TRUE(out.contains("\\b"));
  EXPECT_TRUE(out.trimmed().endsWith('}'));
}

TEST(RtfWrite, SpecialCharactersTabsAndCharactersOutside1251) {
  const QByteArray out = rtf::write(oneParagraph(
      {run(QStringLiteral("a\\b{c}d\te") + QChar(0x2028) + QStringLiteral("f") + QChar(0x4E2D))}));
  EXPECT_TRUE(out.contains("a\\\\b\\{c\\}d\\tab e\\line f\\u20013?"));
  // 0x4E2D as a signed 16-bit number is positive; one above 0x7FFF is written negative.
  const QByteArray high = rtf::write(oneParagraph({run(QString(QChar(0xFB01)))}));
  EXPECT_TRUE(high.contains("\\u-1279?"));
}

TEST(RtfWrite, ParagraphSeparatorsAndColourTable) {
  rtf::Document d = oneParagraph({run(QStringLiteral("one"))});
  rtf::Paragraph second;
  rtf::Run blue = run(QStringLiteral("two"));
  blue.format.hasColor = true;
  blue.format.color = qRgb(0, 0, 255);
  second.runs << blue;
  second.tabs << 100 << 250;
  d.paragraphs << second;
  const QByteArray out = rtf::write(d);
  EXPECT_EQ(out.count("\\par"), 4);  // "\pard" and "\par" for each paragraph
  EXPECT_EQ(out.count("\\par\r\n"), 2);
  EXPECT_TRUE(out.endsWith("\\par\r\n}\r\n"));
  EXPECT_TRUE(out.contains("{\\colortbl ;\\red0\\green0\\blue255;}"));
  EXPECT_TRUE(out.contains("\\cf1"));
  EXPECT_TRUE(out.contains("\\tx100\\tx250"));
}

// ---- round trips ---------------------------------------------------------------------------

TEST(RtfRoundTrip, ModelSurvivesWriteAndRead) {
  rtf::Document d;
  rtf::Paragraph p1;
  p1.align = rtf::AlignRight;
  p1.tabs = {140, 300, 1480};
  p1.runs << run(QStringLiteral("Таблица: "), false) << run(QStringLiteral("cpu"), true);
  p1.runs[0].format.hasColor = true;
  p1.runs[0].format.color = qRgb(0, 0, 255);
  rtf::Paragraph p2;
  rtf::Run it = run(QStringLiteral(" лидирующий пробел\tи {скобки} \\ ") + QChar(0x263A));
  it.format.italic = true;
  it.format.underline = true;
  it.format.font = QStringLiteral("Vexo font");
  it.format.halfPoints = 27;
  p2.runs << it;
  rtf::Paragraph empty;
  d.paragraphs << p1 << empty << p2 << empty;  // an empty last line is kept too
  const rtf::Document back = rtf::read(rtf::write(d));
  ASSERT_EQ(back.paragraphs.size(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(back.paragraphs[i].align, d.paragraphs[i].align) << i;
    EXPECT_EQ(back.paragraphs[i].tabs, d.paragraphs[i].tabs) << i;
    ASSERT_EQ(back.paragraphs[i].runs.size(), d.paragraphs[i].runs.size()) << i;
    for (int j = 0; j < d.paragraphs[i].runs.size(); ++j) {
      EXPECT_EQ(back.paragraphs[i].runs[j].text, d.paragraphs[i].runs[j].text);
      EXPECT_TRUE(back.paragraphs[i].runs[j].format == d.paragraphs[i].runs[j].format) << i << "," << j;
    }
  }
}

TEST(RtfRoundTrip, BoldCentredCyrillicThroughTextDocument) {
  QTextDocument doc;
  QTextCursor c(&doc);
  QTextBlockFormat bf;
  bf.setAlignment(Qt::AlignHCenter);
  c.setBlockFormat(bf);
  QTextCharFormat cf;
  cf.setFontWeight(QFont::Bold);
  c.insertText(QStringLiteral("Привет"), cf);
  const QByteArray bytes = rtf::write(rtf::fromTextDocument(doc));
  EXPECT_TRUE(bytes.contains("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2"));

  QTextDocument back;
  rtf::toTextDocument(rtf::read(bytes), &back);
  EXPECT_EQ(back.toPlainText(), QStringLiteral("Привет"));
  const QTextBlock b = back.begin();
  EXPECT_TRUE(b.blockFormat().alignment() & Qt::AlignHCenter);
  QTextCursor rc(&back);
  rc.setPosition(3);
  EXPECT_EQ(rc.charFormat().fontWeight(), QFont::Bold);
  EXPECT_FALSE(back.isModified());
}

TEST(RtfRoundTrip, TabStopsAndFontsThroughTextDocument) {
  QTextDocument doc;
  doc.setDefaultFont(QFont(QStringLiteral("Vexo font"), 11));
  QTextCursor c(&doc);
  QTextBlockFormat bf;
  bf.setTabPositions({QTextOption::Tab(rtf::twipsToPixels(1480), QTextOption::LeftTab),
                      QTextOption::Tab(rtf::twipsToPixels(2000), QTextOption::LeftTab)});
  c.setBlockFormat(bf);
  c.insertText(QStringLiteral("a\tb\tc"));
  c.insertBlock();
  QTextCharFormat red;
  red.setForeground(QColor(255, 0, 0));
  red.setFontItalic(true);
  c.insertText(QStringLiteral("second"), red);
  const rtf::Document m = rtf::fromTextDocument(doc);
  ASSERT_EQ(m.paragraphs.size(), 2);
  EXPECT_EQ(m.paragraphs[0].tabs, (QList<int>{1480, 2000}));
  EXPECT_EQ(m.paragraphs[0].runs[0].format.font, QStringLiteral("Vexo font"));
  EXPECT_EQ(m.paragraphs[0].runs[0].format.halfPoints, 22);

  QTextDocument back;
  rtf::toTextDocument(rtf::read(rtf::write(m)), &back);
  EXPECT_EQ(back.toPlainText(), QStringLiteral("a\tb\tc\nsecond"));
  const QList<QTextOption::Tab> tabs = back.begin().blockFormat().tabPositions();
  ASSERT_EQ(tabs.size(), 2);
  EXPECT_EQ(rtf::pixelsToTwips(tabs[1].position), 2000);
  QTextCursor rc(&back);
  rc.setPosition(back.begin().next().position() + 2);
  EXPECT_EQ(rc.charFormat().foreground().color(), QColor(255, 0, 0));
  EXPECT_TRUE(rc.charFormat().fontItalic());
}

// ---- reading what others write -------------------------------------------------------------

TEST(RtfRead, SkipsUnknownWordsAndIgnorableDestinations) {
  const QByteArray in =
      "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204{\\*\\panose 020b}Arial;}"
      "{\\f1\\froman\\fcharset0 Times New Roman;}}"
      "{\\stylesheet{\\s0 Normal;}}{\\info{\\author X}}{\\*\\generator Writer;}"
      "\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1\\lang1049\\f0\\fs22 "
      "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2{\\*\\unknowndest hidden}{\\pict\\wmetafile8 0102abcdef}"
      " \\f1 caf\\'e9\\par\r\n}";
  const rtf::Document d = rtf::read(in);
  ASSERT_EQ(d.paragraphs.size(), 1);  // the closing \par ends the paragraph, opens none
  EXPECT_EQ(d.paragraphs[0].text(), QStringLiteral("Привет café"));
  EXPECT_EQ(d.paragraphs[0].runs[0].format.font, QStringLiteral("Arial"));
  EXPECT_EQ(d.paragraphs[0].runs[0].format.halfPoints, 22);
  EXPECT_EQ(d.paragraphs[0].runs.last().format.font, QStringLiteral("Times New Roman"));
}

TEST(RtfRead, OnlyTheMarkThatEndsTheTextOpensNoParagraph) {
  EXPECT_EQ(rtf::read("{\\rtf1 abc\\par\r\n}").paragraphs.size(), 1);
  EXPECT_EQ(rtf::read("{\\rtf1 abc\\par\\pard\\qc }").paragraphs.size(), 1);
  EXPECT_EQ(rtf::read("{\\rtf1 abc\\par \\par}").plainText(), QStringLiteral("abc\n"));
  EXPECT_EQ(rtf::read("{\\rtf1 \\par}").plainText(), QString());
  EXPECT_EQ(rtf::read("{\\rtf1 \\par}").paragraphs.size(), 1);
  EXPECT_EQ(rtf::read("{\\rtf1 abc\\par }").plainText(), QStringLiteral("abc"));
  // A last paragraph without its own mark is read all the same.
  EXPECT_EQ(rtf::read("{\\rtf1 abc\\par def}").plainText(), QStringLiteral("abc\ndef"));
}

TEST(RtfRead, UnicodeEscapesDropTheirFallbackCharacters) {
  EXPECT_EQ(rtf::read("{\\rtf1 \\uc1\\u1055?\\u-1279?x}").plainText(),
            QStringLiteral("П") + QChar(0xFB01) + "x");
  EXPECT_EQ(rtf::read("{\\rtf1 \\uc2\\u1055\\'3f\\'3fy}").plainText(), QStringLiteral("Пy"));
  EXPECT_EQ(rtf::read("{\\rtf1 \\uc0\\u1055 z}").plainText(), QStringLiteral("Пz"));
  // A group end stops the skipping.
  EXPECT_EQ(rtf::read("{\\rtf1 {\\uc3\\u1055}ab}").plainText(), QStringLiteral("Пab"));
}

TEST(RtfRead, FieldsKeepTheirResultOnly) {
  const QByteArray in = "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt shown}} after}";
  EXPECT_EQ(rtf::read(in).plainText(), QStringLiteral("shown after"));
}

TEST(RtfRead, BinaryDataIsSkipped) {
  QByteArray in = "{\\rtf1 a{\\*\\blob\\bin5 }{}\\x}b}";
  EXPECT_EQ(rtf::read(in).plainText(), QStringLiteral("ab"));
  in = "{\\rtf1 a\\bin999999999 zzz}";
  EXPECT_EQ(rtf::read(in).plainText(), QStringLiteral("a"));
}

TEST(RtfRead, PropertiesFollowGroupsAndPlainResets) {
  const rtf::Document d = rtf::read("{\\rtf1 {\\b bold {\\i both}} \\ul under\\ul0  \\b x\\plain y}");
  ASSERT_EQ(d.paragraphs.size(), 1);
  const QList<rtf::Run>& r = d.paragraphs[0].runs;
  ASSERT_GE(r.size(), 5);
  EXPECT_EQ(r[0].text, QStringLiteral("bold "));
  EXPECT_TRUE(r[0].format.bold);
  EXPECT_EQ(r[1].text, QStringLiteral("both"));
  EXPECT_TRUE(r[1].format.bold && r[1].format.italic);
  EXPECT_FALSE(r[2].format.bold);
  EXPECT_EQ(r.last().text, QStringLiteral("y"));
  EXPECT_FALSE(r.last().format.bold);
  EXPECT_FALSE(r.last().format.underline);
}

TEST(RtfRead, ParagraphPropertiesAndPardReset) {
  const rtf::Document d = rtf::read("{\\rtf1\\pard\\qr\\tx500 one\\par two\\par\\pard three}");
  ASSERT_EQ(d.paragraphs.size(), 3);
  EXPECT_EQ(d.paragraphs[0].align, rtf::AlignRight);
  EXPECT_EQ(d.paragraphs[1].align, rtf::AlignRight);
  EXPECT_EQ(d.paragraphs[1].tabs, QList<int>{500});
  EXPECT_EQ(d.paragraphs[2].align, rtf::AlignLeft);
  EXPECT_TRUE(d.paragraphs[2].tabs.isEmpty());
}

TEST(RtfRead, ColourTableWithAutomaticEntry) {
  const rtf::Document d =
      rtf::read("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\\cf2 g\\cf0 a\\cf9 b}");
  const QList<rtf::Run>& r = d.paragraphs[0].runs;
  ASSERT_EQ(r.size(), 2);
  EXPECT_TRUE(r[0].format.hasColor);
  EXPECT_EQ(r[0].format.color, qRgb(0, 128, 0));
  EXPECT_FALSE(r[1].format.hasColor);  // \cf0 and an index past the table are the default
  EXPECT_EQ(r[1].text, QStringLiteral("ab"));
}

TEST(RtfRead, MalformedInputGivesWhatCanBeRead) {
  EXPECT_EQ(rtf::read("").paragraphs.size(), 1);
  EXPECT_EQ(rtf::read("{\\rtf1 abc").plainText(), QStringLiteral("abc"));         // never closed
  EXPECT_EQ(rtf::read("{\\rtf1 a}} trailing").plainText(), QStringLiteral("a"));  // after the end
  EXPECT_EQ(rtf::read("{\\rtf1 x\\'4").plainText(), QStringLiteral("x"));         // cut escape
  EXPECT_EQ(rtf::read("{\\rtf1 x\\'zz y}").plainText(), QStringLiteral("xzz y"));
  EXPECT_EQ(rtf::read("{\\rtf1 x\\").plainText(), QStringLiteral("x"));
  EXPECT_EQ(rtf::read("{\\rtf1 \\fs99999999999999999999 x\\f-5 y\\u99999999999 }").plainText().left(2),
            QStringLiteral("xy"));
  EXPECT_EQ(rtf::read("{\\rtf1 \\abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz z}").plainText(),
            QStringLiteral("z"));
}

// Groups nested past the reader's limit keep their text, in the format of the group at the
// limit; what would change that format is passed over, ignorable destinations are still dropped.
TEST(RtfRead, TextOfVeryDeepGroupsIsKept) {
  const struct {
    QByteArray inner;
    const char* text;
  } cases[] = {
      {"kept", "akeptb"},
      {"\\b x\\par y", "ax\nyb"},
      {"{\\*\\unknown dropped}z{\\info dropped}", "azb"},
      {"{\\fonttbl{\\f0 Arial;}}t", "atb"},
      {"\\u1046?w", "a\u0416wb"},
  };
  for (const auto& c : cases) {
    QByteArray deep = "{\\rtf1\\i a";
    deep += QByteArray(5000, '{') + c.inner + QByteArray(5000, '}') + "b}";
    const rtf::Document d = rtf::read(deep);
    EXPECT_EQ(d.plainText(), QString::fromUtf8(c.text)) << c.inner.constData();
    for (const rtf::Paragraph& p : d.paragraphs)
      for (const rtf::Run& r : p.runs) EXPECT_TRUE(r.format.italic && !r.format.bold) << c.inner.constData();
  }
}

TEST(RtfRead, RecognisesRichText) {
  EXPECT_TRUE(rtf::isRtf("{\\rtf1\\ansi}"));
  EXPECT_TRUE(rtf::isRtf("\r\n  {\\rtf1}"));
  EXPECT_FALSE(rtf::isRtf("ab\r\n{\\rtf1"));
  EXPECT_FALSE(rtf::isRtf("{\\rt"));
}
