#pragma once
// Reading helpers shared by the checker and the converters, so that all of them agree
// on what is a comment, a section and a statement.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <vector>

#include "common/nesting.h"

namespace velmora {

namespace textscan {

// Character at i, or the null character outside the string: "the next character" at the
// end of a line never reads past it.
inline QChar at(const QString& s, int i) { return (i >= 0 && i < s.size()) ? s.at(i) : QChar(); }

// Only ASCII letters change case; a Cyrillic letter never equals a configured Latin letter.
inline QChar lowerAscii(QChar c) {
  const ushort u = c.unicode();
  return (u >= 'A' && u <= 'Z') ? QChar(ushort(u + 32)) : c;
}
inline bool isUpperAscii(QChar c) { return c.unicode() >= 'A' && c.unicode() <= 'Z'; }
inline bool isDigitAscii(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
// '=' and the operators: what a name or a group follows.
inline bool isOp(QChar c) { return c == QLatin1Char('=') || c == QLatin1Char('*') || c == QLatin1Char('|'); }
// Characters that end a name: operators, brackets, braces, '=' and ';'.
inline bool isStructural(QChar c) {
  switch (c.unicode()) {
    case '=':
    case '*':
    case '|':
    case ';':
    case '(':
    case ')':
    case '{':
    case '}': return true;
    default: return false;
  }
}

// The line without blanks, lower-cased: "sku:" and "svf:" headers are recognised by it.
QString headerKey(const QString& line);

// Where the two sections of a СКУ text lie (0-based line indices, end exclusive).
struct Sections {
  bool skuFound = false, svfFound = false;
  int skuHeader = -1, svfHeader = -1;  // the last header line of each kind
  int skuStart = 0, skuEnd = 0, svfStart = 0, svfEnd = 0;
  std::vector<int> skuRepeats, svfRepeats;  // header lines that repeat an earlier one
};
Sections findSections(const QStringList& lines);

// Collects statements: comments and blanks are dropped, ';' ends a statement. The comment
// state carries from line to line.
class StatementReader {
 public:
  // The statements go end to end into `text`, and where each one ends into `ends`: a long
  // text is read without a string for each statement.
  StatementReader(QString* text, std::vector<qsizetype>* ends) : text_(text), ends_(ends) {}
  void readLine(const QString& line);
  // A non-empty statement left without ';' is kept.
  void flush();

 private:
  QString* text_;
  std::vector<qsizetype>* ends_;
  bool inComment_ = false;
};

// A right side parsed into alternatives of products. Factors are names or bracket groups
// ('(' or '{'). Empty factors are dropped; a name right after a group, or a group right
// after a name, is read as a further factor; a closing bracket without its opening one is
// ignored and groups left open are closed at the end.
// The parse is flat: the factors of a product, and the alternatives of a group, lie side by
// side in two arrays, so a long text is parsed without a block per factor and the arrays
// are kept from one expression to the next.
struct Range {
  uint32_t first = 0, count = 0;
};
struct Factor {
  QStringView name;  // for a name: a view of the parsed text, or of a name the parse keeps
  ushort group = 0;  // '(' or '{' for a group, 0 for a name
  Range alts;        // the group's alternatives (products of the parse)
  bool isName() const { return group == 0; }
};
class ParsedSum {
 public:
  // Returns false when brackets nest deeper than maxDepth (the result is then incomplete).
  // The text must outlive the result: names are views of it.
  bool parse(QStringView text, int maxDepth = vexo::kMaxNesting);

  Range top() const { return top_; }  // the whole text's alternatives
  const Range& product(uint32_t k) const { return products_[k]; }
  const Factor* factors(Range product) const { return factors_.data() + product.first; }
  // Every factor of the parse, numbered from 0 as factors() lays them out.
  uint32_t factorCount() const { return uint32_t(factors_.size()); }
  const Factor& factor(uint32_t k) const { return factors_[k]; }

 private:
  void endName(QStringView text, qsizetype i);
  void endProduct();
  void closeGroup(QStringView text, qsizetype i);

  struct Frame {
    ushort open;
    size_t factorBase, productBase;  // where the frame's pending entries start
  };
  std::vector<Factor> factors_;
  std::vector<Range> products_;
  Range top_;
  std::deque<QString> cleaned_;  // names that held stray brackets, without them
  // The groups being read: their products' factors and finished products wait on stacks.
  std::vector<Frame> frames_;
  std::vector<Factor> pendingFactors_;
  std::vector<Range> pendingProducts_;
  std::vector<qsizetype> strays_;  // stray closing brackets inside the name being read
  qsizetype nameStart_ = 0;
};

}  // namespace textscan

}  // namespace velmora
