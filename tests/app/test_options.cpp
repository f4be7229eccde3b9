#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest/QTest>

#include "fakechild.h"

TEST(Options, DefaultStringGivesDesignValues) {
  FrameHarness h(false);
  TOptionsForm* o = OptionsForm;
  EXPECT_EQ(o->windowTitle(), "Настройки");
  EXPECT_EQ(h.frame->Options, "zxyss&10&s0&11&s0&y0&sk&yk&0000&0&1");
  EXPECT_EQ(o->InAbstr->text(), "z");
  EXPECT_EQ(o->InDigit->text(), "x");
  EXPECT_EQ(o->OutSgn->text(), "y");
  EXPECT_EQ(o->InSob->text(), "s");
  EXPECT_EQ(o->OutSob->text(), "s");
  EXPECT_EQ(o->FontSizeMes->currentText(), "10");
  EXPECT_EQ(o->RvasS0->text(), "s0");
  EXPECT_TRUE(o->AutoNumBox->isChecked());
  EXPECT_TRUE(o->TrackFigBox->isChecked());
  EXPECT_FALSE(o->MoveEventBox->isChecked());
  EXPECT_EQ(o->BegEdit->text(), "s0");
  EXPECT_EQ(o->BegyEdit->text(), "y0");
  EXPECT_EQ(o->EndEdit->text(), "sk");
  EXPECT_EQ(o->EndyEdit->text(), "yk");
  EXPECT_FALSE(o->a_state->isChecked());
  EXPECT_FALSE(o->a_in->isChecked());
  EXPECT_FALSE(o->a_out->isChecked());
  EXPECT_EQ(o->triggerType(), 0);
  EXPECT_TRUE(o->AutoReg->isChecked());
  EXPECT_EQ(o->pages->tabText(o->pages->currentIndex()), "ГСА");
  QStringList tabs;
  for (int i = 0; i < o->pages->count(); ++i) tabs << o->pages->tabText(i);
  EXPECT_EQ(tabs, QStringList({"Обшие", "РВАС", "ГСА", "Таблица переходов", "Моделирование"}));
  // Typed getters.
  EXPECT_EQ(o->inAbstr(), QChar('z'));
  EXPECT_EQ(o->inDigit(), QChar('x'));
  EXPECT_EQ(o->outSgn(), QChar('y'));
  EXPECT_EQ(o->inSob(), QChar('s'));
  EXPECT_EQ(o->outSob(), QChar('s'));
  EXPECT_EQ(o->messageFontSize(), 10);
  EXPECT_EQ(o->rvasS0(), "s0");
  EXPECT_TRUE(o->autoNum());
  EXPECT_TRUE(o->trackFig());
  EXPECT_FALSE(o->moveEvent());
  EXPECT_EQ(o->begName(), "s0");
  EXPECT_EQ(o->begSignal(), "y0");
  EXPECT_EQ(o->endName(), "sk");
  EXPECT_EQ(o->endSignal(), "yk");
  EXPECT_FALSE(o->abstractStates() || o->abstractInputs() || o->abstractOutputs());
  EXPECT_TRUE(o->autoReg());
}

TEST(Options, RebuiltDefaultsLoadToTheSameControls) {
  FrameHarness h(false);
  TOptionsForm* o = OptionsForm;
  const OptionValues before = o->values();
  o->DefBtnClick();
  EXPECT_EQ(h.frame->Options, "zxyss&10&s0&11&s0&y0&sk&yk&1000&0&1");
  o->LoadOptions();
  EXPECT_EQ(o->values(), before);
}

TEST(Options, ChangedDialogRoundTrips) {
  FrameHarness h(false);
  TOptionsForm* o = OptionsForm;
  o->InAbstr->setText("a");
  o->InDigit->setText("b");
  o->OutSgn->setText("w");
  o->InSob->setText("q");
  o->OutSob->setText("r");
  o->FontSizeMes->setEditText("14");
  o->RvasS0->setText("start");
  o->AutoNumBox->setChecked(false);
  o->TrackFigBox->setChecked(true);
  o->BegEdit->setText("b0");
  o->BegyEdit->setText("u0");
  o->EndEdit->setText("bk");
  o->EndyEdit->setText("uk");
  o->a_state->setChecked(false);
  o->a_in->setChecked(true);
  o->a_out->setChecked(true);
  o->triggerButtons->button(2)->setChecked(true);
  o->AutoReg->setChecked(false);
  const OptionValues changed = o->values();
  o->DefBtnClick();
  const QString saved = h.frame->Options;
  EXPECT_EQ(saved, "abwqr&14&start&01&b0&u0&bk&uk&1011&2&0");

  // A fresh dialog on the saved string shows every control again.
  delete OptionsForm;
  OptionsForm = new TOptionsForm(h.frame);
  EXPECT_EQ(OptionsForm->values(), changed);
  EXPECT_EQ(OptionsForm->triggerType(), 2);
  EXPECT_EQ(OptionsForm->letter(4), QChar('r'));
  EXPECT_EQ(OptionsForm->messageFontSize(), 14);
}

TEST(Options, CheckBoxFieldsFollowTheirCharacters) {
  FrameHarness h(false);
  TOptionsForm* o = OptionsForm;
  o->LoadOptions("zxyss&10&s0&00&s0&y0&sk&yk&1110&3&0");
  EXPECT_FALSE(o->autoNum());
  EXPECT_FALSE(o->trackFig());
  EXPECT_TRUE(o->abstractStates());
  EXPECT_TRUE(o->abstractInputs());
  EXPECT_FALSE(o->abstractOutputs());
  EXPECT_EQ(o->triggerType(), 3);
  EXPECT_FALSE(o->autoReg());
  o->LoadOptions("zxyss&10&s0&10");
  EXPECT_TRUE(o->autoNum());
  EXPECT_FALSE(o->trackFig());
  o->LoadOptions("zxys&10&&11");  // four letters: the design letters; empty name: default
  EXPECT_EQ(o->InAbstr->text(), "z");
  EXPECT_EQ(o->OutSob->text(), "s");
  EXPECT_EQ(o->rvasS0(), "s0");
  o->LoadOptions("");  // nothing happens
  EXPECT_EQ(o->rvasS0(), "s0");
}

TEST(Options, AbstractStatesDisablesTriggersAndOutputs) {
  FrameHarness h(false);
  TOptionsForm* o = OptionsForm;
  EXPECT_TRUE(o->triggers->isEnabled());
  EXPECT_TRUE(o->a_out->isEnabled());
  o->a_state->click();
  EXPECT_FALSE(o->triggers->isEnabled());
  EXPECT_FALSE(o->a_out->isEnabled());
  EXPECT_TRUE(o->a_in->isEnabled());
  o->a_state->click();
  EXPECT_TRUE(o->triggers->isEnabled());
  o->LoadOptions("zxyss&10&s0&11&s0&y0&sk&yk&1100&0&1");
  EXPECT_FALSE(o->triggers->isEnabled());
}

TEST(Options, EditsRefuseAmpersandAndLowerCase) {
  FrameHarness h(false);
  TOptionsForm* o = OptionsForm;
  o->show();
  for (QLineEdit* e : {o->InAbstr, o->RvasS0, o->BegEdit, o->EndyEdit}) {
    e->clear();
    e->setFocus();
    QTest::keyClicks(e, "A&b");
  }
  EXPECT_EQ(o->InAbstr->text(), "a");   // one character, lower case
  EXPECT_EQ(o->RvasS0->text(), "ab");   // lower case, no '&'
  EXPECT_EQ(o->BegEdit->text(), "Ab");  // no '&'
  EXPECT_EQ(o->EndyEdit->text(), "Ab");
  o->RvasS0->clear();
  QTest::keyClicks(o->RvasS0, "abcdefghijklmnopqrst");
  EXPECT_EQ(o->RvasS0->text().size(), 15);
  // Setters keep the string sound too.
  o->setBegName("x&y");
  EXPECT_EQ(o->begName(), "xy");
  o->setLetter(2, QChar('&'));
  EXPECT_EQ(o->OutSgn->text(), "");
  EXPECT_EQ(o->outSgn(), QChar('y'));  // an empty edit reads as its design letter
  o->DefBtnClick();
  EXPECT_EQ(h.frame->Options.count('&'), 10);
  o->hide();
}

TEST(Options, RecordLoadedFromDocumentAndWrittenOnOk) {
  FrameHarness h(false);
  TOptionsForm* o = OptionsForm;
  DocSettings rec;
  rec.InAbstr = 'p';
  rec.InDigit = 'i';
  rec.OutSgn = 'o';
  rec.InSob = 'e';
  rec.OutSob = 'f';
  rec.RvasS0 = "init";
  rec.fontSize = 12;
  o->lend(&rec, true);
  o->FormActivate();
  EXPECT_FALSE(o->fromDocumentFlag());
  EXPECT_EQ(o->InAbstr->text(), "p");
  EXPECT_EQ(o->OutSob->text(), "f");
  EXPECT_EQ(o->RvasS0->text(), "init");
  EXPECT_EQ(o->FontSizeMes->currentText(), "12");

  // An emptied letter keeps the record's letter.
  o->InDigit->clear();
  o->OutSgn->setText("v");
  o->RvasS0->setText("go");
  o->OKClick();
  EXPECT_EQ(rec.InAbstr, QChar('p'));
  EXPECT_EQ(rec.InDigit, QChar('i'));
  EXPECT_EQ(rec.OutSgn, QChar('v'));
  EXPECT_EQ(rec.RvasS0, "go");
  // OK never touches the stored defaults.
  EXPECT_EQ(h.frame->Options, "zxyss&10&s0&11&s0&y0&sk&yk&0000&0&1");

  // Without the flag the controls stay as they are.
  o->lend(&rec, false);
  o->InAbstr->setText("k");
  o->FormActivate();
  EXPECT_EQ(o->InAbstr->text(), "k");
  // Without a record OK does nothing.
  o->lend(nullptr, true);
  o->FormActivate();
  o->OKClick();
  EXPECT_EQ(o->InAbstr->text(), "k");
}

TEST(Options, FontSizeGoesToTheRecordAtOnce) {
  FrameHarness h(false);
  TOptionsForm* o = OptionsForm;
  DocSettings rec;
  rec.fontSize = 8;
  o->lend(&rec, true);
  o->FormActivate();
  o->FontSizeMes->setEditText("14");
  emit o->FontSizeMes->lineEdit()->textEdited("14");
  EXPECT_EQ(rec.fontSize, 14);
  o->FontSizeMes->setEditText("");
  o->FontSizeMesChange();  // being retyped: the record keeps its size
  EXPECT_EQ(rec.fontSize, 14);
  o->FontSizeMes->setEditText("0");
  o->FontSizeMesChange();
  EXPECT_EQ(rec.fontSize, 14);
  o->FontSizeMes->setEditText("18");
  emit o->FontSizeMes->textActivated("18");
  EXPECT_EQ(rec.fontSize, 18);
}

TEST(Options, ModalRunsAndCancelKeepsLettersButNotSize) {
  FrameHarness h(false);
  TOptionsForm* o = OptionsForm;
  DocSettings rec;
  rec.fontSize = 8;
  QTimer::singleShot(0, o, [o] {
    EXPECT_TRUE(o->isVisible());
    EXPECT_EQ(o->InAbstr->text(), "z");
    o->InAbstr->setText("m");
    o->FontSizeMes->setEditText("20");
    emit o->FontSizeMes->lineEdit()->textEdited("20");
    o->DefBtn->click();
    o->CancelBtn->click();
  });
  EXPECT_EQ(o->execFor(&rec, true), QDialog::Rejected);
  EXPECT_EQ(rec.InAbstr, QChar('z'));
  EXPECT_EQ(rec.fontSize, 20);
  EXPECT_EQ(o->record(), nullptr);
  // "&Сохранить по умолчанию" then Cancel keeps the rebuilt defaults.
  EXPECT_TRUE(h.frame->Options.startsWith("mxyss&20&"));

  QTimer::singleShot(0, o, [o] {
    o->OutSgn->setText("t");
    o->OKBtn->click();
  });
  EXPECT_EQ(o->execFor(&rec, true), QDialog::Accepted);
  EXPECT_EQ(rec.OutSgn, QChar('t'));
}

TEST(Options, FlowchartFillsItsPageThroughSetters) {
  FrameHarness h(false);
  TOptionsForm* o = OptionsForm;
  o->setAutoNum(false);
  o->setTrackFig(false);
  o->setMoveEvent(true);
  o->setBegName("b");
  o->setBegSignal("by");
  o->setEndName("e");
  o->setEndSignal("ey");
  o->setLetter(0, 'Q');
  EXPECT_FALSE(o->autoNum());
  EXPECT_FALSE(o->trackFig());
  EXPECT_TRUE(o->moveEvent());
  EXPECT_EQ(o->begName(), "b");
  EXPECT_EQ(o->begSignal(), "by");
  EXPECT_EQ(o->endName(), "e");
  EXPECT_EQ(o->endSignal(), "ey");
  EXPECT_EQ(o->inAbstr(), QChar('q'));
  // A new flowchart window resets the dialog from the stored string.
  o->LoadOptions();
  EXPECT_TRUE(o->autoNum());
  EXPECT_EQ(o->begName(), "s0");
  EXPECT_TRUE(o->moveEvent());  // not part of the stored string
}
