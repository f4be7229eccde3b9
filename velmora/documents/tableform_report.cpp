#include <QDir>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextEdit>

#include "velmora/app/mainform.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"

// "От&чет": the table as a formatted report in a new text window.
void TVexoTableForm::mReportClick() {
  auto* txt = new TTxtForm();
  if (MainForm) {
    MainForm->addChild(txt);
    MainForm->lastTxtForm = txt;
  }
  reportEditor = txt->Editor;
  reportEditor->clear();

  // Every piece goes to the end of the text in the attributes chosen last.
  QTextCharFormat attrs;
  QTextCursor cursor(reportEditor->document());
  auto append = [&](const QString& text, const QColor& color) {
    attrs.setForeground(color);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text, attrs);
  };
  auto lineBreak = [&] {
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();  // the new paragraph keeps the tab stops of the one before
  };
  const QColor black(0, 0, 0), blue(0, 0, 255);

  attrs.setFontFamilies({QStringLiteral("Arial")});
  append(QStringLiteral("Таблица: "), blue);
  append(QFileInfo(tableFileName).fileName(), black);

  // Column widths in points: the titles at 7 per character, the cells at 6.
  const QString titles[5] = {QStringLiteral("t "), QStringLiteral("si"), QStringLiteral("y"),
                             QStringLiteral("xij"), QStringLiteral("sj")};
  int widths[5];
  for (int i = 0; i < 5; ++i) widths[i] = 7 * titles[i].size();
  const int rows = rowCount();
  for (int r = 1; r < rows; ++r)
    for (int c = 0; c < 5; ++c) widths[c] = qMax(widths[c], 6 * int(cell(c, r).size()));
  int tabs[5];
  tabs[0] = 0;
  for (int i = 0; i + 1 < 5; ++i) tabs[i + 1] = tabs[i] + widths[i] + 2;

  lineBreak();
  append(QStringLiteral("Таблица переходов:"), black);
  lineBreak();

  attrs.setFontFamilies({QStringLiteral("Vexo font")});
  attrs.setFontWeight(QFont::Bold);
  for (int i = 0; i < 5; ++i) append(i > 0 ? QStringLiteral("\t") + titles[i] : titles[i], black);

  QTextBlockFormat para = cursor.blockFormat();
  QList<QTextOption::Tab> stops;
  for (int t : tabs) stops << QTextOption::Tab(t * 4.0 / 3.0, QTextOption::LeftTab);  // points to pixels
  para.setTabPositions(stops);
  cursor.setBlockFormat(para);

  const QChar tab(QLatin1Char('\t'));
  for (int r = 1; r < rows; ++r) {
    attrs.setFontWeight(QFont::Bold);
    lineBreak();
    append(cell(0, r), black);
    attrs.setFontWeight(QFont::Normal);
    append(tab + cell(1, r) + tab + cell(2, r) + tab + cell(3, r) + tab + cell(4, r), black);
  }

  // The report is named after the table and lives beside it; a table never saved gives a
  // name without a place, which its first save asks for.
  const QFileInfo table(tableFileName);
  QString base = table.completeBaseName();
  if (base.isEmpty()) base = QStringLiteral("untitled");
  const QString name = base + QStringLiteral(".rtf");
  txt->fileName = table.isAbsolute() ? table.absoluteDir().filePath(name) : name;
  txt->setWindowTitle(QStringLiteral("Отчёт ") + name);
  reportEditor->moveCursor(QTextCursor::Start);
  txt->show();
}
