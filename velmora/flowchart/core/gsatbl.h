#pragma once
// The check of a flowchart and its conversion into a transition table.
//
// Check lists every fault as "[col, row] text" with its position; MakeTable walks from every
// operator and the start vertex along the links, through conditions, splitters and
// connectors, to the next operator or the end vertex, one table row per path.
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

#include "common/tabledata.h"
#include "velmora/flowchart/core/gsadocument.h"

namespace velmora {

class TGSATbl {
 public:
  // Verdicts of Check: 0 no message; 1 .. 8 the code of the last error; 9 or 10 only
  // naming warnings (the conversion may still run).
  enum Verdict {
    Passed = 0,
    NoStart = 1,
    ManyStarts = 2,
    NoEnd = 3,
    ManyEnds = 4,
    OpenUp = 5,
    OpenDown = 6,
    OpenLeft = 7,
    OpenRight = 8,
    EventNameFound = 9,     // automatic naming, an operator text begins with the event letter
    EventNameMissing = 10,  // user naming, an operator text begins with the output letter
  };
  static bool mayConvert(int verdict) { return verdict == Passed || verdict >= EventNameFound; }

  // Fills the three parallel message lists (cleared first).
  int Check(const GsaGridList& grid, const QString& outputLetter, const QString& eventLetter,
            bool userNaming);
  int Check(const GsaDocument& doc) {
    return Check(doc.grid, doc.outputLetter, doc.eventLetter, doc.userNaming);
  }
  const QStringList& messages() const { return messages_; }  // "[col, row] text"
  const QList<int>& messageCols() const { return messageCols_; }
  const QList<int>& messageRows() const { return messageRows_; }

  // The table of a flowchart that passed the check, its rows in the order a new table
  // window shows them (the window numbers them).
  TableData MakeTable(const GsaGridList& grid, const QString& sk, const QString& s0, const QString& yk,
                      const QString& y0, bool moveEvents, bool userNaming);
  TableData MakeTable(const GsaDocument& doc) {
    return MakeTable(doc.grid, doc.sk, doc.s0, doc.yk, doc.y0, doc.moveEvents, doc.userNaming);
  }
  // A hostile flowchart (branches nested thousands deep, or doubling the paths at every
  // condition) is not walked to the end: the walks stop at kMaxDepth nested branches or
  // kMaxTableRows rows, and cutShort() tells that the table is incomplete.
  static constexpr int kMaxDepth = 1000;
  static constexpr int kMaxTableRows = 200000;
  bool cutShort() const { return cutShort_; }

  // A state name in a user-named operator text: the characters before the first "(" (the
  // whole text without one); the outputs: between the first "(" and the next ")" (the whole
  // text when either is missing).
  static QString StateNameOf(const QString& text);
  static QString OutputsOf(const QString& text);
  // The parts of s between "&" sorted case-insensitively and joined again.
  static QString SortConjunction(const QString& s);

 private:
  enum Dir { Left, Right, Up, Down };
  void addMessage(int col, int row, const QString& text);
  void openRow(int col, int row);
  void closeRow(int col, int row);
  void follow(int col, int row, Dir dir);
  void expandCondition(int col, int row);
  void moveEventsStep();
  void followSplitter(int col, int row);
  void followConnector(int col, int row);
  void mergeDuplicateRows();
  void fillOutputs();
  QString nameOfCell(int col, int row) const;

  QStringList messages_;
  QList<int> messageCols_;
  QList<int> messageRows_;

  const GsaGridList* grid_ = nullptr;
  QList<TableRow>* rows_ = nullptr;
  QStringList vertexNames_;
  QList<int> vertexCells_;
  std::vector<int> vertexOfId_;  // grid.usedId -> position in the three vertex lists, or -1
  QStringList vertexOutputs_;
  bool inConjunctive_ = false;
  bool conjunctiveDone_ = false;
  bool moveEvents_ = false;
  // The (cell, direction) pairs of the walk in progress: a bit per direction for each used
  // cell, and the pairs in the order they were marked (usedId · 4 + direction).
  std::vector<unsigned char> pathMarks_;
  std::vector<int> pathSteps_;
  int depth_ = 0;
  bool cutShort_ = false;  // a walk stopped at kMaxDepth or kMaxTableRows
};

}  // namespace velmora
