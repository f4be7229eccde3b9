// The РВАС check: one walk over the text for both rule sets.
#include <QString>

#include "common/nesting.h"
#include "velmora/translate/testing.h"
#include "velmora/translate/textscan.h"

namespace velmora {

using textscan::isDigitAscii;
using textscan::isOp;
using textscan::lowerAscii;

namespace {

// Classes of characters for the РВАС walk: each character is classed once, by one look-up.
enum CharClass : unsigned {
  kOther,
  kName,
  kBlank,
  kNull,
  kSlash,
  kEq,
  kStar,
  kBar,
  kSemi,
  kLParen,
  kLBrace,
  kRParen,
  kRBrace,
};
constexpr unsigned bit(unsigned k) { return 1u << k; }
constexpr unsigned kOps = bit(kEq) | bit(kStar) | bit(kBar);
constexpr unsigned kOpens = bit(kLParen) | bit(kLBrace);
constexpr unsigned kCloses = bit(kRParen) | bit(kRBrace);
constexpr bool in(unsigned k, unsigned set) { return (bit(k) & set) != 0; }

struct CharClasses {
  unsigned char of[128] = {};
  constexpr CharClasses() {
    for (int c = '0'; c <= '9'; ++c) of[c] = kName;
    for (int c = 'a'; c <= 'z'; ++c) of[c] = of[c - 'a' + 'A'] = kName;
    of[0] = kNull;
    of[int(' ')] = kBlank;
    of[int('/')] = kSlash;
    of[int('=')] = kEq;
    of[int('*')] = kStar;
    of[int('|')] = kBar;
    of[int(';')] = kSemi;
    of[int('(')] = kLParen;
    of[int('{')] = kLBrace;
    of[int(')')] = kRParen;
    of[int('}')] = kRBrace;
  }
};
constexpr CharClasses kCharClasses;

inline unsigned charClass(char16_t c) { return c < 128 ? unsigned(kCharClasses.of[c]) : unsigned(kOther); }

}  // namespace

// Both rule sets read the same characters, so they share one walk; the nesting rules report
// after the first set has finished, as if they had read the text after it.
bool TTesting::Check() {
  startPass1();
  startRvasPass2();
  inComment_ = false;
  for (int ln = 0; ln < int(text_.size()); ++ln) rvasLine(ln);
  const bool pending = pending_;
  endPass1();
  for (const Later& m : later_) add(m.line, m.pos, m.length, m.code);
  later_.clear();
  if (pending && braceDepth_ > 0) add(lastLine_, lastPos_ + 1, 0, kNoCloseBrace);
  return failed_;
}

// One line of a РВАС text, read as walk() reads it, each character classed once. The
// characters of a correct statement (the target with its outputs, '=', a name after an
// operator or bracket, an operator after a name or group, a group opened after an operator or
// closed after a name, ';') take one test for both rule sets, which give the same for them as
// their full rules; everything else goes through the full rules of both.
void TTesting::rvasLine(int ln) {
  const QString& s = text_.at(ln);
  const char16_t* const p = reinterpret_cast<const char16_t*>(s.constData());
  const int n = int(s.size());
  for (int i = 0; i < n; ++i) {
    const char16_t c = p[i];
    if (inComment_ && c != u'/') continue;
    const unsigned k = charClass(c);
    if (k == kBlank) continue;
    const unsigned pk = charClass(prev_.unicode());
    switch (k) {
      case kName: {
        if (pk == kName) {  // inside a name nothing applies: skip to its end
          while (i + 1 < n && charClass(p[i + 1]) == kName) ++i;
          noteRead(ln, i, QChar(p[i]));
          continue;
        }
        const unsigned r = roleOf(c);
        if (eqSeen_ && in(pk, kOps | kOpens)) {
          if (in(pk, kOps)) initialEvent(ln, i, p, n);
          if (r & kSignal) signalKindLater(ln, i, c, r);
          if (r & kWrongOnRight) add(ln, i, 1, kWrongFirstLetter);
        } else if (!eqSeen_ && in(pk, bit(kNull) | bit(kSemi))) {  // the target
          if (r & kWrongTarget) add(ln, i, 1, kWrongFirstLetter);
        } else if (!eqSeen_ && pk == kLParen) {  // the first output
          if (r & kSignal) signalKindLater(ln, i, c, r);
          if (bracketDepth_ > 0 && (r & kWrongOutput)) add(ln, i, 1, kWrongFirstLetter);
        } else {
          break;
        }
        noteRead(ln, i, QChar(c));
        continue;
      }
      case kStar:
      case kBar:
        if (eqSeen_ && in(pk, bit(kName) | kCloses)) {
          noteRead(ln, i, QChar(c));
          continue;
        }
        break;
      case kLParen:
      case kLBrace:
        if (eqSeen_ && in(pk, bit(kStar) | bit(kBar))) {
          initialEvent(ln, i, p, n);
          const unsigned r = roleOf(c);
          if (r & kSignal) signalKindLater(ln, i, c, r);
          opens_.push_back(char(c));
          if (c == u'(') {
            ++bracketDepth2_;
            ++bracketDepth_;
          } else {
            ++braceDepth_;
          }
          if (++nesting_ == vexo::kMaxNesting + 1) add(ln, i, 1, kTooDeep);
        } else if (!eqSeen_ && pk == kName && c == u'(') {  // the target's outputs
          ++bracketDepth2_;
          opens_.push_back('(');
          ++bracketDepth_;
          if (++nesting_ == vexo::kMaxNesting + 1) add(ln, i, 1, kTooDeep);
        } else {
          break;
        }
        noteRead(ln, i, QChar(c));
        continue;
      case kRParen:
      case kRBrace:
        if (pk != kName) break;
        if (eqSeen_) {
          if (nesting_ > 0) --nesting_;
          if (c == u')') {
            --bracketDepth2_;
            closeGroup(ln, i, '(');
            if (--bracketDepth_ < 0) add(ln, i, 1, kNoOpenParen);
          } else {
            if (--braceDepth_ < 0) later_.push_back(Later{ln, i, 1, kNoOpenBrace});
            closeGroup(ln, i, '{');
          }
        } else if (c == u')') {  // the end of the target's outputs
          --bracketDepth2_;
          closeGroup(ln, i, '(');
          if (nesting_ > 0) --nesting_;
          if (--bracketDepth_ < 0) add(ln, i, 1, kNoOpenParen);
        } else {
          break;
        }
        noteRead(ln, i, QChar(c));
        continue;
      case kEq:
        if (!eqSeen_ && in(pk, bit(kName) | bit(kRParen))) {  // the end of the left side
          eqSeen2_ = true;
          if (bracketDepth_ > 0) {
            add(ln, i, 0, kNoCloseParen);
            bracketDepth_ = 0;
          }
          eqSeen_ = true;
          noteRead(ln, i, QChar(c));
          continue;
        }
        break;
      case kSemi:
        if (eqSeen_ && in(pk, bit(kName) | kCloses)) {  // the end of a statement
          eqSeen2_ = false;
          if (braceDepth_ > 0) later_.push_back(Later{ln, i, 0, kNoCloseBrace});
          braceDepth_ = 0;
          bracketDepth2_ = 0;
          opens_.clear();
          eqSeen_ = false;
          nesting_ = 0;
          if (bracketDepth_ > 0) add(ln, i, 0, kNoCloseParen);
          bracketDepth_ = 0;
          noteRead(ln, i, QChar(c));
          continue;
        }
        break;
      case kNull:  // refused like the other invisible characters, once, and otherwise passed over
        add(ln, i, 1, kForbiddenChar);
        continue;
      case kSlash: {
        const char16_t next = i + 1 < n ? p[i + 1] : u'\0';
        if (next == u'*') {
          ++commentDepth_;
          inComment_ = true;
        } else if (next == u'/') {
          return;
        }
        if (!inComment_) rvasChar(ln, i, QChar(c), p, n);
        if (i > 0 && p[i - 1] == u'*') {
          inComment_ = false;
          if (--commentDepth_ < 0) add(ln, i, 1, kUnopenedComment);
        }
        continue;
      }
      default: break;
    }
    rvasChar(ln, i, QChar(c), p, n);
  }
}

void TTesting::startRvasPass2() {
  opens_.clear();
  absUsed_ = binUsed_ = absInTerm_ = false;
  eqSeen2_ = false;
  bracketDepth2_ = braceDepth_ = 0;
  later_.clear();
  initial_ = reinterpret_cast<const char16_t*>(settings_.RvasS0.constData());
  initialSize_ = int(settings_.RvasS0.size());
  for (ushort c = 0; c < 128; ++c) roles_[c] = static_cast<unsigned char>(roleFor(QChar(c)));
}

// The word after an operator runs to the next operator of the line. Whether it is the initial
// event is told without taking it out; its length is counted only for a message.
void TTesting::initialEvent(int ln, int i, const char16_t* p, int n) {
  const int k = i + initialSize_;
  bool isInitial = k <= n;
  for (int j = 0; isInitial && j < initialSize_; ++j) isInitial = p[i + j] == initial_[j];
  isInitial = isInitial && (k == n || isOp(QChar(p[k])));
  const bool nested = bracketDepth2_ != 0 || braceDepth_ != 0;
  const bool afterStar = prev_ == QLatin1Char('*');
  if (isInitial ? !nested && !afterStar : afterStar || nested) return;
  int end = i;
  while (end < n && !isOp(QChar(p[end]))) ++end;
  const int length = end - i;
  if (isInitial && nested) later_.push_back(Later{ln, i, length, kInitialInBrackets});
  if (isInitial && afterStar) later_.push_back(Later{ln, i, length, kInitialPlace});
  if (!isInitial && !afterStar && !nested) later_.push_back(Later{ln, i, length, kInitialName});
}

// The converters read the signal kind of the text as the СКУ check does; a РВАС product is
// cut into steps, so several abstract signals may follow each other. r is the role of c.
void TTesting::signalKindLater(int ln, int i, char16_t c, unsigned r) {
  if (r & kBinary) {
    if (absUsed_)
      later_.push_back(Later{ln, i, 1, kAbstractLetter});
    else
      binUsed_ = true;
  } else {
    signalKind(ln, i, QChar(c), false, true);
  }
}

// What the configured letters make of a character starting a name.
unsigned TTesting::roleFor(QChar c) const {
  const QChar lc = lowerAscii(c);
  const bool digit = isDigitAscii(c);
  unsigned r = 0;
  if (lc == settings_.InAbstr || lc == settings_.InDigit) r |= kSignal;
  if (lc != settings_.InAbstr && lc == settings_.InDigit) r |= kBinary;
  if (nameStartWrong(c, false)) r |= kWrongOnRight;
  if (digit || lc != settings_.OutSob) r |= kWrongTarget;
  if (digit || lc != settings_.OutSgn) r |= kWrongOutput;
  return r;
}

// Brackets and braces nest: one may not close while the other opened inside it is open.
void TTesting::closeGroup(int ln, int i, char open) {
  if (opens_.empty()) return;
  if (opens_.back() == open)
    opens_.pop_back();
  else
    later_.push_back(Later{ln, i, 0, open == '(' ? kNoCloseBrace : kNoCloseParen});
}

// The nesting rules of РВАС for one character that is not inside a name; prev_ is the
// character read before it. Messages wait in later_.
void TTesting::rvasPass2Char(int ln, int i, QChar c, const char16_t* p, int n) {
  const auto add = [&](int line, int pos, int length, Message code) {
    later_.push_back(Later{line, pos, length, code});
  };
  const ushort u = c.unicode();
  const bool afterOp = isOp(prev_);
  if (u == ';') {
    eqSeen2_ = false;
    if (braceDepth_ > 0) add(ln, i, 0, kNoCloseBrace);
    braceDepth_ = 0;
    bracketDepth2_ = 0;
  }
  if (afterOp) {
    if (u == '}') add(ln, i, 0, kCloseAfterOp);
    initialEvent(ln, i, p, n);
  }
  if (afterOp || prev_ == QLatin1Char('(') || prev_ == QLatin1Char('{')) {
    const unsigned r = roleOf(u);
    if (r & kSignal) signalKindLater(ln, i, u, r);
  }
  switch (u) {
    case '(':
      ++bracketDepth2_;
      opens_.push_back(char(u));
      break;
    case '{':
      if (eqSeen2_ && prev_ != QLatin1Char('*') && prev_ != QLatin1Char('|')) add(ln, i, 0, kMissingOp);
      ++braceDepth_;
      opens_.push_back(char(u));
      break;
    case ')':
      --bracketDepth2_;
      closeGroup(ln, i, '(');
      break;
    case '}':
      --braceDepth_;
      if (braceDepth_ < 0) add(ln, i, 1, kNoOpenBrace);
      closeGroup(ln, i, '{');
      break;
    case '=':
    case '*':
    case '|':
      if (u == '=') eqSeen2_ = true;
      if (prev_ == QLatin1Char('{')) add(ln, i, 1, kOpAfterOpen);
      break;
    case ';': opens_.clear(); break;
    default:
      if (prev_ == QLatin1Char('}')) add(ln, i, 0, kMissingOp);
      break;
  }
}

}  // namespace velmora
