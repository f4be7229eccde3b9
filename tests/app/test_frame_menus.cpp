// The frame's menus and the commands of its own: the menu bar merged with the active window's,
// File > Open and New, the bars menu, "О программе" and the splash.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

#include "fakechild.h"
#include "velmora/app/aboutbox.h"
#include "velmora/app/splash.h"

using namespace velmora;

TEST(Frame, MenusMergeByGroup) {
  FrameHarness h;
  TMainForm* f = h.frame;
  const QList<QMenu*> frameMenus = {f->ui().fileMenuFrame, f->ui().settingsMenu, f->ui().windowMenu,
                                    f->ui().helpMenu};
  EXPECT_EQ(f->menuBarMenus(), frameMenus);
  EXPECT_EQ(f->ui().fileMenuFrame->title(), "&Файл");
  EXPECT_EQ(f->ui().settingsMenu->title(), "&Настройки");
  EXPECT_EQ(f->ui().windowMenu->title(), "&Окно");
  EXPECT_EQ(f->ui().helpMenu->title(), "&Помощь");

  auto* c = new FakeChild(ckEdit);
  c->file = new QMenu("&Файл", c);
  c->menus = {new QMenu("&Правка", c), new QMenu("&Перевод", c)};
  f->addChild(c);
  const QList<QMenu*> merged = {
      c->file, c->menus[0], c->menus[1], f->ui().settingsMenu, f->ui().windowMenu, f->ui().helpMenu};
  EXPECT_EQ(f->menuBarMenus(), merged);

  // A child without menus of its own shows the frame's.
  FakeChild* plain = h.add(ckText);
  EXPECT_EQ(f->menuBarMenus(), frameMenus);
  f->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(c->parentWidget()));
  EXPECT_EQ(f->menuBarMenus(), merged);

  f->mdiArea()->closeAllSubWindows();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Q_UNUSED(plain);
  EXPECT_EQ(f->menuBarMenus(), frameMenus);
}

TEST(Frame, FrameMenusHoldTheirItems) {
  FrameHarness h;
  TMainForm* f = h.frame;
  QStringList file;
  for (QAction* a : f->ui().fileMenuFrame->actions()) file << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(file, QStringList({"Созд&ать", "&Открыть", "-", "В&ыход"}));
  QStringList create;
  for (QAction* a : f->ui().createMenu->actions()) create << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(create, QStringList({"&РВАС", "&СКУ", "&ГСА", "Таблицу &переходов", "-", "&Текстовый файл"}));
  QStringList bars;
  for (QAction* a : f->ui().toolBarsMenu->actions()) bars << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(bars, QStringList({"&Файл", "&Редактирование", "&ГСА", "&Таблица", "&Перевод", "&Моделирование",
                               "Пр&едставление регистров", "-", "Показывать &автоматически"}));
  QStringList help;
  for (QAction* a : f->ui().helpMenu->actions()) help << a->text();
  EXPECT_EQ(help, QStringList(
                      {"&Вызов справки", "&Поиск...", "&О программе...", "Как пользоваться справочником?"}));
  EXPECT_EQ(f->ui().EditCutAction->shortcut(), QKeySequence("Ctrl+X"));
  EXPECT_EQ(f->ui().EditPasteAction->shortcut(), QKeySequence("Ctrl+V"));
  EXPECT_EQ(f->ui().ModelOpenAction->text(), "Открыть|");
}

TEST(Frame, FileOpenChoosesTheWindowByExtension) {
  FrameHarness h;
  TMainForm* f = h.frame;
  QStringList calls;
  f->creators.table = [&](const QString& p) {
    calls << "table " + p;
    return nullptr;
  };
  f->creators.text = [&](const QString& p) {
    calls << "text " + p;
    return nullptr;
  };
  f->creators.gsa = [&](const QString& p) {
    calls << "gsa " + p;
    return nullptr;
  };
  f->creators.edit = [&](int k, const QString& p) {
    calls << QString("edit %1 ").arg(k) + p;
    return nullptr;
  };
  h.script->shown.clear();

  h.script->files << "/d/CPU.TBL"
                  << "/d/a.Sku"
                  << "/d/b.rvs"
                  << "/d/c.txt"
                  << "/d/d.GSA";
  for (int i = 0; i < 5; ++i) f->FileOpenItemClick();
  EXPECT_EQ(calls, QStringList({"table /d/CPU.TBL", "edit 1 /d/a.Sku", "edit 0 /d/b.rvs", "text /d/c.txt",
                                "gsa /d/d.GSA"}));
  ASSERT_FALSE(h.script->fileFilters.isEmpty());
  EXPECT_TRUE(h.script->fileFilters.first().startsWith(
      "Файлы программы|*.sku;*.lsa;*.rvs;*.tbl;*.gsa;*.rtf|Файл СКУ (*.sku)|*.sku|"));
  EXPECT_TRUE(h.script->fileFilters.first().endsWith("|Все файлы (*.*)|*.*"));
  EXPECT_TRUE(h.script->shown.isEmpty());

  // Refused: OK opens the dialog again, Cancel gives up.
  calls.clear();
  h.script->files << "/d/a.rtf"
                  << "/d/x.lsa"
                  << "/d/y.tbl";
  h.script->answers << dlg::Ok << dlg::Ok;
  f->FileOpenItemClick();
  ASSERT_EQ(h.script->shown.size(), 2);
  EXPECT_EQ(h.script->shown[0].text, "Расширение .rtf программой не поддерживается");
  EXPECT_EQ(h.script->shown[0].caption, "Ошибка");
  EXPECT_EQ(h.script->shown[0].buttons, dlg::Ok | dlg::Cancel);
  EXPECT_EQ(h.script->shown[1].text, "Расширение .lsa программой не поддерживается");
  EXPECT_EQ(calls, QStringList({"table /d/y.tbl"}));

  calls.clear();
  h.script->files << "/d/a.rtf"
                  << "/d/never.tbl";
  h.script->answers << dlg::Cancel;
  f->FileOpenItemClick();
  EXPECT_TRUE(calls.isEmpty());
  EXPECT_EQ(h.script->files, QStringList({"/d/never.tbl"}));
  h.script->files.clear();

  // The extension is taken from the file name, not from a dotted directory.
  h.script->files << "/d/dir.tbl/noext";
  h.script->answers << dlg::Cancel;
  f->FileOpenItemClick();
  EXPECT_EQ(h.script->lastText(), "Расширение  программой не поддерживается");

  // Cancelling the dialog does nothing.
  f->FileOpenItemClick();
  EXPECT_TRUE(calls.isEmpty());
}

TEST(Frame, NewCommandsMakeOneWindowEach) {
  FrameHarness h;
  TMainForm* f = h.frame;
  QStringList calls;
  f->creators.table = [&](const QString& p) {
    calls << "table" + p;
    return nullptr;
  };
  f->creators.text = [&](const QString& p) {
    calls << "text" + p;
    return nullptr;
  };
  f->creators.gsa = [&](const QString& p) {
    calls << "gsa" + p;
    return nullptr;
  };
  f->creators.edit = [&](int k, const QString& p) {
    calls << QString("edit%1").arg(k) + p;
    return nullptr;
  };
  for (QAction* a : {f->ui().newRvasAction, f->ui().newSkuAction, f->ui().newGsaAction, f->ui().newTblAction,
                     f->ui().newTxtAction})
    a->trigger();
  EXPECT_EQ(calls, QStringList({"edit0", "edit1", "gsa", "table", "text"}));
}

// "О программе" names the program, what it is for and its version, each text in full.
TEST(Frame, AboutBoxShowsEveryTextInFull) {
  FrameHarness h;
  QStringList texts;
  bool checked = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "О программе");
    for (QLabel* l : box->findChildren<QLabel*>()) {
      if (!l->isVisible()) continue;
      texts << l->text();
      const QSize need = l->wordWrap() ? QSize(l->width(), l->heightForWidth(l->width())) : l->sizeHint();
      EXPECT_GE(l->width(), need.width()) << l->text().toStdString();
      EXPECT_GE(l->height(), need.height()) << l->text().toStdString();
      EXPECT_TRUE(box->rect().contains(QRect(l->mapTo(box, QPoint()), l->size()))) << l->text().toStdString();
    }
    checked = true;
    box->accept();
  });
  h.frame->ui().aboutItem->trigger();
  ASSERT_TRUE(checked);
  EXPECT_TRUE(texts.contains("Vexo"));
  EXPECT_TRUE(texts.contains("Версия " + TAboutBox::version()));
  EXPECT_TRUE(texts.join(' ').contains("моделирования автоматных моделей устройств управления"));
}

TEST(Frame, ToolBarMenuFollowsTheBars) {
  FrameHarness h;
  TMainForm* f = h.frame;
  emit f->ui().toolBarsMenu->aboutToShow();
  EXPECT_TRUE(f->ui().toolBarItems[0]->isChecked());
  EXPECT_TRUE(f->ui().toolBarItems[1]->isChecked());
  EXPECT_FALSE(f->ui().toolBarItems[2]->isChecked());
  f->ui().toolBarItems[2]->trigger();  // "&ГСА"
  EXPECT_FALSE(f->ui().gsaToolBar->isHidden());
  EXPECT_TRUE(f->ui().toolBarItems[2]->isChecked());
  f->ui().toolBarItems[0]->trigger();  // "&Файл"
  EXPECT_TRUE(f->ui().fileToolBar->isHidden());
  emit f->ui().toolBarsMenu->aboutToShow();
  EXPECT_FALSE(f->ui().toolBarItems[0]->isChecked());
  f->ui().autoShowItem->trigger();
  EXPECT_FALSE(f->autoShow());
}

TEST(Splash, LooksAsDesignedAndWaitComesFromTheEnvironment) {
  TSplash s;
  EXPECT_EQ(s.size(), QSize(284, 138));
  EXPECT_TRUE(s.windowFlags() & Qt::FramelessWindowHint);
  auto* title = s.findChild<QLabel*>("SplashTitle");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(),
            "Система синтеза, проеобразований и моделирования автоматных моделей устройств управления");
  EXPECT_TRUE(title->font().italic());
  EXPECT_EQ(title->font().pixelSize(), 13);
  EXPECT_EQ(s.findChild<QLabel*>("SplashYears")->text(), "1999-2000");

  const QByteArray saved = qgetenv("VEXO_SPLASH_MS");
  qputenv("VEXO_SPLASH_MS", "0");
  EXPECT_EQ(TSplash::waitMs(), 0);
  qputenv("VEXO_SPLASH_MS", "30");
  EXPECT_EQ(TSplash::waitMs(), 30);
  QElapsedTimer t;
  t.start();
  s.showAndWait();
  EXPECT_GE(t.elapsed(), 30);
  EXPECT_TRUE(s.isVisible());
  qputenv("VEXO_SPLASH_MS", "soon");
  EXPECT_EQ(TSplash::waitMs(), 5000);
  qunsetenv("VEXO_SPLASH_MS");
  EXPECT_EQ(TSplash::waitMs(), 5000);
  if (!saved.isNull()) qputenv("VEXO_SPLASH_MS", saved);
}
