#pragma once

namespace velmora {

// The images of the frame's commands and the program's icon, set in one place.
class TMainForm;

// Gives every action of the frame's tool bars its glyph and the frame the program's icon.
void setFrameGlyphs(TMainForm& frame);

// The commands of the menus now in the menu bar (the frame's or the active child's) that
// have a button show its glyph.
void setMenuGlyphs(TMainForm& frame);

}  // namespace velmora
