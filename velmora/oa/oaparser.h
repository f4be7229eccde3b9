#pragma once
// The one reading of microoperation texts, input-signal conditions and step inputs. The model
// executes what it returns; the designer's checks use the same structures to find the names a
// line refers to. Parsing resolves no names: the model fills in the element indices.
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

namespace oa {

// A decimal integer of 32 bits: blanks around it, an optional sign, at least one digit.
bool toInt32(QStringView text, qint32* value);
// The same, raising EOaConvertError for a text that is not one; what names the text in the message.
qint32 decimalValue(QStringView text, const QString& what);

// The shift and rotate functions a microoperation may call.
enum class ShiftFn { None, ShiftLeft, ShiftRight, ArithLeft, ArithRight, RotateLeft, RotateRight };
// Chosen by the first two letters of the name, in any case: sl, sr, al, ar, lc, rc, and the
// designer's spellings ls, rs of the two logical shifts. Any other name gives None.
ShiftFn shiftFunction(const QString& name);

struct Operand {
  enum Kind {
    Element,  // name: the element's current value
    Bit,      // name[i]: one bit, "0" or "1"
    Slice,    // name[h/l]: bits h down to l
    Literal,  // decimal digits: their value
  };
  Kind kind = Element;
  bool complement = false;  // written with a leading "!"
  QString text;             // as written, "!" included
  QString name;             // the element (empty for a literal)
  int bit = 0;              // Bit
  int high = 0, low = 0;    // Slice
  QString digits;           // Literal
  int index = -1;           // element index, filled in by the model
};

struct Expression {
  enum Form {
    Single,  // one operand
    Step,    // operand +1 or -1: increment, decrement
    Binary,  // left op right, then adjust
    Call,    // function(element,count)
  };
  Form form = Single;
  QString text;
  Operand left;      // Single, Step: the operand; Binary: the left one; Call: the element
  Operand right;     // Binary
  QChar op;          // Binary: + - & | ^ %; Step: + or -
  int adjust = 0;    // Binary: what a right operand cut at "+" or "-" adds (R2+R3+7 adds 1)
  QString function;  // Call: the name as written
  ShiftFn shift = ShiftFn::None;
  int count = 0;  // Call
};

struct Microoperation {
  QString text;
  QString destination;    // element name
  int index = -1;         // filled in by the model
  bool bits = false;      // the destination names bits: name[i] or name[h/l]
  int high = 0, low = 0;  // selected bits low..high (one bit: both equal)
  Expression expr;
  // Element names the line refers to: the destination first, then the operands in order.
  QStringList names() const;
};

// Raises EOaSyntaxError for a line that is not destination ":=" expression, and EOaConvertError
// for a slice bound that is not a number.
Microoperation parseMicrooperation(const QString& text);
// A line the model skips: empty or blanks only.
bool isBlankLine(const QString& text);

struct ConditionTerm {
  QString text;
  QString name;
  int bit = 0;
  int index = -1;  // filled in by the model
  bool empty() const { return text.isEmpty(); }
};

struct Condition {
  enum Mode {
    Single,  // one term
    AnyOf,   // terms joined by "&": holds when any term holds
    AllOf,   // terms joined by "|": holds when every term holds
  };
  Mode mode = Single;
  QString text;
  QList<ConditionTerm> terms;  // an empty text gives no term and never holds
  QStringList names() const;
};

// Raises EOaSyntaxError for a term not of the form name[bit] or a text mixing "&" and "|",
// EOaConvertError for a bit number that is not a number.
Condition parseCondition(const QString& text);

// The names of a step input. Any of ",&*;-+%#@" separates; the character right after a
// separator always begins the next name, so of two adjacent separators the second is part of
// a name ("y1,,y2" gives "y1" and ",y2"). Nothing is trimmed; an empty name before a separator
// is kept, a trailing empty one is not.
QStringList splitInput(const QString& text);

}  // namespace oa

}  // namespace velmora
