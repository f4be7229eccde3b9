#pragma once
// Tiravo's table to СКУ conversion: one equation per target (a whole sj cell), one output
// function per output signal; no ';' anywhere.
#include <QString>
#include <QStringList>

#include "common/tabledata.h"

namespace tiravo {

// Appends the СКУ text of the rows to `lines`. Returns false when no row has an output: then
// no "svf:" section is written and the caller shows tableSkuWarning().
bool tableToSku(const TableData& table, QStringList* lines);
QString tableSkuWarning();

// Cell helpers.
bool hasContent(const QString& text);                  // a character other than ' ' and '0'
QStringList splitNames(const QString& text);           // names joined by '|' or '&'
QString normalizeTerm(const QString& text, QChar op);  // blanks out, '&' and '*' become op
bool containsName(const QStringList& list, const QString& name);

}  // namespace tiravo
