#pragma once
// A small rich-text (RTF) writer and reader, enough for the texts and reports of the programs:
// code page 1251 text with \'hh escapes (\uN beyond it), a font table with the Cyrillic
// charset, a colour table, bold, italic, underline, alignment and tab stops.
// The reader skips what it does not know; malformed input never makes it fail.
#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QString>

class QTextDocument;

namespace rtf {

struct CharFormat {
  QString font;        // family; empty: the document's default font
  int halfPoints = 0;  // size in half points; 0: the default size
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool hasColor = false;  // false: the automatic (default) colour
  QRgb color = 0;
  bool operator==(const CharFormat& o) const {
    return font == o.font && halfPoints == o.halfPoints && bold == o.bold && italic == o.italic &&
           underline == o.underline && hasColor == o.hasColor && (!hasColor || color == o.color);
  }
  bool operator!=(const CharFormat& o) const { return !(*this == o); }
};

// Run text holds '\t' for a tab and U+2028 for a line break inside the paragraph.
struct Run {
  QString text;
  CharFormat format;
};

enum Align { AlignLeft, AlignRight, AlignCenter, AlignJustify };

struct Paragraph {
  Align align = AlignLeft;
  QList<int> tabs;  // tab stops in twips (1/20 point), in order
  QList<Run> runs;
  QString text() const;
};

// Always at least one paragraph once read; an empty document has one empty paragraph.
struct Document {
  QList<Paragraph> paragraphs;
  // The paragraphs' texts joined by '\n'.
  QString plainText() const;
};

// True when the data begins like a rich-text file ("{\rtf", leading blanks allowed).
bool isRtf(const QByteArray& data);

// The whole file; every paragraph ends with \par, the last one included, as other writers do.
QByteArray write(const Document& doc);
// Never throws; what it cannot read is skipped. A \par that ends the text ends the last
// paragraph and opens no empty one after it.
Document read(const QByteArray& data);

// Bridges to Qt's rich-text document. Tab stops: 1 pixel = 15 twips (96 pixels per inch).
Document fromTextDocument(const QTextDocument& doc);
void toTextDocument(const Document& rtf, QTextDocument* doc);

inline double twipsToPixels(int twips) { return twips / 15.0; }
int pixelsToTwips(double pixels);

}  // namespace rtf
