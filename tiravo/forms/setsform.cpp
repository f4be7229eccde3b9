#include "tiravo/forms/setsform.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/icons/glyphs.h"
#include "platform/dialogs.h"

namespace tiravo {

namespace {

QListWidget* SortedList(const QString& hint, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setSortingEnabled(true);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setToolTip(hint);
  return list;
}

QPushButton* MoveButton(const QString& caption, const QString& hint, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
  b->setStatusTip(hint.section(QLatin1Char('|'), -1));
  b->setAutoDefault(false);
  return b;
}

QStringList Items(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

}  // namespace

TSetSForm::TSetSForm(QWidget* parent) : QDialog(parent) {
  setToolTip(QStringLiteral("Панель установки состояний"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  resize(438, 318);

  gbAct = new QGroupBox(this);
  Act = SortedList(QStringLiteral("Активный список"), gbAct);
  (new QVBoxLayout(gbAct))->addWidget(Act);
  gbPass = new QGroupBox(this);
  Pass = SortedList(QStringLiteral("Пассивный список"), gbPass);
  (new QVBoxLayout(gbPass))->addWidget(Pass);

  btAct =
      MoveButton(QStringLiteral("<"), QStringLiteral("Сделать активным|Сделать состояние  активным"), this);
  btPass = MoveButton(QStringLiteral(">"),
                      QStringLiteral("Сделать пассивным|сделать текущее состояние пассивным"), this);
  btAllAct =
      MoveButton(QStringLiteral("<<"), QStringLiteral("Все активные|Сделать все состояния активными"), this);
  btAllPass = MoveButton(QStringLiteral(">>"),
                         QStringLiteral("Все пассивные|Сделать все состояния пассивными"), this);
  // The two single moves show arrows; the moves of all keep their captions.
  btAct->setText(QString());
  btAct->setIcon(glyphs::icon(glyphs::Glyph::MoveLeft));
  btPass->setText(QString());
  btPass->setIcon(glyphs::icon(glyphs::Glyph::MoveRight));
  auto* moves = new QVBoxLayout;
  moves->addStretch();
  for (QPushButton* b : {btAct, btPass, btAllAct, btAllPass}) moves->addWidget(b);
  moves->addStretch();

  lZ = new QLabel(QStringLiteral("Установленный сигнал:"), this);
  eZ = new QLineEdit(this);
  eZ->setReadOnly(true);
  lbZ = new QListWidget(this);
  lbZ->setSortingEnabled(true);

  btOk = new QPushButton(QStringLiteral("OK"), this);
  btOk->setDefault(true);
  btCancel = new QPushButton(QStringLiteral("Отмена"), this);

  auto* lists = new QHBoxLayout;
  lists->addWidget(gbAct);
  lists->addLayout(moves);
  lists->addWidget(gbPass);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btOk);
  buttons->addWidget(btCancel);
  auto* main = new QVBoxLayout(this);
  main->addLayout(lists);
  main->addWidget(lZ);
  main->addWidget(eZ);
  main->addWidget(lbZ);
  main->addLayout(buttons);

  connect(btAct, &QPushButton::clicked, this, &TSetSForm::btActClick);
  connect(btPass, &QPushButton::clicked, this, &TSetSForm::btPassClick);
  connect(btAllAct, &QPushButton::clicked, this, &TSetSForm::btAllActClick);
  connect(btAllPass, &QPushButton::clicked, this, &TSetSForm::btAllPassClick);
  connect(Pass, &QListWidget::itemDoubleClicked, this, &TSetSForm::btActClick);
  connect(Act, &QListWidget::itemDoubleClicked, this, &TSetSForm::btPassClick);
  connect(Act, &QListWidget::itemSelectionChanged, this, &TSetSForm::UpdateButtons);
  connect(Pass, &QListWidget::itemSelectionChanged, this, &TSetSForm::UpdateButtons);
  connect(lbZ, &QListWidget::currentItemChanged, this, &TSetSForm::lbZClick);
  connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
  Act->installEventFilter(this);
  Pass->installEventFilter(this);
  ShowLetterMode(false);
  UpdateButtons();
}

void TSetSForm::ShowLetterMode(bool letter) {
  for (QWidget* w :
       {static_cast<QWidget*>(gbAct), static_cast<QWidget*>(gbPass), static_cast<QWidget*>(btAct),
        static_cast<QWidget*>(btPass), static_cast<QWidget*>(btAllAct), static_cast<QWidget*>(btAllPass)})
    w->setVisible(!letter);
  for (QWidget* w : {static_cast<QWidget*>(lZ), static_cast<QWidget*>(eZ), static_cast<QWidget*>(lbZ)})
    w->setVisible(letter);
}

bool TSetSForm::SetIt(const QStringList& names, const SignalSet& set, int mode) {
  static const char* const kCaptions[] = {"Установка исходного состояния для моделирования",
                                          "Установка двоичных входных сигналов",
                                          "Установка абстрактных входных сигналов на шаге моделирования"};
  if (mode < EventSet || mode > AbstractInput) {
    dlg::message(this, QStringLiteral("Ошибка в методе 'SetSForm::SetIt'!"), QStringLiteral("Error!"),
                 dlg::Ok, dlg::Critical);
    return false;
  }
  Mode = static_cast<unsigned char>(mode);
  setWindowTitle(QString::fromUtf8(kCaptions[mode]));
  Act->clear();
  Pass->clear();
  lbZ->clear();
  eZ->clear();
  ShowLetterMode(mode == AbstractInput);
  if (mode == AbstractInput) {
    lbZ->addItems(names);
    const QString chosen = set.IsEmpty() ? QString() : SignalName(names, set.At(0));
    const QList<QListWidgetItem*> found = lbZ->findItems(chosen, Qt::MatchExactly);
    lbZ->setCurrentItem(found.isEmpty() ? lbZ->item(0) : found.first());
    if (lbZ->currentItem()) eZ->setText(lbZ->currentItem()->text());
    // With no letter to choose OK would have nothing to give back.
    btOk->setEnabled(lbZ->count() > 0);
    return true;
  }
  btOk->setEnabled(true);
  if (mode == EventSet) {
    gbAct->setTitle(QStringLiteral("Активные  события"));
    gbPass->setTitle(QStringLiteral("Пассивные события"));
  } else {
    gbAct->setTitle(QStringLiteral("Сигналы,равные 1"));
    gbPass->setTitle(QStringLiteral("Сигналы,равные 0"));
  }
  if (mode == BinaryInput && set.IsEmpty()) {
    Act->addItems(names);
  } else {
    Pass->addItems(names);
    for (qint32 e : set) {
      if (e <= 0) continue;
      const QList<QListWidgetItem*> found = Pass->findItems(SignalName(names, e), Qt::MatchExactly);
      if (found.isEmpty()) continue;
      Act->addItem(Pass->takeItem(Pass->row(found.first())));
    }
  }
  UpdateButtons();
  return true;
}

void TSetSForm::GetIt(QString& text, const QStringList& names, SignalSet& set) const {
  set.Clear();
  if (Mode == AbstractInput) {
    text = lbZ->currentItem() ? lbZ->currentItem()->text() : QString();
    const int index = int(names.indexOf(text));
    if (index >= 0) set.Insert(index + 1);
    return;
  }
  for (const QString& name : Items(Act)) {
    const int index = int(names.indexOf(name));
    if (index >= 0) set.Insert(index + 1);
  }
  if (Mode == BinaryInput) {
    for (const QString& name : Items(Pass)) {
      const int index = int(names.indexOf(name));
      if (index >= 0) set.Insert(-(index + 1));
    }
    text = SSignalSet(set).ToText(names);
  } else {
    text = USignalSet(set).ToText(names);
  }
}

void TSetSForm::UpdateButtons() {
  const bool passive = Pass->count() > 0, active = Act->count() > 0;
  btAllAct->setEnabled(passive);
  btAct->setEnabled(passive);
  Pass->setEnabled(passive);
  btAllPass->setEnabled(active);
  btPass->setEnabled(active);
  Act->setEnabled(active);
}

void TSetSForm::Move(QListWidget* from, QListWidget* to) {
  int topmost = -1;
  for (int i = from->count() - 1; i >= 0; --i) {
    if (!from->item(i)->isSelected()) continue;
    QListWidgetItem* item = from->takeItem(i);
    item->setSelected(false);
    to->addItem(item);
    topmost = i;
  }
  if (topmost < 0) return;
  from->clearSelection();
  if (from->count() > 0) {
    QListWidgetItem* next = from->item(topmost > 0 ? topmost - 1 : 0);
    from->setCurrentItem(next);
    next->setSelected(true);
  }
  UpdateButtons();
}

void TSetSForm::MoveAll(QListWidget* from, QListWidget* to) {
  while (from->count() > 0) to->addItem(from->takeItem(0));
  to->clearSelection();
  if (to->count() > 0) to->setCurrentRow(0);
  UpdateButtons();
}

void TSetSForm::btActClick() { Move(Pass, Act); }
void TSetSForm::btPassClick() { Move(Act, Pass); }
void TSetSForm::btAllActClick() { MoveAll(Pass, Act); }
void TSetSForm::btAllPassClick() { MoveAll(Act, Pass); }

void TSetSForm::lbZClick() {
  if (lbZ->currentItem()) eZ->setText(lbZ->currentItem()->text());
}

bool TSetSForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == Act || watched == Pass)) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool fromAct = watched == Act;
    if (key == Qt::Key_Delete) {
      fromAct ? btPassClick() : btActClick();
      return true;
    }
    if (fromAct && key == Qt::Key_Right) {
      Pass->setFocus();
      return true;
    }
    if (!fromAct && key == Qt::Key_Left) {
      Act->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TSetSForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  UpdateButtons();
}

}  // namespace tiravo
