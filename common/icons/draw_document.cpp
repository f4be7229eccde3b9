// Documents, translation and the transition table.
#include "common/icons/canvas.h"
#include "common/icons/glyphs.h"

namespace glyphs {

namespace {

const QColor kGrey(136, 138, 133);

// The marks that tell the kinds of document apart, drawn inside a page.
void rvasMark(Canvas& c, double dx) {
  c.polyline({{6 + dx, 4}, {4 + dx, 4}, {4 + dx, 12}, {6 + dx, 12}}, ink::purple);
  c.polyline({{9 + dx, 4}, {11 + dx, 4}, {11 + dx, 12}, {9 + dx, 12}}, ink::purple);
  c.slant(6 + dx, 6, 10 + dx, 10, ink::purple);
  c.slant(10 + dx, 6, 6 + dx, 10, ink::purple);
}

void skuMark(Canvas& c, double dx) {
  c.polyline({{6 + dx, 3}, {5 + dx, 4}, {5 + dx, 7}, {4 + dx, 8}, {5 + dx, 9}, {5 + dx, 12}, {6 + dx, 13}},
             ink::blue);
  for (double y : {5, 7, 10, 12}) c.line(7 + dx, y, 10 + dx, y, ink::blue);
}

void lsaMark(Canvas& c) {
  c.polyline({{5, 11}, {5, 5}, {10, 5}, {10, 9}}, ink::teal);
  c.solid({{8.5, 10}, {12.5, 10}, {10.5, 13}}, ink::teal);
  for (double x : {4, 7}) c.fill(x, 12, x + 2, 14, ink::teal);
}

void gsaMark(Canvas& c) {
  c.box(5, 3, 9, 5, ink::orange, QColor(252, 175, 62));
  c.line(7, 6, 7, 7, ink::orange);
  c.polygon({{7, 7}, {10, 10}, {7, 13}, {4, 10}}, ink::orange, QColor(252, 175, 62));
}

void docPage(Canvas& c) { page(c, 2, 0, 13, 15); }

}  // namespace

void drawDocument(Canvas& c, int glyph) {
  switch (Glyph(glyph)) {
    case Glyph::NewRvas:
      docPage(c);
      rvasMark(c, 0);
      break;
    case Glyph::NewSku:
      docPage(c);
      skuMark(c, 0);
      break;
    case Glyph::NewLsa:
      docPage(c);
      lsaMark(c);
      break;
    case Glyph::NewGsa:
      docPage(c);
      gsaMark(c);
      break;
    case Glyph::NewTable:
      docPage(c);
      grid(c, 4, 4, 11, 12, 3, 2, ink::lightGreen);
      break;
    case Glyph::NewText:
      docPage(c);
      for (double y : {4, 6, 8, 10, 12}) c.line(4, y, y == 12 ? 8 : 10, y, kGrey);
      break;
    case Glyph::Check:
      docPage(c);
      for (double y : {3, 5, 7}) c.line(4, y, 10, y, kGrey);
      c.polyline({{4, 9}, {7, 12}, {13, 5}}, ink::green, 2);
      break;
    case Glyph::ToSku:
      page(c, 5, 0, 15, 15);
      skuMark(c, 3);
      arrowRight(c, 0, 7, 8, ink::green);
      break;
    case Glyph::ToTable:
      grid(c, 6, 2, 15, 13, 3, 2, ink::lightGreen);
      arrowRight(c, 0, 7, 8, ink::green);
      break;
    case Glyph::AddRow:
      grid(c, 1, 1, 13, 10, 3, 2, ink::lightBlue);
      plus(c, 12, 12, ink::green);
      break;
    case Glyph::InsertRow:
      grid(c, 4, 1, 15, 14, 4, 2, ink::lightBlue);
      c.fill(5, 8, 15, 11, ink::lightGreen);
      c.line(4, 8, 15, 8, ink::outline);
      c.line(4, 11, 15, 11, ink::outline);
      arrowRight(c, 0, 6, 10, ink::green);
      break;
    case Glyph::DeleteRow:
      grid(c, 1, 1, 12, 14, 4, 2, ink::lightBlue);
      c.fill(2, 9, 12, 11, ink::lightRed);
      minus(c, 12, 13, ink::red);
      break;
    case Glyph::OaCall:
      c.box(1, 1, 14, 5, ink::outline, ink::lightBlue);
      for (double x : {4, 7, 10}) c.line(x, 1, x, 5, ink::outline);
      c.line(7, 6, 7, 7, ink::outline);
      c.polygon({{1, 8}, {6, 8}, {7, 10}, {8, 8}, {14, 8}, {11, 14}, {4, 14}}, ink::outline,
                QColor(252, 175, 62));
      break;
    case Glyph::Report:
      docPage(c);
      c.fill(4, 3, 10, 5, ink::blue);
      c.fill(4, 10, 6, 14, ink::green);
      c.fill(7, 8, 9, 14, ink::orange);
      c.fill(10, 6, 12, 14, ink::blue);
      break;
    default: break;
  }
}

}  // namespace glyphs
