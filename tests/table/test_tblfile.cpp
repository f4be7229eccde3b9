#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "filebytes.h"
#include "platform/textfile.h"
#include "common/tblfile.h"

using tt::readAll;
using tt::writeRaw;

namespace {

const QByteArray kSample = "Binary\r\ns0\r\ny1\r\nx1\r\ns1\r\n\r\n\r\nX1\r\ns0\r\ns1\r\ny2&y1\r\n1\r\ns0\r\n";

TableRow row(const char* si, const char* y, const char* x, const char* sj) {
  return TableRow{QString::fromUtf8(si), QString::fromUtf8(y), QString::fromUtf8(x), QString::fromUtf8(sj)};
}

}  // namespace

TEST(TblFile, SampleReadsAsThreeRowsAndWritesTheSameBytes) {
  QTemporaryDir dir;
  const QString in = dir.filePath("in.tbl"), out = dir.filePath("out.tbl");
  ASSERT_TRUE(writeRaw(in, kSample));
  TableData t;
  QString err;
  ASSERT_TRUE(TblFile::read(in, &t, &err)) << err.toStdString();
  EXPECT_EQ(t.signalCoding, "Binary");
  ASSERT_EQ(t.rows.size(), 3);
  EXPECT_EQ(t.rows[0], row("s0", "y1", "x1", "s1"));
  EXPECT_EQ(t.rows[1], row("", "", "X1", "s0"));
  EXPECT_EQ(t.rows[2], row("s1", "y2&y1", "1", "s0"));
  ASSERT_TRUE(TblFile::write(out, t, &err)) << err.toStdString();
  EXPECT_EQ(readAll(out), kSample);
}

TEST(TblFile, FirstLineMustBeOneOfTheTagsExactly) {
  const QString msg = QString::fromUtf8("Неправильный формат файла таблицы переходов");
  EXPECT_EQ(TblFile::badFormatMessage(), msg);
  for (const char* first : {"abstract", "Binary ", "binary", " Abstract", "", "ABSTRACT"}) {
    TableData t;
    t.signalCoding = "Abstract";
    t.rows << row("keep", "", "", "");
    QString err;
    EXPECT_FALSE(TblFile::parse({QString::fromUtf8(first), "s0", "y1", "x1", "s1"}, &t, &err)) << first;
    EXPECT_EQ(err, msg) << first;
    EXPECT_EQ(t.rows.size(), 1) << "a refused file leaves the target alone";
  }
  TableData t;
  QString err;
  EXPECT_FALSE(TblFile::parse({}, &t, &err)) << "an empty file has no tag";
  EXPECT_EQ(err, msg);
}

TEST(TblFile, GroupsOfFourLinesAndATrailingPartialGroupDropped) {
  TableData t;
  QString err;
  ASSERT_TRUE(TblFile::parse({"Binary"}, &t, &err));
  EXPECT_TRUE(t.rows.isEmpty());

  QStringList lines{"Abstract"};
  for (int i = 1; i <= 9; ++i) lines << QString::number(i);
  ASSERT_TRUE(TblFile::parse(lines, &t, &err));
  EXPECT_EQ(t.signalCoding, "Abstract");
  ASSERT_EQ(t.rows.size(), 2);
  EXPECT_EQ(t.rows[1], row("5", "6", "7", "8"));
}

TEST(TblFile, AnyLineBreakReadsAndEmptyRowsAreFourEmptyLines) {
  QTemporaryDir dir;
  const QString p = dir.filePath("lf.tbl");
  ASSERT_TRUE(writeRaw(p, "Binary\ns0\n\n\ns1\rs1\r\r\r"));
  TableData t;
  QString err;
  ASSERT_TRUE(TblFile::read(p, &t, &err));
  ASSERT_EQ(t.rows.size(), 1) << "the second group lacks its last line";
  EXPECT_EQ(t.rows[0], row("s0", "", "", "s1"));

  TableData three;
  three.rows << row("s0", "y1", "x1", "s1") << TableRow{} << row("s1", "", "1", "s0");
  const QStringList out = TblFile::toLines(three);
  EXPECT_EQ(out.size(), 13);
  EXPECT_EQ(out.mid(5, 4), QStringList({"", "", "", ""}));
}

TEST(TblFile, CodingTagAndCyrillicBytes) {
  QTemporaryDir dir;
  TableData t;
  t.signalCoding = "Abstract";
  t.rows << row("у1", "", "", "");  // Cyrillic у
  const QString p = dir.filePath("c.tbl");
  QString err;
  ASSERT_TRUE(TblFile::write(p, t, &err));
  EXPECT_EQ(readAll(p), QByteArray("Abstract\r\n\xF3"
                                   "1\r\n\r\n\r\n\r\n"));
  t.signalCoding = "whatever";
  EXPECT_EQ(TblFile::toLines(t).first(), "Binary");
}

TEST(TblFile, LineBreaksInACellBecomeBlanks) {
  EXPECT_EQ(TblFile::cellText("a\r\nb\nc\rd"), "a b c d");
  EXPECT_EQ(TblFile::cellText("\n\n"), "  ");
  EXPECT_EQ(TblFile::cellText("plain"), "plain");
  TableData t;
  t.rows << row("s0\r\ns1", "y1\n", "x1", "s1");
  const QStringList lines = TblFile::toLines(t);
  ASSERT_EQ(lines.size(), 5) << "a cell can never add lines";
  EXPECT_EQ(lines[1], "s0 s1");
  EXPECT_EQ(lines[2], "y1 ");
}

TEST(TblFile, UnencodableCharacterIsReportedAndNothingIsWritten) {
  QTemporaryDir dir;
  const QString p = dir.filePath("u.tbl");
  ASSERT_TRUE(writeRaw(p, kSample));
  TableData t;
  t.rows << row("s0", "y1", "x1", "s1")
         << row("s1", "y\xe2\x82\xac", "\xe2\x88\x80x", "s0");  // € is in 1251, ∀ is not
  QString err;
  EXPECT_FALSE(TblFile::write(p, t, &err));
  EXPECT_TRUE(err.contains(QString::fromUtf8("∀"))) << err.toStdString();
  EXPECT_TRUE(err.contains(QString::fromUtf8("строке 2"))) << err.toStdString();
  EXPECT_TRUE(err.contains("xij")) << err.toStdString();
  EXPECT_EQ(readAll(p), kSample) << "the old file stays whole";
}

TEST(TblFile, UnwritableOrMissingFilesAreReported) {
  QTemporaryDir dir;
  TableData t;
  QString err;
  EXPECT_FALSE(TblFile::read(dir.filePath("none.tbl"), &t, &err));
  EXPECT_FALSE(err.isEmpty());
  err.clear();
  EXPECT_FALSE(TblFile::write(dir.filePath("no/such/dir/x.tbl"), t, &err));
  EXPECT_FALSE(err.isEmpty());
}
