#pragma once
// Small sets of signed signal numbers, the currency of the automaton model.
//
// +k is signal k (the name at index k-1 of the list the set is read against),
// -k its inversion. Elements are kept in ascending order of magnitude without
// duplicates, and a set never holds a signal together with its inversion.
// Sets of up to one element live in the object itself; larger ones in one block
// [count][e1 .. e_count]. Most sets of a table (keys, conditions, single targets)
// are that small, so they cost no allocation.
#include <QtGlobal>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <vector>

class QDataStream;
class NameList;

class SignalSet {
 public:
  SignalSet() = default;
  SignalSet(std::initializer_list<int> elements);
  SignalSet(const SignalSet& other);
  SignalSet(SignalSet&& other) noexcept {
    std::memcpy(w_, other.w_, sizeof w_);
    other.w_[0] = other.w_[1] = 0;
  }
  SignalSet& operator=(const SignalSet& other);
  SignalSet& operator=(SignalSet&& other) noexcept;
  ~SignalSet() {
    if (IsBlock()) Clear();
  }

  void Clear();
  bool IsEmpty() const { return (w_[0] | w_[1]) == 0; }
  unsigned Size() const { return IsEmpty() ? 0u : IsInline() ? 1u : unsigned(Block()[0]); }
  // Element i in stored order; 0 when empty or out of range.
  int At(unsigned i) const;
  // Binary search by magnitude. On a miss *pos is where the value would go.
  bool Find(int value, unsigned* pos = nullptr) const;
  bool Contains(int value) const { return Find(value); }
  // 0 is never stored. A value already present changes nothing.
  void Insert(int value);
  void Remove(int value);
  // Makes the set {value}, value not 0: for sets made in bulk, one word each and no call.
  void SetSingle(qint32 value) {
    if (IsBlock()) Clear();
    w_[0] = kInline;
    w_[1] = value;
  }

  bool operator==(const SignalSet& other) const;
  bool operator!=(const SignalSet& other) const { return !(*this == other); }
  // The order of the stored bytes (see signalset.cpp), not a numeric one.
  bool operator<(const SignalSet& other) const;
  bool operator>(const SignalSet& other) const { return other < *this; }
  bool operator<=(const SignalSet& other) const { return *this == other || *this < other; }
  bool operator>=(const SignalSet& other) const { return *this == other || *this > other; }

  // Little-endian: a 32-bit count, then the elements.
  bool Write(QDataStream& out) const;
  // Leaves the set as it was when the stream ends early or holds no valid set.
  bool Read(QDataStream& in);

  const qint32* begin() const { return IsEmpty() ? nullptr : IsInline() ? &w_[1] : Block() + 1; }
  const qint32* end() const { return IsEmpty() ? nullptr : IsInline() ? &w_[2] : Block() + 1 + Block()[0]; }
  size_t Hash() const;

 protected:
  // Replaces the block by one holding elements[0..n-1] (already in order). When memory
  // is short, throws std::bad_alloc and leaves the set unchanged.
  void Assign(const qint32* elements, unsigned n);
  // Replaces the block by the merge of `a` and `b` (either may be this set).
  void Combine(const SignalSet& a, const SignalSet& b, int op);

 private:
  // Empty: both words 0. One element: w_[0] is kInline and w_[1] the element (an
  // aligned block address never has 1 in its low word). More: the block address.
  static constexpr qint32 kInline = 1;
  bool IsInline() const { return w_[0] == kInline; }
  bool IsBlock() const { return !IsEmpty() && !IsInline(); }
  qint32* Block() const {
    qint32* p;
    std::memcpy(&p, w_, sizeof p);
    return p;
  }
  void SetBlock(qint32* block);  // frees the old block

  alignas(8) qint32 w_[2] = {0, 0};
};

struct SignalSetHash {
  size_t operator()(const SignalSet& s) const { return s.Hash(); }
};

// A conjunction of literals; the empty one is the constant true.
class SSignalSet : public SignalSet {
 public:
  SSignalSet() = default;
  // Literal by literal: 0 and a contradicting literal are dropped.
  SSignalSet(std::initializer_list<int> literals);
  explicit SSignalSet(const SignalSet& s) : SignalSet(s) {}

  // Refuses 0 and a literal whose inversion is present.
  bool AddLiteral(int literal);
  // AddLiteral for each of `literals` in order, in one pass over the set however many there are.
  static SSignalSet FromLiterals(const std::vector<int>& literals);
  // Every literal of this one is in `other`, or `other` is empty.
  bool Covers(const SSignalSet& other) const;
  bool Implies(const SSignalSet& other) const;
  // False when the two are orthogonal (a literal here is inverted there).
  bool Compatible(const SSignalSet& other) const;
  // The one literal of this conjunction inverted in `other`, all others being
  // in `other`; else 0. Only this conjunction's literals are looked at.
  int GlueLiteral(const SSignalSet& other) const;
  // "1" for the empty conjunction; inverted names in upper case: x1&X2.
  QString ToText(const QStringList& names) const;
  QString ToText(const NameList& names) const;  // reads only the names it shows
};

// A set of active signals; all elements positive.
class USignalSet : public SignalSet {
 public:
  USignalSet() = default;
  // Only the positive numbers are taken.
  USignalSet(std::initializer_list<int> numbers);
  explicit USignalSet(const SignalSet& s) : SignalSet(s) {}

  // Only positive signals are taken: a negative one would break the order.
  USignalSet& Add(int signal);
  USignalSet& Del(int signal);
  bool Satisfies(const SSignalSet& conjunction) const;

  // The positive numbers of `numbers`, in any order, duplicates allowed.
  static USignalSet FromSignals(std::vector<int> numbers);

  static USignalSet IntersectionOf(const USignalSet& a, const USignalSet& b);
  static USignalSet UnionOf(const USignalSet& a, const USignalSet& b);
  static USignalSet DifferenceOf(const USignalSet& a, const USignalSet& b);
  static USignalSet SymmetricDifferenceOf(const USignalSet& a, const USignalSet& b);
  USignalSet& Intersect(const USignalSet& other);
  USignalSet& Union(const USignalSet& other);
  USignalSet& Subtract(const USignalSet& other);
  USignalSet& SymmetricDifference(const USignalSet& other);

  // Names joined by "&"; empty text for the empty set.
  QString ToText(const QStringList& names) const;
  QString ToText(const NameList& names) const;  // reads only the names it shows
};

// The name of signal |k| in `names`; the model's error text for 0 or a number
// past the end of the list.
QString SignalName(const QStringList& names, int k);
QString SignalName(const NameList& names, int k);  // makes only that name
extern const char* const kBadSignalName;

// A disjunctive normal form: a list of conjunctions.
bool AnyCompatiblePair(const std::vector<SSignalSet>& terms);
// Merges pairs of terms equal but for one literal of opposite sign (a&b, a&B
// -> a). Returns 1 when the form became the constant true, else 0.
int GlueTerms(std::vector<SSignalSet>& terms);
