#pragma once
// The storage and transfer elements of an operational automaton: registers, which take a new
// value only when the model commits a step, and buses, which take a value at once.
#include <vector>

#include <QHash>
#include <QString>
#include <QStringList>

#include "velmora/oa/oaparser.h"

namespace velmora {

// One element. Values are signed 32-bit integers shown as decimal texts; arithmetic wraps.
class TRegister {
 public:
  enum Kind : quint8 { Bus = 0, Register = 1 };
  enum Radix : int { Binary = 0, Hex = 1, Decimal = 2 };

  void Define(int width, quint8 kind, const QString& name);

  const QString& name() const { return name_; }
  quint8 kind() const { return kind_; }
  int width() const { return width_; }
  qint32 pending() const { return pending_; }
  qint32 current() const { return current_; }

  // Radix 0 the bit text (exactly width characters, bit 0 last), 1 upper-case hexadecimal of
  // the 32-bit pattern, 2 decimal; any other radix "0".
  QString GetValueText(int radix) const;
  // The pending value from a decimal text, cut to the width; a bus also shows the text as
  // its current value at once, uncut, until the next commit. EOaConvertError for a non-number.
  void SetValue(QStringView text);
  void SetValue(const QString& text) { SetValue(QStringView(text)); }
  void SetValue(qint32 value);
  void Commit() { current_ = pending_; }

  // Bit i of the current value (0 the least significant); EOaRangeError outside the width.
  int Bit(int i) const;
  // "h/l" or "h\l": bits h down to l of the current value as "0"/"1" text, most significant
  // first; empty when h < l. EOaConvertError for bounds that are not numbers, EOaRangeError for
  // bounds outside the width.
  QString Slice(const QString& range) const;
  QString Slice(int high, int low) const;
  // The low width bits of the current value, most significant first.
  QString BitText() const;

  // This current value op the other's, as decimal text, not cut.
  QString Add(const TRegister& other) const;
  QString Subtract(const TRegister& other) const;
  QString Xor(const TRegister& other) const;
  QString And(const TRegister& other) const;
  QString Or(const TRegister& other) const;

  // value cut to width bits: modulo 2^width for widths below 32, unchanged for 32.
  static qint32 cut(qint32 value, int width);

 private:
  friend class TOperAuto;  // saves and puts back values around a step that may fail
  QString name_;
  quint8 kind_ = Register;
  int width_ = 0;
  qint32 pending_ = 0;
  qint32 current_ = 0;
};

// The elements of one operational automaton, built from the block list: "reg:" ("reg",
// "register") heads registers, "mux:" ("mux") heads buses, every other line declares an element
// as name[width]. Lines before any heading declare registers.
class TOperAuto {
 public:
  // EOaConvertError for a line without a width number, EOaRangeError for a width outside 0..32.
  explicit TOperAuto(const QStringList& blocks);

  int Count() const { return static_cast<int>(registers_.size()); }
  // EOaRangeError for an index outside the elements.
  const TRegister& Element(int i) const;
  TRegister& Element(int i);
  // The first element of exactly that name, or -1.
  int FindRegister(const QString& name) const;
  // The last element of exactly that name, or -1.
  int LastNamed(const QString& name) const;
  // GetValueText(radix) of the named element; EOaNameError for a name not declared.
  QString GetRegisterValue(const QString& name, int radix) const;
  // The x answer of the last evaluation.
  const QString& Answer() const { return answer_; }

  // Element operations by index. Each returns a decimal text and cuts nothing.
  bool BitIsOne(int i, int b) const;
  // "0"/"1" text to a number, value × 2 + digit in 32 bits; EOaConvertError for other characters.
  static qint32 BinToDec(const QString& bits);
  QString ShiftLeft(int i, int n) const;
  QString ShiftRight(int i, int n) const;
  QString ArithLeft(int i, int n) const;
  QString ArithRight(int i, int n) const;
  QString RotateLeft(int i, int n) const;
  QString RotateRight(int i, int n) const;
  QString Increment(int i) const;
  QString Decrement(int i) const;
  QString Not(int i) const;
  QString NotBit(int i, int b) const;
  QString NotSlice(int i, const QString& range) const;

  // The shift functions on a value of a given width: the logical and left shifts work on the
  // 32-bit value (count mod 32), the arithmetic right shift and the rotations on width bits.
  // A count of 0 or less changes nothing.
  static qint32 shift(oa::ShiftFn fn, qint32 value, int width, int n);

 protected:
  // The pending and current values of every element, to put back after a failed step.
  void saveValues(std::vector<qint32>* to) const;
  void restoreValues(const std::vector<qint32>& from);

  std::vector<TRegister> registers_;
  QString answer_;

 private:
  // Element indices by name; the names never change after construction.
  QHash<QString, int> byName_;
  QHash<QString, int> firstByName_;
};

}  // namespace velmora
