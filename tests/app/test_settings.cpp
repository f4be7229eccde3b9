#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScreen>
#include <QToolBar>

#include "fakechild.h"
#include "velmora/frameapi/framesettings.h"

using namespace velmora;

namespace {

QString readValue(const QString& name) {
  Registry r(QString::fromLatin1(framesettings::RegistryKey));
  if (!r.openKey(false)) return QStringLiteral("<no key>");
  return r.readString(name);
}

void writeValues(const QString& file, const QStringList& namesAndValues) {
  Registry::setStorageFile(file);
  Registry r(QString::fromLatin1(framesettings::RegistryKey));
  ASSERT_TRUE(r.openKey(true));
  for (int i = 0; i + 1 < namesAndValues.size(); i += 2)
    r.writeString(namesAndValues[i], namesAndValues[i + 1]);
}

int countShown(const dlg::Script& s, const QString& text) {
  int n = 0;
  for (const auto& m : s.shown)
    if (m.text == text) ++n;
  return n;
}

}  // namespace

TEST(Settings, FirstStartWelcomesAndExitWritesAllValues) {
  QTemporaryDir dir;
  const QString file = dir.filePath("reg.ini");
  Registry::setStorageFile(file);
  // The box centres over its parent: at that moment the frame must stand where it will open.
  struct Placed : dlg::Script {
    QRect over;
    int message(QWidget* parent, const QString& text, const QString& caption, int buttons,
                dlg::Icon icon) override {
      if (parent) over = parent->window()->geometry();
      return Script::message(parent, text, caption, buttons, icon);
    }
  } script;
  ChildKind = ckNone;
  auto* frame = new TMainForm;
  // Nothing while the start-up picture may still stand; the start-up then greets once, before
  // the frame is shown.
  EXPECT_EQ(countShown(script, "Добро пожаловать в Vexo!"), 0);
  frame->greetFirstStart();
  frame->greetFirstStart();
  EXPECT_EQ(countShown(script, "Добро пожаловать в Vexo!"), 1);
  EXPECT_EQ(script.over, frame->screen()->availableGeometry());
  EXPECT_FALSE(frame->isVisible());
  EXPECT_EQ(frame->Options, "zxyss&10&s0&11&s0&y0&sk&yk&0000&0&1");
  EXPECT_EQ(frame->RootDir, QDir::currentPath());
  frame->show();
  EXPECT_TRUE(frame->isMaximized());
  EXPECT_FALSE(frame->ui().fileToolBar->isHidden());
  EXPECT_FALSE(frame->ui().editToolBar->isHidden());
  EXPECT_TRUE(frame->close());
  Registry::setStorageFile(file);
  EXPECT_EQ(readValue("Options"), "zxyss&10&s0&11&s0&y0&sk&yk&0000&0&1");
  EXPECT_EQ(readValue("State"), "max");
  EXPECT_EQ(readValue("RootDir"), QDir::currentPath());
  const QString panels = readValue("Panels");
  EXPECT_TRUE(panels.startsWith("11100000,")) << panels.toStdString();
  EXPECT_EQ(panels.count(','), 16);
  delete frame;

  // The second start finds the key and says nothing.
  script.shown.clear();
  frame = new TMainForm;
  frame->greetFirstStart();
  EXPECT_EQ(countShown(script, "Добро пожаловать в Vexo!"), 0);
  EXPECT_EQ(frame->State, "max");
  EXPECT_EQ(frame->Panels, panels);
  delete frame;
  Registry::setStorageFile(QString());
}

TEST(Settings, NormalWindowStoresHeightWidthLeftTop) {
  FrameHarness h;
  TMainForm* f = h.frame;
  f->showNormal();
  f->resize(700, 400);
  f->move(10, 20);
  f->StoreLayout();
  EXPECT_EQ(f->State, "400&700&10&20&");
  f->showMaximized();
  f->StoreLayout();
  EXPECT_EQ(f->State, "max");
}

TEST(Settings, StateIsSizeWhenNotMaximizedAndFrameStillOpensMaximized) {
  QTemporaryDir dir;
  writeValues(dir.filePath("reg.ini"), {"State", "400&700&10&20&"});
  dlg::Script script;
  auto* f = new TMainForm;
  EXPECT_TRUE(script.shown.isEmpty());
  EXPECT_TRUE(f->isMaximized());
  f->setWindowState(Qt::WindowNoState);
  EXPECT_EQ(f->width(), 700);
  EXPECT_EQ(f->height(), 400);
  EXPECT_EQ(f->x(), 10);
  EXPECT_EQ(f->y(), 20);
  delete f;
  Registry::setStorageFile(QString());
}

TEST(Settings, CorruptValuesNeverStopStartUp) {
  QTemporaryDir dir;
  writeValues(dir.filePath("reg.ini"),
              {"State", "abc&650&&x&", "Panels", "0110000a,zz,-1,,4,", "Options", "&&&&&&&&&&&&&&&&"});
  dlg::Script script;
  TMainForm* f = nullptr;
  ASSERT_NO_THROW(f = new TMainForm);
  OptionsForm = new TOptionsForm(f);
  EXPECT_TRUE(script.shown.isEmpty());
  f->setWindowState(Qt::WindowNoState);
  EXPECT_EQ(f->width(), 650);
  EXPECT_FALSE(f->autoShow());
  EXPECT_FALSE(f->ui().fileToolBar->isHidden());
  EXPECT_FALSE(f->ui().editToolBar->isHidden());
  EXPECT_TRUE(f->ui().transToolBar->isHidden());
  EXPECT_FALSE(f->ui().gsaToolBar->isHidden());  // 'a' is not '0'
  // Every option field empty: every control at its default.
  EXPECT_EQ(OptionsForm->values(), OptionValues());
  delete f;
  Registry::setStorageFile(QString());
}

TEST(Settings, PanelsNeedStateAndEightCharacters) {
  QTemporaryDir dir;
  writeValues(dir.filePath("reg.ini"), {"Panels", "00000000"});
  dlg::Script script;
  auto* f = new TMainForm;  // no State: the layout is not restored at all
  EXPECT_TRUE(f->autoShow());
  EXPECT_FALSE(f->ui().fileToolBar->isHidden());
  delete f;
  writeValues(dir.filePath("reg.ini"), {"State", "max", "Panels", "0000000"});
  f = new TMainForm;  // seven characters: ignored
  EXPECT_TRUE(f->autoShow());
  EXPECT_FALSE(f->ui().fileToolBar->isHidden());
  delete f;
  writeValues(dir.filePath("reg.ini"), {"State", "max", "Panels", "00001001"});
  f = new TMainForm;  // eight flags only
  EXPECT_FALSE(f->autoShow());
  EXPECT_TRUE(f->ui().fileToolBar->isHidden());
  EXPECT_TRUE(f->ui().editToolBar->isHidden());
  EXPECT_FALSE(f->ui().tblToolBar->isHidden());
  EXPECT_FALSE(f->ui().gsaToolBar->isHidden());
  delete f;
  Registry::setStorageFile(QString());
}

TEST(Settings, PanelsRoundTripThroughTheFrame) {
  QTemporaryDir dir;
  const QString file = dir.filePath("reg.ini");
  Registry::setStorageFile(file);
  dlg::Script script;
  auto* a = new TMainForm;
  a->show();
  a->ui().tblToolBar->show();
  a->insertToolBarBreak(a->ui().tblToolBar);
  QApplication::processEvents();
  a->StoreLayout();
  const QString panels = a->Panels;
  const QString state = a->State;
  const auto pa = framesettings::parsePanels(panels);
  ASSERT_TRUE(pa.positions[7]);
  ASSERT_TRUE(pa.positions[1]);
  EXPECT_GT(*pa.positions[7], *pa.positions[1]);  // the table bar stands on a row of its own
  delete a;

  writeValues(file, {"State", state, "Panels", panels});
  auto* b = new TMainForm;
  b->show();
  QApplication::processEvents();
  b->StoreLayout();
  EXPECT_EQ(b->Panels, panels);
  delete b;

  // Values the layout cannot show keep their place, the flowchart bar's size included.
  const QString odd = "10000000,1,2,3,4,5,6,7,8,9,10,11,12,13,14,150,160";
  writeValues(file, {"State", "max", "Panels", odd});
  auto* c = new TMainForm;
  c->StoreLayout();
  EXPECT_EQ(c->Panels, odd);
  delete c;
  Registry::setStorageFile(QString());
}

TEST(Settings, OptionsReachTheKeyOnlyAtExit) {
  FrameHarness h;
  OptionsForm->InAbstr->setText("q");
  OptionsForm->DefBtnClick();
  EXPECT_TRUE(h.frame->Options.startsWith("qxyss&"));
  EXPECT_EQ(readValue("Options"), "<no key>");
  h.frame->close();
  EXPECT_TRUE(readValue("Options").startsWith("qxyss&"));
}

TEST(Settings, ExitKeepsTheBarsAsTheyWereWithTheWindowsOpen) {
  FrameHarness h;
  h.add(ckTable);  // shows the trans and tbl bars
  ASSERT_FALSE(h.frame->ui().transToolBar->isHidden());
  EXPECT_TRUE(h.frame->close());
  EXPECT_TRUE(readValue("Panels").startsWith("11111000,")) << readValue("Panels").toStdString();
}

TEST(Settings, KeyThatCannotBeWrittenIsReportedAndExitGoesOn) {
  QTemporaryDir dir;
  QFile blocker(dir.filePath("blocker"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  Registry::setStorageFile(dir.filePath("blocker/reg.ini"));  // its folder is a file
  dlg::Script script;
  auto* f = new TMainForm;
  f->show();
  script.shown.clear();
  EXPECT_TRUE(f->close());
  EXPECT_EQ(countShown(script, "Problem with key"), 1);
  delete f;
  Registry::setStorageFile(QString());
}

TEST(Settings, HelpFileLiesInTheStartDirectory) {
  FrameHarness h;
  EXPECT_EQ(h.frame->helpFile(), QDir::currentPath() + "/Vexo.hlp");
  h.script->shown.clear();
  h.frame->ContentsClick();  // no such file here: a clear message
  h.frame->SearchforHelpOnClick();
  ASSERT_EQ(h.script->shown.size(), 2);
  EXPECT_TRUE(h.script->shown[0].text.contains("Vexo.hlp"));
  h.frame->HowtouseClick();
  EXPECT_EQ(h.script->shown.size(), 3);
}
