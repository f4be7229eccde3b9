#pragma once
#include <QString>

// The integer value of the leading part of a text: blanks skipped, an optional sign,
// then digits up to the first other character; no digits give 0.
int ParseInt(const QString& text);
