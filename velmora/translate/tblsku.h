#pragma once
// Transition table -> СКУ text: one equation per target event, and, when the table has
// output signals, one output function per output signal.
#include <QStringList>

#include "common/tabledata.h"

namespace velmora {

class TTblToSku {
 public:
  // out receives the СКУ lines (appended).
  TTblToSku(const TableData& table, QStringList* out);
  void Convert();
  // False when no row carries an output signal: then no "svf:" section was written and the
  // caller shows warningText() in a box captioned "Предупреждение".
  bool hasOutputs() const { return hasOutputs_; }
  static QString warningText();
  // The text may be this many times the table's characters, or kMinOutput, whichever is more:
  // a row with many targets repeats its condition for each, so a hostile table would give a
  // text of the square of its size. Past that, Convert() throws VexoError and writes nothing.
  static const int kOutputPerChar = 8;
  static const int kMinOutput = 1000000;

  // Cell helpers, public for the tests.
  static bool HasContent(const QString& text);                  // a character other than ' ' and '0'
  static QStringList SplitNames(const QString& text);           // names joined by '|' or '&'
  static QString NormalizeTerm(const QString& text, QChar op);  // blanks out, '&' '*' -> op

 private:
  const TableData table_;
  QStringList* out_;
  bool hasOutputs_ = false;
};

}  // namespace velmora
