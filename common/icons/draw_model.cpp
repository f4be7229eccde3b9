// Models, simulators and the determinizer.
#include "common/icons/canvas.h"
#include "common/icons/glyphs.h"

namespace glyphs {

namespace {

// A seven-segment digit in the design cells x .. x+4, y .. y+9.
void digit(Canvas& c, double x, double y, char ch, const QColor& col) {
  const char* segments = ch == '0' ? "abcdef" : ch == '1' ? "bc" : ch == '9' ? "abcdfg" : "aefg";
  for (const char* s = segments; *s; ++s) switch (*s) {
      case 'a': c.fill(x, y, x + 4, y + 1, col); break;
      case 'b': c.fill(x + 3, y, x + 4, y + 5, col); break;
      case 'c': c.fill(x + 3, y + 4, x + 4, y + 9, col); break;
      case 'd': c.fill(x, y + 8, x + 4, y + 9, col); break;
      case 'e': c.fill(x, y + 4, x + 1, y + 9, col); break;
      case 'f': c.fill(x, y, x + 1, y + 5, col); break;
      case 'g': c.fill(x, y + 4, x + 4, y + 5, col); break;
    }
}

// A register showing the largest digit of its radix after a zero: 01, 09, 0F.
void display(Canvas& c, char last) {
  c.box(0, 1, 15, 13, ink::outline, QColor(46, 52, 54));
  digit(c, 3, 3, '0', ink::lightGreen);
  digit(c, 9, 3, last, ink::lightGreen);
}

// One item of an input sequence.
void item(Canvas& c, double x1, double y1, double x2, double y2, const QColor& fill = ink::lightBlue) {
  c.box(x1, y1, x2, y2, ink::outline, fill);
}

// Three items of a sequence, the middle one marked.
void sequence(Canvas& c, double x1, double x2, const QColor& middle) {
  item(c, x1, 0, x2, 3);
  item(c, x1, 6, x2, 9, middle);
  item(c, x1, 12, x2, 15);
}

}  // namespace

void drawModel(Canvas& c, int glyph) {
  switch (Glyph(glyph)) {
    case Glyph::InitialEvent:
      c.circle(11, 8, 4.5, ink::outline, ink::yellow);
      arrowRight(c, 0, 7, 8, ink::outline);
      break;
    case Glyph::Bus:
      c.fill(1, 4, 15, 7, ink::blue);
      c.fill(3, 7, 5, 14, ink::blue);
      c.fill(11, 7, 13, 14, ink::blue);
      c.slant(6, 10, 10, 1, ink::outline);
      break;
    case Glyph::Binary: display(c, '1'); break;
    case Glyph::Decimal: display(c, '9'); break;
    case Glyph::Hexadecimal: display(c, 'F'); break;
    case Glyph::EditSignal:
      c.polygon({{2, 13}, {3, 10}, {11, 2}, {14, 5}, {6, 12}}, ink::outline, ink::yellow);
      c.solid({{2, 15}, {3, 11}, {6, 14}}, ink::outline);
      break;
    case Glyph::InsertSignal:
      sequence(c, 5, 15, ink::lightGreen);
      arrowRight(c, 0, 6, 8, ink::green);
      break;
    case Glyph::DeleteSignal:
      sequence(c, 1, 10, ink::lightRed);
      cross(c, 13, 8, 2, ink::red);
      break;
    case Glyph::AddSignal:
      item(c, 1, 0, 11, 3);
      item(c, 1, 5, 11, 8);
      plus(c, 12, 12, ink::green);
      break;
    case Glyph::RemoveLast:
      item(c, 1, 0, 11, 3);
      item(c, 1, 5, 11, 8);
      item(c, 1, 10, 8, 13, ink::lightRed);
      minus(c, 12, 12, ink::red);
      break;
    case Glyph::DeadEnd:
      arrowRight(c, 0, 11, 8, ink::outline);
      c.fill(12, 2, 15, 14, ink::red);
      break;
    case Glyph::TableVertical: grid(c, 1, 1, 14, 14, 4, 3, ink::lightBlue); break;
    case Glyph::TableHorizontal:
      c.box(1, 1, 14, 14, ink::outline, ink::paper);
      c.fill(2, 2, 5, 14, ink::lightBlue);
      for (double x : {5, 8, 11}) c.line(x, 1, x, 14, ink::outline);
      for (double y : {6, 10}) c.line(1, y, 14, y, ink::outline);
      break;
    case Glyph::SetInput:
      c.polyline({{0, 11}, {3, 11}, {3, 4}, {7, 4}, {7, 11}, {9, 11}}, ink::blue);
      c.solid({{9, 9}, {13, 11.5}, {9, 14}}, ink::blue);
      c.fill(13, 2, 15, 15, ink::outline);
      break;
    case Glyph::Determinize:
      c.circle(3, 4, 2, ink::outline, ink::paper);
      c.circle(3, 12, 2, ink::outline, ink::paper);
      c.slant(5, 5, 8.5, 7.5, ink::outline);
      c.slant(5, 11, 8.5, 8.5, ink::outline);
      c.circle(12, 8, 3.5, ink::outline, ink::yellow);
      c.circle(12, 8, 2, ink::outline, QColor());
      break;
    default: break;
  }
}

}  // namespace glyphs
