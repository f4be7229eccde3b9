#include "common/icons/menuglyphs.h"

#include <QAction>
#include <QMenu>

namespace glyphs {

namespace {

void decorate(QMenu* menu, std::initializer_list<CaptionGlyph> table) {
  for (QAction* a : menu->actions()) {
    if (a->menu()) decorate(a->menu(), table);
    if (!a->icon().isNull()) continue;
    for (const CaptionGlyph& t : table)
      if (a->text() == QString::fromUtf8(t.caption)) {
        a->setIcon(icon(t.glyph));
        break;
      }
  }
}

}  // namespace

void decorateMenus(const QList<QMenu*>& menus, std::initializer_list<CaptionGlyph> table) {
  for (QMenu* m : menus)
    if (m) decorate(m, table);
}

}  // namespace glyphs
