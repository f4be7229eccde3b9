#include "tiravo/core/ftt.h"

#include "tiravo/core/ftttree.h"

namespace {

QString ItemName(const QString& item) {
  const int eq = item.indexOf(QLatin1Char('='));
  return eq < 0 ? QString() : item.left(eq);
}

// The value after "=" of the first item carrying this name.
QString ItemValue(const QStringList& items, const QString& name) {
  for (const QString& item : items) {
    if (ItemName(item).compare(name, Qt::CaseInsensitive) == 0) {
      const int eq = item.indexOf(QLatin1Char('='));
      return eq < 0 ? QString() : item.mid(eq + 1);
    }
  }
  return QString();
}

}  // namespace

void FTT::Assign(const FTT* other) {
  if (!other || other == this) return;
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

SSignalSet FTT::LiteralsOf(QStringList& names, const QStringList& items) {
  SSignalSet result;
  if (items.size() == 1 && items.first() == QLatin1String("1")) return result;
  for (const QString& item : items) {
    const QString name = ItemName(item);
    const int n = SignalNumber(names, name);
    result.AddLiteral(ItemValue(items, name) == QLatin1String("0") ? -n : n);
  }
  return result;
}

USignalSet FTT::SignalsOf(QStringList& names, const QStringList& items) {
  USignalSet result;
  for (const QString& item : items) result.Add(SignalNumber(names, ItemName(item)));
  return result;
}

USignalSet FTT::EventsOfNames(const QStringList& plainNames) {
  USignalSet result;
  for (const QString& name : plainNames) result.Add(SignalNumber(SNames, name));
  return result;
}

int FTT::FindLine(const SSignalSet& key) const {
  for (int i = int(Lines.size()); i >= 1; --i)
    if (Lines[size_t(i - 1)].Key == key) return i;
  return 0;
}

void FTT::AddLine(const QStringList& si, const QStringList& y, const QStringList& xij,
                  const QStringList& sj) {
  SSignalSet key = LiteralsOf(SNames, si);
  USignalSet outputs = SignalsOf(YNames, y);
  const int found = FindLine(key);
  if (!xij.isEmpty() && xij.first() == QLatin1String("0")) {
    // A row that only carries outputs; a known key keeps what it has.
    if (found == 0) Lines.push_back(FTT_Line{std::move(key), std::move(outputs), {}});
    return;
  }
  USignalSet targets = SignalsOf(SNames, sj);
  SSignalSet condition = LiteralsOf(XNames, xij);
  if (found == 0) {
    FTT_Line line{std::move(key), std::move(outputs), {}};
    line.Transitions.push_back(LTT_Line{std::move(condition), std::move(targets)});
    Lines.push_back(std::move(line));
    return;
  }
  // Rows of one key and one condition unite their targets.
  std::vector<LTT_Line>& transitions = Lines[size_t(found - 1)].Transitions;
  for (LTT_Line& t : transitions) {
    if (t.Condition == condition) {
      t.Targets.Union(targets);
      return;
    }
  }
  transitions.push_back(LTT_Line{std::move(condition), std::move(targets)});
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

std::vector<const LTT_Line*> FTT::MatchPairs(const USignalSet& events) const {
  std::vector<const LTT_Line*> pairs;
  for (const FTT_Line& line : Lines) {
    if (!events.Satisfies(line.Key)) continue;
    for (const LTT_Line& t : line.Transitions) pairs.push_back(&t);
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
  for (const LTT_Line* t : MatchPairs(events)) {
    if (t->Condition.IsEmpty()) {
      unconditional.Union(t->Targets);
      continue;
    }
    bool merged = false;
    for (XSY& g : groups) {
      if (g.x == t->Condition) {
        g.s.Union(t->Targets);
        merged = true;
        break;
      }
    }
    if (!merged) groups.push_back(XSY{t->Condition, t->Targets, USignalSet()});
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
