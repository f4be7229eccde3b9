#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "platform/dialogs.h"
#include "tablehelpers.h"
#include "velmora/app/mainform.h"
#include "velmora/documents/doccreate.h"
#include "velmora/oa/oamodelform.h"

using namespace velmora;

using namespace tt;

namespace {

const QByteArray kTable = "Binary\r\ns0\r\ny1\r\nx1\r\ns1\r\ns1\r\ny2\r\n1\r\ns0\r\n";
const QByteArray kOa =
    "OA_Info\r\n3\r\n2\r\n1\r\nreg:\r\nA[8]\r\nmux:\r\ny1\r\ny2\r\nx1\r\nA[0]\r\nA:=A+1\r\n~\r\n~\r\n";

// Runs with a current directory other than the table's.
struct ElsewhereCwd {
  QTemporaryDir other;
  QString saved = QDir::currentPath();
  ElsewhereCwd() { QDir::setCurrent(other.path()); }
  ~ElsewhereCwd() { QDir::setCurrent(saved); }
};

std::unique_ptr<TVexoTableForm> open(const QString& path) {
  auto f = std::make_unique<TVexoTableForm>();
  f->show();
  EXPECT_TRUE(f->Open(path));
  return f;
}

}  // namespace

TEST(TableOa, CompanionFileIsFoundNextToTheTable) {
  QTemporaryDir dir;
  ElsewhereCwd cwd;
  const QString tbl = dir.filePath("cpu.tbl");
  ASSERT_TRUE(writeRaw(tbl, kTable));
  ASSERT_TRUE(writeRaw(dir.filePath("cpu.oa"), kOa));
  ASSERT_TRUE(writeRaw(cwd.other.filePath("cpu.oa"), "not an oa file\r\n"));
  dlg::Script s;
  auto f = open(tbl);
  EXPECT_TRUE(s.shown.isEmpty());
  EXPECT_EQ(f->document()->oaFileName(), QDir(dir.path()).filePath("cpu.oa"));
  EXPECT_TRUE(f->document()->oa().oaPresent);
  EXPECT_EQ(f->document()->oa().ySignals, (QStringList{"y1", "y2"}));
  EXPECT_EQ(f->cell(0, 0), "[+]");
  EXPECT_TRUE(f->oaModelAction()->isEnabled());
  EXPECT_FALSE(f->document()->isOaModified());
}

TEST(TableOa, CompanionNamesKeepInnerDotsAndTheDirectory) {
  EXPECT_EQ(TVexoTableForm::companionOaName("/a/b/cpu.v2.tbl"), "/a/b/cpu.v2.oa");
  EXPECT_EQ(TVexoTableForm::companionOaName("/a/b/cpu"), "/a/b/cpu.oa");
}

TEST(TableOa, ForeignCompanionRefusesTheTableButAMalformedOneOnlyWarns) {
  QTemporaryDir dir;
  const QString tbl = dir.filePath("t.tbl");
  ASSERT_TRUE(writeRaw(tbl, kTable));
  ASSERT_TRUE(writeRaw(dir.filePath("t.oa"), "OA_info\r\n0\r\n0\r\n0\r\n"));
  {
    dlg::Script s;
    EXPECT_EQ(createTableWindow(nullptr, tbl), nullptr);
    ASSERT_EQ(s.shown.size(), 1);
    EXPECT_EQ(s.shown[0].text,
              QString::fromUtf8("Неправильный формат файла операционного автомата ") + dir.filePath("t.oa"));
    EXPECT_EQ(s.shown[0].caption, QString::fromUtf8("Ошибка"));
  }
  ASSERT_TRUE(writeRaw(dir.filePath("t.oa"), "OA_Info\r\n2\r\n0\r\n0\r\nreg:\r\n"));
  dlg::Script s;
  auto f = open(tbl);
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_TRUE(s.shown[0].text.startsWith(
      QString::fromUtf8("Неправильный формат файла операционного автомата ") + dir.filePath("t.oa") + ": "));
  EXPECT_FALSE(f->document()->oa().oaPresent);
  EXPECT_TRUE(f->document()->oa().blocks.isEmpty()) << "nothing of the broken file was taken";
  EXPECT_EQ(f->rowCount(), 3);
}

TEST(TableOa, BadFileChosenByOpenOnlyReports) {
  QTemporaryDir dir;
  const QString tbl = dir.filePath("t.tbl");
  ASSERT_TRUE(writeRaw(tbl, kTable));
  ASSERT_TRUE(writeRaw(dir.filePath("t.oa"), kOa));
  ASSERT_TRUE(writeRaw(dir.filePath("bad.oa"), "OA_Info\r\n1\r\n1\r\n0\r\nreg:\r\ny1\r\nA:=1\r\n"));
  ASSERT_TRUE(writeRaw(dir.filePath("foreign.oa"), "hello\r\n"));
  auto f = open(tbl);
  const OaDescription before = f->document()->oa();
  const QString name = f->document()->oaFileName();
  for (const char* file : {"bad.oa", "foreign.oa"}) {
    dlg::Script s;
    s.files << dir.filePath(file);
    f->OAOpenClick();
    EXPECT_EQ(s.fileFilters.last(), QString::fromUtf8("Операционный автомат (*.oa)|*.oa"));
    ASSERT_EQ(s.shown.size(), 1) << file;
    EXPECT_EQ(s.shown[0].caption, QString::fromUtf8("Ошибка"));
    EXPECT_TRUE(f->isVisible()) << "the table window stays";
    EXPECT_EQ(f->document()->oa(), before) << file;
    EXPECT_EQ(f->document()->oaFileName(), name) << "a later save cannot overwrite the unread file";
  }
}

TEST(TableOa, OpenReadsADescriptionIntoATableWithout) {
  QTemporaryDir dir;
  ASSERT_TRUE(writeRaw(dir.filePath("d.oa"), kOa));
  TVexoTableForm f;
  f.setTableData(TableData{{}, {TableRow{"s0", "y1", "x1", "s1"}}});
  dlg::Script s;
  s.files << dir.filePath("d.oa");
  f.OAOpenClick();
  EXPECT_TRUE(s.shown.isEmpty());
  EXPECT_TRUE(f.document()->oa().oaPresent);
  EXPECT_EQ(f.document()->oaFileName(), dir.filePath("d.oa"));
  EXPECT_EQ(f.cell(0, 0), "[+]");
  EXPECT_TRUE(f.oaModelAction()->isEnabled());

  // A name without a file yet: taken without a word, the description stays as it is.
  s.files << dir.filePath("new.oa");
  f.OAOpenClick();
  EXPECT_TRUE(s.shown.isEmpty());
  EXPECT_EQ(f.document()->oaFileName(), dir.filePath("new.oa"));
  EXPECT_TRUE(f.document()->oa().oaPresent);
  EXPECT_EQ(f.document()->oa().ySignals, (QStringList{"y1", "y2"}));
}

TEST(TableOa, DeleteThenSaveWritesAnEmptyFileWhichReadsAsNone) {
  QTemporaryDir dir;
  const QString tbl = dir.filePath("t.tbl"), oa = dir.filePath("t.oa");
  ASSERT_TRUE(writeRaw(tbl, kTable));
  ASSERT_TRUE(writeRaw(oa, kOa));
  {
    auto f = open(tbl);
    f->OADeleteClick();
    EXPECT_FALSE(f->document()->oa().oaPresent);
    EXPECT_EQ(f->cell(0, 0), "[-]");
    EXPECT_FALSE(f->oaModelAction()->isEnabled());
    EXPECT_EQ(f->document()->oa().ySignals.size(), 2) << "the lists keep their content";
    EXPECT_EQ(readAll(oa), kOa) << "no file is touched";
    f->document()->setOaModified(true);
    dlg::Script s;
    ASSERT_TRUE(f->OASaveSrazuClick());
    EXPECT_TRUE(s.shown.isEmpty());
    EXPECT_FALSE(f->document()->isOaModified());
    EXPECT_EQ(readAll(oa), QByteArray());
  }
  dlg::Script s;
  auto g = open(tbl);
  EXPECT_TRUE(s.shown.isEmpty());
  EXPECT_FALSE(g->document()->oa().oaPresent);
  EXPECT_EQ(g->cell(0, 0), "[-]");
}

TEST(TableOa, SaveOfAnUntitledDescriptionAsksForAName) {
  QTemporaryDir dir;
  TVexoTableForm f;
  f.document()->oa().oaPresent = true;
  f.document()->oa().ySignals << "y1";
  f.document()->oa().yItems << QStringList{"A:=1"};
  f.document()->setOaModified(true);
  {
    dlg::Script s;  // cancelled
    EXPECT_FALSE(f.OASaveSrazuClick());
    EXPECT_EQ(s.fileFilters, QStringList{QString::fromUtf8("Операционный автомат (*.oa)|*.oa")});
    EXPECT_TRUE(f.document()->isOaModified());
    EXPECT_EQ(f.document()->oaFileName(), "Untitled");
  }
  dlg::Script s;
  s.files << dir.filePath("named");
  ASSERT_TRUE(f.OASaveSrazuClick());
  EXPECT_EQ(f.document()->oaFileName(), dir.filePath("named.oa"));
  EXPECT_FALSE(f.document()->isOaModified());
  EXPECT_EQ(readAll(dir.filePath("named.oa")), QByteArray("OA_Info\r\n0\r\n1\r\n0\r\ny1\r\nA:=1\r\n~\r\n"));

  // "Сохранить как..." always asks; a failed write keeps the flag.
  f.document()->setOaModified(true);
  s.files << dir.filePath("no/dir/x.oa");
  EXPECT_FALSE(f.OASaveClick());
  EXPECT_TRUE(f.document()->isOaModified());
  EXPECT_EQ(s.shown.last().caption, QString::fromUtf8("Ошибка"));
}

TEST(TableOa, DesignerAndModelCommandsKeepTheirGuards) {
  std::unique_ptr<TMainForm> frame;
  {
    dlg::Script welcome;  // the first start greets the user
    frame = std::make_unique<TMainForm>();
  }
  // The frame makes the table's ОА windows; it owns the table.
  TVexoTableForm& f = *new TVexoTableForm;
  frame->addChild(&f);
  // Stand-ins for a designer and a model window working on the description.
  QObject designer, model;
  using Role = TTableDocument::LockRole;
  {
    dlg::Script s;
    f.document()->lock(&designer, Role::Designer);
    f.OAClick();
    f.OACreateClick();
    f.OAModelClick();  // no description
    EXPECT_TRUE(s.shown.isEmpty());
  }
  {
    dlg::Script s;
    f.document()->oa().oaPresent = true;
    f.document()->lock(&model, Role::Model);
    f.OAModelClick();
    f.document()->unlock(&designer);
    f.OACreateClick();  // a description exists: nothing to create
    EXPECT_TRUE(s.shown.isEmpty());
  }
  {
    // The designer refuses a table of one row; the model window opens on the description.
    dlg::Script s;
    f.OAClick();
    EXPECT_EQ(s.lastText(), QString::fromUtf8("Недостаточно данных в таблице переходов"));
    EXPECT_FALSE(f.document()->designerOpen());
    f.document()->unlock(&model);
    f.OAModelClick();
    EXPECT_EQ(s.shown.size(), 1);
    EXPECT_TRUE(f.document()->modelOpen());
    EXPECT_TRUE(f.gridLocked());
    delete OAModelForm.data();
    EXPECT_FALSE(f.document()->modelOpen());
    EXPECT_FALSE(f.gridLocked());
  }
}

TEST(TableOa, ModelItemFollowsContentAndDescription) {
  TVexoTableForm f;
  f.document()->oa().oaPresent = true;
  f.CheckTableFilled();
  EXPECT_FALSE(f.oaModelAction()->isEnabled()) << "an empty table has nothing to model";
  f.setCell(1, 1, "s0");
  f.CheckTableFilled();
  EXPECT_TRUE(f.oaModelAction()->isEnabled());
  f.FormActivate();
  EXPECT_EQ(f.cell(0, 0), "[+]");
  QObject model;  // a model window working on the description
  f.document()->lock(&model, TTableDocument::LockRole::Model);
  f.FormActivate();
  EXPECT_FALSE(f.oaModelAction()->isEnabled());
}
