#pragma once
// Transition table -> СКУ text.
#include <QStringList>

#include "velmora/documents/formats/tabledata.h"

class TTblToSku {
 public:
  // out receives the СКУ lines (appended).
  TTblToSku(const TableData& table, QStringList* out);
  void Convert();
  // False when no row carries an output signal: then no "svf:" section was written and the
  // caller shows warningText() in a box captioned "Предупреждение".
  bool hasOutputs() const;
  static QString warningText();
};
