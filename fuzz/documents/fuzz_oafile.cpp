// Any bytes as a .oa file: refused with a message, or read; what is read is written and read
// back to the same description, and the operational automaton it describes is built and
// stepped (an engine error is an answer, not a fault).
#include "roundtrip.h"

#include "platform/errors.h"
#include "velmora/documents/formats/oafile.h"
#include "velmora/oa/oastep.h"

using namespace velmora;

namespace {

void run(const OaDescription& d) {
  try {
    TModelStep model(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
    model.Reset(QString(), QString());
    QStringList inputs{QString(), d.ySignals.join(QLatin1Char('&'))};
    inputs << d.ySignals.mid(0, 6);
    for (const QString& y : inputs) model.ApplySignals(y, 'a');
    if (model.RowCount() > 1) {
      model.GoToStep(1);
      model.ApplySignals(inputs.last(), 'c');
      model.ApplySignals(inputs.first(), 'i');
      model.GoToStep(1);
      model.ApplySignals(QString(), 'd');
    }
  } catch (const VexoError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  OaDescription desc;
  QString error;
  const OaFile::Result r = OaFile::parse(linesOf(data, size), &desc, &error);
  if (r == OaFile::BadHeader || r == OaFile::Malformed) {
    if (error.isEmpty() || !(desc == OaDescription())) abort();  // refused, nothing changed
    return 0;
  }
  if (r != OaFile::Read) return 0;
  OaDescription back;
  if (OaFile::parse(rewritten(OaFile::toLines(desc)), &back, &error) != OaFile::Read || !(back == desc))
    abort();
  run(desc);
  return 0;
}
