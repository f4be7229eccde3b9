// Tiravo's windows at the screen: where new and tiled children go, which one comes back when one
// closes, every top-level window's title shown whole, and the name the .sgn load offers.
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <functional>

#include "fixture.h"
#include "tests/tiravo_simwin/answer.h"
#include "tests/titlewidth.h"
#include "tiravo/forms/aboutbox.h"
#include "tiravo/forms/autosim.h"
#include "tiravo/forms/memory.h"
#include "tiravo/forms/window_commands.h"

using namespace tiravo;

using Windows = TiravoFrame;

namespace {

QList<QMdiSubWindow*> subs(TMainForm* f) { return f->mdiArea()->subWindowList(QMdiArea::CreationOrder); }

void expectAllInside(TMainForm* f, const char* when) {
  const QRect area = f->mdiArea()->viewport()->rect();
  for (QMdiSubWindow* s : subs(f))
    EXPECT_TRUE(area.contains(s->geometry())) << when << ": " << s->windowTitle().toStdString();
}

}  // namespace

TEST_F(Windows, EightDocumentsOpenInsideTheArea) {
  TMainForm* f = frame;
  const std::function<void()> opens[] = {
      [f] { f->NewSkuClick(); },
      [f] { f->NewRvasClick(); },
      [f] { f->NewTblClick(); },
      [f] { runAutoSim(*f, wintest::Worked().release(), QStringLiteral("W.tbl")); },
      [f] { f->NewSkuClick(); },
      [f] { runDeterm(*f, wintest::Worked().release(), QStringLiteral("W.tbl")); },
      [f] { f->NewTblClick(); },
      [f] { f->NewRvasClick(); },
  };
  for (const auto& open : opens) {
    open();
    QApplication::processEvents();
    expectAllInside(f, "after each");
  }
  EXPECT_EQ(children(), 8);
}

TEST_F(Windows, TileKeepsTheFrameAndAWindowThatCannotShrinkItsSize) {
  const QSize frames[] = {{724, 493}, {900, 700}};
  for (const QSize& size : frames) {
    frame->setGeometry(QRect(QPoint(30, 40), size));
    QApplication::processEvents();
    runAutoSim(*frame, wintest::Worked().release(), QStringLiteral("W.tbl"));
    QWidget* sim = subs(frame).last()->widget();
    sim->setFixedSize(sim->size());
    const QSize simSize = sim->size();
    frame->NewSkuClick();
    frame->NewTblClick();
    const QRect before = frame->geometry();
    frame->WindowTileItemClick();
    QApplication::processEvents();
    EXPECT_EQ(frame->geometry(), before);
    EXPECT_EQ(sim->size(), simSize);
    expectAllInside(frame, "tiled");
    for (QMdiSubWindow* s : subs(frame)) s->close();
    script->answers.clear();
  }
}

TEST_F(Windows, ClosingAWindowActivatesTheOneActiveBeforeIt) {
  const struct {
    QList<int> activations;  // after the four are opened, in this order
    int closed, expected;
  } cases[] = {{{0, 2}, 2, 0}, {{1, 3}, 3, 1}, {{3, 0, 1}, 1, 0}};
  for (const auto& c : cases) {
    for (int i = 0; i < 4; ++i) frame->NewSkuClick();
    const QList<QMdiSubWindow*> w = subs(frame);
    for (int i : c.activations) frame->mdiArea()->setActiveSubWindow(w[i]);
    w[c.closed]->close();
    QApplication::processEvents();
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), w[c.expected]) << c.closed;
    for (QMdiSubWindow* s : subs(frame)) s->close();
    QApplication::processEvents();
  }
}

TEST_F(Windows, EveryTopLevelWindowShowsItsWholeTitle) {
  frame->createStartupWindows();
  TAboutBox about(frame);
  TSetSForm sets(frame);
  TAddZForm addZ(frame);
  for (const char* title : {"Установка исходного состояния для моделирования",
                            "Установка абстрактных входных сигналов на шаге моделирования",
                            "Добавление абстрактного входного сигнала"}) {
    for (QDialog* d : {static_cast<QDialog*>(&sets), static_cast<QDialog*>(&addZ)}) {
      d->setWindowTitle(QString::fromUtf8(title));
      d->show();
      QApplication::processEvents();
      EXPECT_GE(d->width(), titleAndButtons(d->windowTitle())) << title;
      d->hide();
    }
  }
  int checked = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->windowTitle().isEmpty() || w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip)
      continue;
    const bool wasShown = w->isVisible();
    w->show();
    QApplication::processEvents();
    EXPECT_GE(w->width(), titleAndButtons(w->windowTitle())) << w->windowTitle().toStdString();
    if (!wasShown) w->hide();
    ++checked;
  }
  EXPECT_GE(checked, 8);
  // The free-memory window asks for minimise and close, not for maximise.
  const Qt::WindowFlags memory = frame->memory()->windowFlags();
  EXPECT_TRUE(memory.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(memory.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(memory.testFlag(Qt::CustomizeWindowHint));
}

TEST_F(Windows, LoadingASequenceOffersTheNameInput) {
  runAutoSim(*frame, wintest::Worked().release(), QStringLiteral("W.tbl"));
  auto* sim = qobject_cast<TAutoSim*>(subs(frame).last()->widget());
  ASSERT_NE(sim, nullptr);
  sim->sbLoadClick();
  ASSERT_EQ(script->openStarts.size(), 1);
  EXPECT_EQ(script->openStarts[0], "input");
  EXPECT_EQ(script->fileTitles[0], "Открытие файла с входнами сигналами");
}
