#include "platform/longlines.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <limits>

#include "platform/filewriter.h"
#include "platform/heap.h"
#include "platform/linereader.h"

namespace longlines {

namespace {

constexpr char16_t kLineBreak = 0x2028;  // a break inside a paragraph (a large text's, or pasted)
// A loaded text goes into the document this many characters at a time.
constexpr qsizetype kPart = 1 << 17;

// The line breaks and marks a copied piece of text had removed: a mark and the paragraph end
// after it join, a stray mark goes.
QString withoutMarks(const QString& text) {
  if (!text.contains(QChar(kMark))) return text;
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != QChar(kMark)) {
      out += text[i];
      continue;
    }
    if (i + 1 < text.size() && (text[i + 1] == QChar(0x2029) || text[i + 1] == QLatin1Char('\n'))) ++i;
  }
  return out;
}

// The length of the longest of the lines joined by '\n'.
qsizetype longest(QStringView joined) {
  qsizetype most = 0;
  for (qsizetype from = 0;;) {
    const qsizetype end = joined.indexOf(QLatin1Char('\n'), from);
    most = qMax(most, (end < 0 ? joined.size() : end) - from);
    if (end < 0) return most;
    from = end + 1;
  }
}

// The lines joined by '\n' as they are shown, made from the text handed in parts cut anywhere:
// each line longer than kLongLine in pieces, every piece but the last ending with kMark and a
// paragraph end. Up to kLongLine characters of a line not ended yet are kept for what follows.
class Piecer {
 public:
  // The shown text of the next part (less what is kept).
  QString take(QString part) {
    const qsizetype lastBreak = part.lastIndexOf(QLatin1Char('\n'));
    if (held_.isEmpty() && lastBreak >= 0 && longest(QStringView(part).left(lastBreak)) <= kLongLine) {
      // Its whole lines are short and nothing is kept before them: they go out as they are.
      const QString rest = part.mid(lastBreak + 1);
      part.truncate(lastBreak + 1);
      add(rest, &part);
      return part;
    }
    return take(QStringView(part));
  }
  QString take(QStringView part) {
    QString out;
    out.reserve(held_.size() + part.size() + part.size() / kPiece * 2 + 2);
    for (qsizetype from = 0;;) {
      const qsizetype end = part.indexOf(QLatin1Char('\n'), from);
      const QStringView run = part.mid(from, (end < 0 ? part.size() : end) - from);
      if (end >= 0 && held_.isEmpty() && run.size() <= kLongLine) {
        out.append(run);  // a short line whole within the part
      } else {
        add(run, &out);
        if (end >= 0) endLine(&out);
      }
      if (end < 0) return out;
      out += QLatin1Char('\n');
      from = end + 1;
    }
  }
  // What was kept: the end of the text.
  QString finish() {
    QString out;
    endLine(&out);
    return out;
  }
  // Whether some line was cut into pieces.
  bool pieced() const { return pieced_; }

 private:
  void add(QStringView run, QString* out) {
    if (!long_) {
      if (held_.size() + run.size() <= kLongLine) {
        held_ += run;
        return;
      }
      long_ = pieced_ = true;
      const QString start = std::move(held_);
      held_ = QString();
      addLong(start, out);
    }
    addLong(run, out);
  }
  // A piece goes out once something is known to follow it; the last one is kept.
  void addLong(QStringView run, QString* out) {
    while (!run.isEmpty()) {
      if (held_.size() == kPiece) {
        piece(held_, out);
        held_.clear();
      }
      if (held_.isEmpty() && run.size() > kPiece) {
        piece(run.left(kPiece), out);
        run = run.mid(kPiece);
        continue;
      }
      const qsizetype n = qMin(kPiece - held_.size(), run.size());
      held_ += run.left(n);
      run = run.mid(n);
    }
  }
  static void piece(QStringView text, QString* out) {
    out->append(text);
    *out += QChar(kMark);
    *out += QLatin1Char('\n');
  }
  void endLine(QString* out) {
    out->append(held_);
    held_.clear();
    long_ = false;
  }
  QString held_;       // the part of the current line not given out yet
  bool long_ = false;  // the current line is longer than kLongLine
  bool pieced_ = false;
};

QString inPieces(QStringView joined) {
  Piecer p;
  QString cut = p.take(joined);
  cut += p.finish();
  return cut;
}

// Parts the lines of a large text but every kPackedLines-th by breaks inside the paragraph,
// in place; the paragraph end after a piece's mark stays. *lines counts the lines parted so far,
// over all the parts of the text.
void pack(QString* text, qsizetype* lines) {
  char16_t* q = reinterpret_cast<char16_t*>(text->data());
  for (qsizetype i = 0, n = text->size(); i < n; ++i)
    if (q[i] == u'\n' && (i == 0 || q[i - 1] != kMark) && ++*lines % kPackedLines != 0) q[i] = kLineBreak;
}

}  // namespace

QString note() {
  // Short enough for a status bar at a frame's default width.
  return QStringLiteral("Строки длиннее %1 знаков показаны частями по %2 (%3); в файле они целы")
      .arg(kLongLine)
      .arg(kPiece)
      .arg(QChar(kMark));
}

QString largeNote() {
  return QStringLiteral("Текст длиннее %1 строк показан без переноса строк").arg(kLargeLines);
}

QString TextEdit::notes() const {
  QStringList out;
  if (pieces_) out << note();
  if (large_ && lineWrapMode() == NoWrap) out << largeNote();
  return out.join(QStringLiteral("; "));
}

bool continues(const QTextBlock& block) {
  const QTextDocument* doc = block.document();
  const int end = block.position() + block.length() - 2;  // the last character before the paragraph end
  return block.length() > 1 && block.next().isValid() && doc->characterAt(end) == QChar(kMark);
}

TextEdit::TextEdit(QWidget* parent) : QPlainTextEdit(parent) {
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { keepOffMarks(); });
  connect(document(), &QTextDocument::contentsChange, this, &TextEdit::changed);
}

TextEdit::Paragraph TextEdit::paragraphOf(const QTextBlock& block) const {
  Paragraph p;
  const QString text = block.text();
  p.breaks = int(text.count(QChar(kLineBreak)));
  p.continues = text.endsWith(QChar(kMark)) && block.next().isValid();
  return p;
}

const std::vector<TextEdit::Paragraph>& TextEdit::paragraphs() const {
  if (paragraphsKnown_) return paragraphs_;
  paragraphs_.clear();
  paragraphs_.reserve(size_t(document()->blockCount()));
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) paragraphs_.push_back(paragraphOf(b));
  paragraphsKnown_ = true;
  firstLinesKnown_ = false;
  return paragraphs_;
}

const std::vector<int>& TextEdit::firstLines() const {
  const std::vector<Paragraph>& all = paragraphs();
  if (firstLinesKnown_) return firstLines_;
  firstLines_.resize(all.size());
  int line = 0;
  for (size_t k = 0; k < all.size(); ++k) {
    firstLines_[k] = line;
    line += all[k].breaks + (all[k].continues ? 0 : 1);
  }
  firstLinesKnown_ = true;
  return firstLines_;
}

void TextEdit::changed(int position, int removed, int added) {
  Q_UNUSED(removed);
  if (!paragraphsKnown_) return;
  // The paragraphs from the one the change starts in to the one it ends in are new; the old
  // ones in their place were as many, less those the change made.
  const QTextDocument* doc = document();
  const QTextBlock first = doc->findBlock(position);
  const QTextBlock last = doc->findBlock(position + added);
  if (!first.isValid() || !last.isValid()) {
    paragraphsKnown_ = false;
    return;
  }
  const int from = first.blockNumber();
  const int now = last.blockNumber() - from + 1;
  const int before = now - (doc->blockCount() - int(paragraphs_.size()));
  if (before < 1 || from + before > int(paragraphs_.size())) {
    paragraphsKnown_ = false;
    return;
  }
  std::vector<Paragraph> fresh;
  fresh.reserve(size_t(now));
  for (QTextBlock b = first;; b = b.next()) {
    fresh.push_back(paragraphOf(b));
    if (b == last) break;
  }
  // The paragraph before may have gained or lost the one it continues on.
  if (from > 0) paragraphs_[size_t(from - 1)] = paragraphOf(first.previous());
  const auto at = paragraphs_.begin() + from;
  if (before == now) {
    std::copy(fresh.begin(), fresh.end(), at);
  } else {
    paragraphs_.erase(at, at + before);
    paragraphs_.insert(paragraphs_.begin() + from, fresh.begin(), fresh.end());
  }
  firstLinesKnown_ = false;
}

void TextEdit::countShownLines() {
  if (!large_ || lineWrapMode() != NoWrap) return;
  QTextDocument* doc = document();
  const std::vector<Paragraph>& all = paragraphs();
  size_t k = 0;
  for (QTextBlock b = doc->begin(); b.isValid() && k < all.size(); b = b.next(), ++k)
    if (b.isVisible() && b.lineCount() != all[k].breaks + 1) b.setLineCount(all[k].breaks + 1);
  viewport()->update();
}

void TextEdit::setLineWrapMode(LineWrapMode mode) {
  QPlainTextEdit::setLineWrapMode(mode);
  laidOutWidth_ = viewport()->width();
  countShownLines();
}

void TextEdit::changeEvent(QEvent* event) {
  QPlainTextEdit::changeEvent(event);
  if (event->type() != QEvent::FontChange) return;
  laidOutWidth_ = viewport()->width();
  countShownLines();
}

void TextEdit::setLines(const QStringList& lines, bool asEdit) {
  setText(lines.join(QLatin1Char('\n')), asEdit);
}

void TextEdit::setText(QString joined, bool asEdit) {
  paragraphsKnown_ = false;
  if (!asEdit) {
    qsizetype breaks = 0;
    const QChar* p = joined.constData();
    for (qsizetype i = 0, n = joined.size(); i < n && breaks <= kLargeLines; ++i)
      breaks += p[i] == QLatin1Char('\n');
    // A part at a time, so that the pieced text is never made whole beside the given one.
    qsizetype from = 0;
    load(breaks + 1, [&](QString* part) {
      if (from >= joined.size()) return false;
      *part = joined.mid(from, kPart);
      from += kPart;
      return true;
    });
    return;
  }
  pieces_ = longest(joined) > kLongLine;
  QTextCursor c(document());
  c.select(QTextCursor::Document);
  c.insertText(pieces_ ? inPieces(joined) : joined);
}

bool TextEdit::load(textfile::LineReader& reader, QString* error) {
  // The text is never held whole beside the document.
  QString failure;
  load(reader.lineCount(), [&](QString* block) { return reader.next(block, &failure); });
  if (failure.isEmpty()) return true;
  if (error) *error = failure;
  return false;
}

void TextEdit::appendLine(const QString& line) {
  const bool long_ = longest(line) > kLongLine;
  QTextDocument* doc = document();
  const bool undo = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  appendPlainText(long_ ? inPieces(line) : line);
  doc->setUndoRedoEnabled(undo);
  if (long_) pieces_ = true;
}

void TextEdit::selectWhole(int start, int end) {
  // The line and column of each end, from the lengths of the whole lines.
  const QStringList all = lines();
  const auto place = [&](int offset) {
    int line = 0;
    while (line + 1 < all.size() && offset > all[line].size()) offset -= int(all[line++].size()) + 1;
    return positionOf(line, offset);
  };
  QTextCursor c = textCursor();
  c.setPosition(qMax(0, place(start)));
  c.setPosition(qMax(0, place(end)), QTextCursor::KeepAnchor);
  setTextCursor(c);
}

void TextEdit::load(qsizetype lines, const std::function<bool(QString*)>& next) {
  // Blocks freed go back at once, and the document's text grows without copies.
  heap::SystemBlocks systemBlocks;
  paragraphsKnown_ = false;
  large_ = lines > kLargeLines;
  pieces_ = false;
  // The shown text of one part at a time; the text ends with the part after which there is none.
  Piecer piecer;
  qsizetype packed = 0;
  QString part;
  bool more = next(&part);
  const auto shown = [&] {
    QString text = piecer.take(std::move(part));
    more = more && next(&part);
    if (!more) text += piecer.finish();
    if (large_) pack(&text, &packed);
    return text;
  };
  // The first part goes in as any text is set (wrapping goes off while the document is empty,
  // where that lays out nothing), the others are added at its end.
  QPlainTextEdit::clear();
  if (large_) setLineWrapMode(NoWrap);
  QTextDocument* doc = document();
  doc->setUndoRedoEnabled(false);
  setPlainText(shown());
  QTextCursor c(doc);
  c.beginEditBlock();
  while (more) {
    c.movePosition(QTextCursor::End);
    c.insertText(shown());
  }
  pieces_ = piecer.pieced();
  c.endEditBlock();
  doc->setUndoRedoEnabled(true);
  doc->setModified(false);
  countShownLines();
  setTextCursor(QTextCursor(doc));
}

QStringList TextEdit::lines() const {
  QStringList out;
  const QTextDocument* doc = document();
  if (doc->isEmpty()) return out;
  // One pass over the raw text: paragraphs end with U+2029, breaks inside them are U+2028;
  // a mark before a paragraph end joins the two, a stray mark goes.
  const QString raw = doc->toRawText();
  out.reserve(doc->blockCount());
  const QChar* p = raw.constData();
  const qsizetype n = raw.size();
  QString joined;
  qsizetype from = 0;
  auto take = [&](qsizetype to) {
    if (joined.isEmpty()) {
      out << QString(p + from, to - from);
    } else {
      joined.append(p + from, to - from);
      out << std::move(joined);
      joined = QString();
    }
  };
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = p[i].unicode();
    if (c == kMark) {
      joined.append(p + from, i - from);
      if (i + 1 < n && p[i + 1] == QChar(0x2029)) ++i;
      from = i + 1;
    } else if (c == 0x2029 || c == kLineBreak) {
      take(i);
      from = i + 1;
    }
  }
  take(n);
  return out;
}

bool TextEdit::write(textfile::Writer& out) const {
  const QTextDocument* doc = document();
  if (doc->isEmpty()) return out.ok();
  // As lines() reads the raw text: a paragraph end (U+2029) or a break inside a paragraph ends a
  // line, a mark before a paragraph end joins the two, a stray mark goes. `t` holds whole
  // paragraphs; the last one ends at t's end, which ends its line unless a mark joins it to the
  // paragraph after or `textEnds`.
  auto paragraphs = [&out](QStringView t, bool textEnds) {
    qsizetype from = 0;
    bool joined = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
      const char16_t c = t[i].unicode();
      if (c == kMark) {
        out.put(t.mid(from, i - from));
        if (i + 1 < t.size() && t[i + 1] == QChar(0x2029)) ++i;
        from = i + 1;
        joined = from == t.size();
      } else if (c == 0x2029 || c == kLineBreak) {
        out.line(t.mid(from, i - from));
        from = i + 1;
      }
    }
    out.put(t.mid(from));
    if (textEnds || !joined) out.endLine();
  };
  // A text of short paragraphs is read out whole, which is fastest; any other a paragraph at a
  // time, so that no copy of it is made.
  if (doc->characterCount() / kSavedWhole < doc->blockCount()) {
    paragraphs(doc->toRawText(), true);
    return out.ok();
  }
  for (QTextBlock b = doc->begin(); b.isValid() && out.ok(); b = b.next())
    paragraphs(b.text(), !b.next().isValid());
  return out.ok();
}

void TextEdit::caretPlace(int* line, int* column) const {
  const QTextCursor c = textCursor();
  const QTextBlock b = c.block();
  const std::vector<int>& first = firstLines();
  const int number = b.blockNumber();
  const QString text = b.text();
  const QStringView before = QStringView(text).left(c.positionInBlock());
  *line = first[size_t(number)] + int(before.count(QChar(kLineBreak)));
  const qsizetype lastBreak = before.lastIndexOf(QChar(kLineBreak));
  if (lastBreak >= 0) {
    *column = int(before.size() - lastBreak - 1);
    return;
  }
  // The line starts in this paragraph, or in the first of the pieces before it that it takes in
  // whole or after that piece's last break; its column does not count the mark and the
  // paragraph end of each piece between.
  int start = number;
  while (start > 0 && paragraphs_[size_t(start - 1)].continues) {
    --start;
    if (paragraphs_[size_t(start)].breaks > 0) break;
  }
  if (start == number) {
    *column = int(before.size());
    return;
  }
  const QTextBlock s = document()->findBlockByNumber(start);
  const int from = s.position() + int(s.text().lastIndexOf(QChar(kLineBreak))) + 1;
  *column = c.position() - from - 2 * (number - start);
}

int TextEdit::positionOf(int line, int column, int* length) const {
  if (line < 0) return -1;
  const std::vector<int>& first = firstLines();
  // The first paragraph whose last line is `line` or after it holds the line's start.
  size_t k = 0, hi = first.size();
  while (k < hi) {
    const size_t mid = k + (hi - k) / 2;
    if (first[mid] + paragraphs_[mid].breaks < line)
      k = mid + 1;
    else
      hi = mid;
  }
  if (k == first.size()) return -1;
  QTextBlock b = document()->findBlockByNumber(int(k));
  QString text = b.text();
  qsizetype from = 0;
  for (int skip = line - first[k]; skip > 0; --skip) from = text.indexOf(QChar(kLineBreak), from) + 1;
  // The line runs to the next break, or on through the pieces that continue.
  int whole = 0, position = -1;
  for (;;) {
    const qsizetype end = text.indexOf(QChar(kLineBreak), from);
    const bool more = end < 0 && paragraphs_[k].continues;
    const int n = int((end >= 0 ? end : more ? text.size() - 1 : text.size()) - from);
    if (position < 0 && (column < whole + n || !more))
      position = b.position() + int(from) + qBound(0, column - whole, n);
    whole += n;
    if (!more) break;
    b = b.next();
    text = b.text();
    from = 0;
    ++k;
  }
  if (length) *length = whole;
  return position;
}

void TextEdit::keepOffMarks() {
  QTextCursor c = textCursor();
  const int position = c.position();
  if (pieces_ && !c.hasSelection() && c.atBlockEnd() && continues(c.block())) {
    // After a mark is no place to type: on to the next piece when moving forward, else back before it.
    c.setPosition(position > lastPosition_ ? position + 1 : position - 1);
    lastPosition_ = c.position();
    setTextCursor(c);
    return;
  }
  lastPosition_ = position;
}

void TextEdit::keyPressEvent(QKeyEvent* event) {
  QTextCursor c = textCursor();
  if (pieces_ && !c.hasSelection()) {
    const QTextBlock b = c.block();
    if (event == QKeySequence::Delete && c.positionInBlock() == b.length() - 2 && continues(b)) {
      // Delete before a mark takes the first character of the next piece.
      c.setPosition(b.next().position());
      lastPosition_ = c.position();
      setTextCursor(c);
    } else if (event->key() == Qt::Key_Backspace && c.atBlockStart() && continues(b.previous())) {
      // Backspace at the start of a piece takes the last character of the piece before.
      c.setPosition(b.position() - 2);
      lastPosition_ = c.position();
      setTextCursor(c);
    }
  }
  QPlainTextEdit::keyPressEvent(event);
}

void TextEdit::resizeEvent(QResizeEvent* event) {
  // Without wrapping the width breaks no line, and laying the text out again for it gives every
  // paragraph a layout. It only changes the scroll range when the edit gets narrower than the
  // width the text was laid out for (a large text keeps even that).
  const bool relayout = lineWrapMode() != NoWrap || (!large_ && viewport()->width() < laidOutWidth_);
  if (relayout || event->oldSize().width() == event->size().width()) {
    QPlainTextEdit::resizeEvent(event);
    laidOutWidth_ = viewport()->width();
    return;
  }
  // Passed on as a change of height alone, the resize keeps the scroll bars right without a
  // layout for every line.
  QResizeEvent height(event->size(), QSize(event->size().width(), event->oldSize().height()));
  QPlainTextEdit::resizeEvent(&height);
}

QMimeData* TextEdit::createMimeDataFromSelection() const {
  QMimeData* mime = QPlainTextEdit::createMimeDataFromSelection();
  if (pieces_ && mime) mime->setText(withoutMarks(mime->text()));
  return mime;
}

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {
  // The whole line is kept; the edit never cuts what it is given.
  setMaxLength(std::numeric_limits<int>::max());
}

void LineEdit::setWholeText(const QString& text) {
  cut_ = text.size() > kLongLine;
  if (!cut_) {
    whole_.clear();
    setText(text);
    setToolTip(hint_);
    return;
  }
  whole_ = text;
  length_ = 0;
  showPart(0);
}

QString LineEdit::wholeText() const {
  if (!cut_) return text();
  const QString shown = text();
  QString out;
  out.reserve(whole_.size() - length_ + shown.size());
  out.append(QStringView(whole_).left(from_)).append(shown).append(QStringView(whole_).mid(from_ + length_));
  return out;
}

void LineEdit::showPart(int from) {
  if (length_ > 0) whole_ = wholeText();  // what the copy changed goes into the line first
  from_ = qMax(0, qMin(from, int(whole_.size()) - kLongLine));
  length_ = qMin(kLongLine, int(whole_.size()) - from_);
  setText(whole_.mid(from_, length_));
  setToolTip((hint_.isEmpty() ? QString() : hint_ + QLatin1Char('\n')) +
             QStringLiteral("Показана часть строки: знаки %1–%2 из %3")
                 .arg(from_ + 1)
                 .arg(from_ + length_)
                 .arg(whole_.size()));
}

void LineEdit::selectWhole(int start, int length) {
  if (cut_ && (start < from_ || start + length > from_ + int(text().size())))
    showPart(start - qMax(0, (kLongLine - length) / 2));
  const int at = cut_ ? start - from_ : start;
  if (length > 0)
    setSelection(at, length);
  else
    setCursorPosition(at);
}

void LineEdit::setHint(const QString& hint) {
  hint_ = hint;
  if (!cut_) setToolTip(hint);
}

}  // namespace longlines
