#include "velmora/flowchart/core/gsatbl.h"

int TGSATbl::Check(const GsaGridList&, const QString&, const QString&, bool) {
  messages_.clear();
  messageCols_.clear();
  messageRows_.clear();
  return Passed;
}

TableData TGSATbl::MakeTable(const GsaGridList&, const QString&, const QString&, const QString&,
                             const QString&, bool, bool) {
  return TableData();
}

QString TGSATbl::StateNameOf(const QString& text) { return text; }
QString TGSATbl::OutputsOf(const QString& text) { return text; }
QString TGSATbl::SortConjunction(const QString& s) { return s; }
