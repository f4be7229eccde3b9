#include "tiravo/forms/skutblform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "platform/dialogs.h"
#include "platform/longlines.h"
#include "tiravo/forms/editform.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/frame.h"
#include "tiravo/forms/tableform.h"
#include "tiravo/translate/skutable.h"

namespace tiravo {

QPointer<TSkuTblForm> SkuTblForm;

TSkuTblForm::TSkuTblForm(QWidget* frameWindow) : TRunDialog(frameWindow), frame_(frameOf(frameWindow)) {
  setWindowTitle(QStringLiteral("Перевод СКУ в таблицу переходов"));
  StrNum = new QLabel(this);
  // A long line shows as a part of it around the fault; corrections go into the whole line.
  Edit1 = new longlines::LineEdit(this);
  Edit1->setHint(QStringLiteral("Строка СКУ"));
  Edit1->setEnabled(false);
  ErrorLb = new QLabel(this);
  ErrorLb->setWordWrap(true);
  ErrorLb->setFrameShape(QFrame::Panel);
  ErrorLb->setFrameShadow(QFrame::Sunken);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setRange(0, 1000);
  ProgressBar1->setValue(0);
  QHBoxLayout* buttons = okCancelRow(&OkButton, &Cancel);

  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("Строка"), this));
  row->addWidget(StrNum);
  row->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(Edit1);
  layout->addWidget(ErrorLb);
  layout->addWidget(ProgressBar1);
  layout->addLayout(buttons);
  resize(430, 200);

  connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
  connect(Cancel, &QPushButton::clicked, this, [this] { CancelClick(); });
  connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
}

TSkuTblForm::~TSkuTblForm() = default;

QString TSkuTblForm::status() const { return ErrorLb->text(); }
QString TSkuTblForm::lineNumber() const { return StrNum->text(); }
int TSkuTblForm::progress() const { return ProgressBar1->value(); }

void TSkuTblForm::setSource(TEditForm* editor) {
  editor_ = editor;
  lines_.clear();
}

void TSkuTblForm::setSource(const QStringList& lines) {
  editor_ = nullptr;
  lines_ = lines;
}

QStringList TSkuTblForm::text() const { return editor_ ? editor_->lines() : lines_; }

TVexoTableForm* TSkuTblForm::run() {
  table_ = nullptr;
  exec();
  return table_;
}

void TSkuTblForm::StartConvert() {
  running_ = true;
  svfFound_ = svfStage_ = false;
  Edit1->setEnabled(false);
  Edit1->clear();
  errorLine_ = 0;
  ProgressBar1->setValue(0);
  OkButton->setEnabled(false);
  const SkuSections sections = findSkuSections(text());
  conv_ = std::make_unique<SkuToTable>(sections);
  conv_->onLine = [this](int number, const QString& line) {
    StrNum->setText(QString::number(number));
    Edit1->setWholeText(line);
  };
  conv_->onProgress = [this](int value) { ProgressBar1->setValue(value); };
  if (!sections.hasSku()) {
    dlg::message(this,
                 QStringLiteral("В тексте СКУ отсутствует идентификатор 'sku:'\nИдентификатор должен стоять "
                                "перед тесктом СКУ в отдельной строке"),
                 QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
    return;
  }
  svfFound_ = sections.hasSvf();
  if (!svfFound_ &&
      dlg::message(this, QStringLiteral("В тексте СКУ отсутствует идентификатор 'svf:'.Продолжить без СВФ?"),
                   QStringLiteral("Предупреждение"), dlg::Yes | dlg::No, dlg::Warning) != dlg::Yes) {
    reject();
    return;
  }
  skuStage();
}

// Shows the first faulty line for correction; true when the stage passed.
bool TSkuTblForm::showFault(bool ok, const SkuStageFault& fault) {
  if (ok) return true;
  ErrorLb->setText(fault.message);
  if (fault.line < 0) return false;
  errorLine_ = fault.line;
  Edit1->setWholeText(text().value(fault.line));
  Edit1->setEnabled(true);
  Edit1->setFocus();
  Edit1->selectWhole(fault.fault.start, fault.fault.length);
  OkButton->setEnabled(true);
  return false;
}

void TSkuTblForm::skuStage() {
  svfStage_ = false;
  ErrorLb->setText(QStringLiteral("Проверка СКУ"));
  SkuStageFault fault;
  if (!showFault(conv_->runSku(text(), &fault), fault)) return;
  ErrorLb->setText(QStringLiteral("Идет процесс преобразованя"));
  // The new window is made here and owned by the frame, like every table window.
  table_ = frame_->newTable();
  table_->setTableData(conv_->table());
  // Marked at once: a later СВФ failure or a close must not drop it without a question.
  table_->markFilled(true);
  if (svfFound_)
    svfStage();
  else
    finish();
}

void TSkuTblForm::svfStage() {
  svfStage_ = true;
  ErrorLb->setText(QStringLiteral("Проверка СВФ"));
  SkuStageFault fault;
  const bool ok = conv_->runSvf(text(), &fault);
  // Rows the check added for events that are only targets stay, as the check made them.
  if (table_) {
    table_->setTableData(conv_->table());
    table_->markFilled(true);
  }
  if (showFault(ok, fault)) finish();
}

void TSkuTblForm::finish() {
  ErrorLb->setText(QStringLiteral("Преобразование прошло успешно"));
  running_ = false;
  accept();
}

void TSkuTblForm::OkButtonClick() {
  OkButton->setEnabled(false);
  Edit1->setEnabled(false);
  if (svfStage_)
    svfStage();
  else
    skuStage();
}

void TSkuTblForm::Edit1Change() {
  if (!Edit1->isEnabled()) return;
  QStringList lines = text();
  if (errorLine_ < 0 || errorLine_ >= lines.size()) return;
  lines[errorLine_] = Edit1->wholeText();
  if (editor_)
    editor_->setLines(lines);
  else
    lines_ = lines;
}

void TSkuTblForm::CancelClick() { reject(); }

void TSkuTblForm::reject() {
  errorLine_ = 0;
  TRunDialog::reject();
}

void createSkuTblDialog(QWidget* frameWindow) {
  if (!SkuTblForm) SkuTblForm = new TSkuTblForm(frameWindow);
}

void runSkuTbl(TEditForm& editor) {
  if (!SkuTblForm) createSkuTblDialog(editor.window());
  SkuTblForm->setSource(&editor);
  SkuTblForm->run();
}

TVexoTableForm* runSkuTblOn(TFrame& frame, const QStringList& lines) {
  if (!SkuTblForm) createSkuTblDialog(dynamic_cast<QWidget*>(&frame));
  SkuTblForm->setSource(lines);
  return SkuTblForm->run();
}

}  // namespace tiravo
