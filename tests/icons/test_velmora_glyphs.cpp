// Velmora's tool bars without an icon theme, and the flowchart tools against the cell painter.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QToolBar>
#include <gtest/gtest.h>

#include "tests/app/fakechild.h"
#include "tests/icons/barcheck.h"
#include "velmora/flowchart/paint/gsapaint.h"

using namespace velmora;

namespace {

TEST(VelmoraGlyphs, EveryToolBarButtonDrawsItsOwnImage) {
  barcheck::noIconTheme();
  FrameHarness h;
  TMainForm* f = h.frame;
  // Every action of every bar has a button; the frame and its children carry the program's icon.
  int actions = 0;
  const TFrameUi& ui = f->ui();
  for (QToolBar* bar : {ui.fileToolBar, ui.editToolBar, ui.transToolBar, ui.tblToolBar, ui.gsaToolBar,
                        ui.modelToolBar, ui.regToolBar})
    for (QAction* a : bar->actions())
      if (!a->isSeparator() && qobject_cast<QToolButton*>(bar->widgetForAction(a))) ++actions;
  EXPECT_EQ(barcheck::checkBars(f), actions);
  EXPECT_EQ(actions, 7 + 4 + 3 + 5 + 17 + 8 + 3);
  EXPECT_FALSE(f->windowIcon().isNull());
  h.add(1);
  EXPECT_EQ(f->mdiArea()->subWindowList().first()->windowIcon().cacheKey(), f->windowIcon().cacheKey());
}

// The cells of a flowchart at the grid's starting size, one column, and where they land when
// scaled into a square of `side` pixels.
QImage painted(const GsaGridList& cells) {
  const QSize cell = gsaCellSize(6);
  QImage img(cell.width(), cell.height() * cells.rowCount(), QImage::Format_ARGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  QFont font = p.font();
  font.setPointSize(6);
  p.setFont(font);
  for (int r = 0; r < cells.rowCount(); ++r)
    paintGsaCell(p, QRect(QPoint(0, r * cell.height()), cell), cells, 0, r);
  return img;
}

QRect footprint(QSize picture, int side) {
  const double k = std::min(double(side) / picture.width(), double(side) / picture.height());
  const QSize s(qRound(picture.width() * k), qRound(picture.height() * k));
  return QRect(QPoint((side - s.width()) / 2, (side - s.height()) / 2), s);
}

// Mean difference of grey levels, 0 (same) to 255, at half the size: a line one pixel off
// still counts as the same line.
double distance(const QImage& big, const QImage& bigRef) {
  const QSize half = big.size() / 2;
  const QImage a = big.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage b = bigRef.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  double sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
  return sum / (a.width() * a.height());
}

TEST(VelmoraGlyphs, FlowchartToolsShowWhatTheyPlace) {
  barcheck::noIconTheme();
  FrameHarness h(false);
  // Tool-bar order; the kinds one click places, top cell first (the connector's type "D"); the
  // start vertex with the line leaving it, the end vertex with the line entering it.
  const std::vector<std::vector<int>> places = {{3, 11}, {11, 4}, {1},  {2},  {5, 18}, {19, 6}, {10}, {11},
                                                {12},    {13},    {14}, {15}, {16},    {17},    {20}, {21}};
  std::vector<QImage> references;
  for (const auto& kinds : places) {
    GsaGridList cells(int(kinds.size()), 1);
    for (int r = 0; r < int(kinds.size()); ++r) cells.setKind(0, r, kinds[r]);
    if (kinds == std::vector<int>{19, 6}) cells.setText(0, 1, QStringLiteral("D"));
    references.push_back(painted(cells));
  }
  // Each glyph is nearest to the drawing of its own kinds, and near it in absolute terms
  // (scaling blurs the reference's one-pixel lines a little).
  const int side = 64;
  const int n = int(places.size());
  for (int i = 0; i < n; ++i) {
    QAction* tool = h.frame->ui().gsaActions[i];
    SCOPED_TRACE(tool->objectName().toStdString());
    const QImage glyph =
        tool->icon().pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
    double own = 0, best = 256;
    int nearest = -1;
    for (int j = 0; j < n; ++j) {
      if (references[j].size() != references[i].size()) continue;
      const QRect at = footprint(references[j].size(), side);
      const QImage ref = references[j].scaled(at.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      const double d = distance(glyph.copy(at), ref);
      if (j == i) own = d;
      if (d < best) {
        best = d;
        nearest = j;
      }
    }
    EXPECT_EQ(nearest, i);
    EXPECT_LT(own, 10.0);
  }
}

}  // namespace
