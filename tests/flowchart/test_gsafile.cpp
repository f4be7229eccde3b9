// The grid's range checks and the *.gsa file: exact bytes, both layouts, refused files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/cp1251.h"
#include "platform/textfile.h"
#include "tests/flowchart/gsapicture.h"
#include "velmora/flowchart/core/gsafile.h"

using namespace velmora;

using namespace gsatest;

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QStringList lines(const char* crlfText) { return textfile::splitLines(QString::fromUtf8(crlfText)); }

}  // namespace

TEST(GsaGrid, OutsideReadsAsEmptyAndIsNeverWritten) {
  GsaGridList g(3, 2);
  g.setText(1, 2, QStringLiteral("y1"));
  g.setKind(1, 2, GsaKind::Operator);
  for (auto [col, row] : {std::pair{-1, 0}, {2, 0}, {0, -1}, {0, 3}}) {
    g.setText(col, row, QStringLiteral("x"));
    g.setKind(col, row, GsaKind::Operator);
    EXPECT_EQ(g.text(col, row), QString());
    EXPECT_EQ(g.kind(col, row), QStringLiteral("255"));
  }
  EXPECT_EQ(g.usedCells(), QList<int>{5});
  EXPECT_EQ(g.toList().size(), 2 + 2 * 6);
  EXPECT_TRUE(g.addRow());
  EXPECT_EQ(g.rowCount(), 4);
  EXPECT_EQ(g.kind(1, 3), QStringLiteral("255"));
  EXPECT_EQ(g.text(1, 2), QStringLiteral("y1")) << "adding a row keeps the cells";

  GsaGridList full(GsaGridList::kMaxRows, 1);
  EXPECT_FALSE(full.addRow()) << "a grid a file could not hold is never made";
  EXPECT_EQ(full.rowCount(), GsaGridList::kMaxRows);
}

// A kind is a code for the check only when its text spells the number exactly; drawing reads
// any digits. Cells written, emptied and written again in any order read back as written.
TEST(GsaGrid, KindsReadAsNumbersAndCellsKeepTheirContents) {
  const struct {
    const char* kind;
    int number;  // as the check reads it
    int code;    // as drawing reads it
  } kinds[] = {{"1", 1, 1},   {"01", -1, 1}, {"255", 255, 255},
               {"x", -1, -1}, {"", -1, -1},  {"1234567", -1, -1}};
  GsaGridList g(4, 4);
  for (const auto& k : kinds) {
    g.setKind(2, 1, QString::fromLatin1(k.kind));
    EXPECT_EQ(g.kindNumber(2, 1), k.number) << k.kind;
    EXPECT_EQ(g.kindCode(2, 1), k.code) << k.kind;
    EXPECT_EQ(g.hasKind(2, 1, 1), k.number == 1) << k.kind;
  }
  EXPECT_EQ(g.kindNumber(9, 9), GsaKind::Empty);

  // Every cell filled, then every other one emptied, then some filled again.
  GsaGridList h(5, 3);
  auto fill = [&](int i) {
    h.setKind(h.colOf(i), h.rowOf(i), i % 20 + 1);
    h.setText(h.colOf(i), h.rowOf(i), QString::number(i));
  };
  for (int i = 0; i < 15; ++i) fill(i);
  for (int i = 0; i < 15; i += 2) h.setCell(h.colOf(i), h.rowOf(i), GsaCell());
  for (int i : {4, 0, 14}) fill(i);
  h.setCell(0, 0, h.cell(1, 0));  // a cell of the grid itself
  QList<int> expected;
  for (int i = 0; i < 15; ++i) {
    const bool kept = i % 2 == 1 || i == 4 || i == 14 || i == 0;
    if (kept) expected << i;
    const QString text = i == 0 ? "1" : kept ? QString::number(i) : QString();
    EXPECT_EQ(h.text(h.colOf(i), h.rowOf(i)), text) << i;
    EXPECT_EQ(h.kindNumber(h.colOf(i), h.rowOf(i)), i == 0 ? 2 : kept ? i % 20 + 1 : GsaKind::Empty) << i;
  }
  EXPECT_EQ(h.usedCells(), expected);
  GsaGridList copy(5, 3);
  for (int i : expected) copy.setCell(copy.colOf(i), copy.rowOf(i), h.cell(h.colOf(i), h.rowOf(i)));
  EXPECT_EQ(copy, h);
  copy.setText(2, 4, "other");
  EXPECT_NE(copy, h);
}

// Texts rewritten many times, longer and shorter, read as last written (also one taken from
// the grid itself), and the room held for texts stays in proportion to them.
TEST(GsaGrid, RewrittenTextsKeepTheLastAndTheirRoomStaysInProportion) {
  GsaGridList g(20, 10);
  QStringList last(200);
  for (int round = 0; round < 60; ++round) {
    for (int i = 0; i < 200; ++i) {
      last[i] = round == 59 && i % 3 == 0 ? QString()
                                          : QString(1 + (i * 7 + round * 13) % 90, QChar('a' + round % 26));
      g.setText(g.colOf(i), g.rowOf(i), last[i]);
    }
  }
  g.setText(0, 0, g.textView(1, 0));
  last[0] = last[1];
  qsizetype live = 0;
  for (int i = 0; i < 200; ++i) {
    EXPECT_EQ(g.text(g.colOf(i), g.rowOf(i)), last[i]) << i;
    live += last[i].size();
  }
  EXPECT_EQ(g.usedCount(), 200 - 66);
  EXPECT_LE(g.heldText(), 2 * live + 4096);
}

TEST(GsaFile, NewFlowchartSavesTheTwelveHeaderLinesAndEnd) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("new.gsa"));
  QString error;
  ASSERT_TRUE(GsaFile::write(path, GsaDocument(), &error)) << error.toStdString();
  const QByteArray expected =
      "GSA1.1\r\nAUTO\r\nTRACK\r\nNOMOVE\r\ny0\r\nyk\r\ns0\r\nsk\r\ns\r\ny\r\n60\r\n30\r\nEnd\r\n";
  EXPECT_EQ(expected.size(), 64);
  EXPECT_EQ(readAll(path), expected);
}

TEST(GsaFile, OlderLayoutReadsWithDefaultsAndSavesInTheCurrentOne) {
  GsaDocument doc;
  QString error;
  ASSERT_TRUE(GsaFile::parse(lines("3\r\n2\r\n1\r\n0\r\ny1\r\n1\r\nEnd\r\n"), &doc, &error));
  EXPECT_EQ(doc.grid.rowCount(), 3);
  EXPECT_EQ(doc.grid.colCount(), 2);
  EXPECT_EQ(doc.grid.text(0, 1), QStringLiteral("y1"));  // row 1, column 0
  EXPECT_EQ(doc.grid.kind(0, 1), QStringLiteral("1"));
  EXPECT_FALSE(doc.userNaming || doc.trackFigures || doc.moveEvents);
  EXPECT_EQ(GsaFile::toLines(doc).join(QLatin1Char('/')),
            QStringLiteral("GSA1.1/AUTO/NOTRACK/NOMOVE/y0/yk/s0/sk/s/y/3/2/1,0/y1/1/End"));
}

TEST(GsaFile, RoundTripKeepsFlagsNamesLabelsAndUnknownKinds) {
  GsaDocument doc =
      document(picture({"3:y0 255:нет_перехода 99:кое-что", ". 2:x1 abc:t", "1:s2(y1) 255:0 ."}), true, true);
  doc.trackFigures = false;
  doc.y0 = QStringLiteral("yн");
  doc.sk = QStringLiteral("sКонец");
  doc.eventLetter = QStringLiteral("e");
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("r.gsa"));
  QString error;
  ASSERT_TRUE(GsaFile::write(path, doc, &error)) << error.toStdString();
  GsaDocument back;
  ASSERT_TRUE(GsaFile::read(path, &back, &error)) << error.toStdString();
  EXPECT_EQ(back, doc);
  EXPECT_EQ(back.grid.text(1, 0), QString::fromUtf8("нет перехода"));
  EXPECT_EQ(back.grid.kind(1, 0), QStringLiteral("255"));
  EXPECT_EQ(back.grid.kind(2, 0), QStringLiteral("99"));
}

// Kind lines that are no plain code ("01", "", " 1", a number too long) read back as they
// stand: a file saved again is the same bytes.
TEST(GsaFile, OddKindTextsSaveAgainByteForByte) {
  const QByteArray bytes =
      "GSA1.1\r\nAUTO\r\nTRACK\r\nNOMOVE\r\ny0\r\nyk\r\ns0\r\nsk\r\ns\r\ny\r\n3\r\n2\r\n"
      "0,0\r\nt\r\n01\r\n0,1\r\n\r\n\r\n1,0\r\nx\r\n 1\r\n1,1\r\n\r\n255 \r\n"
      "2,0\r\n\xe6\r\n1000000\r\n2,1\r\ny\r\n999999\r\nEnd\r\n";
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("odd.gsa")),
                again = dir.filePath(QStringLiteral("again.gsa"));
  writeAll(path, bytes);
  GsaDocument doc;
  QString error;
  ASSERT_TRUE(GsaFile::read(path, &doc, &error)) << error.toStdString();
  EXPECT_EQ(doc.grid.kind(0, 0), QStringLiteral("01"));
  EXPECT_EQ(doc.grid.kindCode(0, 0), 1);
  EXPECT_EQ(doc.grid.kindNumber(0, 0), -1);
  EXPECT_EQ(doc.grid.kindNumber(1, 2), 999999);
  ASSERT_TRUE(GsaFile::write(again, doc, &error)) << error.toStdString();
  EXPECT_EQ(readAll(again), bytes);
}

// A flowchart of many thousand cells (their texts of every length, a few cells written twice
// and some emptied again) reads back as it was and saves again to the same bytes.
TEST(GsaFile, ALargeFlowchartReadsBackAsWritten) {
  GsaDocument doc;
  doc.grid = GsaGridList(200, 60);
  for (int i = 0; i < 200 * 60; ++i) {
    const int col = doc.grid.colOf(i), row = doc.grid.rowOf(i);
    doc.grid.setCell(col, row, GsaCell{QString(i % 37, QChar(u'а' + i % 32)), QString::number(i % 23)});
    if (i % 11 == 0) doc.grid.setText(col, row, QStringLiteral("y%1").arg(i));
    if (i % 13 == 0) doc.grid.setCell(col, row, GsaCell());
  }
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("large.gsa")),
                again = dir.filePath(QStringLiteral("again.gsa"));
  QString error;
  ASSERT_TRUE(GsaFile::write(path, doc, &error)) << error.toStdString();
  GsaDocument back;
  ASSERT_TRUE(GsaFile::read(path, &back, &error)) << error.toStdString();
  EXPECT_EQ(back, doc);
  EXPECT_EQ(back.grid.usedCount(), doc.grid.usedCount());
  ASSERT_TRUE(GsaFile::write(again, back, &error)) << error.toStdString();
  EXPECT_EQ(readAll(again), readAll(path));
}

TEST(GsaFile, HeaderFlagsCompareExactly) {
  GsaDocument doc;
  ASSERT_TRUE(GsaFile::parse(lines("GSA1.1\r\nuser\r\ntrack\r\nMOVE\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\n"
                                   "1\r\n1\r\nEnd\r\n"),
                             &doc, nullptr));
  EXPECT_FALSE(doc.userNaming);
  EXPECT_FALSE(doc.trackFigures);
  EXPECT_TRUE(doc.moveEvents);
  EXPECT_EQ(GsaFile::toLines(doc).mid(1, 9).join(QLatin1Char('/')),
            QStringLiteral("AUTO/NOTRACK/MOVE/a/b/c/d/e/f"));
}

TEST(GsaFile, MalformedFilesAreRefusedAndChangeNothing) {
  const char* const head = "GSA1.1\r\nAUTO\r\nTRACK\r\nNOMOVE\r\ny0\r\nyk\r\ns0\r\nsk\r\ns\r\ny\r\n";
  const struct {
    QByteArray body;
    const char* why;
  } cases[] = {
      {QByteArray(head) + "5\r\n4\r\n0,-1\r\nt\r\n1\r\nEnd\r\n", "negative column"},
      {QByteArray(head) + "5\r\n4\r\n12,3,4\r\nt\r\n1\r\nEnd\r\n", "column text 3,4"},
      {QByteArray(head) + "5\r\n4\r\n1,4\r\nt\r\n1\r\nEnd\r\n", "column = column count"},
      {QByteArray(head) + "5\r\n4\r\n5,0\r\nt\r\n1\r\nEnd\r\n", "row = row count"},
      {QByteArray(head) + "5\r\n4\r\n1\r\nt\r\n1\r\nEnd\r\n", "position without comma"},
      {QByteArray(head) + "0\r\n4\r\nEnd\r\n", "zero rows"},
      {QByteArray(head) + "-3\r\n4\r\nEnd\r\n", "negative rows"},
      {QByteArray(head) + "10001\r\n4\r\nEnd\r\n", "too many rows"},
      {QByteArray(head) + "5\r\n1001\r\nEnd\r\n", "too many columns"},
      {QByteArray(head) + "5\r\nfour\r\nEnd\r\n", "count not a number"},
      {QByteArray(head) + "5\r\n4\r\n1,1\r\nt\r\n1\r\n", "no End"},
      {QByteArray(head) + "5\r\n4\r\n1,1\r\nt\r\n", "group cut short"},
      {QByteArray(head), "header only"},
      {"GSA1.1\r\nAUTO\r\n", "header cut short"},
      {"", "empty file"},
      {"3\r\n2\r\n1\r\nx\r\ny1\r\n1\r\nEnd\r\n", "older layout, column not a number"},
      {"3\r\n2\r\n1\r\n0\r\ny1\r\n", "older layout, cut short"},
  };
  QTemporaryDir dir;
  for (const auto& c : cases) {
    const QString path = dir.filePath(QStringLiteral("bad.gsa"));
    writeAll(path, c.body);
    GsaDocument doc = document(picture({"3:y0"}));
    const GsaDocument before = doc;
    QString error;
    EXPECT_FALSE(GsaFile::read(path, &doc, &error)) << c.why;
    EXPECT_FALSE(error.isEmpty()) << c.why;
    EXPECT_EQ(doc, before) << c.why;
    EXPECT_EQ(readAll(path), c.body) << c.why;
    // Read in place, the file counts its lines as the list of them does.
    QString listError;
    EXPECT_FALSE(GsaFile::parse(lines(c.body.constData()), &doc, &listError)) << c.why;
    EXPECT_EQ(error, listError) << c.why;
  }
}

// Garbage quoted in a message is a short excerpt with its control bytes shown as marks.
TEST(GsaFile, MessagesQuoteAShortVisibleExcerpt) {
  const QByteArray garbage = QByteArray("\x01\x02PK\x03") + QByteArray(100000, 'z');
  const QByteArray bodies[] = {
      garbage + "\r\n2\r\nEnd\r\n",
      "GSA1.1\r\nAUTO\r\nTRACK\r\nNOMOVE\r\ny0\r\nyk\r\ns0\r\nsk\r\ns\r\ny\r\n5\r\n4\r\n" + garbage +
          ",1\r\nt\r\n1\r\nEnd\r\n"};
  for (const QByteArray& body : bodies) {
    GsaDocument doc;
    QString error;
    EXPECT_FALSE(GsaFile::parse(textfile::splitLines(cp1251::decode(body)), &doc, &error));
    EXPECT_LT(error.size(), 200) << error.left(300).toStdString();
    EXPECT_TRUE(error.contains(QString::fromUtf8("␁␂PK␃zz"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromUtf8("…")));
  }
}

TEST(GsaFile, TextWithoutCp1251CodeIsReportedAndNothingIsWritten) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("keep.gsa"));
  writeAll(path, "old");
  QString error;
  GsaDocument cell = document(picture({". .", ". 1:y1"}));
  cell.grid.setText(1, 1, QString::fromUtf8("y\u4e00"));
  EXPECT_FALSE(GsaFile::write(path, cell, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("[1, 1]"))) << error.toStdString();
  GsaDocument name;
  name.s0 = QString::fromUtf8("s\u4e00");
  EXPECT_FALSE(GsaFile::write(path, name, &error));
  EXPECT_EQ(readAll(path), QByteArray("old"));
  EXPECT_FALSE(GsaFile::write(dir.filePath(QStringLiteral("no/such/dir/x.gsa")), GsaDocument(), &error));
  EXPECT_FALSE(error.isEmpty());
}

TEST(GsaFile, LineBreakInATextCannotShiftTheFile) {
  GsaDocument doc = document(picture({"1:y1"}));
  doc.grid.setText(0, 0, QStringLiteral("y1\r\ny2"));
  doc.yk = QStringLiteral("a\nb");
  GsaDocument back;
  ASSERT_TRUE(GsaFile::parse(GsaFile::toLines(doc), &back, nullptr));
  EXPECT_EQ(back.grid.text(0, 0), QStringLiteral("y1 y2"));
  EXPECT_EQ(back.yk, QStringLiteral("a b"));
}
