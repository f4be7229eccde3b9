// The subset construction itself. Event sets are bitsets kept side by side in one
// array and found again through an open-addressing table; the source is indexed once
// by the events its keys need, so a round looks only at the lines its set can match.
#include <algorithm>
#include <limits>
#include <unordered_map>

#include "automata/keymatch.h"
#include "automata/successorrows.h"
#include "tiravo/sim/determ.h"

namespace determ {

// The event sets found and how their texts are made.
struct Run::States {
  automata::SetTable table{1};
  QStringList eventNames;
  bool rename = false;
  QString nameTemplate;

  // Text of the event set of state k (0-based). Measured first, then written in place:
  // one block per text.
  QString SetText(int k) const;
  QString NewName(int k) const { return rename ? nameTemplate + QString::number(k) : SetText(k); }
};

using automata::ForEachEvent;
using automata::SetBit;
using automata::TestBit;

namespace {
// The literal of a move's condition, or kWide + i for the condition wide[i] of more
// literals.
constexpr qint32 kWide = std::numeric_limits<qint32>::min();
constexpr qint32 kWideRoom = 1 << 30;  // literals are signal numbers, far above

// Items pushed one after another into blocks, then read once from the front, each block
// given back as soon as it is read: no copy as it grows, and the moves of a run make room
// for the result's lines while those are made from them. A push is written in place: a
// round pushes a few numbers, and a call costs as much as a look-up.
template <typename T>
class Queue {
 public:
  void Push(T v) {
    if (in_ == inEnd_) NewBlock();
    *in_++ = v;
  }
  // Reads the items back from the front, at most as many as were pushed. One reader a
  // queue, kept where the reading is done, so that its place stays in registers.
  class Reader {
   public:
    explicit Reader(Queue* queue) : queue_(queue) {}
    T Next() {
      if (at_ == end_) Refill();
      return *at_++;
    }

   private:
    [[gnu::noinline]] void Refill() {
      queue_->NextBlock();
      at_ = queue_->out_;
      end_ = queue_->outEnd_;
    }
    Queue* queue_;
    const T *at_ = nullptr, *end_ = nullptr;
  };

 private:
  static constexpr size_t kBlock = 4096 / sizeof(T);

  [[gnu::noinline]] void NewBlock() {
    blocks_.emplace_back(new T[kBlock]);
    in_ = blocks_.back().get();
    inEnd_ = in_ + kBlock;
  }
  [[gnu::noinline]] void NextBlock() {
    if (front_ > 0) blocks_[front_ - 1].reset();
    out_ = blocks_[front_++].get();
    outEnd_ = out_ + kBlock;
  }

  std::vector<std::unique_ptr<T[]>> blocks_;
  T *in_ = nullptr, *inEnd_ = nullptr;
  const T *out_ = nullptr, *outEnd_ = nullptr;
  size_t front_ = 0;  // blocks read from
};

// The moves of the result as they are found, five bytes a move and one a state: the
// target and a code of the literal, which stands for one of the first literals met and
// is kOther for the others.
class MoveLog {
 public:
  static constexpr uint8_t kOther = 255;

  // Literals from -range to range get codes.
  explicit MoveLog(int range) : codeOf_(2 * size_t(range) + 1, 0), range_(range) {}

  uint8_t CodeOf(qint32 literal) {
    if (literal < -range_ || literal > range_) return kOther;
    uint8_t& c = codeOf_[size_t(literal + range_)];
    if (c == 0) {
      if (literals_.size() >= kOther) return kOther;
      literals_.push_back(literal);
      c = uint8_t(literals_.size());
    }
    return uint8_t(c - 1);
  }
  void Push(qint32 literal, qint32 target) { Push(CodeOf(literal), literal, target); }
  // A move whose literal has the code `code`.
  void Push(uint8_t code, qint32 literal, qint32 target) {
    moves_.Push({target, code});
    if (code == kOther) others_.Push(literal);
  }
  // The moves since the last state's are the next state's.
  void EndState(size_t moves) {
    counts_.Push(moves < kOther ? uint8_t(moves) : kOther);
    if (moves >= kOther) longCounts_.Push(moves);
    ++states_;
  }
  size_t States() const { return states_; }

  struct [[gnu::packed]] Packed {
    qint32 target;
    uint8_t code;
  };
  static_assert(sizeof(Packed) == 5, "a move in five bytes");

  // Reads the log back, state after state.
  class Reader {
   public:
    explicit Reader(MoveLog* log)
        : moves_(&log->moves_),
          others_(&log->others_),
          counts_(&log->counts_),
          longCounts_(&log->longCounts_),
          literals_(log->literals_.data()) {}
    size_t Count() {
      const uint8_t n = counts_.Next();
      return n != kOther ? n : longCounts_.Next();
    }
    // The next move as {literal, target}.
    void Move(qint32* move) {
      const Packed m = moves_.Next();
      move[0] = m.code != kOther ? literals_[m.code] : others_.Next();
      move[1] = m.target;
    }

   private:
    Queue<Packed>::Reader moves_;
    Queue<qint32>::Reader others_;
    Queue<uint8_t>::Reader counts_;
    Queue<size_t>::Reader longCounts_;
    const qint32* literals_;
  };

 private:
  Queue<Packed> moves_;
  Queue<qint32> others_;  // the literals of the moves coded kOther
  Queue<uint8_t> counts_;
  Queue<size_t> longCounts_;  // of the states counted kOther
  std::vector<qint32> literals_;
  std::vector<uint8_t> codeOf_;  // literal + range: its code + 1, 0 before its first use
  const int range_;
  size_t states_ = 0;
};
}  // namespace

// The successors of one state as the dense round finds them, kept apart from the rows'
// scratch: a state's are made a round ahead, so that the slots they are looked up in are
// asked for one round before they are read.
struct Run::Prepared {
  int state = -1;  // whose successors these are, -1 for none
  int n = 0;
  int slot[automata::SuccessorRows::kMaxSlots];
  uint64_t hash[automata::SuccessorRows::kMaxSlots];
  const uint64_t* row[automata::SuccessorRows::kMaxSlots];  // in `rows` or in the scratch
  uint64_t rows[automata::SuccessorRows::kMaxSlots * 4];
};

// The source, indexed for the run, and the scratch of one round.
struct Run::Index {
  size_t words = 1;
  automata::KeyMatcher keys;
  // Abstract inputs: transition t of line j is flat[transStart[j] + t]; its
  // condition's number (-1 when unconditional) and its targets as a bitset.
  std::vector<quint32> transStart;
  std::vector<qint32> conditionOf;
  std::vector<SSignalSet> conditionSets;  // condition c is conditionSets[c]
  std::vector<uint64_t> targets;
  int conditions = 0;
  std::vector<SSignalSet> letters;  // letter i at i - 1: the groups an unconditional move adds
  SSignalSet always;                // the empty condition
  // Abstract inputs and every key one event: the groups of a set without matching keys,
  // under condition c in slot c, the unconditional moves in the slot after them.
  std::unique_ptr<automata::SuccessorRows> rows;
  int unconditionalSlot = -1;
  bool anyOutputs = false;

  // The rounds of the dense rows for the width of the sets, when they serve.
  size_t (Run::*dense)(size_t) = nullptr;
  Prepared prepared[2];  // the current state's successors and the next one's
  int ahead = 0;         // which of them is the current state's

  // Scratch of a round.
  const std::vector<int32_t>* matched = nullptr;  // the lines the set matches
  std::vector<qint32> groupOf;                    // condition -> group or -1
  std::vector<qint32> groupCondition;
  std::vector<const SSignalSet*> groupX;
  std::vector<uint64_t> groupSets;
  int groups = 0;
  std::vector<uint64_t> unconditional, next;
  std::vector<int> outputs;
  std::vector<bool> marked;
  // The result as it is found.
  std::unique_ptr<MoveLog> moves;
  std::vector<SSignalSet> wide;          // conditions of more literals than one
  std::vector<USignalSet> stateOutputs;  // by state, when any line has outputs
  std::vector<qint32> slotLiteral;       // dense rows: the move's literal for each condition
  std::vector<uint8_t> slotCode;         // and its code in the moves

  uint64_t* Group(int g) { return &groupSets[size_t(g) * words]; }
};

Run::Run(const FTT& source, Options options)
    : source_(source), options_(std::move(options)), states_(std::make_shared<States>()) {
  states_->eventNames = options_.eventNames;
  states_->rename = options_.rename;
  states_->nameTemplate = options_.nameTemplate;
  // Every name the run may use must exist and be told apart from the others.
  int required = int(source_.SNames.size());
  for (qint32 e : options_.initial) required = std::max(required, int(e));
  const AlphabetCheck alphabet =
      CheckAlphabet(options_.eventNames.join(QLatin1Char('\n')), QStringLiteral("[S]"), required);
  if (!alphabet.ok) {
    message_ = alphabet.notice.text;
    status_ = Refused;
    return;
  }
  if (options_.rename) {
    message_ = CheckTemplate(options_.nameTemplate);
    if (!message_.isEmpty()) {
      status_ = Refused;
      return;
    }
  }

  // The events the run can meet: those named, the initial ones and any a line uses.
  int events = required;
  for (const FTT_Line& line : source_.Lines) {
    for (qint32 l : line.Key) events = std::max(events, l < 0 ? -l : l);
    for (const LTT_Line& t : line.Transitions)
      for (qint32 e : t.Targets) events = std::max(events, int(e));
  }
  index_ = std::make_unique<Index>();
  Index& x = *index_;
  x.words = std::max<size_t>(1, (size_t(events) + 63) / 64);
  states_->table = automata::SetTable(x.words);
  const bool abstract = source_.Mode == FTT::Abstract;
  std::unordered_map<SSignalSet, int, SignalSetHash> conditions;
  x.transStart.push_back(0);
  for (size_t j = 0; j < source_.Lines.size(); ++j) {
    const FTT_Line& line = source_.Lines[j];
    x.keys.AddLine(line.Key.begin(), line.Key.end());
    if (!abstract) continue;
    for (const LTT_Line& t : line.Transitions) {
      int c = -1;
      if (!t.Condition.IsEmpty()) {
        const auto placed = conditions.emplace(t.Condition, int(conditions.size()));
        c = placed.first->second;
        if (placed.second) x.conditionSets.push_back(t.Condition);
      }
      x.conditionOf.push_back(c);
      const size_t at = x.targets.size();
      x.targets.resize(at + x.words, 0);
      for (qint32 e : t.Targets) SetBit(&x.targets[at], e);
    }
    x.transStart.push_back(quint32(x.conditionOf.size()));
  }
  x.keys.Index();
  x.conditions = int(conditions.size());
  int literals = int(source_.XNames.size());
  for (const FTT_Line& line : source_.Lines)
    for (const LTT_Line& t : line.Transitions)
      for (qint32 l : t.Condition) literals = std::max(literals, l < 0 ? -l : l);
  x.moves = std::make_unique<MoveLog>(literals);
  for (const FTT_Line& line : source_.Lines) x.anyOutputs = x.anyOutputs || !line.Outputs.IsEmpty();
  if (abstract) BuildRows(events);
  const int letterCount = int(source_.XNames.size());
  for (int i = 1; i <= letterCount; ++i) x.letters.push_back(SSignalSet{i});
  const size_t maxGroups = size_t(x.conditions + letterCount + 1);
  x.groupOf.assign(size_t(x.conditions), -1);
  x.groupCondition.resize(maxGroups);
  x.groupX.resize(maxGroups);
  x.groupSets.resize(maxGroups * x.words);
  x.unconditional.resize(x.words);
  x.next.resize(x.words);
  x.marked.resize(size_t(letterCount) + 1);

  result_ = std::make_unique<FTT>();
  result_->Mode = source_.Mode;
  std::vector<uint64_t> initial(x.words, 0);
  for (qint32 e : options_.initial)
    if (e > 0) SetBit(initial.data(), e);
  if (StateOf(initial.data()) == 0) Fail(Refused);
}

Run::~Run() = default;

void Run::BuildRows(int events) {
  Index& x = *index_;
  for (const FTT_Line& line : source_.Lines)
    if (line.Key.Size() != 1 || line.Key.At(0) < 0) return;
  const bool anyUnconditional =
      std::any_of(x.conditionOf.begin(), x.conditionOf.end(), [](qint32 c) { return c < 0; });
  const int groupKeys = x.conditions + (anyUnconditional ? 1 : 0);
  if (!automata::SuccessorRows::Fits(events, x.words, groupKeys)) return;
  auto rows = std::make_unique<automata::SuccessorRows>(events, x.words, groupKeys);
  const int unconditional = anyUnconditional ? x.conditions : -1;
  for (size_t j = 0; j < source_.Lines.size(); ++j) {
    const int e = source_.Lines[j].Key.At(0);
    if (!rows->SetLine(e, int(j))) return;
    for (quint32 t = x.transStart[j]; t < x.transStart[j + 1]; ++t) {
      const int c = x.conditionOf[t];
      rows->AddMove(e, c < 0 ? unconditional : c, &x.targets[size_t(t) * x.words]);
    }
  }
  rows->Finish();
  for (int c = 0; c < x.conditions; ++c) {
    const SSignalSet& condition = x.conditionSets[size_t(c)];
    x.slotLiteral.push_back(condition.At(0));
    if (condition.Size() > 1) {
      x.slotLiteral.back() = kWide + qint32(x.wide.size());
      x.wide.push_back(condition);
    }
  }
  x.slotLiteral.push_back(0);  // the unconditional slot, never looked up
  for (qint32 literal : x.slotLiteral) x.slotCode.push_back(x.moves->CodeOf(literal));
  x.rows = std::move(rows);
  x.unconditionalSlot = unconditional;
  if (options_.trigger != Trigger::D) return;
  switch (x.words) {
    case 1: x.dense = &Run::DenseRoundsOf<1>; break;
    case 2: x.dense = &Run::DenseRoundsOf<2>; break;
    case 4: x.dense = &Run::DenseRoundsOf<4>; break;
    default: x.dense = &Run::DenseRoundsOf<0>;
  }
}

int Run::StateOf(const uint64_t* set) {
  // Without renaming the empty set is never a state, so it is refused before the look.
  if (!options_.rename && automata::IsZero(set, states_->table.Words())) {
    message_ = QStringLiteral("Пустое множество событий не имеет имени. Разрешите преобразование имён!");
    return 0;
  }
  bool added = false;
  return states_->table.FindOrAdd(set, &added) + 1;
}

int Run::Total() const { return int(states_->table.Size()); }

QString Run::States::SetText(int k) const {
  const QStringList& names = eventNames;
  const uint64_t* set = table.Row(size_t(k));
  const QString bad = QString::fromLatin1(kBadSignalName);
  const auto name = [&](int e) -> const QString& { return e <= names.size() ? names.at(e - 1) : bad; };
  qsizetype length = -1;
  ForEachEvent(set, table.Words(), [&](int e) { length += name(e).size() + 1; });
  if (length <= 0) return QString();
  QString text(length, Qt::Uninitialized);
  QChar* out = text.data();
  ForEachEvent(set, table.Words(), [&](int e) {
    if (out != text.constData()) *out++ = QLatin1Char('&');
    const QString& n = name(e);
    std::copy(n.constData(), n.constData() + n.size(), out);
    out += n.size();
  });
  return text;
}

USignalSet Run::SetOf(int k) const {
  std::vector<int> events;
  ForEachEvent(states_->table.Row(size_t(k)), states_->table.Words(), [&](int e) { events.push_back(e); });
  return USignalSet::FromSignals(std::move(events));
}

QStringList Run::OldNames() const { return OldNameList().All(); }

NameList Run::OldNameList() const {
  std::shared_ptr<const States> states = states_;
  return NameList(Total(), [states](int k) { return states->SetText(k); });
}

NameList Run::NewNameList() const {
  std::shared_ptr<const States> states = states_;
  return NameList(Total(), [states](int k) { return states->NewName(k); });
}

QStringList Run::NewNames() const { return options_.rename ? NewNameList().All() : OldNames(); }

void Run::Fail(Status status) {
  status_ = status;
  result_.reset();
  index_.reset();
  states_->table.ReleaseIndex();
}

int Run::Percent() const {
  const int total = Total();
  return total > 0 ? int(qint64(std::min(current_, total)) * 100 / total) : 0;
}

QString Run::StatusText() const { return StatusTextOf(current_); }

QString Run::LastStatusText() const {
  // A round that ended in a fault stays on its state; the others moved past theirs.
  const bool movedOn = status_ == Running || status_ == Done || status_ == Empty || status_ == Stopped;
  const int last = movedOn ? current_ - 1 : current_;
  return last < 0 ? QString() : StatusTextOf(last);
}

QString Run::StatusTextOf(int state) const {
  const QString name = state < Total() ? states_->SetText(state) : QString();
  return QStringLiteral("Детерминизация: Всего=") + QString::number(Total()) + QStringLiteral(", текущее[") +
         QString::number(state) + QStringLiteral("]=") + name;
}

void Run::AbstractGroups() {
  Index& x = *index_;
  if (x.rows) return DenseGroups();
  const size_t w = states_->table.Words();
  std::fill(x.unconditional.begin(), x.unconditional.end(), 0);
  bool anyUnconditional = false;
  // The hottest loop of a run: plain pointers, and one word a set the common case.
  const quint32* start = x.transStart.data();
  const qint32* conditionOf = x.conditionOf.data();
  const uint64_t* targets = x.targets.data();
  qint32* groupOf = x.groupOf.data();
  qint32* groupCondition = x.groupCondition.data();
  uint64_t* sets = x.groupSets.data();
  uint64_t* unconditional = x.unconditional.data();
  int groups = 0;
  for (qint32 j : *x.matched) {
    for (quint32 t = start[j], end = start[j + 1]; t < end; ++t) {
      const uint64_t* from = targets + size_t(t) * w;
      const qint32 c = conditionOf[t];
      uint64_t* into;
      if (c < 0) {
        into = unconditional;
        anyUnconditional = true;
      } else if (groupOf[c] < 0) {
        groupOf[c] = groups;
        groupCondition[groups] = c;
        std::copy_n(from, w, sets + size_t(groups) * w);
        ++groups;
        continue;
      } else {
        into = sets + size_t(groupOf[c]) * w;
      }
      if (w == 1)
        *into |= *from;
      else
        automata::OrInto(into, from, w);
    }
  }
  x.groups = groups;
  for (int g = 0; g < groups; ++g) {
    x.groupX[size_t(g)] = &x.conditionSets[size_t(groupCondition[g])];
    groupOf[groupCondition[g]] = -1;
  }
  if (anyUnconditional)
    anyUnconditional =
        std::any_of(x.unconditional.begin(), x.unconditional.end(), [](uint64_t v) { return v != 0; });
  AddUnconditional(anyUnconditional);
}

void Run::DenseGroups() {
  Index& x = *index_;
  const size_t w = states_->table.Words();
  automata::SuccessorRows& rows = *x.rows;
  rows.Gather(states_->table.Row(size_t(current_)));  // again when the dense round gave up
  int groups = 0;
  for (int k = 0; k < rows.OrderSize(); ++k) {
    const int slot = rows.Order()[k];
    if (slot == x.unconditionalSlot) continue;
    x.groupX[size_t(groups)] = &x.conditionSets[size_t(slot)];
    std::copy_n(rows.Row(slot), w, x.Group(groups));
    ++groups;
  }
  x.groups = groups;
  bool anyUnconditional = false;
  if (x.unconditionalSlot >= 0 && (rows.Present() >> x.unconditionalSlot) & 1u) {
    const uint64_t* u = rows.Row(x.unconditionalSlot);
    std::copy_n(u, w, x.unconditional.data());
    anyUnconditional = !automata::IsZero(u, w);
  }
  AddUnconditional(anyUnconditional);
}

void Run::AddUnconditional(bool anyUnconditional) {
  Index& x = *index_;
  const size_t w = states_->table.Words();
  if (!anyUnconditional) return;
  if (x.groups == 0) {
    x.groupX[0] = &x.always;
    std::copy(x.unconditional.begin(), x.unconditional.end(), x.Group(0));
    x.groups = 1;
    return;
  }
  // An unconditional move happens under every letter: letters no transition names
  // get a group of their own.
  std::fill(x.marked.begin(), x.marked.end(), false);
  const int named = x.groups;
  for (int g = 0; g < named; ++g) {
    uint64_t* s = x.Group(g);
    automata::OrInto(s, x.unconditional.data(), w);
    const int first = x.groupX[size_t(g)]->At(0);
    const int letter = first < 0 ? -first : first;
    if (letter > 0 && size_t(letter) < x.marked.size()) x.marked[size_t(letter)] = true;
  }
  for (size_t l = 1; l < x.marked.size(); ++l) {
    if (x.marked[l]) continue;
    const int g = x.groups++;
    x.groupX[size_t(g)] = &x.letters[l - 1];
    std::copy(x.unconditional.begin(), x.unconditional.end(), x.Group(g));
  }
}

Run::Status Run::Round() {
  if (status_ != Running) return status_;
  if (stopRequested_) {
    Fail(Stopped);
    return status_;
  }
  Index& x = *index_;
  if (!x.dense || (this->*x.dense)(1) == 0)
    GeneralStep();
  else if (size_t(current_) == states_->table.Size())
    MakeLines();
  return status_;
}

void Run::GeneralStep() {
  GeneralRound();
  if (status_ != Running) return;
  ++current_;
  if (size_t(current_) == states_->table.Size()) MakeLines();
}

void Run::Outputs(const uint64_t* set) {
  Index& x = *index_;
  // Gathered first and ordered once.
  x.outputs.clear();
  const auto gather = [&](int j) {
    const USignalSet& y = source_.Lines[size_t(j)].Outputs;
    x.outputs.insert(x.outputs.end(), y.begin(), y.end());
  };
  if (x.rows)
    x.rows->ForEachLine(set, gather);
  else
    for (qint32 j : *x.matched) gather(j);
  x.stateOutputs.push_back(x.outputs.empty() ? USignalSet() : USignalSet::FromSignals(x.outputs));
}

// The successors of `state` from the rows of its events; false when the dense round
// cannot take the state. With `keep`, for a round later, the rows are copied out of the
// scratch the next gathering writes (rows of 1 to 4 words) and their slots asked for.
template <int W>
[[gnu::always_inline]] inline bool Run::Prepare(int state, Prepared* p, bool keep) {
  Index& x = *index_;
  automata::SetTable& table = states_->table;
  const size_t w = W ? size_t(W) : table.Words();
  automata::SuccessorRows& rows = *x.rows;
  rows.Gather(table.Row(size_t(state)));
  if (x.unconditionalSlot >= 0 && (rows.Present() >> x.unconditionalSlot) & 1u) return false;
  const int count = rows.OrderSize();
  const int8_t* order = rows.Order();
  int n = 0;
  for (int k = 0; k < count; ++k) {
    const int slot = order[k];
    const uint64_t* s = rows.Row(slot);
    if (automata::IsZero(s, w)) {
      if (options_.complete) return false;  // the general round reports it
      continue;
    }
    if (keep) {
      uint64_t* copy = &p->rows[size_t(n) * w];
      std::copy_n(s, w, copy);
      s = copy;
    }
    p->row[n] = s;
    p->slot[n] = slot;
    p->hash[n] = W ? automata::SetTable::HashOf<W>(s) : table.HashOf(s);
    if (keep) table.Prefetch(p->hash[n]);  // looked up a round later
    ++n;
  }
  p->n = n;
  p->state = state;
  return true;
}

// The common rounds, D trigger, every key one event and no unconditional move: the rows
// of the events give the groups, and the groups are looked up as they are. They stop at
// a set that needs the general round.
template <int W>
size_t Run::DenseRoundsOf(size_t most) {
  Index& x = *index_;
  automata::SetTable& table = states_->table;
  MoveLog& moves = *x.moves;
  const qint32* slotLiteral = x.slotLiteral.data();
  const uint8_t* slotCode = x.slotCode.data();
  // Tables past the processor's nearest caches wait for their slots: those are asked for
  // a round ahead. Below, that would cost more than it saves.
  constexpr size_t kAheadFrom = size_t(1) << 13;
  automata::SuccessorRows& rows = *x.rows;
  const size_t w = W ? size_t(W) : table.Words();
  const int unconditional = x.unconditionalSlot;
  size_t done = 0;
  for (; done < most && size_t(current_) < table.Size(); ++done, ++current_) {
    const bool ahead = W > 0 && table.Size() >= kAheadFrom;
    Prepared& now = x.prepared[x.ahead];
    if (!ahead) {
      // The successors are looked up where they are gathered.
      rows.Gather(table.Row(size_t(current_)));
      if (unconditional >= 0 && (rows.Present() >> unconditional) & 1u) break;
      const int count = rows.OrderSize();
      const int8_t* order = rows.Order();
      if (options_.complete)  // a set without successors under a letter: the general round reports it
        if (std::any_of(order, order + count, [&](int slot) { return automata::IsZero(rows.Row(slot), w); }))
          break;
      if (x.anyOutputs) Outputs(table.Row(size_t(current_)));
      size_t n = 0;
      for (int k = 0; k < count; ++k) {
        const int slot = order[k];
        const uint64_t* s = rows.Row(slot);
        if (automata::IsZero(s, w)) continue;
        int found;
        bool added = false;
        if constexpr (W > 0)
          found = table.FindOrAddOf<W>(s, automata::SetTable::HashOf<W>(s));
        else
          found = table.FindOrAdd(s, table.HashOf(s), &added);
        moves.Push(slotCode[slot], slotLiteral[slot], found + 1);
        ++n;
      }
      moves.EndState(n);
      continue;
    }
    if (now.state != current_ && !Prepare<W>(current_, &now, ahead)) break;
    if (ahead) {
      // The next state's successors now: their slots are read in the next round.
      if (size_t(current_) + 1 < table.Size()) Prepare<W>(current_ + 1, &x.prepared[x.ahead ^ 1], true);
      x.ahead ^= 1;
    }
    if (x.anyOutputs) Outputs(table.Row(size_t(current_)));
    bool added = false;
    for (int k = 0; k < now.n; ++k) {
      int found;
      if constexpr (W > 0)
        found = table.FindOrAddOf<W>(now.row[k], now.hash[k]);
      else
        found = table.FindOrAdd(now.row[k], now.hash[k], &added);
      moves.Push(slotCode[now.slot[k]], slotLiteral[now.slot[k]], found + 1);
    }
    moves.EndState(size_t(now.n));
  }
  return done;
}

void Run::GeneralRound() {
  const int i = current_;
  Index& x = *index_;
  const size_t w = states_->table.Words();
  const uint64_t* set = states_->table.Row(size_t(i));
  if (!x.rows) x.matched = &x.keys.Match(set, w);
  if (x.anyOutputs) Outputs(set);

  // The groups: conditions with their event sets (bitsets in the index's scratch).
  std::vector<XSY> general;
  std::vector<uint64_t> generalSets;
  int count = 0;
  const bool abstract = source_.Mode == FTT::Abstract;
  if (abstract) {
    AbstractGroups();
    count = x.groups;
  } else {
    general = source_.Successors(SetOf(i));
    count = int(general.size());
    generalSets.assign(general.size() * w, 0);
    for (size_t g = 0; g < general.size(); ++g)
      for (qint32 e : general[g].s) SetBit(&generalSets[g * w], e);
  }
  const auto conditionOf = [&](int g) -> const SSignalSet& {
    return abstract ? *x.groupX[size_t(g)] : general[size_t(g)].x;
  };
  const auto targetsOf = [&](int g) { return abstract ? x.Group(g) : &generalSets[size_t(g) * w]; };
  size_t moves = 0;
  for (int g = 0; g < count; ++g) {
    const uint64_t* s = targetsOf(g);
    if (automata::IsZero(s, w)) {
      if (!options_.complete) continue;
      errorCondition_ = conditionOf(g).ToText(source_.XNames);
      errorEvent_ = states_->SetText(i);
      Fail(NoTarget);
      return;
    }
    // A T trigger is driven by the events that change.
    const uint64_t* next = s;
    if (options_.trigger == Trigger::T) {
      const uint64_t* from = states_->table.Row(size_t(i));
      for (size_t k = 0; k < w; ++k) x.next[k] = from[k] ^ s[k];
      next = x.next.data();
    }
    const int target = StateOf(next);
    if (target == 0) {
      Fail(Refused);
      return;
    }
    const SSignalSet& condition = conditionOf(g);
    qint32 literal = condition.At(0);
    if (condition.Size() > 1) {
      literal = kWide + qint32(x.wide.size());
      x.wide.push_back(condition);
    }
    x.moves->Push(literal, target);
    ++moves;
  }
  x.moves->EndState(moves);
}

// The result's lines, made once the states are all known. The moves are read in the
// order they were found, and each block of them is given back once read.
void Run::MakeLines() {
  Index& x = *index_;
  states_->table.ReleaseIndex();
  const size_t states = x.moves->States();
  if (states == 0) {
    Fail(Empty);
    return;
  }
  std::vector<FTT_Line>& lines = result_->Lines;
  lines.resize(states);
  // A state's moves are read into `pairs` and then, one-literal moves all, go into the
  // pool's blocks in one piece.
  std::vector<qint32> pairs(64);
  qint32* move = pairs.data();
  size_t room = pairs.size() / 2;
  TransitionPool pool;
  MoveLog::Reader moves(x.moves.get());
  const bool anyOutputs = !x.stateOutputs.empty();
  USignalSet* outputs = x.stateOutputs.data();
  FTT_Line* const first = lines.data();
  for (size_t k = 0; k < states; ++k) {
    FTT_Line& line = first[k];
    line.Key.SetSingle(int(k) + 1);
    if (anyOutputs) line.Outputs = std::move(outputs[k]);
    const size_t n = moves.Count();
    if (n > room) {
      pairs.resize(2 * n);
      move = pairs.data();
      room = n;
    }
    bool anyWide = false;
    for (size_t t = 0; t < n; ++t) {
      moves.Move(move + 2 * t);
      anyWide |= move[2 * t] < kWide + kWideRoom;
    }
    if (!anyWide) {
      pool.Fill(&line.Transitions, move, n);
      continue;
    }
    line.Transitions.reserve(n);
    size_t run = 0;  // one-literal moves before move t not yet added
    for (size_t t = 0; t < n; ++t) {
      if (move[2 * t] >= kWide + kWideRoom) {
        ++run;
        continue;
      }
      if (run > 0) line.Transitions.AddPairs(move + 2 * (t - run), run);
      run = 0;
      line.Transitions.push_back(LTT_Line{x.wide[size_t(move[2 * t] - kWide)], USignalSet{move[2 * t + 1]}});
    }
    if (run > 0) line.Transitions.AddPairs(move + 2 * (n - run), run);
  }
  result_->XNames = source_.XNames;
  result_->YNames = source_.YNames;
  result_->SNames = NewNameList();
  index_.reset();
  status_ = Done;
}

Run::Status Run::RunAll(const std::function<bool(const Run&)>& between) {
  while (status_ == Running) {
    if (between || stopRequested_ || !index_->dense) {
      if (between && !between(*this)) Stop();
      Round();
      continue;
    }
    // Nobody hears of each round: the dense rounds go in one loop, as far as they serve.
    (this->*index_->dense)(SIZE_MAX);
    if (size_t(current_) < states_->table.Size())
      GeneralStep();
    else
      MakeLines();
  }
  return status_;
}

std::unique_ptr<FTT> Run::TakeResult() {
  if (status_ != Done) return nullptr;
  return std::move(result_);
}

}  // namespace determ
