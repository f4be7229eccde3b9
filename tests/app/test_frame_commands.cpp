// The frame's commands: which actions and bars each kind of window in front gets, where a
// command goes, the size box, the messages mark and a command that fails.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>

#include "fakechild.h"
#include "platform/errors.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/editform.h"
#include "velmora/documents/tableform.h"

using namespace velmora;

namespace {

QWidget* button(QToolBar* bar, QAction* a) { return bar->widgetForAction(a); }

}  // namespace

TEST(Frame, StartStateAndNoChild) {
  FrameHarness h;
  TMainForm* f = h.frame;
  EXPECT_EQ(f->windowTitle(), "Vexo");
  EXPECT_TRUE(f->isMaximized());
  EXPECT_FALSE(f->ui().fileToolBar->isHidden());
  EXPECT_FALSE(f->ui().editToolBar->isHidden());
  for (QToolBar* b : {f->ui().transToolBar, f->ui().tblToolBar, f->ui().gsaToolBar, f->ui().modelToolBar,
                      f->ui().regToolBar})
    EXPECT_TRUE(b->isHidden()) << b->windowTitle().toStdString();
  for (QAction* a : {f->ui().openFileAction, f->ui().newTxtAction, f->ui().exitAction})
    EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
  // No window takes any command yet.
  for (const auto& [a, cmd] : frameCommandActions(f))
    EXPECT_FALSE(a->isEnabled() && a->isVisible()) << a->objectName().toStdString();
  EXPECT_FALSE(f->ui().ModelBegAction->isEnabled());
  ASSERT_EQ(f->ui().gsaActions.size(), 17);
  for (QAction* a : f->ui().gsaActions) EXPECT_FALSE(a->isEnabled());
  EXPECT_TRUE(f->ui().gsaActions.first()->isChecked());
  EXPECT_TRUE(f->ui().BinAction->isChecked());
  // Buttons that start disabled although their actions are on.
  EXPECT_FALSE(button(f->ui().fileToolBar, f->ui().saveFileAction)->isEnabled());
  EXPECT_FALSE(button(f->ui().editToolBar, f->ui().EditCutAction)->isEnabled());
  EXPECT_FALSE(button(f->ui().regToolBar, f->ui().BinAction)->isEnabled());
  EXPECT_TRUE(button(f->ui().fileToolBar, f->ui().openFileAction)->isEnabled());
  // No child: window items and the size box are off.
  for (QAction* a : {f->ui().tileItem, f->ui().cascadeItem, f->ui().arrangeItem, f->ui().minimizeItem})
    EXPECT_FALSE(a->isEnabled());
  EXPECT_FALSE(f->fontSizeBox()->isEnabled());
  EXPECT_EQ(f->fontSizeBox()->currentText(), "10");
  EXPECT_EQ(f->fontSizeBox()->count(), 14);
  EXPECT_FALSE(f->ui().optionsItem->isVisible());
  EXPECT_FALSE(f->ui().showMessagesItem->isVisible());
  EXPECT_TRUE(f->autoShow());
  // Every routed command does nothing without a child, even when its action is on.
  for (const auto& [a, cmd] : frameCommandActions(f)) {
    a->setEnabled(true);
    a->trigger();
  }
  EXPECT_EQ(f->activeChild(), nullptr);
  EXPECT_TRUE(h.script->shown.isEmpty() || h.script->shown.size() == 1);  // the welcome only
}

TEST(Frame, TableChildEnablesItsActionsAndBars) {
  FrameHarness h;
  TMainForm* f = h.frame;
  FakeChild* c = h.add(ckTable);
  EXPECT_EQ(ChildKind, ckTable);
  EXPECT_EQ(f->activeChild(), c);
  EXPECT_FALSE(f->ui().transToolBar->isHidden());
  EXPECT_FALSE(f->ui().tblToolBar->isHidden());
  EXPECT_TRUE(f->ui().modelToolBar->isHidden());
  EXPECT_TRUE(f->ui().regToolBar->isHidden());
  EXPECT_TRUE(f->ui().gsaToolBar->isHidden());
  // (The call of the designer the table switches itself.)
  for (QAction* a : {f->ui().AddStrAction, f->ui().InsStrAction, f->ui().DelStrAction, f->ui().ReportAction})
    EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
  EXPECT_FALSE(f->ui().ToTblAction->isEnabled());
  EXPECT_TRUE(f->ui().optionsItem->isVisible());
  EXPECT_TRUE(f->ui().showMessagesItem->isVisible());
  EXPECT_TRUE(button(f->ui().fileToolBar, f->ui().saveFileAction)->isEnabled());
  for (QAction* a : {f->ui().tileItem, f->ui().cascadeItem, f->ui().arrangeItem, f->ui().minimizeItem})
    EXPECT_TRUE(a->isEnabled());
  EXPECT_TRUE(f->fontSizeBox()->isEnabled());
}

// What a user can do with each kind of window in front. The frame's command buttons and items
// are pressed one by one: "gives" are those that reach the window, "idle" those that are on but
// do nothing for it (none: a command is on only where the window takes it); every other one is
// off. "own" are those the window switches itself: the frame leaves them as they are,
// whichever way they stand. Bars: the ones shown besides "Файл" and "Редактирование".
TEST(Frame, EachKindOffersWhatItsWindowTakes) {
  struct Case {
    int kind;
    const char* bars;
    const char* gives;
    const char* idle;
    const char* own;
  };
  const Case cases[] = {
      {ckText, "", "saveFile", "", "EditCut EditCopy EditPaste EditDel"},
      {ckEdit, "trans", "saveFile options showMessages", "",
       "EditCut EditCopy EditPaste EditDel Compile ToTbl ToSku"},
      {ckGsa, "trans tbl gsa", "saveFile ToTbl AddStr Gsa options showMessages", "", ""},
      {ckTable, "trans tbl",
       "saveFile EditCut EditCopy EditPaste AddStr InsStr DelStr Report options showMessages", "",
       "ToSku OaCall"},
      {ckOaModel, "tbl model reg", "AddStr InsStr DelStr Report ModelOpen ModelSave Bin Hex Dec", "",
       "OaCall ModelBus"},
      {ckOaDesign, "", "", "", ""},
      {ckJointModel, "tbl model reg", "Report Bin Hex Dec", "",
       "ModelBus ModelStep ModelPause ModelPlay ModelStop"},
      // A kind the frame does not know is treated as none.
      {5, "", "", "", ""},
  };
  // "EditCutAction" -> "EditCut", "optionsItem" -> "options"; the 17 flowchart tools are "Gsa".
  auto shortName = [](const QObject* a) {
    QString n = a->objectName();
    if (n.startsWith("Gsa")) return QString("Gsa");
    for (const char* suffix : {"Action", "Item", "ToolBar"})
      if (n.endsWith(suffix)) n.chop(int(qstrlen(suffix)));
    return n;
  };
  auto names = [](QStringList w) {
    w.removeDuplicates();
    w.sort();
    return w.join(' ').toStdString();
  };
  auto words = [&](const char* list) { return names(QString(list).split(' ', Qt::SkipEmptyParts)); };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind);
    FrameHarness h;
    TMainForm* f = h.frame;
    const TFrameUi& ui = f->ui();
    // Every command the frame offers to windows: the buttons of its bars but "Файл" (whose
    // open and new make windows of their own), save, and the two items of "&Настройки".
    std::vector<QAction*> offered = {ui.saveFileAction, ui.optionsItem, ui.showMessagesItem};
    for (QToolBar* b :
         {ui.editToolBar, ui.transToolBar, ui.tblToolBar, ui.gsaToolBar, ui.modelToolBar, ui.regToolBar})
      for (QAction* a : b->actions())
        if (!a->isSeparator() && !a->objectName().isEmpty()) offered.push_back(a);
    const QStringList own = QString(c.own).split(' ', Qt::SkipEmptyParts);

    FakeChild* child = h.add(c.kind);
    ASSERT_EQ(ChildKind, c.kind);
    for (bool before : {true, false}) {
      SCOPED_TRACE(testing::Message() << "everything " << (before ? "on" : "off") << " before");
      for (QAction* a : offered) {
        const bool on = own.contains(shortName(a)) ? !before : before;
        // The two items are offered by being shown.
        if (a == ui.optionsItem || a == ui.showMessagesItem)
          a->setVisible(on);
        else
          a->setEnabled(on);
      }
      f->updateActions();
      for (QAction* a : offered)
        if (own.contains(shortName(a))) {
          EXPECT_EQ(a->isEnabled(), !before) << "the window's own " << a->objectName().toStdString();
          a->setEnabled(false);
        }

      QStringList gives, idle;
      for (QAction* a : offered) {
        if (!a->isEnabled() || !a->isVisible()) continue;
        const qsizetype got = child->senders.size();
        a->trigger();
        const bool reached = child->senders.size() > got;
        (reached ? gives : idle) << shortName(a);
        if (reached) {
          EXPECT_EQ(child->senders.size(), got + 1) << "one command per press";
          EXPECT_EQ(child->senders.last(), a);
        }
      }
      EXPECT_EQ(names(gives), words(c.gives));
      EXPECT_EQ(names(idle), words(c.idle));
      QStringList bars;
      for (QToolBar* b : {ui.transToolBar, ui.tblToolBar, ui.gsaToolBar, ui.modelToolBar, ui.regToolBar})
        if (!b->isHidden()) bars << shortName(b);
      EXPECT_EQ(names(bars), words(c.bars));
    }
  }
}

TEST(Frame, AutoShowOffLeavesBarsAlone) {
  FrameHarness h;
  TMainForm* f = h.frame;
  f->mAutoShowClick();
  EXPECT_FALSE(f->autoShow());
  h.add(ckTable);
  EXPECT_TRUE(f->ui().transToolBar->isHidden());
  EXPECT_TRUE(f->ui().tblToolBar->isHidden());
  EXPECT_TRUE(f->ui().AddStrAction->isEnabled());  // actions still follow the kind
  f->mAutoShowClick();
  EXPECT_TRUE(f->autoShow());
}

TEST(Frame, DispatchReachesOnlyTheListedKinds) {
  for (int kind : {1, 2, 3, 4, 6, 7, 9}) {
    SCOPED_TRACE(testing::Message() << "kind " << kind);
    FrameHarness h;
    TMainForm* f = h.frame;
    FakeChild* c = h.add(kind);
    ASSERT_EQ(ChildKind, kind);
    QList<FrameCmd> expected;
    QList<QObject*> senders;
    for (const auto& [a, cmd] : frameCommandActions(f)) {
      a->setEnabled(true);
      a->setVisible(true);
      a->trigger();
      if (commandsOf(kind).contains(cmd)) {
        expected << cmd;
        senders << a;
      }
    }
    EXPECT_EQ(c->commands, expected);
    EXPECT_EQ(c->senders, senders);
    // The frame's handlers do the same.
    c->commands.clear();
    f->FileSaveItemClick();
    f->mOptionsClick();
    f->mShowMessageClick();
    QList<FrameCmd> more;
    if (kind >= 1 && kind <= 4) more << FrameCmd::Save;
    if (kind >= 2 && kind <= 4) more << FrameCmd::Options << FrameCmd::ShowMessages;
    EXPECT_EQ(c->commands, more);
  }
}

TEST(Frame, DispatchNeedsTheActiveChildToBeOfTheKind) {
  FrameHarness h;
  TMainForm* f = h.frame;
  FakeChild* c = h.add(ckEdit);
  ChildKind = ckTable;  // set by someone else; the active child is an editor
  f->ui().ReportAction->setEnabled(true);
  f->ui().ReportAction->trigger();
  f->FileSaveItemClick();
  EXPECT_TRUE(c->commands.isEmpty());
  EXPECT_FALSE(f->dispatch(FrameCmd::Report, nullptr));
  ChildKind = ckEdit;
  EXPECT_FALSE(f->dispatch(FrameCmd::Report, nullptr)) << "an editor takes no report";
  EXPECT_TRUE(f->dispatch(FrameCmd::Compile, nullptr));
  EXPECT_EQ(c->commands, QList<FrameCmd>{FrameCmd::Compile});
}

TEST(Frame, FontSizeBoxGoesToTheActiveChild) {
  FrameHarness h;
  TMainForm* f = h.frame;
  h.script->shown.clear();
  f->fontSizeBox()->setEditText("14");
  f->FontSizeClick();  // no child: nothing
  EXPECT_TRUE(h.script->shown.isEmpty());

  FakeChild* t = h.add(ckTable);
  f->fontSizeBox()->setEditText("12pt");
  f->FontSizeClick();
  EXPECT_EQ(t->fontSize, 12);
  f->fontSizeBox()->setEditText("abc");
  f->FontSizeClick();
  EXPECT_EQ(t->fontSize, 12);  // a size below 1 is ignored
  f->fontSizeBox()->setEditText("0");
  f->FontSizeClick();
  EXPECT_EQ(t->fontSize, 12);
  // Typing and choosing go through the same handler; filling the box does not.
  f->fontSizeBox()->setEditText("16");
  EXPECT_EQ(t->fontSize, 12);
  emit f->fontSizeBox()->lineEdit()->textEdited("16");
  EXPECT_EQ(t->fontSize, 16);
  f->fontSizeBox()->setCurrentIndex(f->fontSizeBox()->findText("20"));
  emit f->fontSizeBox()->textActivated("20");
  EXPECT_EQ(t->fontSize, 20);
  EXPECT_TRUE(h.script->shown.isEmpty());

  h.add(ckOaModel);
  f->fontSizeBox()->setEditText("10");
  f->FontSizeClick();
  ASSERT_EQ(h.script->shown.size(), 1);
  EXPECT_EQ(h.script->shown[0].text, "Изменение размера шрифта не поддерживается");
  EXPECT_EQ(h.script->shown[0].caption, "Обломись!");
  EXPECT_EQ(h.script->shown[0].icon, dlg::Warning);
}

TEST(Frame, ShowMessagesItemCarriesTheActiveWindowsMark) {
  FrameHarness h;
  TMainForm* f = h.frame;
  EXPECT_TRUE(f->ui().showMessagesItem->isCheckable());
  FakeChild* edit = h.add(ckEdit, "edit");
  FakeChild* table = h.add(ckTable, "table");
  EXPECT_FALSE(f->ui().showMessagesItem->isChecked());
  f->ui().showMessagesItem->trigger();
  EXPECT_FALSE(table->itemCheckedOnCommand) << "the window sees the mark as the user saw it";
  EXPECT_TRUE(table->messagesShown);
  EXPECT_TRUE(f->ui().showMessagesItem->isChecked());
  f->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(edit->parentWidget()));
  EXPECT_FALSE(f->ui().showMessagesItem->isChecked());
  f->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(table->parentWidget()));
  EXPECT_TRUE(f->ui().showMessagesItem->isChecked());
  f->ui().showMessagesItem->trigger();
  EXPECT_TRUE(table->itemCheckedOnCommand);
  EXPECT_FALSE(f->ui().showMessagesItem->isChecked());
  EXPECT_TRUE(edit->commands.isEmpty());
}

TEST(Frame, ShowMessagesMarkFollowsTheRealWindows) {
  FrameHarness h;
  TMainForm* f = h.frame;
  auto* table = qobject_cast<TVexoTableForm*>(createTableWindow(f, QString()));
  ASSERT_NE(table, nullptr);
  ASSERT_TRUE(table->messagesVisible());
  EXPECT_TRUE(f->ui().showMessagesItem->isChecked()) << "the table's message memo is shown";
  auto* edit = qobject_cast<TEditForm*>(createEditWindow(f, 1, QString()));
  ASSERT_NE(edit, nullptr);
  ASSERT_FALSE(edit->messagesVisible);
  EXPECT_FALSE(f->ui().showMessagesItem->isChecked());
  f->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(table->parentWidget()));
  EXPECT_EQ(ChildKind, ckTable);
  EXPECT_TRUE(f->ui().showMessagesItem->isChecked()) << "activation shows the table's mark";
  f->ui().showMessagesItem->trigger();
  EXPECT_FALSE(table->messagesVisible());
  EXPECT_FALSE(f->ui().showMessagesItem->isChecked());
  f->ui().showMessagesItem->trigger();
  EXPECT_TRUE(table->messagesVisible());
  EXPECT_TRUE(f->ui().showMessagesItem->isChecked());
}

TEST(Frame, ButtonsThatStartDisabledFollowTheirActionsOnceAWindowIsActive) {
  FrameHarness h;
  TMainForm* f = h.frame;
  h.add(ckTable);
  // The table takes cut, copy and paste (not delete) and no radix.
  for (QAction* a : {f->ui().EditCutAction, f->ui().EditCopyAction, f->ui().EditPasteAction})
    EXPECT_TRUE(button(f->ui().editToolBar, a)->isEnabled()) << a->objectName().toStdString();
  EXPECT_FALSE(button(f->ui().editToolBar, f->ui().EditDelAction)->isEnabled());
  EXPECT_FALSE(button(f->ui().regToolBar, f->ui().BinAction)->isEnabled());
  h.add(ckOaModel);
  for (QAction* a : {f->ui().BinAction, f->ui().HexAction, f->ui().DecAction})
    EXPECT_TRUE(button(f->ui().regToolBar, a)->isEnabled()) << a->objectName().toStdString();
  f->ui().EditPasteAction->setEnabled(false);
  EXPECT_FALSE(button(f->ui().editToolBar, f->ui().EditPasteAction)->isEnabled());
}

TEST(Frame, ExceptionInACommandIsShown) {
  FrameHarness h;
  TMainForm* f = h.frame;
  f->creators.table = [](const QString&) -> TDocChild* { throw VexoError("List index out of bounds (3)"); };
  h.script->shown.clear();
  f->ui().newTblAction->trigger();
  ASSERT_EQ(h.script->shown.size(), 1);
  EXPECT_EQ(h.script->shown[0].text, "List index out of bounds (3)");
  EXPECT_TRUE(f->isVisible());
}
