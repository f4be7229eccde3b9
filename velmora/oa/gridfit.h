#pragma once
// Columns of the model windows' grids that show every text whole: a column is as wide as its
// title and its widest text, and the last column also takes up what the view has left. A
// grid is fitted whole when it opens, when its view changes size and when every value changes
// form (the radix); a single text written into it widens its column when it needs more room.
class QString;
class QTableWidget;

namespace gridfit {

// Every column as wide as its title and its widest text; the last column at least as wide as
// the view has room for.
void fitAll(QTableWidget* grid);
// Widens `column` when `text` would not show whole in it.
void widenFor(QTableWidget* grid, int column, const QString& text);
// Fits the grid whenever its view changes size (the window, a splitter, a scroll bar).
void keepFitted(QTableWidget* grid);

}  // namespace gridfit
