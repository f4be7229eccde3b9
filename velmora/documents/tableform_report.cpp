#include <QFileInfo>
#include <QTextEdit>

#include "velmora/documents/reportwriter.h"
#include "velmora/documents/tableform.h"

namespace velmora {

// "От&чет": the table as a formatted report in a new text window.
void TVexoTableForm::mReportClick() {
  ReportWriter report(frame());
  reportEditor_ = report.editor();

  report.append(QStringLiteral("Таблица: "), ReportWriter::blue());
  report.append(QFileInfo(fileName()).fileName());

  // Column widths in points: the titles at 7 per character, the cells at 6.
  ReportColumns columns({QStringLiteral("t "), QStringLiteral("si"), QStringLiteral("y"),
                         QStringLiteral("xij"), QStringLiteral("sj")});
  const int rows = rowCount();
  for (int r = 1; r < rows; ++r)
    for (int c = 0; c < 5; ++c) columns.fit(c, cell(c, r), 6);

  report.append(QStringLiteral("\nТаблица переходов:\n"));
  report.setFont(QStringLiteral("Vexo font"));
  report.header(columns);

  const QChar tab(QLatin1Char('\t'));
  for (int r = 1; r < rows; ++r) {
    report.setBold(true);
    report.append(QStringLiteral("\n") + cell(0, r));
    report.setBold(false);
    report.append(tab + cell(1, r) + tab + cell(2, r) + tab + cell(3, r) + tab + cell(4, r));
  }
  report.finish(fileName());
}

QTextEdit* TVexoTableForm::reportEditor() const { return reportEditor_; }

}  // namespace velmora
