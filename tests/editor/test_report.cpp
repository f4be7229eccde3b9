#include <QDir>
#include <algorithm>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "helpers.h"
#include "platform/dialogs.h"
#include "platform/rtf.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"

using namespace velmora;

using edtest::InFrame;

namespace {

class ReportTest : public InFrame {
 protected:
  static QList<int> tabsOf(const QTextBlock& b) {
    QList<int> out;
    for (const QTextOption::Tab& t : b.blockFormat().tabPositions()) out << qRound(t.position * 3.0 / 4.0);
    return out;
  }
  static QTextCharFormat formatAt(QTextEdit* e, int pos) {
    QTextCursor c(e->document());
    c.setPosition(pos + 1);
    return c.charFormat();
  }
};

// The pieces of text a PDF of ours draws: where each starts on the page and how tall its
// font is, in points. Reads the compressed page streams Qt writes: "cm" (scale and offset),
// "q"/"Q", and "BT /F n Tf a b c d e f Tm x y Td ... ET".
struct Piece {
  double x, y, size;
};
QList<Piece> printedPieces(const QByteArray& pdf) {
  QList<Piece> out;
  int at = 0;
  while ((at = pdf.indexOf("stream", at)) >= 0) {
    int begin = at + 6;
    if (pdf.mid(begin, 2) == "\r\n")
      begin += 2;
    else if (pdf.mid(begin, 1) == "\n")
      begin += 1;
    const int end = pdf.indexOf("endstream", begin);
    if (end < 0) break;
    at = end + 9;
    QByteArray packed = pdf.mid(begin, end - begin);
    const quint32 guess = quint32(packed.size()) * 16;
    packed.prepend(QByteArray(1, char(guess >> 24)) + char(guess >> 16 & 255) + char(guess >> 8 & 255) +
                   char(guess & 255));
    // Only the page streams: the fonts' streams are not plain zlib.
    const int dict = pdf.lastIndexOf("<<", begin);
    if (dict < 0 || !pdf.mid(dict, begin - dict).contains("/FlateDecode") ||
        pdf.mid(dict, begin - dict).contains("/Length1"))
      continue;
    const QByteArray content = qUncompress(packed);
    if (!content.contains(" Tf")) continue;
    // Scale and offset along x, and scale along y: enough for Qt's unrotated pages.
    struct M {
      double sx = 1, ox = 0, sy = 1, oy = 0;
    };
    QList<M> stack{M()};
    QList<double> nums;
    double tf = 0, tmx = 1, tmox = 0, tmy = 1, tmoy = 0;
    bool started = false;
    for (const QByteArray& tok : content.simplified().split(' ')) {
      bool isNum = false;
      const double v = tok.toDouble(&isNum);
      if (isNum) {
        nums << v;
        continue;
      }
      M& m = stack.last();
      if (tok == "q")
        stack << stack.last();
      else if (tok == "Q" && stack.size() > 1)
        stack.removeLast();
      else if (tok == "cm" && nums.size() >= 6) {
        const double* n = nums.constData() + nums.size() - 6;
        m.ox += m.sx * n[4];
        m.oy += m.sy * n[5];
        m.sx *= n[0];
        m.sy *= n[3];
      } else if (tok == "BT")
        started = false;
      else if (tok == "Tf" && !nums.isEmpty())
        tf = nums.last();
      else if (tok == "Tm" && nums.size() >= 6) {
        const double* n = nums.constData() + nums.size() - 6;
        tmx = n[0];
        tmy = n[3];
        tmox = n[4];
        tmoy = n[5];
      } else if (tok == "Td" && nums.size() >= 2 && !started) {
        started = true;
        out << Piece{m.ox + m.sx * (tmox + tmx * nums[nums.size() - 2]),
                     m.oy + m.sy * (tmoy + tmy * nums.last()), qAbs(tf * tmy * m.sy)};
      }
      nums.clear();
    }
  }
  return out;
}

}  // namespace

TEST_F(ReportTest, PrintedReportLooksLikeTheScreenAtAnyPrinterResolution) {
  // On the screen the report's text is 12 pixels (9 points) high and its columns start at
  // the tab stops; the page shows the same in points, at a printer of any resolution.
  TVexoTableForm* t =
      newTable({{QStringLiteral("s0"), QStringLiteral("y1"), QStringLiteral("x1"), QStringLiteral("s1")}});
  t->mReportClick();
  TTxtForm* r = frame->lastTxtForm;
  ASSERT_NE(r, nullptr);
  const QTextBlock header = r->Editor->document()->findBlockByNumber(2);
  QList<double> stops;  // in points
  for (const QTextOption::Tab& tab : header.blockFormat().tabPositions()) stops << tab.position * 0.75;
  ASSERT_EQ(stops.size(), 5);
  QTemporaryDir dir;
  for (int dpi : {96, 300, 1200}) {
    SCOPED_TRACE(dpi);
    const QString pdf = dir.filePath(QStringLiteral("r%1.pdf").arg(dpi));
    r->printer()->setOutputFormat(QPrinter::PdfFormat);
    r->printer()->setOutputFileName(pdf);
    r->printer()->setResolution(dpi);
    dlg::Script s;
    s.printAnswers << true;
    r->mPrintClick();
    const QList<Piece> pieces = printedPieces(edtest::readAll(pdf));
    ASSERT_GE(pieces.size(), 10);
    for (const Piece& p : pieces) EXPECT_NEAR(p.size, 9.0, 0.3);
    // The table's row is the last line of five pieces; they start a tab stop apart, as on
    // the screen.
    QList<double> starts;
    for (const Piece& line : pieces) {
      QList<double> xs;
      for (const Piece& p : pieces)
        if (qAbs(p.y - line.y) < 0.5) xs << p.x;
      if (xs.size() == 5) starts = xs;
    }
    std::sort(starts.begin(), starts.end());
    ASSERT_EQ(starts.size(), 5);
    for (int i = 1; i < 5; ++i) EXPECT_NEAR(starts[i] - starts[0], stops[i] - stops[0], 1.0) << i;
    EXPECT_LT(starts[0], 100.0);  // at the left margin, not lost in a corner of the page
  }
}

TEST_F(ReportTest, TableBecomesTabbedRichTextInANewWindowBesideTheTable) {
  QTemporaryDir dir;
  TVexoTableForm* t =
      newTable({{QStringLiteral("s0"), QStringLiteral("y1"), QStringLiteral("x1"), QStringLiteral("s1")},
                {QStringLiteral("abcdefghijkl"), QString(), QStringLiteral("1"), QStringLiteral("s0")}});
  t->document()->setFileName(dir.filePath(QStringLiteral("cpu.tbl")));
  t->activated();
  frame->ui().ReportAction->trigger();  // routed to the active table
  TTxtForm* r = frame->lastTxtForm;
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(t->reportEditor(), r->Editor);
  EXPECT_EQ(r->windowTitle(), QStringLiteral("Отчёт cpu.rtf"));
  EXPECT_EQ(r->fileName, QDir(dir.path()).filePath(QStringLiteral("cpu.rtf")));
  EXPECT_EQ(r->Editor->toPlainText().split(QLatin1Char('\n')),
            (QStringList{QStringLiteral("Таблица: cpu.tbl"), QStringLiteral("Таблица переходов:"),
                         QStringLiteral("t \tsi\ty\txij\tsj"), QStringLiteral("1\ts0\ty1\tx1\ts1"),
                         QStringLiteral("2\tabcdefghijkl\t\t1\ts0")}));

  // Widths: the titles at 7 points a character, the cells at 6; the longest si has 12.
  const int w0 = 14, w1 = 72, w2 = 12, w3 = 21;
  const QList<int> expected{0, w0 + 2, w0 + w1 + 4, w0 + w1 + w2 + 6, w0 + w1 + w2 + w3 + 8};
  const QTextBlock header = r->Editor->document()->findBlockByNumber(2);
  EXPECT_EQ(tabsOf(header), expected);
  EXPECT_EQ(tabsOf(r->Editor->document()->findBlockByNumber(4)), expected);

  // "Таблица: " in blue, the name in black, the titles and row numbers bold.
  EXPECT_EQ(formatAt(r->Editor, 0).foreground().color(), QColor(0, 0, 255));
  EXPECT_EQ(formatAt(r->Editor, 10).foreground().color(), QColor(0, 0, 0));
  EXPECT_EQ(formatAt(r->Editor, 0).fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
  EXPECT_EQ(formatAt(r->Editor, header.position()).fontWeight(), QFont::Bold);
  EXPECT_EQ(formatAt(r->Editor, header.position()).fontFamilies().toStringList().value(0),
            QStringLiteral("Vexo font"));
  const QTextBlock row = r->Editor->document()->findBlockByNumber(3);
  EXPECT_EQ(formatAt(r->Editor, row.position()).fontWeight(), QFont::Bold);
  EXPECT_EQ(formatAt(r->Editor, row.position() + 3).fontWeight(), QFont::Normal);

  // Its save writes rich text beside the table without asking where.
  dlg::Script s;
  ASSERT_TRUE(r->Save1Click());
  EXPECT_TRUE(s.fileFilters.isEmpty());
  const rtf::Document saved = rtf::read(edtest::readAll(r->fileName));
  ASSERT_EQ(saved.paragraphs.size(), 5);
  EXPECT_EQ(saved.paragraphs[2].tabs.value(1), (w0 + 2) * 20);  // twips
  EXPECT_EQ(saved.paragraphs[0].runs[0].format.color, qRgb(0, 0, 255));

  // Save as starts beside the table too.
  edtest::DirScript where;
  EXPECT_FALSE(r->Saveas1Click());
  EXPECT_EQ(where.saveDirs.value(0), QDir(dir.path()).absolutePath());
  EXPECT_EQ(where.saveNames.value(0), QStringLiteral("cpu.rtf"));
}

TEST_F(ReportTest, EmptyUntitledTableGivesTitlesOnlyAndEachRunANewWindow) {
  TVexoTableForm* t = newTable({});
  const int before = children();
  t->mReportClick();
  TTxtForm* first = frame->lastTxtForm;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->windowTitle(), QStringLiteral("Отчёт Untitled.rtf"));
  EXPECT_EQ(first->fileName, QStringLiteral("Untitled.rtf"));
  QStringList lines = first->Editor->toPlainText().split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 3);
  EXPECT_EQ(lines[0], QStringLiteral("Таблица: Untitled"));
  EXPECT_EQ(lines[2], QStringLiteral("t \tsi\ty\txij\tsj"));

  t->mReportClick();
  TTxtForm* second = frame->lastTxtForm;
  EXPECT_NE(first, second);
  EXPECT_EQ(t->reportEditor(), second->Editor);
  EXPECT_EQ(children(), before + 2);
}
