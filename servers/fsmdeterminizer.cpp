#include "servers/fsmdeterminizer.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace fsm {

namespace {

struct Conditional {
  Set condition;
  Set targets;
};

// Shannon expansion over the signals that the pending conditions test.
class Splitter {
 public:
  Splitter(const QVector<Conditional>& conds, QVector<Successor>* out) : conds_(conds), out_(out) {}

  bool run(const Set& unconditional) {
    QVector<int> all;
    for (int i = 0; i < conds_.size(); ++i) all << i;
    return split(Set(), all, unconditional);
  }

 private:
  bool split(const Set& assign, const QVector<int>& pending, Set fired) {
    QVector<int> open;
    for (int i : pending) {
      const Set& c = conds_[i].condition;
      bool conflict = false, decided = true;
      for (int l : c) {
        if (containsLiteral(assign, -l)) conflict = true;
        else if (!containsLiteral(assign, l)) decided = false;
      }
      if (conflict) continue;
      if (decided)
        fired = unite(fired, conds_[i].targets);
      else
        open << i;
    }
    if (open.isEmpty()) {
      if (out_->size() >= Determinizer::kMaxGroups) return false;
      out_->append({assign, fired});
      return true;
    }
    int v = 0;
    for (int i : open)
      for (int l : conds_[i].condition)
        if (!containsLiteral(assign, l) && (v == 0 || std::abs(l) < v)) v = std::abs(l);
    Set zero = assign, one = assign;
    addLiteral(zero, -v);
    addLiteral(one, v);
    return split(zero, open, fired) && split(one, open, fired);
  }

  const QVector<Conditional>& conds_;
  QVector<Successor>* out_;
};

}  // namespace

bool Determinizer::successors(const Set& from, QVector<Successor>* out, QString* error) const {
  out->clear();
  Set unconditional;
  QVector<Conditional> conds;
  for (const Line& line : m_.lines) {
    if (!satisfies(from, line.key)) continue;
    for (const Transition& t : line.transitions) {
      if (t.condition.isEmpty())
        unconditional = unite(unconditional, t.targets);
      else
        conds.append({t.condition, t.targets});
    }
  }
  if (conds.isEmpty()) {
    if (!unconditional.isEmpty()) out->append({Set(), unconditional});
    return true;
  }
  if (m_.abstractInputs()) {
    // One group per letter; an unconditional transition joins every letter.
    QVector<int> letters;
    for (const Conditional& c : conds) {
      const int letter = std::abs(c.condition.first());
      int g = int(letters.indexOf(letter));
      if (g < 0) {
        letters << letter;
        out->append({Set{letter}, unite(c.targets, unconditional)});
      } else {
        (*out)[g].targets = unite((*out)[g].targets, c.targets);
      }
    }
    if (!unconditional.isEmpty())
      for (int k = 1; k <= m_.inputs.size(); ++k)
        if (!letters.contains(k)) out->append({Set{k}, unconditional});
    return true;
  }
  Splitter splitter(conds, out);
  if (!splitter.run(unconditional)) {
    if (error)
      *error = QStringLiteral("Из множества событий %1 получается более %2 групп переходов")
                   .arg(m_.eventsText(from))
                   .arg(kMaxGroups);
    out->clear();
    return false;
  }
  return true;
}

bool Determinizer::run(const Set& start, DetResult* out, QString* error) const {
  DetResult r;
  if (start.isEmpty()) {
    if (error) *error = QStringLiteral("Начальное множество событий пусто");
    return false;
  }
  std::map<Set, int> index;
  QVector<Set> work{start};
  index[start] = 0;
  int notes = 0;
  for (int i = 0; i < work.size(); ++i) {
    const Set from = work[i];
    DetState state;
    state.events = from;
    state.outputs = m_.outputsOf(from);
    QVector<Successor> groups;
    if (!successors(from, &groups, error)) return false;
    for (const Successor& g : groups) {
      if (g.targets.isEmpty()) {
        if (notes++ < kMaxNotes)
          r.notes << QStringLiteral("Из %1 по входу %2 переходов нет")
                         .arg(m_.eventsText(from), m_.conditionText(g.condition));
        continue;
      }
      auto it = index.find(g.targets);
      int target;
      if (it == index.end()) {
        if (work.size() >= kMaxStates) {
          if (error) *error = QStringLiteral("Число состояний превысило %1").arg(kMaxStates);
          return false;
        }
        target = int(work.size());
        index[g.targets] = target;
        work << g.targets;
      } else {
        target = it->second;
      }
      state.transitions.append({g.condition, target});
    }
    r.states << state;
  }
  if (notes > kMaxNotes) r.notes << QStringLiteral("... и ещё %1").arg(notes - kMaxNotes);
  *out = r;
  return true;
}

bool Determinizer::parseStart(const QString& text, Set* start, QString* error) const {
  Set s;
  if (!m_.parseEvents(text, &s, error)) return false;
  if (s.isEmpty()) {
    *error = QStringLiteral("не задано ни одного события");
    return false;
  }
  *start = s;
  return true;
}

bool Determinizer::validPrefix(const QString& prefix) {
  return isPlainName(prefix + QLatin1Char('0'));
}

QStringList Determinizer::tableLines(const DetResult& result, const QString& prefix) const {
  QStringList lines;
  lines << (m_.abstractInputs() ? QStringLiteral("Abstract") : QStringLiteral("Binary"));
  auto name = [&prefix](int k) { return prefix + QString::number(k); };
  for (int k = 0; k < result.states.size(); ++k) {
    const DetState& s = result.states[k];
    const QString outs = m_.outputsText(s.outputs);
    if (s.transitions.isEmpty()) {
      lines << name(k) << outs << QStringLiteral("0") << QStringLiteral("0");
      continue;
    }
    for (int t = 0; t < s.transitions.size(); ++t) {
      lines << (t == 0 ? name(k) : QString()) << (t == 0 ? outs : QString())
            << m_.conditionText(s.transitions[t].condition) << name(s.transitions[t].target);
    }
  }
  return lines;
}

}  // namespace fsm
