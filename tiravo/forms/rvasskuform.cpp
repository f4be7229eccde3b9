#include "tiravo/forms/rvasskuform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include "tiravo/forms/editform.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/frame.h"
#include "tiravo/forms/skutblform.h"
#include "tiravo/translate/rvascheck.h"
#include "tiravo/translate/rvasconvert.h"

namespace tiravo {

QPointer<TRvasSku> RvasSku;

TRvasSku::TRvasSku(QWidget* frameWindow) : TRunDialog(frameWindow), frame_(frameOf(frameWindow)) {
  setWindowTitle(QStringLiteral("Преобразование РВАС в СКУ"));
  Memo1 = new QPlainTextEdit(this);
  Memo1->setToolTip(QStringLiteral("Исходное РВАС"));
  Memo1->setPlainText(QStringLiteral("sw=s0*{z1|Z3}*z2|s0*z1*z3*{z4*Z5}"));
  Memo1->setEnabled(false);
  Label6 = new QLabel(this);
  Label6->setWordWrap(true);
  Label5 = new QLabel(QStringLiteral("0"), this);
  Label7 = new QLabel(QStringLiteral("0"), this);
  QHBoxLayout* buttons = okCancelRow(&Begin1, &Cancel1);
  Begin1->setToolTip(QStringLiteral("Начать преобразование"));
  Cancel1->setToolTip(QStringLiteral("Отменить преобразование"));

  auto* counts = new QGridLayout;
  counts->addWidget(new QLabel(QStringLiteral("Количество событий"), this), 0, 0);
  counts->addWidget(Label5, 0, 1);
  counts->addWidget(new QLabel(QStringLiteral("Количество ветвей"), this), 1, 0);
  counts->addWidget(Label7, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Memo1);
  layout->addLayout(counts);
  layout->addWidget(Label6);
  layout->addLayout(buttons);
  resize(420, 300);

  connect(Begin1, &QPushButton::clicked, this, [this] { Begin1Click(); });
  connect(Cancel1, &QPushButton::clicked, this, [this] { Cancel1Click(); });
  connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { Memo1Change(); });
}

QString TRvasSku::status() const { return Label6->text(); }
QString TRvasSku::eventCount() const { return Label5->text(); }
QString TRvasSku::branchCount() const { return Label7->text(); }

void TRvasSku::setSource(TEditForm* editor, int destination) {
  source_ = editor;
  destination_ = destination;
}

bool TRvasSku::run() {
  converted_ = false;
  exec();
  if (!converted_) return false;
  if (destination_ == 2) {
    runSkuTblOn(*frame_, result_);
  } else {
    TEditForm* e = frame_->newEditor(TEditForm::Sku);
    e->setLines(result_);
  }
  return true;
}

void TRvasSku::begin() {
  Memo1->setEnabled(false);
  Memo1->setPlainText(source_ ? source_->lines().join(QLatin1Char('\n')) : QString());
  synthesis();
}

void TRvasSku::Begin1Click() {
  Memo1->setEnabled(false);
  synthesis();
}

void TRvasSku::Cancel1Click() { reject(); }

void TRvasSku::reject() {
  Memo1->setEnabled(false);
  TRunDialog::reject();
}

void TRvasSku::Memo1Change() {
  if (Memo1->isEnabled() && source_) source_->setLines(Memo1->toPlainText().split(QLatin1Char('\n')));
}

void TRvasSku::synthesis() {
  running_ = true;
  Label5->setText(QStringLiteral("0"));
  // The branch count is this run's: a text that fails its check has none.
  Label7->setText(QStringLiteral("0"));
  Label6->setText(QStringLiteral("Проверка РВАС"));
  const RvasCompact text(Memo1->toPlainText().split(QLatin1Char('\n')));
  const RvasFault fault = checkRvas(text.text);
  if (fault.code) {
    Label6->setText(QStringLiteral("Ошибка: ") + rvasMessage(fault.code));
    int start = 0, end = 0;
    text.select(fault.pos, fault.length, &start, &end);
    Memo1->setEnabled(true);
    QTextCursor c = Memo1->textCursor();
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    Memo1->setTextCursor(c);
    Memo1->setFocus();
    return;
  }
  Label6->setText(QStringLiteral("Преобразование в СКУ"));
  RvasConverter conv;
  result_ = conv.convert(text.text);
  Label7->setText(QString::number(conv.branches()));
  Label5->setText(QString::number(conv.freshEvents() + 2));
  Label6->setText(QStringLiteral("Синтез прошел успешно"));
  converted_ = true;
  running_ = false;
  accept();
}

void createRvasSkuDialog(QWidget* frameWindow) {
  if (!RvasSku) RvasSku = new TRvasSku(frameWindow);
}

void runRvasSku(TEditForm& editor, int startMode) {
  if (!RvasSku) createRvasSkuDialog(editor.window());
  RvasSku->setSource(&editor, startMode);
  RvasSku->run();
}

}  // namespace tiravo
