// The frame: clock, opening by extension, progress text, font box routing, menu merging.
#include <sys/stat.h>

#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "fixture.h"
#include "platform/help.h"
#include "platform/longlines.h"
#include "tiravo/core/ftt.h"
#include "tiravo/forms/autosim.h"
#include "tiravo/forms/browser.h"
#include "tiravo/forms/determform.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/editform.h"
#include "tiravo/forms/tableform.h"

using namespace tiravo;

using Frame = TiravoFrame;

TEST_F(Frame, ClockCaptionHasNoLeadingZeros) {
  const struct {
    QTime time;
    const char* caption;
  } cases[] = {{QTime(9, 5), "Vexo [9:5]"}, {QTime(14, 7), "Vexo [14:7]"}, {QTime(0, 0), "Vexo [0:0]"}};
  for (const auto& c : cases) {
    frame->clock = [&] { return c.time; };
    frame->Timer1Timer();
    EXPECT_EQ(frame->windowTitle(), c.caption);
  }
  EXPECT_EQ(frame->timer()->interval(), 1000);
}

TEST_F(Frame, ProgressIsATruncatedPercentage) {
  EXPECT_EQ(TMainForm::progressText(3, 7), "42%");
  EXPECT_EQ(TMainForm::progressText(7, 7), "100%");
  EXPECT_EQ(TMainForm::progressText(0, 0), "0%");  // no rows yet
}

TEST_F(Frame, OpenChoosesTheWindowByLowerCasedExtension) {
  write(path("A.SKU"), "sku:\r\n");
  write(path("b.Rvs"), "s0\r\n");
  write(path("c.tbl"), "Binary\r\n");
  const struct {
    const char* name;
    int kind;  // 0: table window
  } cases[] = {{"A.SKU", TEditForm::Sku}, {"b.Rvs", TEditForm::Rvas}, {"c.tbl", 0}};
  for (const auto& c : cases) {
    script->files << path(QString::fromLatin1(c.name));
    frame->FileOpenItemClick();
    TChildForm* child = frame->activeChild();
    ASSERT_TRUE(child) << c.name;
    if (c.kind) {
      auto* e = qobject_cast<TEditForm*>(child);
      ASSERT_TRUE(e) << c.name;
      EXPECT_EQ(e->editKind(), c.kind);
    } else {
      EXPECT_TRUE(qobject_cast<TVexoTableForm*>(child));
    }
    EXPECT_EQ(child->windowTitle(), c.name);
  }
  EXPECT_TRUE(script->shown.isEmpty());
}

// File > Open of a FIFO says so at once and opens nothing (reading it would wait for a writer).
TEST_F(Frame, OpenRefusesAFifoForEveryKind) {
  for (const char* name : {"x.sku", "x.rvs", "x.tbl"}) {
    const QString fifo = path(QString::fromLatin1(name));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    script->shown.clear();
    script->files << fifo;
    frame->FileOpenItemClick();
    ASSERT_EQ(script->shown.size(), 1) << name;
    EXPECT_TRUE(script->lastText().contains(QStringLiteral("является каналом (FIFO)")))
        << script->lastText().toStdString();
  }
  EXPECT_EQ(children(), 0);
}

TEST_F(Frame, UnsupportedExtensionAsksAgainUntilCancelled) {
  const struct {
    const char* name;
    const char* message;
  } cases[] = {{"x.txt", "Расширение .txt программой не поддерживается"},
               {"noext", "Расширение  программой не поддерживается"}};
  for (const auto& c : cases) {
    script->shown.clear();
    script->fileFilters.clear();
    script->files << path(QString::fromLatin1(c.name));
    script->answers << dlg::Ok;  // OK opens the dialog again, which is then cancelled
    frame->FileOpenItemClick();
    ASSERT_EQ(script->shown.size(), 1);
    EXPECT_EQ(script->shown[0].text, c.message);
    EXPECT_EQ(script->shown[0].caption, "Ошибка");
    EXPECT_EQ(script->shown[0].buttons, dlg::Ok | dlg::Cancel);
    EXPECT_EQ(script->fileFilters.size(), 2);
  }
  EXPECT_EQ(children(), 0);
}

TEST_F(Frame, GsaIsNotSupported) {
  frame->NewGSAClick();
  ASSERT_EQ(script->shown.size(), 1);
  EXPECT_EQ(script->lastText(), "В данной версии программы работа с ГСА не поддерживается!");
  EXPECT_EQ(script->shown[0].caption, "Сообщение от разработчиков");
}

TEST_F(Frame, ChildMenusReplaceTheFileMenuAndArrangeItemsFollowChildren) {
  EXPECT_EQ(frame->menuBarMenus().first(), frame->fileMenu);
  EXPECT_FALSE(frame->tileItem->isEnabled());
  EXPECT_FALSE(frame->SaveBtn->isEnabled());
  TEditForm* e = frame->newEditor(TEditForm::Rvas);
  EXPECT_EQ(frame->menuBarMenus().first(), e->menus().first());
  EXPECT_EQ(frame->menuBarMenus().last(), frame->helpMenu);
  EXPECT_TRUE(frame->tileItem->isEnabled());
  EXPECT_TRUE(frame->fontSizeBox()->isEnabled());
  EXPECT_EQ(ActiveChildKind, 3);
  frame->newTable();
  EXPECT_EQ(ActiveChildKind, 5);
  frame->mdiArea()->closeAllSubWindows();
  QApplication::processEvents();
  EXPECT_EQ(frame->menuBarMenus().first(), frame->fileMenu);
  EXPECT_FALSE(frame->SaveBtn->isEnabled());
  EXPECT_EQ(ActiveChildKind, 5);  // nothing resets it
}

TEST_F(Frame, FontBoxGoesToTheActiveKind) {
  TEditForm* e = frame->newEditor(TEditForm::Rvas);
  frame->fontSizeBox()->setCurrentText("14");
  EXPECT_EQ(e->fontSize(), 14);
  frame->fontSizeBox()->setCurrentText("abc");  // not a number: ignored
  EXPECT_EQ(e->fontSize(), 14);
  EXPECT_TRUE(script->shown.isEmpty());

  TVexoTableForm* t = frame->newTable();
  frame->fontSizeBox()->setCurrentText("20");
  EXPECT_EQ(t->gridFontSize(), 20);
  EXPECT_EQ(t->grid()->verticalHeader()->defaultSectionSize(), 48);  // trunc(20 * 1.4 + 20)
}

TEST_F(Frame, FontBoxInAModelWindowFollowsTheFocusedControl) {
  auto* model = new FTT;
  model->AddLine({"s1=1"}, {"y1=1"}, {"x1=1"}, {"s2=1"});
  auto* b = new TFTT_Brouser(model);
  frame->addChild(b);
  ASSERT_EQ(ActiveChildKind, 7);
  b->lines()->setFocus();
  frame->fontSizeBox()->setCurrentText("14");
  EXPECT_EQ(frame->hintText(), "[lbSY]");
  EXPECT_EQ(b->lines()->font().pointSize(), 14);
  b->transfers()->setFocus();
  frame->fontSizeBox()->setCurrentText("16");
  EXPECT_EQ(b->transfers()->font().pointSize(), 16);
  EXPECT_EQ(b->transfers()->verticalHeader()->defaultSectionSize(), 38);  // trunc(16 * 1.4 + 16)
  EXPECT_TRUE(script->shown.isEmpty());
  auto* other = new QWidget(b);
  other->setObjectName("Other");
  other->setFocusPolicy(Qt::StrongFocus);
  other->show();
  other->setFocus();
  frame->fontSizeBox()->setCurrentText("18");
  EXPECT_EQ(script->lastText(), "Изменение размера шрифта для данного элемента не поддерживается");
}

TEST_F(Frame, FontBoxFindsTheNamedControlAroundTheFocus) {
  const auto model = [] {
    auto* m = new FTT;
    m->AddLine({"s1=1"}, {"y1=1"}, {"z1=1"}, {"s2=1"});
    m->Mode = FTT::Abstract;
    return m;
  };
  runAutoSim(*frame, model(), "A.tbl");
  auto* sim = qobject_cast<TAutoSim*>(frame->activeChild());
  ASSERT_TRUE(sim);
  runDeterm(*frame, model(), "A.tbl");
  auto* det = qobject_cast<TDeterm*>(frame->activeChild());
  ASSERT_TRUE(det);
  const struct {
    TChildForm* window;
    QWidget* focus;   // what takes the focus
    QWidget* target;  // the control whose font changes, or null when refused
    const char* status;
  } cases[] = {
      {sim, sim->PCArea->tabBar(), sim->PCArea, "[PCArea]"},
      {sim, sim->lbS, sim->lbS, "[lbS]"},
      {sim, sim->AppZ, nullptr, "[AppZ]"},
      {sim, sim->Etalon, nullptr, "[Etalon]"},
      {det, det->pages->tabBar(), det->pages, "[pages]"},
      {det, det->mS, det->mS, "[mS]"},
  };
  int size = 10;  // the box shows 10 at start
  for (const auto& c : cases) {
    frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(c.window->parentWidget()));
    c.window->setFocus();
    c.focus->setEnabled(true);
    c.focus->setFocus();
    ASSERT_EQ(c.window->focusWidget(), c.focus) << c.status;
    script->shown.clear();
    size += 2;
    frame->fontSizeBox()->setCurrentText(QString::number(size));
    EXPECT_EQ(frame->hintText(), c.status);
    if (c.target) {
      EXPECT_EQ(c.target->font().pointSize(), size) << c.status;
      EXPECT_TRUE(script->shown.isEmpty()) << c.status;
    } else {
      EXPECT_EQ(script->lastText(), "Изменение размера шрифта для данного элемента не поддерживается")
          << c.status;
    }
  }
}

TEST_F(Frame, ApplicationCarriesTitleAndHelpFile) {
  TMainForm::setUpApplication();
  EXPECT_EQ(QCoreApplication::applicationName(), "Vexo");
  EXPECT_EQ(help::applicationHelpFile(), "Tiravo.hlp");
  // The help commands open the application's file (there is none in the test's directory).
  frame->Contents1Click();
  EXPECT_EQ(script->lastText(), "Файл справки \"Tiravo.hlp\" не найден");
}

TEST_F(Frame, ChildWindowsOpenAtTheirSizeWithEveryColumnInView) {
  const auto model = [] {
    auto* m = new FTT;
    m->AddLine({"s1=1"}, {"y1=1"}, {"x1=1"}, {"s2=1"});
    return m;
  };
  const struct {
    std::function<TChildForm*()> open;
    QSize size;
    std::function<QTableView*(TChildForm*)> grid;
  } cases[] = {
      {[&] { return frame->newEditor(TEditForm::Rvas); }, {540, 225}, nullptr},
      {[&] { return frame->newTable(); },
       {472, 306},
       [](TChildForm* w) { return static_cast<TVexoTableForm*>(w)->grid(); }},
      {[&] {
         auto* b = new TFTT_Brouser(model());
         frame->addChild(b);
         return b;
       },
       {400, 320},
       [](TChildForm* w) { return static_cast<QTableView*>(static_cast<TFTT_Brouser*>(w)->transfers()); }},
  };
  for (const auto& c : cases) {
    TChildForm* w = c.open();
    QApplication::processEvents();
    EXPECT_GE(w->width(), c.size.width()) << w->windowTitle().toStdString();
    EXPECT_GE(w->height(), c.size.height()) << w->windowTitle().toStdString();
    // The window lies inside the area.
    EXPECT_TRUE(frame->mdiArea()->viewport()->rect().contains(w->parentWidget()->geometry()));
    if (!c.grid) continue;
    QTableView* g = c.grid(w);
    QHeaderView* h = g->horizontalHeader();
    const int last = g->model()->columnCount() - 1;
    EXPECT_LE(h->sectionViewportPosition(last) + h->sectionSize(last), g->viewport()->width())
        << w->windowTitle().toStdString();
  }
}

TEST_F(Frame, ExitAsksEveryWindowBeforeAnyClosesAndTheFirstCancelEndsIt) {
  const QList<int> noToAll(9, dlg::No);
  const struct {
    const char* what;
    int tables;  // modified, made after an unmodified editor and a simulator with one step
    QList<int> answers;
    int questions;
    bool exits;
  } cases[] = {
      {"one modified table, Cancel", 1, {dlg::Cancel}, 1, false},
      {"nine modified tables, Cancel on the first", 9, {dlg::Cancel}, 1, false},
      {"nine, No to three, then Cancel", 9, {dlg::No, dlg::No, dlg::No, dlg::Cancel}, 4, false},
      {"nine, No to each: every one asked once", 9, noToAll, 9, true},
  };
  for (const auto& c : cases) {
    frame->show();
    QPointer<TEditForm> editor = frame->newEditor(TEditForm::Sku);
    auto* m = new FTT;
    m->AddLine({"s1=1"}, {"y1=1"}, {"x1=1"}, {"s2=1"});
    runAutoSim(*frame, m, QStringLiteral("Untitled"));
    QPointer<TAutoSim> sim = qobject_cast<TAutoSim*>(frame->activeChild());
    ASSERT_TRUE(sim) << c.what;
    sim->Simulation().Append(SSignalSet());
    QList<QPointer<TVexoTableForm>> tables;
    for (int i = 0; i < c.tables; ++i) {
      tables << frame->newTable();
      tables.last()->document()->setModified(true);
    }
    script->shown.clear();
    script->answers = c.answers;
    EXPECT_EQ(frame->close(), c.exits) << c.what;
    EXPECT_EQ(script->shown.size(), c.questions) << c.what;
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (c.exits) {
      EXPECT_EQ(children(), 0) << c.what;
      continue;
    }
    EXPECT_EQ(children(), c.tables + 2) << c.what;
    ASSERT_TRUE(editor && sim) << c.what;
    EXPECT_EQ(sim->Simulation().StepCount, 1) << c.what;
    for (const auto& t : tables) EXPECT_TRUE(t && t->document()->isModified()) << c.what;
    // Leave the frame empty for the next case.
    for (const auto& t : tables) t->document()->setModified(false);
    frame->mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(Frame, AHintTooLongForTheStatusBarShowsWholeAsItsTip) {
  const QString both = longlines::note() + QStringLiteral("; ") + longlines::largeNote();
  const struct {
    const char* what;
    QString hint;
    bool tip;
  } cases[] = {
      {"a menu hint", QStringLiteral("Открытие файла"), false},
      {"the long-line note fits the frame's own width", longlines::note(), false},
      {"the large-text note too", longlines::largeNote(), false},
      {"both notes do not", both, true},
  };
  ASSERT_EQ(frame->width(), 724);
  for (const auto& c : cases) {
    frame->ShowHint(c.hint);
    EXPECT_EQ(frame->hintText(), c.hint) << c.what;
    EXPECT_EQ(frame->statusBar()->toolTip(), c.tip ? c.hint : QString()) << c.what;
  }
}
