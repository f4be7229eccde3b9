#include "tiravo/forms/simstep.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/dialogs.h"
#include "platform/docwindow.h"
#include "platform/errors.h"
#include "platform/longlines.h"
#include "platform/textfile.h"
#include "tiravo/forms/bitmaps.h"
#include "tiravo/forms/framemenus.h"
#include "tiravo/forms/window_commands.h"
#include "tiravo/forms/frame.h"
#include "tiravo/forms/setsform.h"

namespace tiravo {

namespace {

QLineEdit* ReadOnlyEdit(const QString& text, QWidget* parent) {
  auto* e = new QLineEdit(text, parent);
  e->setReadOnly(true);
  return e;
}

}  // namespace

TSimStep::TSimStep(std::unique_ptr<FTT> model, QWidget* parent) : TChildForm(parent) {
  if (!model) throw VexoError(QStringLiteral("ошибка передачи данных в модуль TSimStep!"));
  history_ = std::make_unique<StepHistory>(std::move(model));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Пошаговое моделирование"));
  resize(420, 360);
  BuildControls();
  BuildMenus();
  SetStepEnabled(false);
  SetBackEnabled(false);
  ApplyLayout();
}

TSimStep::~TSimStep() = default;

void TSimStep::BuildControls() {
  sbSetS = ToolButton(this, QStringLiteral("s0"), QStringLiteral("Установить исходное событие"));
  sbSetX = ToolButton(this, QStringLiteral("setx"), QStringLiteral("Установить входной сигнал"));
  sbStep = ToolButton(this, QStringLiteral("step"), QStringLiteral("Шаг моделирования"));
  sbBack = ToolButton(this, QStringLiteral("back"), QStringLiteral("Вернуться к предыдущему"));
  sbSave = ToolButton(this, QStringLiteral("save"), QStringLiteral("Сохранит историю переходов"));
  sbExit = ToolButton(this, QStringLiteral("exit"), QStringLiteral("Выход"));
  auto* tools = new QHBoxLayout;
  for (QToolButton* b : {sbSetS, sbSetX, sbStep, sbBack, sbSave}) tools->addWidget(b);
  tools->addStretch();
  tools->addWidget(sbExit);
  connect(sbSetS, &QToolButton::clicked, this, &TSimStep::SetSClick);
  connect(sbSetX, &QToolButton::clicked, this, &TSimStep::SetXClick);
  connect(sbStep, &QToolButton::clicked, this, &TSimStep::StepClick);
  connect(sbBack, &QToolButton::clicked, this, &TSimStep::BackClick);
  connect(sbSave, &QToolButton::clicked, this, &TSimStep::SaveClick);
  connect(sbExit, &QToolButton::clicked, this, [this] { docwin::closeWindow(this); });

  eSi = ReadOnlyEdit(QStringLiteral("начальное событие не задано"), this);
  eXij = ReadOnlyEdit(QStringLiteral("входной сигнал не задан"), this);
  auto* si = new QHBoxLayout;
  si->addWidget(new QLabel(QStringLiteral("Si[t] "), this));
  si->addWidget(eSi);
  auto* xij = new QHBoxLayout;
  xij->addWidget(new QLabel(QStringLiteral("Xij[t] "), this));
  xij->addWidget(eXij);

  lTrans = new QLabel(QStringLiteral("Возможные переходы:"), this);
  lStep = new QLabel(this);
  LedT = new QToolButton(this);
  LedT->setAutoRaise(true);
  LedT->setIcon(Glyph(QStringLiteral("BITMAP_UP")));
  LedT->setToolTip(QStringLiteral("Свернуть список переходов"));
  auto* transHead = new QHBoxLayout;
  transHead->addWidget(lTrans);
  transHead->addWidget(lStep);
  transHead->addStretch();
  transHead->addWidget(LedT);
  lbXS = new QListWidget(this);
  lbXS->setFont(QFont(QStringLiteral("Vexo font")));
  connect(lbXS, &QListWidget::itemClicked, this, &TSimStep::ChooseTransition);
  connect(lbXS, &QListWidget::itemDoubleClicked, this, &TSimStep::StepClick);
  connect(LedT, &QToolButton::clicked, this, &TSimStep::LedTClick);

  pDrag = new QFrame(this);
  pDrag->setFrameShape(QFrame::StyledPanel);
  pDrag->setCursor(Qt::SplitVCursor);
  lHistory = new QLabel(QStringLiteral("История переходов:"), pDrag);
  LedH = new QToolButton(pDrag);
  LedH->setAutoRaise(true);
  LedH->setIcon(Glyph(QStringLiteral("BITMAP_DOWN")));
  LedH->setToolTip(QStringLiteral("Свернуть историю переходов"));
  auto* bar = new QHBoxLayout(pDrag);
  bar->setContentsMargins(2, 0, 2, 0);
  bar->addWidget(lHistory);
  bar->addStretch();
  bar->addWidget(LedH);
  pDrag->installEventFilter(this);
  connect(LedH, &QToolButton::clicked, this, &TSimStep::LedHClick);

  mHistory = new longlines::TextEdit(this);
  mHistory->setReadOnly(true);

  // The frame's font command finds the focused control by its name.
  const std::pair<QWidget*, const char*> named[] = {{eSi, "eSi"},     {eXij, "eXij"},
                                                    {lbXS, "lbXS"},   {mHistory, "mHistory"},
                                                    {lStep, "lStep"}, {pDrag, "pDrag"}};
  for (const auto& [w, name] : named) w->setObjectName(QString::fromLatin1(name));

  auto* main = new QVBoxLayout(this);
  main->addLayout(tools);
  main->addLayout(si);
  main->addLayout(xij);
  main->addLayout(transHead);
  main->addWidget(lbXS);
  main->addWidget(pDrag);
  main->addWidget(mHistory, 1);
  main->addStretch(0);
}

void TSimStep::BuildMenus() {
  QMenu* file = new QMenu(QStringLiteral("Файл"), this);
  AddFrameCreateItems(this, file, true);
  file->addSeparator();
  AddItem(this, file, QStringLiteral("Сохранить историю переходов..."),
          QKeySequence(QStringLiteral("Ctrl+S")), [this] { SaveClick(); });
  AddItem(this, file, QStringLiteral("Закрыть панель"), QKeySequence(QStringLiteral("Ctrl+X")),
          [this] { docwin::closeWindow(this); });
  file->addSeparator();
  AddFrameExitItem(this, file);

  QMenu* sim = new QMenu(QStringLiteral("Моделирование"), this);
  AddItem(this, sim, QStringLiteral("Исходное состояние..."), QKeySequence(Qt::Key_F8),
          [this] { SetSClick(); });
  miStep =
      AddItem(this, sim, QStringLiteral("Шаг вперёд"), QKeySequence(Qt::Key_F9), [this] { StepClick(); });
  miBack = AddItem(this, sim, QStringLiteral("Шаг назад"), QKeySequence(QStringLiteral("Ctrl+F9")),
                   [this] { BackClick(); });

  QMenu* signals_ = new QMenu(QStringLiteral("Сигналы"), this);
  AddItem(this, signals_, QStringLiteral("Задать..."), QKeySequence(Qt::Key_F7), [this] { SetXClick(); });
  AddItem(this, signals_, QStringLiteral("Как сигнал перехода"), QKeySequence(QStringLiteral("Ctrl+F7")),
          [this] { ChooseTransition(); });
  menus_ = {file, sim, signals_};
}

void TSimStep::SetStepEnabled(bool on) {
  sbStep->setEnabled(on);
  if (miStep) miStep->setEnabled(on);
}

void TSimStep::SetBackEnabled(bool on) {
  sbBack->setEnabled(on);
  if (miBack) miBack->setEnabled(on);
}

void TSimStep::Refresh() {
  const StepHistory& h = *history_;
  lStep->setText(h.StepLabel());
  eSi->setText(h.EventsDisplay());
  eXij->setText(h.InputDisplay());
  lbXS->clear();
  lbXS->addItems(h.GroupItems());
  if (lbXS->count() > 0) lbXS->setCurrentRow(0);
  SetStepEnabled(h.CanStep());
  SetBackEnabled(h.CanBack());
  mHistory->setLines(h.Lines(), false);
  mHistory->moveCursor(QTextCursor::End);
}

// ---- commands ----

void TSimStep::SetSClick() {
  TSetSForm dialog(this);
  const FTT& m = history_->Model();
  if (!dialog.SetIt(m.SNames.All(), history_->CurrentRecord().events, TSetSForm::EventSet)) return;
  if (dialog.exec() != QDialog::Accepted) return;
  QString text;
  SignalSet chosen;
  dialog.GetIt(text, m.SNames.All(), chosen);
  history_->SetInitial(USignalSet(chosen), text);
  Refresh();
}

void TSimStep::SetXClick() {
  const FTT& m = history_->Model();
  TSetSForm dialog(this);
  const int mode = m.Mode == FTT::Abstract ? TSetSForm::AbstractInput : TSetSForm::BinaryInput;
  if (!dialog.SetIt(m.XNames, history_->InputPreset(), mode)) return;
  if (dialog.exec() != QDialog::Accepted) return;
  QString text;
  SignalSet chosen;
  dialog.GetIt(text, m.XNames, chosen);
  history_->SetInput(SSignalSet(chosen), text);
  eXij->setText(text);
  SetStepEnabled(history_->CanStep());
}

void TSimStep::ChooseTransition() {
  if (!history_->ChooseGroup(lbXS->currentRow())) return;
  eXij->setText(history_->CurrentRecord().inputText);
  SetStepEnabled(history_->CanStep());
}

void TSimStep::StepClick() {
  if (!history_->Step()) return;
  Refresh();
}

void TSimStep::BackClick() {
  if (!history_->Back()) return;
  Refresh();
}

bool TSimStep::SaveClick() {
  const QString path = docwin::askSavePath(
      this, QStringLiteral("History"), QStringLiteral("Текстовые файлы|*.txt|Все файлы|*.*"),
      QStringLiteral("txt"), QString(), QStringLiteral("Сохранение истории переходов в текстовом виде"));
  if (path.isEmpty()) return false;
  QString error;
  if (!textfile::writeLines(path, history_->Lines(), &error)) {
    dlg::message(this, error, QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
    return false;
  }
  return true;
}

// ---- the two panes ----

bool TSimStep::NormalState() const {
  const QWidget* w = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
  return !(w->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

void TSimStep::GrowWindow(int d) {
  QWidget* w = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
  w->resize(w->width(), w->height() + d);
}

void TSimStep::ApplyLayout() {
  auto* main = static_cast<QVBoxLayout*>(layout());
  lbXS->setVisible(listShown_);
  mHistory->setVisible(historyShown_);
  if (listShown_ && historyShown_) {
    lbXS->setFixedHeight(listHeight_);
  } else {
    lbXS->setMinimumHeight(0);
    lbXS->setMaximumHeight(QWIDGETSIZE_MAX);
  }
  main->setStretchFactor(lbXS, listShown_ && !historyShown_ ? 1 : 0);
  main->setStretch(main->count() - 1, !listShown_ && !historyShown_ ? 1 : 0);
}

void TSimStep::LedTClick() {
  const bool show = !listShown_;
  LedT->setIcon(Glyph(show ? QStringLiteral("BITMAP_UP") : QStringLiteral("BITMAP_DOWN")));
  LedT->setToolTip(show ? QStringLiteral("Свернуть список переходов")
                        : QStringLiteral("Раскрыть список переходов"));
  lTrans->setEnabled(show);
  if (NormalState()) {
    if (show && historyShown_ && listHeight_ > mHistory->height()) listHeight_ = mHistory->height() / 2;
    if (!historyShown_) GrowWindow(show ? listHeight_ : -lbXS->height());
  }
  listShown_ = show;
  ApplyLayout();
}

void TSimStep::LedHClick() { ShowHistory(!historyShown_, true); }

void TSimStep::ShowHistory(bool show, bool resizeWindow) {
  const int memo = qMax(mHistory->height(), 20);
  LedH->setIcon(Glyph(show ? QStringLiteral("BITMAP_DOWN") : QStringLiteral("BITMAP_UP")));
  LedH->setToolTip(show ? QStringLiteral("Свернуть историю переходов")
                        : QStringLiteral("Раскрыть историю переходов"));
  lHistory->setEnabled(show);
  if (NormalState()) {
    if (listShown_) {
      if (show)
        listHeight_ = listHeight_ < memo ? listHeight_ / 2 : listHeight_ - memo;
      else
        listHeight_ += memo;
    } else if (resizeWindow) {
      GrowWindow(show ? memo : -memo);
    }
  }
  historyShown_ = show;
  ApplyLayout();
}

bool TSimStep::DragBy(int d) {
  if (!listShown_) {
    listHeight_ = 5;
    LedTClick();
    listHeight_ = 5;
    ApplyLayout();
  }
  const int height = listHeight_ + d;
  if (height <= 4) return false;
  if (historyShown_ && mHistory->height() - d < 5) return false;
  if (!historyShown_) GrowWindow(d);
  listHeight_ = height;
  ApplyLayout();
  return true;
}

bool TSimStep::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type t = event->type();
  if (watched == pDrag &&
      (t == QEvent::MouseButtonPress || t == QEvent::MouseMove || t == QEvent::MouseButtonRelease)) {
    auto* me = static_cast<QMouseEvent*>(event);
    switch (t) {
      case QEvent::MouseButtonPress:
        if (me->button() == Qt::LeftButton) {
          dragging_ = true;
          dragY_ = int(me->globalPosition().y());
          return true;
        }
        break;
      case QEvent::MouseMove:
        if (dragging_) {
          const int y = int(me->globalPosition().y());
          if (DragBy(y - dragY_)) dragY_ = y;
          return true;
        }
        break;
      case QEvent::MouseButtonRelease:
        if (me->button() == Qt::LeftButton) dragging_ = false;
        break;
      default: break;
    }
  }
  return TChildForm::eventFilter(watched, event);
}

void TSimStep::resizeEvent(QResizeEvent* event) {
  TChildForm::resizeEvent(event);
  if (historyShown_) {
    spaceBelow_ = height() - mHistory->geometry().bottom();
  } else if (!listShown_ && height() > pDrag->geometry().bottom() + spaceBelow_ + 20) {
    // Both panes folded and the window pulled taller: the history comes back.
    ShowHistory(true, false);
  }
}

}  // namespace tiravo

namespace tiravo {

void runStepSim(TFrame& frame, FTT* model) { frame.addChild(new TSimStep(std::unique_ptr<FTT>(model))); }

}  // namespace tiravo
