// Cost of opening, saving and working on large documents in their windows. Every case runs
// several times, alternating with a plain reference on the same file in the same run (the
// file's bytes read whole, or written whole), and reports the ratio of the best times; the
// open cases include the first paint. The open and save cases also report their peak resident
// memory over the file's size (mem_ratio). Sizes are in megabytes of the file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextCursor>

#include "bench/documents/measure.h"
#include "common/tblfile.h"
#include "platform/cp1251.h"
#include "platform/dialogs.h"
#include "platform/heap.h"
#include "platform/textfile.h"
#include "velmora/documents/editform.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"
#include "velmora/flowchart/core/gsafile.h"
#include "velmora/flowchart/gsaform.h"
#include "velmora/translate/testing.h"

using namespace velmora;

namespace {

constexpr double kMB = 1e6;

QTemporaryDir& tempDir() {
  static QTemporaryDir dir;
  return dir;
}

QString pathFor(const QString& name) { return tempDir().filePath(name); }

// Lines handed out one at a time into *line; false after the last.
using LineSource = std::function<bool(QString* line)>;

// Writes the lines as a 1251 file (CR LF after each) once per name, a megabyte at a time: the
// lines of a large file made whole would leave the heap shaped by them for the cases measured
// after, which no program that opens the file has.
QString linesFile(const QString& name, const LineSource& next) {
  const QString path = pathFor(name);
  if (QFile::exists(path)) return path;
  QSaveFile f(path);
  f.open(QIODevice::WriteOnly);
  QByteArray buffer, bytes;
  QString line;
  while (next(&line)) {
    cp1251::encode(line, &bytes);
    buffer += bytes + "\r\n";
    if (buffer.size() >= 1 << 20) {
      f.write(buffer);
      buffer.clear();
    }
  }
  f.write(buffer);
  f.commit();
  return path;
}
QString linesFile(const QString& name, const QStringList& lines) {
  int k = 0;
  return linesFile(name, [&](QString* line) {
    if (k == lines.size()) return false;
    *line = lines[k++];
    return true;
  });
}

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

// A table file of about `mb` megabytes of short cells, as tables are.
QString tableFile(double mb) {
  qint64 size = 8, k = -1;
  return linesFile(QStringLiteral("t%1.tbl").arg(mb), [=](QString* line) mutable {
    if (k < 0) {
      *line = TblFile::binaryTag();
      k = 0;
      return true;
    }
    if (k % 4 == 0 && size >= mb * kMB) return false;
    const qint64 r = k / 4;
    switch (k++ % 4) {
      case 0: *line = QStringLiteral("s%1").arg(r); break;
      case 1: *line = QStringLiteral("y%1&y2").arg(r % 17); break;
      case 2: *line = QStringLiteral("x1&X%1").arg(r % 5); break;
      default: *line = QStringLiteral("s%1").arg(r + 1);
    }
    size += line->size() + 2;
    return true;
  });
}

// A РВАС text of about `mb` megabytes; with `faulty`, every line mixes binary and abstract
// inputs, so that the checker has a message for each.
LineSource rvasSource(double mb, bool faulty) {
  qint64 size = 0, k = 0;
  return [=](QString* line) mutable {
    if (size >= mb * kMB) return false;
    *line = faulty ? QStringLiteral("sa%1(y%2)=s0*x1*{x2|X3*x4}*(x5|x6)*x7|s0*z%3;").arg(k).arg(k % 9).arg(k)
                   : QStringLiteral("sa%1(y%2)=s0*x1*{x2|X3*x4}*(x5|x6)*x7;").arg(k).arg(k % 9);
    ++k;
    size += line->size() + 2;
    return true;
  };
}
QStringList rvasLines(double mb, bool faulty) {
  QStringList t;
  const LineSource next = rvasSource(mb, faulty);
  for (QString line; next(&line);) t << line;
  return t;
}
QString rvasFile(double mb) { return linesFile(QStringLiteral("r%1.rvs").arg(mb), rvasSource(mb, false)); }

// `mb` megabytes of short lines with one line of `longMb` megabytes of "x1&x1&..." halfway.
QString longLineFile(double mb, double longMb) {
  const LineSource shortLines = rvasSource(mb - longMb, false);
  qint64 size = 0;
  bool placed = false;
  return linesFile(QStringLiteral("l%1.rvs").arg(longMb), [=](QString* line) mutable {
    if (!placed && size >= (mb - longMb) * kMB / 2) {
      placed = true;
      line->clear();
      while (line->size() < longMb * kMB) *line += QStringLiteral("x1&");
      return true;
    }
    if (!shortLines(line)) return false;
    size += line->size() + 2;
    return true;
  });
}

// A table whose second row holds one cell of `mb` megabytes.
QString longCellFile(double mb) {
  QString cell;
  while (cell.size() < mb * kMB) cell += QStringLiteral("x1&");
  return linesFile(QStringLiteral("c%1.tbl").arg(mb),
                   QStringList{TblFile::binaryTag(), "s0", "y1", "x1", "s1", "s1", cell, "1", "s0"});
}

template <class Form>
void paint(Form* f) {
  f->show();
  QApplication::processEvents();
  f->repaint();
}

// `path` opened in a new window of kind `Form` and painted, against reading its bytes.
template <class Form>
void openAndPaint(benchmark::State& state, const QString& path, bool (Form::*open)(const QString&)) {
  docbench::Versus(
      state,
      [&] {
        auto* f = new Form(nullptr);
        (f->*open)(path);
        paint(f);
        delete f;
      },
      [&] { docbench::plainRead(path); }, docbench::fileSize(path));
}

// `path` opened in a window of kind `Form` and saved again under another name (given to the
// window by `rename`) through the window's Save, against writing the file's bytes whole.
template <class Form, class Rename>
void saveAgain(benchmark::State& state, const QString& path, bool (Form::*open)(const QString&),
               Rename rename) {
  const QString out = pathFor(QStringLiteral("out.") + QFileInfo(path).suffix());
  const QByteArray bytes = bytesOf(path);
  auto* f = new Form(nullptr);
  (f->*open)(path);
  rename(f, out);
  f->setWindowTitle(QFileInfo(out).fileName());
  docbench::Versus(
      state, [&] { f->Save1Click(); }, [&] { docbench::plainWrite(out, bytes); }, docbench::fileSize(path));
  delete f;
}

// ---- opening and saving ----------------------------------------------------------------------

void BM_OpenTable(benchmark::State& state) {
  const QString path = tableFile(double(state.range(0)));
  openAndPaint(state, path, &TVexoTableForm::Open);
}

void BM_SaveTable(benchmark::State& state) {
  saveAgain(state, tableFile(double(state.range(0))), &TVexoTableForm::Open,
            [](TVexoTableForm* f, const QString& out) { f->document()->setFileName(out); });
}

void BM_OpenRvs(benchmark::State& state) {
  const QString path = rvasFile(double(state.range(0)));
  openAndPaint(state, path, &TEditForm::LoadFromFile);
}

void BM_SaveRvs(benchmark::State& state) {
  saveAgain(state, rvasFile(double(state.range(0))), &TEditForm::LoadFromFile,
            [](TEditForm* f, const QString& out) { f->fileName = out; });
}

// A flowchart of about `mb` megabytes: rows of operator vertices with short texts across the
// largest grid, as a large generated flowchart is.
QString gsaFile(double mb) {
  const QString path = pathFor(QStringLiteral("g%1.gsa").arg(mb));
  if (QFile::exists(path)) return path;
  const int cols = GsaGridList::kMaxCols;
  GsaDocument doc;
  doc.grid = GsaGridList(GsaGridList::kMaxRows, cols);
  qint64 size = 0;
  for (int i = 0; size < mb * kMB && i < GsaGridList::kMaxRows * cols; ++i) {
    const int row = i / cols, col = i % cols;
    doc.grid.setCell(col, row, GsaCell{QStringLiteral("y%1").arg(i % 97), QStringLiteral("1")});
    size += 20;
  }
  QString err;
  GsaFile::write(path, doc, &err);
  return path;
}

void BM_OpenGsa(benchmark::State& state) {
  const QString path = gsaFile(double(state.range(0)));
  openAndPaint(state, path, &TGSAForm::Open);
}

void BM_SaveGsa(benchmark::State& state) {
  saveAgain(state, gsaFile(double(state.range(0))), &TGSAForm::Open,
            [](TGSAForm* f, const QString& out) { f->fileName = out; });
}

// A flowchart whose one operator cell holds a text of range(0) megabytes, opened and painted.
void BM_OpenGsaLongCell(benchmark::State& state) {
  const QString path = pathFor(QStringLiteral("gc%1.gsa").arg(state.range(0)));
  if (!QFile::exists(path)) {
    GsaDocument doc;
    doc.grid = GsaGridList(3, 3);
    doc.grid.setCell(
        1, 1, GsaCell{QStringLiteral("y1,").repeated(int(state.range(0) * kMB / 3)), QStringLiteral("1")});
    QString err;
    GsaFile::write(path, doc, &err);
  }
  openAndPaint(state, path, &TGSAForm::Open);
}

// ---- long lines and long cells ---------------------------------------------------------------

// A 10 MB text with one line of range(0)/10 megabytes, opened and painted in the editor.
void BM_OpenLongLine(benchmark::State& state) {
  const double longMb = double(state.range(0)) / 10;
  const QString path = longLineFile(10, longMb);
  openAndPaint(state, path, &TEditForm::LoadFromFile);
}

// One key typed in the middle of the long line and painted, against one key on a short line
// of the same text.
void BM_KeyOnLongLine(benchmark::State& state) {
  const double longMb = double(state.range(0)) / 10;
  const QString path = longLineFile(10, longMb);
  auto* f = new TEditForm(nullptr);
  f->LoadFromFile(path);
  paint(f);
  QStringList lines = f->lines();
  const int longLine = lines.size() / 2;
  const int onLong = f->Editor->positionOf(longLine, int(lines[longLine].size() / 2));
  const int onShort = f->Editor->positionOf(longLine + 1, 3);
  // The key as the window sees it: the caret moves there and the status bar follows it.
  auto typeAt = [&](int position) {
    QTextCursor c(f->Editor->document());
    c.setPosition(position);
    f->Editor->setTextCursor(c);
    f->Editor->insertPlainText(QStringLiteral("x"));
    f->EditorKeyPress();
    f->repaint();
  };
  docbench::Versus(
      state, [&] { typeAt(onLong); }, [&] { typeAt(onShort); }, 0);
  delete f;
}

// A table with one cell of range(0) megabytes, opened and painted.
void BM_OpenLongCell(benchmark::State& state) {
  const QString path = longCellFile(double(state.range(0)));
  openAndPaint(state, path, &TVexoTableForm::Open);
}

// A plain text of range(0) megabytes: one line (range(1) 0), NULs (1), lines of 80 bytes (2) or
// of 40 (3, more than an editor holds a paragraph each).
QString textFile(benchmark::State& state) {
  const int kind = int(state.range(1));
  const QString path = pathFor(QStringLiteral("t%1-%2.txt").arg(state.range(0)).arg(kind));
  if (QFile::exists(path)) return path;
  const qsizetype size = qsizetype(double(state.range(0)) * kMB);
  const QByteArray line =
      kind == 2 ? QByteArray("x1*").repeated(26) + "\r\n" : QByteArray("x1*").repeated(12) + "y1;\r\n";
  docbench::plainWrite(path, kind == 1   ? QByteArray(size, '\0')
                             : kind == 0 ? QByteArray("x1*").repeated(size / 3)
                                         : line.repeated(size / line.size()));
  return path;
}

// The text window opens the file and paints it.
void BM_OpenText(benchmark::State& state) { openAndPaint(state, textFile(state), &TTxtForm::LoadFromFile); }

// The opened text saved back (the same bytes), against writing them.
void BM_SaveText(benchmark::State& state) {
  saveAgain(state, textFile(state), &TTxtForm::LoadFromFile,
            [](TTxtForm* f, const QString& out) { f->fileName = out; });
}

// ---- the check in the editor window ------------------------------------------------------------

// The check of a text of range(0) megabytes in the editor (messages listed, the count shown)
// against the checker alone on the same lines. range(1): every line faulty.
void BM_CheckInWindow(benchmark::State& state) {
  const bool faulty = state.range(1) != 0;
  auto* f = new TEditForm(nullptr);
  f->setLines(rvasLines(double(state.range(0)), faulty));
  paint(f);
  const QStringList lines = f->lines();
  dlg::Script answers;  // the box of a passed check
  int messages = 0;
  docbench::Versus(
      state, [&] { f->TestingClick(); },
      [&] {
        QStringList out;
        TTesting checker(lines, &out, f->settings);
        checker.Check();
        messages = int(out.size());
      },
      0);
  state.counters["messages"] = messages;
  delete f;
}

}  // namespace

#define CASE(name) BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)
CASE(BM_OpenTable)->Arg(1)->Arg(10)->Arg(100);
CASE(BM_SaveTable)->Arg(1)->Arg(10)->Arg(100);
CASE(BM_OpenRvs)->Arg(1)->Arg(10)->Arg(100);
CASE(BM_SaveRvs)->Arg(1)->Arg(10)->Arg(100);
CASE(BM_OpenGsa)->Arg(1)->Arg(10)->Arg(100);
CASE(BM_OpenGsaLongCell)->Arg(3);
CASE(BM_SaveGsa)->Arg(1)->Arg(10)->Arg(100);
CASE(BM_OpenLongLine)->Arg(1)->Arg(10);
CASE(BM_KeyOnLongLine)->Arg(1)->Arg(10);
CASE(BM_OpenLongCell)->Arg(1)->Arg(9);
CASE(BM_OpenText)->Args({10, 0})->Args({1, 1})->Args({10, 2})->Args({10, 3})->Args({100, 0})->Args({100, 3});
CASE(BM_SaveText)->Args({10, 0})->Args({1, 1})->Args({10, 2})->Args({10, 3});
CASE(BM_CheckInWindow)->Args({1, 0})->Args({10, 0})->Args({1, 1})->Args({10, 1});

int main(int argc, char** argv) {
  heap::keepFreed();  // as the programs start
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
