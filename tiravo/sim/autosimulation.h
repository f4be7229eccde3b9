#pragma once
// The automatic simulator without its window: an input sequence run from an
// initial event set, step by step, through a compiled automaton; the abstract
// input alphabet the sequence is written in; the report and the *.sgn image.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "tiravo/core/ftt.h"
#include "tiravo/sim/sgnfile.h"

namespace tiravo {

class AutoSimulation {
 public:
  explicit AutoSimulation(std::unique_ptr<FTT> model);

  FTT& Model() { return *model_; }
  const FTT& Model() const { return *model_; }
  bool IsAbstract() const { return model_->Mode == FTT::Abstract; }

  // Step k (1-based) uses Inputs[k-1] and leads from States[k-1] to States[k].
  std::vector<SSignalSet> Inputs;
  std::vector<USignalSet> States{USignalSet()};
  int StepCount = 0;
  QStringList EtalonAlphabet;  // the input names as the model was handed over
  SSignalSet DeadEndSignal;    // tried once when a step leads nowhere
  bool DeadEndOn = false;

  // The set step index k (0-based) reaches from States[k].
  USignalSet Next(int k) const;
  // Recomputes the steps from index j on. With `stopWhenSame`, stops at the
  // first recomputed set equal to the stored one (nothing later can change).
  // Returns the number of the last step whose set was written (j when none).
  int Simulate(int j, bool stopWhenSame);

  void SetInitial(const USignalSet& s0);
  void Append(const SSignalSet& input);
  // Before step k (1-based); the new input becomes step k.
  void Insert(int k, const SSignalSet& input);
  // With `stopWhenSame` the steps after it are recomputed only while they change.
  // Returns what Simulate returns.
  int Edit(int k, const SSignalSet& input, bool stopWhenSame = false);
  // Removes step k; States[0] .. States[k-1] stay as they were.
  void Delete(int k);
  void RemoveLast();
  void Clear();

  // Texts as the tables and the report show them.
  QString InputText(int k) const;  // of step k (1-based)
  QString EventsText(const USignalSet& s) const { return s.ToText(model_->SNames); }
  QString OutputsText(const USignalSet& s) const { return model_->Outputs(s).ToText(model_->YNames); }

  // ---- the abstract input alphabet: model names and letters stay in step ----
  const QStringList& Alphabet() const { return model_->XNames; }
  // Empty when the name was taken, else why not.
  QString AddLetter(const QString& name);
  QString RenameLetter(int index, const QString& name);
  // Only letters added beyond the reference alphabet can go.
  bool CanDelete(int index) const {
    return index >= int(EtalonAlphabet.size()) && index < int(Alphabet().size());
  }
  bool LetterInUse(int index) const;
  // The inputs of letters above the one removed move down with their names.
  bool DeleteLetter(int index);
  void RestoreEtalon();

  // ---- files ----
  SgnFile ToFile() const;
  // The sequence (and, for an abstract table, the alphabet) of a file that
  // passed SgnFile::FromBytes for this table; the initial set stays.
  void Apply(const SgnFile& file);
  // The RTF report, CR LF between lines and none after the last.
  QString ReportText() const;

 private:
  std::unique_ptr<FTT> model_;
};

}  // namespace tiravo
