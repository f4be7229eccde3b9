#include "velmora/flowchart/core/gsagrid.h"

#include <algorithm>
#include <utility>

GsaGridList::GsaGridList() : GsaGridList(kDefaultRows, kDefaultCols) {}

GsaGridList::GsaGridList(int rows, int cols)
    : rows_(std::clamp(rows, 1, kMaxRows)), cols_(std::clamp(cols, 1, kMaxCols)), at_(size_t(rows_)) {}

namespace {

// Digits only: a sign, a blank or a huge number is not a code of any figure.
int digitsValue(const QString& k) {
  if (k.isEmpty() || k.size() > 6) return -1;
  int value = 0;
  for (QChar ch : k) {
    if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) return -1;
    value = value * 10 + (ch.unicode() - '0');
  }
  return value;
}

}  // namespace

const GsaGridList::Slot& GsaGridList::emptySlot() {
  static const Slot empty;
  return empty;
}

void GsaGridList::store(int col, int row, GsaCell cell) {
  // cell is a copy: it may have come from this grid, whose storage may move below.
  if (!contains(col, row)) return;
  std::vector<int>& r = at_[size_t(row)];
  int k = r.empty() ? -1 : r[size_t(col)];
  if (cell == GsaCell()) {
    if (k < 0) return;
    // The last used cell takes the freed place.
    const int last = int(used_.size()) - 1;
    if (k != last) {
      used_[size_t(k)] = std::move(used_[size_t(last)]);
      const int moved = used_[size_t(k)].index;
      at_[size_t(moved / cols_)][size_t(moved % cols_)] = k;
    }
    used_.pop_back();
    r[size_t(col)] = -1;
    return;
  }
  if (k < 0) {
    if (r.empty()) r.assign(size_t(cols_), -1);
    k = int(used_.size());
    used_.emplace_back();
    used_.back().index = index(col, row);
    r[size_t(col)] = k;
  }
  Slot& s = used_[size_t(k)];
  s.cell = std::move(cell);
  s.code = digitsValue(s.cell.kind);
  s.exact = s.code >= 0 && s.cell.kind == QString::number(s.code) ? s.code : -1;
  // The kinds are a few numbers: cells share one copy of each rather than hold their own.
  static const QStringList shared = [] {
    QStringList l;
    for (int code = 0; code <= GsaKind::Empty; ++code) l << QString::number(code);
    return l;
  }();
  if (s.exact >= 0 && s.exact <= GsaKind::Empty) s.cell.kind = shared[s.exact];
}

void GsaGridList::setText(int col, int row, const QString& text) {
  GsaCell c = cell(col, row);
  c.text = text;
  store(col, row, c);
}

void GsaGridList::setKind(int col, int row, const QString& kind) {
  GsaCell c = cell(col, row);
  c.kind = kind;
  store(col, row, c);
}

void GsaGridList::setKind(int col, int row, int code) { setKind(col, row, QString::number(code)); }

void GsaGridList::setCell(int col, int row, const GsaCell& cell) { store(col, row, cell); }

bool GsaGridList::addRow() {
  if (rows_ >= kMaxRows) return false;
  ++rows_;
  at_.emplace_back();
  return true;
}

void GsaGridList::clear() {
  used_.clear();
  for (std::vector<int>& r : at_) r.clear();
}

QList<int> GsaGridList::usedCells() const {
  // In row-major order by walking the rows that hold anything: no sort.
  QList<int> out;
  out.reserve(qsizetype(used_.size()));
  for (int row = 0; row < rows_; ++row) {
    const std::vector<int>& r = at_[size_t(row)];
    if (r.empty()) continue;
    for (int col = 0; col < cols_; ++col)
      if (r[size_t(col)] >= 0) out << index(col, row);
  }
  return out;
}

bool GsaGridList::operator==(const GsaGridList& o) const {
  if (rows_ != o.rows_ || cols_ != o.cols_ || used_.size() != o.used_.size()) return false;
  for (const Slot& s : used_)
    if (s.cell != o.cell(colOf(s.index), rowOf(s.index))) return false;
  return true;
}

QStringList GsaGridList::toList() const {
  QStringList out;
  out << QString::number(rows_) << QString::number(cols_);
  for (int i = 0; i < rows_ * cols_; ++i) {
    const GsaCell& c = cell(colOf(i), rowOf(i));
    out << c.text << c.kind;
  }
  return out;
}
