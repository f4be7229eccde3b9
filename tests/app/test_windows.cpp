// Velmora's windows at the screen: where new and tiled children go, which one comes back when one
// closes, what the boxes stand on, and titles shown whole.
#include <gtest/gtest.h>

#include <QFile>
#include <QMdiArea>
#include <QMessageBox>
#include <QMdiSubWindow>
#include <functional>
#include <memory>

#include "fakechild.h"
#include "platform/dialogs.h"
#include "tests/titlewidth.h"
#include "velmora/app/aboutbox.h"
#include "velmora/flowchart/blockdialogs.h"

using namespace velmora;

namespace {

QMdiSubWindow* subOf(QWidget* w) { return qobject_cast<QMdiSubWindow*>(w->parentWidget()); }

void expectAllInside(TMainForm* f, const char* when) {
  const QRect area = f->mdiArea()->viewport()->rect();
  for (QMdiSubWindow* s : f->mdiArea()->subWindowList())
    EXPECT_TRUE(area.contains(s->geometry())) << when << ": " << s->windowTitle().toStdString();
}

}  // namespace

TEST(FrameWindows, EightDocumentsOpenInsideTheArea) {
  FrameHarness h;
  TMainForm* f = h.frame;
  const std::function<void()> opens[] = {
      [f] { f->NewRvasClick(); }, [f] { f->NewSkuClick(); }, [f] { f->NewTblClick(); },
      [f] { f->NewTxtClick(); },  [f] { f->NewGSAClick(); }, [f] { f->NewRvasClick(); },
      [f] { f->NewTblClick(); },  [f] { f->NewSkuClick(); },
  };
  for (const auto& open : opens) {
    open();
    QApplication::processEvents();
    expectAllInside(f, "after each");
  }
  EXPECT_EQ(f->mdiArea()->subWindowList().size(), 8);
}

TEST(FrameWindows, TileKeepsTheFrameAndAWindowThatCannotShrinkItsSize) {
  const struct {
    QSize frame, fixed;
  } cases[] = {{{724, 493}, {470, 360}}, {{724, 493}, {300, 200}}, {{500, 400}, {0, 0}}};
  for (const auto& c : cases) {
    FrameHarness h;
    TMainForm* f = h.frame;
    f->showNormal();
    f->setGeometry(QRect(QPoint(20, 30), c.frame));
    QApplication::processEvents();
    const QRect before = f->geometry();
    for (int i = 0; i < 3; ++i) h.add(ckText, QStringLiteral("окно %1").arg(i));
    FakeChild* fixed = nullptr;
    if (!c.fixed.isEmpty()) {
      fixed = new FakeChild(ckTable, "fixed");
      fixed->setFixedSize(c.fixed);
      f->addChild(fixed, nullptr);
    }
    f->WindowTileItemClick();
    QApplication::processEvents();
    EXPECT_EQ(f->geometry(), before);
    expectAllInside(f, "tiled");
    if (fixed) {
      EXPECT_EQ(fixed->size(), c.fixed);
    }
  }
}

TEST(FrameWindows, ClosingAWindowActivatesTheOneActiveBeforeIt) {
  const struct {
    QList<int> activations;  // after the four are opened, in this order
    int closed, expected;
  } cases[] = {{{0, 2}, 2, 0}, {{1, 3}, 3, 1}, {{3, 0, 1}, 1, 0}};
  for (const auto& c : cases) {
    FrameHarness h;
    TMainForm* f = h.frame;
    FakeChild* w[4] = {h.add(ckText, "a"), h.add(ckEdit, "b"), h.add(ckTable, "c"), h.add(ckText, "d")};
    for (int i : c.activations) f->mdiArea()->setActiveSubWindow(subOf(w[i]));
    subOf(w[c.closed])->close();
    QApplication::processEvents();
    EXPECT_EQ(f->mdiArea()->activeSubWindow(), subOf(w[c.expected])) << c.closed;
  }
}

TEST(FrameWindows, BoxRaisedWhileATableIsBeingBuiltStandsOnTheFrame) {
  FrameHarness h;
  const QString tbl = h.dir.filePath("t.tbl"), oa = h.dir.filePath("t.oa");
  for (const auto& [path, bytes] : {std::pair{tbl, QByteArray("Binary\r\ns0\r\ny1\r\nx1\r\ns1\r\n")},
                                    {oa, QByteArray("OA_Info\r\n2\r\n0\r\n")}}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  h.script->files << tbl;
  h.frame->FileOpenItemClick();
  ASSERT_FALSE(h.script->shown.isEmpty());
  EXPECT_EQ(h.script->shown.last().owner, h.frame);
}

TEST(FrameWindows, BoxesAndDialogsShowTheirWholeTitle) {
  FrameHarness h;
  TMainForm* f = h.frame;
  const struct {
    const char* caption;
    const char* text;
    int buttons;
  } boxes[] = {
      {"Подтверждение", "Очистить ГСА?", dlg::Yes | dlg::No},
      {"Обломись!", "Изменение размера шрифта не поддерживается", dlg::Ok},
      {"Ошибка", "Расширение .x программой не поддерживается", dlg::Ok | dlg::Cancel},
      {"Предупреждение", "Прервать процесс?", dlg::Yes | dlg::No},
      {"Сообщение", "Проверка прошла успешно.", dlg::Ok},
  };
  std::vector<std::unique_ptr<QWidget>> windows;
  for (const auto& b : boxes)
    windows.push_back(dlg::messageBox(f, QString::fromUtf8(b.text), QString::fromUtf8(b.caption), b.buttons,
                                      dlg::Question));
  windows.push_back(std::make_unique<TAboutBox>(f));
  windows.push_back(std::make_unique<TRectForm>(f));
  windows.push_back(std::make_unique<TRombForm>(f));
  windows.push_back(std::make_unique<TSoedForm>(f));
  for (QWidget* dialog : {static_cast<QWidget*>(OptionsForm), static_cast<QWidget*>(YSelectForm)}) {
    dialog->show();
    QApplication::processEvents();
    EXPECT_GE(dialog->width(), titleAndButtons(dialog->windowTitle())) << dialog->windowTitle().toStdString();
    dialog->hide();
  }
  for (const auto& w : windows) {
    w->show();
    QApplication::processEvents();
    EXPECT_GE(w->width(), titleAndButtons(w->windowTitle())) << w->windowTitle().toStdString();
    w->hide();
  }
}
