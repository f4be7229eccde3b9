// Several targets in one, chosen by the first byte: the binary form of a
// signal set, the check of an alphabet text, merging of normal forms, and small
// tables built from the input bytes, determinized and checked for determinism.
#include <QBuffer>
#include <QDataStream>
#include <cstdint>
#include <cstdlib>

#include "tiravo/sim/determ.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void FuzzRead(const uint8_t* data, size_t size) {
  QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QDataStream in(&buffer);
  SignalSet s{5};
  const SignalSet before = s;
  if (!s.Read(in)) {
    Check(s == before);
    return;
  }
  // What was read is a set: ordered by magnitude, no 0, written back unchanged.
  for (unsigned i = 0; i + 1 < s.Size(); ++i)
    Check(std::abs(qint64(s.At(i))) < std::abs(qint64(s.At(i + 1))));
  QByteArray out;
  QBuffer outBuffer(&out);
  outBuffer.open(QIODevice::WriteOnly);
  QDataStream o(&outBuffer);
  Check(s.Write(o));
  Check(out == bytes.left(int(buffer.pos())));
  for (unsigned i = 0; i < s.Size(); ++i) Check(s.Contains(s.At(i)));
}

// Any text: the check ends, and a place it selects lies inside the text.
void FuzzAlphabet(const uint8_t* data, size_t size) {
  if (size < 1) return;
  const int required = data[0] % 8;
  const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data + 1), int(size - 1));
  const determ::AlphabetCheck c = determ::CheckAlphabet(text, QStringLiteral("[S]"), required);
  if (c.ok) {
    Check(determ::MemoLines(text).size() >= required);
    return;
  }
  Check(!c.notice.text.isEmpty());
  Check(c.position < int(text.size()) || (c.position == int(text.size()) && c.length == 0));
  Check(c.position + c.length <= int(text.size()));
}

// Terms over four signals, two bits per signal: merging keeps the function.
void FuzzGlue(const uint8_t* data, size_t size) {
  std::vector<SSignalSet> terms;
  for (size_t p = 0; p < size && terms.size() < 12; ++p) {
    SSignalSet t;
    for (int v = 1; v <= 4; ++v) {
      const unsigned bits = (data[p] >> (2 * (v - 1))) & 3;
      if (bits == 1) t.AddLiteral(v);
      if (bits == 2) t.AddLiteral(-v);
    }
    terms.push_back(t);
  }
  std::vector<SSignalSet> glued = terms;
  const int constant = GlueTerms(glued);
  Check(glued.size() <= terms.size());
  const auto value = [](const std::vector<SSignalSet>& form, const USignalSet& a) {
    for (const SSignalSet& t : form)
      if (a.Satisfies(t)) return true;
    return false;
  };
  for (int bits = 0; bits < 16; ++bits) {
    USignalSet a;
    for (int v = 1; v <= 4; ++v)
      if (bits & (1 << (v - 1))) a.Add(v);
    Check(constant == 1 ? value(terms, a) : value(terms, a) == value(glued, a));
  }
}

void FuzzTable(const uint8_t* data, size_t size) {
  FTT m;
  m.Mode = data[0] & 1 ? FTT::Abstract : FTT::Binary;
  const int inputs = 1 + (data[0] >> 1) % 4;
  size_t p = 1;
  auto next = [&]() -> unsigned { return p < size ? data[p++] : 0u; };
  while (p + 4 <= size && m.Lines.size() < 12) {
    const unsigned a = next(), b = next(), c = next(), d = next();
    const QStringList si{QStringLiteral("s%1=1").arg(1 + a % 5)};
    const QStringList y{QStringLiteral("y%1=1").arg(1 + b % 3)};
    QStringList xij;
    if (c % 7 == 0) {
      xij << "0";
    } else if (c % 7 == 1) {
      xij << "1";
    } else if (m.Mode == FTT::Abstract) {
      xij << QStringLiteral("z%1=1").arg(1 + c % unsigned(inputs));
    } else {
      for (int i = 0; i < inputs; ++i) {
        const unsigned t = (c >> (2 * i)) & 3;
        if (t == 1) xij << QStringLiteral("x%1=1").arg(i + 1);
        if (t == 2) xij << QStringLiteral("x%1=0").arg(i + 1);
      }
      if (xij.isEmpty()) xij << "1";
    }
    QStringList sj;
    for (int e = 0; e < 5; ++e)
      if (d & (1u << e)) sj << QStringLiteral("s%1=1").arg(e + 1);
    if (sj.isEmpty()) sj << "s1=1";
    m.AddLine(si, y, xij, sj);
  }
  if (m.SNames.isEmpty()) return;
  determ::Options o;
  o.initial = USignalSet{1};
  o.eventNames = m.SNames.All();
  o.complete = (data[0] & 0x80) != 0;
  o.trigger = data[0] & 0x40 ? determ::Trigger::T : determ::Trigger::D;
  o.rename = true;
  determ::Run run(m, o);
  const determ::Run::Status status = run.RunAll();
  Check(status == determ::Run::Done || status == determ::Run::NoTarget);
  if (status != determ::Run::Done) return;
  const auto r = run.TakeResult();
  Check(r && r->Lines.size() == size_t(run.Total()));
  for (const FTT_Line& line : r->Lines) {
    std::vector<SSignalSet> conditions;
    for (const LTT_Line& t : line.Transitions) {
      Check(t.Targets.Size() == 1 && t.Targets.At(0) >= 1 && t.Targets.At(0) <= run.Total());
      conditions.push_back(t.Condition);
    }
    if (m.Mode == FTT::Binary) Check(!AnyCompatiblePair(conditions));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  if (data[0] == 0xFF)
    FuzzRead(data + 1, size - 1);
  else if (data[0] == 0xFE)
    FuzzAlphabet(data + 1, size - 1);
  else if (data[0] == 0xFD)
    FuzzGlue(data + 1, size - 1);
  else
    FuzzTable(data, size);
  return 0;
}
