#include "platform/cp1251.h"

#include <array>

namespace cp1251 {
namespace {

// 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
const char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

}  // namespace

QChar decodeByte(unsigned char b) {
  if (b < 0x80) return QChar(b);
  if (b >= 0xC0) return QChar(char16_t(0x0410 + (b - 0xC0)));
  return QChar(kHigh[b - 0x80]);
}

QString decode(const QByteArray& bytes) {
  // One look-up per byte, in a table made once.
  static const std::array<char16_t, 256> table = [] {
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 256; ++b) t[size_t(b)] = decodeByte(static_cast<unsigned char>(b)).unicode();
    return t;
  }();
  // Widened as Latin-1 first (Qt does that many bytes at a time), then the few
  // characters past ASCII put right.
  QString s = QString::fromLatin1(bytes);
  char16_t* d = reinterpret_cast<char16_t*>(s.data());
  for (qsizetype i = 0, n = s.size(); i < n; ++i)
    if (d[i] >= 0x80) d[i] = table[d[i]];
  return s;
}

int encodeChar(QChar c) {
  const char16_t u = c.unicode();
  if (u < 0x80) return u;
  if (u >= 0x0410 && u <= 0x044F) return 0xC0 + (u - 0x0410);
  for (int i = 0; i < 64; ++i)
    if (kHigh[i] == u) return 0x80 + i;
  return -1;
}

bool canEncode(const QString& text, int* badIndex) {
  for (int i = 0; i < text.size(); ++i) {
    if (encodeChar(text[i]) < 0) {
      if (badIndex) *badIndex = i;
      return false;
    }
  }
  return true;
}

QString describeChar(const QString& text, int index) {
  if (index < 0 || index >= text.size()) return QString();
  char32_t code = text[index].unicode();
  QString shown(text[index]);
  if (text[index].isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate()) {
    code = QChar::surrogateToUcs4(text[index], text[index + 1]);
    shown = text.mid(index, 2);
  }
  return QStringLiteral("\"%1\" (U+%2)")
      .arg(shown, QString::number(uint(code), 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

bool encode(const QString& text, QByteArray* out, int* badIndex) {
  QByteArray b;
  b.resize(text.size());
  for (int i = 0; i < text.size(); ++i) {
    const int code = encodeChar(text[i]);
    if (code < 0) {
      if (badIndex) *badIndex = i;
      return false;
    }
    b[i] = static_cast<char>(code);
  }
  *out = b;
  return true;
}

}  // namespace cp1251
