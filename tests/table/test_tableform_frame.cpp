#include <gtest/gtest.h>

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <memory>

#include "platform/dialogs.h"
#include "tablehelpers.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/app/mainform.h"
#include "velmora/documents/doccreate.h"

using namespace velmora;

using namespace tt;

namespace {

const QByteArray kTable = "Binary\r\ns0\r\ny1\r\nx1\r\ns1\r\n";

// A table window of its own, closed through close() as the frame would.
std::unique_ptr<TVexoTableForm> modifiedForm(bool table, bool oa) {
  auto f = std::make_unique<TVexoTableForm>();
  f->show();
  f->document()->setModified(table);
  f->document()->setOaModified(oa);
  return f;
}

}  // namespace

TEST(TableClose, CancelOnTheFirstQuestionStillAsksTheSecondAndKeepsTheWindow) {
  auto f = modifiedForm(true, true);
  dlg::Script s;
  s.answers << dlg::Cancel << dlg::No;
  EXPECT_FALSE(f->close());
  ASSERT_EQ(s.shown.size(), 2);
  EXPECT_EQ(s.shown[0].text, QString::fromUtf8("Сохранить изменения в файл таблицы переходов Untitled"));
  EXPECT_EQ(s.shown[0].buttons, dlg::Yes | dlg::No | dlg::Cancel);
  EXPECT_EQ(s.shown[1].text, QString::fromUtf8("Сохранить изменения в файл операционного автомата Untitled"));
  EXPECT_TRUE(f->isVisible());
}

TEST(TableClose, YesWithACancelledOrFailedSaveKeepsTheWindow) {
  QTemporaryDir dir;
  {
    auto f = modifiedForm(true, false);
    dlg::Script s;
    s.answers << dlg::Yes;  // and the save dialog is cancelled
    EXPECT_FALSE(f->close());
    EXPECT_TRUE(f->document()->isModified());
  }
  {
    auto f = modifiedForm(true, false);
    dlg::Script s;
    s.answers << dlg::Yes << dlg::Ok;
    s.files << dir.filePath("missing/dir/t.tbl");
    EXPECT_FALSE(f->close());
    EXPECT_TRUE(f->document()->isModified());
  }
  {
    auto f = modifiedForm(false, true);
    dlg::Script s;
    s.answers << dlg::Yes;  // the description's save dialog is cancelled
    EXPECT_FALSE(f->close());
    EXPECT_TRUE(f->document()->isOaModified());
  }
  {
    auto f = modifiedForm(true, true);
    dlg::Script s;
    s.answers << dlg::Yes << dlg::Yes;
    s.files << dir.filePath("t.tbl") << dir.filePath("t.oa");
    EXPECT_TRUE(f->close());
    EXPECT_EQ(readAll(dir.filePath("t.tbl")), QByteArray("Binary\r\n\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(readAll(dir.filePath("t.oa")), QByteArray()) << "no description: an empty file";
  }
  {
    auto f = modifiedForm(true, true);
    dlg::Script s;
    s.answers << dlg::No << dlg::No;
    EXPECT_TRUE(f->close());
  }
  {
    auto f = modifiedForm(false, false);
    dlg::Script s;
    EXPECT_TRUE(f->close());
    EXPECT_TRUE(s.shown.isEmpty());
  }
}

class TableInFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg::Script welcome;  // the first start greets the user
    frame = new TMainForm();
    frame->show();
  }
  void TearDown() override {
    delete frame;
    ChildKind = ckNone;
  }
  TMainForm* frame = nullptr;
};

TEST_F(TableInFrame, OpenedTableIsAChildOfTheFrameAndActivatesAsKindFour) {
  QTemporaryDir dir;
  const QString p = dir.filePath("t.tbl");
  ASSERT_TRUE(writeRaw(p, kTable));
  auto* f = qobject_cast<TVexoTableForm*>(createTableWindow(frame, p));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(frame->lastTableForm.data(), f);
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 1);
  f->activated();
  EXPECT_EQ(ChildKind, ckTable);
  EXPECT_FALSE(frame->ui().CompileAction->isEnabled()) << "the frame's check is the editors'";
  EXPECT_TRUE(frame->ui().ToSkuAction->isEnabled());
  EXPECT_TRUE(frame->ui().OaCallAction->isEnabled());
  EXPECT_EQ(frame->statusText(0), "");
  EXPECT_EQ(frame->statusText(1), "1:1");
  EXPECT_EQ(frame->fontSizeBox()->currentText(), QString::number(f->gridFontSize()));
  if (frame->ui().showMessagesItem && frame->ui().showMessagesItem->isCheckable()) {
    EXPECT_EQ(frame->ui().showMessagesItem->isChecked(), f->messagesShown());
  }

  // A new table has no content: nothing to check or convert.
  auto* g = qobject_cast<TVexoTableForm*>(createTableWindow(frame, QString()));
  ASSERT_NE(g, nullptr);
  g->activated();
  EXPECT_FALSE(frame->ui().CompileAction->isEnabled());
  EXPECT_FALSE(frame->ui().ToSkuAction->isEnabled());
  QObject designer;  // a designer working on the description
  g->document()->lock(&designer, TTableDocument::LockRole::Designer);
  g->activated();
  EXPECT_FALSE(frame->ui().OaCallAction->isEnabled());
}

TEST_F(TableInFrame, EditsShowInTheStatusBarAndFrameCommandsReachTheWindow) {
  auto* f = qobject_cast<TVexoTableForm*>(createTableWindow(frame, QString()));
  ASSERT_NE(f, nullptr);
  f->activated();
  ASSERT_TRUE(typeIntoCell(f, 1, 1, "s0"));
  EXPECT_EQ(frame->statusText(0), QString::fromUtf8("Изменен"));
  EXPECT_TRUE(frame->ui().ToSkuAction->isEnabled());
  f->selectCell(3, 1);
  EXPECT_EQ(frame->statusText(1), "1:3");

  f->frameCommand(FrameCmd::AddStr, nullptr);
  EXPECT_EQ(f->rowCount(), 3);
  f->selectCell(1, 2);
  f->frameCommand(FrameCmd::DelStr, nullptr);
  EXPECT_EQ(f->rowCount(), 2);
  f->frameCommand(FrameCmd::InsStr, nullptr);
  EXPECT_EQ(f->rowCount(), 3);
  EXPECT_EQ(f->cell(1, 2), "s0");
  f->frameCommand(FrameCmd::ShowMessages, frame->ui().showMessagesItem);
  EXPECT_FALSE(f->messagesVisible());

  QTemporaryDir dir;
  dlg::Script s;
  s.files << dir.filePath("saved.tbl");
  f->frameCommand(FrameCmd::Save, nullptr);
  EXPECT_FALSE(f->document()->isModified());
  EXPECT_EQ(frame->statusText(0), "");
  EXPECT_EQ(readAll(dir.filePath("saved.tbl")), QByteArray("Binary\r\n\r\n\r\n\r\n\r\ns0\r\n\r\n\r\n\r\n"));
}

TEST_F(TableInFrame, FontCommandsShowTheSizeWithoutTheFrameResizingAgain) {
  auto* f = qobject_cast<TVexoTableForm*>(createTableWindow(frame, QString()));
  ASSERT_NE(f, nullptr);
  f->activated();
  f->setFontSize(12);
  f->Font2Click();
  EXPECT_EQ(frame->fontSizeBox()->currentText(), "10");
  EXPECT_EQ(f->defaultRowHeight(), 30) << "the shrinking factors stay";
  EXPECT_EQ(f->defaultColWidth(), 80);
}

TEST_F(TableInFrame, ClosingAsksThenResetsTheKind) {
  auto* f = qobject_cast<TVexoTableForm*>(createTableWindow(frame, QString()));
  ASSERT_NE(f, nullptr);
  QPointer<TVexoTableForm> guard(f);
  f->activated();
  f->document()->setModified(true);
  QMdiSubWindow* sub = frame->mdiArea()->subWindowList().first();
  {
    dlg::Script s;
    s.answers << dlg::Cancel;
    sub->close();
    QApplication::processEvents();
    EXPECT_FALSE(guard.isNull());
    EXPECT_EQ(ChildKind, ckTable);
  }
  dlg::Script s;
  s.answers << dlg::No;
  sub->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
  EXPECT_TRUE(guard.isNull()) << "a closed window is freed";
  EXPECT_EQ(ChildKind, ckNone);
  EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
}

TEST_F(TableInFrame, RefusedFileLeavesNoChild) {
  QTemporaryDir dir;
  const QString p = dir.filePath("bad.tbl");
  ASSERT_TRUE(writeRaw(p, "binary\r\n"));
  dlg::Script s;
  EXPECT_EQ(createTableWindow(frame, p), nullptr);
  EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
  EXPECT_TRUE(frame->lastTableForm.isNull());
}
