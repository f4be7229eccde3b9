#include "tiravo/forms/aboutbox.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "common/icons/glyphs.h"

namespace tiravo {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setWindowTitle(QStringLiteral("О программе"));
  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* row = new QHBoxLayout(frame);
  ProgramIcon = new QLabel(frame);
  ProgramIcon->setFrameStyle(QFrame::Box | QFrame::Plain);
  ProgramIcon->setFixedSize(131, 131);
  ProgramIcon->setScaledContents(true);
  ProgramIcon->setPixmap(QPixmap::fromImage(glyphs::programImage(glyphs::Program::Tiravo, 131)));
  ProgramIcon->installEventFilter(this);
  row->addWidget(ProgramIcon, 0, Qt::AlignTop);

  auto* texts = new QWidget(frame);
  // Half of it takes the credits: wide enough for them to wrap into a few lines.
  texts->setMinimumWidth(260);
  auto* col = new QVBoxLayout(texts);
  col->setContentsMargins(0, 0, 0, 0);
  auto* name = new QLabel(QStringLiteral("Vexo"), texts);
  QFont nameFont(QStringLiteral("Courier New"));
  nameFont.setBold(true);
  nameFont.setPixelSize(32);
  name->setFont(nameFont);
  name->setAlignment(Qt::AlignCenter);
  auto* what = new QLabel(QStringLiteral("Синтез, преобразование и моделирование цифровых автоматов"), texts);
  QFont whatFont = what->font();
  whatFont.setBold(true);
  whatFont.setPixelSize(13);
  what->setFont(whatFont);
  what->setAlignment(Qt::AlignCenter);
  col->addWidget(name);
  col->addWidget(what);
  col->addWidget(new QLabel(QStringLiteral("Версия 0.01 beta (для Windows 95)"), texts));
  col->addWidget(new QLabel(QStringLiteral("Автоматная лаборатория"), texts));
  col->addStretch();
  for (QLabel* l : texts->findChildren<QLabel*>()) l->setWordWrap(true);
  row->addWidget(texts, 1);

  // The credits lie over the right half of the texts until the picture is clicked.
  Panel2 = new QFrame(texts);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setAutoFillBackground(true);
  auto* credits = new QVBoxLayout(Panel2);
  for (const QString& text : {QStringLiteral("Разработка: кафедра вычислительной техники"),
                              QStringLiteral("Спасибо всем, кто проверял программу")}) {
    auto* l = new QLabel(text, Panel2);
    l->setWordWrap(true);
    credits->addWidget(l);
  }
  credits->addStretch();
  Panel2->hide();

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame, 1);
  layout->addWidget(ok, 0, Qt::AlignCenter);
  // At least the box's own size; larger where the default font needs it, so no text is cut.
  const QSize need = sizeHint().expandedTo(QSize(368, 204));
  const int creditsHeight = Panel2->sizeHint().height();
  setFixedSize(need.width(), need.height() + std::max(0, creditsHeight - texts->sizeHint().height()));
}

void TAboutBox::ProgramIconClick() {
  if (Panel2->isHidden()) {
    QWidget* texts = Panel2->parentWidget();
    Panel2->setGeometry(texts->width() / 2, 0, texts->width() - texts->width() / 2, texts->height());
    Panel2->raise();
    Panel2->show();
  } else {
    Panel2->hide();
  }
}

void TAboutBox::FormClose() { Panel2->hide(); }

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ProgramIcon && event->type() == QEvent::MouseButtonRelease) {
    ProgramIconClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TAboutBox::done(int result) {
  FormClose();
  QDialog::done(result);
}

}  // namespace tiravo
