#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <map>

#include "fakechild.h"
#include "platform/errors.h"
#include "velmora/app/aboutbox.h"
#include "velmora/app/splash.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/editform.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"

using namespace velmora;

namespace {

QWidget* button(QToolBar* bar, QAction* a) { return bar->widgetForAction(a); }
QMdiSubWindow* subOf(QWidget* w) { return qobject_cast<QMdiSubWindow*>(w->parentWidget()); }

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

TEST(Frame, ActivationSwitchesKindAndLastCloseResetsIt) {
  FrameHarness h;
  TMainForm* f = h.frame;
  FakeChild* table = h.add(ckTable, "t");
  FakeChild* text = h.add(ckText, "x");
  EXPECT_EQ(ChildKind, ckText);
  EXPECT_FALSE(f->ui().AddStrAction->isEnabled());
  f->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(table->parentWidget()));
  EXPECT_EQ(ChildKind, ckTable);
  EXPECT_TRUE(f->ui().AddStrAction->isEnabled());
  EXPECT_TRUE(f->ui().ReportAction->isEnabled());
  f->setStatusText(0, "Изменен");

  QPointer<FakeChild> gone1(table), gone2(text);
  f->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(text->parentWidget()));
  EXPECT_EQ(ChildKind, ckText);
  qobject_cast<QMdiSubWindow*>(text->parentWidget())->close();
  EXPECT_EQ(ChildKind, ckTable);  // the table comes to the front again
  f->mdiArea()->closeAllSubWindows();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(gone1.isNull());
  EXPECT_TRUE(gone2.isNull());
  EXPECT_EQ(ChildKind, ckNone);
  EXPECT_EQ(f->activeChild(), nullptr);
  // Kind 0: no window takes the report any more.
  EXPECT_FALSE(f->ui().ReportAction->isEnabled());
  EXPECT_FALSE(f->ui().AddStrAction->isEnabled());
  EXPECT_FALSE(f->fontSizeBox()->isEnabled());
  EXPECT_FALSE(f->ui().tileItem->isEnabled());
  EXPECT_EQ(f->statusText(0), "");
  EXPECT_TRUE(f->ui().transToolBar->isHidden());
}

TEST(Frame, MenusMergeByGroup) {
  FrameHarness h;
  TMainForm* f = h.frame;
  const QList<QMenu*> frameMenus = {f->ui().fileMenuFrame, f->ui().settingsMenu, f->ui().windowMenu,
                                    f->ui().helpMenu};
  EXPECT_EQ(f->menuBarMenus(), frameMenus);
  EXPECT_EQ(f->ui().fileMenuFrame->title(), "&Файл");
  EXPECT_EQ(f->ui().settingsMenu->title(), "&Настройки");
  EXPECT_EQ(f->ui().windowMenu->title(), "&Окно");
  EXPECT_EQ(f->ui().helpMenu->title(), "&Помощь");

  auto* c = new FakeChild(ckEdit);
  c->file = new QMenu("&Файл", c);
  c->menus = {new QMenu("&Правка", c), new QMenu("&Перевод", c)};
  f->addChild(c);
  const QList<QMenu*> merged = {
      c->file, c->menus[0], c->menus[1], f->ui().settingsMenu, f->ui().windowMenu, f->ui().helpMenu};
  EXPECT_EQ(f->menuBarMenus(), merged);

  // A child without menus of its own shows the frame's.
  FakeChild* plain = h.add(ckText);
  EXPECT_EQ(f->menuBarMenus(), frameMenus);
  f->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(c->parentWidget()));
  EXPECT_EQ(f->menuBarMenus(), merged);

  f->mdiArea()->closeAllSubWindows();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Q_UNUSED(plain);
  EXPECT_EQ(f->menuBarMenus(), frameMenus);
}

TEST(Frame, FrameMenusHoldTheirItems) {
  FrameHarness h;
  TMainForm* f = h.frame;
  QStringList file;
  for (QAction* a : f->ui().fileMenuFrame->actions()) file << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(file, QStringList({"Созд&ать", "&Открыть", "-", "В&ыход"}));
  QStringList create;
  for (QAction* a : f->ui().createMenu->actions()) create << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(create, QStringList({"&РВАС", "&СКУ", "&ГСА", "Таблицу &переходов", "-", "&Текстовый файл"}));
  QStringList bars;
  for (QAction* a : f->ui().toolBarsMenu->actions()) bars << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(bars, QStringList({"&Файл", "&Редактирование", "&ГСА", "&Таблица", "&Перевод", "&Моделирование",
                               "Пр&едставление регистров", "-", "Показывать &автоматически"}));
  QStringList help;
  for (QAction* a : f->ui().helpMenu->actions()) help << a->text();
  EXPECT_EQ(help, QStringList(
                      {"&Вызов справки", "&Поиск...", "&О программе...", "Как пользоваться справочником?"}));
  EXPECT_EQ(f->ui().EditCutAction->shortcut(), QKeySequence("Ctrl+X"));
  EXPECT_EQ(f->ui().EditPasteAction->shortcut(), QKeySequence("Ctrl+V"));
  EXPECT_EQ(f->ui().ModelOpenAction->text(), "Открыть|");
}

TEST(Frame, FileOpenChoosesTheWindowByExtension) {
  FrameHarness h;
  TMainForm* f = h.frame;
  QStringList calls;
  f->creators.table = [&](const QString& p) {
    calls << "table " + p;
    return nullptr;
  };
  f->creators.text = [&](const QString& p) {
    calls << "text " + p;
    return nullptr;
  };
  f->creators.gsa = [&](const QString& p) {
    calls << "gsa " + p;
    return nullptr;
  };
  f->creators.edit = [&](int k, const QString& p) {
    calls << QString("edit %1 ").arg(k) + p;
    return nullptr;
  };
  h.script->shown.clear();

  h.script->files << "/d/CPU.TBL"
                  << "/d/a.Sku"
                  << "/d/b.rvs"
                  << "/d/c.txt"
                  << "/d/d.GSA";
  for (int i = 0; i < 5; ++i) f->FileOpenItemClick();
  EXPECT_EQ(calls, QStringList({"table /d/CPU.TBL", "edit 1 /d/a.Sku", "edit 0 /d/b.rvs", "text /d/c.txt",
                                "gsa /d/d.GSA"}));
  ASSERT_FALSE(h.script->fileFilters.isEmpty());
  EXPECT_TRUE(h.script->fileFilters.first().startsWith(
      "Файлы программы|*.sku;*.lsa;*.rvs;*.tbl;*.gsa;*.rtf|Файл СКУ (*.sku)|*.sku|"));
  EXPECT_TRUE(h.script->fileFilters.first().endsWith("|Все файлы (*.*)|*.*"));
  EXPECT_TRUE(h.script->shown.isEmpty());

  // Refused: OK opens the dialog again, Cancel gives up.
  calls.clear();
  h.script->files << "/d/a.rtf"
                  << "/d/x.lsa"
                  << "/d/y.tbl";
  h.script->answers << dlg::Ok << dlg::Ok;
  f->FileOpenItemClick();
  ASSERT_EQ(h.script->shown.size(), 2);
  EXPECT_EQ(h.script->shown[0].text, "Расширение .rtf программой не поддерживается");
  EXPECT_EQ(h.script->shown[0].caption, "Ошибка");
  EXPECT_EQ(h.script->shown[0].buttons, dlg::Ok | dlg::Cancel);
  EXPECT_EQ(h.script->shown[1].text, "Расширение .lsa программой не поддерживается");
  EXPECT_EQ(calls, QStringList({"table /d/y.tbl"}));

  calls.clear();
  h.script->files << "/d/a.rtf"
                  << "/d/never.tbl";
  h.script->answers << dlg::Cancel;
  f->FileOpenItemClick();
  EXPECT_TRUE(calls.isEmpty());
  EXPECT_EQ(h.script->files, QStringList({"/d/never.tbl"}));
  h.script->files.clear();

  // The extension is taken from the file name, not from a dotted directory.
  h.script->files << "/d/dir.tbl/noext";
  h.script->answers << dlg::Cancel;
  f->FileOpenItemClick();
  EXPECT_EQ(h.script->lastText(), "Расширение  программой не поддерживается");

  // Cancelling the dialog does nothing.
  f->FileOpenItemClick();
  EXPECT_TRUE(calls.isEmpty());
}

TEST(Frame, NewCommandsMakeOneWindowEach) {
  FrameHarness h;
  TMainForm* f = h.frame;
  QStringList calls;
  f->creators.table = [&](const QString& p) {
    calls << "table" + p;
    return nullptr;
  };
  f->creators.text = [&](const QString& p) {
    calls << "text" + p;
    return nullptr;
  };
  f->creators.gsa = [&](const QString& p) {
    calls << "gsa" + p;
    return nullptr;
  };
  f->creators.edit = [&](int k, const QString& p) {
    calls << QString("edit%1").arg(k) + p;
    return nullptr;
  };
  for (QAction* a : {f->ui().newRvasAction, f->ui().newSkuAction, f->ui().newGsaAction, f->ui().newTblAction,
                     f->ui().newTxtAction})
    a->trigger();
  EXPECT_EQ(calls, QStringList({"edit0", "edit1", "gsa", "table", "text"}));
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

TEST(Frame, WindowCommands) {
  FrameHarness h;
  TMainForm* f = h.frame;
  h.add(ckText, "a");
  h.add(ckTable, "b");
  h.add(ckEdit, "c");
  f->WindowTileItemClick();
  f->WindowCascadeItemClick();
  f->WindowMinimizeItemClick();
  for (QMdiSubWindow* s : f->mdiArea()->subWindowList()) EXPECT_TRUE(s->isMinimized());
  f->WindowArrangeItemClick();
  const auto subs = f->mdiArea()->subWindowList(QMdiArea::CreationOrder);
  EXPECT_EQ(subs[0]->y(), subs[1]->y());
  EXPECT_LT(subs[0]->x(), subs[1]->x());
  // The window menu lists the children.
  emit f->ui().windowMenu->aboutToShow();
  QStringList items;
  for (QAction* a : f->ui().windowMenu->actions())
    if (!a->isSeparator()) items << a->text();
  EXPECT_EQ(items.mid(4), QStringList({"&1 a", "&2 b", "&3 c"}));
}

TEST(Frame, OwnedChildGoesWithItsOwner) {
  FrameHarness h;
  TMainForm* f = h.frame;
  FakeChild* table = h.add(ckTable, "table");
  QPointer<FakeChild> designer = h.add(ckOaDesign, "designer", table);
  EXPECT_EQ(ChildKind, ckOaDesign);
  QMdiSubWindow* tableSub = qobject_cast<QMdiSubWindow*>(table->parentWidget());
  tableSub->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(designer.isNull());
  EXPECT_TRUE(f->mdiArea()->subWindowList().isEmpty());
  EXPECT_EQ(ChildKind, ckNone);
  // A pair left open goes with the frame.
  FakeChild* table2 = h.add(ckTable, "table 2");
  h.add(ckOaModel, "model", table2);
  h.add(ckOaDesign, "designer 2", table2);
}

TEST(Frame, ExitAsksEveryChildBeforeAnyCloses) {
  FrameHarness h;
  TMainForm* f = h.frame;
  FakeChild* a = h.add(ckEdit, "a");
  FakeChild* b = h.add(ckTable, "b");
  FakeChild* c = h.add(ckText, "c");
  b->refuseClose = true;
  EXPECT_FALSE(f->close());
  // Cancel in one child keeps every window open; the ones after it are not asked.
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(f->mdiArea()->subWindowList().size(), 3);
  EXPECT_EQ(a->asked, 1);
  EXPECT_EQ(b->asked, 1);
  EXPECT_EQ(c->asked, 0);
  EXPECT_EQ(a->closed + b->closed + c->closed, 0);
  EXPECT_EQ(ChildKind, ckText) << "the active window keeps its kind";
  b->refuseClose = false;
  QPointer<FakeChild> pa(a), pb(b), pc(c);
  f->ui().exitAction->trigger();
  EXPECT_FALSE(f->isVisible());
  EXPECT_TRUE(f->mdiArea()->subWindowList().isEmpty());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(pa.isNull() && pb.isNull() && pc.isNull());
  EXPECT_EQ(ChildKind, ckNone);
}

TEST(Frame, ExitAsksEachDocumentOnceAndCancelKeepsTheOthersModified) {
  FrameHarness h;
  TMainForm* f = h.frame;
  auto* first = qobject_cast<TTxtForm*>(createTextWindow(f, QString()));
  auto* second = qobject_cast<TTxtForm*>(createTextWindow(f, QString()));
  ASSERT_TRUE(first && second);
  first->Editor->insertPlainText("первый");
  second->Editor->insertPlainText("второй");
  ASSERT_TRUE(first->isModified() && second->isModified());
  h.script->shown.clear();
  h.script->answers << dlg::No << dlg::Cancel;
  EXPECT_FALSE(f->close());
  ASSERT_EQ(h.script->shown.size(), 2);
  EXPECT_EQ(h.script->shown[0].text, "Сохранить изменения в Untitled текстовый файл");
  // "No" for the first document meant "do not save on the way out"; the exit did not happen,
  // so the document is still there with its text.
  EXPECT_EQ(f->mdiArea()->subWindowList().size(), 2);
  EXPECT_TRUE(first->isModified());
  EXPECT_EQ(first->Editor->toPlainText(), "первый");

  h.script->shown.clear();
  h.script->answers << dlg::No << dlg::No;
  EXPECT_TRUE(f->close());
  EXPECT_EQ(h.script->shown.size(), 2) << "each document is asked once";
  EXPECT_TRUE(f->mdiArea()->subWindowList().isEmpty());
}

TEST(Frame, ExitTakesInACellBeingTyped) {
  FrameHarness h;
  TMainForm* f = h.frame;
  auto* t = qobject_cast<TVexoTableForm*>(createTableWindow(f, QString()));
  ASSERT_NE(t, nullptr);
  t->selectCell(1, 1);
  t->grid()->edit(t->grid()->currentIndex());
  ASSERT_NE(t->cellEditor(), nullptr);
  QTest::keyClicks(t->cellEditor(), "s7");  // typed, as a person would
  h.script->shown.clear();
  h.script->answers << dlg::Cancel;
  EXPECT_FALSE(f->close());
  ASSERT_EQ(h.script->shown.size(), 1);
  EXPECT_TRUE(h.script->shown[0].text.startsWith("Сохранить изменения в файл таблицы переходов"))
      << h.script->shown[0].text.toStdString();
  EXPECT_EQ(t->cell(1, 1), "s7");
  EXPECT_EQ(f->mdiArea()->subWindowList().size(), 1);
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

TEST(Frame, StatusPanelsAndHints) {
  FrameHarness h;
  TMainForm* f = h.frame;
  f->setStatusText(0, "Изменен");
  f->setStatusText(1, "3:4");
  f->setStatusText(2, "Ошибок: 2");
  EXPECT_EQ(f->statusText(0), "Изменен");
  EXPECT_EQ(f->statusText(1), "3:4");
  EXPECT_EQ(f->statusText(2), "Ошибок: 2");
  QStatusTipEvent tip(f->ui().openFileAction->statusTip());
  QApplication::sendEvent(f, &tip);
  EXPECT_EQ(f->statusText(3), "Открыть файл");
  EXPECT_EQ(f->ui().openFileAction->toolTip(), "Открыть");
  f->setStatusText(7, "nothing");  // out of range: ignored
  EXPECT_EQ(f->statusText(7), "");
  // Longer texts are shown whole.
  f->resize(900, 500);
  f->show();
  f->setStatusText(1, "1234567:89012");
  f->setStatusText(2, "Текст длиннее 200000 строк показан без переноса строк");
  QApplication::processEvents();
  for (int i = 0; i < 3; ++i) {
    const QLabel* l = f->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
    ASSERT_NE(l, nullptr);
    EXPECT_GE(l->contentsRect().width(), l->fontMetrics().horizontalAdvance(l->text())) << i;
  }
}

// The texts of panels 0-2 belong to the window that wrote them: they leave when another
// window comes to the front or the window closes, and come back with it.
TEST(Frame, StatusTextsGoAndComeWithTheirWindow) {
  FrameHarness h;
  TMainForm* f = h.frame;
  FakeChild* editor = h.add(ckEdit);
  f->setStatusText(0, "Изменен");
  f->setStatusText(2, "Ошибок: 1");
  FakeChild* table = h.add(ckTable);
  EXPECT_EQ(f->statusText(0), "");
  EXPECT_EQ(f->statusText(2), "") << "the editor's count left with it";
  f->setStatusText(1, "2:3");
  f->mdiArea()->setActiveSubWindow(subOf(editor));
  EXPECT_EQ(f->statusText(0), "Изменен");
  EXPECT_EQ(f->statusText(1), "");
  EXPECT_EQ(f->statusText(2), "Ошибок: 1");
  f->mdiArea()->setActiveSubWindow(subOf(table));
  EXPECT_EQ(f->statusText(1), "2:3");
  delete subOf(table);
  QApplication::processEvents();
  EXPECT_EQ(f->statusText(2), "Ошибок: 1") << "the editor is in front again";
  delete subOf(editor);
  QApplication::processEvents();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f->statusText(i), "") << i;
}

// "О программе" names the program, what it is for and its version, each text in full.
TEST(Frame, AboutBoxShowsEveryTextInFull) {
  FrameHarness h;
  QStringList texts;
  bool checked = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "О программе");
    for (QLabel* l : box->findChildren<QLabel*>()) {
      if (!l->isVisible()) continue;
      texts << l->text();
      const QSize need = l->wordWrap() ? QSize(l->width(), l->heightForWidth(l->width())) : l->sizeHint();
      EXPECT_GE(l->width(), need.width()) << l->text().toStdString();
      EXPECT_GE(l->height(), need.height()) << l->text().toStdString();
      EXPECT_TRUE(box->rect().contains(QRect(l->mapTo(box, QPoint()), l->size()))) << l->text().toStdString();
    }
    checked = true;
    box->accept();
  });
  h.frame->ui().aboutItem->trigger();
  ASSERT_TRUE(checked);
  EXPECT_TRUE(texts.contains("Vexo"));
  EXPECT_TRUE(texts.contains("Версия " + TAboutBox::version()));
  EXPECT_TRUE(texts.join(' ').contains("моделирования автоматных моделей устройств управления"));
}

TEST(Frame, ToolBarMenuFollowsTheBars) {
  FrameHarness h;
  TMainForm* f = h.frame;
  emit f->ui().toolBarsMenu->aboutToShow();
  EXPECT_TRUE(f->ui().toolBarItems[0]->isChecked());
  EXPECT_TRUE(f->ui().toolBarItems[1]->isChecked());
  EXPECT_FALSE(f->ui().toolBarItems[2]->isChecked());
  f->ui().toolBarItems[2]->trigger();  // "&ГСА"
  EXPECT_FALSE(f->ui().gsaToolBar->isHidden());
  EXPECT_TRUE(f->ui().toolBarItems[2]->isChecked());
  f->ui().toolBarItems[0]->trigger();  // "&Файл"
  EXPECT_TRUE(f->ui().fileToolBar->isHidden());
  emit f->ui().toolBarsMenu->aboutToShow();
  EXPECT_FALSE(f->ui().toolBarItems[0]->isChecked());
  f->ui().autoShowItem->trigger();
  EXPECT_FALSE(f->autoShow());
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

TEST(Splash, LooksAsDesignedAndWaitComesFromTheEnvironment) {
  TSplash s;
  EXPECT_EQ(s.size(), QSize(284, 138));
  EXPECT_TRUE(s.windowFlags() & Qt::FramelessWindowHint);
  auto* title = s.findChild<QLabel*>("SplashTitle");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(),
            "Система синтеза, проеобразований и моделирования автоматных моделей устройств управления");
  EXPECT_TRUE(title->font().italic());
  EXPECT_EQ(title->font().pixelSize(), 13);
  EXPECT_EQ(s.findChild<QLabel*>("SplashYears")->text(), "1999-2000");

  const QByteArray saved = qgetenv("VEXO_SPLASH_MS");
  qputenv("VEXO_SPLASH_MS", "0");
  EXPECT_EQ(TSplash::waitMs(), 0);
  qputenv("VEXO_SPLASH_MS", "30");
  EXPECT_EQ(TSplash::waitMs(), 30);
  QElapsedTimer t;
  t.start();
  s.showAndWait();
  EXPECT_GE(t.elapsed(), 30);
  EXPECT_TRUE(s.isVisible());
  qputenv("VEXO_SPLASH_MS", "soon");
  EXPECT_EQ(TSplash::waitMs(), 5000);
  qunsetenv("VEXO_SPLASH_MS");
  EXPECT_EQ(TSplash::waitMs(), 5000);
  if (!saved.isNull()) qputenv("VEXO_SPLASH_MS", saved);
}
