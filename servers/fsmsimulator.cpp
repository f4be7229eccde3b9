#include "servers/fsmsimulator.h"

#include <algorithm>

#include "servers/fsmformat.h"
#include "platform/quote.h"

namespace fsm {

int Simulator::load(const QString& path) {
  Model m;
  QString error;
  loaded_ = false;
  hasState_ = false;
  state_.clear();
  if (!FsmFile::read(path, &m, &error)) {
    model_.clear();
    status_ = QStringLiteral("Ошибка загрузки: %1").arg(error);
    return -1;
  }
  setModel(m);
  status_ = QStringLiteral("Загружен файл %1").arg(path);
  return 0;
}

void Simulator::setModel(const Model& model) {
  model_ = model;
  loaded_ = true;
  hasState_ = false;
  state_.clear();
  status_.clear();
}

int Simulator::setState(const QString& text) {
  if (!loaded_) {
    status_ = QStringLiteral("Автомат не загружен");
    return Error;
  }
  Set s;
  QString error;
  if (!model_.parseEvents(text, &s, &error)) {
    status_ = QStringLiteral("Состояние '%1': %2").arg(quote::excerpt(text), error);
    return Error;
  }
  state_ = s;
  hasState_ = true;
  if (s.isEmpty()) {
    status_ = QStringLiteral("Нет событий: состояние пусто");
    return NoEvents;
  }
  status_ = QStringLiteral("Состояние: %1").arg(state());
  return Made;
}

bool Simulator::parseInput(const QString& text, Set* active, QStringList* notes) {
  QVector<Name> names;
  ScanError e;
  if (!scanNames(text, &names, &e)) {
    status_ =
        QStringLiteral("Вход '%1', позиция %2: %3").arg(quote::excerpt(text)).arg(e.pos + 1).arg(e.message);
    return false;
  }
  Set zero;
  for (const Name& n : names) {
    const int k = Model::numberOf(model_.inputs, n.key);
    if (k == 0) {
      *notes
          << QStringLiteral("Входной сигнал '%1' автомату не известен и пропущен").arg(quote::excerpt(n.key));
      continue;
    }
    Set& into = n.inverted ? zero : *active;
    if (!std::binary_search(into.begin(), into.end(), k))
      into.insert(std::lower_bound(into.begin(), into.end(), k), k);
  }
  for (int k : zero) {
    if (std::binary_search(active->begin(), active->end(), k)) {
      status_ = QStringLiteral("Вход '%1': сигнал '%2' задан и прямо, и инверсно")
                    .arg(quote::excerpt(text), quote::excerpt(model_.inputs[k - 1]));
      return false;
    }
  }
  return true;
}

Set Simulator::next(const Set& from, const Set& input, bool* anyTransition, bool* fired) const {
  Set out;
  *anyTransition = false;
  *fired = false;
  for (const Line& line : model_.lines) {
    if (!satisfies(from, line.key)) continue;
    for (const Transition& t : line.transitions) {
      *anyTransition = true;
      if (!satisfies(input, t.condition)) continue;
      *fired = true;
      out = unite(out, t.targets);
    }
  }
  return out;
}

int Simulator::doStep(const QString& input) {
  if (!loaded_) {
    status_ = QStringLiteral("Автомат не загружен");
    return Error;
  }
  if (!hasState_) {
    status_ = QStringLiteral("Состояние не задано");
    return Error;
  }
  // What the joint model's operational automaton answers when it knew none of the outputs of
  // the step (a state without outputs, for one): no input is known, so only an unconditional
  // transition can be taken.
  if (input.trimmed() == QStringLiteral("сигнал неопределен")) return unconditionalStep();
  Set active;
  QStringList notes;
  if (!parseInput(input, &active, &notes)) return Error;
  bool any = false, fired = false;
  const Set to = next(state_, active, &any, &fired);
  const QString from = state();
  int status = Made;
  if (!any) {
    notes << QStringLiteral("Нет событий: из состояния %1 переходов нет").arg(from);
    status = NoEvents;
  } else if (!fired) {
    notes << QStringLiteral("Нет перехода из состояния %1 по входу %2").arg(from, input);
    status = NoTransition;
  } else {
    state_ = to;
    notes << QStringLiteral("Переход из %1 по входу %2 в %3").arg(from, input, state());
  }
  status_ = notes.join(QLatin1Char('\n'));
  return status;
}

int Simulator::unconditionalStep() {
  const QString from = state();
  Set to;
  bool any = false;
  for (const Line& line : model_.lines) {
    if (!satisfies(state_, line.key)) continue;
    for (const Transition& t : line.transitions) {
      if (!t.condition.isEmpty()) continue;
      any = true;
      to = unite(to, t.targets);
    }
  }
  if (!any) {
    status_ = QStringLiteral(
                  "Нет перехода из состояния %1: входные сигналы не известны "
                  "(сигнал неопределен), а безусловного перехода нет")
                  .arg(from);
    return NoTransition;
  }
  state_ = to;
  status_ = QStringLiteral("Входные сигналы не известны (сигнал неопределен): безусловный переход из %1 в %2")
                .arg(from, state());
  return Made;
}

int SimSession::open(const QString& path) {
  history_.clear();
  return sim_.load(path);
}

void SimSession::setModel(const Model& model) {
  history_.clear();
  sim_.setModel(model);
}

int SimSession::reset(const QString& stateText) {
  const int status = sim_.setState(stateText);
  if (status == Simulator::Error) return status;  // the simulation goes on as it was
  history_.clear();
  history_.append({0, QString(), status, sim_.state(), sim_.out()});
  return status;
}

int SimSession::step(const QString& input) {
  // Before the first reset the simulator has no state and refuses the step itself.
  const int status = sim_.doStep(input);
  if (status == Simulator::Made)
    history_.append({int(history_.size()), input, status, sim_.state(), sim_.out()});
  return status;
}

bool SimSession::back() {
  if (history_.size() < 2) return false;
  history_.removeLast();
  sim_.setState(history_.last().state);
  return true;
}

}  // namespace fsm
