#pragma once
// Tiravo's СКУ and СВФ line check: one equation per line, no ';', no comments, no brackets,
// blanks anywhere; fixed letters ('z' abstract, 'x'/'X' binary, 'e' a further signal).
// Only the first error of a line is reported.
#include <QString>
#include <QStringList>
#include <QVector>

namespace tiravo {

struct SkuFault {
  int code = 0;               // 0: the line passes
  int start = 0, length = 0;  // selection in the line as typed
};

// Where the sections lie (line indices, end exclusive); the first header of each kind counts.
struct SkuSections {
  int skuStart = -1, skuEnd = -1, svfStart = -1, svfEnd = -1;
  bool hasSku() const { return skuStart >= 0; }
  bool hasSvf() const { return svfStart >= 0; }
};
SkuSections findSkuSections(const QStringList& lines);

class SkuLineCheck {
 public:
  explicit SkuLineCheck(bool svf) : svf_(svf) {}
  // The signal flags hold for a whole section; every run of a stage starts afresh.
  void reset() { abstractUsed_ = binaryUsed_ = false; }
  SkuFault check(const QString& line);
  bool abstractUsed() const { return abstractUsed_; }

 private:
  // The significant characters of a line with their positions as typed.
  // Filled anew for each line: the buffers are kept from line to line.
  struct Compact {
    void fill(const QString& line);
    QString text;
    QVector<int> pos;
  };
  SkuFault characters(const QString& line) const;
  SkuFault letters(const QString& line);
  SkuFault structure(const Compact& c) const;

  bool svf_;
  bool abstractUsed_ = false, binaryUsed_ = false;
  Compact compact_;
};

QString skuMessage(int code, bool svf);

}  // namespace tiravo
