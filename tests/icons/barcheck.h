#pragma once
// Checks the tool buttons of a window as a user sees them without any icon theme: each has an
// image that draws something at 16 and 24 px, and no two buttons of one bar look the same.
#include <QIcon>
#include <QImage>
#include <QMap>
#include <QTabBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace barcheck {

// Only our own drawings count: no desktop theme may stand in for them.
inline void noIconTheme() {
  QIcon::setThemeSearchPaths({});
  QIcon::setThemeName(QString());
}

inline QImage render(const QToolButton* b, int size) {
  return b->icon().pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

inline int inkedPixels(const QImage& img) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += qAlpha(img.pixel(x, y)) > 0;
  return n;
}

inline QString nameOf(const QToolButton* b) {
  return b->toolTip().isEmpty() ? b->objectName() : b->toolTip();
}

// The window's tool buttons grouped by the bar (parent widget) they sit on; Qt's own buttons
// (tool-bar extension, tab scrolling) are left out.
inline QMap<QWidget*, QList<QToolButton*>> bars(QWidget* window) {
  QMap<QWidget*, QList<QToolButton*>> out;
  for (QToolButton* b : window->findChildren<QToolButton*>()) {
    if (b->objectName().startsWith(QLatin1String("qt_")) || qobject_cast<QTabBar*>(b->parentWidget()))
      continue;
    out[b->parentWidget()] << b;
  }
  return out;
}

// Returns the number of buttons checked.
inline int checkBars(QWidget* window) {
  int count = 0;
  const auto groups = bars(window);
  for (auto it = groups.begin(); it != groups.end(); ++it) {
    const QList<QToolButton*>& buttons = it.value();
    for (int size : {16, 24}) {
      QList<QImage> images;
      for (const QToolButton* b : buttons) {
        SCOPED_TRACE(nameOf(b).toStdString() + " at " + std::to_string(size));
        EXPECT_FALSE(b->icon().isNull());
        const QImage img = render(b, size);
        EXPECT_EQ(img.size(), QSize(size, size));
        EXPECT_GE(inkedPixels(img), size) << "draws (almost) nothing";
        images << img;
      }
      for (int i = 0; i < buttons.size(); ++i)
        for (int j = i + 1; j < buttons.size(); ++j)
          EXPECT_NE(images[i], images[j]) << nameOf(buttons[i]).toStdString() << " and "
                                          << nameOf(buttons[j]).toStdString() << " look the same at " << size;
    }
    count += int(buttons.size());
  }
  return count;
}

}  // namespace barcheck
