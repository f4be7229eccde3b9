#include <QTextCursor>
#include <QTextEdit>

#include "velmora/documents/reportwriter.h"
#include "velmora/oa/oacamodelform.h"
#include "velmora/oa/oastep.h"

namespace velmora {

// "Отчет" of the joint model: every step with its x, s and y and the watched registers after
// it, in a new text window.
void TOACAModelForm::mReportClick() {
  if (!model_) return;
  ReportWriter report(frame());
  reportEditor = report.editor();
  report.append(QStringLiteral("Модель: "), ReportWriter::blue());
  report.append(fileName);

  report.append(QStringLiteral("\nРезультат моделирования:\n"));
  report.setFont(QStringLiteral("Vexo font"));
  // Every text that goes into a column before the last one is measured, so that no text reaches
  // past the stop of the column after it: the step numbers, x, s and y of every row, and the
  // name of every watched register (the values stand last).
  const QStringList titles = {QStringLiteral("t "), QStringLiteral("x"),       QStringLiteral("s"),
                              QStringLiteral("y"),  QStringLiteral("регистр"), QStringLiteral("значение")};
  ReportColumns columns(titles);
  auto fit = [&](int column, const QString& text, bool bold) {
    columns.fit(column, text, 6);
    columns.fitWidth(column, report.textWidth(text, bold));
  };
  for (int i = 0; i < titles.size(); ++i) fit(i, titles[i], true);
  for (int j = 1; j < rowCount(); ++j) {
    fit(0, QString::number(j - 1), true);
    for (int i = 1; i <= 3; ++i) fit(i, cell(i, j), false);
  }
  for (int k = 1; k < regRowCount(); ++k) fit(4, regCell(0, k), false);
  report.header(columns);

  const QChar tab(QLatin1Char('\t'));
  for (int j = 1; j < rowCount(); ++j) {
    model_->GoToStep(j - 1);
    report.setBold(true);
    report.append(QStringLiteral("\n") + QString::number(j - 1));
    report.setBold(false);
    report.append(tab + cell(1, j) + tab + cell(2, j) + tab + cell(3, j) + tab + regCell(0, 1) + tab +
                  regCell(1, 1));
    for (int k = 2; k < regRowCount(); ++k) {
      report.lineBreak(ReportWriter::grey());
      report.append(QString(4, tab) + regCell(0, k) + tab + regCell(1, k));
    }
  }
  report.finish(fileName);
}

void TOACAModelForm::AddReportText(const QString& text, const QColor& color) {
  if (!reportEditor) return;
  reportEditor->setTextColor(color);
  QTextCursor c = reportEditor->textCursor();
  c.setPosition(c.selectionEnd());
  reportEditor->setTextCursor(c);
  reportEditor->insertPlainText(text);
}

}  // namespace velmora
