#include "velmora/flowchart/core/gsagrid.h"

#include <algorithm>

GsaGridList::GsaGridList() : GsaGridList(kDefaultRows, kDefaultCols) {}

GsaGridList::GsaGridList(int rows, int cols)
    : rows_(std::clamp(rows, 1, kMaxRows)), cols_(std::clamp(cols, 1, kMaxCols)) {}

GsaCell GsaGridList::cell(int col, int row) const {
  if (!contains(col, row)) return GsaCell();
  const auto it = cells_.constFind(index(col, row));
  return it == cells_.constEnd() ? GsaCell() : *it;
}

QString GsaGridList::text(int col, int row) const { return cell(col, row).text; }

QString GsaGridList::kind(int col, int row) const { return cell(col, row).kind; }

int GsaGridList::kindCode(int col, int row) const {
  const QString k = kind(col, row);
  // Digits only: a sign, a blank or a huge number is not a code of any figure.
  if (k.isEmpty() || k.size() > 6) return -1;
  int value = 0;
  for (QChar ch : k) {
    if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) return -1;
    value = value * 10 + (ch.unicode() - '0');
  }
  return value;
}

bool GsaGridList::hasKind(int col, int row, int code) const {
  return kind(col, row) == QString::number(code);
}

void GsaGridList::store(int col, int row, const GsaCell& cell) {
  if (!contains(col, row)) return;
  if (cell == GsaCell()) cells_.remove(index(col, row));
  else cells_.insert(index(col, row), cell);
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
  return true;
}

void GsaGridList::clear() { cells_.clear(); }

QList<int> GsaGridList::usedCells() const {
  QList<int> out = cells_.keys();
  std::sort(out.begin(), out.end());
  return out;
}

QStringList GsaGridList::toList() const {
  QStringList out;
  out << QString::number(rows_) << QString::number(cols_);
  const GsaCell empty;
  for (int i = 0; i < rows_ * cols_; ++i) {
    const GsaCell c = cells_.value(i, empty);
    out << c.text << c.kind;
  }
  return out;
}
