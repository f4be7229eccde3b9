#pragma once
// Lists of signal names as the operational-automaton windows keep them: sorted for Russian
// without regard to letter case, as the user reads them.
#include <QString>
#include <QStringList>

namespace velmora {

namespace oa {

// a before b in the order of the signal lists.
bool signalLess(const QString& a, const QString& b);
// Sorts in that order; names equal but for case keep their order.
void sortSignals(QStringList* names);
// Where name goes into a list sorted in that order (after the names equal to it).
int sortedPosition(const QStringList& sorted, const QString& name);

}  // namespace oa

}  // namespace velmora
