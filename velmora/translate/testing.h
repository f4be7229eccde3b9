#pragma once
// Syntax checker of the РВАС text and of the СКУ text with its СВФ section.
// It only reports: every fault becomes one line "L-P-N- text" in the message list
// (1-based line, 0-based position, number of characters to select, text).
#include <QStringList>
#include <QVector>

#include <vector>

#include "velmora/documents/formats/docsettings.h"

namespace velmora {

class TTesting {
 public:
  // Clears the message list.
  TTesting(const QStringList& lines, QStringList* messages, DocSettings settings);
  bool Check();              // РВАС text; true when errors were found
  bool CheckSku();           // СКУ text; true when errors were found
  int errorCount() const;    // messages that are errors
  int warningCount() const;  // messages that are only warnings (listed, but the check passes)

  // The messages, by the codes that number them (message 16 is only a warning).
  enum Message : int {
    kNoEquals,             // 0: no '='
    kTwoEquals,            // 1: more than one '='
    kNoEventBeforeEquals,  // 2: no event before '='
    kOpAfterOp,            // 3: operator after an operator or '='
    kNoExpressionAfterOp,  // 4: no expression after an operator or '='
    kWrongFirstLetter,     // 5: a name starts with a wrong letter
    kMissingOp,            // 6: operator missing
    kForbiddenChar,        // 7: forbidden character
    kUnclosedComment,      // 8: comment not closed
    kUnopenedComment,      // 9: comment not opened
    kCloseAfterOp,         // 10: ')' after an operator or '='
    kOpAfterOpen,          // 11: operator after '('
    kNoOpenParen,          // 12: '(' missing
    kNoCloseParen,         // 13: ')' missing
    kNoSkuHeader,          // 14: no "sku:"
    kTwoSkuHeaders,        // 15: two "sku:"
    kNoSvfHeader,          // 16: no "svf:" (warning)
    kTwoSvfHeaders,        // 17: two "svf:"
    kAbstractLetter,       // 18: abstract signals are z
    kBinaryLetter,         // 19: binary signals are x
    kTwoAbstractInTerm,    // 20: two abstract signals in one term
    kSignalWithoutSource,  // 21: signal without a source event
    kInitialPlace,         // 22: initial event not after '=' or 'V'
    kInitialName,          // 23: initial event not named s0
    kInitialInBrackets,    // 24: initial event inside brackets
    kNoOpenBrace,          // 25: '{' missing
    kNoCloseBrace,         // 26: '}' missing
    kTooDeep,              // 27: brackets nested too deep
  };

  // The text of a message code (0..27).
  static QString messageText(int code);

 private:
  enum class Mode { Rvas, Sku, Svf };
  struct Sig {  // one significant character of the statement being read
    QChar c;
    int line, pos;
  };

  void add(int line, int pos, int length, Message code);
  template <typename F>
  void walk(int from, int to, bool countDepth, F significant);
  void pass1(int from, int to, Mode mode);
  void startPass1();
  void pass1Step(int line, int i, QChar c, Mode mode);  // any significant character
  void endPass1();
  void pass1Char(int line, int i, QChar c, Mode mode);
  bool nameStartWrong(QChar c, bool svf) const;
  // The character just read: the next one is read after it, and an expression it leaves
  // open ends where it stands.
  void noteRead(int line, int pos, QChar c) {
    prev_ = c;
    pending_ = c != QLatin1Char(';');
    lastLine_ = line;
    lastPos_ = pos;
  }
  void endOfExpression1(int line, int pos);
  void skuPass2(int from, int to);
  void checkSources();
  void startRvasPass2();
  void rvasLine(int line);
  void rvasChar(int line, int i, QChar c, const char16_t* text, int size);
  void rvasPass2Char(int line, int i, QChar c, const char16_t* text, int size);
  void initialEvent(int line, int i, const char16_t* text, int size);  // a word after an operator
  // The roles of a character that starts a name, as bits.
  enum : unsigned {
    kSignal = 1,        // an abstract or binary signal
    kBinary = 2,        // a binary signal
    kWrongOnRight = 4,  // no name on the right side starts with it
    kWrongTarget = 8,   // no target starts with it
    kWrongOutput = 16,  // no output starts with it
  };
  unsigned roleFor(QChar c) const;
  unsigned roleOf(char16_t c) const { return c < 128 ? roles_[c] : roleFor(QChar(c)); }
  void signalKindLater(int line, int i, char16_t c, unsigned role);
  void closeGroup(int line, int i, char open);
  // later: the message waits in later_ (the nesting rules of РВАС report after the others).
  void signalKind(int line, int i, QChar c, bool perTerm, bool later);
  void leftSide(int line, int i, QChar c, Mode mode);

  const QStringList text_;  // a shared copy: the caller may pass a temporary
  QStringList* messages_;
  DocSettings settings_;
  bool failed_ = false;
  int errors_ = 0, warnings_ = 0;

  bool inComment_ = false;
  bool eqSeen_ = false;
  bool absUsed_ = false, binUsed_ = false, absInTerm_ = false;
  QChar prev_;
  int commentDepth_ = 0, bracketDepth_ = 0, braceDepth_ = 0;
  int nesting_ = 0;  // brackets and braces together, in the expression being read
  // The expression being read has significant characters after its last ';'.
  bool pending_ = false;
  int lastLine_ = 0, lastPos_ = 0;
  std::vector<Sig> statement_;
  // The nesting rules of РВАС keep their own reading of '=' and of the bracket depth (the
  // other rules reset the depth at a left side's open bracket).
  bool eqSeen2_ = false;
  int bracketDepth2_ = 0;
  struct Later {
    int line, pos, length;
    Message code;
  };
  std::vector<Later> later_;
  struct GroupTerm {  // an open bracket group of the СКУ term being read
    bool before;      // the term held an abstract signal before the group
    bool any;         // a finished alternative of the group held one
  };
  QVector<GroupTerm> groups_;
  std::vector<char> opens_;  // the brackets and braces open in the РВАС expression, innermost last
  const char16_t* initial_ = nullptr;  // the name of the initial event
  int initialSize_ = 0;
  unsigned char roles_[128] = {};  // roleFor() of the ASCII characters
};

}  // namespace velmora
