#pragma once
// Checks the tool buttons of a window as a user sees them without any icon theme: each has an
// image that draws something at 16 and 24 px, and no two buttons of one bar look alike.
#include <QIcon>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QTabBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

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

// How far apart two button images look, 0 (alike) to 255: both laid on a white face, in grey
// levels, blurred by a pixel as the eye does at tool-bar size (text strokes too thin to read
// there count for little), then the mean difference of the larger half of the image where
// they differ most, so that one distinct corner is enough but a few stray pixels are not.
inline QImage seen(const QImage& img) {
  QImage face(img.size(), QImage::Format_ARGB32);
  face.fill(Qt::white);
  {
    QPainter p(&face);
    p.drawImage(0, 0, img);
  }
  const int w = img.width(), h = img.height();
  QImage out(img.size(), QImage::Format_Grayscale8);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int sum = 0, n = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int xx = x + dx, yy = y + dy;
          if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
          sum += qGray(face.pixel(xx, yy));
          ++n;
        }
      out.scanLine(y)[x] = uchar(sum / n);
    }
  return out;
}

inline double lookApart(const QImage& a, const QImage& b) {
  const QImage sa = seen(a), sb = seen(b);
  std::vector<int> d;
  for (int y = 0; y < sa.height(); ++y)
    for (int x = 0; x < sa.width(); ++x)
      d.push_back(std::abs(int(sa.scanLine(y)[x]) - int(sb.scanLine(y)[x])));
  std::sort(d.begin(), d.end(), std::greater<int>());
  const size_t half = d.size() / 2;
  double sum = 0;
  for (size_t i = 0; i < half; ++i) sum += d[i];
  return half ? sum / double(half) : 0;
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
          EXPECT_GE(lookApart(images[i], images[j]), 5.0)
              << nameOf(buttons[i]).toStdString() << " and " << nameOf(buttons[j]).toStdString()
              << " look alike at " << size;
    }
    count += int(buttons.size());
  }
  return count;
}

}  // namespace barcheck
