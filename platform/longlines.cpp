#include "platform/longlines.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

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
  return QStringLiteral("Строки длиннее %1 знаков показаны частями по %2 (знак %3 в конце части); в файле "
                        "они остаются целыми")
      .arg(kLongLine)
      .arg(kPiece)
      .arg(QChar(kMark));
}

bool continues(const QTextBlock& block) {
  const QTextDocument* doc = block.document();
  const int end = block.position() + block.length() - 2;  // the last character before the paragraph end
  return block.length() > 1 && block.next().isValid() && doc->characterAt(end) == QChar(kMark);
}

TextEdit::TextEdit(QWidget* parent) : QPlainTextEdit(parent) {
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { keepOffMarks(); });
}

void TextEdit::setLines(const QStringList& lines, bool asEdit) {
  pieces_ = false;
  qsizetype total = 0;
  for (const QString& l : lines) total += l.size() + 1;
  QString text;
  text.reserve(total + total / kPiece * 2);
  for (qsizetype k = 0; k < lines.size(); ++k) {
    if (k) text += QLatin1Char('\n');
    const QString& l = lines[k];
    if (l.size() <= kLongLine) {
      text += l;
      continue;
    }
    pieces_ = true;
    for (qsizetype from = 0; from < l.size(); from += kPiece) {
      text += QStringView(l).mid(from, kPiece);
      if (from + kPiece < l.size()) text += QChar(kMark) + QLatin1Char('\n');
    }
  }
  if (!asEdit) {
    setPlainText(text);
    return;
  }
  QTextCursor c(document());
  c.select(QTextCursor::Document);
  c.insertText(text);
}

QStringList TextEdit::lines() const {
  QStringList out;
  const QTextDocument* doc = document();
  if (doc->isEmpty()) return out;
  QString joined;
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
    QString t = b.text();
    const bool more = pieces_ && continues(b);
    if (pieces_) t = withoutMarks(t);
    if (!joined.isEmpty() || more) {
      joined += t;
      if (more) continue;
      t = std::move(joined);
      joined = QString();
    }
    if (t.contains(QChar(kLineBreak))) out << t.split(QChar(kLineBreak));
    else out << t;
  }
  return out;
}

void TextEdit::caretPlace(int* line, int* column) const {
  const QTextCursor c = textCursor();
  if (!pieces_) {
    *line = c.blockNumber();
    *column = c.positionInBlock();
    return;
  }
  int l = 0, col = 0;
  const QTextBlock here = c.block();
  for (QTextBlock b = document()->begin(); b.isValid() && b != here; b = b.next()) {
    if (continues(b)) {
      col += b.length() - 2;
    } else {
      ++l;
      col = 0;
    }
  }
  *line = l;
  *column = col + c.positionInBlock();
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
  for (int l = 0; b.isValid() && l < line; b = b.next())
    if (!continues(b)) ++l;
  if (!b.isValid()) return -1;
  int whole = 0, position = -1;
  for (QTextBlock p = b; p.isValid(); p = p.next()) {
    const bool more = continues(p);
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

QMimeData* TextEdit::createMimeDataFromSelection() const {
  QMimeData* data = QPlainTextEdit::createMimeDataFromSelection();
  if (pieces_ && data) data->setText(withoutMarks(data->text()));
  return data;
}

}  // namespace longlines
