#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "helpers.h"
#include "platform/dialogs.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/tableform.h"
#include "velmora/documents/txtform.h"

using namespace velmora;

using edtest::InFrame;

namespace {

class TextTest : public InFrame {
 protected:
  TTxtForm* newText() {
    frame->NewTxtClick();
    return frame->lastTxtForm;
  }
  static QStringList paragraphs(TTxtForm* w) {
    return (w->isPlain() ? w->Plain->wholeText() : w->Editor->toPlainText()).split(QLatin1Char('\n'));
  }
};

QAction* itemByText(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions()) {
    if (a->text() == text) return a;
    if (a->menu())
      if (QAction* sub = itemByText(a->menu(), text)) return sub;
  }
  return nullptr;
}

}  // namespace

TEST_F(TextTest, NewWindowIsUntitledAndActivatesAsKindOne) {
  TTxtForm* w = newText();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Untitled - текстовый редактор"));
  EXPECT_EQ(w->fileName, QStringLiteral("Untitled"));
  EXPECT_EQ(ChildKind, ckText);
  EXPECT_FALSE(w->wordWrap());
  EXPECT_TRUE(frame->fontSizeBox()->isEnabled());
  EXPECT_EQ(frame->fontSizeBox()->currentText(), QString::number(w->fontSize()));
  w->Editor->insertPlainText(QStringLiteral("x"));
  EXPECT_EQ(frame->statusText(0), QStringLiteral("Изменен"));
}

TEST_F(TextTest, PlainFileLoadsAsCodePage1251Lines) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("plain.txt"));
  ASSERT_TRUE(edtest::writeAll(path, QByteArray::fromHex("61620D0ACFF0")));
  auto* w = qobject_cast<TTxtForm*>(createTextWindow(frame, path));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(paragraphs(w), (QStringList{QStringLiteral("ab"), QStringLiteral("Пр")}));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("plain.txt"));
  EXPECT_EQ(w->fileName, path);
  EXPECT_FALSE(w->isModified());
  EXPECT_EQ(w->Plain->textCursor().position(), 0);
  EXPECT_EQ(frame->lastTxtForm.data(), w);
}

TEST_F(TextTest, PlainTextGoesBackAsPlainTextAndRichTextAsRichText) {
  QTemporaryDir dir;
  struct Case {
    const char* name;
    QByteArray bytes, saved;  // saved: what the file holds after a save
  } cases[] = {
      // Control characters, tabs and a lone CR survive: the file comes back byte for byte.
      {"plain.txt", QByteArray("a\x01\tb\x0c\r\n\xcf\xf0\rz"), QByteArray("a\x01\tb\x0c\r\n\xcf\xf0\rz")},
      {"rich.txt", QByteArray("{\\rtf1\\ansi x\\par}"), QByteArray()},
  };
  for (const Case& c : cases) {
    const QString path = dir.filePath(QString::fromLatin1(c.name));
    ASSERT_TRUE(edtest::writeAll(path, c.bytes));
    auto* w = qobject_cast<TTxtForm*>(createTextWindow(frame, path));
    ASSERT_NE(w, nullptr);
    w->Editor->moveCursor(QTextCursor::End);
    ASSERT_TRUE(w->Save1Click()) << c.name;
    const QByteArray saved = edtest::readAll(path);
    if (c.saved.isEmpty())
      EXPECT_TRUE(saved.startsWith("{\\rtf1")) << c.name;
    else
      EXPECT_EQ(saved, c.saved) << c.name;
    w->close();
  }
}

// A plain file shows its control bytes as marks and its long lines in pieces, is saved back byte
// for byte however its lines are parted, and becomes rich text only when a command formats it.
TEST_F(TextTest, PlainFileShowsMarksAndSavesBackByteForByte) {
  QTemporaryDir dir;
  dlg::Script answers;  // a save that fails says so here instead of waiting on a box
  const QByteArray nuls(1000000, '\0');
  const QByteArray longLine = QByteArray("x1*").repeated(200000);
  struct Case {
    const char* name;
    QByteArray bytes;
    const char* shownStart;  // the first characters shown, in UTF-8
    bool pieces;
  } cases[] = {
      {"nuls.txt", nuls, "\u2400\u2400", true},
      {"long.txt", longLine + "\r\n" + nuls.left(3) + "\r\n", "x1*x1*", true},
      {"lf.txt", "a\nb\r\n\x7f\n", "a\nb\u240d\n\u2421", false},
      {"cr.txt", "a\rb\n\r", "a\nb\u240a", false},
      {"empty.txt", "", "", false},
      {"break.txt", "\r\n", "", false},
      {"open.txt", QByteArray("a\nb\0", 4), "a\nb\u2400", false},
      {"blank.txt", "\r\nx\r\n\r\n", "\nx\n", false},
      {"longs.txt", longLine + "\r" + longLine, "x1*x1*", true},
  };
  for (const Case& c : cases) {
    const QString path = dir.filePath(QString::fromLatin1(c.name));
    ASSERT_TRUE(edtest::writeAll(path, c.bytes));
    auto* w = qobject_cast<TTxtForm*>(createTextWindow(frame, path));
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->isPlain()) << c.name;
    const QString start = QString::fromUtf8(c.shownStart);
    EXPECT_EQ(w->Plain->wholeText().left(start.size()), start) << c.name;
    EXPECT_EQ(w->Plain->hasPieces(), c.pieces) << c.name;
    EXPECT_FALSE(w->isModified()) << c.name;
    ASSERT_TRUE(w->Save1Click()) << c.name;
    EXPECT_TRUE(edtest::readAll(path) == c.bytes) << c.name;
    w->close();
  }
  // An edit keeps the parting of the lines; alignment makes the text rich, saved as rich text.
  const QString path = dir.filePath(QStringLiteral("lf.txt"));
  auto* w = qobject_cast<TTxtForm*>(createTextWindow(frame, path));
  ASSERT_NE(w, nullptr);
  w->Plain->moveCursor(QTextCursor::End);
  w->Plain->insertPlainText(QStringLiteral("\nz"));
  ASSERT_TRUE(w->Save1Click());
  EXPECT_EQ(edtest::readAll(path), QByteArray("a\nb\r\n\x7f\nz\n"));
  w->Left1Click(w->menus.align.center);
  EXPECT_FALSE(w->isPlain());
  EXPECT_EQ(w->Editor->toPlainText(), QStringLiteral("a\nb\u240d\n\u2421\nz"));
  ASSERT_TRUE(w->Save1Click());
  EXPECT_TRUE(edtest::readAll(path).startsWith("{\\rtf1"));
  w->close();
}

// A character typed into a plain text that has no code in 1251 fails the save, named with its
// line; the file stays as it was and the text modified.
TEST_F(TextTest, PlainTextWithACharacterWithoutCodeIsNotSaved) {
  QTemporaryDir dir;
  const QByteArray longLine = QByteArray("x1*").repeated(20000);
  const struct {
    QByteArray bytes;
    int line, column;  // where the character is typed
    const char* where;
  } cases[] = {
      {QByteArray("a\0\x7f\nb", 5), 0, 3, "в строке 1"},      // after the marks, which are bytes
      {"a\r\n" + longLine + "\r\n", 1, 15000, "в строке 2"},  // in a later piece
  };
  for (const auto& c : cases) {
    const QString path = dir.filePath(QStringLiteral("t.txt"));
    ASSERT_TRUE(edtest::writeAll(path, c.bytes));
    auto* w = qobject_cast<TTxtForm*>(createTextWindow(frame, path));
    ASSERT_NE(w, nullptr);
    QTextCursor cursor = w->Plain->textCursor();
    cursor.setPosition(w->Plain->positionOf(c.line, c.column));
    w->Plain->setTextCursor(cursor);
    w->Plain->insertPlainText(QString::fromUtf8("✓"));
    dlg::Script s;
    EXPECT_FALSE(w->Save1Click());
    ASSERT_EQ(s.shown.size(), 1);
    EXPECT_EQ(s.shown[0].text,
              QString::fromUtf8("Символ \"✓\" (U+2713) %1 не имеет кода в кодировке 1251; файл не "
                                "записан")
                  .arg(QString::fromUtf8(c.where)));
    EXPECT_TRUE(edtest::readAll(path) == c.bytes) << c.where;
    EXPECT_TRUE(w->isModified());
    w->Plain->document()->setModified(false);
    w->close();
  }
}

TEST_F(TextTest, UnreadableFileOpensNoWindowAndSaysWhy) {
  QTemporaryDir dir;
  dlg::Script s;
  EXPECT_EQ(createTextWindow(frame, dir.filePath(QStringLiteral("missing.txt"))), nullptr);
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_EQ(s.shown[0].caption, QStringLiteral("Ошибка"));
  EXPECT_TRUE(s.shown[0].text.contains(QStringLiteral("missing.txt")));
  EXPECT_EQ(children(), 0);
}

TEST_F(TextTest, BoldCentredTextSurvivesSaveAndReopen) {
  QTemporaryDir dir;
  TTxtForm* w = newText();
  w->Left1Click(w->menus.align.center);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  w->Editor->mergeCurrentCharFormat(bold);
  w->Editor->insertPlainText(QStringLiteral("Привет"));
  dlg::Script s;
  s.files << dir.filePath(QStringLiteral("hello"));  // the default extension is added
  ASSERT_TRUE(w->Save1Click());
  const QString path = dir.filePath(QStringLiteral("hello.txt"));
  EXPECT_EQ(s.fileFilters.value(0), QStringLiteral("Текстовый файл (*.txt)|*.txt|Все файлы|*.*"));
  const QByteArray bytes = edtest::readAll(path);
  EXPECT_TRUE(bytes.startsWith("{\\rtf1"));
  EXPECT_TRUE(bytes.contains("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2"));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("hello.txt"));
  EXPECT_FALSE(w->isModified());

  auto* back = qobject_cast<TTxtForm*>(frame->openDocument(path));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Editor->toPlainText(), QStringLiteral("Привет"));
  EXPECT_TRUE(back->Editor->document()->begin().blockFormat().alignment() & Qt::AlignHCenter);
  QTextCursor c(back->Editor->document());
  c.setPosition(2);
  EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
  EXPECT_FALSE(back->isModified());
}

TEST_F(TextTest, RichTextOfOtherProgramsGainsNoLineAndAnEmptyLastLineIsKept) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("wordpad.txt"));
  // The way other editors end a file: every paragraph, the last included, ends with \par.
  ASSERT_TRUE(edtest::writeAll(path,
                               "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}}\r\n"
                               "\\pard\\f0 \\'e0\\'e1\\par\r\n\\pard cd\\par\r\n}\r\n"));
  auto* w = qobject_cast<TTxtForm*>(createTextWindow(frame, path));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Editor->toPlainText(), QStringLiteral("аб\ncd"));

  // A text that ends with an empty line keeps it through save and reopen, again and again.
  w->Editor->moveCursor(QTextCursor::End);
  w->Editor->insertPlainText(QStringLiteral("\n"));
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(w->Save1Click());
    w = qobject_cast<TTxtForm*>(createTextWindow(frame, path));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Editor->toPlainText(), QStringLiteral("аб\ncd\n")) << round;
  }
}

TEST_F(TextTest, ReportWindowSavesStraightToItsFileAndAnUnplacedOneAsksWhere) {
  QTemporaryDir dir;
  TTxtForm* w = newText();
  w->Editor->insertPlainText(QStringLiteral("r"));
  w->fileName = dir.filePath(QStringLiteral("cpu.rtf"));
  w->setWindowTitle(QStringLiteral("Отчёт cpu.rtf"));
  dlg::Script s;
  ASSERT_TRUE(w->Save1Click());
  EXPECT_TRUE(s.fileFilters.isEmpty());
  EXPECT_TRUE(edtest::readAll(w->fileName).startsWith("{\\rtf1"));

  // A name without a place (from a table never saved) goes through the dialog.
  w->fileName = QStringLiteral("Untitled.rtf");
  w->setWindowTitle(QStringLiteral("Отчёт Untitled.rtf"));
  EXPECT_FALSE(w->Save1Click());  // cancelled
  EXPECT_EQ(s.fileFilters.size(), 1);
}

TEST_F(TextTest, CloseQuestionAndAFailedOrCancelledSave) {
  QTemporaryDir dir;
  TTxtForm* w = newText();
  w->Editor->insertPlainText(QStringLiteral("text"));
  QPointer<QMdiSubWindow> sub = subOf(w);
  dlg::Script s;
  s.answers << dlg::Yes;  // then the save dialog is cancelled
  EXPECT_FALSE(sub->close());
  EXPECT_EQ(s.shown[0].text, QStringLiteral("Сохранить изменения в Untitled текстовый файл"));
  EXPECT_TRUE(w->isModified());
  EXPECT_EQ(w->fileName, QStringLiteral("Untitled"));

  s.answers << dlg::Yes;
  s.files << dir.filePath(QStringLiteral("no/such/dir/t.txt"));
  EXPECT_FALSE(sub->close());
  EXPECT_EQ(s.shown.last().caption, QStringLiteral("Ошибка"));
  EXPECT_TRUE(w->isModified());

  s.answers << dlg::Cancel;
  EXPECT_FALSE(sub->close());
  s.answers << dlg::No;
  EXPECT_TRUE(sub->close());
  EXPECT_EQ(ChildKind, ckNone);
}

TEST_F(TextTest, FontStepsAndTheFontDialog) {
  TTxtForm* w = newText();
  EXPECT_EQ(w->fontSize(), 9);  // 12 pixels
  w->setFontSize(71);
  w->FontBig1Click();
  w->FontBig1Click();
  EXPECT_EQ(w->fontSize(), 73);
  w->setFontSize(7);
  w->FontSml2Click();
  w->FontSml2Click();
  EXPECT_EQ(w->fontSize(), 5);
  EXPECT_EQ(frame->fontSizeBox()->currentText(), QStringLiteral("5"));

  w->Editor->insertPlainText(QStringLiteral("abc"));
  w->Editor->selectAll();
  dlg::Script s;
  QFont chosen(QStringLiteral("Courier"), 20);
  chosen.setItalic(true);
  s.fonts << chosen;
  w->mFontClick();
  QTextCursor c(w->Editor->document());
  c.setPosition(2);
  EXPECT_TRUE(c.charFormat().fontItalic());
  EXPECT_EQ(c.charFormat().fontPointSize(), 20);
  // Cancel changes nothing.
  w->mFontClick();
  c.setPosition(2);
  EXPECT_EQ(c.charFormat().fontPointSize(), 20);
}

TEST_F(TextTest, WrapAlignmentAndClipboardItems) {
  TTxtForm* w = newText();
  w->Wordwrap1Click();
  EXPECT_TRUE(w->wordWrap());
  EXPECT_TRUE(w->menus.wordWrap->isChecked());
  EXPECT_EQ(w->Editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  w->Wordwrap1Click();
  EXPECT_FALSE(w->wordWrap());

  w->Editor->insertPlainText(QStringLiteral("one"));
  w->Left1Click(w->menus.align.right);
  EXPECT_TRUE(w->menus.align.right->isChecked());
  EXPECT_FALSE(w->menus.align.left->isChecked());
  EXPECT_TRUE(w->Editor->alignment() & Qt::AlignRight);

  QApplication::clipboard()->clear();
  w->Edit1Click();
  EXPECT_FALSE(w->menus.clip.paste->isEnabled());
  EXPECT_FALSE(w->menus.clip.copy->isEnabled());
  w->Selectall1Click();
  frame->ui().EditCopyAction->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("one"));
  EXPECT_TRUE(w->menus.clip.paste->isEnabled());
  EXPECT_TRUE(w->menus.clip.popupCut->isEnabled());
  frame->ui().EditCutAction->trigger();
  EXPECT_TRUE(w->Editor->toPlainText().isEmpty());
  frame->ui().EditPasteAction->trigger();
  frame->ui().EditPasteAction->trigger();
  EXPECT_EQ(w->Editor->toPlainText(), QStringLiteral("oneone"));
}

TEST_F(TextTest, FileMenuOpensATableWindow) {
  TTxtForm* w = newText();
  QAction* a = itemByText(w->fileMenu(), QStringLiteral("Таблицу &переходов"));
  ASSERT_NE(a, nullptr);
  a->trigger();
  EXPECT_NE(frame->lastTableForm.data(), nullptr);
  EXPECT_EQ(children(), 2);
}

TEST_F(TextTest, PrintingWithoutAPrinterWritesAPdfBesideTheDocument) {
  if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is installed";
  QTemporaryDir dir;
  TTxtForm* w = newText();
  w->Editor->insertPlainText(QStringLiteral("Печать"));
  w->fileName = dir.filePath(QStringLiteral("doc.txt"));
  w->setWindowTitle(QStringLiteral("doc.txt"));
  dlg::Script s;
  w->mPrintClick();  // cancelled: nothing printed
  EXPECT_EQ(s.printDialogs, 1);
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("doc.pdf"))));
  s.printAnswers << true;
  w->mPrintClick();
  EXPECT_TRUE(edtest::readAll(dir.filePath(QStringLiteral("doc.pdf"))).startsWith("%PDF"));
  EXPECT_EQ(w->printer()->docName(), w->fileName);
  EXPECT_TRUE(s.shown.isEmpty());

  // A place that cannot be written is reported.
  w->printer()->setOutputFileName(dir.filePath(QStringLiteral("no/such/dir/x.pdf")));
  s.printAnswers << true;
  w->mPrintClick();
  ASSERT_EQ(s.shown.size(), 1);
  EXPECT_EQ(s.shown[0].caption, QStringLiteral("Ошибка"));

  s.printAnswers << false;
  w->mPrintSetupClick();
  EXPECT_EQ(s.pageSetupDialogs, 1);
}

TEST_F(TextTest, AnUnplacedDocumentPrintsIntoAFolderThatExists) {
  if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is installed";
  QTemporaryDir home;  // a home without a documents folder
  const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", home.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
  TTxtForm* w = newText();
  w->Editor->insertPlainText(QStringLiteral("x"));
  dlg::Script s;
  s.printAnswers << true;
  w->mPrintClick();
  const QString pdf = w->printer()->outputFileName();
  qputenv("HOME", oldHome);
  if (oldConfig.isEmpty())
    qunsetenv("XDG_CONFIG_HOME");
  else
    qputenv("XDG_CONFIG_HOME", oldConfig);
  EXPECT_EQ(QFileInfo(pdf).absolutePath(), QFileInfo(home.path()).absoluteFilePath());
  EXPECT_EQ(QFileInfo(pdf).fileName(), QStringLiteral("Untitled.pdf"));
  EXPECT_TRUE(edtest::readAll(pdf).startsWith("%PDF"));
  EXPECT_TRUE(s.shown.isEmpty());
}
