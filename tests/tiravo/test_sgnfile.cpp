#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "tests/tiravo/tablehelp.h"
#include <random>

#include "tiravo/sim/letters.h"
#include "tiravo/sim/sgnfile.h"

using tiravo::SgnFile;

namespace {

QByteArray Word(qint32 v) {
  QByteArray b;
  for (int i = 0; i < 4; ++i) b.append(char((quint32(v) >> (8 * i)) & 0xFF));
  return b;
}

QByteArray Name(const QByteArray& n) { return Word(qint32(n.size())) + n; }

QByteArray Head(char type) { return QByteArray(SgnFile::kTag, SgnFile::kTagSize) + QByteArray(1, type); }

const QStringList kX{QStringLiteral("x1"), QStringLiteral("x2")};

}  // namespace

TEST(SgnFile, BinarySequenceIsWrittenByteForByte) {
  SgnFile f;
  f.Etalon = kX;
  f.Inputs = {SSignalSet{1, -2}, SSignalSet{-1, -2}};
  QByteArray bytes;
  ASSERT_TRUE(f.ToBytes(&bytes, nullptr));
  EXPECT_EQ(bytes.size(), 76);
  EXPECT_EQ(bytes, tablehelp::TwoInputsSgn());
}

TEST(SgnFile, AbstractFileCarriesBothAlphabetsAndReadsBack) {
  SgnFile f;
  f.Abstract = true;
  f.Etalon = {QStringLiteral("z1")};
  f.Current = {QStringLiteral("z1"), QStringLiteral("ж2")};
  f.Inputs = {SSignalSet{2}, SSignalSet{1}};
  QByteArray bytes;
  ASSERT_TRUE(f.ToBytes(&bytes, nullptr));
  EXPECT_TRUE(
      bytes.contains(Name("\xE6"
                          "2")));  // cp1251
  SgnFile g;
  ASSERT_EQ(g.FromBytes(bytes, 1, &f.Etalon), SgnFile::Accepted);
  EXPECT_EQ(g.Current, f.Current);
  EXPECT_EQ(g.Inputs, f.Inputs);
}

TEST(SgnFile, EveryFaultIsRefusedWithItsReasonAndChangesNothing) {
  const QByteArray binAlpha = Head(0) + Word(2) + Name("x1") + Name("x2");
  const QByteArray absAlpha = Head(1) + Word(1) + Name("z1");
  struct Case {
    const char* what;
    QByteArray bytes;
    unsigned char mode;
    int reason;
  };
  const Case cases[] = {
      {"empty file", QByteArray(), 0, SgnFile::BadFormat},
      {"wrong tag", QByteArray("YYY_input_with_name_information") + QByteArray(1, 0), 0, SgnFile::BadFormat},
      {"binary file into an abstract table", binAlpha + Word(0), 1, SgnFile::OtherType},
      {"other alphabet size", Head(0) + Word(1) + Name("x1") + Word(0), 0, SgnFile::OtherAlphabet},
      {"other name", Head(0) + Word(2) + Name("x1") + Name("X2") + Word(0), 0, SgnFile::OtherAlphabet},
      {"negative name count", Head(0) + Word(-1), 0, SgnFile::BadFormat},
      {"huge name count", Head(0) + Word(0x7FFFFFFF), 0, SgnFile::BadFormat},
      {"name of 1024 bytes", Head(0) + Word(1) + Word(1024) + QByteArray(1024, 'a'), 0, SgnFile::BadFormat},
      {"truncated name", Head(0) + Word(1) + Word(5) + "x1", 0, SgnFile::BadFormat},
      {"negative step count", binAlpha + Word(-1), 0, SgnFile::BadFormat},
      {"step count past the end", binAlpha + Word(3) + Word(0), 0, SgnFile::BadFormat},
      {"zero element", binAlpha + Word(1) + Word(1) + Word(0), 0, SgnFile::BadFormat},
      {"element past the inputs", binAlpha + Word(1) + Word(1) + Word(3), 0, SgnFile::BadFormat},
      {"elements out of order", binAlpha + Word(1) + Word(2) + Word(2) + Word(1), 0, SgnFile::BadFormat},
      {"signal twice", binAlpha + Word(1) + Word(2) + Word(1) + Word(-1), 0, SgnFile::BadFormat},
      {"set count above the inputs", binAlpha + Word(1) + Word(3) + Word(1) + Word(2) + Word(3), 0,
       SgnFile::BadFormat},
      {"abstract set of two",
       absAlpha + Word(2) + Name("z1") + Name("z2") + Word(1) + Word(2) + Word(1) + Word(2), 1,
       SgnFile::BadFormat},
      {"abstract inverted letter", absAlpha + Word(1) + Name("z1") + Word(1) + Word(1) + Word(-1), 1,
       SgnFile::BadFormat},
      {"abstract empty set", absAlpha + Word(1) + Name("z1") + Word(1) + Word(0), 1, SgnFile::BadFormat},
      {"current alphabet shorter", absAlpha + Word(0) + Word(0), 1, SgnFile::BadFormat},
      {"letter with a blank", absAlpha + Word(2) + Name("z1") + Name("z 2") + Word(0), 1, SgnFile::BadFormat},
      {"letter twice", absAlpha + Word(2) + Name("z1") + Name("Z1") + Word(0), 1, SgnFile::BadFormat},
      {"more steps than the simulator keeps",
       binAlpha + Word(SgnFile::kMaxSteps + 1) + QByteArray(4 * (SgnFile::kMaxSteps + 1), 0), 0,
       SgnFile::TooLarge},
  };
  for (const Case& c : cases) {
    SgnFile f;
    f.Inputs = {SSignalSet{7}};
    const QStringList etalon = c.mode ? QStringList{QStringLiteral("z1")} : kX;
    EXPECT_EQ(f.FromBytes(c.bytes, c.mode, &etalon), c.reason) << c.what;
    EXPECT_EQ(f.Inputs, (std::vector<SSignalSet>{SSignalSet{7}})) << c.what;
    EXPECT_TRUE(f.Etalon.isEmpty()) << c.what;
  }
}

TEST(SgnFile, SaveReplacesTheFileAndReportsAFailure) {
  QTemporaryDir dir;
  SgnFile f;
  f.Etalon = kX;
  const QString path = dir.filePath(QStringLiteral("input.sgn"));
  QString error;
  ASSERT_TRUE(f.Save(path, &error)) << error.toStdString();
  EXPECT_EQ(QFile(path).size(), 31 + 1 + 4 + 6 + 6 + 4);
  EXPECT_FALSE(f.Save(dir.filePath(QStringLiteral("missing/input.sgn")), &error));
  EXPECT_FALSE(error.isEmpty());
  f.Etalon = {QStringLiteral("名")};  // no code page 1251 form
  EXPECT_FALSE(f.Save(path, &error));
  EXPECT_EQ(QFile(path).size(), 52);
}

TEST(SgnFile, MessageQuotesThePathAndTheReason) {
  EXPECT_EQ(SgnFile::ErrorText(QStringLiteral("/t/a.sgn"), SgnFile::BadFormat),
            QStringLiteral("Ошибка при открытии файла\"/t/a.sgn\": неверный формат файла!"));
  EXPECT_EQ(SgnFile::ErrorText(QStringLiteral("a"), SgnFile::CannotOpen),
            QStringLiteral("Ошибка при открытии файла\"a\"!\n Операция отменена!"));
  EXPECT_EQ(SgnFile::ErrorText(QStringLiteral("a"), SgnFile::TooLarge),
            QStringLiteral("Ошибка при открытии файла\"a\":\n файл слишком велик для моделирования!"));
  SgnFile f;
  EXPECT_EQ(f.Load(QStringLiteral("/nonexistent/x.sgn"), 0, kX), SgnFile::CannotOpen);
}

// The one-pass check of a file's alphabet says what the letter-by-letter
// check of the alphabet dialog says, on lists of every kind of name.
TEST(UsableAlphabet, AgreesWithTheLetterCheckOfEachNameAgainstTheOnesBefore) {
  const QStringList pool{"z1", "Z1", "z2", "ж1", "Ж1", "", "z 2", "1", "x&y", "y7", "名", "z2"};
  auto reference = [](const QStringList& names) {
    for (int i = 0; i < names.size(); ++i)
      if (!tiravo::LetterRefusal(names.at(i), names.mid(0, i)).isEmpty()) return false;
    return true;
  };
  std::mt19937 random(5);
  int usable = 0;
  for (int i = 0; i < 2000; ++i) {
    QStringList names;
    for (int n = int(random() % 5); n > 0; --n) names << pool.at(int(random() % unsigned(pool.size())));
    const bool expected = reference(names);
    usable += expected;
    ASSERT_EQ(tiravo::UsableAlphabet(names), expected) << names.join(QLatin1Char(',')).toStdString();
  }
  EXPECT_GT(usable, 100);  // both answers were met
  QStringList large;
  for (int i = 0; i < 200000; ++i) large << QStringLiteral("z%1").arg(i);
  EXPECT_TRUE(tiravo::UsableAlphabet(large));
  large << QStringLiteral("Z17");
  EXPECT_FALSE(tiravo::UsableAlphabet(large));
}
