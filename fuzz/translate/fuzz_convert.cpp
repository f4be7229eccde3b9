// The converters on any text: they must end, and a refusal may only be the converter's own
// message. A text that passes its check must be read without losing anything:
// - a РВАС text gives a СКУ text that passes its check too (the РВАС -> table path runs no
//   second check);
// - a СКУ text gives a table that converts back into a СКУ text that passes and gives the
//   same transitions again.
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "fuzzinput.h"
#include "platform/errors.h"
#include "velmora/translate/rvassku.h"
#include "velmora/translate/skutbl.h"
#include "velmora/translate/tblsku.h"
#include "velmora/translate/testing.h"

using namespace velmora;

namespace {

bool defaultLetters(const DocSettings& s) {
  const DocSettings d;
  return s.InAbstr == d.InAbstr && s.InDigit == d.InDigit && s.OutSgn == d.OutSgn && s.InSob == d.InSob &&
         s.OutSob == d.OutSob && s.RvasS0 == d.RvasS0;
}

bool passes(const QStringList& sku, const DocSettings& s, QStringList* messages) {
  TTesting t(sku, messages, s);
  t.CheckSku();
  return t.errorCount() == 0;
}

// Every transition of a table: source set, condition, one target (a row with several
// targets is a transition to each).
QStringList transitions(const TableData& t) {
  QStringList out;
  QString source;
  for (const TableRow& r : t.rows) {
    if (!r.si.isEmpty()) source = r.si;
    if (r.sj == QLatin1String("0") && r.x == QLatin1String("0")) continue;
    QStringList targets = r.sj.split(QLatin1Char('&'));
    targets.removeDuplicates();
    for (const QString& target : targets) out << source + QChar(1) + r.x + QChar(1) + target;
  }
  out.removeDuplicates();
  std::sort(out.begin(), out.end());
  return out;
}

[[noreturn]] void fail(const char* what, const QStringList& a, const QStringList& b, const QStringList& m) {
  fprintf(stderr, "%s\n", what);
  for (const QString& l : a) fprintf(stderr, "IN   %s\n", qPrintable(l));
  for (const QString& l : b) fprintf(stderr, "OUT  %s\n", qPrintable(l));
  for (const QString& l : m) fprintf(stderr, "MSG  %s\n", qPrintable(l));
  abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const DocSettings s = fuzzinput::settings(data, size);
  const QStringList text = fuzzinput::lines(data, size);
  const bool letters = defaultLetters(s);

  // СКУ -> table -> СКУ -> table.
  try {
    TableData table;
    TSkuTbl(text, &table, s).Convert();
    QStringList sku;
    TTblToSku(table, &sku).Convert();
    TableData again;
    TSkuTbl(sku, &again, s).Convert();
    QStringList messages;
    if (letters && passes(text, s, &messages)) {
      QStringList back;
      if (!passes(sku, s, &back)) fail("table of a checked text gives a faulty text", text, sku, back);
      if (transitions(table) != transitions(again)) fail("transitions lost", text, sku, {});
    }
  } catch (const VexoError&) {
  }

  // РВАС -> СКУ -> table.
  try {
    QStringList sku;
    TRvasSku(text, &sku, s).Convert();
    TableData table;
    TSkuTbl(sku, &table, s).Convert();
    QStringList messages;
    if (letters && !TTesting(text, &messages, s).Check()) {
      QStringList skuMessages;
      if (!passes(sku, s, &skuMessages)) fail("checked РВАС gives a faulty СКУ text", text, sku, skuMessages);
    }
  } catch (const VexoError&) {
  }
  return 0;
}
