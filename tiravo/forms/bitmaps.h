#pragma once
// The program's named images: "BITMAP_UP", "BITMAP_DOWN", "BITMAP_TBL_H", "BITMAP_TBL_V" and
// the tool-button glyphs, drawn by the glyph library both programs share.
#include <QIcon>
#include <QString>

namespace tiravo {

// The image of that name; a name not listed gives an empty icon.
QIcon Glyph(const QString& name);

}  // namespace tiravo
