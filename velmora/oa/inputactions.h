#pragma once
// The input-actions file (*.y) of the ОА model: code page 1251, one step input per line in
// step order (the y names joined by "&"), every line followed by CR LF. Reading takes CR LF,
// LF and CR as line ends, and a last line without one.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora {

class InputActionsFile {
 public:
  static QStringList parse(const QByteArray& bytes);
  // The whole file, or false with *error set (nothing is returned in part).
  static bool read(const QString& path, QStringList* inputs, QString* error);
  // False with *error naming the step when an input has a character without a 1251 code, or
  // holds a line break (it would read back as two steps).
  static bool toBytes(const QStringList& inputs, QByteArray* bytes, QString* error);
  // Written whole or not at all: a failed write keeps the old file.
  static bool write(const QString& path, const QStringList& inputs, QString* error);
};

}  // namespace velmora
