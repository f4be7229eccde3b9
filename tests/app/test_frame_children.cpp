// The frame's child windows: which one is in front, the window commands, closing and the exit
// that asks each document, and the status panels that follow the window in front.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>

#include "fakechild.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"

using namespace velmora;

namespace {

QMdiSubWindow* subOf(QWidget* w) { return qobject_cast<QMdiSubWindow*>(w->parentWidget()); }

}  // namespace

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
  f->setStatusText(2, "Текст длиннее 100000 строк показан без переноса строк");
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
