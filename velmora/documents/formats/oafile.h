#pragma once
// The operational-automaton description of one transition table and its *.oa file.
//
// The file is cp1251 text, every line ended by CR LF:
//   OA_Info / block line count / y count / x count /
//   block lines / y names / x names / one answer per x /
//   for every y: its microoperations, one per line, then "~".
// A table without a description is stored as an empty (0-byte) file.
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

struct OaDescription {
  QStringList ySignals;                        // output signals of the table (inputs of the ОА)
  QStringList blocks;                          // "reg:" / "mux:" markers and the block declarations
  QList<QStringList> yItems;                   // item i: the microoperations of ySignals[i]
  QStringList xSignals;                        // input signals of the table (answered by the ОА)
  QStringList xValues;                         // item i: the ОА expression that answers xSignals[i]
  int blockCount = 0, yCount = 0, xCount = 0;  // the counts of the file read last
  bool oaPresent = false;                      // a description exists for this table

  bool operator==(const OaDescription& o) const {
    return ySignals == o.ySignals && blocks == o.blocks && yItems == o.yItems && xSignals == o.xSignals &&
           xValues == o.xValues && blockCount == o.blockCount && yCount == o.yCount && xCount == o.xCount &&
           oaPresent == o.oaPresent;
  }
};

class OaFile {
 public:
  enum Result {
    Read,       // the description was replaced by the file's
    NoFile,     // no such file, or an empty one: nothing changed
    BadHeader,  // the first line is not "OA_Info": nothing changed
    Malformed   // a count is not a number, the file ends too early, or it cannot be
                // read at all: nothing changed
  };

  static const QString& header();  // "OA_Info"
  // The message for BadHeader; Malformed messages carry their own detail.
  static QString badFormatMessage();

  // Parses the lines into a copy and replaces *desc only when the whole file reads; the
  // lists are then set, the counts are the file's and oaPresent is set. 0 lines: NoFile.
  static Result parse(const QStringList& lines, OaDescription* desc, QString* error);
  static Result read(const QString& path, OaDescription* desc, QString* error);

  // The lines of the file; empty when oaPresent is not set. Exactly one answer is written
  // per x signal (a missing answer as an empty line), and a microoperation group for every
  // item of yItems, so what is written always reads back.
  static QStringList toLines(const OaDescription& desc);
  static bool write(const QString& path, const OaDescription& desc, QString* error);
};

}  // namespace velmora
