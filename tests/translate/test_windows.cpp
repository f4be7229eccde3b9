// The checker and the converters behind the windows: the table's "Перевод в &СКУ" and the
// editor's check and conversions, in a real frame.
#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include "../editor/helpers.h"
#include "helpers.h"
#include "velmora/documents/editform.h"
#include "velmora/documents/tableform.h"

using namespace velmora;

using namespace tt;

// The editor tests' frame fixture, with its editor and table helpers.
using Windows = edtest::InFrame;

TEST_F(Windows, TableToSkuOpensANewSkuEditor) {
  TVexoTableForm* t =
      newTable({R("s0", "y1", "x1", "s1"), R("", "", "X1", "s0"), R("s1", "y2&y1", "1", "s0")});
  ASSERT_NE(t, nullptr);
  dlg::Script s;
  t->SkuClick();
  EXPECT_TRUE(s.shown.isEmpty());
  TEditForm* e = frame->lastEditForm;
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->docKind(), 1);
  EXPECT_EQ(e->lines(), L({"sku:", "s1=s0*x1;", "s0=s0*X1|s1;", "svf:", "y1=s0|s1;", "y2=s1;"}));
}

TEST_F(Windows, TableWithoutOutputsWarns) {
  TVexoTableForm* t = newTable({R("s0", "", "x1", "s1")});
  dlg::Script s;
  t->SkuClick();
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_EQ(s.shown[0].caption, QString::fromUtf8("Предупреждение"));
  EXPECT_EQ(s.shown[0].text, TTblToSku::warningText());
  EXPECT_EQ(frame->lastEditForm->lines(), L({"sku:", "s1=s0*x1;"}));
  // The text converts back although it has no "svf:".
  dlg::Script s2;
  const int before = children();
  frame->lastEditForm->ToTblClick();
  EXPECT_EQ(children(), before + 1);
  EXPECT_EQ(frame->lastTableForm->tableData().rows, QList<TableRow>{R("s0", "", "x1", "s1")});
}

TEST_F(Windows, SkuEditorToTable) {
  TEditForm* e = newEditor(1);
  e->setLines(L({"sku:", "s1=s0*x1|s2*X2;", "s2=s1*x3;", "svf:", "y1=s1;"}));
  dlg::Script s;
  e->ToTblClick();
  TVexoTableForm* t = frame->lastTableForm;
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->tableData().rows,
            (QList<TableRow>{R("s0", "", "x1", "s1"), R("s2", "", "X2", "s1"), R("s1", "y1", "x3", "s2")}));
  EXPECT_EQ(t->document()->signalCoding(), 0);
}

TEST_F(Windows, AbstractSkuGivesAnAbstractTable) {
  TEditForm* e = newEditor(1);
  e->setLines(L({"sku:", "s1=s0*z1|s0*z2;", "svf:"}));
  dlg::Script s;
  e->ToTblClick();
  TVexoTableForm* t = frame->lastTableForm;
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->tableData().signalCoding, "Abstract");
}

TEST_F(Windows, RvasEditorToTableSavesTwentyFiveLines) {
  TEditForm* e = newEditor(0);
  e->setLines(L({"sa(y1)=s0*x1;", "sb(y2,y1)=s0*X1*x2*x3;"}));
  dlg::Script s;
  e->ToTblClick();
  TVexoTableForm* t = frame->lastTableForm;
  ASSERT_NE(t, nullptr);
  QTemporaryDir dir;
  const QString path = dir.filePath("t.tbl");
  s.files << path;
  ASSERT_TRUE(t->Saveas1Click());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll().count("\r\n"), 25);
}

TEST_F(Windows, CheckCountsErrorsNotWarnings) {
  TEditForm* e = newEditor(1);
  e->setLines(L({"sku:", "s1=s0*x1|x2;"}));
  dlg::Script s;
  e->TestingClick();
  EXPECT_EQ(frame->statusText(2), QString::fromUtf8("Ошибок: 1"));
  ASSERT_EQ(e->ErrorList->count(), 2);
  EXPECT_EQ(e->ErrorList->item(0)->text(), msg(2, 9, 1, 21));
  EXPECT_EQ(e->ErrorList->item(1)->text(), msg(1, 0, 0, 16));
  // With the fault mended only the warning stays; the check passes.
  e->setLines(L({"sku:", "s1=s0*x1|s2*x2;"}));
  e->TestingClick();
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_EQ(s.shown[0].text, QString::fromUtf8("Проверка прошла успешно."));
  ASSERT_EQ(e->ErrorList->count(), 1);
  EXPECT_EQ(e->ErrorList->item(0)->text(), msg(1, 0, 0, 16));
}

TEST_F(Windows, RvasToSku) {
  TEditForm* e = newEditor(0);
  e->setLines(L({"sw=s0*(x1|x2)*x3;"}));
  dlg::Script s;
  e->ToSkuClick();
  TEditForm* sku = frame->lastEditForm;
  ASSERT_NE(sku, e);
  EXPECT_EQ(sku->lines(), L({"sku:", "s1=s0*x1|s0*x2;", "sw=s1*x3;", "svf:"}));
}

// Nesting far past any written text: the conversions refuse it with a message, no crash.
TEST_F(Windows, DeepNestingIsRefusedByEveryConversion) {
  const QString text = "sw=s0*" + QString(12000, '{') + "x1" + QString(12000, '}') + ";";
  for (int to = 0; to < 2; ++to) {
    TEditForm* e = newEditor(0);
    e->setLines(QStringList{text});
    dlg::Script s;
    const int before = children();
    if (to == 0)
      e->ToSkuClick();
    else
      e->ToTblClick();
    EXPECT_EQ(children(), before) << to;
    ASSERT_GE(e->ErrorList->count(), 1) << to;
    EXPECT_TRUE(e->ErrorList->item(0)->text().contains(TTesting::messageText(27))) << to;
  }
}
