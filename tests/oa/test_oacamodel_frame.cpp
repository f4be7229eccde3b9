// The joint model window in the frame: the frame's run buttons, radix and other commands reach
// it while it is the active window, and the radix follows the window in front.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QTimer>

#include "platform/dialogs.h"
#include "tests/oa/jointmodeltest.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/documents/txtform.h"
#include "velmora/oa/bussetform.h"
#include "velmora/oa/oamodelform.h"

namespace {

// With the frame in front, F9 shows the window only once its model is built: the grid taking
// the focus chooses no row without a model, so no "Нет ОА!". The radix buttons show the base of
// the active window's registers at every activation.
TEST_F(JointModel, StartsWithoutABoxAndTheRadixFollowsTheActiveWindow) {
  ASSERT_TRUE(showFrame());
  TestFrame->ui().DecAction->setChecked(true);  // pressed for another window before
  dlg::Script script;
  TOACAModelForm* w = run();
  EXPECT_EQ(script.shown.size(), 0) << script.lastText().toStdString();
  EXPECT_TRUE(TestFrame->ui().BinAction->isChecked());
  EXPECT_EQ(w->regCell(1, 1), "00000000");

  TOAModelForm* other = TOAModelForm::open(table, table, QStringLiteral("t.oa"));
  ASSERT_TRUE(other);
  auto activate = [](QWidget* window) {
    TestFrame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(window->parentWidget()));
  };
  struct Case {
    QAction* joint;  // pressed while the joint window is active
    QAction* model;  // pressed while the ОА model window is active
    QString a;       // A in the joint window
  };
  const Case cases[] = {{TestFrame->ui().HexAction, TestFrame->ui().DecAction, "0"},
                        {TestFrame->ui().DecAction, TestFrame->ui().BinAction, "0"},
                        {TestFrame->ui().BinAction, TestFrame->ui().HexAction, "00000000"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.joint->objectName().toStdString());
    activate(w);
    c.joint->trigger();
    activate(other);
    c.model->trigger();
    EXPECT_TRUE(c.model->isChecked());
    activate(w);
    EXPECT_TRUE(c.joint->isChecked());
    EXPECT_EQ(w->regCell(1, 1), c.a);
    activate(other);
    EXPECT_TRUE(c.model->isChecked());
  }
  EXPECT_EQ(script.shown.size(), 0);
  delete other->parentWidget();
  TestFrame->hide();
}

// The frame's >|, ||, > and [] buttons are the window's Шаг, Пауза, Пуск and Сброс: they do
// what those do and are enabled exactly when those are, while the window is the active one.
TEST_F(JointModel, FrameRunButtonsAreTheMenuCommands) {
  TOACAModelForm* w = run();
  ASSERT_EQ(TestFrame->activeChild(), w);
  auto same = [&] {
    return TestFrame->ui().ModelStepAction->isEnabled() == w->step->isEnabled() &&
           TestFrame->ui().ModelPauseAction->isEnabled() == w->pause->isEnabled() &&
           TestFrame->ui().ModelPlayAction->isEnabled() == w->start->isEnabled() &&
           TestFrame->ui().ModelStopAction->isEnabled() == w->reset->isEnabled();
  };
  EXPECT_TRUE(same());
  struct Case {
    QAction* button;
    std::function<bool()> done;
  };
  const Case cases[] = {
      {TestFrame->ui().ModelStepAction, [&] { return w->cell(2, 1) == "s1" && idle(w); }},
      {TestFrame->ui().ModelPlayAction, [&] { return w->pause->isEnabled() && w->rowCount() > 3; }},
      {TestFrame->ui().ModelPauseAction, [&] { return idle(w); }},
      {TestFrame->ui().ModelStopAction, [&] { return w->consoleText() == QStringLiteral("---СБРОС---"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button->objectName().toStdString());
    ASSERT_TRUE(c.button->isEnabled());
    c.button->trigger();
    EXPECT_TRUE(waitFor(c.done));
    EXPECT_TRUE(same());
  }
  // Another window in front: the buttons go with it, and the worker's menus leave them alone.
  auto* text = new TTxtForm();
  TestFrame->addChild(text);
  w->startClick();
  ASSERT_TRUE(waitFor([&] { return w->pause->isEnabled(); }));
  for (QAction* a : {TestFrame->ui().ModelStepAction, TestFrame->ui().ModelPauseAction,
                     TestFrame->ui().ModelPlayAction, TestFrame->ui().ModelStopAction})
    EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
  TestFrame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
  EXPECT_TRUE(same());
  EXPECT_TRUE(TestFrame->ui().ModelPauseAction->isEnabled());
  delete text->parentWidget();
}

// While the window is active the frame's report, radix and bus commands reach it.
TEST_F(JointModel, FrameCommandsReachTheActiveWindow) {
  TOACAModelForm* w = run();
  ASSERT_EQ(TestFrame->activeChild(), w);
  EXPECT_EQ(ChildKind, 9);
  EXPECT_EQ(TestFrame->statusText(2), QStringLiteral("Шаг №1"));
  ASSERT_TRUE(TestFrame->ui().ModelBusAction->isEnabled());

  TestFrame->ui().HexAction->trigger();
  EXPECT_EQ(w->model()->Radix, 1);
  EXPECT_EQ(w->regCell(1, 2), "0");  // DI1 in hexadecimal

  // The bus dialog lists the buses of the register grid; what it is left with is the initial value.
  QTimer::singleShot(0, [] {
    ASSERT_TRUE(BusSetForm);
    EXPECT_EQ(BusSetForm->cell(0, 1), "DI1");
    BusSetForm->setCell(1, 1, "26");
    BusSetForm->accept();
  });
  TestFrame->ui().ModelBusAction->trigger();
  w->model()->GoToStep(0);
  EXPECT_EQ(w->model()->GetRegisterValue("DI1", 2), "26");
  EXPECT_EQ(w->regCell(1, 2), "1A");

  const int windows = int(TestFrame->mdiArea()->subWindowList().size());
  TestFrame->ui().ReportAction->trigger();
  EXPECT_EQ(int(TestFrame->mdiArea()->subWindowList().size()), windows + 1);
  EXPECT_TRUE(w->reportEditor);
}

}  // namespace
