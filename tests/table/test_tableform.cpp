#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <memory>

#include "platform/dialogs.h"
#include "common/gui/tablegrid.h"
#include "common/tblfile.h"
#include "platform/cp1251.h"
#include "tablehelpers.h"
#include "velmora/documents/doccreate.h"

using namespace velmora;

using namespace tt;

namespace {

const QByteArray kSample = "Binary\r\ns0\r\ny1\r\nx1\r\ns1\r\n\r\n\r\nX1\r\ns0\r\ns1\r\ny2&y1\r\n1\r\ns0\r\n";

std::unique_ptr<TVexoTableForm> newForm() {
  auto f = std::make_unique<TVexoTableForm>();
  f->show();
  return f;
}

std::unique_ptr<TVexoTableForm> openForm(const QString& path) {
  auto f = newForm();
  EXPECT_TRUE(f->Open(path));
  return f;
}

TableData threeRows() {
  TableData t;
  t.rows << TableRow{"s0", "y1", "x1", "s1"} << TableRow{"", "", "X1", "s0"}
         << TableRow{"s1", "y2&y1", "1", "s0"};
  return t;
}

}  // namespace

TEST(TableWindow, NewWindowHasTitlesOneEmptyRowAndNoDescription) {
  auto f = newForm();
  EXPECT_EQ(f->kind(), 4);
  EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Untitled - таблица"));
  EXPECT_EQ(f->rowCount(), 2);
  EXPECT_EQ(f->cell(0, 0), "[-]");
  EXPECT_EQ(f->cell(1, 0), "si");
  EXPECT_EQ(f->cell(2, 0), "y");
  EXPECT_EQ(f->cell(3, 0), "xij");
  EXPECT_EQ(f->cell(4, 0), "sj");
  EXPECT_EQ(f->fileName(), "Untitled");
  EXPECT_EQ(f->document()->oaFileName(), "Untitled");
  EXPECT_FALSE(f->document()->isModified() || f->document()->isOaModified() || f->document()->isCompiled() ||
               f->hasContent() || f->document()->oa().oaPresent);
  EXPECT_EQ(f->document()->signalCoding(), 0);
  EXPECT_EQ(f->tableData().signalCoding, "Binary");
  EXPECT_EQ(f->defaultColWidth(), 80);
  EXPECT_EQ(f->cell(0, 1), "") << "no default row number shows through";
  EXPECT_TRUE(f->messagesVisible());
  EXPECT_TRUE(f->messagesShown());
  EXPECT_FALSE(f->oaModelAction()->isEnabled());
}

TEST(TableWindow, SampleOpensNumberedAndSaveAsWritesIdenticalBytes) {
  QTemporaryDir dir;
  const QString in = dir.filePath("sample.tbl"), out = dir.filePath("copy.tbl");
  ASSERT_TRUE(writeRaw(in, kSample));
  dlg::Script s;
  auto f = openForm(in);
  EXPECT_TRUE(s.shown.isEmpty());
  EXPECT_EQ(f->rowCount(), 4);
  EXPECT_EQ(column(f.get(), 0), (QStringList{"1", "", "2"}));
  EXPECT_EQ(column(f.get(), 4), (QStringList{"s1", "s0", "s0"}));
  EXPECT_EQ(f->windowTitle(), "sample.tbl");
  EXPECT_EQ(f->fileName(), in);
  EXPECT_TRUE(f->hasContent());
  EXPECT_FALSE(f->document()->isModified());

  s.files << out;
  EXPECT_TRUE(f->Saveas1Click());
  EXPECT_EQ(s.fileFilters.last(), QString::fromUtf8("Таблица переходов (*.tbl)|*.tbl"));
  EXPECT_EQ(readAll(out), kSample);
  EXPECT_EQ(f->windowTitle(), "copy.tbl");
  EXPECT_EQ(f->fileName(), out);
  EXPECT_EQ(f->document()->oaFileName(), QDir(dir.path()).filePath("copy.oa"));
}

// The window writes its cells straight into the file: a table larger than the writer's buffer,
// with Cyrillic cells and empty ones, saves back the bytes it was read from.
TEST(TableWindow, LargeTableSavesBackTheBytesItWasReadFrom) {
  QString text = QStringLiteral("Abstract\r\n");
  for (int r = 0; text.size() < 3 * (1 << 20); ++r)
    text += QStringLiteral("s%1\r\nу%2&y1\r\n%3\r\nс%4\r\n")
                .arg(r)
                .arg(r % 7)
                .arg(r % 5 ? QStringLiteral("x1&X%1").arg(r) : QString())
                .arg(r + 1);
  QByteArray bytes;
  ASSERT_TRUE(cp1251::encode(text, &bytes));
  QTemporaryDir dir;
  const QString p = dir.filePath("big.tbl");
  ASSERT_TRUE(writeRaw(p, bytes));
  auto f = openForm(p);
  ASSERT_TRUE(writeRaw(p, "old"));
  ASSERT_TRUE(f->Save1Click());
  EXPECT_TRUE(readAll(p) == bytes);
}

TEST(TableWindow, RefusedFirstLineLeavesNoWindow) {
  QTemporaryDir dir;
  for (const QByteArray& first : {QByteArray("abstract"), QByteArray("Binary "), QByteArray("")}) {
    const QString p = dir.filePath("bad.tbl");
    ASSERT_TRUE(writeRaw(p, first + "\r\ns0\r\ny1\r\nx1\r\ns1\r\n"));
    dlg::Script s;
    const int before = QApplication::topLevelWidgets().size();
    EXPECT_EQ(createTableWindow(nullptr, p), nullptr);
    QApplication::processEvents();
    ASSERT_EQ(s.shown.size(), 1);
    EXPECT_EQ(s.shown[0].text, QString::fromUtf8("Неправильный формат файла таблицы переходов"));
    EXPECT_EQ(s.shown[0].caption, QString::fromUtf8("Ошибка"));
    EXPECT_EQ(s.shown[0].buttons, dlg::Ok);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
  }
  dlg::Script s;
  EXPECT_EQ(createTableWindow(nullptr, dir.filePath("missing.tbl")), nullptr);
  ASSERT_EQ(s.shown.size(), 1) << "a missing file is reported, not a crash";
  EXPECT_EQ(s.shown[0].caption, QString::fromUtf8("Ошибка"));
}

TEST(TableWindow, TagOnlyFileIsOneEmptyRowAndPartialGroupIsDropped) {
  QTemporaryDir dir;
  const QString p = dir.filePath("t.tbl");
  ASSERT_TRUE(writeRaw(p, "Abstract\r\n"));
  auto f = openForm(p);
  EXPECT_EQ(f->rowCount(), 2);
  EXPECT_EQ(f->document()->signalCoding(), 1);
  EXPECT_FALSE(f->hasContent());
  ASSERT_TRUE(f->Save1Click());
  EXPECT_EQ(readAll(p), QByteArray("Abstract\r\n\r\n\r\n\r\n\r\n")) << "a loaded table keeps its coding";

  // A file cut inside a row says so before a save could lose the rest for good.
  ASSERT_TRUE(writeRaw(p, "Binary\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n"));
  dlg::Script s;
  auto g = openForm(p);
  EXPECT_EQ(g->rowCount(), 3);
  EXPECT_EQ(column(g.get(), 1), (QStringList{"1", "5"}));
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_TRUE(s.shown[0].text.contains("(1)")) << s.shown[0].text.toStdString();
  EXPECT_EQ(s.shown[0].caption, QString::fromUtf8("Предупреждение"));
}

TEST(TableWindow, TrailingEmptyCellsAndAnEmptyLastRowSurviveOpenAndSave) {
  QTemporaryDir dir;
  const QString p = dir.filePath("t.tbl");
  const QByteArray bytes = "Abstract\r\ns0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
  ASSERT_TRUE(writeRaw(p, bytes));
  auto f = openForm(p);
  ASSERT_EQ(f->rowCount(), 3);
  EXPECT_EQ(column(f.get(), 0), (QStringList{"1", ""}));
  ASSERT_TRUE(f->Save1Click());
  EXPECT_EQ(readAll(p), bytes);
}

TEST(TableWindow, RenumberingWaitsForTheNextActivation) {
  auto f = newForm();
  f->New2Click();
  f->setCell(1, 1, "s0");
  f->setCell(1, 2, "s1");  // filled as a converter does: no numbers yet
  f->requestRenumber();
  EXPECT_EQ(column(f.get(), 0), (QStringList{"", ""}));
  f->FormActivate();
  EXPECT_EQ(column(f.get(), 0), (QStringList{"1", "2"}));
  EXPECT_FALSE(f->renumberPending());
  f->setCell(1, 2, QString());
  f->FormActivate();
  EXPECT_EQ(column(f.get(), 0), (QStringList{"1", "2"})) << "only once";
}

TEST(TableWindow, TypingThroughTheEditorMarksModifiedAndSavesCp1251) {
  QTemporaryDir dir;
  const QString p = dir.filePath("t.tbl");
  ASSERT_TRUE(writeRaw(p, "Binary\r\n\r\n\r\n\r\n\r\n"));
  auto f = openForm(p);
  f->document()->setCompiled(true);
  ASSERT_TRUE(typeIntoCell(f.get(), 2, 1, QString::fromUtf8("у1")));  // Cyrillic у
  EXPECT_EQ(f->cell(2, 1), QString::fromUtf8("у1"));
  EXPECT_TRUE(f->document()->isModified());
  EXPECT_FALSE(f->document()->isCompiled());
  EXPECT_TRUE(f->hasContent());
  EXPECT_EQ(f->cellEditor(), nullptr);
  ASSERT_TRUE(f->Save1Click());
  EXPECT_FALSE(f->document()->isModified());
  EXPECT_EQ(readAll(p), QByteArray("Binary\r\n\r\n\xF3"
                                   "1\r\n\r\n\r\n"));
}

TEST(TableWindow, VisitingACellWithoutTypingChangesNothing) {
  auto f = newForm();
  f->setTableData(threeRows());
  f->selectCell(3, 2);
  f->grid()->edit(f->grid()->currentIndex());
  ASSERT_NE(f->cellEditor(), nullptr);
  EXPECT_TRUE(f->cellEditing());
  commitWithEnter(f->cellEditor());
  EXPECT_FALSE(f->document()->isModified());
  EXPECT_EQ(f->cell(3, 2), "X1");
}

TEST(TableWindow, EnterOpensTheCellWithItsTextAndClosesItAgain) {
  auto f = newForm();
  f->setTableData(threeRows());
  f->selectCell(2, 3);
  QTest::keyClick(f->grid(), Qt::Key_Return);
  QLineEdit* e = f->cellEditor();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->text(), "y2&y1");
  QTest::keyClick(e, Qt::Key_End);
  typeText(e, "&y3");
  commitWithEnter(e);
  EXPECT_EQ(f->cellEditor(), nullptr);
  EXPECT_EQ(f->cell(2, 3), "y2&y1&y3");
  EXPECT_TRUE(f->document()->isModified());
  EXPECT_EQ(f->currentRow(), 3) << "the cursor stays on the cell";

  f->setGridLocked(true, "busy");
  QTest::keyClick(f->grid(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(f->cellEditor(), nullptr) << "a locked grid opens no editor";
}

TEST(TableWindow, AnyKeyStartsEditingAndAPendingEditCountsForSaveAndData) {
  QTemporaryDir dir;
  const QString p = dir.filePath("t.tbl");
  auto f = newForm();
  f->selectCell(1, 1);
  typeText(f->grid(), "s");
  ASSERT_NE(f->cellEditor(), nullptr) << "a key press opens the in-place editor";
  typeText(f->cellEditor(), "0");
  EXPECT_EQ(f->cellEditor()->text(), "s0");
  EXPECT_EQ(f->tableData().rows[0].si, "s0") << "the converters see what is typed";
  dlg::Script s;
  s.files << p;
  ASSERT_TRUE(f->Save1Click()) << "a never-saved table asks for a name";
  EXPECT_EQ(readAll(p), QByteArray("Binary\r\ns0\r\n\r\n\r\n\r\n"));
  EXPECT_FALSE(f->document()->isModified());
  // Leaving the cell afterwards is no second change.
  commitWithEnter(f->cellEditor());
  EXPECT_FALSE(f->document()->isModified());
}

TEST(TableWindow, LineBreaksInACommittedCellBecomeBlanks) {
  QTemporaryDir dir;
  const QString p = dir.filePath("t.tbl");
  ASSERT_TRUE(writeRaw(p, "Binary\r\n\r\n\r\n\r\n\r\n"));
  auto f = openForm(p);
  f->selectCell(4, 1);
  f->grid()->edit(f->grid()->currentIndex());
  QLineEdit* e = f->cellEditor();
  ASSERT_NE(e, nullptr);
  e->setText("s1\r\ns2\ns3");  // as a paste could bring it
  e->setModified(true);
  commitWithEnter(e);
  EXPECT_EQ(f->cell(4, 1), "s1 s2 s3");
  f->setCell(1, 1, "a\nb");
  EXPECT_EQ(f->cell(1, 1), "a b");
  ASSERT_TRUE(f->Save1Click());
  EXPECT_EQ(readAll(p), QByteArray("Binary\r\na b\r\n\r\n\r\ns1 s2 s3\r\n"));
}

TEST(TableWindow, SaveOfANeverSavedWindowCancelledWritesNothing) {
  QTemporaryDir dir;
  auto f = newForm();
  ASSERT_TRUE(typeIntoCell(f.get(), 1, 1, "s0"));
  dlg::Script s;  // no file queued: the dialog is cancelled
  EXPECT_FALSE(f->Save1Click());
  EXPECT_EQ(f->fileName(), "Untitled");
  EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Untitled - таблица"));
  EXPECT_TRUE(f->document()->isModified());
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(TableWindow, ATableWithNoFileOfItsOwnAsksWhereToSaveWhateverItsCaption) {
  QTemporaryDir dir;
  const QString was = QDir::currentPath();
  QDir::setCurrent(dir.path());
  const QString chosen = dir.filePath("r.tbl");
  const struct {
    const char* caption;  // as a command that filled the window may have left it
    QStringList files;
  } cases[] = {
      {"Untitled - таблица", {}},
      {"Результат преобразования", {}},
      {"Результат преобразования", {chosen}},
  };
  for (const auto& c : cases) {
    auto f = newForm();
    f->setWindowTitle(QString::fromUtf8(c.caption));
    ASSERT_TRUE(typeIntoCell(f.get(), 1, 1, "s0"));
    dlg::Script s;
    s.files = c.files;
    const bool saved = !c.files.isEmpty();
    EXPECT_EQ(f->Save1Click(), saved) << c.caption;
    EXPECT_EQ(s.fileTitles.size(), 1) << c.caption << ": the Save as dialog opens";
    EXPECT_FALSE(QFile::exists(dir.filePath("Untitled"))) << c.caption;
    EXPECT_EQ(f->fileName(), saved ? chosen : QStringLiteral("Untitled")) << c.caption;
    EXPECT_EQ(f->windowTitle(), saved ? QStringLiteral("r.tbl") : QString::fromUtf8(c.caption)) << c.caption;
    EXPECT_EQ(f->document()->isModified(), !saved) << c.caption;
    f->document()->setModified(false);
  }
  QDir::setCurrent(was);
}

TEST(TableWindow, FailedSaveIsReportedAndTheTableStaysModified) {
  QTemporaryDir dir;
  auto f = newForm();
  ASSERT_TRUE(typeIntoCell(f.get(), 1, 1, "s0"));
  dlg::Script s;
  s.files << dir.filePath("no/such/dir/t.tbl");
  EXPECT_FALSE(f->Save1Click());
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_EQ(s.shown[0].caption, QString::fromUtf8("Ошибка"));
  EXPECT_TRUE(f->document()->isModified());

  // A character without a 1251 code: named, and the old file stays whole.
  const QString p = dir.filePath("t.tbl");
  ASSERT_TRUE(writeRaw(p, kSample));
  auto g = openForm(p);
  ASSERT_TRUE(typeIntoCell(g.get(), 3, 1, QString::fromUtf8("x\xe2\x88\x80")));
  s.shown.clear();
  EXPECT_FALSE(g->Save1Click());
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_TRUE(s.shown[0].text.contains(QString::fromUtf8("\xe2\x88\x80"))) << s.shown[0].text.toStdString();
  EXPECT_EQ(s.shown[0].caption, QString::fromUtf8("Ошибка"));
  EXPECT_TRUE(g->document()->isModified());
  EXPECT_EQ(readAll(p), kSample);

  // A failed Save as leaves the window on the file it had.
  ASSERT_TRUE(typeIntoCell(g.get(), 3, 1, "x2"));
  s.files << dir.filePath("no/such/dir/u.tbl");
  EXPECT_FALSE(g->Saveas1Click());
  EXPECT_EQ(g->fileName(), p);
  EXPECT_EQ(g->windowTitle(), "t.tbl");
  EXPECT_TRUE(g->document()->isModified());
}

TEST(TableWindow, SavedTableWithAnEmptyRowHasThirteenLines) {
  QTemporaryDir dir;
  const QString p = dir.filePath("t.tbl");
  auto f = newForm();
  TableData t = threeRows();
  t.rows[1] = TableRow{};
  f->setTableData(t);
  dlg::Script s;
  s.files << dir.filePath("t");  // the default extension is added
  ASSERT_TRUE(f->Save1Click());
  const QByteArray bytes = readAll(p);
  EXPECT_EQ(bytes.count("\r\n"), 13);
  EXPECT_TRUE(bytes.contains("s1\r\n\r\n\r\n\r\n\r\ns1\r\n"));
}

TEST(TableWindow, SetTableDataNumbersRowsAndKeepsTheModifiedFlag) {
  auto f = newForm();
  TableData t = threeRows();
  t.signalCoding = "Abstract";
  f->setTableData(t);
  EXPECT_EQ(f->document()->signalCoding(), 1);
  EXPECT_EQ(column(f.get(), 0), (QStringList{"1", "", "2"}));
  EXPECT_FALSE(f->document()->isModified());
  EXPECT_EQ(f->tableData().rows, t.rows);
  EXPECT_EQ(f->tableData().signalCoding, "Abstract");
  f->setTableData(TableData{});
  EXPECT_EQ(f->rowCount(), 2) << "at least one data row remains";
  EXPECT_FALSE(f->hasContent());
  EXPECT_EQ(f->tableData().rows.size(), 1);
}

TEST(TableWindow, RowCommandsMarkTheTableModifiedAndTheCompiledFileStale) {
  auto f = newForm();
  f->setTableData(threeRows());

  f->document()->setCompiled(true);
  f->selectCell(2, 2);
  f->Insert1Click();
  EXPECT_TRUE(f->document()->isModified());
  EXPECT_FALSE(f->document()->isCompiled());
  EXPECT_EQ(f->rowCount(), 5);
  EXPECT_EQ(f->currentRow(), 2);
  EXPECT_EQ(column(f.get(), 1), (QStringList{"s0", "", "", "s1"}));
  EXPECT_EQ(column(f.get(), 3), (QStringList{"x1", "", "X1", "1"}));
  EXPECT_EQ(column(f.get(), 0), (QStringList{"1", "", "", "2"}))
      << "numbers move with their rows until a selection";
  f->GridSelectCell(1, 1);
  EXPECT_EQ(column(f.get(), 0), (QStringList{"1", "", "", "2"}));

  f->document()->setModified(false);
  f->document()->setCompiled(true);
  f->selectCell(1, 4);
  f->Del1Click();
  EXPECT_TRUE(f->document()->isModified());
  EXPECT_FALSE(f->document()->isCompiled());
  EXPECT_EQ(column(f.get(), 1), (QStringList{"s0", "", ""}));
  EXPECT_EQ(f->currentRow(), 3);

  f->document()->setModified(false);
  f->document()->setCompiled(true);
  f->New2Click();
  EXPECT_EQ(f->rowCount(), 5);
  EXPECT_TRUE(f->document()->isModified());
  EXPECT_FALSE(f->document()->isCompiled());
}

TEST(TableWindow, DeleteKeepsTheOnlyRow) {
  auto f = newForm();
  f->Del1Click();
  EXPECT_EQ(f->rowCount(), 2);
  EXPECT_FALSE(f->document()->isModified()) << "nothing happened";
  f->setTableData(TableData{{}, {TableRow{"a", "", "", ""}, TableRow{"b", "", "", ""}}});
  f->selectCell(1, 1);
  f->Del1Click();
  EXPECT_EQ(f->rowCount(), 2);
  EXPECT_EQ(f->cell(1, 1), "b");
  f->Del1Click();
  EXPECT_EQ(f->cell(1, 1), "b");
}

TEST(TableWindow, SelectingAnotherRowDropsOneEmptyLastRow) {
  auto f = newForm();
  TableData t = threeRows();
  t.rows[2] = TableRow{};
  f->setTableData(t);
  f->New2Click();  // two empty rows at the end now
  ASSERT_EQ(f->rowCount(), 5);
  f->selectCell(1, 4);
  EXPECT_EQ(f->rowCount(), 5) << "the selected last row stays";
  f->selectCell(2, 1);
  EXPECT_EQ(f->rowCount(), 4) << "one selection drops one row";
  f->selectCell(3, 2);
  EXPECT_EQ(f->rowCount(), 3);
  f->selectCell(3, 1);
  EXPECT_EQ(f->rowCount(), 3) << "the last row has content";
  EXPECT_EQ(column(f.get(), 0), (QStringList{"1", ""}));
}

TEST(TableWindow, CursorDownAppendsOnlyBelowALastRowWithContent) {
  auto f = newForm();
  f->selectCell(1, 1);
  QTest::keyClick(f->grid(), Qt::Key_Down);
  EXPECT_EQ(f->rowCount(), 2);
  EXPECT_FALSE(f->document()->isModified());
  f->setCell(3, 1, "x1");
  QTest::keyClick(f->grid(), Qt::Key_Down);
  EXPECT_EQ(f->rowCount(), 3);
  EXPECT_EQ(f->currentRow(), 2) << "the cursor moves into the new row";
  // While the cell is being typed into, its text already counts.
  f->selectCell(1, 2);
  f->grid()->edit(f->grid()->currentIndex());
  ASSERT_NE(f->cellEditor(), nullptr);
  typeText(f->cellEditor(), "s5");
  QTest::keyClick(f->cellEditor(), Qt::Key_Down);
  EXPECT_EQ(f->rowCount(), 4);
  EXPECT_EQ(f->cell(1, 2), "s5");
}

TEST(TableWindow, FontCommandsUseTheirOwnFactors) {
  auto f = newForm();
  ASSERT_TRUE(f->setFontSize(10));
  EXPECT_EQ(f->gridFontSize(), 10);
  EXPECT_EQ(f->defaultRowHeight(), 24);
  EXPECT_EQ(f->defaultColWidth(), 66);
  f->Font1Click();
  EXPECT_EQ(f->gridFontSize(), 12);
  EXPECT_EQ(f->defaultRowHeight(), 28);
  EXPECT_EQ(f->defaultColWidth(), 79);
  EXPECT_EQ(f->grid()->verticalHeader()->defaultSectionSize(), 28);
  EXPECT_EQ(f->colWidth(2), 79);
  EXPECT_EQ(f->grid()->font().pointSize(), 12);
  f->Font2Click();
  EXPECT_EQ(f->gridFontSize(), 10);
  EXPECT_EQ(f->defaultRowHeight(), 30);
  EXPECT_EQ(f->defaultColWidth(), 80);
  f->setFontSize(72);
  f->Font1Click();
  EXPECT_EQ(f->gridFontSize(), 72);
  EXPECT_EQ(f->defaultRowHeight(), 172);
  EXPECT_EQ(f->defaultColWidth(), 475);
  f->setFontSize(6);
  f->Font2Click();
  EXPECT_EQ(f->gridFontSize(), 6);
  EXPECT_EQ(f->defaultRowHeight(), 18);
  EXPECT_EQ(f->defaultColWidth(), 48);
  f->setFontSize(0);
  EXPECT_EQ(f->gridFontSize(), 6) << "no font of size 0";
}

TEST(TableWindow, ResizeFitsTheLastColumn) {
  auto f = newForm();
  auto resize = [&](int w) {
    f->resize(w, 300);
    QApplication::processEvents();
  };
  resize(600);
  EXPECT_EQ(f->colWidth(4), 600 - 4 * 80 - 26);
  resize(400);
  EXPECT_EQ(f->colWidth(4), 400 - 4 * 80 - 26) << "a wide last column follows the window";
  resize(390);
  EXPECT_EQ(f->colWidth(4), 54) << "narrow and shrinking: left alone";
  resize(380);
  EXPECT_EQ(f->colWidth(4), 54);
  resize(410);
  EXPECT_EQ(f->colWidth(4), 54) << "growing, but without room to spare";
  resize(420);
  EXPECT_EQ(f->colWidth(4), 74) << "growing with room to spare: fitted";
  EXPECT_EQ(f->lastWidth(), 420);
}

TEST(TableWindow, ClipboardWorksOnlyInTheCellEditor) {
  auto f = newForm();
  f->setTableData(threeRows());
  QGuiApplication::clipboard()->setText("clip");
  f->selectCell(1, 1);
  f->Paste1Click();
  f->Cut1Click();
  EXPECT_EQ(f->cell(1, 1), "s0");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "clip");

  f->grid()->edit(f->grid()->currentIndex());
  QLineEdit* e = f->cellEditor();
  ASSERT_NE(e, nullptr);
  f->SelectAll1Click();
  f->Copy1Click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "s0");
  QGuiApplication::clipboard()->setText("s9");
  f->SelectAll1Click();
  f->Paste1Click();
  commitWithEnter(e);
  EXPECT_EQ(f->cell(1, 1), "s9");
  EXPECT_TRUE(f->document()->isModified());
}

TEST(TableWindow, MessagesToggleAndMemo) {
  auto f = newForm();
  f->appendMessage("one");
  f->appendMessage("two");
  EXPECT_EQ(f->messagesText(), "one\ntwo");
  f->setMessagesText("status");
  EXPECT_EQ(f->messageMemo()->toPlainText(), "status");
  EXPECT_TRUE(f->messageMemo()->isReadOnly());
  f->clearMessages();
  EXPECT_TRUE(f->messagesText().isEmpty());

  QAction item(nullptr);
  item.setCheckable(true);
  item.setChecked(true);
  f->MessageClick(&item);
  EXPECT_FALSE(f->messagesVisible());
  EXPECT_FALSE(f->messagesShown());
  EXPECT_FALSE(item.isChecked());
  f->MessageClick(&item);
  EXPECT_TRUE(f->messagesVisible());
  EXPECT_TRUE(item.isChecked());
}

TEST(TableWindow, LockedGridCannotBeEdited) {
  auto f = newForm();
  const QString hint = QString::fromUtf8("Идет процесс моделирования");
  f->setGridLocked(true, hint);
  EXPECT_TRUE(f->gridLocked());
  EXPECT_EQ(f->grid()->toolTip(), hint);
  EXPECT_FALSE(typeIntoCell(f.get(), 1, 1, "s0"));
  EXPECT_EQ(f->cell(1, 1), "");
  f->setGridLocked(false);
  EXPECT_TRUE(f->grid()->toolTip().isEmpty());
  EXPECT_TRUE(typeIntoCell(f.get(), 1, 1, "s0"));
  EXPECT_EQ(f->cell(1, 1), "s0");
}

TEST(TableWindow, MenusCarryTheirCommands) {
  auto f = newForm();
  ASSERT_NE(f->fileMenu(), nullptr);
  EXPECT_EQ(f->fileMenu()->title(), QString::fromUtf8("&Файл"));
  QStringList titles;
  for (QMenu* m : f->windowMenus()) titles << m->title();
  EXPECT_EQ(titles, QStringList({QString::fromUtf8("&Правка"), QString::fromUtf8("Ф&ормат"),
                                 QString::fromUtf8("&Моделирование"), QString::fromUtf8("Пре&образования"),
                                 QString::fromUtf8("Операционный &автомат")}));
  struct K {
    const char* text;
    QKeySequence key;
  };
  for (const K& k :
       {K{"&Открыть...", QKeySequence(Qt::Key_F3)}, K{"&Сохранить", QKeySequence(Qt::Key_F2)},
        K{"Вставить строку", QKeySequence(Qt::CTRL | Qt::Key_I)},
        K{"Добавить строку", QKeySequence(Qt::CTRL | Qt::Key_G)},
        K{"Удалить строкку", QKeySequence(Qt::CTRL | Qt::Key_D)},
        K{"Моделирование &УА", QKeySequence(Qt::CTRL | Qt::Key_F9)},
        K{"Моделирование &ОА", QKeySequence(Qt::SHIFT | Qt::Key_F9)},
        K{"&Моделирование УА+ОА", QKeySequence(Qt::Key_F9)}, K{"Перевод в &СКУ", QKeySequence(Qt::Key_F7)}}) {
    QAction* a = f->menuAction(QString::fromUtf8(k.text));
    ASSERT_NE(a, nullptr) << k.text;
    EXPECT_EQ(a->shortcut(), k.key) << k.text;
  }
  EXPECT_EQ(f->menuAction(QString::fromUtf8("Перевод в &СКУ"))->statusTip(),
            QString::fromUtf8("Первод таблицы переходов в СКУ"));
  // The submenu's own item carries the hint the status bar shows while it is hovered.
  QAction* create = f->fileMenu()->actions().first();
  ASSERT_NE(create->menu(), nullptr);
  EXPECT_EQ(create->text(), QString::fromUtf8("Создать"));
  EXPECT_EQ(create->statusTip(), QString::fromUtf8("Создание нового файла"));
  // Menu commands run the handlers: "Добавить строку" through its action.
  f->menuAction(QString::fromUtf8("Добавить строку"))->trigger();
  EXPECT_EQ(f->rowCount(), 3);
  f->menuAction(QString::fromUtf8("У&величить шрифт"))->trigger();
  EXPECT_EQ(f->gridFontSize(), 13);
}

TEST(TableWindow, KeyboardShortcutsReachTheWindow) {
  auto f = newForm();
  f->activateWindow();
  f->grid()->setFocus();
  QApplication::setActiveWindow(f.get());
  QTest::keyClick(f->grid(), Qt::Key_G, Qt::ControlModifier);
  EXPECT_EQ(f->rowCount(), 3);
  f->selectCell(1, 1);
  QTest::keyClick(f->grid(), Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(f->rowCount(), 2);
}

namespace {
// Records the length of every cell text the grid hands to the style for painting.
class PaintedTexts : public QProxyStyle {
 public:
  QList<qsizetype> lengths;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (element == CE_ItemViewItem)
      if (auto* o = qstyleoption_cast<const QStyleOptionViewItem*>(option))
        const_cast<PaintedTexts*>(this)->lengths << o->text.size();
    QProxyStyle::drawControl(element, option, painter, widget);
  }
};
}  // namespace

// A cell of megabytes is painted cut to what its width can show; its text stays whole.
TEST(TableWindow, LongCellsArePaintedCutAndKeptWhole) {
  const QString longText(3'000'000, QLatin1Char('x'));
  TableData t;
  t.rows << TableRow{"s0", longText, "x1", "s1"} << TableRow{"s1", "y1", "1", "s0"};
  PaintedTexts style;  // a widget does not own the style it is given: this one outlives the form
  auto f = newForm();
  f->setTableData(t);
  f->grid()->setStyle(&style);
  f->grid()->viewport()->grab();
  ASSERT_EQ(style.lengths.size(), 8);
  const qsizetype bound = qMax(256, f->grid()->columnWidth(1)) + 1;
  for (qsizetype n : style.lengths) EXPECT_LE(n, bound);
  EXPECT_EQ(f->tableData().rows[0].y, longText);
  EXPECT_EQ(TableGrid::shownText("abc", 10), "abc");
}

// The window reads a table file straight into its grid; what it shows is what the table
// file's own reader makes of the same bytes, and a refused file changes nothing.
TEST(TableWindow, OpenedRowsAreThoseOfTheFileReader) {
  const QByteArray cases[] = {
      kSample,
      "Abstract\r\n",
      "Binary",
      "Binary\ns0\ny1\nx1\ns1\n",
      "Binary\rs0\r\r\rX1\rs1",
      "Binary\r\ns0\r\n\xc0\xc1\r\nx1\r\ns1\r\ns2\r\ny\r\n",  // cp1251 letters, a cut last row
      "Binary\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n",
      "binary\r\ns0\r\ny\r\nx\r\ns1\r\n",
      "",
  };
  QTemporaryDir dir;
  for (const QByteArray& bytes : cases) {
    const QString path = dir.filePath("t.tbl");
    ASSERT_TRUE(writeRaw(path, bytes));
    TableData expected;
    QString err;
    int ignored = 0;
    const bool readable = TblFile::read(path, &expected, &err, &ignored);
    dlg::Script s;
    s.answers << dlg::Ok << dlg::Ok;
    auto f = newForm();
    f->setTableData(threeRows());
    EXPECT_EQ(f->Open(path), readable) << bytes.constData();
    if (!readable) {
      EXPECT_EQ(f->tableData().rows, threeRows().rows);
      continue;
    }
    if (expected.rows.isEmpty()) expected.rows << TableRow();
    EXPECT_EQ(f->tableData().rows, expected.rows) << bytes.constData();
    EXPECT_EQ(f->tableData().signalCoding, expected.signalCoding);
    EXPECT_EQ(s.shown.size(), ignored > 0 ? 1 : 0) << bytes.constData();
  }
}

// Cells changed again and again keep their own texts and those of the others, while the
// grid packs the texts it no longer shows.
TEST(TableWindow, RepeatedEditsKeepEveryCell) {
  QWidget parent;
  TableGrid grid(&parent, "Vexo font", 11, 24, 80);
  grid.setRows(threeRows().rows);
  for (int k = 0; k < 300; ++k) grid.setCell(2, 1 + k % 3, QString(1000 + k, QChar('a' + k % 26)));
  for (int k = 297; k < 300; ++k) EXPECT_EQ(grid.cell(2, 1 + k % 3), QString(1000 + k, QChar('a' + k % 26)));
  EXPECT_EQ(grid.cell(3, 3), "1");
  EXPECT_EQ(grid.cell(4, 2), "s0");
}
