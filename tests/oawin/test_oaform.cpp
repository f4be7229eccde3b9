// The designer on a table window of the frame.
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextCursor>

#include "oawinhelpers.h"
#include "tests/app/fakechild.h"
#include "velmora/documents/txtform.h"
#include "velmora/flowchart/gsaform.h"

using namespace velmora;

using namespace oawt;

namespace {

QStringList items(const QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

// Chooses y (as a click) and types its microoperations.
void setMicrooperations(TOAForm* d, int y, const QString& text) {
  d->yListComboBox->setCurrentIndex(y);
  d->yActMemo->setPlainText(text);
}

}  // namespace

TEST_F(OaWindows, NewDescriptionTakesTheTablesSignalsAndNeedsARegister) {
  TVexoTableForm* t = acceptanceTable();
  TOAForm* d = openDesigner(t);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(ChildKind, ckOaDesign);
  EXPECT_EQ(items(d->yListComboBox), QStringList({"y1", "y2", "y3"}));
  EXPECT_EQ(items(d->xListComboBox), QStringList({"x1", "x2", "x3"}));
  EXPECT_EQ(t->document()->oa().blocks, QStringList({"reg:", "mux:"}));
  EXPECT_EQ(t->document()->oa().yItems.size(), 3);
  EXPECT_EQ(t->document()->oa().xValues, QStringList({"", "", ""}));
  EXPECT_FALSE(d->bApply->isEnabled());
  EXPECT_FALSE(d->bApplyClose->isEnabled());
  EXPECT_TRUE(t->gridLocked());
  EXPECT_EQ(t->grid()->toolTip(), "Идет процесс редактирования или моделирования ОА");
  d->rMemo->setPlainText("reg:\nA[8]\nmux:");
  EXPECT_TRUE(d->bApply->isEnabled());
  EXPECT_TRUE(d->bApplyClose->isEnabled());
  EXPECT_EQ(d->blockCount->text(), "1");
  t->OAClick();  // one designer per table
  EXPECT_EQ(OAForm.data(), d);
}

TEST_F(OaWindows, ATableOfOneRowIsRefusedAndNothingChanges) {
  TVexoTableForm* t = newTable({R("s0", "y1", "x1", "s1")});
  const int before = children();
  dlg::Script s;
  EXPECT_EQ(openDesigner(t), nullptr);
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_EQ(s.shown[0].text, "Недостаточно данных в таблице переходов");
  EXPECT_EQ(s.shown[0].caption, "Ошибка");
  EXPECT_EQ(children(), before);
  EXPECT_FALSE(t->document()->oa().oaPresent);
  EXPECT_TRUE(t->document()->oa().blocks.isEmpty());
  EXPECT_FALSE(t->gridLocked());
}

TEST_F(OaWindows, ApplyChecksTheRegistersAndAsksBeforeApplyingAFaultyDescription) {
  TVexoTableForm* t = acceptanceTable();
  TOAForm* d = openDesigner(t);
  ASSERT_NE(d, nullptr);
  d->rMemo->setPlainText("reg:\nA[8]\nB[8]\nmux:");
  const struct {
    QString y1, x1;
    QStringList shown;
  } cases[] = {
      {"Z:=A",
       "",
       {"Использован неописанный регистр Z в сигнале y1", "Описание ОА, возможно, содержит ошибки. Выйти?"}},
      {"A:=B+Q",
       "",
       {"После знака операции использован неописанный регистр Q в сигнале y1",
        "Описание ОА, возможно, содержит ошибки. Выйти?"}},
      {"A:=B",
       "A[7]|Q[0]",
       {"Возврат значения неописанного регистра Q в сигнале x1",
        "Описание ОА, возможно, содержит ошибки. Выйти?"}},
  };
  for (const auto& c : cases) {
    setMicrooperations(d, 0, c.y1);
    d->xListComboBox->setCurrentIndex(0);
    d->xEdit->setText(c.x1);
    dlg::Script s;
    s.answers << dlg::Ok << dlg::No;
    EXPECT_FALSE(d->Apply(false));
    QStringList texts;
    for (const auto& m : s.shown) texts << m.text;
    EXPECT_EQ(texts, c.shown);
    EXPECT_FALSE(t->document()->oa().oaPresent);
    EXPECT_FALSE(t->document()->isOaModified());
  }
  dlg::Script yes;
  yes.answers << dlg::Ok << dlg::Yes;
  EXPECT_TRUE(d->Apply(false));
  EXPECT_TRUE(t->document()->oa().oaPresent);
  EXPECT_TRUE(t->document()->isOaModified());
  EXPECT_EQ(t->document()->oa().xValues.value(0), "A[7]|Q[0]");

  // A list without its headings is not checked further; nothing is marked.
  t->document()->setOaModified(false);
  d->rMemo->setPlainText("A[8]\nmux:");
  dlg::Script s;
  EXPECT_FALSE(d->Apply(false));
  EXPECT_EQ(s.lastText(), "В списке блоков отсутствует идентификатор регистров 'reg:'");
  EXPECT_FALSE(t->document()->isOaModified());
}

TEST_F(OaWindows, ApplyOrdersMicrooperationsAndCancelGoesBackToTheLastApply) {
  TVexoTableForm* t = acceptanceTable();
  TOAForm* d = openDesigner(t);
  ASSERT_NE(d, nullptr);
  d->rMemo->setPlainText("reg:\nA[8]\nC[8]\nD[8]\nmux:");
  setMicrooperations(d, 0, "A:=C\nA:=sl(A,1)\n\nC:=D");
  setMicrooperations(d, 1, "D:=1\n\n\nC:=1");
  EXPECT_EQ(d->yActMemo->toPlainText(), "D:=1\nC:=1") << "empty lines go";
  d->yActMemo->moveCursor(QTextCursor::End);
  QTest::keyClick(d->yActMemo, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(d->yActMemo->toPlainText(), "D:=1\nC:=1\n") << "the line being typed stays";
  EXPECT_EQ(d->yActCount->text(), "3");
  dlg::Script s;
  ASSERT_TRUE(d->Apply(false)) << s.lastText().toStdString();
  EXPECT_EQ(t->document()->oa().yItems[0], QStringList({"A:=C", "A:=sl(A,1)", "C:=D"}));
  EXPECT_EQ(t->document()->oa().yItems[1], QStringList({"D:=1", "C:=1"}));
  setMicrooperations(d, 2, "A:=D");
  d->rMemo->setPlainText("reg:\nA[8]\nmux:");
  d->CancelButtonClick();
  QApplication::processEvents();
  EXPECT_EQ(t->document()->oa().yItems[2], QStringList());
  EXPECT_EQ(t->document()->oa().blocks, QStringList({"reg:", "A[8]", "C[8]", "D[8]", "mux:"}));
  EXPECT_TRUE(t->document()->oa().oaPresent);
  EXPECT_FALSE(t->document()->designerOpen());
  EXPECT_FALSE(t->gridLocked());
}

TEST_F(OaWindows, StoredSignalsFollowTheTableWhenTheUserAgrees) {
  TVexoTableForm* t = newTable({R("s0", "y1", "x1", "s1"), R("s1", "y3&y4", "1", "s0")});
  OaDescription stored;
  stored.blocks = {"reg:", "A[8]", "mux:"};
  stored.ySignals = {"y1", "y2", "y3"};
  stored.yItems = {{"A:=1"}, {"A:=2"}, {"A:=3"}};
  stored.xSignals = {"x1"};
  stored.xValues = {"A[0]"};
  stored.oaPresent = true;
  t->document()->oa() = stored;
  {
    dlg::Script s;
    s.answers << dlg::No;
    EXPECT_EQ(openDesigner(t), nullptr);
    EXPECT_EQ(s.lastText(),
              "В таблице переходов не найден сигнал y2. Сигнал и соответствующие ему микрооперации "
              "будут удалены из ОА. Продолжить?");
    EXPECT_EQ(t->document()->oa(), stored);
    EXPECT_FALSE(t->document()->designerOpen());
  }
  dlg::Script s;
  s.answers << dlg::Yes;
  TOAForm* d = openDesigner(t);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(t->document()->oa().ySignals, QStringList({"y1", "y3", "y4"}));
  EXPECT_EQ(t->document()->oa().yItems, (QList<QStringList>{{"A:=1"}, {"A:=3"}, {}}));
  EXPECT_EQ(d->yActMemo->toPlainText(), "A:=1");
  EXPECT_EQ(d->xEdit->text(), "A[0]");
}

// While its model window is open the description cannot change, and the designer shows it: its
// fields look read-only, nothing can be applied, and a line says why. Closing the model frees it.
TEST_F(OaWindows, TheDesignerShowsItIsLockedWhileItsModelIsOpen) {
  TVexoTableForm* t = exampleTable();
  TOAForm* d = openDesigner(t);
  ASSERT_NE(d, nullptr);
  auto looksLocked = [d](QWidget* field) {
    return field->palette().color(QPalette::Base) == d->palette().color(QPalette::Window);
  };
  const struct {
    const char* when;
    std::function<void()> act;
    bool locked;
  } cases[] = {
      {"opened", [] {}, false},
      {"model opened", [d] { d->bModel->click(); }, true},
      {"designer active again", [d] { d->frame()->activateChild(d); }, true},
      {"model closed", [] { delete OAModelForm->parentWidget(); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.when);
    c.act();
    QApplication::processEvents();
    for (QWidget* field : std::initializer_list<QWidget*>{d->rMemo, d->yActMemo, d->xEdit})
      EXPECT_EQ(looksLocked(field), c.locked) << field->objectName().toStdString();
    EXPECT_EQ(d->rMemo->isReadOnly(), c.locked);
    EXPECT_EQ(d->xEdit->isReadOnly(), c.locked);
    EXPECT_EQ(d->bApply->isEnabled(), !c.locked);
    EXPECT_EQ(d->bApplyClose->isEnabled(), !c.locked);
    EXPECT_EQ(d->mApplyClose->isEnabled(), !c.locked);
    EXPECT_EQ(d->lockNote->isVisibleTo(d), c.locked);
  }
  EXPECT_EQ(d->lockNote->text(), "Описание ОА нельзя изменить, пока открыто окно моделирования ОА");
}

// Whichever window is in front, the frame offers only the commands that window takes: the
// flowchart and the designer take no clipboard command, so cut, copy, paste and delete are off.
TEST_F(OaWindows, EveryWindowGetsOnlyTheFrameCommandsItTakes) {
  const struct {
    const char* window;
    std::function<TDocChild*()> open;
    bool clipboard;  // cut, copy, paste on
  } cases[] = {
      {"text",
       [this]() -> TDocChild* {
         frame->NewTxtClick();
         return frame->lastTxtForm.data();
       },
       false},
      {"РВАС", [this]() -> TDocChild* { return newEditor(0); }, false},
      {"flowchart",
       [this]() -> TDocChild* {
         frame->NewGSAClick();
         return frame->lastGsaForm.data();
       },
       false},
      {"table", [this]() -> TDocChild* { return exampleTable(); }, true},
      {"ОА model", [this]() -> TDocChild* { return openModel(exampleTable()); }, false},
      {"designer", [this]() -> TDocChild* { return openDesigner(exampleTable()); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.window);
    TDocChild* w = c.open();
    ASSERT_NE(w, nullptr);
    frame->activateChild(w);
    QApplication::processEvents();
    ASSERT_EQ(frame->activeChild(), w);
    for (const auto& [action, cmd] : frameCommandActions(frame)) {
      if (action->isEnabled() && action->isVisible()) {
        EXPECT_TRUE(w->handles(cmd)) << action->objectName().toStdString() << " is on";
      }
    }
    const TFrameUi& u = frame->ui();
    for (QAction* a : {u.EditCutAction, u.EditCopyAction, u.EditPasteAction}) {
      if (!c.clipboard) {
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
      }
    }
    if (c.clipboard) {
      EXPECT_TRUE(u.EditPasteAction->isEnabled());
    }
  }
  // The two named in the complaint, with nothing selected anywhere: delete too.
  frame->NewGSAClick();
  EXPECT_FALSE(frame->ui().EditDelAction->isEnabled());
}
