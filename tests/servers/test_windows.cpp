// The two windows of our servers, driven headless.
#include <gtest/gtest.h>

#include "tests/servers/printers.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "platform/dialogs.h"
#include "platform/textfile.h"
#include "servers/determinizatorwindow.h"
#include "servers/fsmcompiler.h"
#include "servers/fsmformat.h"
#include "servers/servers.h"
#include "servers/simulatorwindow.h"

using namespace servers;

namespace {

QString writeExample(const QTemporaryDir& dir, const QString& name = "t.fsm") {
  fsm::Compiler c;
  c.addSource("s0", "y1", "x1", "s1");
  c.addSource("", "", "x2", "s2");
  c.addSource("s1", "y2", "1", "s0");
  c.addSource("s2", "y3", "1", "s0");
  EXPECT_EQ(c.make(), 0);
  const QString path = dir.filePath(name);
  EXPECT_EQ(c.save(path), 0);
  return path;
}

QString cellText(QTableWidget* t, int r, int c) { return t->item(r, c) ? t->item(r, c)->text() : QString(); }
QString cellText(QTableView* t, int r, int c) { return t->model()->index(r, c).data().toString(); }

}  // namespace

TEST(SimulatorWindow, StepsBackAndResets) {
  QTemporaryDir dir;
  SimulatorWindow w;
  EXPECT_FALSE(w.open(dir.filePath("none.fsm")));
  ASSERT_TRUE(w.open(writeExample(dir)));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Моделирование УА - t.fsm"));
  EXPECT_EQ(w.startEdit->text(), QStringLiteral("s0"));
  ASSERT_EQ(w.inputsList->count(), 2);
  EXPECT_EQ(w.historyTable->rowCount(), 1);
  EXPECT_EQ(w.outputsLabel->text(), QStringLiteral("y1"));
  EXPECT_FALSE(w.backButton->isEnabled());

  EXPECT_EQ(w.inputText(), QStringLiteral("X1&X2"));
  w.stepButton->click();
  EXPECT_EQ(w.historyTable->rowCount(), 1);  // no transition: nothing recorded
  EXPECT_TRUE(w.statusMemo->toPlainText().contains(QStringLiteral("Нет перехода")));

  w.setInputChecked("x1", true);
  w.setInputChecked("x2", true);
  w.stepButton->click();
  ASSERT_EQ(w.historyTable->rowCount(), 2);
  EXPECT_EQ(cellText(w.historyTable, 1, 1), QStringLiteral("x1&x2"));
  EXPECT_EQ(cellText(w.historyTable, 1, 2), QStringLiteral("s1&s2"));
  EXPECT_EQ(cellText(w.historyTable, 1, 3), QStringLiteral("y2&y3"));
  EXPECT_EQ(w.stateLabel->text(), QStringLiteral("s1&s2"));
  EXPECT_TRUE(w.backButton->isEnabled());

  w.backButton->click();
  EXPECT_EQ(w.historyTable->rowCount(), 1);
  EXPECT_EQ(w.stateLabel->text(), QStringLiteral("s0"));

  w.startEdit->setText("s1");
  w.resetButton->click();
  EXPECT_EQ(w.historyTable->rowCount(), 1);
  EXPECT_EQ(w.outputsLabel->text(), QStringLiteral("y2"));
  w.startEdit->setText("s1 s2");  // faulty: the run stays as it was, the fault is shown
  w.resetButton->click();
  EXPECT_EQ(w.stateLabel->text(), QStringLiteral("s1"));
  EXPECT_TRUE(w.statusMemo->toPlainText().contains(QStringLiteral("разделитель")));
}

TEST(DeterminizatorWindow, RunsAndSavesATable) {
  QTemporaryDir dir;
  dlg::Script script;
  DeterminizatorWindow w;
  QString error;
  EXPECT_FALSE(w.open(dir.filePath("none.fsm"), &error));
  EXPECT_FALSE(error.isEmpty());
  ASSERT_TRUE(w.open(writeExample(dir), &error));
  EXPECT_EQ(w.startEdit->text(), QStringLiteral("s0"));
  EXPECT_FALSE(w.saveButton->isEnabled());

  w.startEdit->setText("s7");
  EXPECT_FALSE(w.runClick());
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_TRUE(script.shown[0].text.contains(QStringLiteral("'s7'")));

  w.startEdit->setText("s0");
  ASSERT_TRUE(w.runClick());
  EXPECT_TRUE(w.saveButton->isEnabled());
  ASSERT_EQ(w.resultTable->model()->rowCount(), 4);
  EXPECT_EQ(w.resultTable->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Переходы"));
  EXPECT_EQ(cellText(w.resultTable, 3, 0), QStringLiteral("a3"));
  EXPECT_EQ(cellText(w.resultTable, 3, 1), QStringLiteral("s1&s2"));
  EXPECT_EQ(cellText(w.resultTable, 3, 2), QStringLiteral("y2&y3"));
  EXPECT_EQ(cellText(w.resultTable, 0, 3), QStringLiteral("X1&x2 -> a1; x1&X2 -> a2; x1&x2 -> a3"));
  EXPECT_TRUE(w.notesMemo->toPlainText().contains(QStringLiteral("X1&X2")));

  // A prefix that would not read back as a name is refused before the dialog.
  w.prefixEdit->setText("Q");
  EXPECT_FALSE(w.saveClick());
  EXPECT_EQ(script.fileFilters.size(), 0);

  w.prefixEdit->setText(QStringLiteral("с"));
  script.files << dir.filePath("det");  // without extension: ".tbl" is added
  ASSERT_TRUE(w.saveClick());
  EXPECT_EQ(script.fileFilters.last(), QStringLiteral("Таблица переходов (*.tbl)|*.tbl"));
  QStringList lines;
  ASSERT_TRUE(textfile::readLines(dir.filePath("det.tbl"), &lines, &error));
  EXPECT_EQ(lines.size(), 1 + 4 * 6);
  EXPECT_EQ(lines.mid(0, 5),
            (QStringList{"Binary", QStringLiteral("с0"), "y1", "X1&x2", QStringLiteral("с1")}));
  QFile f(dir.filePath("det.tbl"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().startsWith("Binary\r\n\xf1\x30\r\n"));  // cp1251, CR LF

  script.files << QString();  // cancelled: nothing written, no message
  const int shown = int(script.shown.size());
  EXPECT_FALSE(w.saveClick());
  EXPECT_EQ(script.shown.size(), shown);

  script.files << "/nonexistent-dir/x.tbl";
  EXPECT_FALSE(w.saveClick());
  EXPECT_TRUE(script.lastText().startsWith(QStringLiteral("Ошибка записи")));
}

TEST(ServerWindows, OpenOverTheFrameThenWhereTheUserLeftThem) {
  QTemporaryDir dir;
  const QString path = writeExample(dir);
  QMainWindow frame;
  frame.setGeometry(300, 200, 1000, 800);
  frame.show();
  for (const char* id : {"FSM.CA.Simulator", "FSM.CA.Determinizator"}) {
    SCOPED_TRACE(id);
    auto object = create(QLatin1String(id));
    ASSERT_EQ(object->invoke("Open", {path}).toInt(), 1);
    QWidget* w = static_cast<WindowObject*>(object.get())->windows().value(0);
    ASSERT_NE(w, nullptr);
    // Centred, give or take the window's own frame, which is known only once shown.
    EXPECT_LE((w->frameGeometry().center() - frame.frameGeometry().center()).manhattanLength(), 8);
    w->setGeometry(40, 50, 500, 400);  // the user moves it
    object.reset();                    // and closes it with its server
    object = create(QLatin1String(id));
    ASSERT_EQ(object->invoke("Open", {path}).toInt(), 1);
    EXPECT_EQ(static_cast<WindowObject*>(object.get())->windows().value(0)->geometry(),
              QRect(40, 50, 500, 400));
  }
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
