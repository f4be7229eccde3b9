#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include "platform/guard.h"
#include "helpers.h"
#include "platform/dialogs.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/editform.h"
#include "velmora/documents/tableform.h"
#include "qwert.h"

using namespace velmora;

using edtest::InFrame;
using edtest::L;

using edtest::qwert;

namespace {

class EditorTest : public InFrame {
 protected:
  static void type(TEditForm* w, const QString& text) {
    w->Editor->moveCursor(QTextCursor::End);
    w->Editor->insertPlainText(text);
  }
  static QString selected(TEditForm* w) { return w->Editor->textCursor().selectedText(); }
  // Writes `bytes` into `name` in `dir` and opens it as a document of `kind`.
  TEditForm* openWith(const QTemporaryDir& dir, const char* name, const QByteArray& bytes, int kind) {
    if (!edtest::writeAll(dir.filePath(QString::fromLatin1(name)), bytes)) return nullptr;
    return qobject_cast<TEditForm*>(createEditWindow(frame, kind, dir.filePath(QString::fromLatin1(name))));
  }
};

}  // namespace

// ---- new windows and content flags ---------------------------------------------------------

TEST_F(EditorTest, NewSkuWindowStartsWithItsHeadingsAndNothingToCheck) {
  TEditForm* w = newEditor(1);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->docKind(), 1);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Untitled - редактор СКУ"));
  EXPECT_EQ(w->lines(), L({"sku:", "", "svf:"}));
  EXPECT_FALSE(w->isModified());
  EXPECT_EQ(w->saveFilter, QStringLiteral("Файл СКУ (*.sku)|*.sku|Все файлы|*.*"));
  EXPECT_EQ(ChildKind, ckEdit);
  EXPECT_FALSE(w->checkFlag);
  EXPECT_FALSE(w->testingItem->isEnabled());
  EXPECT_FALSE(frame->ui().CompileAction->isEnabled());
  EXPECT_EQ(QString(w->settings.InAbstr) + w->settings.InDigit + w->settings.OutSgn + w->settings.InSob +
                w->settings.OutSob + w->settings.RvasS0,
            QStringLiteral("zxysss0"));

  // Any other line, even one of blanks, is content; a СКУ text is never converted to СКУ.
  type(w, QStringLiteral("\n "));
  EXPECT_TRUE(w->isModified());
  EXPECT_EQ(frame->statusText(0), QStringLiteral("Изменен"));
  EXPECT_TRUE(w->checkFlag);
  EXPECT_TRUE(w->testingItem->isEnabled());
  EXPECT_TRUE(w->toTblItem->isEnabled());
  EXPECT_TRUE(frame->ui().CompileAction->isEnabled());
  EXPECT_TRUE(frame->ui().ToTblAction->isEnabled());
  EXPECT_FALSE(w->toSkuFlag);
  EXPECT_FALSE(w->toSkuItem->isEnabled());
  EXPECT_FALSE(frame->ui().ToSkuAction->isEnabled());
  w->activated();
  EXPECT_FALSE(frame->ui().ToSkuAction->isEnabled());

  // Undoing back to the text as it was clears the mark.
  w->Editor->undo();
  EXPECT_FALSE(w->isModified());
  EXPECT_EQ(frame->statusText(0), QString());
  type(w, QStringLiteral("\n "));

  // Back to headings only: everything off again.
  w->setLines(L({"sku:", "", "svf:"}));
  EXPECT_FALSE(w->checkFlag);
  EXPECT_FALSE(frame->ui().ToTblAction->isEnabled());
}

TEST_F(EditorTest, NewRvasWindowEnablesAllThreeCommandsWithContent) {
  TEditForm* w = newEditor(0);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Untitled - редактор РВАС"));
  EXPECT_TRUE(w->lines().isEmpty());
  EXPECT_FALSE(frame->ui().ToSkuAction->isEnabled());
  type(w, QStringLiteral("s1(y1)=s0*x1;"));
  EXPECT_TRUE(w->toSkuFlag);
  EXPECT_TRUE(w->toSkuItem->isEnabled());
  EXPECT_TRUE(frame->ui().ToSkuAction->isEnabled());
  EXPECT_TRUE(frame->ui().CompileAction->isEnabled());
  // Another window takes the actions over; coming back restores them from the flags.
  TEditForm* sku = newEditor(1);
  EXPECT_FALSE(frame->ui().ToSkuAction->isEnabled());
  frame->mdiArea()->setActiveSubWindow(subOf(w));
  w->activated();
  EXPECT_TRUE(frame->ui().ToSkuAction->isEnabled());
  (void)sku;
}

// ---- files ---------------------------------------------------------------------------------

TEST_F(EditorTest, SkuDocumentSavesTheExactBytesAndSavesThemAgainAfterLoading) {
  QTemporaryDir dir;
  TEditForm* w = newEditor(1);
  w->setLines(L({"sku:", "a", "svf:"}));
  const unsigned char kind = w->settings.kind;
  w->settings = qwert();
  w->settings.kind = kind;
  dlg::Script s;
  s.files << dir.filePath(QStringLiteral("doc"));  // typed without extension
  ASSERT_TRUE(w->Save1Click());
  const QString path = dir.filePath(QStringLiteral("doc.sku"));
  const QByteArray expected = "sku:\r\na\r\nsvf:\r\nmask:\r\nq\r\nw\r\ne\r\nr\r\nt\r\na0\r\n";
  EXPECT_EQ(edtest::readAll(path), expected);
  EXPECT_EQ(s.fileFilters.value(0), QStringLiteral("Файл СКУ (*.sku)|*.sku|Все файлы|*.*"));
  EXPECT_EQ(w->fileName, path);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("doc.sku"));
  EXPECT_FALSE(w->isModified());
  EXPECT_EQ(frame->statusText(0), QString());

  auto* again = qobject_cast<TEditForm*>(createEditWindow(frame, 1, path));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(frame->lastEditForm.data(), again);
  EXPECT_EQ(again->lines(), L({"sku:", "a", "svf:"}));
  EXPECT_EQ(again->settings.OutSob, QLatin1Char('t'));
  EXPECT_EQ(again->settings.RvasS0, QStringLiteral("a0"));
  EXPECT_FALSE(again->isModified());
  EXPECT_EQ(again->Editor->textCursor().position(), 0);
  const QString copy = dir.filePath(QStringLiteral("copy.sku"));
  again->fileName = copy;  // a titled window saves straight to its file
  ASSERT_TRUE(again->Save1Click());
  EXPECT_EQ(s.fileFilters.size(), 1);  // no second dialog
  EXPECT_EQ(edtest::readAll(copy), expected);
}

TEST_F(EditorTest, LoadingKeepsTypedMaskLinesAndTakesTheLettersOfTheBlock) {
  QTemporaryDir dir;
  TEditForm* w = openWith(
      dir, "t.rvs", "s1(y1)=s0*x1;\r\nmask:\r\nnot a block\r\nmask:\r\na\r\n\r\nc\r\nd\r\ne\r\nb0\r\n", 0);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->docKind(), 0);
  EXPECT_EQ(w->lines(), L({"s1(y1)=s0*x1;", "mask:", "not a block"}));
  EXPECT_EQ(w->settings.InAbstr, QLatin1Char('a'));
  EXPECT_EQ(w->settings.InDigit, QLatin1Char('x'));  // an empty letter line keeps the letter
  EXPECT_EQ(w->settings.RvasS0, QStringLiteral("b0"));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("t.rvs"));
  EXPECT_TRUE(w->toSkuFlag);
}

TEST_F(EditorTest, UnreadableFileOpensNothingAndSaysWhy) {
  dlg::Script s;
  QTemporaryDir dir;
  EXPECT_EQ(createEditWindow(frame, 1, dir.filePath(QStringLiteral("missing.sku"))), nullptr);
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_EQ(s.shown[0].caption, QStringLiteral("Ошибка"));
  EXPECT_EQ(children(), 0);
}

// File > Open of a FIFO, whatever window its extension names, says so at once and opens nothing
// (reading it would wait for a writer).
TEST_F(EditorTest, FileOpenRefusesAFifoForEveryKind) {
  QTemporaryDir dir;
  for (const char* name : {"x.sku", "x.rvs", "x.txt", "x.gsa", "x.tbl"}) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    dlg::Script s;
    s.files << path;
    frame->FileOpenItemClick();
    ASSERT_EQ(s.shown.size(), 1) << name;
    EXPECT_TRUE(s.lastText().contains(QStringLiteral("является каналом (FIFO)")))
        << s.lastText().toStdString();
    EXPECT_EQ(children(), 0) << name;
  }
}

TEST_F(EditorTest, FailedSaveIsReportedAndTheTextStaysModified) {
  QTemporaryDir dir;
  TEditForm* w = newEditor(0);
  type(w, QStringLiteral("s1=s0*x1;"));
  dlg::Script s;
  s.files << dir.filePath(QStringLiteral("no/such/dir/a.rvs"));
  EXPECT_FALSE(w->Save1Click());
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_EQ(s.shown[0].caption, QStringLiteral("Ошибка"));
  EXPECT_TRUE(w->isModified());
  // A character without a 1251 code is refused, and the file is not touched.
  const QString path = dir.filePath(QStringLiteral("b.rvs"));
  ASSERT_TRUE(edtest::writeAll(path, "old\r\n"));
  w->fileName = path;
  w->setWindowTitle(QStringLiteral("b.rvs"));
  type(w, QString(QChar(0x4E2D)));
  EXPECT_FALSE(w->Save1Click());
  EXPECT_EQ(edtest::readAll(path), QByteArray("old\r\n"));
  EXPECT_TRUE(w->isModified());
}

TEST_F(EditorTest, SaveAsStartsAtTheDocumentAndKeepsATypedExtension) {
  QTemporaryDir dir;
  TEditForm* w = openWith(dir, "t.rvs", "s1(y1)=s0*x1;\r\n", 0);
  ASSERT_NE(w, nullptr);
  edtest::DirScript s;
  s.files << dir.filePath(QStringLiteral("copy.txt"));
  ASSERT_TRUE(w->Saveas1Click());
  EXPECT_EQ(s.saveDirs.value(0), QDir(dir.path()).absolutePath());
  EXPECT_EQ(s.saveNames.value(0), QStringLiteral("t.rvs"));
  EXPECT_EQ(s.fileFilters.value(0), QStringLiteral("Файл РВАС (*.rvs)|*.rvs|Все файлы|*.*"));
  // A name with an extension of its own keeps it.
  EXPECT_EQ(w->fileName, dir.filePath(QStringLiteral("copy.txt")));
  EXPECT_TRUE(edtest::readAll(w->fileName).startsWith("s1(y1)=s0*x1;\r\nmask:\r\n"));

  // An untitled window offers no name.
  TEditForm* fresh = newEditor(0);
  EXPECT_FALSE(fresh->Saveas1Click());
  EXPECT_EQ(s.saveNames.value(1), QString());
  EXPECT_EQ(fresh->fileName, QStringLiteral("Untitled"));
}

TEST_F(EditorTest, ConvertedSkuIsSavedBesideItsRvas) {
  QTemporaryDir dir;
  TEditForm* w = openWith(dir, "cpu.rvs", "s1(y1)=s0*x1;\r\n", 0);
  ASSERT_NE(w, nullptr);
  w->ToSkuClick();
  TEditForm* sku = frame->lastEditForm;
  ASSERT_NE(sku, w);
  EXPECT_EQ(sku->fileName, QStringLiteral("Untitled"));  // still untitled for the close question
  edtest::DirScript s;
  s.files << dir.filePath(QStringLiteral("cpu"));
  ASSERT_TRUE(sku->Save1Click());
  EXPECT_EQ(s.saveDirs.value(0), QDir(dir.path()).absolutePath());
  EXPECT_EQ(edtest::readAll(dir.filePath(QStringLiteral("cpu.sku"))).left(5), QByteArray("sku:\r"));
}

// ---- closing -------------------------------------------------------------------------------

TEST_F(EditorTest, CloseQuestionNamesTheUntitledDocumentAndHonoursEveryAnswer) {
  TEditForm* w = newEditor(0);
  type(w, QStringLiteral("s1=s0*x1;"));
  QPointer<QMdiSubWindow> sub = subOf(w);
  dlg::Script s;
  s.answers << dlg::Cancel;
  EXPECT_FALSE(sub->close());
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_EQ(s.shown[0].text, QStringLiteral("Сохранить изменения в Untitled РВАС"));
  EXPECT_EQ(s.shown[0].buttons, dlg::Yes | dlg::No | dlg::Cancel);
  EXPECT_EQ(w->fileName, QStringLiteral("Untitled"));

  // Yes, then the save dialog is cancelled: the window stays, still modified.
  s.answers << dlg::Yes;
  EXPECT_FALSE(sub->close());
  EXPECT_TRUE(w->isModified());
  EXPECT_EQ(children(), 1);

  // No: closes without saving.
  s.answers << dlg::No;
  EXPECT_TRUE(sub->close());
  QApplication::processEvents();
  EXPECT_EQ(ChildKind, ckNone);
}

TEST_F(EditorTest, YesSavesAndCloses) {
  QTemporaryDir dir;
  TEditForm* w = newEditor(1);
  type(w, QStringLiteral("s1=s0*x1;"));
  dlg::Script s;
  s.answers << dlg::Yes;
  s.files << dir.filePath(QStringLiteral("y.sku"));
  EXPECT_TRUE(subOf(w)->close());
  EXPECT_EQ(s.shown[0].text, QStringLiteral("Сохранить изменения в Untitled СКУ"));
  EXPECT_TRUE(edtest::readAll(dir.filePath(QStringLiteral("y.sku")))
                  .startsWith("sku:\r\n\r\nsvf:s1=s0*x1;\r\nmask:"));
}

TEST_F(EditorTest, UnmodifiedWindowClosesWithoutAQuestion) {
  TEditForm* w = newEditor(1);
  dlg::Script s;
  EXPECT_TRUE(subOf(w)->close());
  EXPECT_TRUE(s.shown.isEmpty());
}

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

// ---- message list, caret, fonts, options ---------------------------------------------------

TEST_F(EditorTest, MessageListTogglesAndRemembersItsHeight) {
  TEditForm* w = newEditor(0);
  w->resize(400, 400);
  EXPECT_FALSE(w->messagesVisible);
  EXPECT_TRUE(w->ErrorList->isHidden());
  frame->mShowMessageClick();
  EXPECT_TRUE(w->messagesVisible);
  EXPECT_FALSE(w->ErrorList->isHidden());
  if (frame->ui().showMessagesItem->isCheckable()) {
    EXPECT_TRUE(frame->ui().showMessagesItem->isChecked());
  }
  w->MessageClick();
  EXPECT_FALSE(w->messagesVisible);
  EXPECT_TRUE(w->ErrorList->isHidden());
  EXPECT_GT(w->messagesHeight, 0);
}

TEST_F(EditorTest, CaretPositionCountsFromZero) {
  TEditForm* w = newEditor(0);
  w->setLines(L({"abc", "defgh"}));
  QTextCursor c = w->Editor->textCursor();
  c.setPosition(0);
  w->Editor->setTextCursor(c);
  EXPECT_EQ(frame->statusText(1), QStringLiteral("0:0"));
  c.setPosition(6);
  w->Editor->setTextCursor(c);
  EXPECT_EQ(frame->statusText(1), QStringLiteral("1:2"));
  // Activation clears the position and the result panels.
  frame->setStatusText(2, QStringLiteral("Ошибок: 3"));
  w->activated();
  EXPECT_EQ(frame->statusText(1), QString());
  EXPECT_EQ(frame->statusText(2), QString());
}

TEST_F(EditorTest, ShiftEnterStartsALineOfTheFileToo) {
  TEditForm* w = newEditor(0);
  w->setLines(L({"abcd"}));
  QTextCursor c = w->Editor->textCursor();
  c.setPosition(2);
  w->Editor->setTextCursor(c);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, QStringLiteral("\r"));
  QApplication::sendEvent(w->Editor, &press);
  EXPECT_EQ(w->lines(), L({"ab", "cd"}));
}

TEST_F(EditorTest, FontStepsStopAtTheirBounds) {
  TEditForm* w = newEditor(0);
  EXPECT_EQ(w->fontSize(), 10);  // 13 pixels
  w->setFontSize(71);
  w->FontBig1Click();
  EXPECT_EQ(w->fontSize(), 73);
  w->FontBig1Click();
  EXPECT_EQ(w->fontSize(), 73);
  EXPECT_EQ(frame->fontSizeBox()->currentText(), QStringLiteral("73"));
  w->setFontSize(7);
  w->FontSml2Click();
  EXPECT_EQ(w->fontSize(), 5);
  w->FontSml2Click();
  EXPECT_EQ(w->fontSize(), 5);
  EXPECT_EQ(frame->fontSizeBox()->currentText(), QStringLiteral("5"));
  // The frame's size box sets the size of the active editor.
  frame->fontSizeBox()->setCurrentText(QStringLiteral("14"));
  frame->FontSizeClick();
  EXPECT_EQ(w->fontSize(), 14);
}

TEST_F(EditorTest, WrapAndAlignmentItems) {
  TEditForm* w = newEditor(0);
  EXPECT_TRUE(w->wordWrap());
  EXPECT_TRUE(w->menus.wordWrap->isChecked());
  w->Wordwrap1Click();
  EXPECT_FALSE(w->wordWrap());
  EXPECT_FALSE(w->menus.wordWrap->isChecked());
  EXPECT_EQ(w->Editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  w->Left1Click(w->menus.align.center);
  EXPECT_TRUE(w->menus.align.center->isChecked());
  EXPECT_FALSE(w->menus.align.left->isChecked());
  EXPECT_TRUE(w->Editor->document()->defaultTextOption().alignment() & Qt::AlignHCenter);
}

TEST_F(EditorTest, ClipboardItemsFollowTheSelectionAndTheClipboard) {
  TEditForm* w = newEditor(0);
  w->setLines(L({"abc"}));
  QApplication::clipboard()->setText(QStringLiteral("x"));
  w->Editor->moveCursor(QTextCursor::End);
  w->Edit1Click();
  EXPECT_FALSE(w->menus.clip.cut->isEnabled());
  EXPECT_FALSE(frame->ui().EditCopyAction->isEnabled());
  EXPECT_TRUE(w->menus.clip.paste->isEnabled());
  w->Selectall1Click();
  EXPECT_TRUE(w->menus.clip.cut->isEnabled());
  EXPECT_TRUE(frame->ui().EditDelAction->isEnabled());
  frame->ui().EditDelAction->trigger();
  EXPECT_TRUE(w->lines().isEmpty());
}

TEST_F(EditorTest, OptionsChangeTheLettersAndTheMessageFont) {
  TEditForm* w = newEditor(1);
  QTimer::singleShot(0, [] {
    OptionsForm->InAbstr->setText(QStringLiteral("q"));
    OptionsForm->RvasS0->setText(QStringLiteral("a0"));
    OptionsForm->FontSizeMes->setCurrentText(QStringLiteral("12"));
    OptionsForm->FontSizeMesChange();  // as typing into the box does
    OptionsForm->OKBtn->click();
  });
  frame->mOptionsClick();
  EXPECT_EQ(w->settings.InAbstr, QLatin1Char('q'));
  EXPECT_EQ(w->settings.RvasS0, QStringLiteral("a0"));
  EXPECT_EQ(w->settings.kind, 1);
  EXPECT_EQ(w->ErrorList->font().pointSize(), 12);
}

// The size reaches what is drawn, not only the list's font property.
TEST_F(EditorTest, MessageFontSizeShowsInTheMessageList) {
  TEditForm* w = newEditor(1);
  w->setLines(L({"sku:", "s1=s0**x1;", "svf:"}));
  w->TestingClick();
  ASSERT_GT(w->ErrorList->count(), 0);
  auto rowHeight = [&](const char* size) {
    QTimer::singleShot(0, [size] {
      OptionsForm->FontSizeMes->setCurrentText(QLatin1String(size));
      OptionsForm->FontSizeMesChange();
      OptionsForm->OKBtn->click();
    });
    frame->mOptionsClick();
    QApplication::processEvents();
    EXPECT_TRUE(w->ErrorList->isVisible());
    return w->ErrorList->visualItemRect(w->ErrorList->item(0)).height();
  };
  const int small = rowHeight("8");
  const int large = rowHeight("24");
  EXPECT_GT(large, small * 2);
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

// A megabyte line opens in pieces, says so, is saved byte for byte, and messages about it
// (counted in whole lines) still find their place.
TEST_F(EditorTest, ALongLineIsShownInPiecesAndSavedWhole) {
  QTemporaryDir dir;
  QByteArray line;
  for (int k = 0; line.size() < 1'000'000; ++k) line += "x1&";
  const QByteArray file = "s0\r\n" + line + "\r\nmask:\r\nz\r\nx\r\ny\r\ns\r\ns\r\ns0\r\n";
  TEditForm* w = openWith(dir, "long.rvs", file, 0);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Editor->hasPieces());
  EXPECT_EQ(frame->statusText(2), longlines::note());
  EXPECT_EQ(w->lines().value(1).size(), line.size());
  ASSERT_TRUE(w->jumpToMessage(QStringLiteral("2-123456-3- текст")));
  EXPECT_EQ(selected(w), QString::fromLatin1(line.mid(123456, 3)));
  int at = -1, column = -1;
  w->Editor->caretPlace(&at, &column);
  EXPECT_EQ(at, 1);
  EXPECT_EQ(frame->statusText(1), QStringLiteral("1:123459"));
  w->Editor->document()->setModified(true);
  ASSERT_TRUE(w->Save1Click());
  EXPECT_EQ(edtest::readAll(dir.filePath(QStringLiteral("long.rvs"))), file);
}
