#pragma once
// The *.gsa flowchart file: cp1251 text, one item per line, every line ended by CR LF.
//
// Current layout: "GSA1.1" / "USER" or "AUTO" / "TRACK" or "NOTRACK" / "MOVE" or "NOMOVE" /
// y0 / yk / s0 / sk / input-event letter / output-signal letter / row count / column count /
// for every written cell "row,col" / text / kind / ... / "End".
// Older layout (read only): row count / column count / groups row / col / text / kind /
// "End"; it reads with the default flags (AUTO, NOTRACK, NOMOVE) and names.
// A cell is written when its kind is not "255" or its text is not empty.
#include <QString>
#include <QStringList>

#include "velmora/flowchart/core/gsadocument.h"

namespace velmora {

class GsaFile {
 public:
  static const QString& header();  // "GSA1.1"

  // Parses the whole file into a temporary and replaces *doc only when it reads: counts of
  // 1 .. GsaGridList::kMax*, every position inside the grid, an "End" line. Otherwise false
  // with a message in *error and *doc unchanged. Kind lines are kept as they stand.
  static bool parse(const QStringList& lines, GsaDocument* doc, QString* error);
  // The same from a file read a block of lines at a time: the whole file is never held.
  static bool read(const QString& path, GsaDocument* doc, QString* error);

  // The lines of the file in the current layout.
  static QStringList toLines(const GsaDocument& doc);
  // Atomic; nothing is written when a text has a character without a cp1251 code (the
  // message names the cell).
  static bool write(const QString& path, const GsaDocument& doc, QString* error);
};

}  // namespace velmora
