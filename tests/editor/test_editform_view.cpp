// What the editor shows and how it is set: the message list, the caret's place, new lines,
// fonts, wrap and alignment, the clipboard items and the options.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "editortest.h"
#include "velmora/documents/editform.h"

using namespace velmora;

using edtest::EditorTest;
using edtest::L;

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
