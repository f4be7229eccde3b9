#include "velmora/oa/oasignals.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace velmora {

namespace oa {

namespace {

const QCollator& collator() {
  static const QCollator c = [] {
    QCollator k{QLocale(QLocale::Russian, QLocale::Russia)};
    k.setCaseSensitivity(Qt::CaseInsensitive);
    k.setNumericMode(false);
    return k;
  }();
  return c;
}

}  // namespace

bool signalLess(const QString& a, const QString& b) { return collator().compare(a, b) < 0; }

void sortSignals(QStringList* names) { std::stable_sort(names->begin(), names->end(), signalLess); }

int sortedPosition(const QStringList& sorted, const QString& name) {
  return static_cast<int>(std::upper_bound(sorted.begin(), sorted.end(), name, signalLess) - sorted.begin());
}

}  // namespace oa

}  // namespace velmora
