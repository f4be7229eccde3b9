// The automatic simulator's commands: the input sequence, its file, the
// report and the abstract input alphabet.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "platform/dialogs.h"
#include "platform/docwindow.h"
#include "platform/textfile.h"
#include "tiravo/forms/addzform.h"
#include "tiravo/forms/autosim.h"
#include "tiravo/forms/setsform.h"

namespace tiravo {

namespace {

const QString kSgnExt = QStringLiteral("sgn");

void FileError(QWidget* w, const QString& path, int reason) {
  dlg::message(w, SgnFile::ErrorText(path, reason), QStringLiteral("Ошибка!"), dlg::Ok, dlg::Warning);
}

void Inform(QWidget* w, const QString& text, const QString& caption) {
  dlg::message(w, text, caption, dlg::Ok, dlg::Information);
}

}  // namespace

bool TAutoSim::ChooseInput(const SSignalSet& start, SSignalSet* chosen) {
  TSetSForm dialog(this);
  const QStringList& names = sim_->Alphabet();
  if (!dialog.SetIt(names, start, sim_->IsAbstract() ? TSetSForm::AbstractInput : TSetSForm::BinaryInput))
    return false;
  if (dialog.exec() != QDialog::Accepted) return false;
  QString text;
  SignalSet set;
  dialog.GetIt(text, names, set);
  *chosen = SSignalSet(set);
  return true;
}

// ---- the sequence ----

void TAutoSim::bbSetS0Click() {
  if (!sim_) return;
  TSetSForm dialog(this);
  const QStringList& names = sim_->Model().SNames.All();
  if (!dialog.SetIt(names, sim_->States[0], TSetSForm::EventSet)) return;
  if (dialog.exec() != QDialog::Accepted) return;
  QString text;
  SignalSet set;
  dialog.GetIt(text, names, set);
  eS0->setText(text);
  sbAdd->setEnabled(true);
  sbInsert->setEnabled(true);
  for (QAction* a : addItems) a->setEnabled(true);
  sbReport->setEnabled(true);
  // In the horizontal table only the steps that change are recomputed.
  const int step = CurrentStep();
  grid_->SetInitial(USignalSet(set), Horizontal);
  SelectStep(step);
}

void TAutoSim::sbAddClick() {
  if (!sim_) return;
  SSignalSet input;
  if (!ChooseInput(sim_->Inputs.empty() ? SSignalSet() : sim_->Inputs.back(), &input)) return;
  grid_->Append(input);
  SetStepCommandsEnabled();
  SelectStep(sim_->StepCount);
}

void TAutoSim::sbInsertClick() {
  if (!sim_) return;
  if ((!Horizontal && sim_->StepCount == 0) || LastColumnSelected()) {
    sbAddClick();
    return;
  }
  const int k = CurrentStep();
  SSignalSet input;
  if (!ChooseInput(sim_->Inputs[size_t(k) - 1], &input)) return;
  grid_->Insert(k, input);
  SetStepCommandsEnabled();
  SelectStep(k);
}

void TAutoSim::sbEditClick() {
  if (!sim_) return;
  if (LastColumnSelected()) {
    sbAddClick();
    return;
  }
  if (sim_->StepCount == 0) {
    Inform(this, QStringLiteral("Таблица пуста!"), QStringLiteral("Опа!"));
    return;
  }
  const int k = CurrentStep();
  SSignalSet input;
  if (!ChooseInput(sim_->Inputs[size_t(k) - 1], &input)) return;
  grid_->Edit(k, input, Horizontal);
  SelectStep(k);
}

void TAutoSim::sbDeleteClick() {
  if (!sim_ || sim_->StepCount == 0) return;
  if (LastColumnSelected()) {
    QApplication::beep();
    return;
  }
  const int k = CurrentStep();
  if (k >= sim_->StepCount) {
    sbMinusClick();
    return;
  }
  grid_->Delete(k);
  SelectStep(k);
}

void TAutoSim::sbMinusClick() {
  if (!sim_ || sim_->StepCount == 0) return;
  grid_->RemoveLast();
  if (Horizontal) grid_->Resimulate(qMax(sim_->StepCount - 1, 0), false);
  SetStepCommandsEnabled();
  SelectStep(Horizontal ? sim_->StepCount + (sim_->StepCount == 0 ? 1 : 0) : sim_->StepCount);
}

// ---- dead-end signal ----

void TAutoSim::BugClick() {
  if (!sim_) return;
  TSetSForm dialog(this);
  if (!dialog.SetIt(sim_->EtalonAlphabet, sim_->DeadEndSignal, TSetSForm::AbstractInput)) return;
  dialog.setWindowTitle(QStringLiteral("Задание тупикового сигнала"));
  if (dialog.exec() != QDialog::Accepted) return;
  QString text;
  SignalSet set;
  dialog.GetIt(text, sim_->EtalonAlphabet, set);
  sim_->DeadEndSignal = SSignalSet(set);
  PanelX->setTitle(QStringLiteral("Входных сигналов: [") + text + QLatin1Char(']'));
  sim_->DeadEndOn = true;
  Bugs->setChecked(true);
  FullRebuild();
}

void TAutoSim::BugsClick() {
  if (!sim_) return;
  sim_->DeadEndOn = !sim_->DeadEndOn;
  Bugs->setChecked(sim_->DeadEndOn);
  FullRebuild();
}

// ---- file and report ----

bool TAutoSim::sbSaveClick() {
  if (!sim_) return false;
  const QString path =
      docwin::askSavePath(this, QStringLiteral("input"),
                          QStringLiteral("Файлы с входными сигналами: *.sgn|*.sgn|Все файлы: *.*|*.*"),
                          kSgnExt, QString(), QStringLiteral("Сохранение входных сигналов на жёстком диске"));
  if (path.isEmpty()) return false;
  QString error;
  if (!sim_->ToFile().Save(path, &error)) {
    FileError(this, path, SgnFile::CannotOpen);
    return false;
  }
  return true;
}

void TAutoSim::sbLoadClick() {
  if (!sim_) return;
  const QString path = dlg::openFile(
      this, QStringLiteral("Фалы с входными сигналами: *.sgn|*.sgn|Все файлы: *.*|*.*"), QString(),
      QStringLiteral("Открытие файла с входнами сигналами"), QStringLiteral("input"));
  if (path.isEmpty()) return;
  // The whole file is read and checked before anything changes.
  SgnFile file;
  const int reason = file.Load(path, sim_->Model().Mode, sim_->EtalonAlphabet);
  if (reason != SgnFile::Accepted) {
    FileError(this, path, reason);
    return;
  }
  if (sim_->IsAbstract() && dlg::message(this, QStringLiteral("Сменить текущий алфавит входных сигналов?"),
                                         QStringLiteral("Загрузка входной полследовательности"),
                                         dlg::Yes | dlg::No, dlg::Question) != dlg::Yes) {
    Inform(this, QStringLiteral("Опереция загрузки входной последовательности отменена!"),
           QStringLiteral("Внимание!"));
    return;
  }
  sim_->Apply(file);
  FillAlphabet();
  lbX->clearSelection();
  SetStepCommandsEnabled();
  Rebuild(CurrentStep(), false);  // Apply has just recomputed every step
}

bool TAutoSim::sbReportClick() {
  if (!sim_) return false;
  const QString path = docwin::askSavePath(this, QStringLiteral("report"),
                                           QStringLiteral("Файлы отчётов *.rtf|*.rtf|Все файлы *.*|*.*"),
                                           QStringLiteral("rtf"));
  if (path.isEmpty()) return false;
  QString error;
  if (!textfile::writeText(path, sim_->ReportText(), &error)) {
    dlg::message(this, QStringLiteral("Error file creation!"), QStringLiteral("SaveDialog"), dlg::Ok,
                 dlg::Warning);
    return false;
  }
  return true;
}

// ---- the abstract input alphabet ----

void TAutoSim::lbXClick() {
  ChanZ->setEnabled(true);
  DelZ->setEnabled(sim_ && sim_->CanDelete(lbX->currentRow()));
}

void TAutoSim::AppZClick() {
  if (!sim_) return;
  TAddZForm* form = AddZForm();
  form->setWindowTitle(QStringLiteral("Добавление абстрактного входного сигнала"));
  form->Alphabet = sim_->Alphabet();
  form->index->setText(QString::number(sim_->Alphabet().size() + 1));
  if (form->exec() != QDialog::Accepted) return;
  if (!sim_->AddLetter(form->Name->text()).isEmpty()) return;
  FillAlphabet();
  lbX->setCurrentRow(lbX->count() - 1);
  ChanZ->setEnabled(true);
  DelZ->setEnabled(true);
}

void TAutoSim::ChanZClick() {
  if (!sim_) return;
  const int index = lbX->currentRow();
  if (index < 0 || !lbX->currentItem()->isSelected()) {
    Inform(this, QStringLiteral("Выберите в списке имя!"), QStringLiteral("Упс!"));
    ChanZ->setEnabled(false);
    return;
  }
  TAddZForm* form = AddZForm();
  form->setWindowTitle(QStringLiteral("Изменение абстрактного входного сигнала"));
  form->Alphabet = sim_->Alphabet();
  form->index->setText(QString::number(index + 1));
  form->Name->setText(sim_->Alphabet().at(index));
  if (form->exec() != QDialog::Accepted) return;
  if (!sim_->RenameLetter(index, form->Name->text()).isEmpty()) return;
  lbX->item(index)->setText(sim_->Alphabet().at(index));
  FullRebuild();
}

void TAutoSim::DelZClick() {
  if (!sim_) return;
  const int index = lbX->currentRow();
  if (!sim_->CanDelete(index)) return;
  if (sim_->LetterInUse(index)) {
    Inform(this, QStringLiteral("Сигнал присутствует во входной последовательности\nУдаление невозможно!"),
           QStringLiteral("Внимание!"));
    return;
  }
  sim_->DeleteLetter(index);
  FillAlphabet();
  lbX->setCurrentRow(index - 1);
  lbXClick();
  FullRebuild();
}

void TAutoSim::EtalonClick() {
  if (!sim_) return;
  if (sim_->StepCount > 0) {
    if (dlg::message(this, QStringLiteral("Очистить входную последовательность?"),
                     QStringLiteral("Эталонный алфавит"), dlg::Yes | dlg::No, dlg::Question) != dlg::Yes) {
      Inform(this, QStringLiteral("Операция ввостановления эталонного алфавита отменена!"),
             QStringLiteral("Внимание!"));
      return;
    }
    sim_->Clear();
    SetStepCommandsEnabled();
  }
  sim_->RestoreEtalon();
  FillAlphabet();
  lbX->setCurrentRow(0);
  lbXClick();
  FullRebuild();
}

}  // namespace tiravo
