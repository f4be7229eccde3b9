#include "velmora/oa/oawindow.h"

#include <QMenu>

#include "velmora/frameapi/docchild.h"
#include "velmora/documents/docwindow_common.h"

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

}  // namespace oawin
