#pragma once
// Raw file bytes for the table tests: what is on disk, not what the readers make of it.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace tt {

inline QByteArray readAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "<missing>";
  return f.readAll();
}

inline bool writeRaw(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  return f.write(bytes) == bytes.size();
}

}  // namespace tt
