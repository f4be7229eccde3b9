// Cell figures and the tool preview, read back pixel by pixel (no antialiasing). Pixels are
// picked away from the end points of lines: the original did not draw those, Qt does.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "tests/flowchart/gsapicture.h"
#include "velmora/flowchart/paint/gsapaint.h"

using namespace velmora;

using namespace gsatest;

namespace {

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255), kRed = qRgb(255, 0, 0),
           kYellow = qRgb(255, 255, 0), kSilver = qRgb(192, 192, 192);

struct Cell {
  int L, T, R, B, w, h, cx, cy;
};

// The cell (col, row) of `grid` painted at its place in an image of the whole grid, with a
// margin of one cell around it.
QImage paintCell(const GsaGridList& grid, int col, int row, QSize size, Cell* c) {
  QImage img((grid.colCount() + 2) * size.width(), (grid.rowCount() + 2) * size.height(),
             QImage::Format_RGB32);
  img.fill(Qt::white);
  const QRect rect(QPoint((col + 1) * size.width(), (row + 1) * size.height()), size);
  *c = {rect.left(),  rect.top(),    rect.left() + size.width(),     rect.top() + size.height(),
        size.width(), size.height(), rect.left() + size.width() / 2, rect.top() + size.height() / 2};
  QPainter p(&img);
  paintGsaCell(p, rect, grid, col, row);
  return img;
}

struct Probe {
  QList<QPoint> black, white;
};

}  // namespace

TEST(GsaPaint, CellSizeFollowsTheFont) {
  EXPECT_EQ(gsaCellSize(6), QSize(60, 36));
  EXPECT_EQ(gsaCellSize(12), QSize(120, 72));
}

TEST(GsaPaint, FiguresOfTheKinds) {
  // Pixels on the figure, then pixels it leaves white.
  const struct {
    const char* kind;
    Probe (*probe)(const Cell&);
  } cases[] = {
      {"1",
       [](const Cell& c) -> Probe {
         return {{{c.L, c.cy}, {c.R - 1, c.cy}, {c.cx, c.T}, {c.cx, c.B - 1}}, {{c.L + 3, c.T + 3}}};
       }},
      {"2",
       [](const Cell& c) -> Probe {
         return {{{(c.L + c.cx) / 2, (c.cy + c.T) / 2}}, {{c.L + 2, c.B - 3}, {c.R - 2, c.B - 3}}};
       }},
      {"3",
       [](const Cell& c) -> Probe {
         return {{{c.cx + 10, c.T}, {c.L, c.cy}}, {{c.L, c.T}, {c.R - 1, c.B - 1}}};
       }},
      {"5",
       [](const Cell& c) -> Probe {
         return {{{c.cx, c.B}, {c.L + 10, c.B}}, {{c.L + 2, c.T + 2}, {c.cx, c.cy}}};
       }},
      {"18",
       [](const Cell& c) -> Probe {
         return {{{c.L + c.w / 4, c.T + 5}, {c.L + 5, c.cy}, {c.cx, c.B - 5}, {c.R - 5, c.cy}},
                 {{c.L + 5, c.B - 5}, {c.R - 5, c.B - 5}}};
       }},
      {"19",
       [](const Cell& c) -> Probe {
         return {{{c.L + 5, c.cy}, {c.L + c.w / 4, c.B - 5}, {c.cx, c.T + 5}, {c.R - c.w / 4, c.B - 5}},
                 {{c.L + 5, c.T + 5}, {c.R - 5, c.T + 5}}};
       }},
      {"6",
       [](const Cell& c) -> Probe {
         return {{{c.L + 10, c.T}}, {{c.L + 2, c.B - 3}}};
       }},
      {"10",
       [](const Cell& c) -> Probe {
         return {{{c.L + 5, c.cy}, {c.R - 5, c.cy}}, {{c.cx, c.T + 5}, {c.cx, c.B - 5}}};
       }},
      {"11",
       [](const Cell& c) -> Probe {
         return {{{c.cx, c.T + 5}, {c.cx, c.B - 5}}, {{c.L + 5, c.cy}, {c.R - 5, c.cy}}};
       }},
      {"12",
       [](const Cell& c) -> Probe {
         return {{{c.R - 5, c.cy}, {c.cx, c.B - 5}}, {{c.L + 5, c.cy}, {c.cx, c.T + 5}}};
       }},
      {"13",
       [](const Cell& c) -> Probe {
         return {{{c.L + 5, c.cy}, {c.cx, c.B - 5}}, {{c.R - 5, c.cy}, {c.cx, c.T + 5}}};
       }},
      {"14",
       [](const Cell& c) -> Probe {
         return {{{c.R - 5, c.cy}, {c.cx, c.T + 5}}, {{c.L + 5, c.cy}, {c.cx, c.B - 5}}};
       }},
      {"15",
       [](const Cell& c) -> Probe {
         return {{{c.L + 5, c.cy}, {c.cx, c.T + 5}}, {{c.R - 5, c.cy}, {c.cx, c.B - 5}}};
       }},
      // Arrow heads keep their size at any cell size.
      {"16",
       [](const Cell& c) -> Probe {
         return {{{c.cx, c.T + 5}, {c.cx, c.B - 5}, {c.L + 5, c.cy}, {c.cx - 4, c.cy - 2}},
                 {{c.R - 5, c.cy}, {c.cx + 4, c.cy - 2}}};
       }},
      {"17",
       [](const Cell& c) -> Probe {
         return {{{c.cx, c.T + 5}, {c.R - 5, c.cy}, {c.cx + 4, c.cy + 2}}, {{c.L + 5, c.cy}}};
       }},
      {"20",
       [](const Cell& c) -> Probe {
         return {
             {{c.L + 5, c.cy}, {c.R - 5, c.cy}, {c.cx, c.B - 5}, {c.cx - 6, c.cy - 2}, {c.cx + 6, c.cy + 2}},
             {{c.cx, c.T + 5}}};
       }},
      {"21",
       [](const Cell& c) -> Probe {
         return {{{c.L + 5, c.cy}, {c.R - 5, c.cy}, {c.cx, c.T + 5}, {c.cx, c.B - 5}},
                 {{c.cx - 3, c.cy}, {c.cx + 3, c.cy}}};
       }},
      {"255",
       [](const Cell& c) -> Probe {
         return {{}, {{c.cx, c.cy}, {c.L, c.T}, {c.cx, c.T + 5}}};
       }},
  };
  for (QSize size : {gsaCellSize(6), gsaCellSize(12)}) {
    for (const auto& k : cases) {
      GsaGridList g(1, 1);
      g.setCell(0, 0, {QStringLiteral("x"), QString::fromLatin1(k.kind)});  // link texts are not drawn
      Cell c;
      const QImage img = paintCell(g, 0, 0, size, &c);
      const Probe probe = k.probe(c);
      for (const auto& [points, colour] : {std::pair{probe.black, kBlack}, {probe.white, kWhite}})
        for (QPoint p : points)
          EXPECT_EQ(img.pixel(p), colour)
              << k.kind << " at " << p.x() - c.L << "," << p.y() - c.T << ", width " << size.width();
    }
  }
}

TEST(GsaPaint, AnyOtherKindIsAWarningBox) {
  for (const char* kind : {"7", "99", "abc", "", "-1", "01x"}) {
    GsaGridList g(1, 1);
    g.setKind(0, 0, QString::fromLatin1(kind));
    Cell c;
    const QImage img = paintCell(g, 0, 0, gsaCellSize(6), &c);
    EXPECT_EQ(img.pixel(c.L, c.cy), kRed) << kind;
    EXPECT_EQ(img.pixel(c.R - 1, c.B - 1), kRed) << kind;
    EXPECT_EQ(img.pixel(c.cx, c.cy), kYellow) << kind;
    EXPECT_EQ(img.pixel(c.R, c.cy), kWhite) << kind << ": the box stays in its cell";
  }
}

TEST(GsaPaint, ConditionLabelsOnlyWhereANeighbourHoldsOne) {
  // Where a label would stand: any dark pixel in that area.
  auto inked = [](const QImage& img, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (qGray(img.pixel(x, y)) < 128) return true;
    return false;
  };
  Cell c;
  const QImage labelled = paintCell(picture({"10:1 2:x 10:0", ". 11:1 ."}), 1, 0, gsaCellSize(6), &c);
  const QRect leftLabel(c.L + 2, c.T + 2, 6, 8), rightLabel(c.R - 8, c.T + 2, 6, 8),
      lowLabel(c.R - c.w / 6, c.B - 10, 6, 8);
  EXPECT_TRUE(inked(labelled, leftLabel));
  EXPECT_TRUE(inked(labelled, rightLabel));
  EXPECT_TRUE(inked(labelled, lowLabel));
  const QImage noTransition = paintCell(
      picture({"10:нет_перехода 2:x 10:нет_перехода", ". 11:нет_перехода ."}), 1, 0, gsaCellSize(6), &c);
  EXPECT_FALSE(inked(noTransition, leftLabel));
  EXPECT_FALSE(inked(noTransition, rightLabel));
  EXPECT_FALSE(inked(noTransition, lowLabel));
  // First column, last row: the neighbours outside the grid hold nothing.
  const QImage corner = paintCell(picture({"2:x 10:0"}), 0, 0, gsaCellSize(6), &c);
  EXPECT_FALSE(inked(corner, QRect(c.L + 2, c.T + 2, 6, 8)));
  EXPECT_FALSE(inked(corner, QRect(c.R - c.w / 6, c.B - 10, 6, 8)));
}

// A cell shows what fits it: a text of megabytes, in the cell or as a condition's neighbour,
// paints the same pixels as one a little wider than the cell.
TEST(GsaPaint, LongTextsPaintWhatFitsTheCell) {
  const QString huge(3000000, QLatin1Char('y')), wide(2000, QLatin1Char('y'));
  for (const char* kind : {"1", "2", "6"}) {
    QImage images[2];
    for (int k = 0; k < 2; ++k) {
      const QString& t = k == 0 ? huge : wide;
      GsaGridList g(2, 3);
      g.setCell(1, 0, GsaCell{t, QString::fromLatin1(kind)});
      g.setCell(0, 0, GsaCell{t, QStringLiteral("10")});
      g.setCell(2, 0, GsaCell{t, QStringLiteral("10")});
      g.setCell(1, 1, GsaCell{t, QStringLiteral("11")});
      Cell c;
      images[k] = paintCell(g, 1, 0, gsaCellSize(6), &c);
    }
    EXPECT_TRUE(images[0] == images[1]) << kind;
  }
}

TEST(GsaPaint, PreviewIsSilverNotXorAndRestoresThePainter) {
  const QSize size = gsaCellSize(6);
  QImage img(3 * size.width(), 4 * size.height(), QImage::Format_RGB32);
  img.fill(Qt::white);
  const QRect rect(QPoint(size.width(), size.height()), size);
  const Cell c{rect.left(),  rect.top(),    rect.left() + size.width(),     rect.top() + size.height(),
               size.width(), size.height(), rect.left() + size.width() / 2, rect.top() + size.height() / 2};
  QPainter p(&img);
  p.fillRect(QRect(c.L, c.cy - 2, 10, 5), Qt::black);
  const QPen pen(Qt::blue, 3);
  p.setPen(pen);
  paintGsaPreview(p, rect, GsaTool::Splitter);
  EXPECT_EQ(p.pen(), pen);
  EXPECT_EQ(p.compositionMode(), QPainter::CompositionMode_SourceOver);
  paintGsaPreview(p, rect, GsaTool::HorLine);
  p.end();
  EXPECT_EQ(img.pixel(c.cx, c.B + c.h / 2), kSilver) << "the splitter reaches into the cell below";
  EXPECT_EQ(img.pixel(c.cx + 10, c.cy), kSilver);
  EXPECT_EQ(img.pixel(c.L + 5, c.cy), qRgb(63, 63, 63)) << "not-xor over black";

  for (auto [tool, colour] : {std::pair{GsaTool::Operator, kSilver}, {GsaTool::Delete, kRed}}) {
    QImage frame(3 * size.width(), 3 * size.height(), QImage::Format_RGB32);
    frame.fill(Qt::white);
    QPainter fp(&frame);
    paintGsaPreview(fp, rect, tool);
    fp.end();
    EXPECT_EQ(frame.pixel(c.L, c.cy), colour);
    EXPECT_EQ(frame.pixel(c.R - 1, c.cy), colour);
    EXPECT_EQ(frame.pixel(c.cx, c.cy), kWhite);
  }
}
