#pragma once
// The box both programs' table windows show after reading a table file that ends inside a row.
class QWidget;

// "Предупреждение" with the number of lines that made no row; nothing when there are none.
void warnIgnoredTableLines(QWidget* window, int ignoredLines);
