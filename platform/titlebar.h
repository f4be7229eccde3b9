#pragma once
// The window manager draws the title bar of every top-level window with its own font, icon and
// buttons, and cuts a title that does not fit. Each window is made wide enough for its title.
class QCoreApplication;
class QWidget;

namespace titlebar {

// The width `window` needs for its whole title: the title in the title-bar font (bold, as window
// managers draw it), room for the window icon and three title buttons (managers draw their whole
// button layout whatever a window asks for) and the bar's margins; at most the screen's width.
int neededWidth(const QWidget* window);
// Widens `window` to neededWidth when it is narrower (a fixed-size window stays fixed).
void fit(QWidget* window);
// From now on every top-level window is fitted when it is shown and when its title changes.
void fitEveryWindow(QCoreApplication* app);

}  // namespace titlebar
