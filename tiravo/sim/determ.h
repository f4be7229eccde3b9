#pragma once
// Determinization: each event set reachable from a chosen initial set becomes
// one state of a new automaton (subset construction). The work is cut into
// rounds of one state each, so a window can keep its messages running, show
// progress and stop between rounds.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "automata/bitsets.h"
#include "tiravo/core/ftt.h"
#include "tiravo/core/namelist.h"

namespace determ {

enum class Trigger { D, T };

struct Options {
  USignalSet initial;      // S0
  QStringList eventNames;  // the [S] alphabet: the texts of the states are made of these
  bool rename = false;     // name the states template + number instead
  QString nameTemplate = QStringLiteral("a");
  bool complete = true;  // a condition that leads nowhere stops the run
  Trigger trigger = Trigger::D;
};

// A message box to show: text, caption, icon.
struct Notice {
  enum Icon { NoIcon, Information, Warning };
  QString text;
  QString caption;
  Icon icon = NoIcon;
};

// The lines of a memo text (a final line break opens no new line).
QStringList MemoLines(const QString& text);

struct AlphabetCheck {
  bool ok = true;
  int position = -1;  // in the text: the first character to select
  int length = 0;
  Notice notice;  // what to show when not ok
};
// The [S] alphabet as the user edits it: no forbidden character, at least
// `required` lines, and among those no empty name and no name twice (case
// does not tell names apart).
AlphabetCheck CheckAlphabet(const QString& text, const QString& tag, int required);

// Refusal of a renaming template, or an empty text when it is usable.
QString CheckTemplate(const QString& nameTemplate);

class Run {
 public:
  enum Status { Running, Done, Empty, NoTarget, Refused, Stopped };

  // Reads `source` for the whole run; the source must outlive it.
  Run(const FTT& source, Options options);

  Status status() const { return status_; }
  // Takes up the next state. Does nothing once the run has ended.
  Status Round();
  // Rounds to the end; `between` runs before each round and stops the run by
  // returning false.
  Status RunAll(const std::function<bool(const Run&)>& between = {});
  // The next round ends the run as Stopped.
  void Stop() { stopRequested_ = true; }

  int Total() const;                        // states found so far
  int Current() const { return current_; }  // the state the next round takes up
  int Percent() const;
  // "Детерминизация: Всего=..., текущее[i]=..." for the state the next round takes up.
  QString StatusText() const;
  // The same for the state the last round took up (empty before the first round).
  QString LastStatusText() const;

  QString Message() const { return message_; }                // why Refused
  QString ErrorEvent() const { return errorEvent_; }          // NoTarget: the state
  QString ErrorCondition() const { return errorCondition_; }  // NoTarget: the condition

  // Done: the result (once). Otherwise null.
  std::unique_ptr<FTT> TakeResult();
  bool Renames() const { return options_.rename; }  // new names template + number
  QStringList OldNames() const;                     // texts of the event sets, all made
  QStringList NewNames() const;
  // The texts of the event sets, each made when first read. It shares the run's rows,
  // so it stays usable after the run is gone.
  NameList OldNameList() const;

  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;
  ~Run();

 private:
  struct Index;
  // The state of the event set `set` (a row of the table), found or added, 1-based;
  // 0 when refused.
  int StateOf(const uint64_t* set);
  // Rounds from the state current_ on from the rows of the events, for sets of W words
  // (0: of any width), at most `most` of them, current_ moved past each: the rounds
  // taken, fewer when a state needs the general round or the states run out.
  template <int W>
  size_t DenseRoundsOf(size_t most);
  struct Prepared;
  template <int W>
  bool Prepare(int state, Prepared* p, bool keep);
  void GeneralRound();
  // The general round of the state current_, then on to the next state or the result.
  void GeneralStep();
  void Outputs(const uint64_t* set);  // of the state, when any line has outputs
  void MakeLines();
  // Abstract inputs, every key one event: the index's rows of each event.
  void BuildRows(int events);
  USignalSet SetOf(int k) const;
  NameList NewNameList() const;  // made when read, like OldNameList()
  void Fail(Status status);
  QString StatusTextOf(int state) const;
  // The successor groups of the matched lines into the index's scratch (abstract inputs).
  void AbstractGroups();
  void DenseGroups();  // the same from the rows of the events
  // An unconditional move (when any has targets) joins every group and every letter.
  void AddUnconditional(bool anyUnconditional);

  const FTT& source_;
  Options options_;
  Status status_ = Running;
  bool stopRequested_ = false;
  int current_ = 0;
  QString message_, errorEvent_, errorCondition_;
  // The event set of state k is row k of its table. Its text is made only when asked
  // for: most states are never shown. The result's names share it.
  struct States;
  std::shared_ptr<States> states_;
  std::unique_ptr<Index> index_;
  std::unique_ptr<FTT> result_;
};

// One row of the name table: number, new name, old name.
struct NameRow {
  int number;
  QString newName;
  QString oldName;
};

// What the determinizer window keeps apart from its controls: the source,
// the last good result and the run in progress.
class Determinizer {
 public:
  // Takes the model; a null one is refused with an exception.
  void SetTable(std::unique_ptr<FTT> model, const QString& tableName);
  bool Ready() const { return source_ != nullptr; }
  const FTT* Source() const { return source_.get(); }
  const FTT* Result() const { return result_.get(); }
  QString TableName() const { return tableName_; }
  QString CodingText() const;  // "двоичные" or "абстрактные"
  bool CompleteAllowed() const { return source_ && source_->Mode == FTT::Binary; }

  bool Running() const { return run_ != nullptr; }
  const Run* CurrentRun() const { return run_.get(); }
  // False, with what to show, when no run can start now.
  bool Begin(const Options& options, Notice* refusal);
  // One round of the current run. When the run ends, a good result replaces
  // the previous one; any other end leaves the previous result in place.
  Run::Status Round();
  // Rounds to the end, `between` as in Run::RunAll.
  Run::Status RunAll(const std::function<bool(const Run&)>& between = {});
  void Interrupt();
  // What to show after the end with `status` (nothing for Running and for
  // NoTarget, which has its own dialog).
  Notice EndNotice(Run::Status status) const;
  // The status text of the state the last ended run took up last.
  QString LastStatus() const { return lastStatus_; }
  // Set after each ended run, for the error dialog.
  QString ErrorEvent() const { return errorEvent_; }
  QString ErrorCondition() const { return errorCondition_; }

  // States of the last good result: how many, and the row of state k (0-based). A
  // row's names are made when it is first asked for: a result may hold hundreds of
  // thousands of states, and only those shown need their texts.
  int StateCount() const { return result_ ? int(result_->SNames.size()) : 0; }
  NameRow NameAt(int k) const;

 private:
  std::unique_ptr<FTT> source_;
  std::unique_ptr<FTT> result_;
  std::unique_ptr<Run> run_;
  QString tableName_;
  QString refusal_;
  QString errorEvent_, errorCondition_;
  QString lastStatus_;
  // The old names of the result's states when it was renamed; otherwise its own
  // names are the old ones too.
  NameList oldNames_;
  bool renamed_ = false;
};

// The rows of the table window that shows `result`, from row 1 on, five
// columns each, ending with the empty row after the last line. False, with
// what to show, when there is nothing to show.
bool ResultTableRows(const FTT* result, std::vector<QStringList>* rows, Notice* error);

}  // namespace determ
