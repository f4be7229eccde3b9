// The compiled-automaton file: what is written reads back, and faulty files are refused
// with the line named.
#include <gtest/gtest.h>

#include "tests/servers/printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/textfile.h"
#include "servers/fsmcompiler.h"
#include "servers/fsmformat.h"

using namespace fsm;

namespace {

Model sample() {
  Compiler c;
  c.setType(1, 2, 1, 4);
  c.addSource("s0", "y1", "x1", "s1");
  c.addSource("", "", "X1&x2", "s2&s3");
  c.addSource("s1&S2", "y2&выход", "1", "s0");
  c.addSource("s3", "", "0", "0");
  EXPECT_EQ(c.make(), 0) << c.status().toStdString();
  return c.model();
}

QStringList good() { return FsmFile::toLines(sample()); }

QString refusal(QStringList lines) {
  Model m = sample();
  Model before = m;
  QString error;
  EXPECT_FALSE(FsmFile::parse(lines, &m, &error));
  EXPECT_TRUE(m == before);  // a refused file changes nothing
  return error;
}

}  // namespace

TEST(FsmFile, LayoutOfTheText) {
  const QStringList lines = good();
  const QStringList expected = {"VEXO FSM 1",
                                "TYPE 1 2 1 4",
                                "INPUTS 2",
                                "x1",
                                "x2",
                                "OUTPUTS 3",
                                "y1",
                                "y2",
                                QStringLiteral("выход"),
                                "EVENTS 4",
                                "s0",
                                "s1",
                                "s2",
                                "s3",
                                "START 1",
                                "LINES 3",
                                "LINE 1 / 1 / 2",
                                "IF 1 / 2",
                                "IF -1 2 / 3 4",
                                "LINE 2 -3 / 2 3 / 1",
                                "IF  / 1",
                                "LINE 4 /  / 0",
                                "END"};
  EXPECT_EQ(lines, expected);
}

TEST(FsmFile, RoundTripThroughADisk) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("a.fsm"));
  QString error;
  ASSERT_TRUE(FsmFile::write(path, sample(), &error)) << error.toStdString();
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(bytes.startsWith("VEXO FSM 1\r\n"));
  EXPECT_TRUE(bytes.contains("\xe2\xfb\xf5\xee\xe4\r\n"));  // "выход" in code page 1251
  Model m;
  ASSERT_TRUE(FsmFile::read(path, &m, &error)) << error.toStdString();
  EXPECT_TRUE(m == sample());
}

TEST(FsmFile, MissingFileIsReported) {
  Model m;
  QString error;
  EXPECT_FALSE(FsmFile::read(QStringLiteral("/nonexistent/x.fsm"), &m, &error));
  EXPECT_FALSE(error.isEmpty());
}

TEST(FsmFile, FaultyFilesAreRefused) {
  QStringList l = good();
  l[0] = "VEXO FSM 2";
  EXPECT_TRUE(refusal(l).startsWith(QStringLiteral("строка 1:")));
  l = good();
  l[1] = "TYPE 1 2 1 9";
  EXPECT_EQ(refusal(l), QStringLiteral("строка 2: недопустимый тип автомата"));
  l = good();
  l[2] = "INPUTS 999";
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("больше, чем строк")));
  l = good();
  l[4] = "x1";  // repeated name
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("повторяется")));
  l = good();
  l[4] = "X2";  // names are stored in lower case
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("недопустимое имя")));
  l = good();
  l[6] = "Y1";  // an output keeps its spelling, but cannot begin as an inversion
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("недопустимое имя")));
  l = good();
  l[6] = "yA";
  l[7] = "ya";  // the same name in another case
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("повторяется")));
  l = good();
  l[16] = "LINE 1 / 1 / 9";
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("число переходов")));
  l = good();
  l[17] = "IF 3 / 2";  // no third input
  EXPECT_EQ(refusal(l), QStringLiteral("строка 18: номер 3 вне списка (входы)"));
  l = good();
  l[17] = "IF 1 -1 / 2";
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("повторяется")));
  l = good();
  l[17] = "IF 1 / ";
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("без события перехода")));
  l = good();
  l[17] = "IF 1 / 2 / 3";
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("ожидается полей")));
  l = good();
  l[17] = "IF x / 2";
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("не является целым числом")));
  l = good();
  l[17] = "IF 99999999999 / 2";
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("не является целым числом")));
  l = good();
  l[18] = "IF 1 / 3";  // the same condition twice in a line
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("условие перехода повторяется")));
  l = good();
  l.removeLast();
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("оборван")));
  l = good();
  l << "";
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("после END")));
  l = good();
  l[14] = "START 0";
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("вне списка")));
  l = good();
  l[19] = "LINE 1 / 2 3 / 1";  // a key that already has a line
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("ключ строки повторяется")));
  EXPECT_FALSE(refusal({}).isEmpty());
}

TEST(FsmFile, AbstractTypesAreCheckedOnLoad) {
  QStringList l = good();
  l[1] = "TYPE 0 0 0 0";
  EXPECT_TRUE(refusal(l).contains(QStringLiteral("абстрактное условие")));
  // Abstract outputs: a line with two outputs ("y2&выход") is one output letter.
  l = good();
  l[1] = "TYPE 0 0 1 0";
  Model m;
  QString error;
  EXPECT_TRUE(FsmFile::parse(l, &m, &error)) << error.toStdString();
  EXPECT_EQ(m.lines[1].outputs.size(), 2);
}

TEST(FsmFile, NamesTheTextCheckerAllows) {
  QStringList l = good();
  l[4] = "x2.1";
  l[7] = "y\\2,a";
  Model m;
  QString error;
  ASSERT_TRUE(FsmFile::parse(l, &m, &error)) << error.toStdString();
  EXPECT_EQ(m.inputs[1], QStringLiteral("x2.1"));
  EXPECT_EQ(m.outputs[1], QStringLiteral("y\\2,a"));
  for (const char* bad : {"x-1", "x 1", "x&1", "x(1)", "x|1", "1x", "x*1"}) {
    l = good();
    l[4] = QString::fromUtf8(bad);
    EXPECT_TRUE(refusal(l).contains(QStringLiteral("недопустимое имя"))) << bad;
  }
}
