#include "platform/titlebar.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSpacerItem>
#include <QWidget>
#include <algorithm>

namespace titlebar {
namespace {

// The item that holds a window's layout at least as wide as its title.
const char* const kSpacer = "vexoTitleSpacer";

bool hasTitleBar(const QWidget* w) {
  if (!w->isWindow() || w->windowTitle().isEmpty()) return false;
  const Qt::WindowType type = w->windowType();
  if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen || type == Qt::Desktop)
    return false;
  return !w->windowFlags().testFlag(Qt::FramelessWindowHint) &&
         !(w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
}

// A layout that sets the window's size itself (a message box, a layout of fixed size) is widened
// from inside: an item as wide as the title across the whole layout.
bool widenLayout(QWidget* w, int need) {
  auto* spacer = static_cast<QSpacerItem*>(w->property(kSpacer).value<void*>());
  QLayout* layout = w->layout();
  const bool sizesItself =
      qobject_cast<QMessageBox*>(w) || (layout && layout->sizeConstraint() == QLayout::SetFixedSize);
  if (!layout || !sizesItself) return false;
  if (!spacer) {
    auto* box = qobject_cast<QBoxLayout*>(layout);
    auto* grid = qobject_cast<QGridLayout*>(layout);
    // A row of items adds its widths, so only what is missing goes into it.
    if (box && (box->direction() == QBoxLayout::LeftToRight || box->direction() == QBoxLayout::RightToLeft))
      return false;
    if (!box && !grid) return false;
    spacer = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    if (grid)
      grid->addItem(spacer, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
    else
      box->addItem(spacer);
    w->setProperty(kSpacer, QVariant::fromValue(static_cast<void*>(spacer)));
  }
  spacer->changeSize(need, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
  layout->invalidate();
  layout->activate();
  return true;
}

class Fitter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* obj, QEvent* event) override {
    const QEvent::Type t = event->type();
    if ((t == QEvent::Show || t == QEvent::WindowTitleChange) && obj->isWidgetType()) {
      auto* w = static_cast<QWidget*>(obj);
      if (w->isWindow() && (t == QEvent::Show || w->isVisible())) fit(w);
    }
    return false;
  }
};

}  // namespace

int neededWidth(const QWidget* window) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  font.setBold(true);
  const QFontMetrics fm(font);
  const int place = fm.height() + 4;
  const int need = fm.horizontalAdvance(window->windowTitle()) + 4 * place + 2 * fm.height();
  const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  return screen ? std::min(need, screen->availableGeometry().width()) : need;
}

void fit(QWidget* window) {
  if (!hasTitleBar(window)) return;
  const int need = neededWidth(window);
  if (widenLayout(window, need) || window->width() >= need) return;
  if (window->minimumWidth() == window->maximumWidth()) {
    window->setFixedWidth(need);
    return;
  }
  if (window->maximumWidth() < need) window->setMaximumWidth(need);
  window->resize(need, window->height());
}

void fitEveryWindow(QCoreApplication* app) { app->installEventFilter(new Fitter(app)); }

}  // namespace titlebar
