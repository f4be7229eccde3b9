#pragma once
// The flowchart grid: a rectangle of cells, each with a text and a kind code.
//
// Coordinates are (col, row), both counted from 0, like the table window's cell(col, row).
// Kind codes read as text, exactly as a file stores them ("1", "255", or whatever a file
// held), and as numbers worked out when a cell is written: the check and the conversion read
// a kind as the number its text spells exactly ("01" is no code), drawing reads any digits.
// Every accessor is range-checked: a cell outside the grid reads as an empty text with the
// kind "255", and a write outside the grid is ignored.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace velmora {

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

  QString text(int col, int row) const { return textView(col, row).toString(); }
  // The text without a copy; valid until the grid is next written.
  QStringView textView(int col, int row) const {
    const Slot& s = slot(col, row);
    return QStringView(pool_.data() + s.text, qsizetype(s.length));
  }
  QString kind(int col, int row) const;
  // The kind as a number; -1 when the text is not a decimal number (drawn as a warning box).
  int kindCode(int col, int row) const { return slot(col, row).code; }
  // The number the kind's text spells exactly, as the check and the conversion read it; -1
  // for any other text ("01", "x").
  int kindNumber(int col, int row) const {
    const Slot& s = slot(col, row);
    return s.odd ? -1 : s.code;
  }
  bool hasKind(int col, int row, int code) const { return kindNumber(col, row) == code; }
  bool isEmptyCell(int col, int row) const { return hasKind(col, row, GsaKind::Empty); }
  GsaCell cell(int col, int row) const { return GsaCell{text(col, row), kind(col, row)}; }

  void setText(int col, int row, const QString& text) { setText(col, row, QStringView(text)); }
  void setText(int col, int row, QStringView text);
  void setKind(int col, int row, const QString& kind) { setKind(col, row, QStringView(kind)); }
  void setKind(int col, int row, QStringView kind);
  void setKind(int col, int row, int code);
  void setCell(int col, int row, const GsaCell& cell);

  // Room for this many cells that are not empty and characters of their texts, so that filling
  // a large grid copies nothing. Room never filled costs next to nothing: the system hands out
  // memory only when it is written.
  void reserve(int cells, qsizetype textLength = 0);
  // Appends one row of empty cells; false (nothing changes) at kMaxRows.
  bool addRow();
  // Every cell empty, the counts kept.
  void clear();

  // Characters held for the texts, rewritten ones among them until they are squeezed out: never
  // much more than twice the texts the cells hold.
  qsizetype heldText() const { return qsizetype(pool_.size()); }

  // Row-major indexes (row · colCount() + col) of the cells that are not empty cells with an
  // empty text; a walk over the whole grid visits only these.
  QList<int> usedCells() const;
  // The same cells in the same order handed to visit(col, row, textView, kindNumber) with no
  // list made (a save walks millions). Stops at the first visit that returns false; returns
  // whether every one returned true.
  template <class Visit>
  bool eachUsed(Visit visit) const {
    for (int row = 0; row < rows_; ++row) {
      const std::vector<int>& r = at_[size_t(row)];
      if (r.empty()) continue;
      const int* k = r.data();
      for (int col = 0; col < cols_; ++col) {
        if (k[col] < 0) continue;
        const Slot& s = used_[size_t(k[col])];
        if (!visit(col, row, QStringView(pool_.data() + s.text, qsizetype(s.length)),
                   s.odd ? -1 : int(s.code)))
          return false;
      }
    }
    return true;
  }
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
  // A cell that differs from an empty one: its text as a place in pool_, and its kind's
  // number. The kind's text is the canonical decimal of `code` unless `odd`, when it is kept
  // in oddKinds_ (rare: "01", "x", ""), so most cells hold no text of their kind at all.
  struct Slot {
    Slot() : code(GsaKind::Empty), odd(0) {}
    quint32 text = 0;    // first character in pool_
    quint32 length = 0;  // characters
    qint32 index = -1;   // row-major index in the grid
    qint32 code : 31;
    quint32 odd : 1;
  };
  static const Slot& emptySlot();
  int index(int col, int row) const { return row * cols_ + col; }
  const Slot& slot(int col, int row) const {
    if (!contains(col, row)) return emptySlot();
    const std::vector<int>& r = at_[size_t(row)];
    const int k = r.empty() ? -1 : r[size_t(col)];
    return k < 0 ? emptySlot() : used_[size_t(k)];
  }
  // The slot of a cell inside the grid, made (empty) when it has none.
  Slot& slotFor(int col, int row);
  // The cell's slot given up when it now reads as an empty cell.
  void dropIfEmpty(int col, int row);
  // A text put at the end of pool_, its old place (`replaced` characters) turned to garbage;
  // returns where it went.
  quint32 append(QStringView text, quint32 replaced);
  void compactIfWasteful();
  bool sameKind(const Slot& a, const GsaGridList& other, const Slot& b) const;
  int rows_ = kDefaultRows;
  int cols_ = kDefaultCols;
  // Only cells that differ from an empty one are kept, so a large grid costs what it holds: per
  // row, once it has such a cell, the place of each of its cells in used_ (-1: empty).
  std::vector<std::vector<int>> at_;
  std::vector<Slot> used_;
  // Every cell's text, one after another; rewritten texts leave garbage behind, squeezed out
  // once it outweighs the live text.
  std::vector<char16_t> pool_;
  size_t garbage_ = 0;
  QHash<int, QString> oddKinds_;  // by row-major index
};

}  // namespace velmora
