#include "velmora/oa/oawindow.h"

#include <QMdiSubWindow>
#include <QMenu>

#include "velmora/app/docchild.h"
#include "velmora/app/mainform.h"
#include "velmora/documents/docwindow_common.h"

namespace oawin {

QMenu* fileMenu(QWidget* window, const std::function<void()>& report) {
  using docwin::addItem;
  using docwin::frameCommand;
  auto* file = new QMenu(QStringLiteral("&Файл"), window);
  QMenu* create = file->addMenu(QStringLiteral("&Создать"));
  addItem(window, create, QStringLiteral("&РВАС"), {}, frameCommand(&TMainForm::NewRvasClick));
  addItem(window, create, QStringLiteral("&СКУ"), {}, frameCommand(&TMainForm::NewSkuClick));
  addItem(window, create, QStringLiteral("&ГСА"), {}, frameCommand(&TMainForm::NewGSAClick));
  addItem(window, create, QStringLiteral("Таблицу &переходов"), {}, frameCommand(&TMainForm::NewTblClick));
  addItem(window, create, QStringLiteral("&Текстовый файл"), {}, frameCommand(&TMainForm::NewTxtClick));
  addItem(window, file, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3),
          frameCommand(&TMainForm::FileOpenItemClick));
  addItem(window, file, QStringLiteral("&Закрыть"), QKeySequence(Qt::CTRL | Qt::Key_X),
          [window] { docwin::closeWindow(window); });
  if (report) addItem(window, file, QStringLiteral("От&чет"), {}, report);
  addItem(window, file, QStringLiteral("&Выход"), {}, frameCommand(&TMainForm::FileExitItemClick));
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

}  // namespace oawin
