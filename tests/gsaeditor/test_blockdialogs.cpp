// The operator, condition and connector dialogs, driven through their controls and keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "velmora/flowchart/blockdialogs.h"

namespace {

const QString kNone = QStringLiteral("нет перехода");

void press(QWidget* w, int key) {
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// The user picks an item from the list (a change the dialog reacts to).
void choose(QComboBox* c, const QString& item) {
  c->setCurrentIndex(c->findText(item));
  emit c->activated(c->currentIndex());
}

QStringList labels(const TRombForm& f) {
  const gsa::ConditionBlock b = f.block();
  return {b.left, b.right, b.down};
}

}  // namespace

TEST(RectForm, PromptFollowsTheNaming) {
  struct Case {
    bool user;
    const char *first, *second;
  } cases[] = {{false, "               Введите выходной сигнал,", "   например, y1"},
               {true, "Введите имя состояния и выходной сигнал,", "например, s0(y1)"}};
  for (const Case& c : cases) {
    TRectForm f;
    f.userNaming = c.user;
    f.UpdatePrompt();
    EXPECT_EQ(f.Label1->text(), QString::fromUtf8(c.first));
    EXPECT_EQ(f.Label2->text(), QString::fromUtf8(c.second));
  }
}

TEST(RectForm, OnlyATextCanBeConfirmed) {
  struct Case {
    const char* text;
    QWidget* (*target)(TRectForm&);
    int key;  // 0: the OK button is clicked
    int result;
  } cases[] = {
      {"", [](TRectForm& f) -> QWidget* { return f.RectButton; }, 0, -1},
      {"", [](TRectForm& f) -> QWidget* { return f.RectEdit; }, Qt::Key_Return, -1},
      {"y1", [](TRectForm& f) -> QWidget* { return f.RectButton; }, 0, QDialog::Accepted},
      {"y1", [](TRectForm& f) -> QWidget* { return f.RectEdit; }, Qt::Key_Return, QDialog::Accepted},
      {"y1", [](TRectForm& f) -> QWidget* { return f.RectEdit; }, Qt::Key_Escape, QDialog::Rejected},
      {"y1", [](TRectForm& f) -> QWidget* { return f.RectXButton; }, Qt::Key_Return, QDialog::Rejected},
  };
  for (const Case& c : cases) {
    TRectForm f;
    f.setResult(-1);
    f.RectEdit->setText(QString::fromUtf8(c.text));
    if (c.key == 0) f.RectButton->click();
    else press(c.target(f), c.key);
    EXPECT_EQ(f.result(), c.result) << c.text << " key " << c.key;
  }
}

TEST(RombForm, AChosenLabelLeavesTheOtherCombos) {
  TRombForm f;
  choose(f.LeftCombo, "1");
  choose(f.RightCombo, "1");
  EXPECT_EQ(labels(f), (QStringList{kNone, "1", ""}));
  choose(f.DownCombo, "1");
  EXPECT_EQ(labels(f), (QStringList{kNone, kNone, "1"}));
  choose(f.LeftCombo, "0");
  EXPECT_EQ(labels(f), (QStringList{"0", kNone, "1"}));
}

TEST(RombForm, OkCompletesTheThirdLabelAndNeedsEverything) {
  struct Case {
    const char* text;
    const char *left, *right, *down;  // "" leaves the combo unselected
    QStringList after;
    int result;
  } cases[] = {
      {"x1", "0", "1", "", {"0", "1", kNone}, QDialog::Accepted},
      {"x1", "1", "", "0", {"1", kNone, "0"}, QDialog::Accepted},
      {"x1", "", "0", "1", {kNone, "0", "1"}, QDialog::Accepted},
      {"x1", "0", "", "", {"0", "", ""}, -1},
      {"", "0", "1", "", {"0", "1", kNone}, -1},
  };
  for (const Case& c : cases) {
    TRombForm f;
    f.setResult(-1);
    f.preset({QString::fromUtf8(c.text), QString::fromUtf8(c.left), QString::fromUtf8(c.right), QString::fromUtf8(c.down)});
    f.RombButton->click();
    EXPECT_EQ(labels(f), c.after) << c.left << c.right << c.down;
    EXPECT_EQ(f.result(), c.result) << c.left << c.right << c.down;
  }
}

TEST(RombForm, KeysConfirmAndCancel) {
  struct Case {
    QWidget* (*target)(TRombForm&);
    int key, result;
  } cases[] = {
      {[](TRombForm& f) -> QWidget* { return f.DownCombo; }, Qt::Key_Enter, QDialog::Accepted},
      {[](TRombForm& f) -> QWidget* { return f.RombEdit; }, Qt::Key_Return, QDialog::Accepted},
      {[](TRombForm& f) -> QWidget* { return f.LeftCombo; }, Qt::Key_Escape, QDialog::Rejected},
      {[](TRombForm& f) -> QWidget* { return f.RombXButton; }, Qt::Key_Return, QDialog::Rejected},
  };
  for (const Case& c : cases) {
    TRombForm f;
    f.setResult(-1);
    f.preset({QStringLiteral("x1"), QStringLiteral("0"), QStringLiteral("1"), QString()});
    press(c.target(f), c.key);
    EXPECT_EQ(f.result(), c.result) << c.key;
  }
}

TEST(SoedForm, TypeIsDisjunctiveUnlessChosen) {
  TSoedForm untouched;
  untouched.SoedButton->click();
  EXPECT_EQ(untouched.result(), QDialog::Accepted);
  EXPECT_EQ(untouched.type, QStringLiteral("D"));
  TSoedForm conj;
  conj.ConRadio->setChecked(true);
  press(conj.SoedButton, Qt::Key_Return);
  EXPECT_EQ(conj.type, QStringLiteral("C"));
  TSoedForm cancelled;
  cancelled.setResult(-1);
  press(cancelled.SoedXButton, Qt::Key_A);  // any key on the Cancel button
  EXPECT_EQ(cancelled.result(), QDialog::Rejected);
  EXPECT_TRUE(cancelled.type.isEmpty());
}
