// Long lines in the text editors: shown in pieces, read back, saved and counted whole.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QAbstractTextDocumentLayout>
#include <QTemporaryDir>
#include <QTextBlock>
#include <utility>

#include "platform/cp1251.h"
#include "platform/filewriter.h"
#include "platform/longlines.h"

using longlines::TextEdit;

namespace {

// A line of `n` characters that tells every position apart: "x1&x2&x3&...".
QString longLine(int n) {
  QString s;
  for (int k = 1; s.size() < n; ++k) s += QStringLiteral("x%1&").arg(k);
  s.truncate(n);
  return s;
}

// Puts the caret at the line and column and reads its place back; the line's length, or -1
// when there is no such place.
int placeCaret(TextEdit& e, int line, int column, int* readLine, int* readColumn) {
  int length = -1;
  const int position = e.positionOf(line, column, &length);
  if (position < 0) return -1;
  QTextCursor cursor(e.document());
  cursor.setPosition(position);
  e.setTextCursor(cursor);
  e.caretPlace(readLine, readColumn);
  return length;
}

QByteArray cp1251Of(const QString& s) {
  QByteArray b;
  cp1251::encode(s, &b);
  return b;
}

int longestParagraph(const TextEdit& e) {
  int most = 0;
  for (QTextBlock b = e.document()->begin(); b.isValid(); b = b.next()) most = qMax(most, b.length() - 1);
  return most;
}

}  // namespace

TEST(LongLines, LongLinesAreShownInPiecesAndReadBackWhole) {
  const QString big = longLine(25'000);
  const struct {
    QStringList lines;
    bool pieces;
  } cases[] = {
      {{}, false},
      {{"a", "", "b"}, false},
      {{longLine(longlines::kLongLine)}, false},
      {{"head", big, "", big + "z", "tail"}, true},
      {{big}, true},
  };
  for (const auto& c : cases) {
    TextEdit e;
    for (bool asEdit : {false, true}) {
      e.setLines(c.lines, asEdit);
      EXPECT_EQ(e.hasPieces(), c.pieces);
      EXPECT_EQ(e.lines(), c.lines);
      EXPECT_LE(longestParagraph(e), c.pieces ? longlines::kPiece + 1 : longlines::kLongLine);
      EXPECT_EQ(e.document()->isModified(), asEdit && !c.lines.isEmpty());
    }
  }
}

// Line and column count in the whole lines; a position found from them lands where it should.
TEST(LongLines, PlacesCountInWholeLines) {
  const QString big = longLine(25'000);
  TextEdit e;
  e.setLines({"head", big, "tail"}, false);
  const struct {
    int line, column;
  } cases[] = {{0, 0}, {0, 3}, {1, 0}, {1, 999}, {1, 1000}, {1, 12'345}, {1, 25'000}, {2, 2}};
  for (const auto& c : cases) {
    int line = -1, column = -1;
    EXPECT_EQ(placeCaret(e, c.line, c.column, &line, &column), c.line == 1 ? big.size() : 4);
    EXPECT_EQ(line, c.line);
    EXPECT_EQ(column, c.column);
  }
  EXPECT_EQ(e.positionOf(3, 0), -1);
}

// Keys at the seams of the pieces edit the whole line as if it were one paragraph.
TEST(LongLines, KeysAtTheSeamsEditTheWholeLine) {
  const QString big = longLine(25'000);
  const int seam = longlines::kPiece;  // the first character of the second piece
  const struct {
    int column;
    Qt::Key key;
    QString text;
    QString expected;
  } cases[] = {
      {seam, Qt::Key_unknown, "Q", big.left(seam) + "Q" + big.mid(seam)},
      {seam, Qt::Key_Backspace, {}, big.left(seam - 1) + big.mid(seam)},
      {seam, Qt::Key_Delete, {}, big.left(seam) + big.mid(seam + 1)},
      {seam, Qt::Key_Return, {}, big.left(seam) + "\n" + big.mid(seam)},
      {seam - 1, Qt::Key_Right, "Q", big.left(seam) + "Q" + big.mid(seam)},
  };
  for (const auto& c : cases) {
    TextEdit e;
    e.setLines({big}, false);
    QTextCursor cursor(e.document());
    // The seam is reached from the end of the first piece, where the caret may not stay.
    cursor.setPosition(e.positionOf(0, c.column));
    e.setTextCursor(cursor);
    if (c.key != Qt::Key_unknown) QTest::keyClick(&e, c.key);
    if (!c.text.isEmpty()) QTest::keyClicks(&e, c.text);
    EXPECT_EQ(e.lines().join('\n'), c.expected) << int(c.key);
  }
}

TEST(LongLines, CopiedTextHasNoMarks) {
  const QString big = longLine(25'000);
  TextEdit e;
  e.setLines({big}, false);
  e.selectAll();
  e.copy();
  EXPECT_EQ(QApplication::clipboard()->text(), big);
}

// A large loaded text goes in whole, unmodified and not undoable, with wrapping off; a change of
// width then lays out no line (the layout keeps its width), while a small text follows the width.
TEST(LongLines, LargeTextLoadsWholeWithoutWrapping) {
  QStringList large;
  for (int k = 0; k < longlines::kLargeLines + 10; ++k) large << QStringLiteral("sa%1(y1)=s0*x1*x2;").arg(k);
  large[7] = longLine(25'000);  // pieces in a large text
  large << QString();           // an empty last line
  const struct {
    QStringList lines;
    bool large;
  } cases[] = {{{"a", "b"}, false}, {large, true}};
  for (const auto& c : cases) {
    TextEdit e;
    e.resize(300, 200);
    e.show();
    e.setText(c.lines.join(QLatin1Char('\n')), false);
    EXPECT_EQ(e.isLarge(), c.large);
    EXPECT_EQ(e.lines(), c.lines);
    EXPECT_FALSE(e.document()->isModified());
    EXPECT_FALSE(e.document()->isUndoAvailable());
    EXPECT_EQ(e.lineWrapMode() == QPlainTextEdit::NoWrap, c.large);
    EXPECT_EQ(e.notes().contains(longlines::largeNote()), c.large);
    e.resize(500, 200);
    QApplication::processEvents();
    // A layout given the width takes it as the document's width.
    EXPECT_EQ(e.document()->documentLayout()->documentSize().width() == e.viewport()->width(), !c.large);
  }
}

// A large text goes in with many lines to a paragraph; lines, places, the scroll bar's line count,
// keys, copying and a change of wrapping all still go by the whole lines.
TEST(LongLines, LargeTextIsPackedAndCountsWholeLines) {
  QStringList lines;
  for (int k = 0; k < longlines::kLargeLines + 10; ++k) lines << QStringLiteral("sa%1(y1)=s0*x1;").arg(k);
  const QString big = longLine(25'000);
  lines[70] = big;  // pieces inside a packed paragraph
  TextEdit e;
  e.resize(300, 200);
  e.show();
  e.setText(lines.join(QLatin1Char('\n')), false);
  ASSERT_EQ(e.lines(), lines);
  EXPECT_LT(e.document()->blockCount(), lines.size() / 32);
  const int pieceRows = int(big.size() / longlines::kPiece) - 1;  // rows beyond the line's first
  EXPECT_EQ(e.document()->lineCount(), lines.size() + pieceRows);

  // Each edit is a key at a place, then the places of later lines are found again.
  const struct {
    int line, column;
    Qt::Key key;
    QString typed;
  } edits[] = {
      {0, 0, Qt::Key_unknown, {}},
      {63, 5, Qt::Key_unknown, {}},
      {70, 12'345, Qt::Key_unknown, {}},
      {64, 0, Qt::Key_Backspace, {}},
      {longlines::kLargeLines / 2, 3, Qt::Key_Return, {}},
      {longlines::kLargeLines / 2 + 1, 0, Qt::Key_unknown, "Q"},
      {longlines::kLargeLines + 9, 4, Qt::Key_Delete, {}},
      {69, 25'000, Qt::Key_unknown, {}},
  };
  for (const auto& c : edits) {
    int line = -1, column = -1;
    ASSERT_EQ(placeCaret(e, c.line, c.column, &line, &column), lines[c.line].size()) << c.line;
    EXPECT_EQ(line, c.line);
    EXPECT_EQ(column, c.column);
    if (c.key == Qt::Key_Backspace) {
      lines[c.line - 1] += lines[c.line];
      lines.removeAt(c.line);
    } else if (c.key == Qt::Key_Return) {
      lines.insert(c.line + 1, lines[c.line].mid(c.column));
      lines[c.line].truncate(c.column);
    } else if (c.key == Qt::Key_Delete) {
      lines[c.line].remove(c.column, 1);
    }
    lines[c.line + (c.key == Qt::Key_Return ? 1 : c.key == Qt::Key_Backspace ? -1 : 0)].insert(0, c.typed);
    if (c.key != Qt::Key_unknown) QTest::keyClick(&e, c.key);
    if (!c.typed.isEmpty()) QTest::keyClicks(&e, c.typed);
    ASSERT_EQ(e.lines(), lines) << c.line;
  }
  EXPECT_EQ(e.positionOf(lines.size(), 0), -1);

  // A selection across a break inside a paragraph copies as lines.
  QTextCursor cursor(e.document());
  cursor.setPosition(e.positionOf(1, 0));
  cursor.setPosition(e.positionOf(3, 0), QTextCursor::KeepAnchor);
  e.setTextCursor(cursor);
  e.copy();
  EXPECT_EQ(QApplication::clipboard()->text(), lines[1] + "\n" + lines[2] + "\n");

  // Wrapping on and off again leaves the scroll bar counting every line.
  e.setLineWrapMode(QPlainTextEdit::WidgetWidth);
  e.setLineWrapMode(QPlainTextEdit::NoWrap);
  EXPECT_EQ(e.document()->lineCount(), lines.size() + pieceRows);
}

// What the editor writes is its whole lines, each with CR LF, whatever the paragraphs hold:
// pieces of a long line (a mark before the paragraph's end), a large text packed many lines to a
// paragraph, an empty last line, no text at all.
TEST(LongLines, WrittenBytesAreTheWholeLines) {
  QStringList large;
  for (int k = 0; k < longlines::kLargeLines + 10; ++k) large << QStringLiteral("s%1=ж%1;").arg(k);
  large[70] = longLine(25'000);
  large << QString();
  // Packed paragraphs, long on the average: written a paragraph at a time (as `large` is).
  QStringList larger = large;
  for (int k = 0; k < 400'000; ++k) larger << QStringLiteral("s%1=x1&x2&ж;").arg(k);
  larger[150'000] = longLine(25'000);
  ASSERT_GT(20 * longlines::kPackedLines, longlines::kSavedWhole);
  const QStringList cases[] = {
      {}, {"a", "", "b"}, {"x", longLine(12'001), "", longLine(30'000)}, large, larger};
  QTemporaryDir dir;
  const QString path = dir.filePath("t.rvs");
  for (const QStringList& lines : cases) {
    TextEdit e;
    e.setLines(lines, false);
    textfile::Writer out(path);
    EXPECT_TRUE(e.write(out));
    QString error;
    ASSERT_TRUE(out.commit(&error)) << error.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (const QString& l : e.lines()) expected += cp1251Of(l) + "\r\n";
    EXPECT_EQ(e.lines(), lines);
    EXPECT_EQ(f.readAll(), expected) << lines.size();
  }
}

// A text handed in parts cut anywhere goes in as it does handed whole: the same paragraphs,
// pieces and marks, the same lines read back.
TEST(LongLines, TextInPartsGoesInAsWhole) {
  QStringList large;
  for (int k = 0; k < longlines::kLargeLines + 10; ++k) large << QStringLiteral("sa%1(y1)=s0*x1;").arg(k);
  large[100] = longLine(25'000);
  const QStringList texts[] = {
      {"a", "", "b"},
      {longLine(25'000), "c", longLine(longlines::kLongLine), longLine(longlines::kLongLine + 1)},
      {QString(), longLine(3 * longlines::kPiece)},
      large,
  };
  for (const QStringList& lines : texts) {
    const QString joined = lines.join(QLatin1Char('\n'));
    TextEdit whole;
    whole.load(lines.size(), [&, given = false](QString* part) mutable {
      *part = joined;
      return !std::exchange(given, true);
    });
    ASSERT_EQ(whole.lines(), lines.size() == 1 && lines[0].isEmpty() ? QStringList() : lines);
    for (const qsizetype cut :
         {qsizetype(1), qsizetype(999), qsizetype(1000), qsizetype(1001), qsizetype(4096)}) {
      if (cut < 999 && lines.size() > 10) continue;  // a large text in single characters takes long
      TextEdit e;
      qsizetype from = 0;
      e.load(lines.size(), [&](QString* part) {
        *part = joined.mid(from, cut);
        from += cut;
        return !part->isEmpty();
      });
      EXPECT_EQ(e.document()->toRawText(), whole.document()->toRawText()) << lines.size() << " " << cut;
      EXPECT_EQ(e.hasPieces(), whole.hasPieces());
      EXPECT_EQ(e.isLarge(), whole.isLarge());
    }
  }
}
