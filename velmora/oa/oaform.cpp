#include "velmora/oa/oaform.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QVBoxLayout>

#include "platform/dialogs.h"
#include "platform/guard.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/documents/tableform.h"
#include "velmora/oa/oadesign.h"
#include "velmora/oa/oamodelform.h"
#include "velmora/oa/oawindow.h"

namespace velmora {

QPointer<TOAForm> OAForm;

namespace {

const QString kError = QStringLiteral("Ошибка");

QStringList nonEmptyLines(const QString& text) {
  QStringList out;
  for (const QString& l : text.split(QLatin1Char('\n')))
    if (!l.isEmpty()) out << l;
  return out;
}

QString countText(int lines) { return lines >= 3 ? QString::number(lines - 2) : QStringLiteral("0"); }

}  // namespace

TOAForm::TOAForm(QWidget* owner) : TDocChild(owner) {
  OAForm = this;
  setWindowTitle(QStringLiteral("Операционный автомат"));
  setMinimumSize(480, 322);
  resize(560, 360);
  buildControls();
  buildMenus();
}

TOAForm::~TOAForm() { FormClose(); }

void TOAForm::buildControls() {
  auto button = [this](const QString& text, const char* name, std::function<void()> fn) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    connect(b, &QPushButton::clicked, this, [this, fn] { guard::run(this, fn); });
    return b;
  };
  bApplyClose = button(QStringLiteral("Применить и &закрыть"), "bApplyClose", [this] { OKButtonClick(); });
  bApply = button(QStringLiteral("&Применить"), "bApply", [this] { bApplyClick(); });
  bCancel = button(QStringLiteral("&Отменить"), "bCancel", [this] { CancelButtonClick(); });
  bModel = button(QStringLiteral("&Моделирование ОА"), "bModel", [this] { mOAModelClick(); });
  auto* bar = new QHBoxLayout;
  for (QPushButton* b : {bApplyClose, bApply, bCancel, bModel}) bar->addWidget(b);
  bar->addStretch();

  rMemo = new QPlainTextEdit(this);
  rMemo->setObjectName(QStringLiteral("rMemo"));
  rMemo->setToolTip(QStringLiteral("Список регистров и шин операционного автомата"));
  blockCount = new QLabel(QStringLiteral("0"), this);

  yListComboBox = new QComboBox(this);
  yListComboBox->setObjectName(QStringLiteral("yListComboBox"));
  yListComboBox->setToolTip(QStringLiteral("Список выходных сигналов управляющего автомата"));
  yCount = new QLabel(QStringLiteral("0"), this);
  yActMemo = new QPlainTextEdit(this);
  yActMemo->setObjectName(QStringLiteral("yActMemo"));
  yActMemo->setToolTip(QStringLiteral("Набор микроопераций для выбранного сигнала"));
  yActMemo->installEventFilter(this);
  yActHeading = new QLabel(QStringLiteral("Набор микроопераций для "), this);
  yActCount = new QLabel(QStringLiteral("0"), this);

  xListComboBox = new QComboBox(this);
  xListComboBox->setObjectName(QStringLiteral("xListComboBox"));
  xListComboBox->setToolTip(QStringLiteral("Список входных сигналов управляющего автомата"));
  xCount = new QLabel(QStringLiteral("0"), this);
  xEdit = new QLineEdit(this);
  xEdit->setObjectName(QStringLiteral("xEdit"));
  xEdit->setToolTip(QStringLiteral("Значение, возвращаемое управляющему автомату"));
  xHeading = new QLabel(QStringLiteral("Значение "), this);

  auto counted = [this](const QString& caption, QLabel* count) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(caption, this));
    row->addWidget(count);
    row->addStretch();
    return row;
  };
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Блоки ОА"), this), 0, 0);
  grid->addLayout(counted(QStringLiteral("Всего блоков:"), blockCount), 1, 0);
  grid->addWidget(rMemo, 2, 0, 4, 1);
  grid->addWidget(new QLabel(QStringLiteral("Выходные сигналы УА"), this), 0, 1);
  grid->addWidget(yListComboBox, 1, 1);
  grid->addLayout(counted(QStringLiteral("Всего сигналов:"), yCount), 2, 1);
  grid->addWidget(yActHeading, 3, 1);
  grid->addWidget(yActMemo, 4, 1);
  grid->addLayout(counted(QStringLiteral("Количество микроопераций:"), yActCount), 5, 1);
  grid->addWidget(new QLabel(QStringLiteral("Входные сигналы УА"), this), 0, 2);
  grid->addWidget(xListComboBox, 1, 2);
  grid->addLayout(counted(QStringLiteral("Всего сигналов:"), xCount), 2, 2);
  grid->addWidget(xHeading, 3, 2);
  grid->addWidget(xEdit, 4, 2, Qt::AlignTop);
  grid->setRowStretch(4, 1);

  lockNote =
      new QLabel(QStringLiteral("Описание ОА нельзя изменить, пока открыто окно моделирования ОА"), this);
  lockNote->setObjectName(QStringLiteral("lockNote"));
  lockNote->setWordWrap(true);
  lockNote->hide();

  auto* lay = new QVBoxLayout(this);
  lay->addLayout(bar);
  lay->addWidget(lockNote);
  lay->addLayout(grid);

  connect(yListComboBox, &QComboBox::currentIndexChanged, this,
          [this] { guard::run(this, [this] { yListComboBoxClick(); }); });
  connect(xListComboBox, &QComboBox::currentIndexChanged, this,
          [this] { guard::run(this, [this] { xListComboBoxClick(); }); });
  connect(yActMemo, &QPlainTextEdit::textChanged, this, [this] { yActMemoChange(); });
  connect(xEdit, &QLineEdit::textChanged, this, [this] { xActMemoChange(); });
  connect(rMemo, &QPlainTextEdit::textChanged, this, [this] { rMemoChange(); });
}

void TOAForm::buildMenus() {
  mFile_ = oawin::fileMenu(this);
  mOa_ = new QMenu(QStringLiteral("&Операционный автомат"), this);
  mApplyClose =
      docwin::addItem(this, mOa_, QStringLiteral("Применить и &закрыть"), {}, [this] { OKButtonClick(); });
  mCancel =
      docwin::addItem(this, mOa_, QStringLiteral("&Отменить изменения"), {}, [this] { CancelButtonClick(); });
  mModel_ = new QMenu(QStringLiteral("&Моделирование"), this);
  mOAModel =
      docwin::addItem(this, mModel_, QStringLiteral("&Моделирование ОА"), {}, [this] { mOAModelClick(); });
  mOAModel->setObjectName(QStringLiteral("mOAModel"));
}

TOAForm* TOAForm::open(TVexoTableForm* table, QObject* owner, bool readOnly) {
  if (!table) return nullptr;
  auto* d = new TOAForm();
  d->setTable(table, readOnly);
  if (d->LoadDescription() == 1) {
    delete d;  // lets the table go
    return nullptr;
  }
  if (TFrame* f = docwin::frameOf(table)) f->addChild(d, owner);
  d->FormActivate();
  return d;
}

OaDescription* TOAForm::oa() const { return table_ ? &table_->document()->oa() : nullptr; }

void TOAForm::setTable(TVexoTableForm* table, bool readOnly) {
  table_ = table;
  readOnly_ = readOnly;
  // A model window opening or closing on the description, from here or from the table, makes
  // it read-only or editable again, whichever window is active then.
  if (table)
    connect(table->document(), &TTableDocument::lockChanged, this, [this] {
      if (!closed_) showLock();
    });
  // The designer called from the model window shows the description; it has nothing to apply.
  bApply->setVisible(!readOnly);
  bApplyClose->setVisible(!readOnly);
  mApplyClose->setVisible(!readOnly);
  showLock();
}

void TOAForm::setEditable(bool editable) {
  // Read-only fields look it: the window's colour behind their text, as a label has.
  QPalette look = palette();
  if (!editable) look.setColor(QPalette::Base, look.color(QPalette::Window));
  for (QWidget* w : std::initializer_list<QWidget*>{rMemo, yActMemo, xEdit}) w->setPalette(look);
  rMemo->setReadOnly(!editable);
  yActMemo->setReadOnly(!editable);
  xEdit->setReadOnly(!editable);
}

void TOAForm::showLock() {
  const bool modelOpen = table_ && table_->document()->modelOpen();
  locked_ = readOnly_ || modelOpen;
  setEditable(!locked_);
  lockNote->setVisible(locked_);
  mOAModel->setEnabled(!modelOpen);
  bModel->setEnabled(!modelOpen);
  updateApply();
}

void TOAForm::updateApply() {
  const bool on = !locked_ && !nothingDeclared_;
  bApplyClose->setEnabled(on);
  bApply->setEnabled(on);
  mApplyClose->setEnabled(on);
}

// ---------------------------------------------------------------------------------------
// Loading

int TOAForm::LoadDescription() {
  OaDescription* d = oa();
  if (!d) return 1;
  lock_.acquire(table_);
  if (d->oaPresent) {
    SaveState();
    // Shown as it is when read-only: the model window works on these very lists.
    if (!readOnly_ && (!syncSignals(true) || !syncSignals(false))) {
      RestoreState();
      return 1;
    }
    SaveState();
    fillOutputList();
    fillBlockMemo();
    fillInputList();
  } else {
    SaveState();
    const QList<TableRow> rows = table_->tableData().rows;
    QStringList ys, xs;
    oadesign::Collected c = oadesign::tableOutputs(rows, &ys);
    if (c == oadesign::Collected::Ok) c = oadesign::tableInputs(rows, &xs);
    if (c != oadesign::Collected::Ok) {
      dlg::message(this, oadesign::message(c), kError, dlg::Ok, dlg::Warning);
      RestoreState();
      return 1;
    }
    oadesign::newDescription(d, ys, xs);
    fillOutputList();
    fillInputList();
    fillBlockMemo();
  }
  yEdited = xEdited = blocksFilling = false;
  curY = curX = -1;
  if (yListComboBox->count() > 0) {
    QSignalBlocker b(yListComboBox);
    yListComboBox->setCurrentIndex(0);
    yListComboBoxClick();
  }
  if (xListComboBox->count() > 0) {
    QSignalBlocker b(xListComboBox);
    xListComboBox->setCurrentIndex(0);
    xListComboBoxClick();
  }
  return 0;
}

bool TOAForm::syncSignals(bool outputs) {
  const QList<TableRow> rows = table_->tableData().rows;
  QStringList names;
  const oadesign::Collected c =
      outputs ? oadesign::tableOutputs(rows, &names) : oadesign::tableInputs(rows, &names);
  if (c != oadesign::Collected::Ok) {
    dlg::message(this, oadesign::message(c), kError, dlg::Ok, dlg::Warning);
    return false;
  }
  const oadesign::Kind kind = outputs ? oadesign::Kind::Y : oadesign::Kind::X;
  return oadesign::syncSignals(oa(), kind, names, [this, kind](const QString& name) {
    return dlg::message(this, oadesign::removeQuestion(kind, name), QStringLiteral("Предупреждение"),
                        dlg::Yes | dlg::No, dlg::Warning) == dlg::Yes;
  });
}

void TOAForm::SaveState() {
  OaDescription* d = oa();
  if (!d) return;
  savedPresent = d->oaPresent;
  oadesign::sortOutputs(d);  // the microoperations move with their signals
  saved_ = *d;
}

void TOAForm::RestoreState() {
  OaDescription* d = oa();
  if (!d) return;
  d->ySignals = saved_.ySignals;
  d->blocks = saved_.blocks;
  d->yItems = saved_.yItems;
  d->xSignals = saved_.xSignals;
  d->xValues = saved_.xValues;
  d->oaPresent = savedPresent;
}

void TOAForm::fillOutputList() {
  QSignalBlocker b(yListComboBox);
  yListComboBox->clear();
  yListComboBox->addItems(oa()->ySignals);
  yListComboBox->setCurrentIndex(-1);
  yCount->setText(QString::number(oa()->ySignals.size()));
}

void TOAForm::fillInputList() {
  QSignalBlocker b(xListComboBox);
  xListComboBox->clear();
  xListComboBox->addItems(oa()->xSignals);
  xListComboBox->setCurrentIndex(-1);
  xCount->setText(QString::number(oa()->xSignals.size()));
}

void TOAForm::fillBlockMemo() {
  blocksFilling = true;
  rMemo->setPlainText(oa()->blocks.join(QLatin1Char('\n')));
  blockCount->setText(countText(static_cast<int>(oa()->blocks.size())));
  blocksFilling = false;
}

// ---------------------------------------------------------------------------------------
// Editing

void TOAForm::storeY() {
  OaDescription* d = oa();
  if (!d || curY < 0 || !yEdited) return;
  while (d->yItems.size() <= curY) d->yItems << QStringList();
  d->yItems[curY] = nonEmptyLines(yActMemo->toPlainText());
  yEdited = false;
}

void TOAForm::storeX() {
  OaDescription* d = oa();
  if (!d || curX < 0 || !xEdited) return;
  while (d->xValues.size() <= curX) d->xValues << QString();
  d->xValues[curX] = xEdit->text();
  xEdited = false;
}

void TOAForm::showMicrooperations(int index) {
  const OaDescription* d = oa();
  const QStringList ops = index >= 0 && index < d->yItems.size() ? d->yItems[index] : QStringList();
  {
    QSignalBlocker b(yActMemo);
    yActMemo->setPlainText(ops.join(QLatin1Char('\n')));
  }
  yActHeading->setText(QStringLiteral("Набор микроопераций для ") + d->ySignals.value(index));
  yActCount->setText(QString::number(ops.size()));
}

void TOAForm::yListComboBoxClick() {
  if (!oa()) return;
  storeY();
  const int index = yListComboBox->currentIndex();
  if (index < 0) return;
  showMicrooperations(index);
  curY = index;
}

void TOAForm::xListComboBoxClick() {
  const OaDescription* d = oa();
  if (!d) return;
  storeX();
  const int index = xListComboBox->currentIndex();
  if (index < 0) return;
  {
    QSignalBlocker b(xEdit);
    xEdit->setText(d->xValues.value(index));
  }
  xHeading->setText(QStringLiteral("Значение ") + d->xSignals.value(index));
  curX = index;
}

void TOAForm::yActMemoChange() {
  // Empty lines go at once; the one the caret stands on is being typed.
  QTextCursor cursor = yActMemo->textCursor();
  const int caretLine = cursor.blockNumber();
  const int caretColumn = cursor.positionInBlock();
  const QStringList lines = yActMemo->toPlainText().split(QLatin1Char('\n'));
  QStringList kept;
  int newCaretLine = 0;
  for (int i = 0; i < lines.size(); ++i) {
    if (i == caretLine) newCaretLine = static_cast<int>(kept.size());
    if (!lines[i].isEmpty() || i == caretLine) kept << lines[i];
  }
  if (kept.size() != lines.size()) {
    QSignalBlocker b(yActMemo);
    yActMemo->setPlainText(kept.join(QLatin1Char('\n')));
    QTextCursor c(yActMemo->document()->findBlockByNumber(newCaretLine));
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, caretColumn);
    yActMemo->setTextCursor(c);
  }
  yEdited = true;
}

void TOAForm::yActMemoKeyPress(int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter)
    yActCount->setText(QString::number(yActMemo->blockCount()));
}

void TOAForm::xActMemoChange() { xEdited = true; }

void TOAForm::rMemoChange() {
  const QStringList lines = rMemo->toPlainText().split(QLatin1Char('\n'));
  if (!blocksFilling) blockCount->setText(countText(static_cast<int>(lines.size())));
  // Nothing declared between the two headings: nothing to apply.
  nothingDeclared_ = lines.value(0) == QLatin1String("reg:") && lines.value(1) == QLatin1String("mux:");
  updateApply();
}

bool TOAForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == yActMemo && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    // Counted once the memo has taken the key.
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
      QMetaObject::invokeMethod(
          this, [this, key] { yActMemoKeyPress(key); }, Qt::QueuedConnection);
  }
  return TDocChild::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------
// Apply and cancel

bool TOAForm::Apply(bool close) {
  OaDescription* d = oa();
  if (!d || readOnly_) return false;
  storeY();
  storeX();
  d->blocks = nonEmptyLines(rMemo->toPlainText());
  const QString blocksFault = oadesign::checkBlockList(d->blocks);
  if (!blocksFault.isEmpty()) {
    dlg::message(this, blocksFault, kError, dlg::Ok, dlg::Warning);
    return false;
  }
  oadesign::orderMicrooperations(&d->yItems);
  if (curY >= 0) showMicrooperations(curY);
  const QString fault = oadesign::checkRegisters(*d);
  if (!fault.isEmpty()) {
    dlg::message(this, fault, kError, dlg::Ok, dlg::Warning);
    if (dlg::message(this, oadesign::applyQuestion(), QStringLiteral("Предупреждение"), dlg::Yes | dlg::No,
                     dlg::Warning) != dlg::Yes)
      return false;
  }
  table_->document()->applyDescription();
  if (close)
    docwin::closeWindow(this);
  else
    SaveState();
  return true;
}

void TOAForm::CancelButtonClick() {
  RestoreState();
  docwin::closeWindow(this);
}

// ---------------------------------------------------------------------------------------
// The model, activation, closing

void TOAForm::mOAModelClick() {
  if (!table_ || !oa()->oaPresent || table_->document()->modelOpen()) return;
  TOAModelForm* w = TOAModelForm::open(table_, this, QString());
  if (!w) return;
  openedModel = true;
  modelWindow = w;
  showLock();
}

void TOAForm::FormActivate() {
  ChildKind = ckOaDesign;
  if (TFrame* f = frame()) {
    f->updateActions();
    f->setStatusText(1, QString());
    f->setStatusText(2, QString());
  }
  if (!table_) return;
  // While the model works on the description it cannot change under it.
  showLock();
}

bool TOAForm::FormCloseQuery() { return true; }

void TOAForm::closeEvent(QCloseEvent* event) {
  // The model window opened from here closes with it: it answers first. (The frame and the
  // table ask every window themselves.)
  docwin::handleClose(
      this, event, [this] { return FormCloseQuery() && docwin::askOwned(modelWindow); },
      [this] { FormClose(); });
}

void TOAForm::FormClose() {
  if (closed_) return;
  closed_ = true;
  docwin::closeOwned(modelWindow);
  lock_.release();
}

}  // namespace velmora
