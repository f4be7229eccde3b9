#include "velmora/oa/oaregister.h"

#include "velmora/oa/oaerrors.h"

namespace velmora {

using oa::quoted;

namespace {

quint32 lowBits(qint32 value, int width) {
  if (width <= 0) return 0;
  if (width >= 32) return static_cast<quint32>(value);
  return static_cast<quint32>(value) & ((quint32(1) << width) - 1);
}

QString dec(qint32 v) { return QString::number(v); }

}  // namespace

// ---- TRegister ----

qint32 TRegister::cut(qint32 value, int width) { return static_cast<qint32>(lowBits(value, width)); }

void TRegister::Define(int width, quint8 kind, const QString& name) {
  width_ = width;
  kind_ = kind;
  name_ = name;
}

QString TRegister::BitText() const {
  QString s(width_, QLatin1Char('0'));
  const quint32 bits = lowBits(current_, width_);
  for (int i = 0; i < width_; ++i)
    if (bits & (quint32(1) << i)) s[width_ - 1 - i] = QLatin1Char('1');
  return s;
}

QString TRegister::GetValueText(int radix) const {
  switch (radix) {
    case Binary: return BitText();
    case Hex: return QString::number(static_cast<quint32>(current_), 16).toUpper();
    case Decimal: return dec(current_);
    default: return QStringLiteral("0");
  }
}

void TRegister::SetValue(QStringView text) {
  qint32 v = 0;
  if (!oa::toInt32(text, &v))
    oa::decimalValue(text, QStringLiteral("значение регистра ") + quoted(name_));  // raises
  SetValue(v);
}

void TRegister::SetValue(qint32 value) {
  pending_ = cut(value, width_);
  if (kind_ == Bus) current_ = value;
}

int TRegister::Bit(int i) const {
  if (i < 0 || i >= width_) {
    if (width_ == 0)
      throw EOaRangeError(QStringLiteral("у регистра %1 нет разрядов (бит %2)").arg(quoted(name_)).arg(i));
    throw EOaRangeError(QStringLiteral("номер бита %1 вне разрядов 0..%2 регистра %3")
                            .arg(i)
                            .arg(width_ - 1)
                            .arg(quoted(name_)));
  }
  return (lowBits(current_, width_) >> i) & 1u;
}

QString TRegister::Slice(const QString& range) const {
  int sep = range.indexOf(QLatin1Char('/'));
  if (sep < 0) sep = range.indexOf(QLatin1Char('\\'));
  if (sep < 0)
    throw EOaConvertError(QStringLiteral("срез %1 регистра %2 должен иметь вид старший/младший")
                              .arg(quoted(range), quoted(name_)));
  const QString what = QStringLiteral("граница среза");
  return Slice(oa::decimalValue(range.left(sep), what), oa::decimalValue(range.mid(sep + 1), what));
}

QString TRegister::Slice(int high, int low) const {
  if (high < low) return QString();
  Bit(high);  // both bounds must lie within the width
  Bit(low);
  QString s;
  s.reserve(high - low + 1);
  const quint32 bits = lowBits(current_, width_);
  for (int k = high; k >= low; --k) s += (bits >> k) & 1u ? QLatin1Char('1') : QLatin1Char('0');
  return s;
}

QString TRegister::Add(const TRegister& o) const {
  return dec(static_cast<qint32>(quint32(current_) + quint32(o.current_)));
}
QString TRegister::Subtract(const TRegister& o) const {
  return dec(static_cast<qint32>(quint32(current_) - quint32(o.current_)));
}
QString TRegister::Xor(const TRegister& o) const { return dec(current_ ^ o.current_); }
QString TRegister::And(const TRegister& o) const { return dec(current_ & o.current_); }
QString TRegister::Or(const TRegister& o) const { return dec(current_ | o.current_); }

// ---- TOperAuto ----

TOperAuto::TOperAuto(const QStringList& blocks) {
  quint8 kind = TRegister::Register;
  registers_.reserve(blocks.size());
  for (int i = 0; i < blocks.size(); ++i) {
    const QString& line = blocks[i];
    if (line == QLatin1String("register") || line == QLatin1String("reg:") || line == QLatin1String("reg")) {
      kind = TRegister::Register;
      continue;
    }
    if (line == QLatin1String("mux") || line == QLatin1String("mux:")) {
      kind = TRegister::Bus;
      continue;
    }
    // Formed only for an error: a description may declare a great many elements.
    const auto where = [&] {
      return QStringLiteral("Строка %1 списка блоков %2: ").arg(i + 1).arg(quoted(line));
    };
    const int open = line.indexOf(QLatin1Char('['));
    const int close = open < 0 ? -1 : line.indexOf(QLatin1Char(']'), open + 1);
    if (close < 0)
      throw EOaConvertError(where() + QStringLiteral("нет ширины блока в скобках, например A[8]"));
    qint32 width = 0;
    if (!oa::toInt32(QStringView(line).mid(open + 1, close - open - 1), &width))
      width = oa::withContext(where, [&] {
        return oa::decimalValue(line.mid(open + 1, close - open - 1), QStringLiteral("ширина"));
      });
    if (width < 0 || width > 32)
      throw EOaRangeError(where() + QStringLiteral("ширина %1 вне диапазона 0..32").arg(width));
    TRegister r;
    r.Define(width, kind, line.left(open));
    registers_.push_back(r);
    byName_.insert(r.name(), int(registers_.size()) - 1);
    if (!firstByName_.contains(r.name())) firstByName_.insert(r.name(), int(registers_.size()) - 1);
  }
}

void TOperAuto::saveValues(std::vector<qint32>* to) const {
  to->clear();
  for (const TRegister& r : registers_) {
    to->push_back(r.pending_);
    to->push_back(r.current_);
  }
}

void TOperAuto::restoreValues(const std::vector<qint32>& from) {
  for (size_t i = 0; i < registers_.size() && 2 * i + 1 < from.size(); ++i) {
    registers_[i].pending_ = from[2 * i];
    registers_[i].current_ = from[2 * i + 1];
  }
}

const TRegister& TOperAuto::Element(int i) const {
  if (i < 0 || i >= Count()) throw EOaRangeError(QStringLiteral("нет элемента ОА с номером %1").arg(i));
  return registers_[static_cast<size_t>(i)];
}

TRegister& TOperAuto::Element(int i) {
  return const_cast<TRegister&>(static_cast<const TOperAuto*>(this)->Element(i));
}

int TOperAuto::FindRegister(const QString& name) const { return firstByName_.value(name, -1); }

int TOperAuto::LastNamed(const QString& name) const { return byName_.value(name, -1); }

QString TOperAuto::GetRegisterValue(const QString& name, int radix) const {
  const int i = FindRegister(name);
  if (i < 0) throw EOaNameError(QStringLiteral("неописанный регистр %1").arg(quoted(name)));
  return registers_[static_cast<size_t>(i)].GetValueText(radix);
}

bool TOperAuto::BitIsOne(int i, int b) const { return Element(i).Bit(b) == 1; }

qint32 TOperAuto::BinToDec(const QString& bits) {
  quint32 v = 0;
  for (QChar c : bits) {
    if (c != QLatin1Char('0') && c != QLatin1Char('1'))
      throw EOaConvertError(QStringLiteral("%1 не является двоичным числом").arg(quoted(bits)));
    v = v * 2 + (c == QLatin1Char('1') ? 1u : 0u);
  }
  return static_cast<qint32>(v);
}

qint32 TOperAuto::shift(oa::ShiftFn fn, qint32 value, int width, int n) {
  using oa::ShiftFn;
  if (fn == ShiftFn::None) return 0;
  const quint32 u = static_cast<quint32>(value);
  if (fn == ShiftFn::ShiftLeft || fn == ShiftFn::ArithLeft || fn == ShiftFn::ShiftRight) {
    if (n <= 0) return value;
    const int k = n % 32;
    return static_cast<qint32>(fn == ShiftFn::ShiftRight ? u >> k : u << k);
  }
  // The remaining three work on the bit text of exactly width bits.
  const quint32 bits = lowBits(value, width);
  if (n <= 0 || width <= 0) return static_cast<qint32>(bits);
  const quint64 mask = (quint64(1) << width) - 1;
  quint64 b = bits;
  if (fn == ShiftFn::ArithRight) {
    const int k = qMin(n, width);
    const bool top = (b >> (width - 1)) & 1u;
    b >>= k;
    if (top) b |= mask & ~(mask >> k);
  } else {
    const int k = n % width;
    if (fn == ShiftFn::RotateLeft)
      b = ((b << k) | (b >> (width - k))) & mask;
    else
      b = ((b >> k) | (b << (width - k))) & mask;
  }
  return static_cast<qint32>(static_cast<quint32>(b));
}

QString TOperAuto::ShiftLeft(int i, int n) const {
  return dec(shift(oa::ShiftFn::ShiftLeft, Element(i).current(), Element(i).width(), n));
}
QString TOperAuto::ShiftRight(int i, int n) const {
  return dec(shift(oa::ShiftFn::ShiftRight, Element(i).current(), Element(i).width(), n));
}
QString TOperAuto::ArithLeft(int i, int n) const {
  return dec(shift(oa::ShiftFn::ArithLeft, Element(i).current(), Element(i).width(), n));
}
QString TOperAuto::ArithRight(int i, int n) const {
  return dec(shift(oa::ShiftFn::ArithRight, Element(i).current(), Element(i).width(), n));
}
QString TOperAuto::RotateLeft(int i, int n) const {
  return dec(shift(oa::ShiftFn::RotateLeft, Element(i).current(), Element(i).width(), n));
}
QString TOperAuto::RotateRight(int i, int n) const {
  return dec(shift(oa::ShiftFn::RotateRight, Element(i).current(), Element(i).width(), n));
}
QString TOperAuto::Increment(int i) const {
  return dec(static_cast<qint32>(quint32(Element(i).current()) + 1u));
}
QString TOperAuto::Decrement(int i) const {
  return dec(static_cast<qint32>(quint32(Element(i).current()) - 1u));
}
QString TOperAuto::Not(int i) const { return dec(~Element(i).current()); }
QString TOperAuto::NotBit(int i, int b) const {
  return Element(i).Bit(b) ? QStringLiteral("0") : QStringLiteral("1");
}
QString TOperAuto::NotSlice(int i, const QString& range) const {
  return dec(~BinToDec(Element(i).Slice(range)));
}

}  // namespace velmora
