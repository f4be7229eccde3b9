#include "servers/simulatorwindow.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/longlines.h"

namespace servers {

SimulatorWindow::SimulatorWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FsmSimulatorWindow"));
  resize(640, 520);

  startEdit = new QLineEdit(this);
  resetButton = new QPushButton(QStringLiteral("С&брос"), this);
  resetButton->setToolTip(QStringLiteral("Начать моделирование с начального состояния"));
  auto* startRow = new QHBoxLayout;
  startRow->addWidget(new QLabel(QStringLiteral("Начальное состояние:"), this));
  startRow->addWidget(startEdit, 1);
  startRow->addWidget(resetButton);

  inputsList = new QListWidget(this);
  auto* inputsBox = new QGroupBox(QStringLiteral("Входные сигналы"), this);
  auto* inputsLayout = new QVBoxLayout(inputsBox);
  inputsLayout->addWidget(inputsList);

  stepButton = new QPushButton(QStringLiteral("&Шаг"), this);
  backButton = new QPushButton(QStringLiteral("&Назад"), this);
  stateLabel = new QLabel(this);
  outputsLabel = new QLabel(this);
  stateLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  outputsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* now = new QFormLayout;
  now->addRow(QStringLiteral("Состояние:"), stateLabel);
  now->addRow(QStringLiteral("Выходы:"), outputsLabel);
  auto* buttons = new QVBoxLayout;
  buttons->addLayout(now);
  buttons->addWidget(stepButton);
  buttons->addWidget(backButton);
  buttons->addStretch(1);

  auto* middle = new QHBoxLayout;
  middle->addWidget(inputsBox, 1);
  middle->addLayout(buttons, 1);

  historyTable = new QTableWidget(0, 4, this);
  historyTable->setHorizontalHeaderLabels(
      {QStringLiteral("Шаг"), QStringLiteral("Вход"), QStringLiteral("Состояние"), QStringLiteral("Выходы")});
  historyTable->verticalHeader()->hide();
  historyTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  historyTable->horizontalHeader()->setStretchLastSection(true);
  statusMemo = new longlines::TextEdit(this);
  statusMemo->setReadOnly(true);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(historyTable);
  split->addWidget(statusMemo);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(startRow);
  layout->addLayout(middle);
  layout->addWidget(split, 1);

  connect(resetButton, &QPushButton::clicked, this, [this] { resetClick(); });
  connect(stepButton, &QPushButton::clicked, this, [this] { stepClick(); });
  connect(backButton, &QPushButton::clicked, this, [this] { backClick(); });
  refresh();
}

bool SimulatorWindow::open(const QString& path) {
  path_ = path;
  if (session_.open(path) != 0) return false;
  setWindowTitle(QStringLiteral("Моделирование УА - %1").arg(QFileInfo(path).fileName()));
  inputsList->clear();
  for (const QString& name : session_.simulator().model().inputs) {
    auto* item = new QListWidgetItem(name, inputsList);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  startEdit->setText(session_.startText());
  resetClick();
  return true;
}

QString SimulatorWindow::inputText() const {
  const bool abstract = session_.simulator().model().abstractInputs();
  QStringList parts;
  for (int i = 0; i < inputsList->count(); ++i) {
    const QListWidgetItem* item = inputsList->item(i);
    const bool on = item->checkState() == Qt::Checked;
    if (on)
      parts << item->text();
    else if (!abstract)
      parts << item->text().toUpper();
  }
  return parts.join(QLatin1Char('&'));
}

void SimulatorWindow::setInputChecked(const QString& name, bool checked) {
  for (int i = 0; i < inputsList->count(); ++i)
    if (inputsList->item(i)->text() == name)
      inputsList->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void SimulatorWindow::resetClick() {
  session_.reset(startEdit->text());
  refresh();
}

void SimulatorWindow::stepClick() {
  session_.step(inputText());
  refresh();
}

void SimulatorWindow::backClick() {
  session_.back();
  refresh();
}

void SimulatorWindow::refresh() {
  const auto& rows = session_.history();
  historyTable->setRowCount(int(rows.size()));
  for (int r = 0; r < rows.size(); ++r) {
    const fsm::HistoryRow& h = rows[r];
    const QString cells[] = {QString::number(h.step), h.input, h.state, h.outputs};
    for (int c = 0; c < 4; ++c) historyTable->setItem(r, c, new QTableWidgetItem(cells[c]));
  }
  if (!rows.isEmpty()) historyTable->scrollToBottom();
  stateLabel->setText(rows.isEmpty() ? QString() : rows.last().state);
  outputsLabel->setText(rows.isEmpty() ? QString() : rows.last().outputs);
  stepButton->setEnabled(!rows.isEmpty());
  backButton->setEnabled(rows.size() > 1);
  statusMemo->setText(session_.status(), false);
}

}  // namespace servers
