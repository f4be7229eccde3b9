#include "tiravo/sim/autosimulation.h"

#include "platform/errors.h"
#include "tiravo/sim/letters.h"

namespace tiravo {

AutoSimulation::AutoSimulation(std::unique_ptr<FTT> model) : model_(std::move(model)) {
  if (!model_) throw VexoError(QStringLiteral("ошибка передачи данных в модуль TAutoSim!"));
  EtalonAlphabet = model_->XNames;
}

USignalSet AutoSimulation::Next(int k) const {
  USignalSet next, outputs;
  model_->Step(States[size_t(k)], Inputs[size_t(k)], next, outputs);
  if (next.IsEmpty() && DeadEndOn) model_->Step(States[size_t(k)], DeadEndSignal, next, outputs);
  return next;
}

int AutoSimulation::Simulate(int j, bool stopWhenSame) {
  int reached = j;
  for (int k = j; k < StepCount; ++k) {
    USignalSet next = Next(k);
    if (stopWhenSame && next == States[size_t(k) + 1]) break;
    States[size_t(k) + 1] = std::move(next);
    reached = k + 1;
  }
  return reached;
}

void AutoSimulation::SetInitial(const USignalSet& s0) { States[0] = s0; }

void AutoSimulation::Append(const SSignalSet& input) {
  Inputs.push_back(input);
  States.emplace_back();
  ++StepCount;
  Simulate(StepCount - 1, false);
}

void AutoSimulation::Insert(int k, const SSignalSet& input) {
  Inputs.insert(Inputs.begin() + (k - 1), input);
  States.insert(States.begin() + k, USignalSet());
  ++StepCount;
  Simulate(k - 1, false);
}

int AutoSimulation::Edit(int k, const SSignalSet& input, bool stopWhenSame) {
  Inputs[size_t(k) - 1] = input;
  return Simulate(k - 1, stopWhenSame);
}

void AutoSimulation::Delete(int k) {
  Inputs.erase(Inputs.begin() + (k - 1));
  States.erase(States.begin() + k);
  --StepCount;
  Simulate(k - 1, false);
}

void AutoSimulation::RemoveLast() {
  if (StepCount == 0) return;
  Inputs.pop_back();
  States.pop_back();
  --StepCount;
}

void AutoSimulation::Clear() {
  while (StepCount > 0) RemoveLast();
}

QString AutoSimulation::InputText(int k) const { return Inputs[size_t(k) - 1].ToText(model_->XNames); }

// ---- alphabet ----

QString AutoSimulation::AddLetter(const QString& name) {
  const QString refusal = LetterRefusal(name, Alphabet());
  if (refusal.isEmpty()) model_->XNames.append(name);
  return refusal;
}

QString AutoSimulation::RenameLetter(int index, const QString& name) {
  const QString refusal = LetterRefusal(name, Alphabet());
  if (refusal.isEmpty()) model_->XNames[index] = name;
  return refusal;
}

bool AutoSimulation::LetterInUse(int index) const {
  const SSignalSet letter{index + 1};
  for (const SSignalSet& input : Inputs)
    if (input == letter) return true;
  return false;
}

bool AutoSimulation::DeleteLetter(int index) {
  if (!CanDelete(index) || LetterInUse(index)) return false;
  model_->XNames.removeAt(index);
  for (SSignalSet& input : Inputs) {
    const int letter = input.At(0);
    if (input.Size() == 1 && letter > index + 1) input = SSignalSet{letter - 1};
  }
  return true;
}

void AutoSimulation::RestoreEtalon() { model_->XNames = EtalonAlphabet; }

// ---- files ----

SgnFile AutoSimulation::ToFile() const {
  SgnFile file;
  file.Abstract = IsAbstract();
  file.Etalon = EtalonAlphabet;
  if (file.Abstract) file.Current = Alphabet();
  file.Inputs = Inputs;
  return file;
}

void AutoSimulation::Apply(const SgnFile& file) {
  if (IsAbstract()) model_->XNames = file.Current;
  Inputs = file.Inputs;
  StepCount = int(Inputs.size());
  States.resize(size_t(StepCount) + 1);
  Simulate(0, false);
}

QString AutoSimulation::ReportText() const {
  const QString br = QStringLiteral("\r\n");
  QString text = QStringLiteral(
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2"
      "{\\*\\fname Symbol;}MT Symbol;}{\\f2\\fswiss Vexo font;}{\\f3\\fswiss\\fcharset204{\\*\\fname MS "
      "Sans Serif;}MS Shell Dlg;}{\\f4\\fnil\\fcharset204 Vexo font;}{\\f5\\fswiss\\fcharset204 Vexo "
      "font;}}");
  text += br;
  text += QStringLiteral("{\\colortbl\\red0\\green0\\blue0;}") + br;
  text += QStringLiteral(
              "\\deflang1033\\pard\\plain\\lang1049\\f5\\fs16\\cf0 Исходное состояние: "
              "\\plain\\f2\\fs16\\cf0 ") +
          EventsText(States[0]) + QStringLiteral("\\plain\\lang1049\\f5\\fs16\\cf0 ") + br;
  const QString undefined = QStringLiteral("Не определено");
  for (int k = 1; k <= StepCount; ++k) {
    const USignalSet& s = States[size_t(k)];
    text += QStringLiteral("\\par Шаг ") + QString::number(k) + QStringLiteral(":\\tab ") + InputText(k) +
            QStringLiteral("\\tab ");
    text += s.IsEmpty() ? undefined + QStringLiteral("\\tab ") + undefined
                        : EventsText(s) + QStringLiteral("\\tab ") + OutputsText(s);
    text += br;
  }
  text += QStringLiteral("\\par }");
  return text;
}

}  // namespace tiravo
