#pragma once
// The translators as they were before they were made linear (see oldtranslate.cpp).
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

#include "common/tabledata.h"
#include "tiravo/translate/skucheck.h"
#include "tiravo/translate/skutable.h"

namespace tiravo {

bool oldTableToSku(const TableData& table, QStringList* lines);

class OldSkuToTable {
 public:
  explicit OldSkuToTable(const SkuSections& sections) : s_(sections) {}
  std::function<void(int, const QString&)> onLine;
  std::function<void(int)> onProgress;
  bool runSku(const QStringList& text, SkuStageFault* fault);
  bool runSvf(const QStringList& text, SkuStageFault* fault);
  const TableData& table() const { return table_; }

 private:
  bool checkSection(const QStringList& text, bool svf, SkuStageFault* fault);
  SkuFault svfEvents(const QString& line);
  void progress(int value) {
    if (onProgress) onProgress(value);
  }

  SkuSections s_;
  SkuLineCheck sku_{false}, svf_{true};
  TableData table_;
};

class OldRvasConverter {
 public:
  // `compacted`: a text that passed checkRvas. Returns the СКУ lines: "sku:", the equations
  // (fresh ones before the one that made them), and "svf:" with one line per output when the
  // left side has an output list.
  QStringList convert(const QString& compacted);
  int freshEvents() const { return counter_; }
  int branches() const { return branches_; }  // top-level alternatives

 private:
  // `alone`: the alternative is the whole right side of its equation.
  void dis(const QString& target, const QString& rhs, QString* eq, bool alone = true);
  void line(const QString& target, const QString& alt, QString* eq, bool alone);
  void group(const QString& target, QStringList factors, QString* eq, bool alone);
  QString fresh();

  QStringList out_;
  QSet<QString> used_;  // names of the text, lower-cased: fresh events never take one
  int counter_ = 0;
  int branches_ = 0;
};

}  // namespace tiravo
