// Editing the table window: typing into cells, the row commands, numbering, the clipboard and
// a locked grid.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <memory>

#include "common/gui/tablegrid.h"
#include "platform/dialogs.h"
#include "tablehelpers.h"

using namespace velmora;

using namespace tt;

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
