// Where windows go and how wide they are, what the boxes stand on, and the language of Qt's own
// dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QVBoxLayout>
#include <functional>
#include <memory>

#include "platform/dialogs.h"
#include "platform/mdilayout.h"
#include "platform/titlebar.h"
#include "tests/titlewidth.h"

using docwin::fitTile;
using docwin::placeNew;
using docwin::tiles;

TEST(MdiLayout, NewWindowLiesInsideTheArea) {
  const QRect area(0, 0, 1000, 600);
  const struct {
    QSize size, minimum;
    std::optional<QRect> last;
    QRect expected;
  } cases[] = {
      {{400, 300}, {100, 100}, std::nullopt, {0, 0, 400, 300}},               // the first: top left
      {{400, 300}, {100, 100}, QRect(20, 20, 400, 300), {40, 40, 400, 300}},  // cascades
      {{400, 300}, {100, 100}, QRect(580, 290, 400, 300), {0, 0, 400, 300}},  // would reach past: wraps
      {{1200, 300}, {100, 100}, QRect(20, 20, 400, 300), {0, 0, 1000, 300}},  // too wide: shrunk
      {{1200, 900}, {100, 100}, QRect(20, 20, 400, 300), {0, 0, 1000, 600}},  // too large: the area
      {{500, 300}, {1100, 200}, QRect(20, 20, 400, 300), {0, 0, 1100, 300}},  // cannot shrink: top left
  };
  for (const auto& c : cases) {
    const QRect got = placeNew(area, c.size, c.minimum, c.last, 20);
    EXPECT_EQ(got, c.expected) << c.size.width() << "x" << c.size.height();
  }
}

TEST(MdiLayout, TilesFillTheAreaAndAWindowThatCannotShrinkKeepsItsSize) {
  const QRect area(0, 0, 900, 600);
  const struct {
    int count;
    QList<QRect> expected;
  } grids[] = {
      {1, {{0, 0, 900, 600}}},
      {2, {{0, 0, 450, 600}, {450, 0, 450, 600}}},
      {3, {{0, 0, 450, 300}, {450, 0, 450, 300}, {0, 300, 900, 300}}},
      {5,
       {{0, 0, 300, 300}, {300, 0, 300, 300}, {600, 0, 300, 300}, {0, 300, 450, 300}, {450, 300, 450, 300}}},
  };
  for (const auto& g : grids) EXPECT_EQ(tiles(area, g.count), g.expected) << g.count;
  const QSize any(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  const struct {
    QRect tile;
    QSize minimum, maximum;
    QRect expected;
  } fits[] = {
      {{450, 300, 450, 300}, {100, 100}, any, {450, 300, 450, 300}},         // takes the tile
      {{450, 300, 450, 300}, {470, 360}, {470, 360}, {430, 240, 470, 360}},  // fixed: its size, inside
      {{0, 0, 450, 300}, {1000, 200}, any, {0, 0, 1000, 300}},               // larger than the area: top left
      {{0, 0, 450, 300}, {100, 100}, {200, 150}, {0, 0, 200, 150}},          // cannot grow
  };
  for (const auto& f : fits) EXPECT_EQ(fitTile(f.tile, area, f.minimum, f.maximum), f.expected);
}

TEST(TitleBar, EveryKindOfWindowIsWideEnoughForItsTitle) {
  const QString longTitle = QStringLiteral("Установка абстрактных входных сигналов на шаге моделирования");
  const struct {
    const char* what;
    std::function<QWidget*()> make;
  } cases[] = {
      {"message box",
       [] {
         return dlg::messageBox(nullptr, QStringLiteral("Очистить ГСА?"), QStringLiteral("Подтверждение"),
                                dlg::Yes | dlg::No, dlg::Question)
             .release();
       }},
      {"fixed dialog",
       [&] {
         auto* d = new QDialog;
         d->setWindowTitle(longTitle);
         d->setFixedSize(200, 100);
         return d;
       }},
      {"tool window",
       [] {
         auto* w = new QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                            Qt::WindowMinimizeButtonHint);
         w->setWindowTitle(QStringLiteral("Свободная память"));
         w->resize(153, 55);
         return w;
       }},
      {"dialog sized by its layout",
       [&] {
         auto* d = new QDialog;
         auto* l = new QVBoxLayout(d);
         l->addWidget(new QLabel(QStringLiteral("x")));
         l->setSizeConstraint(QLayout::SetFixedSize);
         d->setWindowTitle(longTitle);
         return d;
       }},
      {"title changed while shown",
       [] {
         auto* w = new QWidget;
         w->setWindowTitle(QStringLiteral("x"));
         w->resize(100, 50);
         w->show();
         w->setWindowTitle(QStringLiteral("Загрузка входной полследовательности"));
         return w;
       }},
  };
  for (const auto& c : cases) {
    std::unique_ptr<QWidget> w(c.make());
    w->show();
    QApplication::processEvents();
    EXPECT_GE(w->width(), titleAndButtons(w->windowTitle())) << c.what;
    EXPECT_GE(w->width(), titlebar::neededWidth(w.get())) << c.what;
  }
}

TEST(Dialogs, BoxStandsOnTheActiveWindowOrTheFrame) {
  QMainWindow frame;
  frame.setGeometry(40, 30, 700, 520);
  auto* inFrame = new QLabel(&frame);
  frame.setCentralWidget(inFrame);
  frame.show();
  QApplication::setActiveWindow(&frame);
  QDialog dialog(&frame);
  dialog.setGeometry(300, 250, 300, 200);
  QWidget beingBuilt;  // not shown yet: a window that raises a box while it is made
  const struct {
    const char* what;
    QWidget* requested;
    bool dialogShown;
    QWidget* owner;
  } cases[] = {
      {"widget of the frame", inFrame, false, &frame},
      {"window being built", &beingBuilt, false, &frame},
      {"none given", nullptr, false, &frame},
      {"none given, a dialog active", nullptr, true, &dialog},
      {"the dialog", &dialog, true, &dialog},
  };
  for (const auto& c : cases) {
    dialog.setVisible(c.dialogShown);
    if (c.dialogShown) QApplication::setActiveWindow(&dialog);
    const auto box = dlg::messageBox(c.requested, QStringLiteral("Текст"), QStringLiteral("Ошибка"), dlg::Ok,
                                     dlg::Warning);
    EXPECT_EQ(box->parentWidget(), c.owner) << c.what;
    box->show();
    QApplication::processEvents();
    const QPoint off = box->geometry().center() - c.owner->geometry().center();
    EXPECT_LE(off.manhattanLength(), 4) << c.what;
    box->hide();
  }
}

TEST(Locale, QtSpeaksRussian) {
  const QLocale system = QLocale::system();
  const struct {
    QString got, expected;
  } cases[] = {
      {QLocale().toString(1234.5), QStringLiteral("1\u00a0234,5")},
      {system.formattedDataSize(45), QStringLiteral("45 байты")},
      {system.formattedDataSize(52326), QStringLiteral("51,10 KiB")},  // Qt's Russian has no other name
      {system.toString(QDate(2026, 12, 9), QLocale::ShortFormat), QStringLiteral("09.12.2026")},
      {QFileSystemModel().headerData(1, Qt::Horizontal).toString(), QStringLiteral("Размер")},
      {QString::fromUtf8(qgetenv("LC_ALL")), QStringLiteral("C.UTF-8")},  // the environment stays the user's
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.expected);
}
