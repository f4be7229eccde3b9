#include "velmora/documents/reportwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QtMath>
#include <QTextCursor>
#include <QTextEdit>

#include "velmora/frameapi/frame.h"
#include "velmora/documents/txtform.h"

namespace velmora {

ReportColumns::ReportColumns(const QStringList& titles) : titles_(titles) {
  for (const QString& t : titles) widths_ << 7 * static_cast<int>(t.size());
}

void ReportColumns::fit(int column, const QString& text, int pointsPerChar) {
  if (column < 0 || column >= widths_.size()) return;
  widths_[column] = qMax(widths_[column], pointsPerChar * static_cast<int>(text.size()));
}

void ReportColumns::fitWidth(int column, int points) {
  if (column < 0 || column >= widths_.size()) return;
  widths_[column] = qMax(widths_[column], points);
}

QList<int> ReportColumns::tabStops() const {
  QList<int> stops;
  int at = 0;
  for (int i = 0; i < widths_.size(); ++i) {
    stops << at;
    at += widths_[i] + 2;
  }
  return stops;
}

ReportWriter::ReportWriter(TFrame* frame) {
  auto* txt = new TTxtForm();
  if (frame) frame->addChild(txt);
  window_ = txt;
  txt->Editor->clear();
  attrs_.setFontFamilies({QStringLiteral("Arial")});
  attrs_.setFontWeight(QFont::Normal);
}

TTxtForm* ReportWriter::window() const { return window_; }

QTextEdit* ReportWriter::editor() const { return window_ ? window_->Editor : nullptr; }

void ReportWriter::setFont(const QString& family) { attrs_.setFontFamilies({family}); }

void ReportWriter::setBold(bool bold) { attrs_.setFontWeight(bold ? QFont::Bold : QFont::Normal); }

int ReportWriter::textWidth(const QString& text, bool bold) const {
  QTextEdit* e = editor();
  QFont font = e ? attrs_.font().resolve(e->document()->defaultFont()) : attrs_.font();
  font.setBold(bold);
  // Pixels back to points, as the tab stops go the other way.
  return qCeil(QFontMetricsF(font).horizontalAdvance(text) * 3.0 / 4.0);
}

void ReportWriter::append(const QString& text, const QColor& color) {
  QTextEdit* e = editor();
  if (!e) return;  // the window was closed while the report was written
  attrs_.setForeground(color);
  QTextCursor cursor(e->document());
  cursor.movePosition(QTextCursor::End);
  const QStringList parts = text.split(QLatin1Char('\n'));
  for (int i = 0; i < parts.size(); ++i) {
    if (i > 0) cursor.insertBlock();  // the new paragraph keeps the tab stops of the one before
    if (!parts[i].isEmpty()) cursor.insertText(parts[i], attrs_);
  }
}

void ReportWriter::setTabStops(const QList<int>& points) {
  QTextEdit* e = editor();
  if (!e) return;
  QTextCursor cursor(e->document());
  cursor.movePosition(QTextCursor::End);
  QTextBlockFormat para = cursor.blockFormat();
  QList<QTextOption::Tab> stops;
  for (int t : points) stops << QTextOption::Tab(t * 4.0 / 3.0, QTextOption::LeftTab);  // points to pixels
  para.setTabPositions(stops);
  cursor.setBlockFormat(para);
}

void ReportWriter::header(const ReportColumns& columns) {
  setBold(true);
  for (int i = 0; i < columns.count(); ++i)
    append(i > 0 ? QStringLiteral("\t") + columns.titles()[i] : columns.titles()[i]);
  setTabStops(columns.tabStops());
}

void ReportWriter::finish(const QString& documentPath) {
  if (!window_) return;
  // A document never saved gives a name without a place, which the report's first save asks for.
  const QFileInfo doc(documentPath);
  QString base = doc.completeBaseName();
  if (base.isEmpty()) base = QStringLiteral("untitled");
  const QString name = base + QStringLiteral(".rtf");
  window_->fileName = doc.isAbsolute() ? doc.absoluteDir().filePath(name) : name;
  window_->setWindowTitle(QStringLiteral("Отчёт ") + name);
  window_->Editor->moveCursor(QTextCursor::Start);
  window_->show();
}

}  // namespace velmora
