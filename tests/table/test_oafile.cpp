#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "filebytes.h"
#include "velmora/documents/formats/oafile.h"

using namespace velmora;

using tt::readAll;
using tt::writeRaw;

namespace {

OaDescription sample() {
  OaDescription d;
  d.blocks = QStringList{"reg:", "A[8]", "mux:"};
  d.ySignals = QStringList{"y1", "y2"};
  d.xSignals = QStringList{"x1"};
  d.xValues = QStringList{"A[0]"};
  d.yItems = {QStringList{"A:=A+1"}, QStringList{}};
  d.oaPresent = true;
  return d;
}

const QByteArray kSampleBytes =
    "OA_Info\r\n3\r\n2\r\n1\r\nreg:\r\nA[8]\r\nmux:\r\ny1\r\ny2\r\nx1\r\nA[0]\r\nA:=A+1\r\n~\r\n~\r\n";

}  // namespace

TEST(OaFile, SampleIsWrittenByteForByteAndReadsBack) {
  QTemporaryDir dir;
  const QString p = dir.filePath("t.oa");
  QString err;
  ASSERT_TRUE(OaFile::write(p, sample(), &err)) << err.toStdString();
  EXPECT_EQ(readAll(p), kSampleBytes);

  OaDescription d;
  ASSERT_EQ(OaFile::read(p, &d, &err), OaFile::Read) << err.toStdString();
  EXPECT_TRUE(d.oaPresent);
  EXPECT_EQ(d.blockCount, 3);
  EXPECT_EQ(d.yCount, 2);
  EXPECT_EQ(d.xCount, 1);
  OaDescription expected = sample();
  expected.blockCount = 3;
  expected.yCount = 2;
  expected.xCount = 1;
  EXPECT_EQ(d, expected);
}

TEST(OaFile, DeletedDescriptionIsAnEmptyFileWhichReadsAsNone) {
  QTemporaryDir dir;
  const QString p = dir.filePath("t.oa");
  ASSERT_TRUE(writeRaw(p, kSampleBytes));
  OaDescription d = sample();
  d.oaPresent = false;  // the lists keep their content
  QString err;
  ASSERT_TRUE(OaFile::write(p, d, &err));
  EXPECT_EQ(readAll(p), QByteArray());
  EXPECT_TRUE(OaFile::toLines(d).isEmpty());

  OaDescription back;
  back.ySignals << "untouched";
  EXPECT_EQ(OaFile::read(p, &back, &err), OaFile::NoFile);
  EXPECT_EQ(OaFile::read(dir.filePath("missing.oa"), &back, &err), OaFile::NoFile);
  EXPECT_FALSE(back.oaPresent);
  EXPECT_EQ(back.ySignals, QStringList{"untouched"});
}

TEST(OaFile, MissingMicrooperationGroupsArePadded) {
  OaDescription d;
  QString err;
  ASSERT_EQ(OaFile::parse({"OA_Info", "0", "2", "0", "y1", "y2", "A:=0", "B:=1", "~"}, &d, &err),
            OaFile::Read);
  ASSERT_EQ(d.yItems.size(), 2);
  EXPECT_EQ(d.yItems[0], (QStringList{"A:=0", "B:=1"}));
  EXPECT_TRUE(d.yItems[1].isEmpty());
}

TEST(OaFile, ExactlyOneAnswerPerInputSignalIsWritten) {
  OaDescription d = sample();
  d.xSignals = QStringList{"x1", "x2"};
  d.xValues = QStringList{"A[0]", "A[1]", "A[2]"};  // one answer too many
  QStringList lines = OaFile::toLines(d);
  EXPECT_EQ(lines.mid(9, 5), (QStringList{"x1", "x2", "A[0]", "A[1]", "A:=A+1"}));
  OaDescription back;
  QString err;
  ASSERT_EQ(OaFile::parse(lines, &back, &err), OaFile::Read);
  EXPECT_EQ(back.xValues, (QStringList{"A[0]", "A[1]"}));
  EXPECT_EQ(back.yItems, d.yItems) << "the extra answer must not shift the microoperation groups";

  d.xValues = QStringList{"A[0]"};  // one too few: an empty answer keeps the count
  lines = OaFile::toLines(d);
  ASSERT_EQ(OaFile::parse(lines, &back, &err), OaFile::Read);
  EXPECT_EQ(back.xValues, (QStringList{"A[0]", ""}));
  EXPECT_EQ(back.yItems, d.yItems);
}

TEST(OaFile, LineBreaksInsideItemsCannotShiftTheSections) {
  OaDescription d = sample();
  d.blocks[1] = "A[8]\r\nB[4]";
  d.yItems[0] = QStringList{"A:=A+1\nB:=0"};
  OaDescription back;
  QString err;
  ASSERT_EQ(OaFile::parse(OaFile::toLines(d), &back, &err), OaFile::Read);
  EXPECT_EQ(back.blocks[1], "A[8] B[4]");
  EXPECT_EQ(back.yItems[0], QStringList{"A:=A+1 B:=0"});
  EXPECT_EQ(back.ySignals, d.ySignals);
}

TEST(OaFile, BadOrMalformedFilesChangeNothing) {
  const OaDescription before = sample();
  struct Case {
    QStringList lines;
    OaFile::Result result;
    const char* detail;
  };
  const QList<Case> cases = {
      {{"OA_info", "0", "0", "0"}, OaFile::BadHeader, nullptr},
      {{""}, OaFile::BadHeader, nullptr},
      {{"OA_Info", "x", "0", "0"}, OaFile::Malformed, "\"x\""},
      {{"OA_Info", "1", "-2", "0", "reg:"}, OaFile::Malformed, "\"-2\""},
      {{"OA_Info", "0", "0"}, OaFile::Malformed, nullptr},
      {{"OA_Info", "3", "0", "0", "reg:"}, OaFile::Malformed, nullptr},
      {{"OA_Info", "0", "1", "1", "y1", "x1"}, OaFile::Malformed, nullptr},  // the answer of x1 is missing
      {{"OA_Info", "0", "1", "0", "y1", "A:=1"}, OaFile::Malformed, "~"},
      {{"OA_Info", "0", "2", "0", "y1", "y2", "~", "B:=1"}, OaFile::Malformed, "~"},
      {{"OA_Info", "99999999999", "0", "0"}, OaFile::Malformed, nullptr},
  };
  for (const Case& c : cases) {
    OaDescription d = before;
    QString err;
    EXPECT_EQ(OaFile::parse(c.lines, &d, &err), c.result) << c.lines.join('|').toStdString();
    EXPECT_EQ(d, before) << c.lines.join('|').toStdString();
    EXPECT_TRUE(err.startsWith(OaFile::badFormatMessage())) << err.toStdString();
    if (c.detail) {
      EXPECT_TRUE(err.contains(QString::fromUtf8(c.detail))) << err.toStdString();
    }
  }
  EXPECT_EQ(OaFile::badFormatMessage(),
            QString::fromUtf8("Неправильный формат файла операционного автомата"));
}

TEST(OaFile, ReadingReplacesEveryListAndKeepsUnrelatedState) {
  OaDescription d = sample();
  d.yItems << QStringList{"old"} << QStringList{"older"};
  QString err;
  ASSERT_EQ(OaFile::parse({"OA_Info", "0", "1", "0", "y9"}, &d, &err), OaFile::Read);
  EXPECT_TRUE(d.blocks.isEmpty());
  EXPECT_EQ(d.ySignals, QStringList{"y9"});
  EXPECT_TRUE(d.xSignals.isEmpty());
  EXPECT_TRUE(d.xValues.isEmpty());
  ASSERT_EQ(d.yItems.size(), 1);
  EXPECT_TRUE(d.yItems[0].isEmpty());
}

TEST(OaFile, CyrillicItemsAndFailedWrites) {
  QTemporaryDir dir;
  OaDescription d = sample();
  d.yItems[1] = QStringList{QString::fromUtf8("Б:=0")};
  d.blocks << QString::fromUtf8("Б[2]");
  const QString p = dir.filePath("c.oa");
  QString err;
  ASSERT_TRUE(OaFile::write(p, d, &err));
  EXPECT_TRUE(readAll(p).contains("\xC1:=0\r\n~\r\n"));
  OaDescription back;
  ASSERT_EQ(OaFile::read(p, &back, &err), OaFile::Read);
  EXPECT_EQ(back.yItems[1], d.yItems[1]);

  d.yItems[1] = QStringList{QString::fromUtf8("\xe2\x88\x80")};
  ASSERT_TRUE(writeRaw(p, kSampleBytes));
  EXPECT_FALSE(OaFile::write(p, d, &err));
  EXPECT_FALSE(err.isEmpty());
  EXPECT_EQ(readAll(p), kSampleBytes);
  EXPECT_FALSE(OaFile::write(dir.filePath("no/dir/x.oa"), sample(), &err));
}
