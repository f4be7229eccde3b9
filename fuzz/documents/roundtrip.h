#pragma once
// Bytes to file lines and back, as the programs read and write their files.
#include <QStringList>

#include <cstdint>
#include <cstdlib>

#include "platform/cp1251.h"
#include "platform/textfile.h"

inline QStringList linesOf(const uint8_t* data, size_t size) {
  return textfile::splitLines(cp1251::decode(QByteArray(reinterpret_cast<const char*>(data), int(size))));
}

// What reading the written lines gives; a file that cannot be written is a fault, since
// everything read came from cp1251.
inline QStringList rewritten(const QStringList& lines) {
  bool ok = false;
  QString error;
  const QByteArray bytes = textfile::joinCrLf(lines, &ok, &error);
  if (!ok) abort();
  return textfile::splitLines(cp1251::decode(bytes));
}
