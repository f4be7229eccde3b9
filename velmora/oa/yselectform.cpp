#include "velmora/oa/yselectform.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "velmora/oa/oasignals.h"

namespace velmora {

TYSelectForm* YSelectForm = nullptr;

namespace {

// The selected item of a list, or -1: a current row that is not selected does not count.
int selectedRow(const QListWidget* list) {
  const QListWidgetItem* it = list->currentItem();
  return it && it->isSelected() ? list->row(it) : -1;
}

void unselect(QListWidget* list) {
  list->clearSelection();
  list->setCurrentRow(-1);
}

}  // namespace

TYSelectForm::TYSelectForm(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Выберите сигнал"));
  PassivY = new QListWidget(this);
  PassivY->setObjectName(QStringLiteral("PassivY"));
  PassivY->setToolTip(QStringLiteral("Пассивные сигналы"));
  ActivY = new QListWidget(this);
  ActivY->setObjectName(QStringLiteral("ActivY"));
  ActivY->setToolTip(QStringLiteral("Активные сигналы"));
  auto button = [this](const QString& text, const char* name, void (TYSelectForm::*handler)()) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
  };
  yToActiv = button(QStringLiteral(">"), "yToActiv", &TYSelectForm::PassivYDblClick);
  yToPassiv = button(QStringLiteral("<"), "yToPassiv", &TYSelectForm::ActivYDblClick);
  yAllActiv = button(QStringLiteral(">>"), "yAllActiv", &TYSelectForm::yAllActivClick);
  yAllPassiv = button(QStringLiteral("<<"), "yAllPassiv", &TYSelectForm::yAllPassivClick);
  Button1 = button(QStringLiteral("OK"), "Button1", &TYSelectForm::OkButtonClick);
  Button1->setDefault(true);
  connect(PassivY, &QListWidget::itemDoubleClicked, this, [this] { PassivYDblClick(); });
  connect(ActivY, &QListWidget::itemDoubleClicked, this, [this] { ActivYDblClick(); });

  auto* middle = new QVBoxLayout;
  middle->addStretch();
  for (QPushButton* b : {yToActiv, yToPassiv, yAllActiv, yAllPassiv}) {
    b->setFixedWidth(32);
    middle->addWidget(b);
  }
  middle->addStretch();
  auto* lay = new QGridLayout(this);
  lay->addWidget(PassivY, 0, 0);
  lay->addLayout(middle, 0, 1);
  lay->addWidget(ActivY, 0, 2);
  lay->addWidget(Button1, 1, 0, 1, 3, Qt::AlignHCenter);
  setFixedSize(272, 188);
}

void TYSelectForm::addPassive(const QString& name) {
  PassivY->insertItem(oa::sortedPosition(passive(), name), name);
}

void TYSelectForm::setSignals(const QStringList& passiveNames, const QStringList& activeNames) {
  PassivY->clear();
  ActivY->clear();
  QStringList sorted = passiveNames;
  oa::sortSignals(&sorted);
  PassivY->addItems(sorted);
  ActivY->addItems(activeNames);
  unselect(PassivY);
  unselect(ActivY);
}

QStringList TYSelectForm::passive() const {
  QStringList out;
  for (int i = 0; i < PassivY->count(); ++i) out << PassivY->item(i)->text();
  return out;
}

QStringList TYSelectForm::active() const {
  QStringList out;
  for (int i = 0; i < ActivY->count(); ++i) out << ActivY->item(i)->text();
  return out;
}

void TYSelectForm::PassivYDblClick() {
  const int row = selectedRow(PassivY);
  if (row < 0) return;
  const QString name = PassivY->item(row)->text();
  delete PassivY->takeItem(row);
  ActivY->addItem(name);
  unselect(PassivY);
}

void TYSelectForm::ActivYDblClick() {
  const int row = selectedRow(ActivY);
  if (row < 0) return;
  const QString name = ActivY->item(row)->text();
  delete ActivY->takeItem(row);
  addPassive(name);
  unselect(ActivY);
}

void TYSelectForm::yAllActivClick() {
  ActivY->addItems(passive());
  PassivY->clear();
}

void TYSelectForm::yAllPassivClick() {
  for (const QString& name : active()) addPassive(name);
  ActivY->clear();
}

void TYSelectForm::OkButtonClick() { accept(); }

}  // namespace velmora
