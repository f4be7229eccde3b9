#include <QDir>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "helpers.h"
#include "platform/dialogs.h"
#include "platform/rtf.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"

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

}  // namespace

TEST_F(ReportTest, TableBecomesTabbedRichTextInANewWindowBesideTheTable) {
  QTemporaryDir dir;
  TVexoTableForm* t = newTable({{QStringLiteral("s0"), QStringLiteral("y1"), QStringLiteral("x1"), QStringLiteral("s1")},
                             {QStringLiteral("abcdefghijkl"), QString(), QStringLiteral("1"), QStringLiteral("s0")}});
  t->tableFileName = dir.filePath(QStringLiteral("cpu.tbl"));
  t->activated();
  frame->ReportAction->trigger();  // routed to the active table
  TTxtForm* r = frame->lastTxtForm;
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(t->reportEditor.data(), r->Editor);
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
  EXPECT_EQ(formatAt(r->Editor, header.position()).fontFamilies().toStringList().value(0), QStringLiteral("Vexo font"));
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
  EXPECT_EQ(t->reportEditor.data(), second->Editor);
  EXPECT_EQ(children(), before + 2);
}
