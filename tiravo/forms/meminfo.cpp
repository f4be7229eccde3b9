#include "tiravo/forms/meminfo.h"

#include <QFile>
#include <QList>
#include <limits>

namespace tiravo {

namespace {

// "value kB" in bytes; false for text that is not a number or too large for 64 bits.
bool kilobytes(const QByteArray& field, uint64_t* bytes) {
  QByteArray v = field.trimmed();
  if (v.endsWith("kB")) v = v.left(v.size() - 2).trimmed();
  bool ok = false;
  const qulonglong kb = v.toULongLong(&ok);
  if (!ok || kb > std::numeric_limits<uint64_t>::max() / 1024) return false;
  *bytes = uint64_t(kb) * 1024;
  return true;
}

// The share of `part` in `whole` as a percentage; nothing of nothing is 0.
double percent(uint64_t part, uint64_t whole) {
  return whole == 0 ? 0.0 : double(part) / double(whole) * 100.0;
}

}  // namespace

MemoryStatus parseMeminfo(const QByteArray& text) {
  MemoryStatus s;
  bool haveAvailable = false;
  uint64_t memFree = 0;
  for (const QByteArray& line : text.split('\n')) {
    const int colon = line.indexOf(':');
    if (colon <= 0) continue;
    const QByteArray name = line.left(colon).trimmed();
    uint64_t value = 0;
    if (!kilobytes(line.mid(colon + 1), &value)) continue;
    if (name == "MemTotal")
      s.totalPhys = value;
    else if (name == "MemAvailable") {
      s.availPhys = value;
      haveAvailable = true;
    } else if (name == "MemFree")
      memFree = value;
    else if (name == "SwapTotal")
      s.totalSwap = value;
    else if (name == "SwapFree")
      s.availSwap = value;
  }
  // Kernels before 3.14 give no estimate of what is available; free memory stands in for it.
  if (!haveAvailable) s.availPhys = memFree;
  return s;
}

bool readMeminfo(const QString& path, MemoryStatus* status) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  // The file is small; a limit keeps a strange one from being read without end.
  *status = parseMeminfo(f.read(1 << 20));
  return true;
}

QString physCaption(const MemoryStatus& s) {
  return QStringLiteral("Физическая: %1%").arg(percent(s.availPhys, s.totalPhys), 0, 'f', 2);
}

QString swapCaption(const MemoryStatus& s) {
  // A system without a page file says so rather than showing a share of nothing.
  if (s.totalSwap == 0) return QStringLiteral("Виртуальная: нет");
  return QStringLiteral("Виртуальная: %1%").arg(percent(s.availSwap, s.totalSwap), 0, 'f', 2);
}

QString swapHint(const MemoryStatus& s) {
  return s.totalSwap == 0 ? QStringLiteral("Файл подкачки не используется") : totalHint(s.totalSwap);
}

QString totalHint(uint64_t bytes) {
  return QStringLiteral("Всего %1Мб").arg(double(bytes) / 1048576.0, 0, 'f', 2);
}

}  // namespace tiravo
