#include "velmora/oa/oawindow.h"

#include <QHeaderView>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableView>
#include <memory>

#include "velmora/app/docchild.h"
#include "velmora/documents/docwindow_common.h"

namespace oawin {

QMenu* fileMenu(QWidget* window, const std::function<void()>& report) {
  using docwin::addItem;
  auto* file = new QMenu(QStringLiteral("&Файл"), window);
  QMenu* create = file->addMenu(QStringLiteral("&Создать"));
  addItem(window, create, QStringLiteral("&РВАС"), {}, docwin::newCommand(window, TFrame::NewDoc::Rvas));
  addItem(window, create, QStringLiteral("&СКУ"), {}, docwin::newCommand(window, TFrame::NewDoc::Sku));
  addItem(window, create, QStringLiteral("&ГСА"), {}, docwin::newCommand(window, TFrame::NewDoc::Gsa));
  addItem(window, create, QStringLiteral("Таблицу &переходов"), {}, docwin::newCommand(window, TFrame::NewDoc::Table));
  addItem(window, create, QStringLiteral("&Текстовый файл"), {}, docwin::newCommand(window, TFrame::NewDoc::Text));
  addItem(window, file, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3),
          docwin::openCommand(window));
  addItem(window, file, QStringLiteral("&Закрыть"), QKeySequence(Qt::CTRL | Qt::Key_X),
          [window] { docwin::closeWindow(window); });
  if (report) addItem(window, file, QStringLiteral("От&чет"), {}, report);
  addItem(window, file, QStringLiteral("&Выход"), {}, docwin::exitCommand(window));
  return file;
}

bool askOwned(const QPointer<TDocChild>& owned) { return !owned || owned->FormCloseQuery(); }

void closeOwned(const QPointer<TDocChild>& owned) {
  if (!owned) return;
  owned->FormClose();
  if (!owned) return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(owned->parentWidget()))
    delete sub;
  else
    delete owned.data();
}

void fitNameValue(QTableView* grid, int* lastWidth, int margin, int minValue) {
  // resizeColumnToContents weighs the header and the rows in view, not every row of a long grid.
  const int name = grid->columnWidth(0);
  grid->resizeColumnToContents(0);
  if (grid->columnWidth(0) < name) grid->setColumnWidth(0, name);
  const int w = grid->viewport()->width();
  int value = grid->columnWidth(1);
  if (value > 114 || w > *lastWidth) value = qMax(w - grid->columnWidth(0) - margin, minValue);
  grid->resizeColumnToContents(1);
  grid->setColumnWidth(1, qMax(value, grid->columnWidth(1)));
  *lastWidth = w;
}

void refitOnChange(QTableView* grid, const std::function<void()>& fit) {
  auto pending = std::make_shared<bool>(false);
  QObject::connect(grid->model(), &QAbstractItemModel::dataChanged, grid, [grid, fit, pending] {
    if (*pending) return;
    *pending = true;
    QMetaObject::invokeMethod(grid, [fit, pending] {
      *pending = false;
      fit();
    }, Qt::QueuedConnection);
  });
}

}  // namespace oawin
