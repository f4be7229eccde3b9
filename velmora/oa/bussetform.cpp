#include "velmora/oa/bussetform.h"

#include <QAbstractItemDelegate>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/help.h"
#include "velmora/documents/docwindow_common.h"
#include "velmora/oa/oaerrors.h"
#include "velmora/oa/oaparser.h"
#include "velmora/oa/oastep.h"

namespace velmora {

QPointer<TBusSetForm> BusSetForm;

namespace {

QTableWidgetItem* nameItem(const QString& text) {
  // The names come from the block list; only the values are typed.
  auto* it = new QTableWidgetItem(text);
  it->setFlags(it->flags() & ~Qt::ItemIsEditable);
  return it;
}

}  // namespace

TBusSetForm::TBusSetForm(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Установка шин"));
  BusSetForm = this;

  BusSetGrid = new QTableWidget(1, 2, this);
  BusSetGrid->setObjectName(QStringLiteral("BusSetGrid"));
  BusSetGrid->setHorizontalHeaderLabels({QStringLiteral("Шина"), QStringLiteral("Значение")});
  BusSetGrid->verticalHeader()->hide();
  BusSetGrid->horizontalHeader()->setDefaultSectionSize(102);
  BusSetGrid->verticalHeader()->setDefaultSectionSize(24);
  BusSetGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  BusSetGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
  BusSetGrid->setItem(0, 0, nameItem(QString()));
  BusSetGrid->installEventFilter(this);
  // Enter in the in-place editor takes the value in and ends the dialog as well.
  connect(BusSetGrid->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
          [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
            if (hint == QAbstractItemDelegate::SubmitModelCache) accept();
          });

  OkButton = new QPushButton(QStringLiteral("OK"), this);
  OkButton->setObjectName(QStringLiteral("OkButton"));
  OkButton->setDefault(true);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  HelpBtn = new QPushButton(QStringLiteral("&Помощь"), this);
  HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
  connect(HelpBtn, &QPushButton::clicked, this, [this] {
    if (TFrame* f = docwin::frameOf(parentWidget())) help::show(this, f->helpFile(), help::Contents);
  });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OkButton);
  buttons->addWidget(HelpBtn);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(BusSetGrid);
  lay->addLayout(buttons);
  resize(240, 200);
  if (QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());
}

bool TBusSetForm::isBusName(const QString& name) {
  return name.size() >= 2 && (name[0] == QLatin1Char('d') || name[0] == QLatin1Char('D')) &&
         (name[1] == QLatin1Char('i') || name[1] == QLatin1Char('I'));
}

int TBusSetForm::rowCount() const { return BusSetGrid->rowCount() + 1; }

QString TBusSetForm::cell(int col, int row) const {
  if (row == 0) {
    const QTableWidgetItem* h = BusSetGrid->horizontalHeaderItem(col);
    return h ? h->text() : QString();
  }
  const QTableWidgetItem* it = BusSetGrid->item(row - 1, col);
  return it ? it->text() : QString();
}

void TBusSetForm::setCell(int col, int row, const QString& text) {
  if (col < 0 || col > 1 || row < 1 || row >= rowCount()) return;
  BusSetGrid->setItem(row - 1, col, col == 0 ? nameItem(text) : new QTableWidgetItem(text));
}

void TBusSetForm::addBus(const QString& name, const QString& value) {
  if (!cell(0, rowCount() - 1).isEmpty()) BusSetGrid->setRowCount(BusSetGrid->rowCount() + 1);
  const int last = rowCount() - 1;
  setCell(0, last, name);
  setCell(1, last, value);
}

void TBusSetForm::commitEditor() const {
  // A value still being typed belongs to the answer.
  const QModelIndex index = BusSetGrid->currentIndex();
  QWidget* editor = index.isValid() ? BusSetGrid->indexWidget(index) : nullptr;
  if (editor) emit BusSetGrid->itemDelegateForIndex(index)->commitData(editor);
}

QList<TBusSetForm::Bus> TBusSetForm::buses() const {
  commitEditor();
  QList<Bus> out;
  for (int r = 1; r < rowCount(); ++r) out << Bus{cell(0, r), cell(1, r)};
  return out;
}

void TBusSetForm::BusSetGridKeyDown(int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  commitEditor();
  accept();
}

bool TBusSetForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      BusSetGridKeyDown(key);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TBusSetForm::applyTo(TModelStep* model, const QList<Bus>& rows) {
  if (!model) return;
  QList<Bus> valid;
  for (const Bus& b : rows) {
    if (b.name.isEmpty() || b.value.isEmpty() || model->FindRegister(b.name) < 0) continue;
    qint32 v = 0;
    if (!oa::toInt32(b.value, &v))
      throw EOaConvertError(QStringLiteral("Шина %1: значение %2 не является целым числом")
                                .arg(oa::quoted(b.name), oa::quoted(b.value)));
    valid << b;
  }
  for (const Bus& b : valid) model->Reset(b.name, b.value.trimmed());
}

}  // namespace velmora
