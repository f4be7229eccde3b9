#pragma once
// The program's own small bitmaps: "BITMAP_UP", "BITMAP_DOWN", "BITMAP_TBL_H",
// "BITMAP_TBL_V" and the tool-button glyphs.
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tiravo {

QPixmap Bitmap(const QString& name);
inline QIcon Glyph(const QString& name) { return QIcon(Bitmap(name)); }

}  // namespace tiravo
