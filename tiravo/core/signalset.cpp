#include "tiravo/core/signalset.h"

#include "tiravo/core/namelist.h"

#include <QDataStream>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <unordered_set>

const char* const kBadSignalName = "Error_in_method_FTT_GET_NAME";

namespace {

unsigned Magnitude(qint32 v) { return v < 0 ? 0u - unsigned(v) : unsigned(v); }

// Order used by merges: by magnitude, the inverted literal first.
bool Before(qint32 a, qint32 b) {
  const unsigned ma = Magnitude(a), mb = Magnitude(b);
  return ma != mb ? ma < mb : a < b;
}

void PutLE(qint32 v, char out[4]) {
  const quint32 u = quint32(v);
  for (int i = 0; i < 4; ++i) out[i] = char((u >> (8 * i)) & 0xFF);
}

qint32 GetLE(const char in[4]) {
  quint32 u = 0;
  for (int i = 0; i < 4; ++i) u |= quint32(quint8(in[i])) << (8 * i);
  return qint32(u);
}

bool WriteWord(QDataStream& out, qint32 v) {
  char b[4];
  PutLE(v, b);
  return out.writeRawData(b, 4) == 4 && out.status() == QDataStream::Ok;
}

bool ReadWord(QDataStream& in, qint32* v) {
  char b[4];
  if (in.status() != QDataStream::Ok || in.readRawData(b, 4) != 4) return false;
  *v = GetLE(b);
  return in.status() == QDataStream::Ok;
}

}  // namespace

// ---- SignalSet ----

static_assert(sizeof(void*) == 8 && Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
              "the one-element form relies on the low word of a block address");

SignalSet::SignalSet(std::initializer_list<int> elements) {
  for (int e : elements) Insert(e);
}

SignalSet::SignalSet(const SignalSet& other) {
  if (other.IsBlock())
    Assign(other.begin(), other.Size());
  else
    std::memcpy(w_, other.w_, sizeof w_);
}

SignalSet& SignalSet::operator=(const SignalSet& other) {
  if (this == &other) return *this;
  if (other.IsBlock()) {
    Assign(other.begin(), other.Size());
  } else {
    Clear();
    std::memcpy(w_, other.w_, sizeof w_);
  }
  return *this;
}

SignalSet& SignalSet::operator=(SignalSet&& other) noexcept {
  if (this != &other) {
    Clear();
    std::memcpy(w_, other.w_, sizeof w_);
    other.w_[0] = other.w_[1] = 0;
  }
  return *this;
}

void SignalSet::Clear() {
  if (IsBlock()) delete[] Block();
  w_[0] = w_[1] = 0;
}

void SignalSet::SetBlock(qint32* block) {
  Clear();
  std::memcpy(w_, &block, sizeof block);
}

void SignalSet::Assign(const qint32* elements, unsigned n) {
  if (n == 0) {
    Clear();
    return;
  }
  if (n == 1) {
    SetSingle(elements[0]);
    return;
  }
  qint32* fresh = new qint32[n + 1];
  fresh[0] = qint32(n);
  std::memcpy(fresh + 1, elements, n * sizeof(qint32));
  SetBlock(fresh);
}

int SignalSet::At(unsigned i) const {
  if (i >= Size()) return 0;
  return begin()[i];
}

bool SignalSet::Find(int value, unsigned* pos) const {
  const unsigned n = Size();
  if (n == 0) {
    if (pos) *pos = 0;
    return false;
  }
  const qint32* e = begin();
  const unsigned mv = Magnitude(value);
  int lo = 0, hi = int(n) - 1;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (e[mid] == value) {
      if (pos) *pos = unsigned(mid);
      return true;
    }
    if (Magnitude(e[mid]) < mv)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  if (e[lo] == value) {
    if (pos) *pos = unsigned(lo);
    return true;
  }
  // A same-magnitude element of the other sign counts as not smaller.
  if (pos) *pos = Magnitude(e[lo]) < mv ? unsigned(lo) + 1 : unsigned(lo);
  return false;
}

void SignalSet::Insert(int value) {
  // 0 names no signal; the lowest int has no inversion to stand beside it.
  if (value == 0 || value == std::numeric_limits<qint32>::min()) return;
  if (IsEmpty()) {
    SetSingle(value);
    return;
  }
  unsigned pos = 0;
  if (Find(value, &pos)) return;
  const unsigned n = Size();
  qint32* fresh = new qint32[n + 2];
  fresh[0] = qint32(n + 1);
  std::memcpy(fresh + 1, begin(), pos * sizeof(qint32));
  std::memcpy(fresh + 2 + pos, begin() + pos, (n - pos) * sizeof(qint32));
  fresh[1 + pos] = value;
  SetBlock(fresh);
}

void SignalSet::Remove(int value) {
  unsigned pos = 0;
  if (!Find(value, &pos)) return;
  const unsigned n = Size();
  if (n == 1) {
    Clear();
    return;
  }
  if (n == 2) {
    SetSingle(begin()[1 - pos]);
    return;
  }
  qint32* fresh = new qint32[n];
  fresh[0] = qint32(n - 1);
  std::memcpy(fresh + 1, begin(), pos * sizeof(qint32));
  std::memcpy(fresh + 1 + pos, begin() + pos + 1, (n - 1 - pos) * sizeof(qint32));
  SetBlock(fresh);
}

bool SignalSet::operator==(const SignalSet& other) const {
  const unsigned n = Size();
  if (n != other.Size()) return false;
  return n == 0 || std::memcmp(begin(), other.begin(), n * sizeof(qint32)) == 0;
}

bool SignalSet::operator<(const SignalSet& other) const {
  if (IsEmpty()) return !other.IsEmpty();
  if (other.IsEmpty()) return false;
  const unsigned m = std::min(Size(), other.Size());
  // Compare the stored words as their little-endian bytes, unsigned.
  for (unsigned i = 0; i < m; ++i) {
    char a[4], b[4];
    PutLE(begin()[i], a);
    PutLE(other.begin()[i], b);
    for (int k = 0; k < 4; ++k) {
      if (quint8(a[k]) != quint8(b[k])) return quint8(a[k]) < quint8(b[k]);
    }
  }
  return Size() < other.Size();
}

bool SignalSet::Write(QDataStream& out) const {
  const unsigned n = Size();
  bool good = WriteWord(out, qint32(n));
  for (unsigned i = 0; good && i < n; ++i) good = WriteWord(out, begin()[i]);
  return good;
}

bool SignalSet::Read(QDataStream& in) {
  qint32 count = 0;
  if (!ReadWord(in, &count)) return false;
  if (count == 0) {
    Clear();
    return true;
  }
  if (count < 0) return false;
  // Grow while reading, so a damaged count cannot ask for gigabytes up front.
  std::vector<qint32> elements;
  try {
    elements.reserve(std::min<qint32>(count, 4096));
    for (qint32 i = 0; i < count; ++i) {
      qint32 v = 0;
      if (!ReadWord(in, &v)) return false;
      elements.push_back(v);
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  // Every search relies on the order; a block out of order is not a set.
  for (size_t i = 0; i < elements.size(); ++i) {
    if (elements[i] == 0 || elements[i] == std::numeric_limits<qint32>::min()) return false;
    if (i > 0 && Magnitude(elements[i - 1]) >= Magnitude(elements[i])) return false;
  }
  Assign(elements.data(), unsigned(elements.size()));
  return true;
}

size_t SignalSet::Hash() const {
  // Each element mixed in full (splitmix64 finaliser), so that sets of small
  // numbers spread over the buckets.
  quint64 h = 0x9E3779B97F4A7C15ULL;
  for (const qint32* p = begin(); p != end(); ++p) {
    quint64 z = h + quint64(quint32(*p)) + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    h = z ^ (z >> 31);
  }
  return size_t(h);
}

// ---- names ----

namespace {

template <typename Names>
QString NameAt(const Names& names, int k) {
  const unsigned m = Magnitude(k);
  if (m == 0 || m > unsigned(names.size())) return QString::fromLatin1(kBadSignalName);
  return names.at(int(m - 1));
}

}  // namespace

QString SignalName(const QStringList& names, int k) { return NameAt(names, k); }
QString SignalName(const NameList& names, int k) { return NameAt(names, k); }

namespace {

// Names joined by "&", inverted ones in upper case.
template <typename Names>
QString JoinedNames(const SignalSet& set, const Names& names) {
  QString text;
  for (qint32 l : set) {
    if (!text.isEmpty()) text += QLatin1Char('&');
    const QString name = SignalName(names, l);
    text += l < 0 ? name.toUpper() : name;
  }
  return text;
}

}  // namespace

// ---- SSignalSet ----

SSignalSet::SSignalSet(std::initializer_list<int> literals) {
  for (int l : literals) AddLiteral(l);
}

bool SSignalSet::AddLiteral(int literal) {
  if (literal == 0 || literal == std::numeric_limits<qint32>::min() || Contains(-literal)) return false;
  Insert(literal);
  return true;
}

SSignalSet SSignalSet::FromLiterals(const std::vector<int>& literals) {
  // The first literal of each signal stays, as literal by literal: a repeat or an inversion
  // after it is refused.
  std::vector<qint32> kept;
  kept.reserve(literals.size());
  std::unordered_set<unsigned> seen;
  seen.reserve(literals.size());
  for (int l : literals)
    if (l != 0 && l != std::numeric_limits<qint32>::min() && seen.insert(Magnitude(l)).second)
      kept.push_back(l);
  std::sort(kept.begin(), kept.end(), [](qint32 a, qint32 b) { return Magnitude(a) < Magnitude(b); });
  SSignalSet s;
  s.Assign(kept.data(), unsigned(kept.size()));
  return s;
}

bool SSignalSet::Covers(const SSignalSet& other) const {
  if (other.IsEmpty()) return true;
  for (qint32 l : *this)
    if (!other.Contains(l)) return false;
  return true;
}

bool SSignalSet::Implies(const SSignalSet& other) const {
  for (qint32 l : other)
    if (!Contains(l) || Contains(-l)) return false;
  return true;
}

bool SSignalSet::Compatible(const SSignalSet& other) const {
  for (qint32 l : *this)
    if (other.Contains(-l)) return false;
  return true;
}

int SSignalSet::GlueLiteral(const SSignalSet& other) const {
  int glue = 0;
  for (qint32 l : *this) {
    if (other.Contains(-l)) {
      if (glue != 0) return 0;
      glue = l;
    } else if (!other.Contains(l)) {
      return 0;
    }
  }
  return glue;
}

QString SSignalSet::ToText(const QStringList& names) const {
  return IsEmpty() ? QStringLiteral("1") : JoinedNames(*this, names);
}

QString SSignalSet::ToText(const NameList& names) const {
  return IsEmpty() ? QStringLiteral("1") : JoinedNames(*this, names);
}

// ---- USignalSet ----

USignalSet::USignalSet(std::initializer_list<int> numbers) {
  for (int s : numbers) Add(s);
}

USignalSet& USignalSet::Add(int signal) {
  if (signal > 0) Insert(signal);
  return *this;
}

USignalSet& USignalSet::Del(int signal) {
  Remove(signal);
  return *this;
}

bool USignalSet::Satisfies(const SSignalSet& conjunction) const {
  for (qint32 l : conjunction) {
    if (l > 0 ? !Contains(l) : Contains(-l)) return false;
  }
  return true;
}

namespace {

enum class SetOp { Intersection, Union, Difference, Symmetric };

// One pass over both ordered blocks into `out`, which has room for both.
unsigned Merge(const SignalSet& a, const SignalSet& b, SetOp op, qint32* out) {
  unsigned n = 0;
  const qint32 *p = a.begin(), *pe = a.end(), *q = b.begin(), *qe = b.end();
  while (p != pe && q != qe) {
    if (*p == *q) {
      if (op == SetOp::Intersection || op == SetOp::Union) out[n++] = *p;
      ++p;
      ++q;
    } else if (Before(*p, *q)) {
      if (op != SetOp::Intersection) out[n++] = *p;
      ++p;
    } else {
      if (op == SetOp::Union || op == SetOp::Symmetric) out[n++] = *q;
      ++q;
    }
  }
  if (op != SetOp::Intersection)
    for (; p != pe; ++p) out[n++] = *p;
  if (op == SetOp::Union || op == SetOp::Symmetric)
    for (; q != qe; ++q) out[n++] = *q;
  return n;
}

// Every element of `b` is in `a`.
bool Includes(const SignalSet& a, const SignalSet& b) {
  const qint32 *p = a.begin(), *pe = a.end();
  for (const qint32* q = b.begin(); q != b.end(); ++q) {
    while (p != pe && Before(*p, *q)) ++p;
    if (p == pe || *p != *q) return false;
    ++p;
  }
  return true;
}

}  // namespace

void SignalSet::Combine(const SignalSet& a, const SignalSet& b, int op) {
  const unsigned room = a.Size() + b.Size();
  // Small results are merged on the stack: no block unless one is kept.
  qint32 local[16];
  std::unique_ptr<qint32[]> block(room < 16 ? nullptr : new qint32[room + 1]);
  qint32* fresh = block ? block.get() : local;
  const unsigned n = Merge(a, b, SetOp(op), fresh + 1);
  if (!block || n <= 1) {
    Assign(fresh + 1, n);
    return;
  }
  fresh[0] = qint32(n);
  SetBlock(block.release());
}

USignalSet USignalSet::FromSignals(std::vector<int> numbers) {
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  const auto first = std::upper_bound(numbers.begin(), numbers.end(), 0) - numbers.begin();
  USignalSet s;
  s.Assign(numbers.data() + first, unsigned(numbers.size() - size_t(first)));
  return s;
}

USignalSet USignalSet::IntersectionOf(const USignalSet& a, const USignalSet& b) {
  USignalSet s;
  s.Combine(a, b, int(SetOp::Intersection));
  return s;
}
USignalSet USignalSet::UnionOf(const USignalSet& a, const USignalSet& b) {
  USignalSet s;
  s.Combine(a, b, int(SetOp::Union));
  return s;
}
USignalSet USignalSet::DifferenceOf(const USignalSet& a, const USignalSet& b) {
  USignalSet s;
  s.Combine(a, b, int(SetOp::Difference));
  return s;
}
USignalSet USignalSet::SymmetricDifferenceOf(const USignalSet& a, const USignalSet& b) {
  USignalSet s;
  s.Combine(a, b, int(SetOp::Symmetric));
  return s;
}

USignalSet& USignalSet::Intersect(const USignalSet& other) {
  Combine(*this, other, int(SetOp::Intersection));
  return *this;
}
USignalSet& USignalSet::Union(const USignalSet& other) {
  if (other.IsEmpty() || Includes(*this, other)) return *this;
  if (IsEmpty()) {
    *this = other;
    return *this;
  }
  Combine(*this, other, int(SetOp::Union));
  return *this;
}
USignalSet& USignalSet::Subtract(const USignalSet& other) {
  Combine(*this, other, int(SetOp::Difference));
  return *this;
}
USignalSet& USignalSet::SymmetricDifference(const USignalSet& other) {
  Combine(*this, other, int(SetOp::Symmetric));
  return *this;
}

// Its elements are all positive: no name is put in upper case.
QString USignalSet::ToText(const QStringList& names) const { return JoinedNames(*this, names); }
QString USignalSet::ToText(const NameList& names) const { return JoinedNames(*this, names); }

// ---- lists of conjunctions ----

bool AnyCompatiblePair(const std::vector<SSignalSet>& terms) {
  for (size_t i = 0; i < terms.size(); ++i)
    for (size_t j = i + 1; j < terms.size(); ++j)
      if (terms[i].Compatible(terms[j])) return true;
  return false;
}

int GlueTerms(std::vector<SSignalSet>& terms) {
  for (;;) {
    int glued = 0;
    for (int i = int(terms.size()) - 1; i >= 1; --i) {
      for (int j = i - 1; j >= 0; --j) {
        // Only a pair of equal length is equal but for the glued literal;
        // a longer partner (a&B&c beside a&b) must stay as it is.
        if (terms[i].Size() != terms[j].Size()) continue;
        const int l = terms[i].GlueLiteral(terms[j]);
        if (l == 0) continue;
        terms[i].Remove(l);
        terms.erase(terms.begin() + j);
        --i;  // the glued term moved down with the erase
        if (terms[i].IsEmpty()) return 1;
        ++glued;
      }
    }
    if (glued == 0) return 0;
  }
}
