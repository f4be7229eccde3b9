#pragma once
// The one writer of the tabbed reports (the table, the ОА model and the joint model): a new text
// window owned by the frame, pieces of text appended at the end in the attributes chosen last,
// paragraphs that line up on tab stops, and a name taken from the document reported on.
#include <QColor>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>

class QTextEdit;

namespace velmora {

class TFrame;
class TTxtForm;

// Column widths of a report in points: a column starts at 7 points per character of its title
// and grows to fit the texts put into it.
class ReportColumns {
 public:
  explicit ReportColumns(const QStringList& titles);
  const QStringList& titles() const { return titles_; }
  int count() const { return static_cast<int>(widths_.size()); }
  int width(int column) const { return widths_.value(column); }
  // The column becomes at least pointsPerChar × the length of text wide.
  void fit(int column, const QString& text, int pointsPerChar);
  // The column becomes at least `points` wide.
  void fitWidth(int column, int points);
  // Stop 0 at 0, stop i at stop i − 1 + width i − 1 + 2.
  QList<int> tabStops() const;

 private:
  QStringList titles_;
  QList<int> widths_;
};

class ReportWriter {
 public:
  static QColor black() { return QColor(0, 0, 0); }
  static QColor blue() { return QColor(0, 0, 255); }
  static QColor grey() { return QColor(128, 128, 128); }

  // Opens a new, empty text window owned by the frame; the font is "Arial", regular.
  explicit ReportWriter(TFrame* frame);

  TTxtForm* window() const;
  QTextEdit* editor() const;

  // Attributes of the text appended from now on.
  void setFont(const QString& family);  // "Vexo font" stands for the grids' font
  void setBold(bool bold);
  // The width in points that `text` takes in the font set last, bold or regular: what a
  // column must give it so that the next tab stop is still ahead.
  int textWidth(const QString& text, bool bold) const;
  // Appends text at the end in colour; every "\n" in it starts a new paragraph, which keeps
  // the tab stops of the one before.
  void append(const QString& text, const QColor& color = black());
  void lineBreak(const QColor& color = black()) { append(QStringLiteral("\n"), color); }
  // Tab stops, in points, of the paragraph being written and of the ones that follow.
  void setTabStops(const QList<int>& points);
  // The titles in bold, separated by tabs, then the tab stops of the columns.
  void header(const ReportColumns& columns);

  // Names the window after the reported document: its name without directory and extension
  // (or "untitled"), ".rtf"; beside the document when it has a place. The caption is "Отчёт "
  // and that name; the window is shown with the caret at the start.
  void finish(const QString& documentPath);

 private:
  QPointer<TTxtForm> window_;
  QTextCharFormat attrs_;
};

}  // namespace velmora
