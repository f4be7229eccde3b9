// Feeds arbitrary bytes to the input-actions reader: what it reads must write and read back
// unchanged, and every line must run as a step of a model without anything but the engine's
// own errors.
#include <cstdint>
#include <cstdlib>

#include "platform/cp1251.h"
#include "platform/textfile.h"
#include "velmora/oa/inputactions.h"
#include "velmora/oa/oaerrors.h"
#include "velmora/oa/oastep.h"

using namespace velmora;

namespace {

struct Example {
  QStringList blocks{"reg:", "A[8]", "B[8]", "C[4]", "mux:", "DI1[8]"};
  QStringList ySignals{"y1", "y2", "y3"};
  QList<QStringList> yItems{{"A:=200", "B:=A", "C[0]:=1"},
                            {"DI1:=A+C", "B:=DI1", "C:=!C", "A:=A+1"},
                            {"A:=B+C+1", "B:=rc(A,1)", "C:=C-B"}};
  QStringList xSignals{"x1", "x2", "x3"};
  QStringList xValues{"A[7]", "C[0]", "B[0]&B[1]"};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
  const QStringList inputs = InputActionsFile::parse(bytes);
  // The reader shares equal lines; it must split exactly as every other text file is split.
  if (inputs != textfile::splitLines(cp1251::decode(bytes))) std::abort();
  QByteArray written;
  QString err;
  if (!InputActionsFile::toBytes(inputs, &written, &err)) std::abort();  // all it reads can be written
  if (InputActionsFile::parse(written) != inputs) std::abort();

  static const Example d;
  TModelStep model(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  model.Reset({}, {});
  for (int i = 0; i < inputs.size() && i < 64; ++i) {
    try {
      model.ApplySignals(inputs[i], 'a');
    } catch (const EOaError&) {
    }
  }
  if (model.RowCount() < 1) std::abort();
  // The whole file at once gives the rows that one step after another gives, or fails whole.
  TModelStep whole(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
  whole.Reset({}, {});
  const QStringList first = inputs.mid(0, 64);
  try {
    whole.ReplaceSteps(first);
    if (whole.RowCount() != first.size() + 1 || whole.RowCount() != model.RowCount()) std::abort();
    for (int i = 0; i < whole.RowCount(); ++i)
      if (whole.History().Values(i) != model.History().Values(i) ||
          whole.History().Answer(i) != model.History().Answer(i))
        std::abort();
  } catch (const EOaError&) {
    if (whole.RowCount() != 1) std::abort();
  }
  return 0;
}
