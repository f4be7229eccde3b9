#include "tiravo/forms/bitmaps.h"

#include "common/icons/glyphs.h"

namespace tiravo {

QIcon Glyph(const QString& name) {
  using G = glyphs::Glyph;
  static const struct {
    const char* name;
    G glyph;
  } kNames[] = {
      {"BITMAP_UP", G::Up},
      {"BITMAP_DOWN", G::Down},
      {"BITMAP_TBL_H", G::TableHorizontal},
      {"BITMAP_TBL_V", G::TableVertical},
      {"add", G::AddSignal},
      {"back", G::StepBack},
      {"bugs", G::DeadEnd},
      {"delete", G::DeleteSignal},
      {"determ", G::Determinize},
      {"edit", G::EditSignal},
      {"exit", G::Close},
      {"insert", G::InsertSignal},
      {"load", G::Open},
      {"minus", G::RemoveLast},
      {"report", G::Report},
      {"s0", G::InitialEvent},
      {"save", G::Save},
      {"setx", G::SetInput},
      {"step", G::Step},
      {"table", G::ToTable},
  };
  for (const auto& n : kNames)
    if (name == QLatin1String(n.name)) return glyphs::icon(n.glyph);
  return QIcon();
}

}  // namespace tiravo
