#include "tiravo/forms/browser.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "common/icons/glyphs.h"
#include "platform/docwindow.h"
#include "tiravo/core/ftt.h"

namespace tiravo {

TFTT_Brouser::TFTT_Brouser(FTT* model, QWidget* parent) : TChildForm(parent), model_(model) {
  setAttribute(Qt::WA_DeleteOnClose);
  resize(400, 320);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* bar = new QToolBar(this);
  QAction* close = bar->addAction(QStringLiteral("Закрыть"));
  close->setObjectName(QStringLiteral("SpeedButton1"));
  close->setToolTip(QStringLiteral("Закрыть"));
  close->setIcon(glyphs::icon(glyphs::Glyph::Close));
  connect(close, &QAction::triggered, this, [this] { SpeedButton1Click(); });
  layout->addWidget(bar);

  layout->addWidget(new QLabel(QStringLiteral("События:"), this));
  lbSY = new QListWidget(this);
  lbSY->setObjectName(QStringLiteral("lbSY"));
  lbSY->setToolTip(QStringLiteral("события"));
  lbSY->setFixedHeight(120);
  connect(lbSY, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) lbSYClick(row);
  });
  layout->addWidget(lbSY);

  pDrag = new QLabel(QStringLiteral("Переходы:"), this);
  pDrag->setObjectName(QStringLiteral("pDrag"));
  pDrag->setFrameStyle(QFrame::Panel | QFrame::Raised);
  pDrag->setCursor(Qt::SplitVCursor);
  pDrag->installEventFilter(this);
  layout->addWidget(pDrag);

  sgTransfers = new QTableWidget(0, 2, this);
  sgTransfers->setObjectName(QStringLiteral("sgTransfers"));
  sgTransfers->horizontalHeader()->hide();
  sgTransfers->verticalHeader()->hide();
  sgTransfers->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->addWidget(sgTransfers, 1);
}

TFTT_Brouser::~TFTT_Brouser() = default;

void TFTT_Brouser::FormActivate() {
  lbSY->scrollToTop();
  ActiveChildKind = 7;
  QStringList items;
  model_->ListLines(items);
  {
    const QSignalBlocker block(lbSY);
    lbSY->clear();
    lbSY->addItems(items);
    // No line is marked until the user picks one, not even when the list takes the focus.
    lbSY->setCurrentIndex(QModelIndex());
  }
  fillTransfers(0);
}

void TFTT_Brouser::lbSYClick(int index) { fillTransfers(index); }

void TFTT_Brouser::fillTransfers(int line) {
  QStringList conditions, targets;
  model_->ListLine(line, conditions, targets);
  sgTransfers->clearContents();
  sgTransfers->setRowCount(int(conditions.size()));
  for (int r = 0; r < conditions.size(); ++r) {
    sgTransfers->setItem(r, 0, new QTableWidgetItem(conditions[r]));
    sgTransfers->setItem(r, 1, new QTableWidgetItem(targets.value(r)));
  }
}

void TFTT_Brouser::SpeedButton1Click() { docwin::closeWindow(this); }

void TFTT_Brouser::resizeEvent(QResizeEvent* event) {
  TChildForm::resizeEvent(event);
  const int w = sgTransfers->width() / 2 - 3;
  sgTransfers->setColumnWidth(0, w);
  sgTransfers->setColumnWidth(1, w);
}

bool TFTT_Brouser::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pDrag) {
    if (event->type() == QEvent::MouseButtonPress) {
      auto* me = static_cast<QMouseEvent*>(event);
      if (me->button() == Qt::LeftButton) {
        dragging_ = true;
        dragRow_ = int(me->globalPosition().y());
        return true;
      }
    } else if (event->type() == QEvent::MouseMove && dragging_) {
      const int y = int(static_cast<QMouseEvent*>(event)->globalPosition().y());
      const int d = y - dragRow_;
      // Neither part may shrink to nothing.
      if ((d > 0 && sgTransfers->height() - d > 5) || (d < 0 && lbSY->height() + d > 5)) {
        lbSY->setFixedHeight(lbSY->height() + d);
        dragRow_ = y;
      }
      return true;
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      dragging_ = false;
      return true;
    }
  }
  return TChildForm::eventFilter(watched, event);
}

}  // namespace tiravo
