#pragma once
// Code page 1251: the only encoding of every file the programs read or write.
#include <QByteArray>
#include <QString>

namespace cp1251 {

// Every byte has a character; 0x98 (unassigned in 1251) maps to U+0098 so it round-trips.
QString decode(const QByteArray& bytes);
QChar decodeByte(unsigned char b);

// Returns false and leaves `out` untouched when a character has no 1251 code;
// *badIndex then tells where (index into `text`).
bool encode(const QString& text, QByteArray* out, int* badIndex = nullptr);
// -1 when the byte does not exist for `c`.
int encodeChar(QChar c);
bool canEncode(const QString& text, int* badIndex = nullptr);
// The character at `index` for a message: the character in quotes and its code point,
// one code point for a surrogate pair ("\"😀\" (U+1F600)").
QString describeChar(const QString& text, int index);

}  // namespace cp1251
