#include "tiravo/forms/derror.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextDocument>
#include <algorithm>
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
  grid->setVerticalSpacing(2);
  grid->addWidget(new QLabel(QStringLiteral("Ошибка в исходной таблице!"), this), 0, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Транслируемое событие: "), this), 1, 0);
  s = new QLabel(this);
  grid->addWidget(s, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Сигнал на переходе:"), this), 2, 0);
  x = new QLabel(this);
  grid->addWidget(x, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("Статус:"), this), 3, 0);
  grid->addWidget(new QLabel(QStringLiteral("Отсутствует событие перехода!"), this), 3, 1);
  grid->setColumnStretch(1, 1);
  bClose = new QPushButton(QStringLiteral("Закрыть"), this);
  bHelp = new QPushButton(QStringLiteral("Спрака"), this);
  // The buttons stand beside the texts, so the short form holds everything in its height.
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(bClose);
  buttons->addWidget(bHelp);
  buttons->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(grid, 1);
  top->addLayout(buttons);
  pHelp = new QWidget(this);
  helpText = new QPlainTextEdit(pHelp);
  helpText->setReadOnly(true);
  // The lines are set as they should read: never re-wrapped.
  helpText->setLineWrapMode(QPlainTextEdit::NoWrap);
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
  auto* helpBox = new QVBoxLayout(pHelp);
  helpBox->setContentsMargins(0, 0, 0, 0);
  helpBox->addWidget(helpText);
  auto* main = new QVBoxLayout(this);
  main->setContentsMargins(8, 8, 8, 8);
  main->addLayout(top);
  main->addWidget(pHelp, 1);
  connect(bClose, &QPushButton::clicked, this, &QDialog::accept);
  connect(bHelp, &QPushButton::clicked, this, &TDError::bHelpClick);
  Reset();
}

QSize TDError::helpTextSize() const {
  // Every line whole, with no scroll bar: the longest line's width and all the lines' height.
  const QFontMetrics fm(helpText->font());
  int widest = 0;
  const QStringList lines = helpText->toPlainText().split(QLatin1Char('\n'));
  for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
  const int margins = 2 * (helpText->frameWidth() + int(helpText->document()->documentMargin())) + 4;
  return {widest + margins, int(lines.size()) * fm.lineSpacing() + margins};
}

void TDError::Reset() {
  pHelp->hide();
  bHelp->show();
  // The layout forgets the panel before the size is set; else its minimum keeps the window tall.
  layout()->activate();
  resize(420, kShortHeight);
}

void TDError::bHelpClick() {
  pHelp->show();
  bHelp->hide();
  const QSize text = helpTextSize();
  const int margins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
  const int taller = std::max(kHelpHeight, text.height() + layout()->spacing());
  resize(std::max(width(), text.width() + margins), height() + taller);
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
