// The text editor: plain line files, the close question, font steps, conversion items.
#include <QAction>
#include <QFileInfo>
#include <QPlainTextEdit>

#include "fixture.h"
#include "tiravo/forms/editform.h"

using namespace tiravo;

using Editor = TiravoFrame;

TEST_F(Editor, LinesLoadAtAnyBreakAndSaveWithCrLf) {
  write(path("a.sku"), QByteArray("\x61\x0A\x62\x0D\x63\xA0"));  // A0: a non-breaking space
  ASSERT_TRUE(frame->openDocument(path("a.sku")));
  TEditForm* e = frame->EditForm;
  const QStringList lines{"a", "b", QStringLiteral("c\u00A0")};
  EXPECT_EQ(e->lines(), lines);
  EXPECT_EQ(e->windowTitle(), "a.sku");
  EXPECT_FALSE(e->isModified());
  e->editor()->appendPlainText(QString());  // a change, then taken back, keeps the text
  e->setLines(lines);
  ASSERT_TRUE(e->Save1Click());  // a named document saves without a dialog
  EXPECT_TRUE(script->fileFilters.isEmpty());
  EXPECT_EQ(bytes(path("a.sku")), QByteArray("\x61\x0D\x0A\x62\x0D\x0A\x63\xA0\x0D\x0A"));
  EXPECT_FALSE(e->isModified());
}

TEST_F(Editor, MaskBlockOfTheMainProgramShowsAsLines) {
  write(path("v.sku"), "sku:\r\ns1=x1*s0\r\nsvf:\r\nmask:\r\nz\r\nx\r\ny\r\ns\r\ns\r\ns0\r\n10\r\n");
  ASSERT_TRUE(frame->openDocument(path("v.sku")));
  EXPECT_EQ(frame->EditForm->lines().mid(3), (QStringList{"mask:", "z", "x", "y", "s", "s", "s0", "10"}));
}

TEST_F(Editor, ConversionItemsFollowTheContent) {
  const struct {
    int kind;
    QStringList lines;
    bool toTbl, toSku;
  } cases[] = {
      {TEditForm::Sku, {"sku:", "", "svf:"}, false, false},
      {TEditForm::Sku, {"sku:", "s1=x1*s0", "svf:"}, true, false},
      {TEditForm::Rvas, {"s1=x1*s0"}, true, true},
      {TEditForm::Rvas, {"", ""}, false, false},
  };
  for (const auto& c : cases) {
    TEditForm* e = frame->newEditor(c.kind);
    if (c.kind == TEditForm::Sku) {
      EXPECT_EQ(e->lines(), (QStringList{"sku:", "", "svf:"}));
      EXPECT_EQ(e->windowTitle(), "Untitled - редактор СКУ");
    }
    e->setLines(c.lines);
    EXPECT_EQ(e->ToTbl->isEnabled(), c.toTbl) << c.lines.join('|').toStdString();
    EXPECT_EQ(e->ToSku->isEnabled(), c.toSku) << c.lines.join('|').toStdString();
  }
}

TEST_F(Editor, FontStepsStopAtTheirLimits) {
  const struct {
    int from;
    bool grow;
    int to;
  } cases[] = {{71, true, 73}, {72, true, 72}, {7, false, 5}, {6, false, 6}, {10, true, 12}};
  TEditForm* e = frame->newEditor(TEditForm::Rvas);
  for (const auto& c : cases) {
    e->setFontSize(c.from);
    c.grow ? e->FontBig1Click() : e->FontSml2Click();
    EXPECT_EQ(e->fontSize(), c.to) << c.from;
    EXPECT_EQ(frame->fontSizeBox()->currentText(), QString::number(c.to));
  }
}

TEST_F(Editor, CloseQuestionNamesTheKindAndCancelKeepsTheWindow) {
  const struct {
    int kind;
    const char* question;
  } cases[] = {{TEditForm::Rvas, "Сохранить изменения в Untitled РВАС?"},
               {TEditForm::Sku, "Сохранить изменения в Untitled СКУ?"},
               {TEditForm::Lsa, "Сохранить изменения в Untitled ЛСА?"}};
  for (const auto& c : cases) {
    TEditForm* e = frame->newEditor(c.kind);
    e->setLines({"s1"});
    script->answers << dlg::Cancel;
    e->parentWidget()->close();
    EXPECT_EQ(script->lastText(), c.question);
    EXPECT_TRUE(frame->EditForm);
    EXPECT_EQ(e->FileName, "Untitled");
  }
  EXPECT_EQ(children(), 3);
}

TEST_F(Editor, YesWithACancelledOrFailedSaveKeepsTheWindowModified) {
  TEditForm* e = frame->newEditor(TEditForm::Rvas);
  e->setLines({"s1"});
  script->answers << dlg::Yes;  // then the save dialog is cancelled
  EXPECT_FALSE(e->parentWidget()->close());
  EXPECT_TRUE(e->isModified());
  EXPECT_EQ(children(), 1);

  // A folder that does not exist: the write fails and is reported.
  script->answers << dlg::Yes << dlg::Ok;
  script->files << path("missing/t.rvs");
  EXPECT_FALSE(e->parentWidget()->close());
  EXPECT_EQ(script->shown.last().caption, "Ошибка");
  EXPECT_TRUE(e->isModified());
}

TEST_F(Editor, SaveAsOffersTheKindsExtensionForANewName) {
  TEditForm* e = frame->newEditor(TEditForm::Lsa);
  e->setLines({"x"});
  script->files << path("new");
  ASSERT_TRUE(e->Save1Click());
  EXPECT_EQ(script->fileFilters.last(), "Файл ЛСА (*.lsa)|*.lsa|Все файлы|*.*");
  EXPECT_EQ(e->FileName, path("new.lsa"));
  EXPECT_EQ(e->windowTitle(), "new.lsa");
  EXPECT_EQ(bytes(path("new.lsa")), "x\r\n");
}

TEST_F(Editor, TextOutsideTheCodePageIsRefusedBeforeWriting) {
  write(path("u.rvs"), "old\r\n");
  ASSERT_TRUE(frame->openDocument(path("u.rvs")));
  TEditForm* e = frame->EditForm;
  e->setLines({QString::fromUtf8("s1 ✓")});
  EXPECT_FALSE(e->Save1Click());
  EXPECT_EQ(script->shown.size(), 1);
  EXPECT_EQ(bytes(path("u.rvs")), "old\r\n");
  EXPECT_TRUE(e->isModified());
}

TEST_F(Editor, ClipboardItemsFollowTheSelection) {
  TEditForm* e = frame->newEditor(TEditForm::Rvas);
  e->setLines({"abc"});
  e->Edit1Click();
  EXPECT_FALSE(e->cutItem->isEnabled());
  EXPECT_FALSE(frame->CutBtn->isEnabled());
  e->Selectall1Click();
  EXPECT_TRUE(e->copyItem->isEnabled());
  EXPECT_TRUE(e->deleteItem->isEnabled());
  EXPECT_TRUE(frame->DeleteBtn->isEnabled());
  frame->Delete1Click();  // routed by kind 3
  EXPECT_TRUE(e->lines().isEmpty());
}

// A megabyte line opens in pieces, says so in the status bar and is saved byte for byte.
TEST_F(Editor, ALongLineIsShownInPiecesAndSavedWhole) {
  QByteArray line;
  for (int k = 0; line.size() < 1'000'000; ++k) line += "x1&";
  const QByteArray file = "s0\r\n" + line + "\r\n";
  write(path("long.rvs"), file);
  ASSERT_TRUE(frame->openDocument(path("long.rvs")));
  TEditForm* e = frame->EditForm;
  EXPECT_EQ(frame->hintText(), longlines::note());
  EXPECT_EQ(e->lines(), (QStringList{"s0", QString::fromLatin1(line)}));
  e->setModified(true);
  ASSERT_TRUE(e->Save1Click());
  EXPECT_EQ(bytes(path("long.rvs")), file);
}
