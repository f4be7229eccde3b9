#pragma once
// What the operational-automaton designer does to the description, without widgets: the
// signal lists taken from the transition table, bringing a stored description in line with
// its table, and the checks made when the description is applied.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "common/tabledata.h"
#include "velmora/documents/formats/oafile.h"

namespace velmora {

namespace oadesign {

// The signals a table names. A table of one data row or less gives TooFewRows, one without
// any output signal NoOutputs; the message says which.
enum class Collected { Ok, TooFewRows, NoOutputs };
QString message(Collected c);

// Every non-empty y cell as it stands.
Collected collectOutputs(const QList<TableRow>& rows, QStringList* ys);
// Every xij cell that is neither empty nor "1", in lower case; *found when any.
Collected collectInputs(const QList<TableRow>& rows, QStringList* xs, bool* found);
// Each entry cut at every "&" into its names, in order.
QStringList splitSignals(const QStringList& entries);
// The first of equal names (exact comparison), sorted for Russian without regard to case.
QStringList uniqueSorted(const QStringList& names);
// The three together: the output and the input signals of a table.
Collected tableOutputs(const QList<TableRow>& rows, QStringList* ys);
Collected tableInputs(const QList<TableRow>& rows, QStringList* xs);

// ySignals sorted, each signal's microoperations moving with it.
void sortOutputs(OaDescription* d);

enum class Kind { Y, X };
// "В таблице переходов не найден сигнал <name>. ..." for the kind.
QString removeQuestion(Kind kind, const QString& name);
// Brings ySignals with yItems (Y) or xSignals with xValues (X) in line with the table's names:
// a name new to the description is put at its sorted place with no microoperations (or an
// empty value); for a name the table no longer has askRemove(name) decides: true removes it
// with its microoperations (or value), false refuses. False when refused; *d is then partly
// changed and the caller puts back its saved state.
bool syncSignals(OaDescription* d, Kind kind, const QStringList& tableNames,
                 const std::function<bool(const QString& name)>& askRemove);

// A new description of the table's signals: one empty item per y, one empty value per x, the
// blocks "reg:" and "mux:".
void newDescription(OaDescription* d, const QStringList& ys, const QStringList& xs);

// Empty when the block list has the lines "reg:" and "mux:", else the message.
QString checkBlockList(const QStringList& blocks);
// Per signal, the lines holding ":=" go behind the others, each group keeping its order;
// empty lines go.
void orderMicrooperations(QList<QStringList>* items);
// The first fault of the description, empty when there is none: the four passes over the
// names (destination, first operand, operand after an operation sign, the values of the input
// signals), then whatever the model would refuse to build or to run.
QString checkRegisters(const OaDescription& d);
// Asked after a failed check: "Описание ОА, возможно, содержит ошибки. Выйти?"
QString applyQuestion();

}  // namespace oadesign

}  // namespace velmora
