#pragma once
// What a window manager needs to show a title whole: the title in the bold title-bar font with
// room for the window icon and three title buttons of the bar's height.
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>

inline int titleAndButtons(const QString& title) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  font.setBold(true);
  const QFontMetrics fm(font);
  return fm.horizontalAdvance(title) + 4 * fm.height();
}
