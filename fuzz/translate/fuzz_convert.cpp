// The converters on any text: they must end, and a refusal may only be the converter's own
// message. A РВАС text that passes its check must give a СКУ text that passes too.
#include <cstdio>
#include <cstdlib>

#include "fuzzinput.h"
#include "platform/errors.h"
#include "velmora/translate/rvassku.h"
#include "velmora/translate/skutbl.h"
#include "velmora/translate/tblsku.h"
#include "velmora/translate/testing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const DocSettings s = fuzzinput::settings(data, size);
  const QStringList text = fuzzinput::lines(data, size);

  // СКУ -> table -> СКУ -> table.
  try {
    TableData table;
    TSkuTbl(text, &table, s).Convert();
    QStringList sku;
    TTblToSku(table, &sku).Convert();
    TableData again;
    TSkuTbl(sku, &again, s).Convert();
  } catch (const VexoError&) {
  }

  // РВАС -> СКУ -> table.
  try {
    QStringList sku;
    TRvasSku(text, &sku, s).Convert();
    TableData table;
    TSkuTbl(sku, &table, s).Convert();
    if (s.InAbstr == QLatin1Char('z')) {  // default letters only
      QStringList messages;
      if (!TTesting(text, &messages, s).Check()) {
        // Output names are not checked in РВАС (they are copied as written), so only the
        // equations must pass.
        QStringList skuMessages;
        TTesting(sku, &skuMessages, s).CheckSku();
        const int svfLine = int(sku.indexOf(QStringLiteral("svf:"))) + 1;
        bool equationFault = false;
        for (const QString& m : skuMessages)
          if (m.section(QLatin1Char('-'), 0, 0).toInt() < svfLine) equationFault = true;
        if (equationFault) {
          for (const QString& l : text) fprintf(stderr, "RVAS %s\n", qPrintable(l));
          for (const QString& l : sku) fprintf(stderr, "SKU  %s\n", qPrintable(l));
          for (const QString& l : skuMessages) fprintf(stderr, "MSG  %s\n", qPrintable(l));
          abort();
        }
      }
    }
  } catch (const VexoError&) {
  }
  return 0;
}
