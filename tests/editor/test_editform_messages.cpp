// The editor's messages and conversions: a message jumps to its place, the check fills the list
// or says it passed, and the conversions to СКУ and to a table open their windows or nothing.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTextBlock>

#include "editortest.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "velmora/documents/editform.h"
#include "velmora/documents/tableform.h"

using namespace velmora;

using edtest::EditorTest;
using edtest::L;

// ---- jump to a message ---------------------------------------------------------------------

TEST_F(EditorTest, JumpSelectsTheMarkedCharacters) {
  TEditForm* w = newEditor(0);
  QStringList text;
  for (int i = 1; i <= 11; ++i) text << QStringLiteral("line %1").arg(i);
  text << QStringLiteral("abcdefgh") << QStringLiteral("ab");
  w->setLines(text);
  ASSERT_TRUE(w->jumpToMessage(QStringLiteral("12-3-4- текст")));
  EXPECT_EQ(selected(w), QStringLiteral("defg"));
  EXPECT_EQ(w->Editor->textCursor().blockNumber(), 11);

  // Past the end of a short line: its start, nothing selected.
  ASSERT_TRUE(w->jumpToMessage(QStringLiteral("13-3-4- текст")));
  EXPECT_EQ(w->Editor->textCursor().blockNumber(), 12);
  EXPECT_EQ(w->Editor->textCursor().positionInBlock(), 0);
  EXPECT_TRUE(selected(w).isEmpty());
  // A mark running past the end of the line: the caret at the place, nothing selected.
  ASSERT_TRUE(w->jumpToMessage(QStringLiteral("12-6-5- текст")));
  EXPECT_EQ(w->Editor->textCursor().positionInBlock(), 6);
  EXPECT_TRUE(selected(w).isEmpty());
  // Whole numbers, however long the message.
  text[11] = QString(40, QLatin1Char('a')) + QStringLiteral("XYZ");
  w->setLines(text);
  ASSERT_TRUE(w->jumpToMessage(QStringLiteral("12-40-3- текст")));
  EXPECT_EQ(selected(w), QStringLiteral("XYZ"));
}

TEST_F(EditorTest, MalformedMessagesMoveNothing) {
  TEditForm* w = newEditor(0);
  w->setLines(L({"abc", "defgh"}));
  QTextCursor c = w->Editor->textCursor();
  c.setPosition(5);
  w->Editor->setTextCursor(c);
  for (const char* m : {"", "x-1-1- t", "2-x-1- t", "2-1- t", "2-1-1 t", "-1-1- t", "0-1-1- t", "3-0-0- t",
                        "99999999999-1-1- t", "2 -1-1- t"}) {
    EXPECT_FALSE(w->jumpToMessage(QString::fromUtf8(m))) << m;
    EXPECT_EQ(w->Editor->textCursor().position(), 5) << m;
  }
  int line, pos, len;
  EXPECT_TRUE(TEditForm::parseMessage(QStringLiteral("2-0-3- a-1-1-"), &line, &pos, &len));
  EXPECT_EQ(line * 100 + pos * 10 + len, 203);
  // A double click with no message chosen does nothing either.
  w->ErrorList->clear();
  w->ErrorListDblClick();
  EXPECT_EQ(w->Editor->textCursor().position(), 5);
}

TEST_F(EditorTest, DoubleClickOnACheckerMessageJumpsToTheFault) {
  TEditForm* w = newEditor(1);
  w->setLines(L({"sku:", "s1=s0**x1;", "svf:"}));
  w->TestingClick();
  ASSERT_GT(w->ErrorList->count(), 0);
  w->ErrorList->setCurrentRow(0);
  w->ErrorListDblClick();
  EXPECT_EQ(w->Editor->textCursor().blockNumber(), 1);
  const QString first = w->ErrorList->item(0)->text();
  int line, pos, len;
  ASSERT_TRUE(TEditForm::parseMessage(first, &line, &pos, &len));
  EXPECT_EQ(w->Editor->textCursor().positionInBlock(), pos + len);
}

TEST_F(EditorTest, EnterInTheMessageListJumpsToo) {
  TEditForm* w = newEditor(1);
  w->setLines(L({"sku:", "s1=s0**x1;", "svf:"}));
  w->TestingClick();
  ASSERT_GT(w->ErrorList->count(), 0);
  w->ErrorList->setCurrentRow(0);
  int line, pos, len;
  ASSERT_TRUE(TEditForm::parseMessage(w->ErrorList->item(0)->text(), &line, &pos, &len));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(w->ErrorList, &enter);
  EXPECT_EQ(w->Editor->textCursor().blockNumber(), line - 1);
  EXPECT_EQ(w->Editor->textCursor().selectionStart() - w->Editor->textCursor().block().position(), pos);
}

// ---- check and conversions -----------------------------------------------------------------

TEST_F(EditorTest, CheckReportsErrorsInTheListAndSuccessInABox) {
  TEditForm* w = newEditor(1);
  w->setLines(L({"sku:", "s1=s0**x1;", "svf:"}));
  dlg::Script s;
  w->TestingClick();
  EXPECT_TRUE(s.shown.isEmpty());
  EXPECT_TRUE(w->messagesVisible);
  EXPECT_FALSE(w->ErrorList->isHidden());
  EXPECT_TRUE(w->ErrorList->item(0)->text().startsWith(QStringLiteral("2-")));
  EXPECT_EQ(frame->statusText(2), QStringLiteral("Ошибок: ") + QString::number(w->ErrorList->count()));

  w->setLines(L({"sku:", "s1=s0*x1;", "svf:", "y1=s1;"}));
  frame->ui().CompileAction->trigger();  // the frame's check reaches the active editor
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_EQ(s.shown[0].text, QStringLiteral("Проверка прошла успешно."));
  EXPECT_EQ(s.shown[0].caption, QStringLiteral("Сообщение"));
  EXPECT_EQ(s.shown[0].icon, dlg::Warning);
  EXPECT_FALSE(w->messagesVisible);
  EXPECT_TRUE(w->ErrorList->isHidden());
  EXPECT_EQ(frame->statusText(2), QString());
}

TEST_F(EditorTest, RvasToSkuOpensANewSkuWindowWithTheConvertedText) {
  TEditForm* w = newEditor(0);
  w->setLines(L({"s1(y1)=s0*x1;"}));
  w->settings.RvasS0 = QStringLiteral("s0");
  w->settings.OutSgn = QLatin1Char('y');
  w->ToSkuClick();
  TEditForm* sku = frame->lastEditForm;
  ASSERT_NE(sku, w);
  EXPECT_EQ(sku->docKind(), 1);
  EXPECT_EQ(sku->lines(), L({"sku:", "s1=s0*x1;", "svf:", "y1=s1;"}));
  EXPECT_TRUE(sku->isModified());
  EXPECT_EQ(sku->settings.InAbstr, QLatin1Char('z'));
  EXPECT_EQ(children(), 2);
  // A СКУ window does nothing on this command.
  sku->ToSkuClick();
  EXPECT_EQ(children(), 2);
}

TEST_F(EditorTest, RvasWithErrorsOpensNothing) {
  TEditForm* w = newEditor(0);
  w->setLines(L({"s1(y1)=s0**x1;"}));
  w->ToSkuClick();
  w->ToTblClick();
  EXPECT_EQ(children(), 1);
  EXPECT_TRUE(w->messagesVisible);
  EXPECT_TRUE(frame->statusText(2).startsWith(QStringLiteral("Ошибок: ")));
}

TEST_F(EditorTest, TextToTableMakesATableOwnedByTheEditor) {
  TEditForm* w = newEditor(1);
  w->setLines(L({"sku:", "s1=s0*x1;", "svf:", "y1=s1;"}));
  w->ToTblClick();
  TVexoTableForm* t = frame->lastTableForm;
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(w->ownedTables().size(), 1);
  EXPECT_EQ(t->tableData().rows.value(0).sj, QStringLiteral("s1"));
  EXPECT_EQ(children(), 2);

  TEditForm* r = newEditor(0);
  r->setLines(L({"s1(y1)=s0*x1;"}));
  r->ToTblClick();
  TVexoTableForm* t2 = frame->lastTableForm;
  ASSERT_NE(t2, t);
  EXPECT_EQ(t2->tableData().rows, t->tableData().rows);

  // The tables go with their editors.
  QPointer<TVexoTableForm> gone = t;
  dlg::Script s;
  s.answers << dlg::No;  // the editor's own question
  ASSERT_TRUE(subOf(w)->close());
  EXPECT_TRUE(gone.isNull());
}

TEST_F(EditorTest, AModifiedOwnedTableAsksItsOwnQuestionFirstAndCanKeepTheEditorOpen) {
  TEditForm* w = newEditor(1);
  w->setLines(L({"sku:", "s1=s0*x1;", "svf:", "y1=s1;"}));
  w->ToTblClick();
  QPointer<TVexoTableForm> t = frame->lastTableForm;
  ASSERT_TRUE(t);
  t->document()->setModified(true);
  dlg::Script s;
  s.answers << dlg::No << dlg::Cancel;  // the editor: discard; the table: cancel
  EXPECT_FALSE(subOf(w)->close());
  ASSERT_EQ(s.shown.size(), 2);
  EXPECT_TRUE(s.shown[1].text.contains(QStringLiteral("таблицы переходов")));
  EXPECT_TRUE(t);
  EXPECT_EQ(children(), 2);

  s.answers << dlg::No << dlg::No;
  EXPECT_TRUE(subOf(w)->close());
  EXPECT_TRUE(t.isNull());
  QApplication::processEvents();
  EXPECT_EQ(children(), 0);
}

TEST_F(EditorTest, RvasRefusedByTheConverterOpensNoEmptyWindow) {
  TEditForm* w = newEditor(0);
  // Passes the check, but multiplies out into more than the converter takes (too deep
  // nesting the check refuses already).
  QString wide;
  for (int i = 0; i < 40; ++i) wide += QStringLiteral("*(x%1|X%1)").arg(i);
  w->setLines(QStringList{QStringLiteral("s1(y1)=s0") + wide + QStringLiteral(";")});
  dlg::Script s;
  EXPECT_FALSE(guard::run(nullptr, [&] { w->ToSkuClick(); }));
  EXPECT_EQ(children(), 1);
  EXPECT_EQ(frame->lastEditForm, w);
}
