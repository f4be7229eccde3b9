#pragma once
// СКУ text -> rows of a transition table: one row per transition, grouped by the set of
// source events; the СВФ section puts the output signals on the rows of their events.
#include <QStringList>

#include <vector>

#include "velmora/documents/formats/docsettings.h"
#include "common/tabledata.h"

namespace velmora {

class TSkuTbl {
 public:
  // out receives the rows and the signal coding; its rows are replaced.
  TSkuTbl(const QStringList& sku, TableData* out, DocSettings s);
  // Relies on a text that passed the check. Throws VexoError only when multiplying out
  // the brackets of one equation would give an unreasonable number of terms.
  void Convert();

  // The equations and output functions as read (without blanks, comments and ';').
  const QStringList& statements() const;

  static const int kMaxNames = 200000;  // names in all terms of one equation, multiplied out

 private:
  friend class SkuTblStages;
  void readStatements();

  const QStringList text_;
  TableData* out_;
  DocSettings settings_;
  QStringView statement(int k) const {
    const qsizetype from = k ? ends_[size_t(k - 1)] : 0;
    return QStringView(read_).mid(from, ends_[size_t(k)] - from);
  }

  QString read_;                    // the statements end to end
  std::vector<qsizetype> ends_;     // where each statement ends in read_
  mutable QStringList statements_;  // made when asked for
  mutable bool listed_ = false;
  int skuCount_ = 0;
  bool abstract_ = false;
};

}  // namespace velmora
