#include "tiravo/forms/framemenus.h"

#include <QMenu>
#include <QToolButton>

#include "platform/docwindow.h"
#include "tiravo/forms/bitmaps.h"
#include "tiravo/forms/childform.h"
#include "tiravo/forms/frame.h"

namespace tiravo {

namespace {

std::function<void()> Frame(QWidget* window, TFrame::FileCmd cmd) { return frameCommand(window, int(cmd)); }

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
    AddItem(window, file, QStringLiteral("&Открыть..."), QKeySequence(Qt::Key_F3),
            Frame(window, TFrame::FileCmd::Open));
  };
  if (openFirst) open();
  QMenu* create = file->addMenu(QStringLiteral("Созд&ать"));
  AddItem(window, create, QStringLiteral("СКУ"), {}, Frame(window, TFrame::FileCmd::NewSku));
  AddItem(window, create, QStringLiteral("РВАС"), {}, Frame(window, TFrame::FileCmd::NewRvas));
  AddItem(window, create, QStringLiteral("ЛСА"), {}, Frame(window, TFrame::FileCmd::NewLsa));
  AddItem(window, file, QStringLiteral("Создать таблицу"), QKeySequence(QStringLiteral("Shift+F4")),
          Frame(window, TFrame::FileCmd::NewTable));
  if (!openFirst) open();
}

QAction* AddFrameExitItem(QWidget* window, QMenu* file) {
  return AddItem(window, file, QStringLiteral("В&ыход"), {}, Frame(window, TFrame::FileCmd::Exit));
}

}  // namespace tiravo
