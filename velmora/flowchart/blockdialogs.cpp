#include "velmora/flowchart/blockdialogs.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

// A dialog border without border icons; the owner keeps it above the editor.
void makeDialog(QDialog* d, const QString& caption, int width, int height) {
  d->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  d->setWindowTitle(caption);
  d->setFixedSize(width, height);
  d->setModal(true);
}

QPushButton* button(QDialog* d, const QString& name, const QString& text, const QRect& at) {
  auto* b = new QPushButton(text, d);
  b->setObjectName(name);
  b->setGeometry(at);
  // Enter and Esc are the dialogs' own business (see their key handlers).
  b->setAutoDefault(false);
  return b;
}

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

// ------------------------------------------------------------------ TRectForm

TRectForm::TRectForm(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("RectForm"));
  makeDialog(this, QStringLiteral("Оператор"), 257, 153);
  // The design captions, as automatic naming shows them before UpdatePrompt runs.
  Label1 = new QLabel(QStringLiteral("              Введите выходной сигнал,"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(8, 6, 241, 16);
  Label2 = new QLabel(QStringLiteral("   например, y1"), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setGeometry(72, 22, 177, 16);
  // A long text shows as a part of it; what is changed there goes into the whole text.
  RectEdit = new longlines::LineEdit(this);
  RectEdit->setObjectName(QStringLiteral("RectEdit"));
  RectEdit->setGeometry(72, 42, 113, 65);
  RectEdit->setAlignment(Qt::AlignCenter);
  RectButton = button(this, QStringLiteral("RectButton"), QStringLiteral("OK"), QRect(40, 118, 80, 25));
  RectXButton =
      button(this, QStringLiteral("RectXButton"), QStringLiteral("Отмена"), QRect(137, 118, 80, 25));
  connect(RectButton, &QPushButton::clicked, this, &TRectForm::RectButtonClick);
  connect(RectXButton, &QPushButton::clicked, this, &TRectForm::RectXButtonClick);
  for (QWidget* w : {static_cast<QWidget*>(RectEdit), static_cast<QWidget*>(RectButton),
                     static_cast<QWidget*>(RectXButton)})
    w->installEventFilter(this);
  RectEdit->setFocus();
}

void TRectForm::UpdatePrompt() {
  if (userNaming) {
    Label1->setText(QStringLiteral("Введите имя состояния и выходной сигнал,"));
    Label2->setText(QStringLiteral("например, s0(y1)"));
  } else {
    Label1->setText(QStringLiteral("               Введите выходной сигнал,"));
    Label2->setText(QStringLiteral("   например, y1"));
  }
}

void TRectForm::RectButtonClick() {
  if (!RectEdit->text().isEmpty()) accept();
}

void TRectForm::RectXButtonClick() { reject(); }

bool TRectForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == RectXButton && (isEnter(key) || key == Qt::Key_Escape)) {
      reject();
      return true;
    }
    if (watched != RectXButton && isEnter(key)) {
      RectButtonClick();
      return true;
    }
    if (watched != RectXButton && key == Qt::Key_Escape) {
      reject();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TRectForm::keyPressEvent(QKeyEvent* event) {
  if (isEnter(event->key()))
    RectButtonClick();
  else if (event->key() == Qt::Key_Escape)
    reject();
  else
    QDialog::keyPressEvent(event);
}

// ------------------------------------------------------------------ TRombForm

const QString TRombForm::kNoExit = QStringLiteral("нет перехода");

TRombForm::TRombForm(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("RombForm"));
  makeDialog(this, QStringLiteral("Условие"), 334, 168);
  QFont f = font();
  f.setPixelSize(13);
  setFont(f);
  RombEdit = new longlines::LineEdit(this);
  RombEdit->setObjectName(QStringLiteral("RombEdit"));
  RombEdit->setFrame(false);
  RombEdit->setAlignment(Qt::AlignCenter);
  RombEdit->setGeometry(130, 36, 80, 30);
  auto combo = [this](const char* name, int x, int y) {
    auto* c = new QComboBox(this);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems({QStringLiteral("0"), QStringLiteral("1"), kNoExit});
    c->setCurrentIndex(-1);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    c->setGeometry(x, y, 100, 24);
    c->installEventFilter(this);
    return c;
  };
  LeftCombo = combo("LeftCombo", 10, 15);
  RightCombo = combo("RightCombo", 230, 15);
  DownCombo = combo("DownCombo", 120, 96);
  RombButton = button(this, QStringLiteral("RombButton"), QStringLiteral("OK"), QRect(80, 134, 80, 25));
  RombXButton =
      button(this, QStringLiteral("RombXButton"), QStringLiteral("Отмена"), QRect(180, 134, 80, 25));
  // The combos take the width of their longest item ("нет перехода" in the style's own font
  // and frame); the dialog widens by as much on each side and everything else moves to stay
  // centred.
  const int w = qMax(100, LeftCombo->minimumSizeHint().width());
  shift_ = w - 100;
  if (shift_ > 0) {
    setFixedSize(334 + 2 * shift_, height());
    LeftCombo->resize(w, 24);
    RightCombo->setGeometry(230 + shift_, 15, w, 24);
    DownCombo->setGeometry(170 + shift_ - w / 2, 96, w, 24);
    for (QWidget* c : {static_cast<QWidget*>(RombEdit), static_cast<QWidget*>(RombButton),
                       static_cast<QWidget*>(RombXButton)})
      c->move(c->x() + shift_, c->y());
  }
  // Only the user's choice counts as a change; presetting a combo does not.
  connect(LeftCombo, &QComboBox::activated, this, &TRombForm::LeftComboChange);
  connect(RightCombo, &QComboBox::activated, this, &TRombForm::RightComboChange);
  connect(DownCombo, &QComboBox::activated, this, &TRombForm::DownComboChange);
  connect(RombButton, &QPushButton::clicked, this, &TRombForm::RombButtonClick);
  connect(RombXButton, &QPushButton::clicked, this, &TRombForm::RombXButtonClick);
  for (QWidget* control : {static_cast<QWidget*>(RombEdit), static_cast<QWidget*>(RombButton),
                           static_cast<QWidget*>(RombXButton)})
    control->installEventFilter(this);
  RombEdit->setFocus();
}

void TRombForm::preset(const gsa::ConditionBlock& block) {
  RombEdit->setWholeText(block.text);
  const QString* labels[3] = {&block.left, &block.right, &block.down};
  QComboBox* combos[3] = {LeftCombo, RightCombo, DownCombo};
  for (int i = 0; i < 3; ++i)
    combos[i]->setCurrentIndex(labels[i]->isEmpty() ? -1 : combos[i]->findText(*labels[i]));
}

gsa::ConditionBlock TRombForm::block() const {
  return {RombEdit->wholeText(), LeftCombo->currentIndex() < 0 ? QString() : LeftCombo->currentText(),
          RightCombo->currentIndex() < 0 ? QString() : RightCombo->currentText(),
          DownCombo->currentIndex() < 0 ? QString() : DownCombo->currentText()};
}

namespace {

// An exit label is chosen once: another combo holding the same item loses it.
void takeExclusive(QComboBox* changed, QComboBox* first, QComboBox* second) {
  if (changed->currentIndex() < 0) return;
  for (QComboBox* other : {first, second})
    if (other->currentIndex() == changed->currentIndex()) other->setCurrentText(TRombForm::kNoExit);
}

bool zeroAndOne(const QComboBox* a, const QComboBox* b) {
  const QString x = a->currentIndex() < 0 ? QString() : a->currentText();
  const QString y = b->currentIndex() < 0 ? QString() : b->currentText();
  return (x == QLatin1String("0") && y == QLatin1String("1")) ||
         (x == QLatin1String("1") && y == QLatin1String("0"));
}

}  // namespace

void TRombForm::LeftComboChange() { takeExclusive(LeftCombo, RightCombo, DownCombo); }
void TRombForm::RightComboChange() { takeExclusive(RightCombo, LeftCombo, DownCombo); }
void TRombForm::DownComboChange() { takeExclusive(DownCombo, LeftCombo, RightCombo); }

void TRombForm::RombButtonClick() {
  // With both labels given, the third exit has no transition.
  if (zeroAndOne(LeftCombo, RightCombo)) DownCombo->setCurrentText(kNoExit);
  if (zeroAndOne(LeftCombo, DownCombo)) RightCombo->setCurrentText(kNoExit);
  if (zeroAndOne(RightCombo, DownCombo)) LeftCombo->setCurrentText(kNoExit);
  if (RombEdit->text().isEmpty()) return;
  for (const QComboBox* c : {LeftCombo, RightCombo, DownCombo})
    if (c->currentIndex() < 0) return;
  accept();
}

void TRombForm::RombXButtonClick() { reject(); }

bool TRombForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (isEnter(key) || key == Qt::Key_Escape) {
      if (watched == RombXButton || key == Qt::Key_Escape)
        reject();
      else
        RombButtonClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TRombForm::keyPressEvent(QKeyEvent* event) {
  if (isEnter(event->key()))
    RombButtonClick();
  else if (event->key() == Qt::Key_Escape)
    reject();
  else
    QDialog::keyPressEvent(event);
}

void TRombForm::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  // The rhombus the edit and the combos stand around.
  QPainter p(this);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  const QPoint corners[4] = {{170, 10}, {100, 50}, {170, 90}, {240, 50}};
  p.translate(shift_, 0);
  p.drawPolygon(corners, 4);
}

// ------------------------------------------------------------------ TSoedForm

TSoedForm::TSoedForm(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("SoedForm"));
  makeDialog(this, QStringLiteral("Соединитель"), 280, 140);
  auto* group = new QGroupBox(QStringLiteral("Тип соединителя"), this);
  group->setGeometry(10, 8, 260, 82);
  auto* v = new QVBoxLayout(group);
  DizRadio = new QRadioButton(QStringLiteral("Дизъюнктивный"));
  DizRadio->setObjectName(QStringLiteral("DizRadio"));
  DizRadio->setChecked(true);
  ConRadio = new QRadioButton(QStringLiteral("Конъюнктивный"));
  ConRadio->setObjectName(QStringLiteral("ConRadio"));
  v->addWidget(DizRadio);
  v->addWidget(ConRadio);
  SoedButton = button(this, QStringLiteral("SoedButton"), QStringLiteral("OK"), QRect(50, 104, 80, 25));
  SoedXButton =
      button(this, QStringLiteral("SoedXButton"), QStringLiteral("Отмена"), QRect(150, 104, 80, 25));
  connect(SoedButton, &QPushButton::clicked, this, &TSoedForm::SoedButtonClick);
  connect(SoedXButton, &QPushButton::clicked, this, &TSoedForm::SoedXButtonClick);
  SoedButton->installEventFilter(this);
  SoedXButton->installEventFilter(this);
  SoedButton->setFocus();
}

void TSoedForm::SoedButtonClick() {
  type = DizRadio->isChecked() ? QStringLiteral("D") : QStringLiteral("C");
  accept();
}

void TSoedForm::SoedXButtonClick() { reject(); }

bool TSoedForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == SoedXButton) {  // any key on the Cancel button cancels
      reject();
      return true;
    }
    if (watched == SoedButton && isEnter(key)) {
      SoedButtonClick();
      return true;
    }
    if (watched == SoedButton && key == Qt::Key_Escape) {
      reject();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

// ------------------------------------------------------------------ DialogAsker

bool DialogAsker::askOperator(bool userNaming, QString* text) {
  TRectForm f(owner_);
  f.userNaming = userNaming;
  f.UpdatePrompt();
  f.RectEdit->setWholeText(*text);
  if (f.exec() != QDialog::Accepted) return false;
  *text = f.RectEdit->wholeText();
  return true;
}

bool DialogAsker::askCondition(gsa::ConditionBlock* block) {
  TRombForm f(owner_);
  f.preset(*block);
  if (f.exec() != QDialog::Accepted) return false;
  *block = f.block();
  return true;
}

bool DialogAsker::askConnector(QString* type) {
  TSoedForm f(owner_);
  if (f.exec() != QDialog::Accepted) return false;
  *type = f.type;
  return true;
}

}  // namespace velmora
