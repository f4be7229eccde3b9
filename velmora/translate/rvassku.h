#pragma once
// РВАС text -> СКУ text. Each product of at most two factors is one transition step;
// longer products are cut into steps through fresh events, iteration groups become
// loops through their target, bracket groups are multiplied out, and the output lists
// on the left of the expressions become the СВФ section.
#include <QHash>
#include <QSet>
#include <QStringList>

#include <vector>

#include "velmora/documents/formats/docsettings.h"
#include "velmora/translate/nametable.h"
#include "velmora/translate/textscan.h"

class TRvasSku {
 public:
  // out receives the СКУ lines; the caller passes it empty.
  TRvasSku(const QStringList& rvas, QStringList* out, DocSettings s);
  // Relies on a text that passed the РВАС check. Throws VexoError only when one expression
  // would give an unreasonably large result.
  void Convert();

  static const int kMaxOutput = 500000;  // characters of СКУ text from one expression
  static const int kMaxDepth = 500;      // nesting of the conversion steps

 private:
  // A product as the factors it is made of, which stay in the parsed expression: steps
  // take factors apart and put them together without copying the groups inside.
  using Factors = std::vector<const textscan::Factor*>;

  QString fresh();
  void writeEquation(const QString& target, const std::vector<Factors>& rhs);
  void convertAlt(const QString& target, const Factors& alt, QStringList* terms);
  void writeLine(const QString& line);
  void charge(qsizetype n);

  const QStringList text_;
  QStringList* out_;
  DocSettings settings_;
  QStringList statements_;
  int counter_ = 0;
  NameTable used_;  // names the text itself uses: fresh events skip them
  QStringList outputNames_, outputEvents_;  // outputs in order of first declaration
  QHash<QString, int> outputIndex_;
  qsizetype produced_ = 0;
  int depth_ = 0;
};
