#include "velmora/oa/oastep.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QVarLengthArray>

#include "velmora/oa/oaerrors.h"
#include "platform/quote.h"

namespace velmora {

// ---- TOperSave ----

void TOperSave::check(int i) const {
  if (i < 0 || i >= count())
    throw EOaRangeError(QStringLiteral("нет шага моделирования с номером %1").arg(i));
}

void TOperSave::Add(const QString& input, const std::vector<qint32>& values, const QString& answer) {
  // Each vector is grown before the rows count the new one, so running out of memory half way
  // leaves the rows as they were.
  const size_t n = inputs_.size();
  try {
    values_.resize((n + 1) * size_t(width_));
    std::copy_n(values.begin(), std::min(values.size(), size_t(width_)),
                values_.begin() + long(n * size_t(width_)));
    answers_.push_back(pool_.id(answer));
    inputs_.push_back(pool_.id(input));
  } catch (...) {
    values_.resize(n * size_t(width_));
    answers_.resize(n);
    inputs_.resize(n);
    throw;
  }
}

void TOperSave::InsertAt(int i, const QString& input, const std::vector<qint32>& values,
                         const QString& answer) {
  if (i < 0 || i > count()) throw EOaRangeError(QStringLiteral("нет шага моделирования с номером %1").arg(i));
  Add(QString(), std::vector<qint32>(size_t(width_), 0), QString());
  const size_t w = size_t(width_);
  for (int k = count() - 1; k > i; --k) inputs_[size_t(k)] = inputs_[size_t(k - 1)];
  inputs_[size_t(i)] = pool_.id(input);
  answers_[size_t(i)] = pool_.id(answer);
  std::copy_n(values.begin(), std::min(values.size(), w), values_.begin() + long(size_t(i) * w));
}

void TOperSave::SetAt(int i, const QString& input, const QString& answer, const std::vector<qint32>& values) {
  check(i);
  inputs_[size_t(i)] = pool_.id(input);
  SetAt(i, answer, values);
}

void TOperSave::SetAt(int i, const QString& answer, const std::vector<qint32>& values) {
  check(i);
  const size_t w = size_t(width_);
  answers_[size_t(i)] = pool_.id(answer);
  std::copy_n(values.begin(), std::min(values.size(), w), values_.begin() + long(size_t(i) * w));
}

void TOperSave::reserve(int rows) {
  inputs_.reserve(size_t(rows));
  answers_.reserve(size_t(rows));
  values_.reserve(size_t(rows) * size_t(width_));
}

void TOperSave::DeleteAt(int i) {
  check(i);
  const size_t w = size_t(width_);
  inputs_.erase(inputs_.begin() + i);
  answers_.erase(answers_.begin() + i);
  values_.erase(values_.begin() + long(size_t(i) * w), values_.begin() + long(size_t(i + 1) * w));
}

const QString& TOperSave::Input(int i) const {
  check(i);
  return pool_.text(inputs_[size_t(i)]);
}

const qint32* TOperSave::ValuesAt(int i) const {
  check(i);
  return values_.data() + size_t(i) * size_t(width_);
}

QString TOperSave::Values(int i) const {
  const qint32* v = ValuesAt(i);
  QString out;
  for (int k = 0; k < width_; ++k) {
    out += QString::number(v[k]);
    out += QLatin1Char('&');
  }
  return out;
}

const QString& TOperSave::Answer(int i) const {
  check(i);
  return pool_.text(answers_[size_t(i)]);
}

// ---- TModelStep ----

TModelStep::TModelStep(RegisterGrid* grid, const QStringList& blocks, const QStringList& xConditions,
                       const QStringList& xSignals, const QList<QStringList>& yItems,
                       const QStringList& ySignals)
    : TModelOA(grid, blocks, xConditions, xSignals, yItems, ySignals), history_(Count()) {
  history_.Add(firstRow(), std::vector<qint32>(size_t(Count()), 0), firstRow());
}

TModelStep::State TModelStep::saveState() {
  saveValues(&saved_);
  return {Answer(), lastInput_, SignalKnown, position_};
}

void TModelStep::restoreState(const State& state) {
  restoreValues(saved_);
  setAnswer(state.answer);
  lastInput_ = state.input;
  SignalKnown = state.known;
  position_ = state.position;
}

void TModelStep::currentValues(std::vector<qint32>* out) const {
  out->resize(registers_.size());
  for (size_t k = 0; k < registers_.size(); ++k) (*out)[k] = registers_[k].current();
}

void TModelStep::loadRow(const TOperSave& history, int i) {
  position_ = history.count() == 0 ? 0 : i;
  if (history.count() > 0 && i >= 0 && i < history.count()) {
    const qint32* values = history.ValuesAt(i);
    for (int k = 0; k < Count() && k < history.width(); ++k) registers_[size_t(k)].SetValue(values[k]);
  }
  CommitAll();
}

void TModelStep::LoadStep(int i) { loadRow(history_, i); }

void TModelStep::GoToStep(int i) {
  LoadStep(i);
  ShowRegisters();
}

QString TModelStep::GetStepSignals(int i) const { return history_.Answer(i); }

void TModelStep::evaluateStep(const QString& input) {
  SignalKnown = false;
  ApplyInput(input);
  CommitAll();
  if (SignalKnown)
    EvaluateConditions();
  else
    setAnswer(undefinedSignal());
}

void TModelStep::replayAfter(TOperSave& history, int k) {
  for (int i = k + 1; i < history.count(); ++i) {
    oa::withContext([&] { return QStringLiteral("Шаг %1: ").arg(i); },
                    [&] { evaluateStep(history.Input(i)); });
    currentValues(&row_);
    history.SetAt(i, Answer(), row_);
  }
}

QString TModelStep::ApplySignals(const QString& text, char mode) {
  const int s = position_;
  switch (mode) {
    case 'a': break;
    case 'c':
    case 'd':
    case 'i':
      if (s < 1)
        throw EOaRangeError(
            QStringLiteral("строку инициализации нельзя изменить, удалить или "
                           "вставить строку перед ней"));
      if (s > RowCount() || (s == RowCount() && mode != 'i'))
        throw EOaRangeError(QStringLiteral("нет шага моделирования с номером %1").arg(s));
      break;
    default: throw EOaSyntaxError(QStringLiteral("неизвестный режим шага '%1'").arg(QLatin1Char(mode)));
  }

  // Everything is done on copies or undone on failure: a step that fails changes nothing.
  const State saved = saveState();
  const int savedRows = RowCount();
  bool appended = false;
  try {
    lastInput_ = text;
    SignalKnown = false;
    if (mode == 'a')
      loadRow(history_, RowCount() - 1);
    else if (mode != 'd')
      loadRow(history_, s - 1);
    if (mode != 'd') evaluateStep(text);
    const QString result = Answer();

    currentValues(&row_);
    if (mode == 'a') {
      history_.Add(lastInput_, row_, Answer());
      appended = true;
    } else {
      TOperSave h = history_;
      if (mode == 'c') {
        h.SetAt(s, lastInput_, Answer(), row_);
        replayAfter(h, s);
      } else if (mode == 'i') {
        h.InsertAt(s, lastInput_, row_, Answer());
        replayAfter(h, s);
      } else {
        h.DeleteAt(s);
        loadRow(h, s - 1);
        replayAfter(h, s - 1);
      }
      history_ = std::move(h);
    }
    GoToStep(position_);
    return result;
  } catch (...) {
    if (appended && RowCount() > savedRows) history_.DeleteAt(RowCount() - 1);
    restoreState(saved);
    throw;
  }
}

void TModelStep::ReplaceSteps(const QStringList& inputs,
                              const std::function<void(const TOperSave&)>& prepare) {
  const State saved = saveState();
  try {
    // A new history from the initial row: the old one stays whole until the new one is.
    TOperSave h(Count());
    h.reserve(int(inputs.size()) + 1);
    h.Add(history_.Input(0), std::vector<qint32>(history_.ValuesAt(0), history_.ValuesAt(0) + Count()),
          history_.Answer(0));
    loadRow(h, 0);
    for (int i = 0; i < inputs.size(); ++i) {
      // The values run on from the step before, which is what loading its row would give.
      oa::withContext([&] { return QStringLiteral("Шаг %1: ").arg(i + 1); },
                      [&] { evaluateStep(inputs[i]); });
      currentValues(&row_);
      h.Add(inputs[i], row_, Answer());
    }
    if (prepare) prepare(h);
    lastInput_ = inputs.isEmpty() ? saved.input : inputs.last();
    history_ = std::move(h);
    GoToStep(RowCount() - 1);
  } catch (...) {
    restoreState(saved);
    throw;
  }
}

QString TModelStep::Reset(const QString& name, const QString& value) {
  const State saved = saveState();
  try {
    TOperSave h = history_;
    std::vector<qint32> values(size_t(Count()), 0);
    if (!name.isEmpty() && !value.isEmpty()) {
      const int target = FindRegister(name);
      if (target < 0)
        throw EOaNameError(
            QStringLiteral("Начальное значение: неописанный регистр %1").arg(quote::quoted(name)));
      // The other elements keep their initial values, whichever row is shown now.
      loadRow(h, 0);
      registers_[static_cast<size_t>(target)].SetValue(value);
      for (int j = 0; j < Count(); ++j) {
        const TRegister& r = registers_[static_cast<size_t>(j)];
        values[size_t(j)] = j == target ? r.pending() : r.current();
      }
      h.SetAt(0, firstRow(), QString(), values);
    } else {
      h.SetAt(0, QString(h.Answer(0)), values);
    }
    loadRow(h, 0);
    EvaluateConditions();
    const QString answer = Answer();
    h.SetAt(0, firstRow(), answer, values);
    if (h.count() > 1) replayAfter(h, 0);
    history_ = std::move(h);
    return answer;
  } catch (...) {
    restoreState(saved);
    throw;
  }
}

}  // namespace velmora
