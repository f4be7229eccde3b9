#include "tiravo/sim/stephistory.h"

#include <algorithm>

#include "platform/errors.h"

namespace tiravo {

StepHistory::StepHistory(std::unique_ptr<FTT> model) : model_(std::move(model)) {
  if (!model_) throw VexoError(QStringLiteral("ошибка передачи данных в модуль TSimStep!"));
}

void StepHistory::TakeGroups(const USignalSet& events) { groups_ = model_->Successors(events); }

void StepHistory::SetInitial(const USignalSet& events, const QString& text) {
  Record first;
  first.events = events;
  first.eventsText = text;
  if (inputGiven_) {
    first.input = CurrentRecord().input;
    first.inputText = CurrentRecord().inputText;
  }
  records_.assign(1, first);
  current_ = last_ = 0;
  eventsShown_ = text;
  lines_ = QStringList{QStringLiteral("Начальное событие:") + text};
  TakeGroups(events);
}

SSignalSet StepHistory::InputPreset() const {
  const SSignalSet& own = CurrentRecord().input;
  if (own.IsEmpty() && current_ > 0) return records_[size_t(current_) - 1].input;
  return own;
}

void StepHistory::SetInput(const SSignalSet& input, const QString& text) {
  Record& r = records_[size_t(current_)];
  r.input = input;
  r.inputText = text;
  inputGiven_ = true;
}

bool StepHistory::ChooseGroup(int i) {
  if (i < 0 || i >= int(groups_.size())) return false;
  const SSignalSet& x = groups_[size_t(i)].x;
  SetInput(x, x.ToText(model_->XNames));
  return true;
}

bool StepHistory::Step() {
  if (groups_.empty()) return false;
  const Record& from = CurrentRecord();
  USignalSet next;
  for (const XSY& g : groups_)
    if (g.x.Covers(from.input)) next.Union(g.s);
  QString text = next.ToText(model_->SNames);
  if (next.IsEmpty()) text = QStringLiteral("?Событие?");
  lines_.append(QStringLiteral("шаг ") + QString::number(current_ + 1) + QStringLiteral(": из ") +
                from.eventsText + QStringLiteral(" при ") + from.inputText + QStringLiteral(" в ") + text);
  eventsShown_ = text;
  TakeGroups(next);
  const bool wasLast = current_ == last_;
  ++current_;
  if (wasLast) {
    records_.push_back(Record{next, SSignalSet(), text, QString()});
    last_ = current_;
    inputGiven_ = false;
  } else {
    Record& r = records_[size_t(current_)];
    r.events = next;
    r.eventsText = text;
    inputGiven_ = current_ == last_ ? savedGiven_ : true;
  }
  return true;
}

bool StepHistory::Back() {
  if (current_ == 0) return false;
  if (current_ == last_) savedGiven_ = inputGiven_;
  --current_;
  inputGiven_ = true;
  eventsShown_ = CurrentRecord().eventsText;
  TakeGroups(CurrentRecord().events);
  if (!lines_.isEmpty()) lines_.removeLast();
  return true;
}

QString StepHistory::StepLabel() const {
  return QStringLiteral("(Шаг ") + QString::number(current_ + 1) + QLatin1Char(')');
}

QString StepHistory::EventsDisplay() const {
  if (lines_.isEmpty()) return QStringLiteral("начальное событие не задано");
  if (groups_.empty()) return eventsShown_ + QStringLiteral("-пустое событие, переходы неопределены");
  return eventsShown_;
}

QString StepHistory::InputDisplay() const {
  if (!inputGiven_) return QStringLiteral("Входной сигнал не задан");
  return CurrentRecord().inputText;
}

QStringList StepHistory::GroupItems() const {
  QStringList conditions;
  int width = 0;
  for (const XSY& g : groups_) {
    conditions << g.x.ToText(model_->XNames);
    width = std::max(width, int(conditions.last().size()));
  }
  QStringList items;
  for (size_t i = 0; i < groups_.size(); ++i) {
    const USignalSet& s = groups_[i].s;
    items << conditions[int(i)].leftJustified(width + 1) +
                 (s.IsEmpty() ? QStringLiteral("незаконченный переход") : s.ToText(model_->SNames));
  }
  return items;
}

}  // namespace tiravo
