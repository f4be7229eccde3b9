#pragma once
// The compiled-automaton file (*.fsm) written by our compiler and read by our simulators
// and determinizer. The format is described in servers/FSM_FORMAT.md.
#include <QString>
#include <QStringList>

#include "servers/fsmmodel.h"

namespace fsm {

class FsmFile {
 public:
  static const QString& signature();  // the first line
  static QStringList toLines(const Model& model);
  // Reads the whole text; on a fault returns false, sets *error (with the line number) and
  // leaves *model unchanged.
  static bool parse(const QStringList& lines, Model* model, QString* error);
  static bool read(const QString& path, Model* model, QString* error);
  // Atomic: a failed write leaves the old file whole.
  static bool write(const QString& path, const Model& model, QString* error);
};

}  // namespace fsm
