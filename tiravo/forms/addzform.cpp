#include "tiravo/forms/addzform.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "platform/dialogs.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/sim/letters.h"

namespace tiravo {

TAddZForm::TAddZForm(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  resize(392, 118);
  index = new QLabel(this);
  Name = new QLineEdit(QStringLiteral("z"), this);
  btOk = new QPushButton(QStringLiteral("OK"), this);
  btOk->setDefault(true);
  btCancel = new QPushButton(QStringLiteral("Отмена"), this);
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Номер сигнала в алфавите:"), this), 0, 0);
  grid->addWidget(index, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Имя сигнала:"), this), 1, 0);
  grid->addWidget(Name, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btOk);
  buttons->addWidget(btCancel);
  grid->addLayout(buttons, 2, 0, 1, 2);
  connect(btOk, &QPushButton::clicked, this, &TAddZForm::accept);
  connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TAddZForm::FormCloseQuery() {
  const QString refusal = LetterRefusal(Name->text(), Alphabet);
  if (refusal.isEmpty()) return true;
  dlg::message(this, refusal, QStringLiteral("Ошибка"), dlg::Ok, dlg::Information);
  return false;
}

void TAddZForm::accept() {
  if (FormCloseQuery()) QDialog::accept();
}

namespace {
QPointer<TAddZForm>& instance() {
  static QPointer<TAddZForm> form;
  return form;
}
}  // namespace

TAddZForm* AddZForm() {
  if (!instance()) instance() = new TAddZForm(nullptr);
  return instance();
}

// Made at start-up by the frame, which owns it, so it goes with the frame.
void createAddZDialog(QWidget* frame) {
  if (!instance()) instance() = new TAddZForm(frame);
}

}  // namespace tiravo
