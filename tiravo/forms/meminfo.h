#pragma once
// The memory figures of the free-memory window, read from a /proc/meminfo text.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tiravo {

struct MemoryStatus {
  uint64_t totalPhys = 0, availPhys = 0;  // bytes
  uint64_t totalSwap = 0, availSwap = 0;
};

// Lines "Name:   value kB"; MemTotal, MemAvailable (MemFree when absent), SwapTotal and
// SwapFree. Unknown or malformed lines are skipped; values too large for 64 bits are ignored.
MemoryStatus parseMeminfo(const QByteArray& text);
bool readMeminfo(const QString& path, MemoryStatus* status);

// "Физическая: 25.00%", "Всего 64.00Мб", "Виртуальная: 50.00%" (a zero total of physical
// memory reads 0.00%; without a page file the swap reads "Виртуальная: нет").
QString physCaption(const MemoryStatus& s);
QString swapCaption(const MemoryStatus& s);
QString totalHint(uint64_t bytes);
QString swapHint(const MemoryStatus& s);  // totalHint, or that there is no page file

}  // namespace tiravo
