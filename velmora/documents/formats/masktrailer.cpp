#include "velmora/documents/formats/masktrailer.h"

#include "platform/textfile.h"

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

QStringList join(const QStringList& text, const DocSettings& s) {
  QStringList out = text;
  out << kMask;
  for (QChar c : {s.InAbstr, s.InDigit, s.OutSgn, s.InSob, s.OutSob})
    out << (c.isNull() ? QString() : QString(c));
  out << s.RvasS0;
  return out;
}

bool load(const QString& path, QStringList* text, DocSettings* settings, QString* error) {
  QStringList lines;
  if (!textfile::readLines(path, &lines, error)) return false;
  *text = split(lines, settings);
  return true;
}

bool loadJoined(const QString& path, QString* text, DocSettings* settings, QString* error) {
  if (!textfile::readJoined(path, text, error)) return false;
  // The block is the last seven lines: only they are split off and looked at.
  qsizetype at = text->size();
  int breaks = 0;
  while (breaks < kTrailerLines && at > 0)
    if (text->at(--at) == QLatin1Char('\n')) ++breaks;
  const bool whole = breaks == kTrailerLines - 1 && at == 0;  // the file is the block alone
  if (breaks < kTrailerLines && !whole) return true;
  const qsizetype from = whole ? 0 : at + 1;
  bool found = false;
  split(text->mid(from).split(QLatin1Char('\n')), settings, &found);
  if (found) text->truncate(whole ? 0 : at);
  return true;
}

bool save(const QString& path, const QStringList& text, const DocSettings& settings, QString* error) {
  return textfile::writeLines(path, join(text, settings), error);
}

}  // namespace masktrailer
