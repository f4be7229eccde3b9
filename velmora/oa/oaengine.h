#pragma once
// Executes an operational automaton: the microoperations of the output signals named by a step
// input, and the conditions that answer the input signals of the control automaton.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <unordered_map>
#include <utility>
#include <vector>

#include "velmora/oa/oaparser.h"
#include "velmora/oa/oaregister.h"

namespace velmora {

// The window's grid of watched elements as the model sees it: row 0 is the header; from row 1
// on, column 0 names an element and column 1 receives its value.
class RegisterGrid {
 public:
  virtual ~RegisterGrid() = default;
  virtual int rowCount() const = 0;
  virtual QString nameAt(int row) const = 0;
  virtual void setValueAt(int row, const QString& text) = 0;
};

namespace oa {
// A parsed line with the text it was parsed from.
template <class T>
struct Seen {
  QString text;
  T parsed;
};
// The y signals an input text names, by index in the y list, in the order they run.
struct InputPlan {
  std::vector<std::pair<int, QString>> signalsMatched;
};
}  // namespace oa

class TModelOA : public TOperAuto {
 public:
  // The answer of a step whose input names no known output signal.
  static QString undefinedSignal() { return QStringLiteral("сигнал неопределен"); }

  // The lists belong to the table window's description and must outlive the model; they are
  // read afresh at every step. grid may be null. yItems[i] holds the microoperations of
  // ySignals[i] in execution order; xConditions[i] the condition of xSignals[i].
  TModelOA(RegisterGrid* grid, const QStringList& blocks, const QStringList& xConditions,
           const QStringList& xSignals, const QList<QStringList>& yItems, const QStringList& ySignals);

  quint8 Radix = TRegister::Binary;  // 0 binary, 1 hexadecimal, 2 decimal
  bool SignalKnown = false;          // a name of the current input matched an output signal

  void CommitAll();
  // Writes the value of every watched element into the grid in the current radix; with a radix
  // other than 0, 1, 2 every value cell shows "Ошибка".
  void ShowRegisters();
  // Runs the microoperations of every output signal the input names; the caller clears
  // SignalKnown before and commits after.
  void ApplyInput(const QString& text);
  void ApplySignal(const QString& name);
  // destination ":=" expression; a blank line does nothing.
  void ExecuteMicrooperation(const QString& text);
  // The answer becomes the input signals joined by "&", each in lower case when its condition
  // holds and in upper case when it does not.
  void EvaluateConditions();

  // Refuses, with the error a step would raise, a microoperation or a condition that cannot
  // run whatever the values are: its form, its names, its bit numbers, a literal too large, a
  // bit assignment whose value may have too few bits. A line that passes always runs.
  void CheckMicrooperation(const QString& text);
  void CheckCondition(const QString& text);

 protected:
  void setAnswer(const QString& answer) { answer_ = answer; }
  RegisterGrid* grid_;

 private:
  void applySignal(int i, const QString& name);
  const oa::Microoperation& compiled(const QString& text);
  oa::Microoperation compiledByText(const QString& text);
  oa::Condition conditionByText(const QString& text);
  const oa::Condition& compiledCondition(const QString& text);
  void resolve(oa::Operand& o) const;
  int resolveName(const QString& name) const;
  qint32 number(const oa::Operand& o) const;
  qint32 number(const oa::Expression& e) const;
  QString bitText(const oa::Expression& e) const;
  void assignBits(TRegister& r, int low, int high, const QString& value) const;
  bool holds(const oa::Condition& c) const;
  void checkOperand(const oa::Operand& o) const;

  const QStringList* xConditions_;
  const QStringList* xSignals_;
  const QList<QStringList>* yItems_;
  const QStringList* ySignals_;
  // Parsed lines with their names resolved, by text: the lists may change between steps, and a
  // changed line is simply parsed afresh.
  QHash<QString, oa::Microoperation> microops_;
  QHash<QString, oa::Condition> conditions_;
  // The same by the address of the line's characters, which every step finds without reading
  // the text: the entry keeps the line's text alive, so its characters cannot change or make
  // room for another line's while the entry stands.
  std::unordered_map<const QChar*, oa::Seen<oa::Microoperation>> seenOps_;
  std::unordered_map<const QChar*, oa::Seen<oa::Condition>> seenConditions_;
  std::vector<oa::Seen<std::pair<QString, QString>>> xCases_;
  std::unordered_map<const QChar*, oa::Seen<oa::InputPlan>> plans_;
  QStringList plansYs_;  // the y list the plans were made from  // per x: lower and upper case
};

}  // namespace velmora
