// The РВАС to СКУ and СКУ to table windows and the table's conversion into СКУ, in a frame.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "platform/dialogs.h"
#include "tiravo/forms/editform.h"
#include "tiravo/forms/errorview.h"
#include "tiravo/forms/mainform.h"
#include "tiravo/forms/rvasskuform.h"
#include "tiravo/forms/skutblform.h"
#include "tiravo/forms/tableform.h"

using namespace tiravo;

namespace {

class TranslateWindows : public ::testing::Test {
 protected:
  TranslateWindows() { frame.createStartupWindows(); }
  ~TranslateWindows() override {
    for (QMdiSubWindow* w : frame.mdiArea()->subWindowList()) {
      if (auto* t = qobject_cast<TVexoTableForm*>(w->widget())) t->document()->setModified(false);
      if (auto* e = qobject_cast<TEditForm*>(w->widget())) e->setModified(false);
    }
  }

  TEditForm* editor(int kind, const QStringList& lines) {
    TEditForm* e = frame.newEditor(kind);
    e->setLines(lines);
    return e;
  }
  int tables() const {
    int n = 0;
    for (QMdiSubWindow* w : frame.mdiArea()->subWindowList())
      n += qobject_cast<TVexoTableForm*>(w->widget()) != nullptr;
    return n;
  }

  // While a modal window runs: once `ready` holds, `act` answers it.
  static void whenReady(std::function<bool()> ready, std::function<void()> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [=] {
      if (!ready()) return;
      timer->stop();
      timer->deleteLater();
      act();
    });
    timer->start(5);
  }

  dlg::Script script;
  TMainForm frame;
};

}  // namespace

TEST_F(TranslateWindows, RvasIntoANewSkuEditor) {
  TEditForm* rvas = editor(TEditForm::Rvas, {"sw(y1)=s0*x1*x2"});
  rvas->ToSkuClick();
  ASSERT_NE(frame.EditForm, rvas);
  EXPECT_EQ(frame.EditForm->windowTitle(), "Untitled - редактор СКУ");
  EXPECT_EQ(frame.EditForm->lines(), QStringList({"sku:", "s1=s0*x1", "sw=s1*x2", "svf:", "y1=sw"}));
  EXPECT_EQ(RvasSku->status(), "Синтез прошел успешно");
  EXPECT_EQ(RvasSku->branchCount(), "1");
  EXPECT_EQ(RvasSku->eventCount(), "3");
}

TEST_F(TranslateWindows, RvasErrorIsFixedInTheDocument) {
  TEditForm* rvas = editor(TEditForm::Rvas, {"sw = s0*x1", " *"});
  QString selected;
  whenReady([] { return RvasSku->memo()->isEnabled(); },
            [&] {
              selected = RvasSku->memo()->textCursor().selectedText();
              EXPECT_EQ(RvasSku->status(), "Ошибка: Выражение не может окнчиваться на знак операции");
              RvasSku->memo()->setPlainText("sw=s0*x1");
              RvasSku->okButton()->click();
            });
  rvas->ToSkuClick();
  EXPECT_EQ(selected, "*");
  EXPECT_EQ(rvas->lines(), QStringList({"sw=s0*x1"}));
  EXPECT_EQ(frame.EditForm->lines(), QStringList({"sku:", "sw=s0*x1"}));
}

TEST_F(TranslateWindows, RvasBranchCountIsThisRunsOnly) {
  editor(TEditForm::Rvas, {"sw=s0*x1|s0*x2|s0*x3"})->ToSkuClick();
  ASSERT_EQ(RvasSku->branchCount(), "3");
  QString during;
  whenReady([] { return RvasSku->memo()->isEnabled(); },
            [&] {
              during = RvasSku->branchCount();
              RvasSku->cancelButton()->click();
            });
  editor(TEditForm::Rvas, {"sw=s0*x1*"})->ToSkuClick();
  EXPECT_EQ(during, "0");
}

TEST_F(TranslateWindows, RvasStraightIntoATable) {
  editor(TEditForm::Rvas, {"sw(y1)=s0*x1*x2"})->ToTblClick();
  ASSERT_TRUE(frame.TableForm);
  const TableData t = frame.TableForm->tableData();
  EXPECT_EQ(t.signalCoding, "Binary");
  EXPECT_EQ(t.rows,
            QList<TableRow>({{"s0", "", "x1", "s1"}, {"s1", "", "x2", "sw"}, {"sw", "y1", "0", "0"}}));
  QTemporaryDir dir;
  script.files << dir.filePath("a.tbl");
  frame.TableForm->Saveas1Click();
  QFile f(dir.filePath("a.tbl"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(),
            QByteArray("Binary\r\ns0\r\n\r\nx1\r\ns1\r\ns1\r\n\r\nx2\r\nsw\r\nsw\r\ny1\r\n0\r\n0\r\n"));
}

TEST_F(TranslateWindows, SkuIntoATable) {
  editor(TEditForm::Sku, {"sku:", "s1 = s0*x1 | s2*X2", "s2 = s1*x3", "svf:", "y1 = s1"})->ToTblClick();
  ASSERT_TRUE(frame.TableForm);
  EXPECT_EQ(frame.TableForm->tableData().rows,
            QList<TableRow>({{"s0", "", "x1", "s1"}, {"s2", "", "X2", "s1"}, {"s1", "y1", "x3", "s2"}}));
  EXPECT_EQ(SkuTblForm->status(), "Преобразование прошло успешно");
  EXPECT_EQ(SkuTblForm->progress(), 1000);
  // Made from text, the table counts as modified once it is activated.
  frame.TableForm->FormActivate();
  script.answers << dlg::No;
  EXPECT_TRUE(frame.TableForm->FormCloseQuery());
  EXPECT_EQ(script.lastText(), "Сохранить изменения в Untitled?");
}

TEST_F(TranslateWindows, MissingHeaders) {
  TEditForm* sku = editor(TEditForm::Sku, {"sku:", "s1=s0*z1|s0*z2"});
  script.answers << dlg::No;
  sku->ToTblClick();
  EXPECT_EQ(script.lastText(), "В тексте СКУ отсутствует идентификатор 'svf:'.Продолжить без СВФ?");
  EXPECT_EQ(tables(), 0);
  script.answers << dlg::Yes;
  sku->ToTblClick();
  ASSERT_EQ(tables(), 1);
  EXPECT_EQ(frame.TableForm->tableData().rows,
            QList<TableRow>({{"s0", "", "z1", "s1"}, {"", "", "z2", "s1"}}));
  EXPECT_EQ(frame.TableForm->tableData().signalCoding, "Abstract");
  // Without "sku:" the window stays open with nothing to do until it is cancelled.
  sku->setLines({"s1=s0"});
  const auto shown = script.shown.size();
  whenReady([&] { return script.shown.size() > shown; }, [] { SkuTblForm->cancelButton()->click(); });
  sku->ToTblClick();
  EXPECT_EQ(script.lastText(),
            "В тексте СКУ отсутствует идентификатор 'sku:'\nИдентификатор должен стоять перед "
            "тесктом СКУ в отдельной строке");
  EXPECT_EQ(tables(), 1);
  EXPECT_FALSE(SkuTblForm->running());
}

TEST_F(TranslateWindows, FaultyLineIsFixedAndCheckedAgain) {
  TEditForm* sku = editor(TEditForm::Sku, {"sku:", "s2=s0*x1", "s1=s0*Z1", "svf:", "y1=s9"});
  QString selected, line;
  whenReady([] { return SkuTblForm->lineEdit()->isEnabled(); },
            [&] {
              selected = SkuTblForm->lineEdit()->selectedText();
              line = SkuTblForm->lineNumber();
              SkuTblForm->lineEdit()->setText("s1=s0*X1");
              SkuTblForm->okButton()->click();
              whenReady([] { return SkuTblForm->lineEdit()->isEnabled(); },
                        [&] {
                          EXPECT_EQ(SkuTblForm->status(), "Событие отсутствует");
                          EXPECT_EQ(SkuTblForm->lineEdit()->selectedText(), "s9");
                          SkuTblForm->lineEdit()->setText("y1=s1");
                          SkuTblForm->okButton()->click();
                        });
            });
  sku->ToTblClick();
  EXPECT_EQ(selected, "Z");
  EXPECT_EQ(line, "2");
  EXPECT_EQ(sku->lines(), QStringList({"sku:", "s2=s0*x1", "s1=s0*X1", "svf:", "y1=s1"}));
  EXPECT_EQ(frame.TableForm->tableData().rows,
            QList<TableRow>({{"s0", "", "x1", "s2"}, {"", "", "X1", "s1"}, {"s1", "y1", "0", "0"}}));
}

TEST_F(TranslateWindows, TableIntoSku) {
  TVexoTableForm* table = frame.newTable();
  table->setTableData(
      {"Binary", {{"s0", "y1", "x1", "s1"}, {"", "", "X1", "s0"}, {"s1", "y2&y1", "1", "s0"}}});
  table->SkuClick();
  EXPECT_EQ(frame.EditForm->lines(),
            QStringList({"sku:", "s1=s0*x1", "s0=s0*X1|s1", "svf:", "y1=s0|s1", "y2=s1"}));
  EXPECT_TRUE(script.shown.isEmpty());

  table->setTableData({"Binary", {{"s0", "", "x1", "s1"}}});
  table->SkuClick();
  EXPECT_EQ(frame.EditForm->lines(), QStringList({"sku:", "s1=s0*x1"}));
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_EQ(script.shown.last().caption, "Предупреждение");
  EXPECT_EQ(script.lastText(), "В таблице отсутствуют выходные сигналы.\nСФВ создаваться не будет!");

  // A faulty cell opens the error view; cancelling it opens no editor.
  TEditForm* before = frame.EditForm;
  table->setTableData({"Binary", {{"1s", "", "x1", "s1"}}});
  whenReady([this] { return frame.errorView()->isVisible(); }, [this] { frame.errorView()->reject(); });
  table->SkuClick();
  EXPECT_EQ(frame.EditForm, before);
}

// A line far longer than a window lays out quickly is shown as the editors show it (the memo)
// or as a part around the fault (a line edit), the fault selected; a correction made there goes
// into the whole line, and no other text is cut.
TEST_F(TranslateWindows, LongLinesAreCorrectedWhole) {
  QString names;
  for (int k = 0; names.size() < 400000; ++k) names += QStringLiteral("x%1*").arg(k);

  // РВАС: two operation signs in a row, near the end of one line of 400 KB.
  const QString rvas = QStringLiteral("sw=s0*") + names + QStringLiteral("*x1");
  TEditForm* source = editor(TEditForm::Rvas, {rvas});
  QString selected;
  bool pieces = false;
  whenReady([] { return RvasSku->memo()->isEnabled(); },
            [&] {
              selected = RvasSku->memo()->textCursor().selectedText();
              pieces = RvasSku->memo()->hasPieces();
              RvasSku->memo()->textCursor().insertText(QStringLiteral("x2*"));
              RvasSku->cancelButton()->click();
            });
  source->ToSkuClick();
  EXPECT_EQ(RvasSku->status(), "Ошибка: Повторяющийся знак операции");
  EXPECT_EQ(selected, "*");
  EXPECT_TRUE(pieces);
  EXPECT_EQ(source->lines(), QStringList({QStringLiteral("sw=s0*") + names + QStringLiteral("x2*x1")}));

  // СКУ: an inverted abstract signal at the end of a long line.
  const QString head = QStringLiteral("s1=s0*") + names;
  TEditForm* sku = editor(TEditForm::Sku, {"sku:", head + QStringLiteral("Z1"), "svf:", "y1=s1"});
  bool cut = false;
  whenReady([] { return SkuTblForm->lineEdit()->isEnabled(); },
            [&] {
              selected = SkuTblForm->lineEdit()->selectedText();
              cut = SkuTblForm->lineEdit()->isCut();
              SkuTblForm->lineEdit()->insert(QStringLiteral("X"));
              SkuTblForm->cancelButton()->click();
            });
  sku->ToTblClick();
  EXPECT_EQ(selected, "Z");
  EXPECT_TRUE(cut);
  EXPECT_EQ(sku->lines(), QStringList({"sku:", head + QStringLiteral("X1"), "svf:", "y1=s1"}));

  // Table: a name that starts with a digit at the end of a long condition, beside a long source.
  const QString si = QStringLiteral("s") + QString(40000, QLatin1Char('a'));
  QString condition = names;
  condition.replace(QLatin1Char('*'), QLatin1Char('&'));
  TVexoTableForm* table = frame.newTable();
  table->setTableData({"Binary", {{si, "", condition + QStringLiteral("1x"), "s1"}}});
  whenReady([this] { return frame.errorView()->isVisible(); },
            [&] {
              selected = frame.errorView()->edit(3)->selectedText();
              cut = frame.errorView()->edit(3)->isCut();
              frame.errorView()->edit(3)->insert(QStringLiteral("y"));
              frame.errorView()->reject();
            });
  table->SkuClick();
  EXPECT_EQ(selected, "1x");
  EXPECT_TRUE(cut);
  EXPECT_EQ(table->tableData().rows, QList<TableRow>({{si, "", condition + QStringLiteral("y"), "s1"}}));
}
