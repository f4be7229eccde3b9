#pragma once
// The flowchart grid: a rectangle of cells, each with a text and a kind code.
//
// Coordinates are (col, row), both counted from 0, like the table window's cell(col, row).
// Kind codes are kept as text, exactly as a file stores them ("1", "255", or whatever a
// file held), and beside the text as numbers worked out when a cell is written: the check and
// the conversion read a kind as the number its text spells exactly ("01" is no code), drawing
// reads any digits. Every accessor is range-checked: a cell outside the grid reads as an empty
// text with the kind "255", and a write outside the grid is ignored.
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// The kind codes of the cells.
namespace GsaKind {
constexpr int Operator = 1;   // operator vertex (rectangle)
constexpr int Condition = 2;  // condition vertex (rhombus), exits left, right, down
constexpr int Start = 3;      // start vertex "Начало"
constexpr int End = 4;        // end vertex "Конец"
constexpr int Splitter = 5;   // upper half of a splitter; 18 below it
constexpr int Connector = 6;  // lower half of a connector ("D" or "C"); 19 above it
constexpr int HorLine = 10;   // left edge to right edge
constexpr int VertLine = 11;  // top edge to bottom edge
constexpr int CornerRightDown = 12;
constexpr int CornerLeftDown = 13;
constexpr int CornerUpRight = 14;
constexpr int CornerUpLeft = 15;
constexpr int MergeLeft = 16;        // vertical link, branch entering from the left
constexpr int MergeRight = 17;       // vertical link, branch entering from the right
constexpr int SplitterLegs = 18;     // lower half of a splitter
constexpr int ConnectorInputs = 19;  // upper half of a connector
constexpr int MergeBoth = 20;        // branches from left and right leave downwards
constexpr int Crossing = 21;         // vertical and horizontal links crossing without joining
constexpr int Empty = 255;
}  // namespace GsaKind

// Exit labels of a condition, stored as the texts of its neighbour cells.
namespace GsaLabel {
inline QString zero() { return QStringLiteral("0"); }
inline QString one() { return QStringLiteral("1"); }
inline QString none() { return QStringLiteral("нет перехода"); }
}  // namespace GsaLabel

struct GsaCell {
  QString text;
  QString kind = QStringLiteral("255");
  bool operator==(const GsaCell& o) const { return text == o.text && kind == o.kind; }
  bool operator!=(const GsaCell& o) const { return !(*this == o); }
};

class GsaGridList {
 public:
  static constexpr int kDefaultRows = 60;
  static constexpr int kDefaultCols = 30;
  // The largest grid a file may describe (and the editor may grow to).
  static constexpr int kMaxRows = 10000;
  static constexpr int kMaxCols = 1000;

  GsaGridList();                    // a new flowchart: 60 rows × 30 columns, all empty
  GsaGridList(int rows, int cols);  // counts are clamped to 1 .. kMax*

  int rowCount() const { return rows_; }
  int colCount() const { return cols_; }
  bool contains(int col, int row) const { return col >= 0 && row >= 0 && col < cols_ && row < rows_; }

  const QString& text(int col, int row) const { return cell(col, row).text; }
  const QString& kind(int col, int row) const { return cell(col, row).kind; }
  // The kind as a number; -1 when the text is not a decimal number (drawn as a warning box).
  int kindCode(int col, int row) const { return slot(col, row).code; }
  // The number the kind's text spells exactly, as the check and the conversion read it; -1
  // for any other text ("01", "x").
  int kindNumber(int col, int row) const { return slot(col, row).exact; }
  bool hasKind(int col, int row, int code) const { return kindNumber(col, row) == code; }
  bool isEmptyCell(int col, int row) const { return hasKind(col, row, GsaKind::Empty); }
  const GsaCell& cell(int col, int row) const { return slot(col, row).cell; }

  void setText(int col, int row, const QString& text);
  void setKind(int col, int row, const QString& kind);
  void setKind(int col, int row, int code);
  void setCell(int col, int row, const GsaCell& cell);

  // Room for this many cells that are not empty, so that filling a large grid copies nothing.
  void reserve(int cells) { used_.reserve(size_t(qBound(0, cells, rows_ * cols_))); }
  // Appends one row of empty cells; false (nothing changes) at kMaxRows.
  bool addRow();
  // Every cell empty, the counts kept.
  void clear();

  // Row-major indexes (row · colCount() + col) of the cells that are not empty cells with an
  // empty text; a walk over the whole grid visits only these.
  QList<int> usedCells() const;
  // A dense number for each such cell, 0 .. usedCount() - 1 (not in row-major order, and
  // changed by writes); -1 for an empty cell. Lets a walk keep per-cell marks in an array.
  int usedCount() const { return int(used_.size()); }
  int usedId(int col, int row) const {
    if (!contains(col, row)) return -1;
    const std::vector<int>& r = at_[size_t(row)];
    return r.empty() ? -1 : r[size_t(col)];
  }
  int colOf(int index) const { return index % cols_; }
  int rowOf(int index) const { return index / cols_; }

  // The flat list form: row count, column count, then text and kind of every cell in
  // row-major order.
  QStringList toList() const;

  bool operator==(const GsaGridList& o) const;
  bool operator!=(const GsaGridList& o) const { return !(*this == o); }

 private:
  // A cell that differs from an empty one, with its kind's numbers.
  struct Slot {
    GsaCell cell;
    int code = GsaKind::Empty;
    int exact = GsaKind::Empty;
    int index = -1;  // row-major index in the grid
  };
  static const Slot& emptySlot();
  int index(int col, int row) const { return row * cols_ + col; }
  const Slot& slot(int col, int row) const {
    if (!contains(col, row)) return emptySlot();
    const std::vector<int>& r = at_[size_t(row)];
    const int k = r.empty() ? -1 : r[size_t(col)];
    return k < 0 ? emptySlot() : used_[size_t(k)];
  }
  void store(int col, int row, GsaCell cell);
  int rows_ = kDefaultRows;
  int cols_ = kDefaultCols;
  // Only cells that differ from an empty one are kept, so a large grid costs what it holds: per
  // row, once it has such a cell, the place of each of its cells in used_ (-1: empty).
  std::vector<std::vector<int>> at_;
  std::vector<Slot> used_;
};
