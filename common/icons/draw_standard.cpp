// The standard commands: files, clipboard, program, media, directions.
#include "common/icons/canvas.h"
#include "common/icons/glyphs.h"

namespace glyphs {

void page(Canvas& c, double x1, double y1, double x2, double y2) {
  c.polygon({{x1, y1}, {x2 - 3, y1}, {x2, y1 + 3}, {x2, y2}, {x1, y2}}, ink::outline, ink::paper);
  c.polyline({{x2 - 3, y1}, {x2 - 3, y1 + 3}, {x2, y1 + 3}}, ink::outline);
}

void grid(Canvas& c, double x1, double y1, double x2, double y2, int rows, int cols, const QColor& head) {
  c.box(x1, y1, x2, y2, ink::outline, ink::paper);
  auto at = [](double a, double b, int i, int n) { return std::round(a + (b - a) * i / n); };
  if (head.isValid()) c.fill(x1 + 1, y1 + 1, x2, at(y1, y2, 1, rows), head);
  for (int i = 1; i < rows; ++i) c.line(x1, at(y1, y2, i, rows), x2, at(y1, y2, i, rows), ink::outline);
  for (int j = 1; j < cols; ++j) c.line(at(x1, x2, j, cols), y1, at(x1, x2, j, cols), y2, ink::outline);
}

void arrowRight(Canvas& c, double x1, double x2, double y, const QColor& col) {
  c.solid(
      {{x1, y - 1}, {x2 - 3, y - 1}, {x2 - 3, y - 3}, {x2, y}, {x2 - 3, y + 3}, {x2 - 3, y + 1}, {x1, y + 1}},
      col);
}

void plus(Canvas& c, double x, double y, const QColor& col) {
  c.fill(x - 3, y - 1, x + 3, y + 1, col);
  c.fill(x - 1, y - 3, x + 1, y + 3, col);
}

void minus(Canvas& c, double x, double y, const QColor& col) { c.fill(x - 3, y - 1, x + 3, y + 1, col); }

void cross(Canvas& c, double x, double y, double r, const QColor& col) {
  c.slant(x - r, y - r, x + r, y + r, col, 2);
  c.slant(x + r, y - r, x - r, y + r, col, 2);
}

namespace {

void lines(Canvas& c, double x1, double x2, std::initializer_list<double> rows, const QColor& col) {
  for (double y : rows) c.line(x1, y, x2, y, col);
}

}  // namespace

void drawStandard(Canvas& c, int glyph) {
  switch (Glyph(glyph)) {
    case Glyph::Open:
      c.polygon({{1, 2}, {6, 2}, {7, 3}, {14, 3}, {14, 13}, {1, 13}}, ink::folderDark, ink::folder);
      c.box(3, 5, 12, 10, ink::outline, ink::paper);
      c.polygon({{3, 7}, {15, 7}, {13, 13}, {1, 13}}, ink::folderDark, QColor(252, 215, 140));
      break;
    case Glyph::Save:
      c.box(1, 1, 14, 14, ink::blue, ink::lightBlue);
      c.box(4, 1, 11, 5, ink::outline, ink::shade);
      c.fill(8, 2, 10, 5, ink::outline);
      c.box(3, 8, 12, 14, ink::outline, ink::paper);
      lines(c, 5, 10, {10, 12}, ink::shade);
      break;
    case Glyph::Cut:
      c.slant(4, 1, 11, 10, ink::outline);
      c.slant(12, 1, 5, 10, ink::outline);
      c.circle(4, 12, 2.5, ink::red, QColor());
      c.circle(12, 12, 2.5, ink::red, QColor());
      break;
    case Glyph::Copy:
      page(c, 1, 0, 10, 10);
      lines(c, 3, 7, {4, 6, 8}, ink::shade);
      page(c, 5, 5, 14, 15);
      lines(c, 7, 11, {9, 11, 13}, ink::lightBlue);
      break;
    case Glyph::Paste:
      c.box(2, 2, 12, 14, ink::folderDark, ink::folder);
      c.box(5, 1, 9, 3, ink::outline, ink::shade);
      page(c, 6, 5, 14, 15);
      lines(c, 8, 12, {9, 11, 13}, ink::lightBlue);
      break;
    case Glyph::Delete: cross(c, 8, 8, 5, ink::red); break;
    case Glyph::Exit:
      c.box(2, 1, 9, 14, ink::outline, QColor(193, 125, 17));
      c.fill(7, 7, 8, 9, ink::yellow);
      arrowRight(c, 8, 16, 8, ink::green);
      break;
    case Glyph::About:
      c.circle(8, 8, 6.5, ink::blue, ink::lightBlue);
      c.fill(7, 3, 9, 5, ink::paper);
      c.fill(7, 6, 9, 13, ink::paper);
      break;
    case Glyph::Close:
      c.box(1, 2, 14, 13, ink::outline, ink::paper);
      c.fill(2, 3, 14, 5, ink::lightBlue);
      cross(c, 8, 9, 2.5, ink::red);
      break;
    case Glyph::Play: c.solid({{4, 2}, {14, 8}, {4, 14}}, ink::green); break;
    case Glyph::Pause:
      c.fill(3, 2, 7, 14, ink::blue);
      c.fill(9, 2, 13, 14, ink::blue);
      break;
    case Glyph::Stop: c.fill(3, 3, 13, 13, ink::red); break;
    case Glyph::Step:
      c.solid({{3, 3}, {10, 8}, {3, 13}}, ink::blue);
      c.fill(10, 3, 13, 13, ink::blue);
      break;
    case Glyph::StepBack:
      c.fill(3, 3, 6, 13, ink::blue);
      c.solid({{13, 3}, {6, 8}, {13, 13}}, ink::blue);
      break;
    case Glyph::Up: c.solid({{3, 11}, {8, 5}, {13, 11}}, ink::outline); break;
    case Glyph::Down: c.solid({{3, 5}, {8, 11}, {13, 5}}, ink::outline); break;
    case Glyph::MoveLeft:
      c.fill(7, 7, 14, 9, ink::blue);
      c.solid({{2, 8}, {8, 2}, {8, 14}}, ink::blue);
      break;
    case Glyph::MoveRight:
      c.fill(2, 7, 9, 9, ink::blue);
      c.solid({{8, 2}, {14, 8}, {8, 14}}, ink::blue);
      break;
    default: break;
  }
}

}  // namespace glyphs
