#pragma once
// Builds models the way the table compiler does: each cell becomes its list
// of name=value items (lower-case name, "=0" for an upper-case one).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

#include "tiravo/core/ftt.h"

namespace tablehelp {

// The .sgn bytes of the alphabet x1, x2 and the two inputs {x1, X2} and {X1, X2}.
inline QByteArray TwoInputsSgn() {
  return QByteArray("XXX_input_with_name_information") + QByteArray::fromHex(
                                                             "00"
                                                             "02000000"
                                                             "020000007831"
                                                             "020000007832"
                                                             "02000000"
                                                             "0200000001000000FEFFFFFF"
                                                             "02000000FFFFFFFFFEFFFFFF");
}

inline QStringList Items(const QString& cell, bool condition = false) {
  const QString t = cell.trimmed();
  if (condition && (t == QLatin1String("1") || t == QLatin1String("0"))) return {t};
  QStringList items;
  if (t.isEmpty()) return items;
  for (const QString& part : t.split(QLatin1Char('&'))) {
    const QString name = part.trimmed();
    const bool positive = name.at(0).isLower();
    items << name.toLower() + (positive ? QStringLiteral("=1") : QStringLiteral("=0"));
  }
  return items;
}

inline void Row(FTT& m, const QString& si, const QString& y, const QString& xij, const QString& sj) {
  m.AddLine(Items(si), Items(y), Items(xij, true), Items(sj));
}

// The worked table: s1 goes to s2 and s3 at once on x1.
inline void WorkedTable(FTT& m) {
  Row(m, "s1", "y1", "x1", "s2");
  Row(m, "s1", "y1", "x1", "s3");
  Row(m, "s1", "y1", "X1", "s1");
  Row(m, "s2", "y2", "1", "s1");
  Row(m, "s3", "y3", "x2", "s3");
  Row(m, "s3", "y3", "X2", "s1");
}

inline std::unique_ptr<FTT> Worked() {
  auto m = std::make_unique<FTT>();
  WorkedTable(*m);
  return m;
}

// Abstract letters: z1 leads s1 to s2 and back, z2 keeps s1 and leads s2 nowhere.
inline void LettersTable(FTT& m) {
  m.Mode = FTT::Abstract;
  Row(m, "s1", "y1", "z1", "s2");
  Row(m, "s1", "y1", "z2", "s1");
  Row(m, "s2", "y2", "z1", "s1");
}

}  // namespace tablehelp
