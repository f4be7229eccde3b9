// The table window: the table file, the close question, row commands, model commands and the
// error view that the compiler shows.
#include <QAction>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "common/gui/tablegrid.h"
#include "common/tblfile.h"
#include "fixture.h"
#include "../tiravo_simwin/answer.h"
#include "tiravo/forms/browser.h"
#include "tiravo/forms/determform.h"
#include "tiravo/forms/editform.h"
#include "tiravo/forms/skutblform.h"
#include "tiravo/forms/errorview.h"
#include "tiravo/forms/tableform.h"

using namespace tiravo;

namespace {

class Table : public TiravoFrame {
 protected:
  TVexoTableForm* tableWith(const QList<TableRow>& rows, int coding = 0) {
    TVexoTableForm* t = frame->newTable();
    TableData d;
    d.signalCoding = coding ? TblFile::abstractTag() : TblFile::binaryTag();
    d.rows = rows;
    t->setTableData(d);
    return t;
  }
  // Runs `act` on the error view once it is shown (it is modal), then leaves it with OK or Cancel.
  void onErrorView(std::function<void(TErrorView*)> act, bool ok) {
    QTimer::singleShot(0, frame, [this, act, ok] {
      TErrorView* v = frame->errorView();
      ASSERT_TRUE(v->isVisible());
      act(v);
      ok ? v->accept() : v->reject();
    });
  }
  TFTT_Brouser* browser() const {
    for (QMdiSubWindow* s : frame->mdiArea()->subWindowList())
      if (auto* b = qobject_cast<TFTT_Brouser*>(s->widget())) return b;
    return nullptr;
  }
};

}  // namespace

TEST_F(Table, FileOpensAndSavesByteForByte) {
  const QByteArray file("Binary\r\ns0\r\n\r\nx1\r\ns1\r\n");
  write(path("t.tbl"), file);
  ASSERT_TRUE(frame->openDocument(path("t.tbl")));
  TVexoTableForm* t = frame->TableForm;
  EXPECT_EQ(t->rowCount(), 2);
  EXPECT_TRUE(t->BinButton->isChecked());
  EXPECT_EQ(t->windowTitle(), "t.tbl");
  EXPECT_EQ(t->cell(0, 1), "1");
  ASSERT_TRUE(t->Save1Click());
  EXPECT_EQ(bytes(path("t.tbl")), file);
  // The writer the main program uses gives the same bytes.
  QString err;
  ASSERT_TRUE(TblFile::write(path("v.tbl"), t->tableData(), &err));
  EXPECT_EQ(bytes(path("v.tbl")), file);

  write(path("a.tbl"), "Abstract\r\ns0\r\ny1\r\nz1\r\ns1\r\n");
  ASSERT_TRUE(frame->openDocument(path("a.tbl")));
  EXPECT_TRUE(frame->TableForm->AbstrButton->isChecked());
  EXPECT_EQ(frame->TableForm->document()->signalCoding(), 1);
}

TEST_F(Table, BadFirstLineLeavesNoWindow) {
  write(path("b.tbl"), "abstract\r\ns0\r\n\r\nx1\r\ns1\r\n");
  EXPECT_FALSE(frame->openDocument(path("b.tbl")));
  QApplication::processEvents();
  ASSERT_EQ(script->shown.size(), 1);
  EXPECT_EQ(script->lastText(), "Неправильный формат файла таблицы переходов");
  EXPECT_EQ(script->shown[0].caption, "Ошибка");
  EXPECT_EQ(children(), 0);
}

TEST_F(Table, ChangesOfContentAskBeforeClosing) {
  const std::function<void(TVexoTableForm*)> changes[] = {
      [](TVexoTableForm* t) {
        t->grid()->setFocus();
        QTest::keyClick(t->grid(), Qt::Key_A);
      },
      [](TVexoTableForm* t) {
        QApplication::clipboard()->setText("s9");
        t->grid()->edit(t->grid()->currentIndex());
        QLineEdit* e = t->table()->cellEditor();
        ASSERT_TRUE(e);
        e->paste();
        t->table()->commitOpenEditor();
        EXPECT_EQ(t->cell(1, 1), "s9");
      },
      [](TVexoTableForm* t) { t->New2Click(); },
      [](TVexoTableForm* t) { t->Insert1Click(); },
  };
  TVexoTableForm* fresh = frame->newTable();
  EXPECT_TRUE(fresh->parentWidget()->close());  // nothing asked
  EXPECT_TRUE(script->shown.isEmpty());
  for (const auto& change : changes) {
    TVexoTableForm* t = frame->newTable();
    change(t);
    EXPECT_TRUE(t->document()->isModified());
    script->answers << dlg::Cancel;
    EXPECT_FALSE(t->parentWidget()->close());
    EXPECT_EQ(script->lastText(), "Сохранить изменения в Untitled?");
  }
}

TEST_F(Table, FailedOrCancelledSaveKeepsTheWindow) {
  TVexoTableForm* t = tableWith({{"s0", "", "x1", "s1"}});
  t->document()->setModified(true);
  script->answers << dlg::Yes;  // the save dialog is then cancelled
  EXPECT_FALSE(t->parentWidget()->close());
  script->files << path("missing/t.tbl");
  EXPECT_FALSE(t->Save1Click());
  EXPECT_EQ(script->shown.last().caption, "Ошибка");
  EXPECT_TRUE(t->document()->isModified());
  // Saving does not clear the mark: closing still asks.
  script->files << path("t.tbl");
  ASSERT_TRUE(t->Saveas1Click());
  EXPECT_TRUE(t->document()->isModified());
  EXPECT_EQ(t->windowTitle(), "t.tbl");
  // A Save as that fails keeps the name the table is really stored under.
  script->files << path("missing/u.tbl");
  EXPECT_FALSE(t->Saveas1Click());
  EXPECT_EQ(t->windowTitle(), "t.tbl");
  EXPECT_EQ(t->fileName(), path("t.tbl"));
}

TEST_F(Table, FileCutInsideARowIsReadWithAWarning) {
  const struct {
    const char* file;
    int rows;             // title row included
    const char* warning;  // the number the warning names, or empty
  } cases[] = {{"Binary\r\ns0\r\n\r\nx1\r\ns1\r\n", 2, ""},
               {"Binary\r\ns0\r\n\r\nx1\r\ns1\r\ns1\r\n", 2, "(1)"},
               {"Binary\r\ns0\r\n\r\nx1\r\ns1\r\ns1\r\ny1\r\nX1\r\n", 2, "(3)"}};
  for (const auto& c : cases) {
    script->shown.clear();
    write(path("c.tbl"), c.file);
    ASSERT_TRUE(frame->openDocument(path("c.tbl")));
    EXPECT_EQ(frame->TableForm->rowCount(), c.rows);
    if (!*c.warning) {
      EXPECT_TRUE(script->shown.isEmpty());
      continue;
    }
    ASSERT_EQ(script->shown.size(), 1);
    EXPECT_EQ(script->shown[0].caption, "Предупреждение");
    EXPECT_TRUE(script->lastText().contains(c.warning)) << script->lastText().toStdString();
  }
}

TEST_F(Table, TableFilledOrRecodedByACommandAsksBeforeClosing) {
  using Make = std::function<TVexoTableForm*()>;
  const auto skuToTable = [this](const QStringList& lines) {
    TEditForm* e = frame->newEditor(TEditForm::Sku);
    e->setLines(lines);
    e->setModified(false);
    e->ToTblClick();
    return frame->TableForm.data();
  };
  const struct {
    const char* what;
    Make make;
    bool modified;
  } cases[] = {
      {"СКУ to table",
       [&] {
         return skuToTable({"sku:", "s1=s0*x1", "svf:", "y1=s1"});
       },
       true},
      {"СКУ to table, failed СВФ stage",
       [&] {
         // The СВФ line names an event the table lacks; the user gives up on it.
         auto* timer = new QTimer(frame);
         QObject::connect(timer, &QTimer::timeout, [timer] {
           if (!SkuTblForm || !SkuTblForm->lineEdit()->isEnabled()) return;
           timer->deleteLater();
           SkuTblForm->cancelButton()->click();
         });
         timer->start(5);
         return skuToTable({"sku:", "s1=s0*x1", "svf:", "y1=s9"});
       },
       true},
      {"determinization result",
       [&] {
         TVexoTableForm* source = tableWith({{"s0", "y1", "1", "s1"}, {"s1", "", "1", "s0"}});
         source->document()->setModified(false);
         source->miDetermClick();
         auto* d = qobject_cast<TDeterm*>(frame->activeChild());
         EXPECT_TRUE(d);
         if (!d) return source;
         wintest::AnswerSetS({"s0"});
         d->sbS0Click();
         d->sbDetermClick();
         EXPECT_TRUE(d->sbTableClick());
         return frame->TableForm.data();
       },
       true},
      {"coding made abstract",
       [&] {
         TVexoTableForm* t = tableWith({{"s0", "", "z1", "s1"}});
         t->AbstrButton->click();
         return t;
       },
       true},
      {"coding left as it was",
       [&] {
         TVexoTableForm* t = tableWith({{"s0", "", "x1", "s1"}});
         t->BinButton->click();
         return t;
       },
       false},
  };
  for (const auto& c : cases) {
    TVexoTableForm* t = c.make();
    ASSERT_TRUE(t) << c.what;
    EXPECT_EQ(t->document()->isModified(), c.modified) << c.what;
    script->shown.clear();
    script->answers << dlg::Cancel;
    EXPECT_EQ(t->parentWidget()->close(), !c.modified) << c.what;
    EXPECT_EQ(script->lastText(), c.modified ? "Сохранить изменения в Untitled?" : "") << c.what;
    t->document()->setModified(false);
    t->parentWidget()->close();
  }
}

TEST_F(Table, ClipboardItemsPointToTheGridsKeysAndShortcutsAreUnique) {
  TVexoTableForm* t = frame->newTable();
  const struct {
    const char* item;
    const char* text;
  } cases[] = {{"&Копировать", "Воспользуйтесь правой кнопкой мыши или комбинацией клавиш CTRL+INS"},
               {"&Вырезать", "Воспользуйтесь правой кнопкой мыши или комбинацией клавиш SHIFT+DEL"},
               {"Вст&авить", "Воспользуйтесь правой кнопкой мыши или комбинацией клавиш SHIFT+INS"},
               {"&Удалить", "Воспользуйтесь правой кнопкой мыши или клавишей DEL"}};
  for (const auto& c : cases) {
    t->menuAction(c.item)->trigger();
    EXPECT_EQ(script->lastText(), c.text);
    EXPECT_EQ(script->shown.last().caption, "Сообщение");
  }
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  t->grid()->setFocus();
  script->shown.clear();
  QTest::keyClick(t->grid(), Qt::Key_D, Qt::ControlModifier);
  ASSERT_EQ(script->shown.size(), 1);
  EXPECT_EQ(script->lastText(), "Воспользуйтесь правой кнопкой мыши или клавишей DEL");
  EXPECT_EQ(t->menuAction("&Удалить")->shortcut(), QKeySequence("Ctrl+D"));
  EXPECT_EQ(t->menuAction("Стан&дартное")->shortcut(), QKeySequence("F9"));
  QList<QKeySequence> keys;
  for (QMenu* m : t->menus())
    for (QAction* a : m->actions())
      if (!a->shortcut().isEmpty()) {
        EXPECT_FALSE(keys.contains(a->shortcut())) << a->text().toStdString();
        keys << a->shortcut();
      }
}

TEST_F(Table, RowCommandsAndDownKey) {
  TVexoTableForm* t = tableWith({{"s0", "", "x1", "s1"}, {"s1", "", "x2", "s0"}});
  t->table()->selectCell(1, 2);
  EXPECT_TRUE(t->GridKeyDown());  // a filled last row gets a new one
  EXPECT_EQ(t->rowCount(), 4);
  t->table()->selectCell(1, 3);
  EXPECT_FALSE(t->GridKeyDown());  // not on an empty one
  t->Del1Click();
  t->Del1Click();
  t->Del1Click();  // the only data row stays
  EXPECT_EQ(t->rowCount(), 2);
}

TEST_F(Table, ErrorViewShowsTheCellAndItsCorrectionIsCompiled) {
  TVexoTableForm* t = tableWith({{"s0", "y1 y2", "x1", "s1"}});
  onErrorView(
      [](TErrorView* v) {
        EXPECT_EQ(v->windowTitle(), "Синтаксическая ошибка");
        EXPECT_EQ(v->message(), "пропущен разделитель");
        EXPECT_EQ(v->lineText(), "Строка 1");
        EXPECT_TRUE(v->headerRaised(2));
        EXPECT_FALSE(v->headerRaised(1));
        EXPECT_EQ(v->edit(2)->selectionStart(), 3);
        EXPECT_EQ(v->edit(2)->selectedText(), "y2");
        EXPECT_EQ(v->edit(3)->text(), "x1");
        v->edit(2)->setText("y1&y2");
      },
      true);
  t->miToBrouserClick();
  EXPECT_EQ(t->cell(2, 1), "y1&y2");
  EXPECT_TRUE(t->document()->isModified());  // a fix in the view is a change of the table
  TFTT_Brouser* b = browser();
  ASSERT_TRUE(b);
  EXPECT_EQ(b->windowTitle(), "Cписок переходов для Untitled");
  EXPECT_EQ(b->lines()->item(0)->text(), "s0[y1&y2]");
}

TEST_F(Table, CancelInTheErrorViewKeepsTheCorrectionAndOpensNothing) {
  TVexoTableForm* t = tableWith({{"s0", "Y1", "x1 x2", "s1"}});
  onErrorView(
      [](TErrorView* v) {
        EXPECT_TRUE(v->headerRaised(3));  // the condition is read before the outputs
        v->edit(3)->setText("x1 & x2");
      },
      false);
  const int before = children();
  t->SkuClick();
  EXPECT_EQ(children(), before);
  EXPECT_EQ(t->cell(3, 1), "x1 & x2");
}

TEST_F(Table, EmptyTableIsReported) {
  TVexoTableForm* t = tableWith({{}, {}});
  t->miToBrouserClick();
  ASSERT_EQ(script->shown.size(), 1);
  EXPECT_EQ(script->lastText(), "Таблица пуста, введите данные в таблицу.");
  EXPECT_EQ(script->shown[0].caption, "Ошибка компиляции");
  EXPECT_FALSE(browser());
  EXPECT_FALSE(frame->progressPanelsShown());
}

TEST_F(Table, BrowserListsLinesAndTheirTransitions) {
  TVexoTableForm* t = tableWith({{"s1", "y1", "x1", "s2"},
                                 {"s1", "y1", "x1", "s3"},
                                 {"s1", "y1", "X1", "s1"},
                                 {"s2", "y2", "1", "s1"},
                                 {"s3", "y3", "x2", "s3"},
                                 {"s3", "y3", "X2", "s1"},
                                 {"s4", "", "0", ""}});
  t->miToBrouserClick();
  TFTT_Brouser* b = browser();
  ASSERT_TRUE(b);
  // The grid shows the first line; the list marks no line until one is chosen.
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  b->lines()->setFocus();
  ASSERT_TRUE(b->lines()->hasFocus());
  EXPECT_TRUE(b->lines()->selectedItems().isEmpty());
  EXPECT_EQ(b->lines()->currentRow(), -1);
  QStringList items;
  for (int i = 0; i < b->lines()->count(); ++i) items << b->lines()->item(i)->text();
  EXPECT_EQ(items, (QStringList{"s1[y1]", "s2[y2]", "s3[y3]", "s4"}));
  QTableWidget* g = b->transfers();
  ASSERT_EQ(g->rowCount(), 2);
  EXPECT_EQ(g->item(0, 0)->text(), "x1");
  EXPECT_EQ(g->item(0, 1)->text(), "s2&s3");
  EXPECT_EQ(g->item(1, 0)->text(), "X1");
  b->lines()->setCurrentRow(1);
  ASSERT_EQ(g->rowCount(), 1);
  EXPECT_EQ(g->item(0, 1)->text(), "s1");
  b->lines()->setCurrentRow(3);  // a line without transitions
  EXPECT_EQ(g->rowCount(), 0);
  b->SpeedButton1Click();
  QApplication::processEvents();
  EXPECT_FALSE(browser());
}
