#pragma once
// The in-memory automaton of Tiravo: a compiled transition table whose state is
// a set of simultaneously active events.
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

#include "tiravo/core/namelist.h"
#include "tiravo/core/signalset.h"
#include "tiravo/core/transitions.h"

// All rows of one si key.
struct FTT_Line {
  SSignalSet Key;      // over the events
  USignalSet Outputs;  // y of the row that created the line
  TransitionList Transitions;
};

// One successor group: under x the automaton goes to s and puts out y.
struct XSY {
  SSignalSet x;
  USignalSet s;
  USignalSet y;
};

class FTT {
 public:
  enum : unsigned char { Binary = 0, Abstract = 1 };

  QStringList XNames;  // input signal k is XNames[k-1]
  QStringList YNames;
  NameList SNames;              // the states of a determinized table are named when read
  std::vector<FTT_Line> Lines;  // one per distinct key, in order of first appearance
  unsigned char Mode = Binary;

  FTT() = default;
  // Null changes nothing; otherwise a deep copy of names, mode and lines.
  void Assign(const FTT* other);

  // Position of `name` (case-insensitive) plus 1; a new name is appended first.
  static int SignalNumber(QStringList& names, const QString& name);
  // The name of |k|; the model's error text for 0.
  static QString GetName(const QStringList& names, int k);
  static QString GetName(const NameList& names, int k);

  // Items are "name=value"; value "0" gives the inverted literal. The single
  // item "1" is the constant true.
  static SSignalSet LiteralsOf(QStringList& names, const QStringList& items);
  static USignalSet SignalsOf(QStringList& names, const QStringList& items);
  USignalSet EventsOfNames(const QStringList& plainNames);

  // 1-based index of the line with this key (searched from the end); 0: none.
  int FindLine(const SSignalSet& key) const;
  // One table row, each cell given as its list of name=value items. Its cost does not grow
  // with the model, as long as the lists and lines are only appended to between calls or
  // replaced through Assign.
  void AddLine(const QStringList& si, const QStringList& y, const QStringList& xij, const QStringList& sj);

  // Line `index` (0-based): condition texts into `conditions`, target texts into `targets`.
  void ListLine(int index, QStringList& conditions, QStringList& targets) const;
  // One item per line: key text, then "[outputs]" when there are outputs.
  void ListLines(QStringList& items) const;

  std::vector<const FTT_Line*> MatchLines(const USignalSet& events) const;
  std::vector<LTT_Line> MatchPairs(const USignalSet& events) const;
  USignalSet Outputs(const USignalSet& events) const;

  // From `events`: disjoint conditions with the event set and outputs each
  // leads to. Empty when the matched lines have no transitions.
  std::vector<XSY> Successors(const USignalSet& events) const;

  // One step under the input assignment `input` (empty: every transition fires).
  void Step(const USignalSet& events, const SSignalSet& input, USignalSet& next, USignalSet& outputs) const;

 private:
  std::vector<XSY> AbstractSuccessors(const USignalSet& events) const;

  // Indexes that keep AddLine at constant cost per row however large the table grows. They
  // follow names, lines and transitions that are appended; when code shortens or replaces a
  // list (Assign, a new list of names) they are built again. Names are not renamed in place.
  struct NameIndex {
    QHash<QString, int> numbers;    // case-folded name -> number
    qsizetype covered = -1;         // names indexed
    const QString* data = nullptr;  // the list's storage then: another list has another
  };
  int IndexedNumber(QStringList& names, NameIndex& index, const QString& name);
  SSignalSet IndexedLiterals(QStringList& names, NameIndex& index, const QStringList& items);
  USignalSet IndexedSignals(QStringList& names, NameIndex& index, const QStringList& items);
  int IndexedFindLine(const SSignalSet& key);
  // The position of the first transition of the line with this condition, or -1.
  int IndexedTransition(size_t line, const SSignalSet& condition);
  NameIndex xIndex_, yIndex_, sIndex_;
  QMultiHash<size_t, int> lineIndex_;  // key hash -> 1-based line
  size_t linesCovered_ = 0;
  const FTT_Line* linesData_ = nullptr;
  // Per line: condition hash -> transition, how many transitions that covers, and their storage.
  struct TransitionIndex {
    QMultiHash<size_t, int> conditions;
    size_t covered = 0;
    const void* data = nullptr;
  };
  std::vector<TransitionIndex> transitionIndex_;
};
