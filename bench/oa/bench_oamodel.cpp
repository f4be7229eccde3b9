// The ОА model window: opening a long input-actions file against reading the same file's
// lines, and opening the window of a description with many registers against building the
// bare model of it, so that the figures are ratios on a shared, noisy machine.
#include <benchmark/benchmark.h>

#include "bench/common/qtmain.h"

#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>

#include "platform/dialogs.h"
#include "platform/textfile.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/documents/tableform.h"
#include "velmora/oa/oamodelform.h"
#include "velmora/oa/oastep.h"
#include "tests/oa/oatestutil.h"

using namespace velmora;

namespace {

QTemporaryDir& tempDir() {
  static QTemporaryDir dir;
  return dir;
}

// About `bytes` of steps such as a user saves: single signals and pairs.
QString yFile(int bytes) {
  const QString path = tempDir().filePath(QStringLiteral("s%1.y").arg(bytes));
  if (QFile::exists(path)) return path;
  static const char* kSteps[] = {"y1", "y2&y3", "y3", "y1&y2", "y2", "y1&y3"};
  QByteArray b;
  b.reserve(bytes + 16);
  for (int k = 0; b.size() < bytes; ++k) b += QByteArray(kSteps[k % 6]) + "\r\n";
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(b);
  return path;
}

void BM_ReadYLines(benchmark::State& state) {
  const QString path = yFile(int(state.range(0)));
  for (auto _ : state) {
    QStringList lines;
    QString err;
    textfile::readLines(path, &lines, &err);
    benchmark::DoNotOptimize(lines.size());
  }
}

void BM_OpenYFile(benchmark::State& state) {
  const QString path = yFile(int(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto* t = new TVexoTableForm(nullptr);
    describeExample(&t->document()->oa());  // A[8], B[8], C[4], DI1[8]; y1..y3, x1..x3
    TOAModelForm* m = TOAModelForm::open(t, t, QStringLiteral("bench.oa"));
    for (const char* n : {"A", "B", "C", "DI1"}) m->setRegName(m->rowCount(), QLatin1String(n));
    dlg::Script s;
    s.files << path;
    state.ResumeTiming();
    m->mOpenFileClick();
    benchmark::DoNotOptimize(m->stepRowCount());
    state.PauseTiming();
    state.counters["steps"] = m->model()->RowCount() - 1;
    m->modified = false;
    delete m;
    delete t;
    state.ResumeTiming();
  }
}

// n registers, every one of them watched.
void registers(OaDescription& d, int n) {
  describeExample(&d);
  for (int i = 0; i < n; ++i) d.blocks.insert(4 + i, QStringLiteral("R%1[16]").arg(i));
}

// The reference: the bare model of the same description, built without a window.
void BM_BuildModel(benchmark::State& state) {
  OaDescription d;
  registers(d, int(state.range(0)));
  for (auto _ : state) {
    TModelStep m(nullptr, d.blocks, d.xValues, d.xSignals, d.yItems, d.ySignals);
    benchmark::DoNotOptimize(m.Reset({}, {}));
  }
}

void BM_OpenManyRegisters(benchmark::State& state) {
  if (!OptionsForm) OptionsForm = new TOptionsForm(nullptr);
  OptionsForm->AutoReg->setChecked(true);
  for (auto _ : state) {
    state.PauseTiming();
    auto* t = new TVexoTableForm(nullptr);
    registers(t->document()->oa(), int(state.range(0)));
    state.ResumeTiming();
    TOAModelForm* m = TOAModelForm::open(t, t, QStringLiteral("bench.oa"));
    m->show();
    QApplication::processEvents();
    state.PauseTiming();
    state.counters["rows"] = m->rowCount() - 1;
    delete m;
    delete t;
    state.ResumeTiming();
  }
}

BENCHMARK(BM_BuildModel)->Arg(25000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenManyRegisters)->Arg(25000)->Arg(200000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadYLines)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenYFile)->Arg(1 << 20)->Arg(10 << 20)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
