// The programs' own icons: a rounded tile with a state diagram (Velmora) or with a
// transition table (Tiravo), drawn at any size for the windows and the desktop entry.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <cmath>

#include "common/icons/glyphs.h"

namespace glyphs {

namespace {

void tile(QPainter& p, double s, const QColor& top, const QColor& bottom) {
  QLinearGradient g(0, 0, 0, s);
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  const double m = s / 32.0;
  p.setPen(QPen(bottom.darker(140), std::max(1.0, s / 32.0)));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(m, m, s - 2 * m, s - 2 * m), s * 0.18, s * 0.18);
}

// A state: a white circle with a dark ring.
void state(QPainter& p, QPointF at, double r, double line, const QColor& fill) {
  p.setPen(QPen(QColor(46, 52, 54), line));
  p.setBrush(fill);
  p.drawEllipse(at, r, r);
}

void arrowHead(QPainter& p, QPointF tip, double angle, double len, const QColor& c) {
  const QPointF a = tip - QPointF(std::cos(angle - 0.45), std::sin(angle - 0.45)) * len;
  const QPointF b = tip - QPointF(std::cos(angle + 0.45), std::sin(angle + 0.45)) * len;
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPolygon(QPolygonF({tip, a, b}));
}

// A transition from one state's rim to another's, bowed through `via`, with its head.
void transition(QPainter& p, QPointF from, QPointF to, QPointF via, double line, double head,
                const QColor& c) {
  QPainterPath path(from);
  path.quadTo(via, to);
  p.setPen(QPen(c, line));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  arrowHead(p, to, std::atan2(to.y() - via.y(), to.x() - via.x()), head, c);
}

QPointF rim(QPointF centre, double r, double degrees) {
  const double a = degrees * 3.14159265 / 180.0;
  return centre + QPointF(std::cos(a), std::sin(a)) * r;
}

// Two states of an automaton: the initial one (yellow) and a final one (double ring), with
// transitions both ways.
void velmora(QPainter& p, double s) {
  tile(p, s, QColor(114, 159, 207), QColor(32, 74, 135));
  const double line = std::max(1.0, s / 22.0), r = s * 0.14, head = s * 0.11;
  const QPointF a(s * 0.33, s * 0.52), b(s * 0.72, s * 0.52);
  const QColor wire(255, 255, 255);
  transition(p, rim(a, r, -50), rim(b, r + line, -130), QPointF(s * 0.52, s * 0.2), line, head, wire);
  transition(p, rim(b, r, 130), rim(a, r + line, 50), QPointF(s * 0.52, s * 0.84), line, head, wire);
  transition(p, QPointF(s * 0.04, a.y()), QPointF(a.x() - r - line, a.y()), QPointF(s * 0.1, a.y()), line,
             head, wire);
  state(p, a, r, line, QColor(252, 233, 79));
  state(p, b, r, line, QColor(255, 255, 255));
  p.setPen(QPen(QColor(46, 52, 54), line));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(b, r * 0.6, r * 0.6);
}

void tiravo(QPainter& p, double s) {
  tile(p, s, QColor(138, 226, 52), QColor(6, 120, 122));
  const double line = std::max(1.0, s / 28.0);
  const QRectF t(s * 0.16, s * 0.2, s * 0.68, s * 0.5);
  p.setPen(QPen(QColor(46, 52, 54), line));
  p.setBrush(QColor(255, 255, 255));
  p.drawRect(t);
  p.fillRect(QRectF(t.left(), t.top(), t.width(), t.height() / 3), QColor(114, 159, 207));
  p.drawRect(t);
  for (int i = 1; i < 3; ++i) {
    p.drawLine(QPointF(t.left(), t.top() + t.height() * i / 3),
               QPointF(t.right(), t.top() + t.height() * i / 3));
    p.drawLine(QPointF(t.left() + t.width() * i / 3, t.top()),
               QPointF(t.left() + t.width() * i / 3, t.bottom()));
  }
  state(p, QPointF(s * 0.72, s * 0.72), s * 0.14, line, QColor(252, 233, 79));
}

}  // namespace

QImage programImage(Program program, int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  if (program == Program::Velmora)
    velmora(p, size);
  else
    tiravo(p, size);
  return img;
}

QIcon programIcon(Program program) {
  static std::array<QIcon, 2> made;
  QIcon& icon = made[program == Program::Velmora ? 0 : 1];
  if (icon.isNull())
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
      icon.addPixmap(QPixmap::fromImage(programImage(program, size)));
  return icon;
}

}  // namespace glyphs
