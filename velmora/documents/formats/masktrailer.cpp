#include "velmora/documents/formats/masktrailer.h"

#include "platform/filewriter.h"
#include "platform/linereader.h"
#include "platform/textfile.h"

namespace velmora {

namespace masktrailer {

namespace {
const QString kMask = QStringLiteral("mask:");
}

QStringList split(const QStringList& fileLines, DocSettings* settings, bool* found) {
  const int n = fileLines.size();
  const bool has = n >= kTrailerLines && fileLines[n - kTrailerLines] == kMask;
  if (found) *found = has;
  if (!has) return fileLines;
  const int at = n - kTrailerLines;
  QChar* letters[5] = {&settings->InAbstr, &settings->InDigit, &settings->OutSgn, &settings->InSob,
                       &settings->OutSob};
  for (int i = 0; i < 5; ++i) {
    const QString& line = fileLines[at + 1 + i];
    // An empty letter line keeps the letter the window already has; so does a NUL, which
    // the block cannot write back (it stands for no letter).
    if (!line.isEmpty() && !line[0].isNull()) *letters[i] = line[0];
  }
  settings->RvasS0 = fileLines[at + 6];
  return fileLines.mid(0, at);
}

namespace {
QStringList trailer(const DocSettings& s) {
  QStringList out{kMask};
  for (QChar c : {s.InAbstr, s.InDigit, s.OutSgn, s.InSob, s.OutSob})
    out << (c.isNull() ? QString() : QString(c));
  out << s.RvasS0;
  return out;
}
}  // namespace

QStringList join(const QStringList& text, const DocSettings& s) { return text + trailer(s); }

bool putTrailer(textfile::Writer& out, const DocSettings& settings) {
  for (const QString& line : trailer(settings)) out.line(line);
  return out.ok();
}

bool load(const QString& path, QStringList* text, DocSettings* settings, QString* error) {
  QStringList lines;
  if (!textfile::readLines(path, &lines, error)) return false;
  *text = split(lines, settings);
  return true;
}

bool open(const QString& path, textfile::LineReader* reader, DocSettings* settings, QString* error) {
  if (!reader->open(path, error)) return false;
  if (reader->lineCount() < kTrailerLines) return true;
  // The block is the last seven lines: only they are read apart and looked at.
  QStringList last;
  if (!reader->tail(kTrailerLines, &last, error)) return false;
  bool found = false;
  split(last, settings, &found);
  if (found) reader->dropLast(kTrailerLines);
  return true;
}

bool loadJoined(const QString& path, QString* text, DocSettings* settings, QString* error) {
  textfile::LineReader reader;
  if (!open(path, &reader, settings, error)) return false;
  return reader.rest(text, error);
}

bool save(const QString& path, const QStringList& text, const DocSettings& settings, QString* error) {
  textfile::Writer out(path);
  for (const QString& line : text) out.line(line);
  putTrailer(out, settings);
  return out.commit(error);
}

}  // namespace masktrailer

}  // namespace velmora
