#pragma once
// Reading helpers shared by the checker and the converters, so that all of them agree
// on what is a comment, a section and a statement.
#include <QString>
#include <QStringList>

#include <vector>

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
// Characters that end a name: operators, brackets, braces, '=' and ';'.
inline bool isStructural(QChar c) {
  switch (c.unicode()) {
    case '=': case '*': case '|': case ';': case '(': case ')': case '{': case '}': return true;
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
  explicit StatementReader(QStringList* out) : out_(out) {}
  // The statements go end to end into `text`, and where each one ends into `ends`: a long
  // text is read without a string for each statement.
  StatementReader(QString* text, std::vector<qsizetype>* ends) : text_(text), ends_(ends) {}
  void readLine(const QString& line);
  // A non-empty statement left without ';' is kept.
  void flush();

 private:
  void append(const QChar* p, qsizetype n) {
    if (text_) text_->append(p, n);
    else pending_.append(p, n);
  }
  void endStatement();

  QStringList* out_ = nullptr;
  QString* text_ = nullptr;
  std::vector<qsizetype>* ends_ = nullptr;
  QString pending_;
  bool inComment_ = false;
};

// A right side parsed into alternatives of products. Factors are names or bracket groups
// ('(' or '{'). Empty factors are dropped; a name right after a group, or a group right
// after a name, is read as a further factor; a closing bracket without its opening one is
// ignored and groups left open are closed at the end.
struct Factor;
using Product = std::vector<Factor>;
using Sum = std::vector<Product>;
struct Factor {
  QString name;     // for a name
  ushort group = 0;  // '(' or '{' for a group, 0 for a name
  Sum alts;          // the group's alternatives
  bool isName() const { return group == 0; }
};

// Returns false when brackets nest deeper than maxDepth (the result is then incomplete).
bool parseSum(const QString& text, Sum* out, int maxDepth = 1000);
QString toText(const Factor& f);
QString toText(const Product& p);
QString toText(const Sum& s);

}  // namespace textscan
