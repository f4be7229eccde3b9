// The conversion command in a frame: the new table window, owned by the frame, recorded as
// the last table window, filled and numbered; a refused check opens nothing.
#include <gtest/gtest.h>

#include "tests/editor/helpers.h"
#include "tests/flowchart/gsapicture.h"
#include "velmora/flowchart/gsaconvert.h"

using namespace velmora;

using namespace edtest;
using namespace gsatest;

using GsaConvertInFrame = InFrame;

TEST_F(GsaConvertInFrame, APassedFlowchartOpensANumberedTableOwnedByTheFrame) {
  frame->NewTblClick();
  TVexoTableForm* older = frame->lastTableForm;
  const GsaConversion r = convertGsa(document(picture({"3:y0", "11", "1:y1", "11", "4:yk"})), frame);
  EXPECT_EQ(r.verdict, 0);
  EXPECT_TRUE(r.messages.isEmpty());
  ASSERT_NE(r.table, nullptr);
  EXPECT_NE(r.table, older);
  EXPECT_EQ(frame->lastTableForm, r.table);
  EXPECT_EQ(children(), 2);
  EXPECT_EQ(r.table->tableData().rows, rows({{"s0", "y0", "1", "s1"}, {"s1", "y1", "1", "sk"}}));
  EXPECT_EQ(r.table->cell(0, 1), QStringLiteral("1"));
  EXPECT_EQ(r.table->cell(0, 2), QStringLiteral("2"));
  EXPECT_EQ(r.table->currentRow(), 1);
  EXPECT_EQ(r.table->currentColumn(), 1);
  EXPECT_FALSE(r.table->isModified());
  EXPECT_EQ(r.table->fileName(), QStringLiteral("Untitled"));
  // Closing the flowchart's side has nothing to do with it: the frame owns the window.
  delete subOf(older);
  EXPECT_EQ(frame->lastTableForm, r.table);
}

TEST_F(GsaConvertInFrame, ARefusedCheckOpensNoWindowAWarningStillConverts) {
  const GsaConversion empty = convertGsa(GsaDocument(), frame);
  EXPECT_EQ(empty.verdict, 3);
  EXPECT_EQ(empty.table, nullptr);
  EXPECT_EQ(children(), 0);
  EXPECT_EQ(empty.cols, (QList<int>{0, 0}));

  const GsaConversion warned = convertGsa(document(picture({"3", "11", "1:s1", "11", "4"})), frame);
  EXPECT_EQ(warned.verdict, 9);
  EXPECT_EQ(warned.messages.size(), 1);
  EXPECT_NE(warned.table, nullptr);
  EXPECT_EQ(children(), 1);
}
