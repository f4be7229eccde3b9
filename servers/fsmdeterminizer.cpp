#include "servers/fsmdeterminizer.h"

#include "automata/bitsets.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

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

namespace {

// Lines by the first event their key asks for, so that an event set looks only at the
// lines it can satisfy.
class LineIndex {
 public:
  explicit LineIndex(const Model& m) : m_(m) {
    for (int j = 0; j < m.lines.size(); ++j) {
      const auto first = std::find_if(m.lines[j].key.begin(), m.lines[j].key.end(), [](int l) { return l > 0; });
      if (first == m.lines[j].key.end()) {
        anyKey_ << j;
        continue;
      }
      if (*first >= int(byEvent_.size())) byEvent_.resize(size_t(*first) + 1);
      byEvent_[size_t(*first)] << j;
    }
  }

  // The lines `from` satisfies, in the order of the table.
  void match(const Set& from, QVector<int>* lines) const {
    lines->clear();
    for (int e : from)
      if (e > 0 && e < int(byEvent_.size()))
        for (int j : byEvent_[size_t(e)])
          if (satisfies(from, m_.lines[j].key)) *lines << j;
    for (int j : anyKey_)
      if (satisfies(from, m_.lines[j].key)) *lines << j;
    std::sort(lines->begin(), lines->end());
  }

 private:
  const Model& m_;
  std::vector<QVector<int>> byEvent_;
  QVector<int> anyKey_;
};

void addBits(uint64_t* row, const Set& s) {
  for (int e : s)
    if (e > 0) automata::SetBit(row, e);
}

Set setOfRow(const uint64_t* row, size_t words) {
  Set out(automata::CountEvents(row, words));
  int* p = out.data();
  automata::ForEachEvent(row, words, [&p](int e) { *p++ = e; });
  return out;
}

}  // namespace

size_t Determinizer::rowWords(const Set& start) const {
  // Room for every event the model names or any line or the start set uses.
  int top = int(m_.events.size());
  if (!start.isEmpty()) top = std::max(top, start.last());
  for (const Line& line : m_.lines)
    for (const Transition& t : line.transitions)
      if (!t.targets.isEmpty()) top = std::max(top, t.targets.last());
  return size_t(top) / 64 + 1;
}

bool Determinizer::successors(const Set& from, QVector<Successor>* out, QString* error) const {
  QVector<int> lines;
  for (int j = 0; j < m_.lines.size(); ++j)
    if (satisfies(from, m_.lines[j].key)) lines << j;
  const size_t words = rowWords(from);
  QVector<Set> conditions;
  std::vector<uint64_t> targets;
  out->clear();
  if (!groups(from, lines, words, &conditions, &targets, error)) return false;
  for (int g = 0; g < conditions.size(); ++g) out->append({conditions[g], setOfRow(&targets[size_t(g) * words], words)});
  return true;
}

bool Determinizer::groups(const Set& from, const QVector<int>& lines, size_t words, QVector<Set>* conditions,
                          std::vector<uint64_t>* targets, QString* error) const {
  conditions->clear();
  targets->clear();
  std::vector<uint64_t>& unconditional = *targets;  // held at the end, past the groups
  unconditional.assign(words, 0);
  bool anyConditional = false;
  for (int j : lines)
    for (const Transition& t : m_.lines[j].transitions) {
      if (t.condition.isEmpty())
        addBits(unconditional.data(), t.targets);
      else
        anyConditional = true;
    }
  const bool anyUnconditional = !automata::IsZero(unconditional.data(), words);
  if (!anyConditional) {
    if (anyUnconditional)
      conditions->append(Set());
    else
      targets->clear();
    return true;
  }
  // From here on the unconditional targets stay in the last row, the groups' rows before it.
  const auto row = [&](int g) { return &(*targets)[size_t(g) * words]; };
  const auto addGroup = [&](const Set& condition) {
    conditions->append(condition);
    targets->resize(targets->size() + words);
    const int g = int(conditions->size()) - 1;
    std::copy(row(g), row(g) + words, row(g + 1));  // the unconditional row moves up
  };
  const auto finish = [&] { targets->resize(size_t(conditions->size()) * words); };
  if (m_.abstractInputs()) {
    // One group per letter, in the order the letters first appear; an unconditional
    // transition joins every letter.
    // Letters are few: the group of a letter is found by a look along the conditions.
    const auto groupOf = [&](int letter) {
      for (int g = 0; g < conditions->size(); ++g)
        if ((*conditions)[g].first() == letter) return g;
      return -1;
    };
    for (int j : lines)
      for (const Transition& t : m_.lines[j].transitions) {
        if (t.condition.isEmpty()) continue;
        const int letter = std::abs(t.condition.first());
        int g = groupOf(letter);
        if (g < 0) {
          g = int(conditions->size());
          // The model's own condition when it is the plain letter: shared, not copied.
          addGroup(t.condition.size() == 1 && t.condition.first() == letter ? t.condition : Set{letter});
        }
        addBits(row(g), t.targets);
      }
    if (anyUnconditional)
      for (int k = 1; k <= m_.inputs.size(); ++k)
        if (groupOf(k) < 0) addGroup(Set{k});
    finish();
    return true;
  }
  QVector<Conditional> conds;
  for (int j : lines)
    for (const Transition& t : m_.lines[j].transitions)
      if (!t.condition.isEmpty()) conds.append({t.condition, t.targets});
  QVector<Successor> split;
  Splitter splitter(conds, &split);
  if (!splitter.run(setOfRow(row(0), words))) {
    if (error)
      *error = QStringLiteral("Из множества событий %1 получается более %2 групп переходов")
                   .arg(m_.eventsText(from))
                   .arg(kMaxGroups);
    conditions->clear();
    targets->clear();
    return false;
  }
  targets->assign(size_t(split.size()) * words, 0);
  for (int g = 0; g < split.size(); ++g) {
    conditions->append(split[g].condition);
    addBits(&(*targets)[size_t(g) * words], split[g].targets);
  }
  return true;
}

bool Determinizer::run(const Set& start, DetResult* out, QString* error) const {
  DetResult r;
  if (start.isEmpty()) {
    if (error) *error = QStringLiteral("Начальное множество событий пусто");
    return false;
  }
  const LineIndex lineIndex(m_);
  const size_t words = rowWords(start);
  automata::SetTable table(words);
  {
    std::vector<uint64_t> row(words, 0);
    addBits(row.data(), start);
    table.Add(row.data());
  }
  int notes = 0;
  QVector<int> lines;
  QVector<Set> conditions;
  std::vector<uint64_t> targets;
  for (size_t i = 0; i < table.Size(); ++i) {
    DetState state;
    state.events = setOfRow(table.Row(i), words);
    const Set& from = state.events;
    lineIndex.match(from, &lines);
    for (int j : lines) state.outputs = unite(state.outputs, m_.lines[j].outputs);
    if (!groups(from, lines, words, &conditions, &targets, error)) return false;
    state.transitions.reserve(conditions.size());
    for (int g = 0; g < conditions.size(); ++g) {
      const uint64_t* next = &targets[size_t(g) * words];
      if (automata::IsZero(next, words)) {
        if (notes++ < kMaxNotes)
          r.notes << QStringLiteral("Из %1 по входу %2 переходов нет")
                         .arg(m_.eventsText(from), m_.conditionText(conditions[g]));
        continue;
      }
      int target = table.Find(next);
      if (target < 0) {
        if (table.Size() >= size_t(kMaxStates)) {
          if (error) *error = QStringLiteral("Число состояний превысило %1").arg(kMaxStates);
          return false;
        }
        target = table.Add(next);
      }
      state.transitions.append({conditions[g], target});
    }
    r.states << std::move(state);
  }
  if (notes > kMaxNotes) r.notes << QStringLiteral("... и ещё %1").arg(notes - kMaxNotes);
  *out = std::move(r);
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
