// Cost of opening large documents in their windows, against reading the same file's lines,
// so that the figures are ratios on a shared, noisy machine. Each should grow linearly.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "common/tblfile.h"
#include "platform/rtf.h"
#include "platform/textfile.h"
#include "velmora/documents/editform.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"

namespace {

QTemporaryDir& tempDir() {
  static QTemporaryDir dir;
  return dir;
}

QString tableFile(int rows) {
  const QString path = tempDir().filePath(QStringLiteral("t%1.tbl").arg(rows));
  if (QFile::exists(path)) return path;
  TableData t;
  t.signalCoding = TblFile::binaryTag();
  for (int r = 0; r < rows; ++r)
    t.rows.append({QStringLiteral("s%1").arg(r), QStringLiteral("y%1&y2").arg(r % 17), QStringLiteral("x1&X%1").arg(r % 5),
                   QStringLiteral("s%1").arg(r + 1)});
  QString err;
  TblFile::write(path, t, &err);
  return path;
}

QString textFile(int lines, int lineLength) {
  const QString path = tempDir().filePath(QStringLiteral("x%1_%2.txt").arg(lines).arg(lineLength));
  if (QFile::exists(path)) return path;
  QStringList l;
  for (int k = 0; k < lines; ++k) l << QString(lineLength, QLatin1Char('a' + k % 26));
  QString err;
  textfile::writeLines(path, l, &err);
  return path;
}

QString rtfFile(int paragraphs) {
  const QString path = tempDir().filePath(QStringLiteral("r%1.rtf").arg(paragraphs));
  if (QFile::exists(path)) return path;
  QByteArray b = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0\\fs20 ";
  for (int k = 0; k < paragraphs; ++k) b += k % 2 ? "\\b abc\\b0  def\\par " : "\\i ghi\\i0\\par ";
  b += "}";
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(b);
  return path;
}

// The plain reference: the file read into lines, as every window does first.
void readLines(benchmark::State& state, const QString& path) {
  for (auto _ : state) {
    QStringList lines;
    QString err;
    textfile::readLines(path, &lines, &err);
    benchmark::DoNotOptimize(lines.size());
  }
}

void BM_ReadTableLines(benchmark::State& state) { readLines(state, tableFile(int(state.range(0)))); }
void BM_OpenTable(benchmark::State& state) {
  const QString path = tableFile(int(state.range(0)));
  for (auto _ : state) {
    auto* f = new TVexoTableForm(nullptr);
    benchmark::DoNotOptimize(f->Open(path));
    state.PauseTiming();
    delete f;
    state.ResumeTiming();
  }
}
void BM_SaveTable(benchmark::State& state) {
  const QString path = tableFile(int(state.range(0)));
  auto* f = new TVexoTableForm(nullptr);
  f->Open(path);
  const QString out = tempDir().filePath(QStringLiteral("out.tbl"));
  for (auto _ : state) {
    QString err;
    benchmark::DoNotOptimize(TblFile::write(out, f->tableData(), &err));
  }
  delete f;
}

// Opens `path` in a new, shown window of kind `Form`, as the frame would.
template <class Form>
void openInWindow(benchmark::State& state, const QString& path) {
  for (auto _ : state) {
    auto* f = new Form(nullptr);
    f->show();
    benchmark::DoNotOptimize(f->LoadFromFile(path));
    QApplication::processEvents();
    state.PauseTiming();
    delete f;
    state.ResumeTiming();
  }
}

void BM_ReadTextLines(benchmark::State& state) { readLines(state, textFile(int(state.range(0)), 8)); }
void BM_OpenText(benchmark::State& state) { openInWindow<TTxtForm>(state, textFile(int(state.range(0)), 8)); }
void BM_ReadRtfBytes(benchmark::State& state) { readLines(state, rtfFile(int(state.range(0)))); }
void BM_OpenRtf(benchmark::State& state) { openInWindow<TTxtForm>(state, rtfFile(int(state.range(0)))); }
void BM_ReadLongLine(benchmark::State& state) { readLines(state, textFile(1, int(state.range(0)))); }
void BM_OpenLongLineInEditor(benchmark::State& state) {
  openInWindow<TEditForm>(state, textFile(1, int(state.range(0))));
}

}  // namespace

#define SIZES(name, lo, hi) BENCHMARK(name)->RangeMultiplier(4)->Range(lo, hi)->Unit(benchmark::kMillisecond)->Iterations(1)
SIZES(BM_ReadTableLines, 31250, 500000);
SIZES(BM_OpenTable, 31250, 500000);
SIZES(BM_SaveTable, 31250, 500000);
SIZES(BM_ReadTextLines, 62500, 1000000);
SIZES(BM_OpenText, 62500, 1000000);
SIZES(BM_ReadRtfBytes, 62500, 1000000);
SIZES(BM_OpenRtf, 62500, 1000000);
SIZES(BM_ReadLongLine, 65536, 1048576);
SIZES(BM_OpenLongLineInEditor, 65536, 1048576);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
