// The linear translators give what the earlier ones gave. data/translate_cases.txt holds small
// random texts with what the earlier translators made of them: a case starts with "@rvas",
// "@sku" or "@table", then its input lines after '>' and its expected lines after '<'. Table
// rows are their four cells (source, outputs, condition, target) split by tabs.
#include <gtest/gtest.h>

#include <QFile>
#include <QMap>

#include "tiravo/translate/rvasconvert.h"
#include "tiravo/translate/skutable.h"
#include "tiravo/translate/tablesku.h"

using namespace tiravo;

namespace {

struct RecordedCase {
  QString kind;
  QStringList input, expected;
};

QList<RecordedCase> recordedCases() {
  QFile f(QStringLiteral(TRANSLATE_CASES));
  if (!f.open(QIODevice::ReadOnly)) return {};
  QList<RecordedCase> cases;
  for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    if (line.startsWith(QLatin1Char('@')))
      cases.append({line.mid(1), {}, {}});
    else if (!cases.isEmpty())
      (line.startsWith(QLatin1Char('>')) ? cases.last().input : cases.last().expected) << line.mid(1);
  }
  return cases;
}

// The stages' verdicts, then the rows and the signal coding.
QStringList runSku(const QStringList& text) {
  SkuToTable c(findSkuSections(text));
  SkuStageFault fault;
  QStringList result;
  bool ok = c.runSku(text, &fault);
  result << QStringLiteral("sku %1 %2 %3").arg(ok).arg(fault.line).arg(fault.message);
  if (ok && findSkuSections(text).hasSvf()) {
    ok = c.runSvf(text, &fault);
    result << QStringLiteral("svf %1 %2 %3").arg(ok).arg(fault.line).arg(fault.message);
  }
  for (const TableRow& row : c.table().rows) result << row.si + '|' + row.y + '|' + row.x + '|' + row.sj;
  result << c.table().signalCoding;
  return result;
}

QStringList runTable(const QStringList& rows) {
  TableData t;
  for (const QString& row : rows) {
    const QStringList cells = row.split(QLatin1Char('\t'));
    t.rows << TableRow{cells.value(0), cells.value(1), cells.value(2), cells.value(3)};
  }
  QStringList lines;
  const bool ok = tableToSku(t, &lines);
  return QStringList{QString::number(ok)} + lines;
}

}  // namespace

TEST(TiravoTranslateProperty, SameResultsAsBefore) {
  QMap<QString, int> count;
  for (const RecordedCase& c : recordedCases()) {
    QStringList got;
    if (c.kind == QLatin1String("rvas"))
      got = RvasConverter().convert(c.input.value(0));
    else if (c.kind == QLatin1String("sku"))
      got = runSku(c.input);
    else if (c.kind == QLatin1String("table"))
      got = runTable(c.input);
    else
      FAIL() << "unknown case " << c.kind.toStdString();
    // As texts, so that a failure shows the lines.
    ASSERT_EQ(got.join('\n').toStdString(), c.expected.join('\n').toStdString())
        << c.kind.toStdString() << ": " << c.input.join('/').toStdString();
    ++count[c.kind];
  }
  // The whole file was read.
  EXPECT_EQ(count.value(QStringLiteral("rvas")), 400);
  EXPECT_EQ(count.value(QStringLiteral("sku")), 500);
  EXPECT_EQ(count.value(QStringLiteral("table")), 500);
}
