// Tiravo's tool panel and the tool buttons of its windows, without an icon theme.
#include <QAction>
#include <QToolBar>
#include <gtest/gtest.h>

#include "tests/icons/barcheck.h"
#include "tests/tiravo/tablehelp.h"
#include "tests/tiravo_forms/fixture.h"
#include "tiravo/forms/browser.h"
#include "tiravo/forms/window_commands.h"

namespace {

FTT* worked() {
  auto* m = new FTT;
  tablehelp::WorkedTable(*m);
  return m;
}

class TiravoGlyphs : public TiravoFrame {
 protected:
  void SetUp() override {
    barcheck::noIconTheme();
    TiravoFrame::SetUp();
  }
};

TEST_F(TiravoGlyphs, EveryToolButtonDrawsItsOwnImage) {
  // The frame's panel and every window that has tool buttons.
  frame->NewTblClick();
  tiravo::runAutoSim(*frame, worked(), QStringLiteral("W.tbl"));
  tiravo::runStepSim(*frame, worked());
  tiravo::runDeterm(*frame, worked(), QStringLiteral("W.tbl"));
  frame->addChild(new tiravo::TFTT_Brouser(worked()));
  // 13 on the panel; table 3; simulator 12; step simulator 6 and its two folding buttons;
  // determinizer 4; browser 1.
  EXPECT_EQ(barcheck::checkBars(frame), 13 + 3 + 12 + 8 + 4 + 1);
  EXPECT_FALSE(frame->windowIcon().isNull());
  for (QMdiSubWindow* s : frame->mdiArea()->subWindowList())
    EXPECT_EQ(s->windowIcon().cacheKey(), frame->windowIcon().cacheKey()) << s->windowTitle().toStdString();
}

}  // namespace
