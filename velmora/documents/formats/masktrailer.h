#pragma once
// *.rvs and *.sku files: the text lines, then the "mask:" block that carries the document's
// signal letters and initial event name. Files written without the block (the older program
// writes them so) are text only.
#include <QString>
#include <QStringList>

#include "velmora/documents/formats/docsettings.h"

namespace textfile {
class LineReader;
class Writer;
}  // namespace textfile

namespace velmora {

namespace masktrailer {

constexpr int kTrailerLines = 7;  // "mask:", five letters, the initial event name

// The block only counts as the last seven lines whose first is exactly "mask:"; a "mask:"
// line anywhere else is text. Returns the text; *settings gets the letters of non-empty
// letter lines and the initial event name. *found tells whether the block was there.
QStringList split(const QStringList& fileLines, DocSettings* settings, bool* found = nullptr);
// The text followed by the block.
QStringList join(const QStringList& text, const DocSettings& settings);

// Whole files (code page 1251, CR LF after every line, written atomically).
bool load(const QString& path, QStringList* text, DocSettings* settings, QString* error);
// Opens a file to be read a block of lines at a time; the block, when the file ends with it,
// is read into *settings and left out of the lines.
bool open(const QString& path, textfile::LineReader* reader, DocSettings* settings, QString* error);
// The same, the text's lines joined by '\n' (no list of every line is made).
bool loadJoined(const QString& path, QString* text, DocSettings* settings, QString* error);
bool save(const QString& path, const QStringList& text, const DocSettings& settings, QString* error);
// The block after the text a writer already holds. Returns out.ok().
bool putTrailer(textfile::Writer& out, const DocSettings& settings);

}  // namespace masktrailer

}  // namespace velmora
