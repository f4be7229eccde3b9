// The free-memory window and the about box.
#include <QLabel>
#include <QPointer>
#include <QMenuBar>
#include <QScreen>
#include <QLineEdit>
#include <QTest>

#include "../tiravo_simwin/answer.h"
#include "fixture.h"
#include "tiravo/core/ftt.h"
#include "tiravo/forms/addzform.h"
#include "tiravo/forms/autosim.h"
#include "tiravo/forms/determform.h"
#include "tiravo/forms/simstep.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/aboutbox.h"
#include "tiravo/forms/meminfo.h"
#include "tiravo/forms/memory.h"

using namespace tiravo;

TEST(Meminfo, FiguresAndCaptions) {
  const struct {
    const char* text;
    const char* phys;
    const char* physHint;
    const char* swap;
    const char* swapHint;
  } cases[] = {
      // Without a page file the window says there is none.
      {"MemTotal: 65536 kB\nMemFree: 1 kB\nMemAvailable: 16384 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n",
       "Физическая: 25.00%", "Всего 64.00Мб", "Виртуальная: нет", "Файл подкачки не используется"},
      // Without an estimate of available memory the free memory counts.
      {"MemTotal: 2048 kB\nMemFree: 1024 kB\nSwapTotal: 4096 kB\nSwapFree: 1024 kB\n", "Физическая: 50.00%",
       "Всего 2.00Мб", "Виртуальная: 25.00%", "Всего 4.00Мб"},
      // Beyond 4 GiB the figures stay right; nonsense lines are skipped.
      {"MemTotal: 67108864 kB\nMemAvailable: 16777216 kB\nSwapTotal: 99999999999999999999 kB\ngarbage\n",
       "Физическая: 25.00%", "Всего 65536.00Мб", "Виртуальная: нет", "Файл подкачки не используется"},
  };
  for (const auto& c : cases) {
    const MemoryStatus s = parseMeminfo(c.text);
    EXPECT_EQ(physCaption(s), c.phys);
    EXPECT_EQ(totalHint(s.totalPhys), c.physHint);
    EXPECT_EQ(swapCaption(s), c.swap);
    EXPECT_EQ(swapHint(s), c.swapHint);
  }
}

using Small = TiravoFrame;

TEST_F(Small, MemoryWindowReadsItsFileAndSplitsItsHeight) {
  write(path("meminfo"),
        "MemTotal: 65536 kB\nMemAvailable: 16384 kB\nSwapTotal: 1024 kB\nSwapFree: 512 kB\n");
  TMemory* m = frame->memory();
  m->meminfoPath = path("meminfo");
  m->Timer1Timer();
  EXPECT_EQ(m->phys()->text(), "Физическая: 25.00%");
  EXPECT_EQ(m->phys()->toolTip(), "Всего 64.00Мб");
  EXPECT_EQ(m->swap()->text(), "Виртуальная: 50.00%");
  EXPECT_EQ(m->windowTitle(), "Свободная память");
  EXPECT_EQ(m->timer()->interval(), 500);
  EXPECT_TRUE(m->timer()->isActive());
  m->resize(153, 31);
  m->Resizing();
  EXPECT_EQ(m->phys()->height(), 15);
  EXPECT_EQ(m->swap()->height(), 16);
}

TEST_F(Small, MemoryWindowOpensCentredOffTheMenusWithItsWholeTitle) {
  // The frame's menu bar lies across the centre of the screen.
  const QPoint centre = frame->screen()->availableGeometry().center();
  frame->move(frame->pos() + centre - frame->mapToGlobal(frame->menuBar()->geometry().center()));
  TMemory* m = frame->memory();
  frame->miMemoryClick();
  ASSERT_TRUE(m->isVisible());
  const QRect bars(frame->mapToGlobal(frame->menuBar()->geometry().topLeft()), frame->menuBar()->size());
  EXPECT_FALSE(m->frameGeometry().intersects(bars));
  EXPECT_LE(std::abs(m->frameGeometry().center().x() - centre.x()), 4);  // within the window's border
  EXPECT_GT(m->width(), m->fontMetrics().horizontalAdvance(m->windowTitle()));
  // Shown again, it stays where the user left it.
  m->move(300, 300);
  m->hide();
  frame->miMemoryClick();
  EXPECT_EQ(m->pos(), QPoint(300, 300));
}

// The label shows all of its text in the room it was given, inside its parent.
static bool shownWhole(const QLabel* l) {
  if (!l->parentWidget()->rect().contains(l->geometry())) return false;
  if (l->wordWrap()) return l->heightForWidth(l->width()) <= l->height();
  return l->sizeHint().width() <= l->width() && l->sizeHint().height() <= l->height();
}

TEST_F(Small, AboutBoxShowsEveryTextWhole) {
  TAboutBox box(frame);
  box.show();
  EXPECT_GE(box.width(), 368);
  EXPECT_GE(box.height(), 204);
  for (bool credits : {false, true}) {
    if (credits) box.ProgramIconClick();
    int checked = 0;
    for (QLabel* l : box.findChildren<QLabel*>()) {
      if (!l->isVisible() || l->text().isEmpty()) continue;
      EXPECT_TRUE(shownWhole(l)) << l->text().toStdString();
      ++checked;
    }
    EXPECT_EQ(checked, credits ? 6 : 4);
  }
}

TEST_F(Small, AboutBoxCreditsToggleAndReopenHidden) {
  TAboutBox box(frame);
  box.show();
  box.ProgramIconClick();
  EXPECT_TRUE(box.panel2()->isVisible());
  box.ProgramIconClick();
  EXPECT_FALSE(box.panel2()->isVisible());
  QTest::mouseClick(box.programIcon(), Qt::LeftButton);
  EXPECT_TRUE(box.panel2()->isVisible());
  box.accept();
  box.show();
  EXPECT_FALSE(box.panel2()->isVisible());
}

TEST_F(Small, DeterminizerStatusEndsOnTheLastStateTakenUp) {
  const auto chain = [] {
    auto m = std::make_unique<FTT>();
    for (int i = 1; i < 40; ++i)
      tablehelp::Row(*m, QStringLiteral("s%1").arg(i), "y1", "1", QStringLiteral("s%1").arg(i + 1));
    return m;
  };
  const struct {
    std::function<std::unique_ptr<FTT>()> model;
    const char* last;
  } cases[] = {
      {wintest::Worked, "Детерминизация: Всего=4, текущее[3]=s1&s2&s3"},
      {chain, "Детерминизация: Всего=40, текущее[39]=s40"},
  };
  for (const auto& c : cases) {
    TDeterm w;
    w.SetTable(c.model(), "T.tbl");
    wintest::AnswerSetS({"s1"});
    w.sbS0Click();
    QStringList statuses;
    w.showStatus = [&](const QString& s) { statuses << s; };
    w.statusIntervalMs = 1 << 30;  // only the first state during the run
    w.sbDetermClick();
    ASSERT_FALSE(statuses.isEmpty());
    EXPECT_EQ(statuses.first(), "Детерминизация: Всего=1, текущее[0]=s1");
    EXPECT_EQ(statuses.last(), c.last);
  }
}

TEST_F(Small, SaveDialogsOfTheSimulatorsCarryTheirTitles) {
  runStepSim(*frame, wintest::Worked().release());
  auto* step = qobject_cast<TSimStep*>(frame->activeChild());
  ASSERT_TRUE(step);
  runAutoSim(*frame, wintest::Worked().release(), "W.tbl");
  auto* sim = qobject_cast<TAutoSim*>(frame->activeChild());
  ASSERT_TRUE(sim);
  const struct {
    std::function<void()> save;
    const char* title;
    const char* filter;
  } cases[] = {
      {[&] { step->SaveClick(); }, "Сохранение истории переходов в текстовом виде",
       "Текстовые файлы (*.txt);;Все файлы (*.*)"},
      {[&] { sim->sbSaveClick(); }, "Сохранение входных сигналов на жёстком диске",
       "Файлы с входными сигналами (*.sgn);;Все файлы (*.*)"},
  };
  for (const auto& c : cases) {
    script->fileTitles.clear();
    script->fileFilters.clear();
    c.save();  // cancelled
    ASSERT_EQ(script->fileTitles.size(), 1);
    EXPECT_EQ(script->fileTitles[0], c.title);
    EXPECT_EQ(dlg::toQtFilter(script->fileFilters[0]), c.filter);
  }
}

TEST_F(Small, AddLetterDialogGoesWithTheFrame) {
  frame->createStartupWindows();
  QPointer<TAddZForm> dialog = AddZForm();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->parentWidget(), frame);
  delete frame;
  frame = nullptr;
  EXPECT_TRUE(dialog.isNull());
}
