#pragma once
// The compiled automaton shared by our compiler, simulator and determinizer.
//
// A state of the automaton is a set of simultaneously active events. The table's rows are
// grouped into lines by their source key (the conjunction of the si cell); a line carries
// the outputs of the key and its transitions, one per distinct condition. From an event
// set E every line whose key E satisfies takes part: its outputs are E's outputs, and each
// of its transitions whose condition holds for the input contributes its targets to the
// next event set.
#include <QString>
#include <QStringList>
#include <QVector>

namespace fsm {

// A sorted set of signal numbers (1-based). As a conjunction it holds signed literals
// (+k signal k, -k its inversion), kept in ascending order of magnitude, one per signal.
using Set = QVector<int>;

// Inserts a literal; false when its inversion is already there (the set is unchanged).
bool addLiteral(Set& set, int literal);
bool containsLiteral(const Set& set, int literal);
// Union of two sets of positive numbers.
Set unite(const Set& a, const Set& b);
// `active` (positive numbers) satisfies the conjunction `literals`.
bool satisfies(const Set& active, const Set& literals);

// The coding the compiler was asked for: states 1 binary / 0 abstract, outputs 2 binary /
// 0 abstract, inputs 1 binary / 0 abstract, triggers 2 Q, 3 T, 4 JK, 5 RS (0 with abstract
// states).
struct Type {
  int states = 1, outputs = 2, inputs = 1, triggers = 2;
  bool valid() const;
  QString describe() const;
  bool operator==(const Type& o) const {
    return states == o.states && outputs == o.outputs && inputs == o.inputs && triggers == o.triggers;
  }
};

struct Transition {
  Set condition;  // literals over the inputs; empty = unconditional
  Set targets;    // events
  bool operator==(const Transition& o) const { return condition == o.condition && targets == o.targets; }
};

struct Line {
  Set key;      // literals over the events
  Set outputs;  // outputs
  QVector<Transition> transitions;
  bool operator==(const Line& o) const {
    return key == o.key && outputs == o.outputs && transitions == o.transitions;
  }
};

class Model {
 public:
  Type type;
  // Names numbered from 1. Inputs and events are kept in lower case; outputs as the table
  // first wrote them, so whoever acts on an output finds the name it knows.
  QStringList inputs, outputs, events;
  Set start;  // the initial event set
  QVector<Line> lines;

  bool abstractInputs() const { return type.inputs == 0; }
  bool abstractOutputs() const { return type.outputs == 0; }
  void clear() { *this = Model(); }
  bool operator==(const Model& o) const {
    return type == o.type && inputs == o.inputs && outputs == o.outputs && events == o.events &&
           start == o.start && lines == o.lines;
  }

  // 1-based number of a name, 0 when absent (names are compared without regard to case).
  static int numberOf(const QStringList& names, const QString& name);
  // Number of a name, appended as given when absent.
  static int enter(QStringList& names, const QString& name);
  // 0-based index of the line with this key, -1 when none.
  int findLine(const Set& key) const;
  // Reads event names joined by "&" into a set (a blank text gives the empty set). False
  // with *error when the text is faulty or names an inverted or unknown event.
  bool parseEvents(const QString& text, Set* events, QString* error) const;

  // The outputs of an event set: the union over the lines whose key it satisfies.
  Set outputsOf(const Set& events) const;
  // Text of a set over a name list, joined by "&"; an inverted literal is the name in
  // upper case. `whenEmpty` is the text of the empty set.
  static QString text(const QStringList& names, const Set& set, const QString& whenEmpty = QString());
  QString eventsText(const Set& s) const { return text(events, s); }
  QString outputsText(const Set& s) const { return text(outputs, s); }
  QString conditionText(const Set& s) const { return text(inputs, s, QStringLiteral("1")); }
};

// One name of a cell: its key (lower case), whether it was written inverted (an upper-case
// first letter), where it stands in the text (0-based), and the name as written.
struct Name {
  QString key;
  bool inverted = false;
  int pos = 0;
  QString text;
};

// The fault found in a cell text: a message and the 0-based position it concerns.
struct ScanError {
  QString message;
  int pos = 0;
};

// Splits a text of names joined by "&" (blanks around names allowed). An empty or blank
// text gives no names. False with *error at the first fault.
bool scanNames(const QString& text, QVector<Name>* names, ScanError* error);
// A text that scanNames accepts as exactly one name written in lower case.
bool isPlainName(const QString& text);
// The same, where letters after the first may be in either case (output names).
bool isSpelledName(const QString& text);

}  // namespace fsm
