// The table window's file: a new window, opening, saving and what a failed save leaves.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "common/tblfile.h"
#include "platform/cp1251.h"
#include "platform/dialogs.h"
#include "tablehelpers.h"
#include "velmora/documents/doccreate.h"

using namespace velmora;

using namespace tt;

namespace {

const QByteArray kSample = "Binary\r\ns0\r\ny1\r\nx1\r\ns1\r\n\r\n\r\nX1\r\ns0\r\ns1\r\ny2&y1\r\n1\r\ns0\r\n";

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
