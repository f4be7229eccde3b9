#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "answer.h"
#include "platform/dialogs.h"
#include "tiravo/forms/addzform.h"
#include "tiravo/forms/setsform.h"

using tiravo::TAddZForm;
using tiravo::TSetSForm;

namespace {

void Select(QListWidget* list, const QStringList& names) {
  list->clearSelection();
  for (const QString& n : names) list->findItems(n, Qt::MatchExactly).first()->setSelected(true);
}

const QStringList kX{"x1", "x2", "x3"};

}  // namespace

TEST(SetSForm, BinaryModeStartsAllOnesAndGivesTheCompleteAssignment) {
  TSetSForm f;
  ASSERT_TRUE(f.SetIt(kX, SignalSet(), TSetSForm::BinaryInput));
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Установка двоичных входных сигналов"));
  EXPECT_EQ(f.gbAct->title(), QStringLiteral("Сигналы,равные 1"));
  EXPECT_EQ(wintest::ListTexts(f.Act), kX);
  EXPECT_FALSE(f.btAllAct->isEnabled());
  Select(f.Act, {"x2"});
  f.btPass->click();
  EXPECT_EQ(wintest::ListTexts(f.Pass), QStringList{"x2"});
  EXPECT_TRUE(f.btAllAct->isEnabled());
  QString text;
  SignalSet set;
  f.GetIt(text, kX, set);
  EXPECT_EQ(set, (SignalSet{1, -2, 3}));
  EXPECT_EQ(text, QStringLiteral("x1&X2&x3"));
}

TEST(SetSForm, EventModeMovesThePositiveElementsToTheActiveList) {
  const QStringList s{"s0", "s1", "s2"};
  TSetSForm f;
  ASSERT_TRUE(f.SetIt(s, SignalSet{2, -3}, TSetSForm::EventSet));
  EXPECT_EQ(wintest::ListTexts(f.Act), QStringList{"s1"});
  EXPECT_EQ(wintest::ListTexts(f.Pass), (QStringList{"s0", "s2"}));
  f.btAllAct->click();
  QString text;
  SignalSet set;
  f.GetIt(text, s, set);
  EXPECT_EQ(text, QStringLiteral("s0&s1&s2"));
  EXPECT_FALSE(f.btAct->isEnabled());
}

TEST(SetSForm, DeleteKeyMovesTheSelectionAndSelectsTheItemAboveIt) {
  const QStringList s{"a", "b", "c", "d", "e"};
  TSetSForm f;
  f.SetIt(s, SignalSet(), TSetSForm::EventSet);
  Select(f.Pass, {"c", "e"});
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QCoreApplication::sendEvent(f.Pass, &del);
  EXPECT_EQ(wintest::ListTexts(f.Act), (QStringList{"c", "e"}));
  EXPECT_EQ(wintest::ListTexts(f.Pass), (QStringList{"a", "b", "d"}));
  ASSERT_EQ(f.Pass->selectedItems().size(), 1);
  EXPECT_EQ(f.Pass->selectedItems().first()->text(), QStringLiteral("b"));
}

TEST(SetSForm, LetterModeSelectsTheLetterAndRefusesOkOnAnEmptyList) {
  const QStringList z{"z1", "z2"};
  TSetSForm f;
  ASSERT_TRUE(f.SetIt(z, SignalSet{2}, TSetSForm::AbstractInput));
  EXPECT_EQ(f.lbZ->currentItem()->text(), QStringLiteral("z2"));
  EXPECT_EQ(f.eZ->text(), QStringLiteral("z2"));
  EXPECT_TRUE(f.btOk->isEnabled());
  f.lbZ->setCurrentRow(0);
  QString text;
  SignalSet set;
  f.GetIt(text, z, set);
  EXPECT_EQ(set, SignalSet{1});
  EXPECT_EQ(text, QStringLiteral("z1"));
  f.SetIt(QStringList(), SignalSet(), TSetSForm::AbstractInput);
  EXPECT_FALSE(f.btOk->isEnabled());
}

TEST(SetSForm, UnknownModeIsReported) {
  dlg::Script script;
  TSetSForm f;
  EXPECT_FALSE(f.SetIt(kX, SignalSet(), 3));
  EXPECT_EQ(script.lastText(), QStringLiteral("Ошибка в методе 'SetSForm::SetIt'!"));
}

TEST(AddZForm, ButtonsSpeakRussian) {
  TAddZForm f;
  QStringList texts;
  for (const QPushButton* b : f.findChildren<QPushButton*>()) texts << b->text();
  texts.sort();
  EXPECT_EQ(texts, (QStringList{"OK", "Отмена"}));
}

TEST(AddZForm, RefusesNamesThatWouldBreakTextsTablesOrReports) {
  TAddZForm f;
  f.Alphabet = {"z1", "z2"};
  struct Case {
    const char* name;
    const char* message;
  } cases[] = {
      {"", "Введите имя сигнала!"},
      {"Z1", "Имя уже присутствует в алфавите"},
      {"z2", "Имя уже присутствует в алфавите"},
      {"z 3", "Недопустимый символ ' ' в имени сигнала!"},
      {"z&3", "Недопустимый символ '&' в имени сигнала!"},
      {"z\\3", "Недопустимый символ '\\' в имени сигнала!"},
      {"z{3", "Недопустимый символ '{' в имени сигнала!"},
      {"3z", "Имя сигнала должно начинаться со строчной буквы!"},
      {"Q", "Имя сигнала должно начинаться со строчной буквы!"},
  };
  for (const Case& c : cases) {
    dlg::Script script;
    f.Name->setText(QString::fromUtf8(c.name));
    f.show();
    f.btOk->click();
    EXPECT_TRUE(f.isVisible()) << c.name;
    ASSERT_EQ(script.shown.size(), 1) << c.name;
    EXPECT_EQ(script.shown[0].text, QString::fromUtf8(c.message));
    EXPECT_EQ(script.shown[0].caption, QStringLiteral("Ошибка"));
  }
  f.Name->setText(QStringLiteral("з3"));
  f.btOk->click();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.result(), QDialog::Accepted);
}
