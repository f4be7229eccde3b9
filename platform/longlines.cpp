#include "platform/longlines.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace longlines {

namespace {

constexpr char16_t kLineBreak = 0x2028;  // a break inside a paragraph (pasted)

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

}  // namespace

QString note() {
  return QStringLiteral(
             "Строки длиннее %1 знаков показаны частями по %2 (знак %3 в конце части); в файле "
             "они остаются целыми")
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

const std::vector<int>& TextEdit::continuing() const {
  if (continuingKnown_) return continuing_;
  continuing_.clear();
  // One pass over the raw text, where every paragraph ends with U+2029.
  const QString raw = document()->toRawText();
  const QChar* p = raw.constData();
  int block = 0;
  for (qsizetype i = 0, n = raw.size(); i < n; ++i) {
    if (p[i] != QChar(0x2029)) continue;
    if (i > 0 && p[i - 1] == QChar(kMark)) continuing_.push_back(block);
    ++block;
  }
  continuingKnown_ = true;
  const_cast<TextEdit*>(this)->blocks_ = document()->blockCount();
  return continuing_;
}

bool TextEdit::continuesNumber(int block) const {
  const std::vector<int>& c = continuing();
  return std::binary_search(c.begin(), c.end(), block);
}

void TextEdit::changed(int position, int removed, int added) {
  if (!continuingKnown_) return;
  // Typing inside one paragraph keeps the list unless it made or undid the mark at its end.
  const QTextBlock b = document()->findBlock(position);
  const bool inside =
      document()->blockCount() == blocks_ && b.isValid() &&
      position + qMax(removed, added) < b.position() + b.length() &&
      continues(b) == std::binary_search(continuing_.begin(), continuing_.end(), b.blockNumber());
  if (!inside) continuingKnown_ = false;
}

void TextEdit::setLines(const QStringList& lines, bool asEdit) {
  setText(lines.join(QLatin1Char('\n')), asEdit);
}

void TextEdit::setText(QString joined, bool asEdit) {
  continuingKnown_ = false;
  const QChar* p = joined.constData();
  const qsizetype n = joined.size();
  qsizetype longest = 0;
  for (qsizetype i = 0, from = 0; i <= n; ++i)
    if (i == n || p[i] == QLatin1Char('\n')) {
      longest = qMax(longest, i - from);
      from = i + 1;
    }
  pieces_ = longest > kLongLine;
  if (!asEdit) {
    // Wrapping goes off while the document is empty, where that lays out nothing.
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < n && breaks <= kLargeLines; ++i) breaks += p[i] == QLatin1Char('\n');
    large_ = breaks >= kLargeLines;
    if (large_) {
      QPlainTextEdit::clear();
      setLineWrapMode(NoWrap);
    }
  }
  QString cut;
  if (pieces_) {
    cut.reserve(n + n / kPiece * 2);
    for (qsizetype i = 0, from = 0; i <= n; ++i) {
      if (i < n && p[i] != QLatin1Char('\n')) continue;
      // The line [from, i): whole when short, else piece by piece.
      const qsizetype length = i - from;
      for (qsizetype at = 0; at < length || at == 0; at += kPiece) {
        const bool more = length > kLongLine && at + kPiece < length;
        cut.append(p + from + at, qMin<qsizetype>(length > kLongLine ? kPiece : length, length - at));
        if (more) cut += QChar(kMark) + QLatin1Char('\n');
        if (length <= kLongLine || !more) break;
      }
      if (i < n) cut += QLatin1Char('\n');
      from = i + 1;
    }
  }
  if (pieces_) joined = QString();
  QString& text = pieces_ ? cut : joined;
  if (!asEdit) {
    if (!large_ || !text.isDetached()) {
      setPlainText(text);
      return;
    }
    QPlainTextEdit::clear();
    loadFromEnd(text);
    return;
  }
  QTextCursor c(document());
  c.select(QTextCursor::Document);
  c.insertText(text);
}

void TextEdit::loadFromEnd(QString& text) {
  // The document keeps a copy of the text; going from the end lets the part already copied go,
  // so that the two are never both whole.
  constexpr qsizetype kChunk = 1 << 22;
  QTextDocument* doc = document();
  doc->setUndoRedoEnabled(false);
  QTextCursor c(doc);
  c.beginEditBlock();
  bool last = true;
  while (!text.isEmpty()) {
    // The chunk starts after a line break (or at the text's start) and ends before the next
    // chunk's line break, which the chunk takes along to part it from the lines after it.
    qsizetype from = qMax<qsizetype>(0, text.size() - kChunk);
    if (from > 0) {
      const qsizetype lf = text.lastIndexOf(QLatin1Char('\n'), from);
      from = lf < 0 ? 0 : lf + 1;
    }
    c.setPosition(0);
    c.insertText(last ? text.mid(from) : text.mid(from) + QLatin1Char('\n'));
    last = false;
    text.truncate(from > 0 ? from - 1 : 0);
    text.squeeze();
  }
  c.endEditBlock();
  doc->setUndoRedoEnabled(true);
  doc->setModified(false);
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

void TextEdit::caretPlace(int* line, int* column) const {
  const QTextCursor c = textCursor();
  if (!pieces_) {
    *line = c.blockNumber();
    *column = c.positionInBlock();
    return;
  }
  // The line is the paragraph's number less the pieces before it; its column counts from the
  // line's first piece, less the mark and the paragraph end of each piece between.
  const std::vector<int>& cont = continuing();
  const int number = c.blockNumber();
  const auto before = std::lower_bound(cont.begin(), cont.end(), number);
  *line = number - int(before - cont.begin());
  int first = number;
  for (auto it = before; it != cont.begin() && *(it - 1) == first - 1; --it) --first;
  const int start = first == number ? c.block().position() : document()->findBlockByNumber(first).position();
  *column = c.position() - start - 2 * (number - first);
}

int TextEdit::positionOf(int line, int column, int* length) const {
  if (line < 0) return -1;
  QTextBlock b = document()->begin();
  if (!pieces_) {
    b = document()->findBlockByNumber(line);
    if (!b.isValid()) return -1;
    if (length) *length = b.length() - 1;
    return b.position() + qBound(0, column, b.length() - 1);
  }
  // The first paragraph whose line is `line`: a paragraph's line is its number less the
  // pieces before it, which never falls as the number grows.
  const std::vector<int>& cont = continuing();
  auto lineOf = [&](int number) {
    return number - int(std::lower_bound(cont.begin(), cont.end(), number) - cont.begin());
  };
  int lo = 0, hi = document()->blockCount();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (lineOf(mid) < line)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (lo >= document()->blockCount() || lineOf(lo) != line) return -1;
  b = document()->findBlockByNumber(lo);
  int whole = 0, position = -1;
  int number = lo;
  for (QTextBlock p = b; p.isValid(); p = p.next(), ++number) {
    const bool more = std::binary_search(cont.begin(), cont.end(), number);
    const int n = more ? p.length() - 2 : p.length() - 1;
    if (position < 0 && (column < whole + n || !more)) position = p.position() + qMin(column - whole, n);
    whole += n;
    if (!more) break;
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
  if (!large_ || lineWrapMode() != NoWrap || event->oldSize().width() == event->size().width()) {
    QPlainTextEdit::resizeEvent(event);
    return;
  }
  // Without wrapping the width breaks no line; passed on as a change of height alone, the
  // resize keeps the scroll bars right without a layout for every line.
  QResizeEvent height(event->size(), QSize(event->size().width(), event->oldSize().height()));
  QPlainTextEdit::resizeEvent(&height);
}

QMimeData* TextEdit::createMimeDataFromSelection() const {
  QMimeData* mime = QPlainTextEdit::createMimeDataFromSelection();
  if (pieces_ && mime) mime->setText(withoutMarks(mime->text()));
  return mime;
}

}  // namespace longlines
