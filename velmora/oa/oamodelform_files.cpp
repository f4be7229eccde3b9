// The ОА model window's input-actions file, report, bus setting and designer call.
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QTableView>
#include <QTableWidget>
#include <new>

#include "platform/dialogs.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/documents/reportwriter.h"
#include "velmora/documents/tableform.h"
#include "velmora/oa/bussetform.h"
#include "velmora/oa/inputactions.h"
#include "velmora/oa/oablocks.h"
#include "velmora/oa/oaform.h"
#include "velmora/oa/oamodelform.h"
#include "velmora/oa/oaerrors.h"
#include "velmora/oa/oastep.h"
#include "velmora/oa/steprows.h"

namespace velmora {

namespace {

const QString kSaveFilter = QStringLiteral("Файл воздействи (*.y)|*.y|Все файлы|*.*");
const QString kOpenFilter = QStringLiteral("Входные воздействия (*.y)|*.y|Все файлы|*.*");

}  // namespace

// ---------------------------------------------------------------------------------------
// The *.y file

bool TOAModelForm::mSaveFileClick() {
  if (inputsFileName == untitled()) return mSaveFileAsClick();
  QString err;
  if (!InputActionsFile::write(inputsFileName, stepInputs(), &err)) {
    dlg::message(this, err, QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
    return false;  // the steps stay unsaved
  }
  modified = false;
  return true;
}

bool TOAModelForm::mSaveFileAsClick() {
  const QString path = docwin::askSavePath(this, inputsFileName, kSaveFilter, QStringLiteral("y"),
                                           docwin::directoryOf(oaName));
  if (path.isEmpty()) return false;
  inputsFileName = path;
  updateCaption();
  return mSaveFileClick();
}

void TOAModelForm::mOpenFileClick() {
  if (!model_ || !askSaveSteps()) return;
  const QString path = dlg::openFile(this, kOpenFilter, docwin::directoryOf(oaName),
                                     QStringLiteral("Открытие файла входных воздействий"));
  if (path.isEmpty()) return;
  // The file is read, run and laid out in the grid apart from what is shown; only then do the
  // steps, the grid and the file name change, so a file that fails on the way changes nothing.
  QString err;
  try {
    QStringList inputs;
    if (!InputActionsFile::read(path, &inputs, &err)) {
      dlg::message(this, err, QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
      return;
    }
    StepRows::Rows rows;
    model_->ReplaceSteps(inputs, [&](const TOperSave& h) {
      rows = steps_->prepare(1, int(inputs.size()), [&](int col, int k) -> const QString& {
        return col == 0 ? inputs[k] : h.Answer(k + 1);
      });
    });
    steps_->take(std::move(rows));
  } catch (const std::bad_alloc&) {
    err = QStringLiteral("Файл %1 не загружен: не хватает памяти. Воздействия остались прежними.").arg(path);
  } catch (const VexoError& e) {
    err = QStringLiteral("Файл %1 не загружен: %2").arg(path, e.message());
  }
  if (!err.isEmpty()) {
    dlg::message(this, err, QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
    return;
  }
  inputsFileName = path;
  updateCaption();
  {
    QScopedValueRollback<int> g(selectGuard_, selectGuard_ + 1);
    selectStep(stepRowCount() - 1);
  }
  yxGrid->scrollTo(yxGrid->currentIndex());
  modified = false;
  goToSelected();
  showStepNumber();
}

// ---------------------------------------------------------------------------------------
// Report

void TOAModelForm::mReportClick() {
  if (!model_) return;
  ReportWriter report(frame());
  report.append(QStringLiteral("Модель: "), ReportWriter::blue());
  report.append(oaName);
  report.append(QStringLiteral("\nВоздействия: "), ReportWriter::blue());
  report.append(inputsFileName);

  ReportColumns columns({QStringLiteral("t "), QStringLiteral("y(t)"), QStringLiteral("x(t)"),
                         QStringLiteral("регистр"), QStringLiteral("значение")});
  for (int i = 1; i < stepRowCount() && !stepCell(0, i).isEmpty(); ++i) {
    columns.fit(1, stepCell(0, i), 7);
    columns.fit(2, stepCell(1, i), 7);
    columns.fit(3, regCell(0, i), 7);
    columns.fit(4, regCell(1, i), 7);
  }
  report.append(QStringLiteral("\nРезультат моделирования операционного автомата:\n"));
  report.setFont(QStringLiteral("Vexo font"));
  report.header(columns);

  const QString tab = QStringLiteral("\t");
  for (int j = 1; j < stepRowCount(); ++j) {
    model_->GoToStep(j - 1);
    report.setBold(true);
    report.append(QStringLiteral("\n") + QString::number(j - 1));
    report.setBold(false);
    report.append(tab + stepCell(0, j) + tab + stepCell(1, j) + tab + regCell(0, 1) + tab + regCell(1, 1));
    for (int k = 2; k < rowCount(); ++k)
      report.append(QStringLiteral("\n\t\t\t") + regCell(0, k) + tab + regCell(1, k));
  }
  report.finish(oaName);
}

// ---------------------------------------------------------------------------------------
// Buses and the designer

void TOAModelForm::BusSetBtnClick() {
  if (!model_ || !table_) return;
  auto* dialog = new TBusSetForm(this);
  RegGrid->setCurrentCell(0, 0);
  model_->GoToStep(0);
  bool any = false;
  for (const QString& line : table_->document()->oa().blocks) {
    const QString name = oa::blockName(line);
    if (!TBusSetForm::isBusName(name)) continue;
    any = true;
    dialog->addBus(name, model_->GetRegisterValue(name, 2));
  }
  if (!any) return;
  dialog->exec();
  TBusSetForm::applyTo(model_.get(), dialog->buses());
  refreshAnswers(1);
  model_->GoToStep(0);
}

void TOAModelForm::OACallBtnClick() {
  if (!table_ || table_->document()->designerOpen()) return;
  TOAForm* d = TOAForm::open(table_, this, true);
  if (!d) return;
  designer = d;
}

}  // namespace velmora
