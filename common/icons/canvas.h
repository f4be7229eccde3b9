#pragma once
// A 16 × 16 design grid laid over a square of any size. Strokes fall on whole device pixels
// and grow with the square, so lines stay sharp at 16, 22, 24, 32 px and at twice that.
#include <QColor>
#include <QPainter>
#include <QPolygonF>
#include <QRectF>
#include <cmath>
#include <initializer_list>

namespace glyphs {

// One palette for every glyph of both programs.
namespace ink {
inline const QColor outline{46, 52, 54};
inline const QColor paper{255, 255, 255};
inline const QColor shade{211, 215, 207};
inline const QColor blue{32, 74, 135};
inline const QColor lightBlue{114, 159, 207};
inline const QColor green{78, 154, 6};
inline const QColor lightGreen{138, 226, 52};
inline const QColor red{204, 0, 0};
inline const QColor lightRed{239, 41, 41};
inline const QColor yellow{252, 233, 79};
inline const QColor folder{233, 185, 110};
inline const QColor folderDark{143, 89, 2};
inline const QColor purple{92, 53, 102};
inline const QColor orange{206, 92, 0};
inline const QColor teal{6, 120, 122};
}  // namespace ink

class Canvas {
 public:
  Canvas(QPainter& p, const QRectF& square)
      : p_(p),
        x0_(square.left()),
        y0_(square.top()),
        u_(square.width() / 16.0),
        w_(std::max(1.0, std::floor(u_ + 0.25))) {
    p_.setRenderHint(QPainter::Antialiasing, true);
  }

  QPainter& painter() { return p_; }
  double unit() const { return u_; }
  double stroke() const { return w_; }

  // The edge of design column g, on a device pixel boundary.
  double ex(double g) const { return x0_ + std::floor(g * u_ + 0.5); }
  double ey(double g) const { return y0_ + std::floor(g * u_ + 0.5); }
  // The centre of a stroke that covers design column g.
  double cx(double g) const { return ex(g) + w_ / 2.0; }
  double cy(double g) const { return ey(g) + w_ / 2.0; }
  QPointF at(double x, double y) const { return {cx(x), cy(y)}; }

  // A stroked outline through the strokes at the given columns and rows, filled inside.
  void box(double x1, double y1, double x2, double y2, const QColor& line, const QColor& fill) {
    setPen(line);
    p_.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
    p_.drawRect(QRectF(at(x1, y1), at(x2, y2)));
  }
  // Fills the design cells x1 ≤ x < x2, y1 ≤ y < y2.
  void fill(double x1, double y1, double x2, double y2, const QColor& c) {
    p_.fillRect(QRectF(QPointF(ex(x1), ey(y1)), QPointF(ex(x2), ey(y2))), c);
  }
  void line(double x1, double y1, double x2, double y2, const QColor& c, double width = 1) {
    setPen(c, width);
    p_.drawLine(at(x1, y1), at(x2, y2));
  }
  void polyline(std::initializer_list<QPointF> pts, const QColor& c, double width = 1) {
    setPen(c, width);
    p_.setBrush(Qt::NoBrush);
    p_.drawPolyline(map(pts));
  }
  void polygon(std::initializer_list<QPointF> pts, const QColor& line, const QColor& fill) {
    if (line.isValid())
      setPen(line);
    else
      p_.setPen(Qt::NoPen);
    p_.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
    p_.drawPolygon(map(pts));
  }
  // A solid polygon on pixel edges (no outline): arrow heads, triangles.
  void solid(std::initializer_list<QPointF> pts, const QColor& c) {
    QPolygonF poly;
    for (const QPointF& q : pts) poly << QPointF(ex(q.x()), ey(q.y()));
    p_.setPen(Qt::NoPen);
    p_.setBrush(c);
    p_.drawPolygon(poly);
  }
  // A circle about the grid point (x, y) (a pixel corner), radius r to the stroke's middle.
  void circle(double x, double y, double r, const QColor& line, const QColor& fill, double width = 1) {
    setPen(line, width);
    p_.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
    p_.drawEllipse(QPointF(ex(x), ey(y)), r * u_, r * u_);
  }
  // A straight stroke between grid points (pixel corners), for slanted lines.
  void slant(double x1, double y1, double x2, double y2, const QColor& c, double width = 1) {
    setPen(c, width);
    p_.drawLine(QPointF(ex(x1), ey(y1)), QPointF(ex(x2), ey(y2)));
  }

  void setPen(const QColor& c, double width = 1) {
    QPen pen(c, std::max(1.0, std::floor(width * w_ + 0.25)));
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::SquareCap);
    p_.setPen(pen);
  }

 private:
  QPolygonF map(std::initializer_list<QPointF> pts) const {
    QPolygonF poly;
    for (const QPointF& q : pts) poly << at(q.x(), q.y());
    return poly;
  }

  QPainter& p_;
  double x0_, y0_, u_, w_;
};

// The drawings (draw_*.cpp).
void drawStandard(Canvas& c, int glyph);  // Open .. MoveRight
void drawDocument(Canvas& c, int glyph);  // NewRvas .. Report
void drawModel(Canvas& c, int glyph);     // InitialEvent .. Determinize

// Shared pieces.
void page(Canvas& c, double x1, double y1, double x2, double y2);
void grid(Canvas& c, double x1, double y1, double x2, double y2, int rows, int cols, const QColor& head);
void arrowRight(Canvas& c, double x1, double x2, double y, const QColor& col);
void plus(Canvas& c, double x, double y, const QColor& col);
void minus(Canvas& c, double x, double y, const QColor& col);
void cross(Canvas& c, double x, double y, double r, const QColor& col);

}  // namespace glyphs
