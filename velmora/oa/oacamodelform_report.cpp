#include <QTextCursor>
#include <QTextEdit>

#include "velmora/documents/reportwriter.h"
#include "velmora/oa/oacamodelform.h"
#include "velmora/oa/oastep.h"

// "Отчет" of the joint model: every step with its x, s and y and the watched registers after
// it, in a new text window.
void TOACAModelForm::mReportClick() {
  if (!model_) return;
  ReportWriter report(frame());
  reportEditor = report.editor();
  report.append(QStringLiteral("Модель: "), ReportWriter::blue());
  report.append(fileName);

  ReportColumns columns({QStringLiteral("t "), QStringLiteral("x"), QStringLiteral("s"), QStringLiteral("y"),
                         QStringLiteral("регистр"), QStringLiteral("значение")});
  // Only the numbered rows, the ones a run wrote.
  for (int j = 1; j < rowCount() && !cell(0, j).isEmpty(); ++j)
    for (int i = 1; i <= 5; ++i) columns.fit(i, i <= 3 ? cell(i, j) : regCell(i - 4, j), 6);

  report.append(QStringLiteral("\nРезультат моделирования:\n"));
  report.setFont(QStringLiteral("Vexo font"));
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
