#pragma once

class QString;
class QTableView;

namespace velmora {

// Columns of the model windows' grids that show every text whole: a column is as wide as its
// title and its widest text, and the last column also takes up what the view has left. A
// grid is fitted whole when it opens, when its view changes size and when every value changes
// form (the radix); a text its model takes in widens its column when it needs more room.
// A grid of very many rows (a long input file) is measured where it is seen: the rows in view,
// again as it scrolls, so filling it stays linear in its rows.

namespace gridfit {

// Every column as wide as its title and its widest text; the last column at least as wide as
// the view has room for.
void fitAll(QTableView* grid);
// Widens `column` when `text` would not show whole in it.
void widenFor(QTableView* grid, int column, const QString& text);
// Keeps the grid fitted: fits it whenever its view changes size (the window, a splitter, a
// scroll bar) or its model is laid out anew, and widens a column for the texts its model
// takes in (cells written, rows added) and for rows scrolled into view.
void keepFitted(QTableView* grid);
// The width the whole grid needs to show every column whole: its row titles, each column as
// wide as its title and its widest text, its frame, and room for a vertical scroll bar.
int neededWidth(QTableView* grid);

}  // namespace gridfit

}  // namespace velmora
