#pragma once
// The step simulator without its window: a walk through a compiled automaton
// one step at a time, with a history that can be stepped back through and
// replayed, and the lines of its readable record.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "tiravo/core/ftt.h"

namespace tiravo {

class StepHistory {
 public:
  struct Record {
    USignalSet events;
    SSignalSet input;
    QString eventsText;
    QString inputText;
  };

  explicit StepHistory(std::unique_ptr<FTT> model);
  const FTT& Model() const { return *model_; }

  // Starts a new history from `events`; an input already given is kept.
  void SetInitial(const USignalSet& events, const QString& text);
  // The input a dialog starts from: this step's, or the one before when empty.
  SSignalSet InputPreset() const;
  void SetInput(const SSignalSet& input, const QString& text);
  // The condition of group i becomes the input. False without groups.
  bool ChooseGroup(int i);
  // False when there is nothing to step from.
  bool Step();
  bool Back();

  int Current() const { return current_; }
  int LastRecorded() const { return last_; }
  const Record& CurrentRecord() const { return records_[size_t(current_)]; }
  const std::vector<Record>& Records() const { return records_; }
  bool InputGiven() const { return inputGiven_; }
  bool HasGroups() const { return !groups_.empty(); }
  bool CanStep() const { return inputGiven_ && HasGroups() && !CurrentRecord().events.IsEmpty(); }
  bool CanBack() const { return current_ > 0; }

  // "(Шаг n)"
  QString StepLabel() const;
  // What the event edit shows.
  QString EventsDisplay() const;
  // What the input edit shows.
  QString InputDisplay() const;
  // One item per group: the condition padded to a common width, then the targets.
  QStringList GroupItems() const;
  // The readable record: the initial event set, then one line per step taken.
  const QStringList& Lines() const { return lines_; }

 private:
  void TakeGroups(const USignalSet& events);

  std::unique_ptr<FTT> model_;
  std::vector<Record> records_{Record()};
  int current_ = 0, last_ = 0;
  bool inputGiven_ = false, savedGiven_ = false;
  std::vector<XSY> groups_;
  QString eventsShown_;
  QStringList lines_;
};

}  // namespace tiravo
