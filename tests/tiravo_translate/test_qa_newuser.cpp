// Checks made as a new user would: each through Tiravo's real windows in a frame.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "platform/dialogs.h"
#include "tiravo/forms/editform.h"
#include "tiravo/forms/mainform.h"
#include "tiravo/forms/rvasskuform.h"
#include "tiravo/forms/tableform.h"

using namespace tiravo;

namespace {

class NewUser : public ::testing::Test {
 protected:
  NewUser() { frame.createStartupWindows(); }
  ~NewUser() override {
    for (QMdiSubWindow* w : frame.mdiArea()->subWindowList()) {
      if (auto* t = qobject_cast<TVexoTableForm*>(w->widget())) t->document()->setModified(false);
      if (auto* e = qobject_cast<TEditForm*>(w->widget())) e->setModified(false);
    }
  }
  dlg::Script script;
  TMainForm frame;
};

}  // namespace

// A table the conversion just filled asks before it goes, without being activated again.
TEST_F(NewUser, ConvertedTableClosedAtOnceAsks) {
  TEditForm* sku = frame.newEditor(TEditForm::Sku);
  sku->setLines({"sku:", "s1=s0*x1", "svf:", "y1=s1"});
  sku->ToTblClick();
  ASSERT_TRUE(frame.TableForm);
  QMdiSubWindow* sub = nullptr;
  for (QMdiSubWindow* w : frame.mdiArea()->subWindowList())
    if (w->widget() == frame.TableForm) sub = w;
  ASSERT_TRUE(sub);
  script.answers << dlg::Cancel;
  sub->close();
  ASSERT_FALSE(script.shown.isEmpty());
  EXPECT_EQ(script.lastText(), "Сохранить изменения в Untitled?");
  EXPECT_TRUE(frame.mdiArea()->subWindowList().contains(sub));
}

// Nesting far past any written text is refused with a message, not a crash.
TEST_F(NewUser, DeepNestingIsRefused) {
  const QString text = "sw=s0*" + QString(12000, '{') + "x1" + QString(12000, '}');
  TEditForm* rvas = frame.newEditor(TEditForm::Rvas);
  rvas->setLines({text});
  QString status;
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [&] {
    if (!RvasSku || !RvasSku->memo()->isEnabled()) return;
    timer->stop();
    status = RvasSku->status();
    RvasSku->cancelButton()->click();
  });
  timer->start(5);
  rvas->ToSkuClick();
  delete timer;
  EXPECT_EQ(status, "Ошибка: Слишком глубокая вложенность скобок");
}

// Continuation rows' outputs get an empty svf line.
TEST_F(NewUser, ContinuationRowOutput) {
  TVexoTableForm* table = frame.newTable();
  table->setTableData({"Binary", {{"s0", "y1", "x1", "s1"}, {"", "y3", "X1", "s0"}}});
  table->SkuClick();
  EXPECT_EQ(frame.EditForm->lines(), QStringList({"sku:", "s1=s0*x1", "s0=s0*X1", "svf:", "y1=s0", "y3="}));
}
