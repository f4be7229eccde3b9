// The operator, condition and connector dialogs, driven through their controls and keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "tests/gsaeditor/gsahelpers.h"
#include "velmora/flowchart/blockdialogs.h"

using namespace velmora;

namespace {

const QString kNone = QStringLiteral("нет перехода");

void press(QWidget* w, int key) {
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

QStringList labels(const TRombForm& f) {
  const gsa::ConditionBlock b = f.block();
  return {b.left, b.right, b.down};
}

}  // namespace

TEST(RectForm, PromptFollowsTheNamingAndOnlyATextIsConfirmed) {
  TRectForm f;
  EXPECT_EQ(f.Label1->text(), QStringLiteral("              Введите выходной сигнал,"));  // design text
  f.UpdatePrompt();
  EXPECT_EQ(f.Label1->text(), QStringLiteral("               Введите выходной сигнал,"));
  EXPECT_EQ(f.Label2->text(), QStringLiteral("   например, y1"));
  f.userNaming = true;
  f.UpdatePrompt();
  EXPECT_EQ(f.Label1->text(), QStringLiteral("Введите имя состояния и выходной сигнал,"));
  EXPECT_EQ(f.Label2->text(), QStringLiteral("например, s0(y1)"));

  // Each case: the edit's text, the key (0: the OK button) and where it is pressed.
  struct Case {
    const char* text;
    int key;
    bool onCancel;
    int result;
  } cases[] = {{"", 0, false, -1},
               {"", Qt::Key_Return, false, -1},
               {"y1", 0, false, QDialog::Accepted},
               {"y1", Qt::Key_Enter, false, QDialog::Accepted},
               {"y1", Qt::Key_Escape, false, QDialog::Rejected},
               {"y1", Qt::Key_Return, true, QDialog::Rejected}};
  for (const Case& c : cases) {
    TRectForm d;
    d.setResult(-1);
    d.RectEdit->setText(QString::fromUtf8(c.text));
    if (c.key == 0)
      d.RectButton->click();
    else
      press(c.onCancel ? static_cast<QWidget*>(d.RectXButton) : d.RectEdit, c.key);
    EXPECT_EQ(d.result(), c.result) << c.text << " key " << c.key;
  }
}

// Every item of the three combos shows whole, and the controls keep clear of each other.
TEST(RombForm, CombosAreWideEnoughForTheirItems) {
  TRombForm f;
  f.show();
  QList<QWidget*> all{f.LeftCombo, f.RightCombo, f.DownCombo, f.RombEdit, f.RombButton, f.RombXButton};
  for (QComboBox* c : {f.LeftCombo, f.RightCombo, f.DownCombo}) {
    for (int i = 0; i < c->count(); ++i) {
      c->setCurrentIndex(i);
      EXPECT_GE(c->width(), c->minimumSizeHint().width()) << c->objectName().toStdString() << " " << i;
    }
    EXPECT_EQ(c->findText(kNone), 2);
  }
  for (QWidget* a : all) {
    EXPECT_TRUE(f.rect().contains(a->geometry())) << a->objectName().toStdString();
    for (QWidget* b : all)
      if (a != b) {
        EXPECT_FALSE(a->geometry().intersects(b->geometry()))
            << a->objectName().toStdString() << " " << b->objectName().toStdString();
      }
  }
}

TEST(RombForm, AChosenLabelLeavesTheOtherCombos) {
  TRombForm f;
  gsatest::choose(f.LeftCombo, "1");
  gsatest::choose(f.RightCombo, "1");
  EXPECT_EQ(labels(f), (QStringList{kNone, "1", ""}));
  gsatest::choose(f.DownCombo, "1");
  EXPECT_EQ(labels(f), (QStringList{kNone, kNone, "1"}));
}

TEST(RombForm, OkCompletesTheThirdLabelAndNeedsEverything) {
  struct Case {
    const char *text, *left, *right, *down;  // "" leaves the combo unselected
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
    f.preset({c.text, c.left, c.right, c.down});
    f.RombButton->click();
    EXPECT_EQ(labels(f), c.after) << c.left << c.right << c.down;
    EXPECT_EQ(f.result(), c.result) << c.left << c.right << c.down;
  }
}

TEST(RombForm, EnterConfirmsEscAndTheCancelButtonCancel) {
  struct Case {
    int widget;  // 0 the edit, 1 a combo, 2 the Cancel button
    int key, result;
  } cases[] = {{1, Qt::Key_Enter, QDialog::Accepted},
               {0, Qt::Key_Return, QDialog::Accepted},
               {1, Qt::Key_Escape, QDialog::Rejected},
               {2, Qt::Key_Return, QDialog::Rejected}};
  for (const Case& c : cases) {
    TRombForm f;
    f.setResult(-1);
    f.preset({QStringLiteral("x1"), QStringLiteral("0"), QStringLiteral("1"), QString()});
    QWidget* targets[3] = {f.RombEdit, f.DownCombo, f.RombXButton};
    press(targets[c.widget], c.key);
    EXPECT_EQ(f.result(), c.result) << c.widget << " key " << c.key;
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
}
