#include "platform/parseint.h"

#include <climits>

int ParseInt(const QString& text) {
  int i = 0;
  const int n = text.size();
  while (i < n && text[i].isSpace()) ++i;
  bool negative = false;
  if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
    negative = text[i] == QLatin1Char('-');
    ++i;
  }
  long long value = 0;
  for (; i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
    value = value * 10 + (text[i].unicode() - '0');
    if (value > INT_MAX) value = INT_MAX;  // saturate rather than wrap on absurd input
  }
  return static_cast<int>(negative ? -value : value);
}
