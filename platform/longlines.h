#pragma once
// Very long lines in the text editors of both programs. A line of a megabyte in one paragraph
// makes the text layout redo the whole line on every key (a second and more), so such a line
// is shown cut into pieces: every piece but the last ends with kMark and continues on the next
// paragraph. The lines read back, saved, checked and converted are the whole lines; line and
// column numbers count in them.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QTextBlock;
class QTextDocument;

namespace textfile {
class LineReader;
class Writer;
}  // namespace textfile

namespace longlines {

constexpr int kLongLine = 10000;    // longer lines are shown in pieces
constexpr int kPiece = 1000;        // characters a piece holds, its mark not counted
constexpr char16_t kMark = 0x21B5;  // "continues on the next line"; has no code in 1251
// A loaded text of more lines than this is shown without wrapping: with wrapping, every change of
// the window's width gives each line a layout of its own, which costs several times the text.
constexpr int kLargeLines = 100000;
// A large text is also held in fewer paragraphs, this many lines each, parted by line breaks
// inside the paragraph (U+2028): a paragraph costs the document far more than its characters.
constexpr int kPackedLines = 64;
// A text whose paragraphs hold fewer characters than this on the average is saved from one copy
// of it (reading a paragraph costs as much as writing a few hundred characters), any other a
// paragraph at a time. Paragraphs are few (lines are packed in a large text), so the copy is at
// most twice a file of some tens of megabytes.
constexpr int kSavedWhole = 256;

// The status-bar note for a text shown with pieces.
QString note();
// The status-bar note for a large text shown without wrapping.
QString largeNote();

// The editor of a РВАС/СКУ/ЛСА text. It keeps the caret off the marks, lets Delete and
// Backspace step over them, and copies the text without them.
class TextEdit : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TextEdit(QWidget* parent = nullptr);

  // Replaces the text: not undoable and unmodified (`asEdit` false, as a file is loaded), or
  // as one undoable edit that marks the text modified. Long lines go in as pieces.
  void setLines(const QStringList& lines, bool asEdit);
  // The same for the lines joined by '\n'.
  void setText(QString joined, bool asEdit);
  // Loads a file's text as setText does, not undoably, as it is read: the text is never held
  // whole beside the document. False (with *error) when reading fails; the text is then
  // incomplete.
  bool load(textfile::LineReader& reader, QString* error);
  // The same for a text handed in parts by `next` (the parts joined are the lines joined by
  // '\n', `lines` of them), each part cut anywhere.
  void load(qsizetype lines, const std::function<bool(QString*)>& next);
  // The whole lines (a line break inside a paragraph ends a line too); none for an empty text.
  QStringList lines() const;
  // The whole lines as lines() gives them, each followed by CR LF, a paragraph at a time: no
  // copy of the whole text is made. Returns out.ok().
  bool write(textfile::Writer& out) const;
  // The whole lines joined by '\n', as setText takes them.
  QString wholeText() const { return lines().join(QLatin1Char('\n')); }
  // Adds a line (or lines joined by '\n') at the end, not undoably, long ones in pieces: for
  // memos that collect messages.
  void appendLine(const QString& line);
  // Selects [start, end) of the whole text joined by '\n' (as wholeText gives it).
  void selectWhole(int start, int end);
  // Whether some line is shown in pieces (set by setLines).
  bool hasPieces() const { return pieces_; }
  // Whether the loaded text is large (more than kLargeLines lines): it was put in with wrapping
  // off and kPackedLines lines to a paragraph, and a change of width lays out no line until
  // wrapping is turned on again.
  bool isLarge() const { return large_; }
  // Hides the base's: a change of wrapping lays the text out anew as one line per paragraph.
  void setLineWrapMode(LineWrapMode mode);
  // The notes for the status bar of what is shown otherwise than usual; empty if nothing is.
  QString notes() const;

  // The caret's line and column in the whole lines, both from 0.
  void caretPlace(int* line, int* column) const;
  // The document position of a line (from 0) and a column in it; -1 when there is no such line.
  // *length (when given) receives the line's length.
  int positionOf(int line, int column, int* length = nullptr) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  void keepOffMarks();
  // Where the whole lines lie among the paragraphs. Per paragraph: its breaks inside (U+2028)
  // and whether it continues on the next one; kept up to date with each change.
  struct Paragraph {
    int breaks = 0;
    bool continues = false;
  };
  const std::vector<Paragraph>& paragraphs() const;
  // The line of each paragraph's first character.
  const std::vector<int>& firstLines() const;
  Paragraph paragraphOf(const QTextBlock& block) const;
  void changed(int position, int removed, int added);
  // Gives every paragraph the number of lines it shows without wrapping, for the scroll bar,
  // which counts an unlaid paragraph as one line.
  void countShownLines();
  bool pieces_ = false;
  bool large_ = false;
  mutable std::vector<Paragraph> paragraphs_;
  mutable bool paragraphsKnown_ = false;
  mutable std::vector<int> firstLines_;
  mutable bool firstLinesKnown_ = false;
  int lastPosition_ = 0;
  int laidOutWidth_ = 0;  // the width the text was last laid out for
};

// Whether the paragraph is a piece that continues on the next one.
bool continues(const QTextBlock& block);

// A one-line edit of a text that may be a long line. The line edit lays out its whole text on
// every change (and keeps no more than 32767 characters unless told), so a line longer than
// kLongLine is shown as a cut copy of kLongLine characters around the place asked for, the rest
// kept apart; a change made in the copy changes the whole line.
class LineEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit LineEdit(QWidget* parent = nullptr);

  // Shows the line from its start.
  void setWholeText(const QString& text);
  QString wholeText() const;
  // Selects `length` characters of the whole line from `start` (a caret there for 0), showing
  // the part of the line around them.
  void selectWhole(int start, int length);
  // Whether a cut copy is shown.
  bool isCut() const { return cut_; }
  // The hint the owner gives; while a cut copy is shown the tooltip adds which part it is.
  void setHint(const QString& hint);

 private:
  void showPart(int from);
  QString whole_;              // while cut: the line, less what the copy changed
  int from_ = 0, length_ = 0;  // the part of whole_ the copy shows
  bool cut_ = false;
  QString hint_;
};

}  // namespace longlines
