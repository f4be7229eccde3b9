#pragma once
// РВАС text -> СКУ text. Each product of at most two factors is one transition step;
// longer products are cut into steps through fresh events, iteration groups become
// loops through their target, bracket groups are multiplied out, and the output lists
// on the left of the expressions become the СВФ section.
#include <QStringList>

#include <deque>
#include <string>
#include <vector>

#include "common/nesting.h"
#include "velmora/documents/formats/docsettings.h"
#include "velmora/translate/nametable.h"
#include "velmora/translate/textscan.h"

namespace velmora {

class TRvasSku {
 public:
  // out receives the СКУ lines; the caller passes it empty.
  TRvasSku(const QStringList& rvas, QStringList* out, DocSettings s);
  // Relies on a text that passed the РВАС check. Throws VexoError only when one expression
  // would give an unreasonably large result.
  void Convert();

  static const int kMaxOutput = 500000;            // characters of СКУ text from one expression
  static const int kMaxDepth = vexo::kMaxNesting;  // nesting of the conversion steps

 private:
  // A product as the factors it is made of, which stay in the parsed expression: steps
  // take factors apart and put them together without copying the groups inside.
  struct Factors {
    const textscan::Factor* const* at;
    size_t size;
    const textscan::Factor& back() const { return *at[size - 1]; }
    Factors head() const { return {at, size - 1}; }
  };
  // An event of the text, or a fresh one made by the conversion ("s" and its number).
  struct Event {
    QStringView name;
    int fresh = 0;
  };
  // The equation being written: its text so far and whether it has a term yet.
  struct Equation {
    std::u16string* text;
    bool any = false;
  };

  int fresh();
  void writeEquation(Event target, const Factors* alts, size_t count);
  void convertAlt(Event target, Factors alt, Equation* eq);
  qsizetype startTerm(Equation* eq);
  std::u16string& buffer();  // the empty buffer of the current nesting
  void writeLine(const std::u16string& line);
  void charge(qsizetype n);
  void appendFactor(std::u16string* s, const textscan::Factor& f) const;

  const QStringList text_;
  QStringList* out_;
  DocSettings settings_;
  QString statements_;  // end to end
  std::vector<qsizetype> ends_;
  textscan::ParsedSum rhs_;  // the right side being converted
  int counter_ = 0;
  std::vector<int> used_;  // numbers of the text's own names "s1", "s2", ...: fresh events skip them
  size_t nextUsed_ = 0;
  std::deque<std::u16string> lines_;  // one buffer per nesting of equations, kept from one to the next
  int level_ = 0;
  NameViewTable outputIndex_;  // outputs in order of first declaration
  QStringList outputEvents_;
  qsizetype produced_ = 0;
  int depth_ = 0;
};

}  // namespace velmora
