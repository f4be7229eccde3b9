#include "tiravo/forms/rvasskuform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "platform/longlines.h"

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
  // A text of one long line is laid out in pieces, as in the editors.
  Memo1 = new longlines::TextEdit(this);
  Memo1->setToolTip(QStringLiteral("Исходное РВАС"));
  Memo1->setText(QStringLiteral("sw=s0*{z1|Z3}*z2|s0*z1*z3*{z4*Z5}"), false);
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
  Memo1->setLines(source_ ? source_->lines() : QStringList(), false);
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
  if (Memo1->isEnabled() && source_) source_->setLines(memoLines());
}

QStringList TRvasSku::memoLines() const {
  // An empty memo is one empty line, as the text it stands for.
  QStringList lines = Memo1->lines();
  if (lines.isEmpty()) lines << QString();
  return lines;
}

void TRvasSku::synthesis() {
  running_ = true;
  Label5->setText(QStringLiteral("0"));
  // The branch count is this run's: a text that fails its check has none.
  Label7->setText(QStringLiteral("0"));
  Label6->setText(QStringLiteral("Проверка РВАС"));
  const RvasCompact text(memoLines());
  const RvasFault fault = checkRvas(text.text);
  if (fault.code) {
    Label6->setText(QStringLiteral("Ошибка: ") + rvasMessage(fault.code));
    int start = 0, end = 0;
    text.select(fault.pos, fault.length, &start, &end);
    Memo1->setEnabled(true);
    Memo1->selectWhole(start, end);
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
