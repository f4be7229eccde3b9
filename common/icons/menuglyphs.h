#pragma once
// Menu commands that have a button show the button's glyph. Child windows build their own
// menus with the same captions, so the frame decorates whatever menus it shows by caption.
#include <QList>
#include <initializer_list>

#include "common/icons/glyphs.h"

class QMenu;

namespace glyphs {

struct CaptionGlyph {
  const char* caption;  // as the menu shows it, with its '&'
  Glyph glyph;
};

// Every command of the menus and their submenus whose caption is listed and which has no
// image yet gets the glyph.
void decorateMenus(const QList<QMenu*>& menus, std::initializer_list<CaptionGlyph> table);

}  // namespace glyphs
