#include "velmora/app/aboutbox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("О программе"));
  setObjectName(QStringLiteral("AboutBox"));

  // The program's own icon, once it has one; no empty frame in its place until then.
  icon_ = new QLabel(this);
  icon_->setObjectName(QStringLiteral("ProgramIcon"));
  const QIcon programIcon = windowIcon();
  icon_->setPixmap(programIcon.pixmap(64, 64));
  icon_->setVisible(!programIcon.isNull());
  icon_->setAlignment(Qt::AlignTop);

  auto* name = new QLabel(QStringLiteral("Vexo"), this);
  name->setObjectName(QStringLiteral("ProgramName"));
  QFont nameFont = name->font();
  nameFont.setBold(true);
  nameFont.setPointSizeF(nameFont.pointSizeF() * 2);
  name->setFont(nameFont);

  auto* purpose = new QLabel(
      QStringLiteral(
          "Система синтеза, преобразований и моделирования автоматных моделей устройств управления"),
      this);
  purpose->setObjectName(QStringLiteral("ProgramPurpose"));
  purpose->setWordWrap(true);
  auto* what =
      new QLabel(QStringLiteral("Алгоритм управляющего автомата на языках РВАС и СКУ или в виде ГСА "
                                "переводится в таблицу переходов; по таблице строится и моделируется "
                                "операционный автомат, а затем оба автомата вместе."),
                 this);
  what->setObjectName(QStringLiteral("ProgramUse"));
  what->setWordWrap(true);
  auto* version = new QLabel(QStringLiteral("Версия ") + TAboutBox::version(), this);
  version->setObjectName(QStringLiteral("ProgramVersion"));

  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(purpose);
  texts->addWidget(what);
  texts->addWidget(version);
  texts->addStretch(1);
  auto* row = new QHBoxLayout;
  row->addWidget(icon_, 0, Qt::AlignTop);
  row->addLayout(texts, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row, 1);
  layout->addWidget(buttons);
  // Wide enough that the wrapped texts stay a few lines; the layout sets the height from them.
  purpose->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace velmora
