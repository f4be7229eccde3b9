#include "velmora/oa/oawindow.h"

#include <QApplication>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QSplitter>
#include <QTableView>

#include "velmora/frameapi/docchild.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/oa/gridfit.h"

namespace velmora {

namespace oawin {

QMenu* fileMenu(QWidget* window, const std::function<void()>& report) {
  using docwin::addItem;
  auto* file = new QMenu(QStringLiteral("&Файл"), window);
  QMenu* create = file->addMenu(QStringLiteral("&Создать"));
  addItem(window, create, QStringLiteral("&РВАС"), {}, docwin::newCommand(window, TFrame::NewDoc::Rvas));
  addItem(window, create, QStringLiteral("&СКУ"), {}, docwin::newCommand(window, TFrame::NewDoc::Sku));
  addItem(window, create, QStringLiteral("&ГСА"), {}, docwin::newCommand(window, TFrame::NewDoc::Gsa));
  addItem(window, create, QStringLiteral("Таблицу &переходов"), {},
          docwin::newCommand(window, TFrame::NewDoc::Table));
  addItem(window, create, QStringLiteral("&Текстовый файл"), {},
          docwin::newCommand(window, TFrame::NewDoc::Text));
  addItem(window, file, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3), docwin::openCommand(window));
  addItem(window, file, QStringLiteral("&Закрыть"), QKeySequence(Qt::CTRL | Qt::Key_X),
          [window] { docwin::closeWindow(window); });
  if (report) addItem(window, file, QStringLiteral("От&чет"), {}, report);
  addItem(window, file, QStringLiteral("&Выход"), {}, docwin::exitCommand(window));
  return file;
}

void openWideEnough(QWidget* window, QSplitter* grids) {
  auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
  QMdiArea* area = sub ? sub->mdiArea() : nullptr;
  if (!area) return;
  if (window->layout()) window->layout()->activate();
  QList<int> needs;
  int total = grids->handleWidth() * (grids->count() - 1);
  for (int i = 0; i < grids->count(); ++i) {
    auto* grid = qobject_cast<QTableView*>(grids->widget(i));
    needs << (grid ? gridfit::neededWidth(grid) : grids->widget(i)->width());
    total += needs.last();
  }
  // Room for the scroll bar a window reaching below the area brings up.
  const QScrollBar* down = area->verticalScrollBar();
  const int room =
      area->viewport()->width() -
      (down->isVisible() ? 0 : area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, down));
  const int width = qMin(room, qMax(sub->width(), sub->width() + total - grids->width()));
  if (width != sub->width()) {
    sub->resize(width, sub->height());
    if (window->layout()) window->layout()->activate();
  }
  if (sub->x() + width > room) sub->move(qMax(0, room - width), sub->y());
  grids->setSizes(needs);
}

}  // namespace oawin

}  // namespace velmora
