#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QPushButton>
#include <QTableView>
#include <QTextCursor>
#include <QToolButton>
#include <gtest/gtest.h>

#include "answer.h"
#include "bench/tiravo/nfatable.h"
#include "platform/dialogs.h"
#include "tiravo/forms/browser.h"
#include "tiravo/forms/derror.h"
#include "tiravo/forms/determform.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/mainform.h"
#include "tiravo/forms/tableform.h"

using tiravo::TDeterm;

namespace {

QStringList NameColumn(const QTableView* g, int c) {
  const QAbstractItemModel* m = g->model();
  QStringList out;
  for (int r = 1; r < m->rowCount(); ++r) out << m->index(r, c).data().toString();
  return out;
}

// The worked table with S0 = {s1}; statuses shown are kept.
class WorkedDeterm : public ::testing::Test {
 protected:
  void SetUp() override {
    w.SetTable(wintest::Worked(), QStringLiteral("W.tbl"));
    w.showStatus = [this](const QString& s) {
      statuses << s;
      if (duringRun) duringRun();
    };
    wintest::AnswerSetS({"s1"});
    w.sbS0Click();
  }
  TDeterm w;
  QStringList statuses;
  std::function<void()> duringRun;
};

}  // namespace

TEST_F(WorkedDeterm, FindsTheFourStatesOfTheWorkedTable) {
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Детерминизация W.tbl"));
  EXPECT_EQ(w.ltZ->text(), QStringLiteral("двоичные"));
  EXPECT_EQ(w.ltS0->text(), QStringLiteral("s1"));
  ASSERT_TRUE(w.sbDeterm->isEnabled());
  dlg::Script script;
  w.sbDeterm->click();
  ASSERT_FALSE(statuses.isEmpty());
  EXPECT_EQ(statuses.first(), QStringLiteral("Детерминизация: Всего=1, текущее[0]=s1"));
  EXPECT_EQ(script.lastText(), QStringLiteral("Детерминизация успешно выполнена!"));
  EXPECT_EQ(NameColumn(w.sgNameTable, 2), (QStringList{"s1", "s2&s3", "s1&s3", "s1&s2&s3"}));
  EXPECT_EQ(NameColumn(w.sgNameTable, 1), NameColumn(w.sgNameTable, 2));
  EXPECT_EQ(NameColumn(w.sgNameTable, 0), (QStringList{"1", "2", "3", "4"}));
  const QAbstractItemModel* names = w.sgNameTable->model();
  EXPECT_EQ(names->index(0, 0).data().toString() + '|' + names->index(0, 1).data().toString() + '|' +
                names->index(0, 2).data().toString(),
            QStringLiteral("Номер|Новое имя|Старое имя"));
  EXPECT_EQ(w.ltS2->text(), QStringLiteral("4"));
  EXPECT_TRUE(w.sbTable->isEnabled());
  std::vector<QStringList> rows;
  ASSERT_TRUE(determ::ResultTableRows(w.Engine().Result(), &rows, nullptr));
  EXPECT_EQ(rows.size() + 1, 17u);  // with the header row
}

TEST_F(WorkedDeterm, ClosingDuringARunAsksAndYesStopsIt) {
  dlg::Script script;
  script.answers << dlg::No << dlg::Yes;
  int asked = 0;
  duringRun = [&] {
    if (asked++ < 2) w.close();
  };
  w.statusIntervalMs = 0;
  w.sbDeterm->click();
  ASSERT_GE(script.shown.size(), 3);
  EXPECT_EQ(script.shown[0].text, QStringLiteral("Прервать процесс?"));
  EXPECT_EQ(script.shown[0].caption, QStringLiteral("Детерминизация"));
  EXPECT_EQ(script.shown[0].buttons, dlg::Yes | dlg::No);
  EXPECT_EQ(script.lastText(), QStringLiteral("Процесс прерван!"));
  EXPECT_FALSE(w.Running());
  EXPECT_FALSE(w.sbTable->isEnabled());
}

TEST_F(WorkedDeterm, ASecondRunIsRefusedWhileOneRuns) {
  dlg::Script script;
  duringRun = [&] {
    duringRun = nullptr;
    w.sbDetermClick();
  };
  w.sbDeterm->click();
  ASSERT_EQ(script.shown.size(), 2);
  EXPECT_EQ(script.shown[0].text, QStringLiteral("Процесс в стадии выполнения!"));
  EXPECT_EQ(script.shown[1].text, QStringLiteral("Детерминизация успешно выполнена!"));
}

TEST_F(WorkedDeterm, RenamingUsesTheTemplateInOrderOfDiscovery) {
  w.cbName->click();
  w.eTemplate->setText(QStringLiteral("q"));
  dlg::Script script;
  w.sbDetermClick();
  EXPECT_EQ(NameColumn(w.sgNameTable, 1), (QStringList{"q0", "q1", "q2", "q3"}));
  EXPECT_EQ(NameColumn(w.sgNameTable, 2), (QStringList{"s1", "s2&s3", "s1&s3", "s1&s2&s3"}));
  EXPECT_EQ(w.Engine().Result()->SNames, (QStringList{"q0", "q1", "q2", "q3"}));
}

TEST_F(WorkedDeterm, ResultGoesToTheBrowserOrIntoANewTableWindow) {
  tiravo::TMainForm frame;
  w.setFrame(&frame);  // as if the frame had added it
  w.cbBrouser->setChecked(true);
  w.sbDetermClick();
  ASSERT_EQ(frame.mdiArea()->subWindowList().size(), 1);
  auto* browser = qobject_cast<tiravo::TFTT_Brouser*>(frame.mdiArea()->subWindowList().first()->widget());
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->windowTitle(), QStringLiteral("Детерминированный список переходов"));
  EXPECT_EQ(browser->model()->Lines.size(), 4u);
  ASSERT_TRUE(w.sbTableClick());
  ASSERT_NE(frame.TableForm.data(), nullptr);
  EXPECT_EQ(frame.TableForm->windowTitle(), QStringLiteral("Детерминизация W.tbl результат"));
  EXPECT_EQ(frame.TableForm->rowCount(), 17);
  EXPECT_EQ(frame.TableForm->cell(0, 1), QStringLiteral("1"));
  EXPECT_EQ(frame.TableForm->cell(1, 1), QStringLiteral("s1"));
  EXPECT_EQ(frame.TableForm->cell(3, 2), QStringLiteral("x1"));
  EXPECT_EQ(frame.TableForm->cell(4, 2), QStringLiteral("s2&s3"));
  EXPECT_EQ(frame.TableForm->cell(1, 4), QStringLiteral("s2&s3"));
}

TEST_F(WorkedDeterm, ResultTableHasNoFileOfItsOwnSoSavingAsksWhereTo) {
  QTemporaryDir dir;
  const QString was = QDir::currentPath();
  QDir::setCurrent(dir.path());
  tiravo::TMainForm frame;
  w.setFrame(&frame);
  dlg::Script script;
  w.sbDetermClick();
  const QString chosen = dir.filePath(QStringLiteral("r.tbl"));
  const struct {
    const char* what;
    bool byClosing;  // closed and answered Yes, else F2
    QStringList files;
    bool saved;
  } cases[] = {
      {"F2, dialog cancelled", false, {}, false},
      {"closed, Yes, dialog cancelled: stays open", true, {}, false},
      {"F2, a name chosen", false, {chosen}, true},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(w.sbTableClick()) << c.what;
    QPointer<tiravo::TVexoTableForm> t = frame.TableForm.data();
    ASSERT_TRUE(t) << c.what;
    script.shown.clear();
    script.fileTitles.clear();
    script.files = c.files;
    script.answers = {dlg::Yes};
    const bool done = c.byClosing ? t->parentWidget()->close() : t->Save1Click();
    EXPECT_EQ(done, c.saved) << c.what;
    EXPECT_EQ(script.fileTitles.size(), 1) << c.what << ": the Save as dialog opens";
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Untitled")))) << c.what;
    ASSERT_TRUE(t) << c.what;
    EXPECT_EQ(QFile::exists(chosen), c.saved) << c.what;
    EXPECT_EQ(t->windowTitle(),
              c.saved ? QStringLiteral("r.tbl") : QStringLiteral("Детерминизация W.tbl результат"))
        << c.what;
    EXPECT_EQ(t->fileName(), c.saved ? chosen : QStringLiteral("Untitled")) << c.what;
  }
  QDir::setCurrent(was);
}

TEST(DetermForm, IncompleteGroupStopsACompleteRunWithTheErrorDialog) {
  auto m = std::make_unique<FTT>();
  tablehelp::Row(*m, "s1", "y1", "x1", "s2");
  tablehelp::Row(*m, "s2", "y2", "1", "s1");
  TDeterm w;
  w.SetTable(std::move(m), QStringLiteral("I.tbl"));
  wintest::AnswerSetS({"s1"});
  w.sbS0Click();
  QString event, condition;
  wintest::Answer<tiravo::TDError>([&](tiravo::TDError* d) {
    event = d->s->text();
    condition = d->x->text();
    d->bHelpClick();
    EXPECT_TRUE(d->pHelp->isVisibleTo(d));
    EXPECT_FALSE(d->bHelp->isVisibleTo(d));
  });
  w.sbDetermClick();
  EXPECT_EQ(event, QStringLiteral("s1"));
  EXPECT_EQ(condition, QStringLiteral("X1"));
  EXPECT_FALSE(w.sbTable->isEnabled());
  w.Complete->setChecked(false);
  dlg::Script script;
  w.sbDetermClick();
  EXPECT_EQ(script.lastText(), QStringLiteral("Детерминизация успешно выполнена!"));
  EXPECT_EQ(w.Engine().StateCount(), 2);
}

TEST(DetermForm, AlphabetWithAForbiddenCharacterIsRefusedAndBlocksS0) {
  TDeterm w;
  w.SetTable(wintest::Worked(), QStringLiteral("W.tbl"));
  dlg::Script script;
  QTextCursor c = w.mS->textCursor();
  c.setPosition(2);
  w.mS->setTextCursor(c);
  w.mS->insertPlainText(QStringLiteral("&"));
  ASSERT_TRUE(w.AlphabetError());
  EXPECT_EQ(script.lastText(), QStringLiteral("Недопустимый символ '&' в алфавите [S]"));
  EXPECT_EQ(w.mS->textCursor().selectedText(), QStringLiteral("&"));
  w.sbS0Click();
  EXPECT_EQ(script.lastText(), QStringLiteral("Испрвавте ошибки в алфавите [S]!"));
}

namespace {
// Answers as Script does; the first box takes the focus from `from`, as a box on the screen does.
class FocusTakingScript : public dlg::Script {
 public:
  QWidget* from = nullptr;
  bool taken = false;
  int message(QWidget* parent, const QString& text, const QString& caption, int buttons,
              dlg::Icon icon) override {
    if (!taken && from) {
      taken = true;
      QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
      QApplication::sendEvent(from, &out);
    }
    return dlg::Script::message(parent, text, caption, buttons, icon);
  }
};
}  // namespace

TEST(DetermForm, OneFaultInTheAlphabetShowsOneBox) {
  const struct {
    const char* what;
    std::function<void(QPlainTextEdit*)> edit;
    const char* box;
  } cases[] = {
      {"one blank typed",
       [](QPlainTextEdit* m) {
         QTextCursor c = m->textCursor();
         c.setPosition(2);
         m->setTextCursor(c);
         m->insertPlainText(QStringLiteral(" "));
       },
       "Недопустимый символ ' ' в алфавите [S]"},
      {"a name too few", [](QPlainTextEdit* m) { m->setPlainText(QStringLiteral("s1\ns2")); },
       "Неполный алфавит [S]. Добавте имя!"},
  };
  for (const auto& c : cases) {
    TDeterm w;
    w.SetTable(wintest::Worked(), QStringLiteral("W.tbl"));
    FocusTakingScript script;
    script.from = w.mS;
    c.edit(w.mS);
    ASSERT_EQ(script.shown.size(), 1) << c.what;
    EXPECT_EQ(script.shown[0].text, QString::fromUtf8(c.box)) << c.what;
    // Leaving the memo afterwards with the fault still there checks it again, once.
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w.mS, &out);
    EXPECT_EQ(script.shown.size(), 2) << c.what;
  }
}

TEST(DetermForm, ErrorDialogOpensShortEachTimeAndItsHelpReadsAsWritten) {
  tiravo::TDError d;
  d.show();
  for (int opening = 1; opening <= 3; ++opening) {
    d.Reset();
    QApplication::processEvents();
    EXPECT_EQ(d.height(), 116) << "opening " << opening;
    EXPECT_FALSE(d.pHelp->isVisible()) << "opening " << opening;
    d.bHelpClick();
    QApplication::processEvents();
    EXPECT_GE(d.height(), 116 + 160) << "opening " << opening;
    // Every line whole and all eleven in view: no scroll bar.
    EXPECT_FALSE(d.helpText->horizontalScrollBar()->isVisible()) << "opening " << opening;
    EXPECT_FALSE(d.helpText->verticalScrollBar()->isVisible()) << "opening " << opening;
    EXPECT_EQ(d.helpText->document()->lineCount(), 11) << "opening " << opening;
  }
}

TEST(DetermForm, NameTableMakesOnlyTheNamesItShows) {
  // "(a|b)* a (a|b)^11": 4096 states, the table shown on its page.
  TDeterm w;
  w.SetTable(std::make_unique<FTT>(subsets::TableOf(subsets::BlowUp(12))), QStringLiteral("B.tbl"));
  wintest::AnswerSetS({"s1"});
  w.sbS0Click();
  w.pages->setCurrentIndex(2);
  w.show();
  dlg::Script script;
  w.sbDetermClick();
  QApplication::processEvents();
  ASSERT_EQ(w.sgNameTable->model()->rowCount(), 4096 + 1);
  const NameList& names = w.Engine().Result()->SNames;
  EXPECT_GT(names.Made(), 0);
  EXPECT_LT(names.Made(), 200);
  EXPECT_EQ(NameColumn(w.sgNameTable, 2).last(), QStringLiteral("s1&s13"));
}

TEST(DetermForm, LongRunShowsItsStatusAFewTimesASecondAndStopsAtOnce) {
  // A chain of states, each reached unconditionally from the one before.
  const int n = 3000;
  auto m = std::make_unique<FTT>();
  for (int i = 1; i < n; ++i)
    tablehelp::Row(*m, QStringLiteral("s%1").arg(i), "y1", "1", QStringLiteral("s%1").arg(i + 1));
  TDeterm w;
  w.SetTable(std::move(m), QStringLiteral("C.tbl"));
  wintest::AnswerSetS({"s1"});
  w.sbS0Click();
  int shown = 0;
  w.showStatus = [&](const QString&) { ++shown; };
  // The run's clock moves a millisecond each time the run reads it.
  qint64 ms = 0;
  w.clock = [&] { return ++ms; };
  dlg::Script script;
  w.sbDetermClick();
  EXPECT_EQ(w.Engine().StateCount(), n);
  ASSERT_GT(ms, 3 * w.statusIntervalMs);
  // At the start, then at most once an interval, and the last state taken up at the end.
  EXPECT_GE(shown, ms / w.statusIntervalMs);
  EXPECT_LE(shown, 2 + ms / w.statusIntervalMs);

  // Stop: a moment into the next run the window is closed and the question answered Yes; no
  // round follows the one that let the close in.
  qint64 asked = 0;
  script.answers << dlg::Yes;
  ms = 0;
  w.clock = [&] {
    if (++ms == 100)
      QTimer::singleShot(0, &w, [&] {
        asked = ms;
        w.close();
      });
    return ms;
  };
  w.sbDetermClick();
  EXPECT_EQ(script.lastText(), QStringLiteral("Процесс прерван!"));
  EXPECT_GE(asked, 100);
  EXPECT_EQ(ms, asked);
}

TEST(DetermForm, ClosingTheProgramDuringARunAsksAndKeepsItOpenOnNo) {
  tiravo::TMainForm frame;
  frame.show();
  tiravo::runDeterm(frame, wintest::Worked().release(), QStringLiteral("W.tbl"));
  auto* w = qobject_cast<TDeterm*>(frame.mdiArea()->subWindowList().first()->widget());
  ASSERT_NE(w, nullptr);
  wintest::AnswerSetS({"s1"});
  w->sbS0Click();
  bool closed = true;
  w->showStatus = [&](const QString&) {
    if (closed) closed = frame.close();
  };
  w->statusIntervalMs = 0;
  dlg::Script script;
  script.answers << dlg::No;
  w->sbDetermClick();
  EXPECT_FALSE(closed);
  ASSERT_FALSE(script.shown.isEmpty());
  EXPECT_EQ(script.shown[0].text, QStringLiteral("Прервать процесс?"));
  EXPECT_EQ(script.lastText(), QStringLiteral("Детерминизация успешно выполнена!"));
  EXPECT_EQ(frame.mdiArea()->subWindowList().size(), 1);
}
