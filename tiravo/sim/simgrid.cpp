#include "tiravo/sim/simgrid.h"

#include <algorithm>

namespace tiravo {

namespace {

const QString kUndefined = QStringLiteral("Не определено");

}  // namespace

void AutoSimGrid::SetSimulation(AutoSimulation* sim) {
  sim_ = sim;
  Reset();
}

void AutoSimGrid::SetHorizontal(bool horizontal) {
  horizontal_ = horizontal;
  Reset();
}

void AutoSimGrid::Reset() {
  beginResetModel();
  sizes_.clear();
  bySize_.assign(1, 0);
  largest_ = 0;
  if (sim_) {
    sizes_.reserve(sim_->States.size());
    for (const USignalSet& s : sim_->States) {
      sizes_.push_back(s.Size());
      Count(s.Size(), 1);
    }
  } else {
    sizes_.push_back(0);
    Count(0, 1);
  }
  steps_ = Steps();
  hRows_ = 3 + int(std::max<quint32>(largest_, 1));
  endResetModel();
}

// ---- commands ----

void AutoSimGrid::SetInitial(const USignalSet& s0, bool stopWhenSame) {
  if (!sim_) return;
  sim_->SetInitial(s0);
  StatesWritten(0, sim_->Simulate(0, stopWhenSame));
}

void AutoSimGrid::Append(const SSignalSet& input) {
  if (!sim_) return;
  const int k = steps_ + 1;
  const bool began = BeginStepInserted(k);
  sim_->Append(input);
  sizes_.push_back(0);
  Count(0, 1);
  EndStructure(began, true);
  StatesWritten(k, k);
  LinesChanged(k, k);
  if (horizontal_) LinesChanged(0, 0);  // "шаг (1-N)"
}

void AutoSimGrid::Insert(int k, const SSignalSet& input) {
  if (!sim_) return;
  const bool began = BeginStepInserted(k);
  sim_->Insert(k, input);
  sizes_.insert(sizes_.begin() + k, 0);
  Count(0, 1);
  EndStructure(began, true);
  StatesWritten(k, steps_);
  LinesChanged(horizontal_ ? 0 : k, Lines() - 1);  // the numbers after it moved
}

void AutoSimGrid::Edit(int k, const SSignalSet& input, bool stopWhenSame) {
  if (!sim_) return;
  const int reached = sim_->Edit(k, input, stopWhenSame);
  LinesChanged(k, k);
  StatesWritten(k, reached);
}

void AutoSimGrid::Delete(int k) {
  if (!sim_ || k < 1 || k > steps_) return;
  const bool began = BeginStepRemoved(k);
  Count(sizes_[size_t(k)], -1);
  sizes_.erase(sizes_.begin() + k);
  sim_->Delete(k);
  EndStructure(began, false);
  StatesWritten(k, steps_);
  LinesChanged(horizontal_ ? 0 : k, Lines() - 1);
}

void AutoSimGrid::RemoveLast() {
  if (!sim_ || steps_ == 0) return;
  const int k = steps_;
  const bool began = BeginStepRemoved(k);
  Count(sizes_.back(), -1);
  sizes_.pop_back();
  sim_->RemoveLast();
  EndStructure(began, false);
  FitRows();
  LinesChanged(k - 1, Lines() - 1);
  if (horizontal_) LinesChanged(0, 0);
}

void AutoSimGrid::Resimulate(int j, bool stopWhenSame) {
  if (!sim_) return;
  StatesWritten(j + 1, sim_->Simulate(j, stopWhenSame));
}

// ---- structure ----

bool AutoSimGrid::BeginStepInserted(int k) {
  if (horizontal_) {
    beginInsertColumns(QModelIndex(), k, k);
    return true;
  }
  if (steps_ == 0) return false;  // the first step takes the blank row
  beginInsertRows(QModelIndex(), k, k);
  return true;
}

bool AutoSimGrid::BeginStepRemoved(int k) {
  if (horizontal_) {
    beginRemoveColumns(QModelIndex(), k, k);
    return true;
  }
  if (steps_ == 1) return false;  // the last step leaves its row blank
  beginRemoveRows(QModelIndex(), k, k);
  return true;
}

void AutoSimGrid::EndStructure(bool began, bool inserted) {
  steps_ = Steps();
  if (!began) return;
  if (horizontal_)
    inserted ? endInsertColumns() : endRemoveColumns();
  else
    inserted ? endInsertRows() : endRemoveRows();
}

void AutoSimGrid::Count(quint32 size, int delta) {
  if (size >= bySize_.size()) bySize_.resize(size_t(size) + 1, 0);
  bySize_[size] += delta;
  if (delta > 0) largest_ = std::max(largest_, size);
  while (largest_ > 0 && bySize_[largest_] == 0) --largest_;
}

void AutoSimGrid::StatesWritten(int from, int to) {
  if (!sim_) return;
  from = std::max(from, 0);
  to = std::min(to, int(sim_->States.size()) - 1);
  for (int i = from; i <= to; ++i) {
    const quint32 size = sim_->States[size_t(i)].Size();
    if (size == sizes_[size_t(i)]) continue;
    Count(sizes_[size_t(i)], -1);
    Count(size, 1);
    sizes_[size_t(i)] = size;
  }
  FitRows();  // also after a removal that wrote nothing
  LinesChanged(StateLine(from), StateLine(to));
}

void AutoSimGrid::FitRows() {
  const int wanted = 3 + int(std::max<quint32>(largest_, 1));
  if (!horizontal_ || wanted == hRows_) {
    hRows_ = wanted;
    return;
  }
  if (wanted > hRows_) {
    beginInsertRows(QModelIndex(), hRows_, wanted - 1);
    hRows_ = wanted;
    endInsertRows();
  } else {
    beginRemoveRows(QModelIndex(), wanted, hRows_ - 1);
    hRows_ = wanted;
    endRemoveRows();
  }
}

void AutoSimGrid::LinesChanged(int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, Lines() - 1);
  if (first > last) return;
  if (horizontal_)
    emit dataChanged(index(0, first), index(rowCount() - 1, last), {Qt::DisplayRole});
  else
    emit dataChanged(index(first, 0), index(last, columnCount() - 1), {Qt::DisplayRole});
}

// ---- cells ----

int AutoSimGrid::Lines() const { return horizontal_ ? columnCount() : rowCount(); }

int AutoSimGrid::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return horizontal_ ? hRows_ : std::max(steps_ + 1, 2);
}

int AutoSimGrid::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return horizontal_ ? steps_ + 2 : 4;
}

QVariant AutoSimGrid::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount() ||
      index.column() >= columnCount())
    return QVariant();
  return Text(index.row(), index.column());
}

Qt::ItemFlags AutoSimGrid::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return IsHead(index) ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QString AutoSimGrid::Text(int row, int col) const {
  return horizontal_ ? HorizontalText(row, col) : VerticalText(row, col);
}

QString AutoSimGrid::VerticalText(int row, int col) const {
  static const char* const kHeads[] = {"шаг", "вход(xij)", "событие(sj)", "выход(yj)"};
  if (row == 0) return QString::fromUtf8(kHeads[col]);
  if (row > steps_ || row > Steps()) return QString();
  if (col == 0) return QString::number(row);
  if (col == 1) return sim_->InputText(row);
  const USignalSet& s = sim_->States[size_t(row)];
  if (s.IsEmpty()) return kUndefined;
  return col == 2 ? sim_->EventsText(s) : sim_->OutputsText(s);
}

QString AutoSimGrid::HorizontalText(int row, int col) const {
  if (col == 0) {
    switch (row) {
      case 0:
        return steps_ > 0 ? QStringLiteral("шаг (1-") + QString::number(steps_) + QLatin1Char(')')
                          : QStringLiteral("пусто");
      case 1: return QStringLiteral("входы(xij)");
      case 2: return QStringLiteral("выходы(yi)");
      case 3: return QStringLiteral("события");
      default: return QString();
    }
  }
  if (col > steps_ + 1 || col > Steps() + 1) return QString();
  const bool last = col == steps_ + 1;
  if (row == 0) return last ? QStringLiteral("конец") : QStringLiteral("шаг ") + QString::number(col);
  if (row == 1) return last ? kUndefined : sim_->InputText(col);
  const USignalSet empty;
  const USignalSet& s = sim_ ? sim_->States[size_t(col) - 1] : empty;
  if (s.IsEmpty()) return row <= 3 ? kUndefined : QString();
  if (row == 2) return sim_->OutputsText(s);
  const unsigned i = unsigned(row - 3);
  return i < s.Size() ? FTT::GetName(sim_->Model().SNames, s.At(i)) : QString();
}

}  // namespace tiravo
