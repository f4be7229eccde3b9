// Any bytes as an РВАС/СКУ file: the text and the letters split off, joined again and split
// again give the same text and letters.
#include "roundtrip.h"

#include "velmora/documents/formats/masktrailer.h"

using namespace velmora;

namespace {
bool same(const DocSettings& a, const DocSettings& b) {
  return a.InAbstr == b.InAbstr && a.InDigit == b.InDigit && a.OutSgn == b.OutSgn && a.InSob == b.InSob &&
         a.OutSob == b.OutSob && a.RvasS0 == b.RvasS0;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QStringList lines = linesOf(data, size);
  DocSettings settings;
  bool found = false;
  const QStringList text = masktrailer::split(lines, &settings, &found);
  if (text.size() != lines.size() - (found ? masktrailer::kTrailerLines : 0)) abort();
  DocSettings back;
  bool foundBack = false;
  const QStringList textBack =
      masktrailer::split(rewritten(masktrailer::join(text, settings)), &back, &foundBack);
  if (!foundBack || textBack != text || !same(back, settings)) abort();
  return 0;
}
