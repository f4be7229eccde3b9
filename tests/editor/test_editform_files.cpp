// The РВАС/СКУ editor's document: a new window and what its content enables, opening, saving,
// the close question, and a megabyte line opened and saved whole.
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "editortest.h"
#include "platform/dialogs.h"
#include "qwert.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/editform.h"

using namespace velmora;

using edtest::EditorTest;
using edtest::L;

using edtest::qwert;

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
