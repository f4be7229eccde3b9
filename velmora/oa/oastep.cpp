#include "velmora/oa/oastep.h"

#include <utility>
#include <vector>

#include <QVarLengthArray>

#include "velmora/oa/oaerrors.h"

// ---- TOperSave ----

void TOperSave::check(int i) const {
  if (i < 0 || i >= count())
    throw EOaRangeError(QStringLiteral("нет шага моделирования с номером %1").arg(i));
}

void TOperSave::Add(const QString& input, const QString& values, const QString& answer) {
  inputs_ << input;
  values_ << values;
  answers_ << answer;
}

void TOperSave::InsertAt(int i, const QString& input, const QString& values, const QString& answer) {
  if (i < 0 || i > count())
    throw EOaRangeError(QStringLiteral("нет шага моделирования с номером %1").arg(i));
  Add(QString(), QString(), QString());
  for (int k = count() - 1; k > i; --k) inputs_[k] = inputs_[k - 1];
  inputs_[i] = input;
  values_[i] = values;
  answers_[i] = answer;
}

void TOperSave::SetAt(int i, const QString& input, const QString& answer, const QString& values) {
  check(i);
  inputs_[i] = input;
  answers_[i] = answer;
  values_[i] = values;
}

void TOperSave::SetAt(int i, const QString& answer, const QString& values) {
  check(i);
  answers_[i] = answer;
  values_[i] = values;
}

void TOperSave::DeleteAt(int i) {
  check(i);
  inputs_.removeAt(i);
  values_.removeAt(i);
  answers_.removeAt(i);
}

QString TOperSave::Input(int i) const {
  check(i);
  return inputs_[i];
}

QString TOperSave::Values(int i) const {
  check(i);
  return values_[i];
}

QString TOperSave::Answer(int i) const {
  check(i);
  return answers_[i];
}

// ---- TModelStep ----

TModelStep::TModelStep(RegisterGrid* grid, const QStringList& blocks, const QStringList& xConditions,
                       const QStringList& xSignals, const QList<QStringList>& yItems,
                       const QStringList& ySignals)
    : TModelOA(grid, blocks, xConditions, xSignals, yItems, ySignals) {
  history_.Add(firstRow(), QStringLiteral("0&").repeated(Count()), firstRow());
}

QString TModelStep::valuesText() const {
  // Written digit by digit into a buffer and copied once: this runs for every step and every
  // replayed row, and a long history keeps a million of these texts.
  QVarLengthArray<QChar, 16 * 12> buf;
  for (const TRegister& r : registers_) {
    const qint64 v = r.current();
    quint64 u = v < 0 ? quint64(-v) : quint64(v);
    if (v < 0) buf.append(QLatin1Char('-'));
    QChar digits[10];
    int n = 0;
    do {
      digits[n++] = QLatin1Char(char('0' + u % 10));
      u /= 10;
    } while (u);
    while (n) buf.append(digits[--n]);
    buf.append(QLatin1Char('&'));
  }
  return QString(buf.constData(), int(buf.size()));
}

void TModelStep::loadRow(const TOperSave& history, int i) {
  position_ = history.count() == 0 ? 0 : i;
  if (history.count() > 0 && i >= 0 && i < history.count()) {
    const QString values = history.Values(i);
    int element = 0;
    int start = 0;
    const int n = values.size();
    for (int k = 0; k <= n && element < Count(); ++k) {
      if (k < n && values[k] != QLatin1Char('&')) continue;
      if (k == n && start == n) break;  // the text ends with its last "&"
      registers_[static_cast<size_t>(element++)].SetValue(QStringView(values).mid(start, k - start));
      start = k + 1;
    }
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
    oa::withContext([&] { return QStringLiteral("Шаг %1: ").arg(i); }, [&] { evaluateStep(history.Input(i)); });
    history.SetAt(i, Answer(), valuesText());
  }
}

QString TModelStep::ApplySignals(const QString& text, char mode) {
  const int s = position_;
  switch (mode) {
    case 'a':
      break;
    case 'c':
    case 'd':
    case 'i':
      if (s < 1)
        throw EOaRangeError(QStringLiteral("строку инициализации нельзя изменить, удалить или "
                                           "вставить строку перед ней"));
      if (s > RowCount() || (s == RowCount() && mode != 'i'))
        throw EOaRangeError(QStringLiteral("нет шага моделирования с номером %1").arg(s));
      break;
    default:
      throw EOaSyntaxError(QStringLiteral("неизвестный режим шага '%1'").arg(QLatin1Char(mode)));
  }

  // Everything is done on copies or undone on failure: a step that fails changes nothing.
  saveValues(&saved_);
  const QString savedAnswer = Answer();
  const QString savedInput = lastInput_;
  const bool savedKnown = SignalKnown;
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

    if (mode == 'a') {
      history_.Add(lastInput_, valuesText(), Answer());
      appended = true;
    } else {
      TOperSave h = history_;
      if (mode == 'c') {
        h.SetAt(s, lastInput_, Answer(), valuesText());
        replayAfter(h, s);
      } else if (mode == 'i') {
        h.InsertAt(s, lastInput_, valuesText(), Answer());
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
    restoreValues(saved_);
    setAnswer(savedAnswer);
    lastInput_ = savedInput;
    SignalKnown = savedKnown;
    position_ = s;
    throw;
  }
}

QString TModelStep::Reset(const QString& name, const QString& value) {
  saveValues(&saved_);
  const QString savedAnswer = Answer();
  const bool savedKnown = SignalKnown;
  const int savedPosition = position_;
  try {
    TOperSave h = history_;
    QString values;
    if (!name.isEmpty() && !value.isEmpty()) {
      const int target = FindRegister(name);
      if (target < 0)
        throw EOaNameError(QStringLiteral("Начальное значение: неописанный регистр \"%1\"").arg(name));
      // The other elements keep their initial values, whichever row is shown now.
      loadRow(h, 0);
      registers_[static_cast<size_t>(target)].SetValue(value);
      for (int j = 0; j < Count(); ++j) {
        const TRegister& r = registers_[static_cast<size_t>(j)];
        values += QString::number(j == target ? r.pending() : r.current());
        values += QLatin1Char('&');
      }
      h.SetAt(0, firstRow(), QString(), values);
    } else {
      values = QStringLiteral("0&").repeated(Count());
      h.SetAt(0, h.Answer(0), values);
    }
    loadRow(h, 0);
    EvaluateConditions();
    const QString answer = Answer();
    h.SetAt(0, firstRow(), answer, values);
    if (h.count() > 1) replayAfter(h, 0);
    history_ = std::move(h);
    return answer;
  } catch (...) {
    restoreValues(saved_);
    setAnswer(savedAnswer);
    SignalKnown = savedKnown;
    position_ = savedPosition;
    throw;
  }
}
