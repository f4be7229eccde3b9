#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "velmora/documents/formats/masktrailer.h"
#include "qwert.h"

using namespace velmora;

using edtest::qwert;

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

TEST(MaskTrailer, SavesTheExactBytesAndLoadsThemBack) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("doc.sku"));
  QString error;
  ASSERT_TRUE(masktrailer::save(path, {QStringLiteral("sku:"), QStringLiteral("a"), QStringLiteral("svf:")},
                                qwert(), &error))
      << error.toStdString();
  const QByteArray expected = "sku:\r\na\r\nsvf:\r\nmask:\r\nq\r\nw\r\ne\r\nr\r\nt\r\na0\r\n";
  EXPECT_EQ(readAll(path), expected);

  QStringList text;
  DocSettings s;  // z x y s s / s0
  ASSERT_TRUE(masktrailer::load(path, &text, &s, &error));
  EXPECT_EQ(text, (QStringList{"sku:", "a", "svf:"}));
  const QChar letters[] = {s.InAbstr, s.InDigit, s.OutSgn, s.InSob, s.OutSob};
  EXPECT_EQ(QString(letters, 5), QStringLiteral("qwert"));
  EXPECT_EQ(s.RvasS0, QStringLiteral("a0"));

  const QString again = dir.filePath(QStringLiteral("again.sku"));
  ASSERT_TRUE(masktrailer::save(again, text, s, &error));
  EXPECT_EQ(readAll(again), expected);
}

TEST(MaskTrailer, UserMaskLinesAreText) {
  DocSettings s;
  bool found = true;
  // A "mask:" line typed by the user, not followed by exactly six lines, is text.
  const QStringList typed{"x1", "mask:", "a", "b"};
  EXPECT_EQ(masktrailer::split(typed, &s, &found), typed);
  EXPECT_FALSE(found);
  EXPECT_EQ(s.InAbstr, QLatin1Char('z'));

  // A typed "mask:" line survives a save and a load.
  const QStringList withTrailer = masktrailer::join(typed, qwert());
  const QStringList back = masktrailer::split(withTrailer, &s, &found);
  EXPECT_TRUE(found);
  EXPECT_EQ(back, typed);
  EXPECT_EQ(s.OutSob, QLatin1Char('t'));

  // A text that itself ends with a block-like tail keeps it: only the last seven lines count.
  const QStringList tricky{"mask:", "1", "2", "3", "4", "5", "6"};
  DocSettings t;
  EXPECT_EQ(masktrailer::split(masktrailer::join(tricky, DocSettings()), &t, &found), tricky);
  EXPECT_EQ(t.InDigit, QLatin1Char('x'));
}

TEST(MaskTrailer, ShortOrMissingBlockLeavesTheLetters) {
  DocSettings s = qwert();
  bool found = true;
  const QStringList lines{"text", "mask:", "a", "b", "c", "d", "e"};  // one line short
  EXPECT_EQ(masktrailer::split(lines, &s, &found), lines);
  EXPECT_FALSE(found);
  EXPECT_EQ(s.RvasS0, QStringLiteral("a0"));
  EXPECT_EQ(masktrailer::split({}, &s, &found), QStringList());
  EXPECT_FALSE(found);
}

TEST(MaskTrailer, EmptyLetterLineKeepsTheLetterAndLongLinesGiveTheirFirstCharacter) {
  DocSettings s = qwert();
  const QStringList lines{"t", "mask:", "", "bin", QString(QChar()) + "e", "", "O", ""};
  EXPECT_EQ(masktrailer::split(lines, &s), QStringList{"t"});
  EXPECT_EQ(s.InAbstr, QLatin1Char('q'));  // a NUL letter would not survive the next save
  EXPECT_EQ(s.InDigit, QLatin1Char('b'));
  EXPECT_EQ(s.OutSgn, QLatin1Char('e'));
  EXPECT_EQ(s.OutSob, QLatin1Char('O'));
  EXPECT_EQ(s.RvasS0, QString());  // the name line is taken whole
}

TEST(MaskTrailer, FilesFromTheOlderProgramAndOtherLineEnds) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("old.rvs"));
  writeAll(path, "s0=x1\n\xd1\xca\xd3\rlast");  // LF, CR and no final line end; "СКУ" in 1251
  QStringList text;
  DocSettings s;
  QString error;
  ASSERT_TRUE(masktrailer::load(path, &text, &s, &error));
  EXPECT_EQ(text, (QStringList{"s0=x1", QStringLiteral("СКУ"), "last"}));
}

TEST(MaskTrailer, FailuresAreReportedAndLeaveFilesAlone) {
  QTemporaryDir dir;
  QStringList text{"keep"};
  DocSettings s = qwert();
  QString error;
  EXPECT_FALSE(masktrailer::load(dir.filePath(QStringLiteral("missing.sku")), &text, &s, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(text, QStringList{"keep"});
  EXPECT_EQ(s.InAbstr, QLatin1Char('q'));

  const QString path = dir.filePath(QStringLiteral("doc.rvs"));
  writeAll(path, "old\r\n");
  error.clear();
  // A character without a 1251 code: nothing is written, the old file stays.
  EXPECT_FALSE(masktrailer::save(path, {QStringLiteral("x") + QChar(0x4E2D)}, s, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(readAll(path), QByteArray("old\r\n"));
  // A directory that does not exist.
  EXPECT_FALSE(masktrailer::save(dir.filePath(QStringLiteral("no/such/dir.rvs")), {"a"}, s, &error));
}

// The text read without a list of its lines is the list's lines joined, with the same letters.
TEST(MaskTrailer, JoinedTextIsTheLinesJoined) {
  const QByteArray cases[] = {
      "",
      "\r\n",
      "a\r\n\r\n",
      "s0=x1\n\xd1\xca\xd3\rlast",
      "mask:\r\nq\r\nw\r\ne\r\nr\r\nt\r\na0\r\n",
      "\r\nmask:\r\nq\r\nw\r\ne\r\nr\r\nt\r\na0\r\n",
      "sku:\r\nmask:\r\nq\r\nw\r\ne\r\nr\r\nt\r\na0\r\nmore\r\n",
      "x\r\nmask:\r\n\r\n\r\ne\r\nr\r\nt\r\na0",
      "a\rmask:\nq\r\nw\re\nr\r\nt\r\n",
  };
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.rvs"));
  for (const QByteArray& bytes : cases) {
    writeAll(path, bytes);
    QStringList lines;
    QString joined, error;
    DocSettings fromLines, fromJoined;
    ASSERT_TRUE(masktrailer::load(path, &lines, &fromLines, &error));
    ASSERT_TRUE(masktrailer::loadJoined(path, &joined, &fromJoined, &error));
    EXPECT_EQ(joined, lines.join(QLatin1Char('\n'))) << bytes.constData();
    EXPECT_EQ(QString(fromJoined.InAbstr) + fromJoined.OutSob + fromJoined.RvasS0,
              QString(fromLines.InAbstr) + fromLines.OutSob + fromLines.RvasS0);
  }
}
