#include "velmora/app/splash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

namespace velmora {

namespace {

// A small state diagram: two states and a transition.
QPixmap splashPicture() {
  QPixmap pm(48, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 60, 140), 2));
  p.drawEllipse(QRectF(2, 8, 16, 16));
  p.drawEllipse(QRectF(30, 8, 16, 16));
  p.drawLine(QPointF(18, 16), QPointF(30, 16));
  p.drawLine(QPointF(30, 16), QPointF(25, 12));
  p.drawLine(QPointF(30, 16), QPointF(25, 20));
  return pm;
}

}  // namespace

TSplash::TSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("Splash"));
  setFixedSize(284, 138);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
  setPalette(pal);

  auto* bevel = new QFrame(this);
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(QFrame::Raised);
  bevel->setGeometry(rect());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 8, 10, 6);
  auto* title = new QLabel(QStringLiteral(
      "Система синтеза, проеобразований и моделирования автоматных моделей устройств управления"));
  title->setObjectName(QStringLiteral("SplashTitle"));
  QFont f(QStringLiteral("Arial"));
  f.setItalic(true);
  f.setPixelSize(13);
  title->setFont(f);
  title->setAlignment(Qt::AlignCenter);
  title->setWordWrap(true);
  layout->addWidget(title);
  auto* picture = new QLabel;
  picture->setPixmap(splashPicture());
  picture->setAlignment(Qt::AlignCenter);
  layout->addWidget(picture);
  auto* years = new QLabel(QStringLiteral("1999-2000"));
  years->setObjectName(QStringLiteral("SplashYears"));
  years->setAlignment(Qt::AlignCenter);
  layout->addWidget(years);

  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect g = s->availableGeometry();
    move(g.center() - rect().center());
  }
}

int TSplash::waitMs() {
  bool ok = false;
  const int v = qEnvironmentVariableIntValue("VEXO_SPLASH_MS", &ok);
  return ok && v >= 0 ? v : 5000;
}

void TSplash::showAndWait() {
  show();
  QApplication::processEvents();
  // Keep painting while waiting; input waits until the frame is up.
  QElapsedTimer t;
  t.start();
  const int ms = waitMs();
  while (t.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    QThread::msleep(qMin<qint64>(20, qMax<qint64>(0, ms - t.elapsed())));
  }
}

}  // namespace velmora
