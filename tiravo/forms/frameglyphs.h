#pragma once
// The images of the frame's buttons and menu commands and the program's icon, in one place.
namespace tiravo {

class TMainForm;

// Gives every button of the tool panel its glyph and the frame the program's icon.
void setFrameGlyphs(TMainForm& frame);
// The commands of the menus now in the menu bar that have a button show its glyph.
void setMenuGlyphs(TMainForm& frame);

}  // namespace tiravo
