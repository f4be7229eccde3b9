#include "velmora/flowchart/core/gsagrid.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace velmora {

GsaGridList::GsaGridList() : GsaGridList(kDefaultRows, kDefaultCols) {}

GsaGridList::GsaGridList(int rows, int cols)
    : rows_(std::clamp(rows, 1, kMaxRows)), cols_(std::clamp(cols, 1, kMaxCols)), at_(size_t(rows_)) {}

namespace {

// Digits only: a sign, a blank or a huge number is not a code of any figure.
int digitsValue(QStringView k) {
  if (k.isEmpty() || k.size() > 6) return -1;
  int value = 0;
  for (QChar ch : k) {
    if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) return -1;
    value = value * 10 + (ch.unicode() - '0');
  }
  return value;
}

// The texts of the codes cells mostly hold, made once and shared by every kind() that reads one.
QString codeText(int code) {
  static const QStringList shared = [] {
    QStringList l;
    for (int c = 0; c <= GsaKind::Empty; ++c) l << QString::number(c);
    return l;
  }();
  return code >= 0 && code <= GsaKind::Empty ? shared[code] : QString::number(code);
}

}  // namespace

const GsaGridList::Slot& GsaGridList::emptySlot() {
  static const Slot empty;
  return empty;
}

QString GsaGridList::kind(int col, int row) const {
  const Slot& s = slot(col, row);
  return s.odd ? oddKinds_.value(s.index) : codeText(s.code);
}

GsaGridList::Slot& GsaGridList::slotFor(int col, int row) {
  std::vector<int>& r = at_[size_t(row)];
  if (r.empty()) r.assign(size_t(cols_), -1);
  int& k = r[size_t(col)];
  if (k < 0) {
    // A large grid grows by little: its old and new storage are both held while it moves.
    if (used_.size() == used_.capacity()) used_.reserve(used_.size() + used_.size() / 4 + 64);
    k = int(used_.size());
    used_.emplace_back();
    used_.back().index = index(col, row);
  }
  return used_[size_t(k)];
}

void GsaGridList::dropIfEmpty(int col, int row) {
  std::vector<int>& r = at_[size_t(row)];
  const int k = r.empty() ? -1 : r[size_t(col)];
  if (k < 0) return;
  const Slot& s = used_[size_t(k)];
  if (s.length > 0 || s.odd || s.code != GsaKind::Empty) return;
  // The last used cell takes the freed place.
  const int last = int(used_.size()) - 1;
  if (k != last) {
    used_[size_t(k)] = used_[size_t(last)];
    const int moved = used_[size_t(k)].index;
    at_[size_t(moved / cols_)][size_t(moved % cols_)] = k;
  }
  used_.pop_back();
  r[size_t(col)] = -1;
}

quint32 GsaGridList::append(QStringView text, quint32 replaced) {
  garbage_ += replaced;
  const size_t at = pool_.size(), length = size_t(text.size());
  // Places are 32 bits: 8 GB of text, more than any memory holds beside the rest.
  if (length > std::numeric_limits<quint32>::max() - at) throw std::bad_alloc();
  if (at + length > pool_.capacity()) pool_.reserve(std::max(at + length, at + at / 4 + 256));
  pool_.insert(pool_.end(), text.utf16(), text.utf16() + length);
  return quint32(at);
}

void GsaGridList::compactIfWasteful() {
  if (garbage_ < 4096 || garbage_ <= pool_.size() - garbage_) return;
  std::vector<char16_t> live;
  live.reserve(pool_.size() - garbage_);
  for (Slot& s : used_) {
    const quint32 at = quint32(live.size());
    live.insert(live.end(), pool_.begin() + s.text, pool_.begin() + s.text + s.length);
    s.text = at;
  }
  pool_.swap(live);
  garbage_ = 0;
}

void GsaGridList::setText(int col, int row, QStringView text) {
  if (!contains(col, row)) return;
  if (text.isEmpty() && usedId(col, row) < 0) return;
  // A text of this grid's own would move with the storage below.
  const bool own =
      !pool_.empty() && text.utf16() >= pool_.data() && text.utf16() < pool_.data() + pool_.size();
  if (own) {
    const QString copy = text.toString();
    setText(col, row, QStringView(copy));
    return;
  }
  Slot& s = slotFor(col, row);
  if (size_t(text.size()) <= s.length) {
    // Fits where the old text was: written over it.
    garbage_ += s.length - size_t(text.size());
    if (!text.isEmpty())
      std::memcpy(pool_.data() + s.text, text.utf16(), size_t(text.size()) * sizeof(char16_t));
  } else {
    s.text = append(text, s.length);
  }
  s.length = quint32(text.size());
  dropIfEmpty(col, row);
  compactIfWasteful();
}

void GsaGridList::setKind(int col, int row, QStringView kind) {
  if (!contains(col, row)) return;
  const int code = digitsValue(kind);
  // The canonical decimal of its code: any other spelling is kept as written.
  const bool odd = code < 0 || (kind.size() > 1 && kind[0] == QLatin1Char('0'));
  if (!odd && code == GsaKind::Empty && usedId(col, row) < 0) return;
  Slot& s = slotFor(col, row);
  s.code = code;
  s.odd = odd;
  if (odd)
    oddKinds_.insert(s.index, kind.toString());
  else
    oddKinds_.remove(s.index);
  dropIfEmpty(col, row);
}

void GsaGridList::setKind(int col, int row, int code) {
  if (code >= 0 && code <= GsaKind::Empty) {
    setKind(col, row, QStringView(codeText(code)));
  } else {
    const QString text = QString::number(code);
    setKind(col, row, QStringView(text));
  }
}

void GsaGridList::setCell(int col, int row, const GsaCell& cell) {
  setText(col, row, QStringView(cell.text));
  setKind(col, row, QStringView(cell.kind));
}

void GsaGridList::reserve(int cells, qsizetype textLength) {
  used_.reserve(size_t(qBound(0, cells, rows_ * cols_)));
  pool_.reserve(size_t(qBound<qsizetype>(0, textLength, std::numeric_limits<quint32>::max())));
}

bool GsaGridList::addRow() {
  if (rows_ >= kMaxRows) return false;
  ++rows_;
  at_.emplace_back();
  return true;
}

void GsaGridList::clear() {
  // The memory of a large flowchart goes too.
  std::vector<Slot>().swap(used_);
  std::vector<char16_t>().swap(pool_);
  garbage_ = 0;
  oddKinds_.clear();
  for (std::vector<int>& r : at_) std::vector<int>().swap(r);
}

QList<int> GsaGridList::usedCells() const {
  QList<int> out;
  out.reserve(qsizetype(used_.size()));
  eachUsed([&](int col, int row, QStringView, int) {
    out << index(col, row);
    return true;
  });
  return out;
}

bool GsaGridList::sameKind(const Slot& a, const GsaGridList& other, const Slot& b) const {
  if (a.odd != b.odd) return false;  // an odd text never spells a code canonically
  return a.odd ? oddKinds_.value(a.index) == other.oddKinds_.value(b.index) : a.code == b.code;
}

bool GsaGridList::operator==(const GsaGridList& o) const {
  if (rows_ != o.rows_ || cols_ != o.cols_ || used_.size() != o.used_.size()) return false;
  for (const Slot& s : used_) {
    const int col = colOf(s.index), row = rowOf(s.index);
    if (textView(col, row) != o.textView(col, row) || !sameKind(s, o, o.slot(col, row))) return false;
  }
  return true;
}

QStringList GsaGridList::toList() const {
  QStringList out;
  out << QString::number(rows_) << QString::number(cols_);
  for (int i = 0; i < rows_ * cols_; ++i) out << text(colOf(i), rowOf(i)) << kind(colOf(i), rowOf(i));
  return out;
}

}  // namespace velmora
