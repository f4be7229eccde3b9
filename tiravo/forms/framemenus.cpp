#include "tiravo/forms/framemenus.h"

#include <QMenu>
#include <QToolButton>

#include "platform/docwindow.h"
#include "tiravo/forms/bitmaps.h"
#include "tiravo/forms/mainform.h"

namespace tiravo {

namespace {

std::function<void()> Frame(void (TMainForm::*handler)()) {
  return [handler] {
    if (MainForm) (MainForm->*handler)();
  };
}

}  // namespace

QToolButton* ToolButton(QWidget* parent, const QString& glyph, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setIcon(Glyph(glyph));
  b->setToolTip(hint);
  b->setAutoRaise(true);
  return b;
}

QAction* AddItem(QWidget* window, QMenu* menu, const QString& text, const QKeySequence& key,
                 std::function<void()> command) {
  return docwin::addItem(window, menu, text, key, std::move(command));
}

void AddFrameCreateItems(QWidget* window, QMenu* file, bool openFirst) {
  auto open = [&] {
    AddItem(window, file, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3), Frame(&TMainForm::FileOpenItemClick));
  };
  if (openFirst) open();
  QMenu* create = file->addMenu(QStringLiteral("Созд&ать"));
  AddItem(window, create, QStringLiteral("СКУ"), {}, Frame(&TMainForm::NewSkuClick));
  AddItem(window, create, QStringLiteral("РВАС"), {}, Frame(&TMainForm::NewRvasClick));
  AddItem(window, create, QStringLiteral("ЛСА"), {}, Frame(&TMainForm::NewLsaClick));
  AddItem(window, file, QStringLiteral("Создать таблицу"), QKeySequence(QStringLiteral("Shift+F4")),
          Frame(&TMainForm::NewTblClick));
  if (!openFirst) open();
}

QAction* AddFrameExitItem(QWidget* window, QMenu* file) {
  return AddItem(window, file, QStringLiteral("В&ыход"), {}, Frame(&TMainForm::FileExitItemClick));
}

}  // namespace tiravo
