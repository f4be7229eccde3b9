#include "common/icons/glyphs.h"

#include <QPainter>
#include <QPixmap>
#include <array>

#include "common/icons/canvas.h"

namespace glyphs {

namespace {

// Tool bars use 16, 22, 24 and 32 px; twice that on a screen with device pixel ratio 2.
constexpr int kSizes[] = {16, 22, 24, 32, 44, 48, 64};

struct Named {
  Glyph glyph;
  const char* name;
};
constexpr Named kThemeNames[] = {
    {Glyph::Open, "document-open"},
    {Glyph::Save, "document-save"},
    {Glyph::Cut, "edit-cut"},
    {Glyph::Copy, "edit-copy"},
    {Glyph::Paste, "edit-paste"},
    {Glyph::Delete, "edit-delete"},
    {Glyph::Exit, "application-exit"},
    {Glyph::About, "help-about"},
    {Glyph::Close, "window-close"},
    {Glyph::Play, "media-playback-start"},
    {Glyph::Pause, "media-playback-pause"},
    {Glyph::Stop, "media-playback-stop"},
    {Glyph::Step, "media-skip-forward"},
    {Glyph::StepBack, "media-skip-backward"},
    {Glyph::Up, "go-up"},
    {Glyph::Down, "go-down"},
    {Glyph::MoveLeft, "go-previous"},
    {Glyph::MoveRight, "go-next"},
};

void drawGlyph(QPainter& p, const QRectF& square, Glyph g) {
  Canvas c(p, square);
  const int n = int(g);
  if (g <= Glyph::MoveRight)
    drawStandard(c, n);
  else if (g <= Glyph::Report)
    drawDocument(c, n);
  else
    drawModel(c, n);
}

QImage paint(const Drawing& draw, int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  draw(p, QRectF(0, 0, size, size));
  return img;
}

// The freedesktop icon-theme name of a standard command, or nullptr for our own images.
const char* themeName(Glyph g) {
  for (const Named& n : kThemeNames)
    if (n.glyph == g) return n.name;
  return nullptr;
}

}  // namespace

QIcon painted(const Drawing& draw) {
  QIcon icon;
  for (int size : kSizes) icon.addPixmap(QPixmap::fromImage(paint(draw, size)));
  return icon;
}

QIcon own(Glyph g) {
  // Each glyph is drawn once per run; icons share their pixmaps.
  static std::array<QIcon, size_t(Glyph::Count)> made;
  QIcon& icon = made[size_t(g)];
  if (icon.isNull()) icon = painted([g](QPainter& p, const QRectF& r) { drawGlyph(p, r, g); });
  return icon;
}

QIcon icon(Glyph g) {
  const char* name = themeName(g);
  return name ? QIcon::fromTheme(QString::fromLatin1(name), own(g)) : own(g);
}

}  // namespace glyphs
