#include "tiravo/forms/derror.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/frame.h"

namespace tiravo {

TDError* DError = nullptr;

namespace {
constexpr int kShortHeight = 116;
constexpr int kHelpHeight = 160;
}  // namespace

TDError::TDError(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Ошибка "));
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Ошибка в исходной таблице!"), this), 0, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Транслируемое событие: "), this), 1, 0);
  s = new QLabel(this);
  grid->addWidget(s, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Сигнал на переходе:"), this), 2, 0);
  x = new QLabel(this);
  grid->addWidget(x, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("Статус:"), this), 3, 0);
  grid->addWidget(new QLabel(QStringLiteral("Отсутствует событие перехода!"), this), 3, 1);
  bClose = new QPushButton(QStringLiteral("Закрыть"), this);
  bHelp = new QPushButton(QStringLiteral("Спрака"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(bHelp);
  buttons->addWidget(bClose);
  pHelp = new QWidget(this);
  helpText = new QPlainTextEdit(pHelp);
  helpText->setReadOnly(true);
  helpText->setPlainText(
      QStringLiteral("    Причина:\n"
                     "В исходной таблице при трансляции текущего события\n"
                     "происходит генерация полного списка входных сигналов\n"
                     "на переходе. Это гарантирует детерминированность и полноту\n"
                     "получаемой таблицы. Однако, в исходной таблице\n"
                     "переходы могут быть заданы не полностью ,что допустимо\n"
                     "для моделирования, но не приемлимо для детерминизации.\n"
                     "\n"
                     "    Исправление ошибки:\n"
                     "Вернитесь к исходной таблице и для указанного события\n"
                     "добавте событие перехода по сигналу, указанному в сообщении."));
  (new QVBoxLayout(pHelp))->addWidget(helpText);
  auto* main = new QVBoxLayout(this);
  main->addLayout(grid);
  main->addLayout(buttons);
  main->addWidget(pHelp);
  connect(bClose, &QPushButton::clicked, this, &QDialog::accept);
  connect(bHelp, &QPushButton::clicked, this, &TDError::bHelpClick);
  Reset();
}

void TDError::Reset() {
  pHelp->hide();
  bHelp->show();
  resize(420, kShortHeight);
}

void TDError::bHelpClick() {
  pHelp->show();
  bHelp->hide();
  resize(width(), height() + kHelpHeight);
}

TDError* DErrorDialog(QWidget* frameWindow) {
  if (!DError) {
    DError = new TDError(frameWindow);
    QObject::connect(DError, &QObject::destroyed, [] { DError = nullptr; });
  }
  return DError;
}

void createDErrorDialog(QWidget* frameWindow) { DErrorDialog(frameWindow); }

}  // namespace tiravo
