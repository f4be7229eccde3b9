#include "tiravo/core/ftt.h"

#include "tiravo/core/ftttree.h"

namespace {

QString ItemName(const QString& item) {
  const int eq = item.indexOf(QLatin1Char('='));
  return eq < 0 ? QString() : item.left(eq);
}

// For each item, whether the first item carrying its name (case aside) has the value "0": a
// cell repeats no name, but a list given otherwise may.
std::vector<bool> FirstInverted(const QStringList& items) {
  std::vector<bool> inverted(size_t(items.size()));
  QHash<QString, bool> first;
  first.reserve(items.size());
  for (qsizetype i = 0; i < items.size(); ++i) {
    const QString& item = items.at(i);
    const int eq = item.indexOf(QLatin1Char('='));
    const QString name = eq < 0 ? QString() : item.left(eq);
    const auto it = first.constFind(name.toCaseFolded());
    inverted[size_t(i)] = it != first.cend() ? *it : eq >= 0 && QStringView(item).mid(eq + 1) == u"0";
    if (it == first.cend()) first.insert(name.toCaseFolded(), inverted[size_t(i)]);
  }
  return inverted;
}

}  // namespace

void FTT::Assign(const FTT* other) {
  if (!other || other == this) return;
  // The copied lists may hold as many names as the old ones: the indexes start again.
  xIndex_ = yIndex_ = sIndex_ = NameIndex();
  lineIndex_.clear();
  linesCovered_ = 0;
  transitionIndex_.clear();
  XNames = other->XNames;
  YNames = other->YNames;
  SNames = other->SNames;
  Mode = other->Mode;
  Lines = other->Lines;
}

int FTT::SignalNumber(QStringList& names, const QString& name) {
  for (int i = 0; i < names.size(); ++i)
    if (names.at(i).compare(name, Qt::CaseInsensitive) == 0) return i + 1;
  names.append(name);
  return int(names.size());
}

QString FTT::GetName(const QStringList& names, int k) { return SignalName(names, k); }
QString FTT::GetName(const NameList& names, int k) { return SignalName(names, k); }

SSignalSet FTT::LiteralsOf(QStringList& names, const QStringList& items) {
  if (items.size() == 1 && items.first() == QLatin1String("1")) return SSignalSet();
  const std::vector<bool> inverted = FirstInverted(items);
  std::vector<int> literals;
  literals.reserve(size_t(items.size()));
  for (qsizetype i = 0; i < items.size(); ++i) {
    const int n = SignalNumber(names, ItemName(items.at(i)));
    literals.push_back(inverted[size_t(i)] ? -n : n);
  }
  return SSignalSet::FromLiterals(literals);
}

USignalSet FTT::SignalsOf(QStringList& names, const QStringList& items) {
  std::vector<int> numbers;
  numbers.reserve(size_t(items.size()));
  for (const QString& item : items) numbers.push_back(SignalNumber(names, ItemName(item)));
  return USignalSet::FromSignals(std::move(numbers));
}

USignalSet FTT::EventsOfNames(const QStringList& plainNames) {
  USignalSet result;
  for (const QString& name : plainNames) result.Add(SignalNumber(SNames.Edit(), name));
  return result;
}

int FTT::FindLine(const SSignalSet& key) const {
  for (int i = int(Lines.size()); i >= 1; --i)
    if (Lines[size_t(i - 1)].Key == key) return i;
  return 0;
}

void FTT::AddLine(const QStringList& si, const QStringList& y, const QStringList& xij,
                  const QStringList& sj) {
  SSignalSet key = IndexedLiterals(SNames.Edit(), sIndex_, si);
  USignalSet outputs = IndexedSignals(YNames, yIndex_, y);
  const int found = IndexedFindLine(key);
  if (!xij.isEmpty() && xij.first() == QLatin1String("0")) {
    // A row that only carries outputs; a known key keeps what it has.
    if (found == 0) Lines.push_back(FTT_Line{std::move(key), std::move(outputs), {}});
    return;
  }
  USignalSet targets = IndexedSignals(SNames.Edit(), sIndex_, sj);
  SSignalSet condition = IndexedLiterals(XNames, xIndex_, xij);
  if (found == 0) {
    FTT_Line line{std::move(key), std::move(outputs), {}};
    line.Transitions.push_back(LTT_Line{std::move(condition), std::move(targets)});
    Lines.push_back(std::move(line));
    return;
  }
  // Rows of one key and one condition unite their targets.
  const int same = IndexedTransition(size_t(found - 1), condition);
  if (same >= 0) {
    Lines[size_t(found - 1)].Transitions.Edit(size_t(same)).Targets.Union(targets);
    return;
  }
  Lines[size_t(found - 1)].Transitions.push_back(LTT_Line{std::move(condition), std::move(targets)});
}

int FTT::IndexedNumber(QStringList& names, NameIndex& index, const QString& name) {
  const QString folded = name.toCaseFolded();
  if (index.covered != names.size() || index.data != names.constData()) {
    index.numbers.clear();
    for (int i = 0; i < names.size(); ++i) index.numbers.insert(names.at(i).toCaseFolded(), i + 1);
    index.covered = names.size();
    index.data = names.constData();
  }
  const int n = index.numbers.value(folded, 0);
  if (n > 0 && n <= names.size() && names.at(n - 1).compare(name, Qt::CaseInsensitive) == 0) return n;
  if (n > 0) {
    // A name changed in place: the plain search, and the index is built again next time.
    index.covered = -1;
    return SignalNumber(names, name);
  }
  names.append(name);
  index.numbers.insert(folded, int(names.size()));
  index.covered = names.size();
  index.data = names.constData();
  return int(names.size());
}

SSignalSet FTT::IndexedLiterals(QStringList& names, NameIndex& index, const QStringList& items) {
  if (items.size() == 1 && items.first() == QLatin1String("1")) return SSignalSet();
  const std::vector<bool> inverted = FirstInverted(items);
  std::vector<int> literals;
  literals.reserve(size_t(items.size()));
  for (qsizetype i = 0; i < items.size(); ++i) {
    const int n = IndexedNumber(names, index, ItemName(items.at(i)));
    literals.push_back(inverted[size_t(i)] ? -n : n);
  }
  return SSignalSet::FromLiterals(literals);
}

USignalSet FTT::IndexedSignals(QStringList& names, NameIndex& index, const QStringList& items) {
  std::vector<int> numbers;
  numbers.reserve(size_t(items.size()));
  for (const QString& item : items) numbers.push_back(IndexedNumber(names, index, ItemName(item)));
  return USignalSet::FromSignals(std::move(numbers));
}

int FTT::IndexedFindLine(const SSignalSet& key) {
  // Lines moved to new storage may have been replaced: index them again (growing storage
  // doubles, so this stays a constant share per row).
  if (linesCovered_ > Lines.size() || linesData_ != Lines.data()) {
    lineIndex_.clear();
    linesCovered_ = 0;
    linesData_ = Lines.data();
    transitionIndex_.clear();
  }
  for (; linesCovered_ < Lines.size(); ++linesCovered_)
    lineIndex_.insert(Lines[linesCovered_].Key.Hash(), int(linesCovered_) + 1);
  // The last line with this key, as the plain search from the end finds it.
  int best = 0;
  const auto [first, last] = lineIndex_.equal_range(key.Hash());
  for (auto it = first; it != last; ++it) {
    const int i = it.value();
    if (i > best && size_t(i) <= Lines.size() && Lines[size_t(i - 1)].Key == key) best = i;
  }
  return best;
}

int FTT::IndexedTransition(size_t line, const SSignalSet& condition) {
  if (transitionIndex_.size() < Lines.size()) transitionIndex_.resize(Lines.size());
  TransitionIndex& ti = transitionIndex_[line];
  QMultiHash<size_t, int>& index = ti.conditions;
  size_t& covered = ti.covered;
  const TransitionList& transitions = Lines[line].Transitions;
  if (covered > transitions.size() || ti.data != transitions.Storage()) {
    index.clear();
    covered = 0;
    ti.data = transitions.Storage();
  }
  for (; covered < transitions.size(); ++covered)
    index.insert(transitions[covered].Condition.Hash(), int(covered));
  // The first transition with this condition, as the plain search finds it.
  int found = -1;
  const auto [first, last] = index.equal_range(condition.Hash());
  for (auto it = first; it != last; ++it) {
    const int i = it.value();
    if ((found < 0 || i < found) && size_t(i) < transitions.size() &&
        transitions[size_t(i)].Condition == condition)
      found = i;
  }
  return found;
}

void FTT::ListLine(int index, QStringList& conditions, QStringList& targets) const {
  conditions.clear();
  targets.clear();
  if (index < 0 || size_t(index) >= Lines.size()) return;
  for (const LTT_Line& t : Lines[size_t(index)].Transitions) {
    conditions.append(t.Condition.ToText(XNames));
    targets.append(t.Targets.ToText(SNames));
  }
}

void FTT::ListLines(QStringList& items) const {
  items.clear();
  for (const FTT_Line& line : Lines) {
    QString item = line.Key.ToText(SNames);
    const QString outputs = line.Outputs.ToText(YNames);
    if (!outputs.isEmpty()) item += QLatin1Char('[') + outputs + QLatin1Char(']');
    items.append(item);
  }
}

std::vector<const FTT_Line*> FTT::MatchLines(const USignalSet& events) const {
  std::vector<const FTT_Line*> matched;
  for (const FTT_Line& line : Lines)
    if (events.Satisfies(line.Key)) matched.push_back(&line);
  return matched;
}

std::vector<LTT_Line> FTT::MatchPairs(const USignalSet& events) const {
  std::vector<LTT_Line> pairs;
  for (const FTT_Line& line : Lines) {
    if (!events.Satisfies(line.Key)) continue;
    for (const LTT_Line& t : line.Transitions) pairs.push_back(t);
  }
  return pairs;
}

USignalSet FTT::Outputs(const USignalSet& events) const {
  // Gathered first and ordered once: one block instead of one per line.
  std::vector<int> outputs;
  for (const FTT_Line& line : Lines)
    if (events.Satisfies(line.Key)) outputs.insert(outputs.end(), line.Outputs.begin(), line.Outputs.end());
  return USignalSet::FromSignals(std::move(outputs));
}

std::vector<XSY> FTT::Successors(const USignalSet& events) const {
  if (Mode == Abstract) return AbstractSuccessors(events);
  Tree tree(*this, events);
  return tree.GetXSY();
}

std::vector<XSY> FTT::AbstractSuccessors(const USignalSet& events) const {
  std::vector<XSY> groups;
  USignalSet unconditional;
  for (const LTT_Line& t : MatchPairs(events)) {
    if (t.Condition.IsEmpty()) {
      unconditional.Union(t.Targets);
      continue;
    }
    bool merged = false;
    for (XSY& g : groups) {
      if (g.x == t.Condition) {
        g.s.Union(t.Targets);
        merged = true;
        break;
      }
    }
    if (!merged) groups.push_back(XSY{t.Condition, t.Targets, USignalSet()});
  }
  if (!unconditional.IsEmpty()) {
    if (groups.empty()) {
      groups.push_back(XSY{SSignalSet(), unconditional, USignalSet()});
    } else {
      // An unconditional move happens under every letter: letters no transition
      // names get a group of their own.
      std::vector<bool> marked(size_t(XNames.size()) + 1, false);
      const size_t named = groups.size();
      for (size_t k = 0; k < named; ++k) {
        XSY& g = groups[k];
        g.s.Union(unconditional);
        const int letter = g.x.At(0) < 0 ? -g.x.At(0) : g.x.At(0);
        if (letter > 0 && size_t(letter) < marked.size()) marked[size_t(letter)] = true;
      }
      for (int i = 1; i <= int(XNames.size()); ++i) {
        if (marked[size_t(i)]) continue;
        SSignalSet x;
        x.AddLiteral(i);
        groups.push_back(XSY{std::move(x), unconditional, USignalSet()});
      }
    }
  }
  // The outputs once per group, when its event set is final.
  for (XSY& g : groups) g.y = Outputs(g.s);
  return groups;
}

void FTT::Step(const USignalSet& events, const SSignalSet& input, USignalSet& next,
               USignalSet& outputs) const {
  next.Clear();
  for (const XSY& g : Successors(events))
    if (g.x.Covers(input)) next.Union(g.s);
  outputs = Outputs(next);
}
