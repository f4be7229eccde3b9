#include "velmora/translate/testing.h"

#include <QVarLengthArray>

#include "common/nesting.h"
#include "velmora/translate/textscan.h"

namespace velmora {

using textscan::isDigitAscii;
using textscan::isOp;
using textscan::isStructural;
using textscan::isUpperAscii;
using textscan::lowerAscii;

namespace {

const char* const kMessages[28] = {
    "В выражении нет ни одного знака равенства",
    "Более одного знака равенства в вырыжении недопустимо",
    "Перед знаком равенства должно стоять название события",
    "После знака операции или равенства не может стоять знак операции",
    "После знака операции или равенства должно стоять выражение",
    "Название события или сигнала должно начинаться с определенной буквы",
    "Пропущен знак операции",
    "Данный символ нельзя использовать",
    "Отсутствует закрывающий коментарий",
    "Отсутствует открывающий коментарий",
    "После знака операции или равенства не может стоять закрывающая скобка",
    "После открывающей скобки не может стоять знак операции",
    "Отсутствует открывающая круглая скобка",
    "Отсутствует закрывающая круглая скобка",
    "Отсутствует идетификатор СКУ (\"sku:\")",
    "Два идентификатора СКУ недопустимы",
    "(Предупреждение)Отсутствует идентификатор СВФ (\"svf:\")",
    "Два идентификатора СВФ недопустимы",
    "Абстрактные сигналы обозначаютя символом z",
    "Двоичные сигналы обозначаютя символом x",
    "В каждом дизъюнктивном члене может присутствовать только один абстрактныи сигнал",
    "Сигнал без исходного события",
    "Начальное событие должно стоять после знаков '=' или 'V'",
    "Начальное событие должно называться s0",
    "Начальное событие не может стоять в круглых или итерационных скобках",
    "Отсутствует открывающая итерационная скобка",
    "Отсутствует закрывающая итерационная скобка",
    "Слишком глубокая вложенность скобок",
};

// Characters a text may not hold outside comments, in the order they are tested.
const QString kSkuForbidden = QStringLiteral("~`!@#$%^&-_+[]:'\"<>?{}/");
const QString kSvfForbidden = QStringLiteral("~`!@#$%^&-_+[]:'\"<>?{}*/");
const QString kRvasForbidden = QStringLiteral("~`!@#$%^&-_+[]:'\"<>?/");

// A tab or another invisible character would join the names around it into one name that
// looks like them, so it is refused like the forbidden characters.
bool isInvisible(QChar c) {
  const ushort u = c.unicode();
  if (u < 0x80) return u <= 0x20 || u == 0x7F;  // the ASCII answer of the test below
  return c.isSpace() || !c.isPrint();
}

// A set of ASCII characters as bits: the test of each character of a text is one look-up.
class AsciiSet {
 public:
  explicit AsciiSet(const QString& chars) {
    for (QChar c : chars)
      if (c.unicode() < 128) bits_[c.unicode() / 64] |= quint64(1) << (c.unicode() % 64);
  }
  bool contains(QChar c) const {
    const ushort u = c.unicode();
    return u < 128 && ((bits_[u / 64] >> (u % 64)) & 1u);
  }

 private:
  quint64 bits_[2] = {0, 0};
};

// ASCII letters and digits, looked up: the test runs several times for each character.
struct NameChars {
  bool is[128] = {};
  constexpr NameChars() {
    for (int c = '0'; c <= '9'; ++c) is[c] = true;
    for (int c = 'a'; c <= 'z'; ++c) is[c] = is[c - 'a' + 'A'] = true;
  }
};
constexpr NameChars kNameChars;

bool isNameChar(QChar c) {
  const ushort u = c.unicode();
  return u < 128 && kNameChars.is[u];
}

// The characters the source check of a term reads (everything else is part of a name).
bool isTermStructure(QChar c) {
  switch (c.unicode()) {
    case '*':
    case '=':
    case '|':
    case '(':
    case '{':
    case ')':
    case '}': return true;
    default: return false;
  }
}

}  // namespace

TTesting::TTesting(const QStringList& lines, QStringList* messages, DocSettings settings)
    : text_(lines), messages_(messages), settings_(settings) {
  if (messages_) messages_->clear();
}

QString TTesting::messageText(int code) {
  if (code < 0 || code > 27) return QString();
  return QString::fromUtf8(kMessages[code]);
}

int TTesting::errorCount() const { return errors_; }
int TTesting::warningCount() const { return warnings_; }

void TTesting::add(int line, int pos, int length, Message code) {
  if (code == kNoSvfHeader)  // worded as a warning, and only a warning
    ++warnings_;
  else {
    ++errors_;
    failed_ = true;
  }
  if (messages_)
    messages_->append(
        QStringLiteral("%1-%2-%3- %4").arg(line + 1).arg(pos).arg(length).arg(messageText(code)));
}

bool TTesting::CheckSku() {
  const textscan::Sections s = textscan::findSections(text_);
  // A repeated header is reported where it stands; the last one of each kind wins.
  {
    size_t a = 0, b = 0;
    while (a < s.skuRepeats.size() || b < s.svfRepeats.size()) {
      const bool takeSku =
          b >= s.svfRepeats.size() || (a < s.skuRepeats.size() && s.skuRepeats[a] < s.svfRepeats[b]);
      const int line = takeSku ? s.skuRepeats[a++] : s.svfRepeats[b++];
      add(line, 0, int(text_.at(line).size()) - 1, takeSku ? kTwoSkuHeaders : kTwoSvfHeaders);
    }
  }
  if (!s.skuFound) {
    add(0, 0, 0, kNoSkuHeader);
    return true;
  }
  pass1(s.skuStart, s.skuEnd, Mode::Sku);
  skuPass2(s.skuStart, s.skuEnd);
  if (s.svfFound) {
    // The output functions need no second pass: pass 1 checks all there is to them.
    pass1(s.svfStart, s.svfEnd, Mode::Svf);
  } else {
    add(0, 0, 0, kNoSvfHeader);
  }
  return failed_;
}

// Both rule sets, in full, for a character that is not inside a name.
void TTesting::rvasChar(int ln, int i, QChar c, const char16_t* p, int n) {
  rvasPass2Char(ln, i, c, p, n);  // leaves prev_ for the first set
  pass1Step(ln, i, c, Mode::Rvas);
}

// Every pass reads the lines alike: "//" ends the line, "/*" opens a comment and "*/" closes
// it (a single "*/" ends the comment state, whatever the depth). Each character outside
// comments other than a blank goes to significant(line, position, character, line text).
// With countDepth the comments are counted and a "*/" that closes no comment is reported.
template <typename F>
void TTesting::walk(int from, int to, bool countDepth, F significant) {
  inComment_ = false;
  for (int ln = from; ln < to; ++ln) {
    const QString& s = text_.at(ln);
    const QChar* p = s.constData();
    const int n = int(s.size());
    for (int i = 0; i < n; ++i) {
      const QChar c = p[i];
      const bool slash = c == QLatin1Char('/');
      if (slash) {
        const QChar next = i + 1 < n ? p[i + 1] : QChar();
        if (next == QLatin1Char('*')) {
          if (countDepth) ++commentDepth_;
          inComment_ = true;
        } else if (next == QLatin1Char('/')) {
          break;
        }
      }
      // A null character inside the line (read from a file) is refused like the other
      // invisible characters, once, and otherwise passed over.
      if (!inComment_ && c != QLatin1Char(' ')) {
        if (!c.isNull())
          significant(ln, i, c, s);
        else if (countDepth)
          add(ln, i, 1, kForbiddenChar);
      }
      if (slash && i > 0 && p[i - 1] == QLatin1Char('*')) {
        inComment_ = false;
        if (countDepth && --commentDepth_ < 0) add(ln, i, 1, kUnopenedComment);
      }
    }
  }
}

void TTesting::startPass1() {
  prev_ = QChar();
  commentDepth_ = 0;
  bracketDepth_ = 0;
  braceDepth_ = 0;
  nesting_ = 0;
  eqSeen_ = false;
  pending_ = false;
}

void TTesting::pass1(int from, int to, Mode mode) {
  startPass1();
  walk(from, to, true, [&](int ln, int i, QChar c, const QString&) { pass1Step(ln, i, c, mode); });
  endPass1();
}

Q_ALWAYS_INLINE void TTesting::pass1Step(int ln, int i, QChar c, Mode mode) {
  // Inside a name (a letter or digit after a letter or digit) no rule applies: most
  // characters of a text take this way.
  const bool name = isNameChar(c);
  if (name && isNameChar(prev_)) {
    noteRead(ln, i, c);
    return;
  }
  // On the right side the start of a name, an operator after a name or a group, and a
  // group opened after an operator or closed after a name need only the tests below (the
  // full rules give the same).
  if (eqSeen_) {
    bool plain = false;
    if (name && (isOp(prev_) || prev_ == QLatin1Char('(') || prev_ == QLatin1Char('{'))) {
      if (nameStartWrong(c, mode == Mode::Svf)) add(ln, i, 1, kWrongFirstLetter);
      plain = true;
    } else if ((isNameChar(prev_) || prev_ == QLatin1Char(')') || prev_ == QLatin1Char('}')) &&
               (c == QLatin1Char('|') || (c == QLatin1Char('*') && mode != Mode::Svf))) {
      plain = true;
    } else if ((prev_ == QLatin1Char('*') || prev_ == QLatin1Char('|')) &&
               (c == QLatin1Char('(') || (c == QLatin1Char('{') && mode == Mode::Rvas))) {
      // A group opened after an operator; braces are refused outside РВАС.
      if (c == QLatin1Char('(')) ++bracketDepth_;
      if (++nesting_ == vexo::kMaxNesting + 1) add(ln, i, 1, kTooDeep);
      plain = true;
    } else if (isNameChar(prev_) &&
               (c == QLatin1Char(')') || (c == QLatin1Char('}') && mode == Mode::Rvas))) {
      // A group closed after a name.
      if (nesting_ > 0) --nesting_;
      if (c == QLatin1Char(')') && --bracketDepth_ < 0) add(ln, i, 1, kNoOpenParen);
      plain = true;
    }
    if (plain) {
      noteRead(ln, i, c);
      return;
    }
  }
  pass1Char(ln, i, c, mode);
}

void TTesting::endPass1() {
  // The converters keep a last expression that lacks its ';', so it is checked as if
  // the ';' stood right after it.
  if (pending_) endOfExpression1(lastLine_, lastPos_ + 1);
  if (commentDepth_ > 0) add(int(text_.size()) - 1, 0, 0, kUnclosedComment);
}

void TTesting::endOfExpression1(int line, int pos) {
  if (!eqSeen_) add(line, 0, 0, kNoEquals);
  if (isOp(prev_)) add(line, pos, 0, kNoExpressionAfterOp);
  if (bracketDepth_ > 0) add(line, pos, 0, kNoCloseParen);
  eqSeen_ = false;
  bracketDepth_ = 0;
  nesting_ = 0;
  pending_ = false;
}

// A name on the right side starts with an event letter, or in an equation with a signal
// letter too.
bool TTesting::nameStartWrong(QChar c, bool svf) const {
  const QChar lc = lowerAscii(c);
  return isDigitAscii(c) ||
         (svf ? lc != settings_.InSob
              : (lc != settings_.InSob && lc != settings_.InAbstr && lc != settings_.InDigit));
}

void TTesting::pass1Char(int ln, int i, QChar c, Mode mode) {
  // Inside a name (a letter or digit after a letter or digit) no rule below can apply:
  // most characters of a text take this way.
  if (isNameChar(prev_) && isNameChar(c)) {
    noteRead(ln, i, c);
    return;
  }
  const bool svf = mode == Mode::Svf;
  const QChar lc = lowerAscii(c);
  const bool opened = prev_.isNull() || prev_ == QLatin1Char(';');
  if (c == QLatin1Char(';')) {
    if (!eqSeen_) add(ln, 0, 0, kNoEquals);
    eqSeen_ = false;
    nesting_ = 0;
    if (bracketDepth_ > 0) add(ln, i, 0, kNoCloseParen);
    bracketDepth_ = 0;
  }
  if (eqSeen_ && c == QLatin1Char('=')) add(ln, i, 1, kTwoEquals);
  if (c == QLatin1Char('=')) {
    // A bracket of the left side must close there: its ')' on the right would be taken
    // for one of the right side's.
    if (!eqSeen_ && bracketDepth_ > 0) {
      add(ln, i, 0, kNoCloseParen);
      bracketDepth_ = 0;
    }
    // A left side may not end with an operator ("s1*=..."): an empty target would follow.
    if (!eqSeen_ && (prev_ == QLatin1Char('*') || prev_ == QLatin1Char('|')))
      add(ln, i, 0, kNoExpressionAfterOp);
    eqSeen_ = true;
    if (opened) add(ln, i, 0, kNoEventBeforeEquals);
  }
  // A name right after an opening bracket or brace of the right side is tested like one
  // after an operator; otherwise a wrong first letter would pass and be read as an event.
  const bool afterOpen =
      eqSeen_ && (prev_ == QLatin1Char('(') || prev_ == QLatin1Char('{')) && !isStructural(c);
  if (isOp(prev_) || afterOpen) {
    if (c == QLatin1Char('*') || c == QLatin1Char('|')) add(ln, i, 1, kOpAfterOp);
    if (c == QLatin1Char(';')) add(ln, i, 0, kNoExpressionAfterOp);
    if (!isStructural(c) && nameStartWrong(c, svf)) add(ln, i, 1, kWrongFirstLetter);
    if (c == QLatin1Char(')')) add(ln, i, 0, kCloseAfterOp);
  }
  if (!eqSeen_ && opened) {
    const bool wrong = isDigitAscii(c) || (svf ? lc != settings_.OutSgn : lc != settings_.OutSob);
    if (wrong) add(ln, i, 1, kWrongFirstLetter);
  }
  static const AsciiSet sku(kSkuForbidden), svfSet(kSvfForbidden), rvas(kRvasForbidden);
  const AsciiSet& forbidden = mode == Mode::Sku ? sku : (svf ? svfSet : rvas);
  if (forbidden.contains(c) || isInvisible(c)) add(ln, i, 1, kForbiddenChar);
  if (c == QLatin1Char('(')) {
    if (eqSeen_ && prev_ != QLatin1Char('*') && prev_ != QLatin1Char('|')) add(ln, i, 0, kMissingOp);
    ++bracketDepth_;
  }
  if (prev_ == QLatin1Char('(') && isOp(c)) add(ln, i, 1, kOpAfterOpen);
  // An empty group stands for no step: in a repetition it would become a loop that needs
  // no condition, and in a product a step without its factor.
  if (eqSeen_ && (prev_ == QLatin1Char('(') || prev_ == QLatin1Char('{')) &&
      (c == QLatin1Char(')') || c == QLatin1Char('}')))
    add(ln, i, 0, kNoExpressionAfterOp);
  // The converters walk a group recursively: nesting past the limit is refused here, once
  // per expression, so that they never see it.
  if (c == QLatin1Char('(') || c == QLatin1Char('{')) {
    if (++nesting_ == vexo::kMaxNesting + 1) add(ln, i, 1, kTooDeep);
  } else if ((c == QLatin1Char(')') || c == QLatin1Char('}')) && nesting_ > 0) {
    --nesting_;
  }
  if (c == QLatin1Char(')')) {
    --bracketDepth_;
    if (bracketDepth_ < 0) add(ln, i, 1, kNoOpenParen);
  }
  // A name glued to a closing bracket would be read as a different product.
  if (prev_ == QLatin1Char(')') && !isStructural(c)) add(ln, i, 0, kMissingOp);
  if (!eqSeen_ && !opened && c != QLatin1Char(';')) leftSide(ln, i, c, mode);
  noteRead(ln, i, c);
}

// The left side is read as the target's name (with its output list in РВАС): a character
// that does not belong there would become part of a name and another automaton.
void TTesting::leftSide(int ln, int i, QChar c, Mode mode) {
  const ushort u = c.unicode();
  if (mode == Mode::Sku) {
    // Targets are joined by '*'; brackets or '|' would stay in the target's name.
    if (u == '(' || u == ')' || u == '|') {
      add(ln, i, 1, kForbiddenChar);
    } else if (prev_ == QLatin1Char('*') && !isStructural(c)) {
      // Every target needs the target letter, not only the first one. The test after an
      // operator has already refused a letter that no name may start with.
      const QChar lc = lowerAscii(c);
      const bool refused =
          isDigitAscii(c) || (lc != settings_.InSob && lc != settings_.InAbstr && lc != settings_.InDigit);
      if (!refused && lc != settings_.OutSob) add(ln, i, 1, kWrongFirstLetter);
    }
  } else if (mode == Mode::Rvas) {
    // One event, then at most one list of outputs: "t(y1,y2)". Braces belong to the right
    // side only (one on the left would also hide the depth of those on the right).
    if (u == '*' || u == '|' || u == '{' || u == '}' || (u == '(' && prev_ == QLatin1Char(')'))) {
      add(ln, i, 1, kForbiddenChar);
    } else if (bracketDepth_ > 0 && (prev_ == QLatin1Char('(') || prev_ == QLatin1Char(','))) {
      // Every output becomes an output function: it needs the output letter.
      if (isDigitAscii(c) || lowerAscii(c) != settings_.OutSgn) add(ln, i, 1, kWrongFirstLetter);
    }
  }
}

void TTesting::signalKind(int ln, int i, QChar c, bool perTerm, bool later) {
  const auto add = [&](int line, int pos, int length, Message code) {
    if (later)
      later_.push_back(Later{line, pos, length, code});
    else
      this->add(line, pos, length, code);
  };
  const QChar lc = lowerAscii(c);
  if (lc == settings_.InAbstr && isUpperAscii(c)) {
    // An abstract signal has no inverted form.
    add(ln, i, 1, kAbstractLetter);
  } else if (lc == settings_.InAbstr) {
    if (perTerm && absUsed_ && absInTerm_) add(ln, i, 1, kTwoAbstractInTerm);
    if (binUsed_)
      add(ln, i, 1, kBinaryLetter);
    else
      absUsed_ = true;
    absInTerm_ = true;
  } else if (lc == settings_.InDigit) {
    if (absUsed_)
      add(ln, i, 1, kAbstractLetter);
    else
      binUsed_ = true;
  }
}

void TTesting::skuPass2(int from, int to) {
  prev_ = QChar();
  absUsed_ = binUsed_ = absInTerm_ = false;
  bracketDepth_ = braceDepth_ = 0;
  statement_.clear();
  groups_.clear();
  walk(from, to, false, [&](int ln, int i, QChar c, const QString&) {
    // Inside a name nothing below applies: only a name's first character is read.
    if (isNameChar(prev_) && isNameChar(c)) {
      prev_ = c;
      return;
    }
    // A term ends at '|' or '='. Inside a bracket group a '|' only starts the next
    // alternative of the group: each one goes on from what stood before the group, and
    // after the group the term holds an abstract signal when any alternative did.
    if (c == QLatin1Char('=')) {
      absInTerm_ = false;
      groups_.clear();
    } else if (c == QLatin1Char('(')) {
      groups_.append(GroupTerm{absInTerm_, false});
    } else if (c == QLatin1Char('|')) {
      if (groups_.isEmpty()) {
        absInTerm_ = false;
      } else {
        groups_.last().any = groups_.last().any || absInTerm_;
        absInTerm_ = groups_.last().before;
      }
    } else if (c == QLatin1Char(')') && !groups_.isEmpty()) {
      absInTerm_ = groups_.last().any || absInTerm_;
      groups_.removeLast();
    } else if (c == QLatin1Char(';')) {
      groups_.clear();
    }
    // A name starts after an operator, '=' or an opening bracket.
    if (isOp(prev_) || prev_ == QLatin1Char('(')) signalKind(ln, i, c, true, false);
    prev_ = c;
    if (c == QLatin1Char(';')) checkSources();
    // Of a name only its first character matters to the source check.
    else if (statement_.empty() || isTermStructure(c) || isTermStructure(statement_.back().c))
      statement_.push_back(Sig{c, ln, i});
  });
  checkSources();
}

// Every term must name at least one source event once its brackets are multiplied out,
// otherwise its row would continue the source state of the row above.
void TTesting::checkSources() {
  size_t k = 0;
  while (k < statement_.size() && statement_.at(k).c != QLatin1Char('=')) ++k;
  if (k >= statement_.size()) {
    statement_.clear();
    return;
  }
  struct Level {
    QChar open;
    bool all = true;         // every finished alternative names a source
    bool hasSource = false;  // the current alternative names a source
    bool empty = true;       // the current alternative has no factor yet
    int line = 0, pos = 0;   // the current alternative's first character
  };
  QVarLengthArray<Level, 8> levels;
  levels.append(Level{});
  bool nameStart = true;
  auto isEvent = [&](QChar c) {
    const QChar lc = lowerAscii(c);
    return lc != settings_.InAbstr && lc != settings_.InDigit;
  };
  auto endAlternative = [&]() {
    Level& l = levels.last();
    if (levels.size() == 1) {
      if (!l.empty && !l.hasSource) add(l.line, l.pos, 1, kSignalWithoutSource);
    } else {
      l.all = l.all && l.hasSource;
    }
    l.hasSource = false;
    l.empty = true;
  };
  auto startFactor = [&](const Sig& s) {
    Level& l = levels.last();
    if (l.empty) {
      l.line = s.line;
      l.pos = s.pos;
    }
    l.empty = false;
  };
  auto closeLevel = [&]() {
    endAlternative();
    const bool groupHas = levels.last().all;
    levels.removeLast();
    levels.last().hasSource = levels.last().hasSource || groupHas;
    nameStart = true;
  };
  for (size_t j = k + 1; j < statement_.size(); ++j) {
    const Sig& s = statement_.at(j);
    const ushort u = s.c.unicode();
    if (u == '*' || u == '=') {
      nameStart = true;
    } else if (u == '|') {
      endAlternative();
      nameStart = true;
    } else if (u == '(' || u == '{') {
      startFactor(s);
      levels.append(Level{s.c});
      nameStart = true;
    } else if (u == ')' || u == '}') {
      const ushort open = u == ')' ? '(' : '{';
      if (levels.size() > 1 && levels.last().open.unicode() == open) closeLevel();
    } else if (nameStart) {
      startFactor(s);
      if (isEvent(s.c)) levels.last().hasSource = true;
      nameStart = false;
    }
  }
  while (levels.size() > 1) closeLevel();
  endAlternative();
  statement_.clear();
}

}  // namespace velmora
