#pragma once
// A frame for the flowchart editor's window tests: the mouse over cells, the frame's tools,
// and answers to the block dialogs as a user gives them.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "tests/editor/helpers.h"
#include "velmora/flowchart/blockdialogs.h"
#include "velmora/flowchart/gsaform.h"
#include "velmora/flowchart/gsagridview.h"

using namespace velmora;

namespace gsatest {

inline void mouse(TGSAForm* w, QEvent::Type type, Qt::MouseButton button, int col, int row) {
  GsaGridView* g = w->GSAGrid;
  g->scrollTo(g->model()->index(row, col));
  QWidget* vp = g->viewport();
  const QPointF at = g->cellRect(col, row).center();
  QMouseEvent e(type, at, vp->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
  QApplication::sendEvent(vp, &e);
}
inline void click(TGSAForm* w, int col, int row, Qt::MouseButton button = Qt::LeftButton) {
  mouse(w, QEvent::MouseButtonPress, button, col, row);
  mouse(w, QEvent::MouseButtonRelease, button, col, row);
}
inline void moveTo(TGSAForm* w, int col, int row) { mouse(w, QEvent::MouseMove, Qt::NoButton, col, row); }

// The user picks an item from a combo (a change the dialog reacts to).
inline void choose(QComboBox* c, const QString& item) {
  c->setCurrentIndex(c->findText(item));
  emit c->activated(c->currentIndex());
}

// The next modal dialog of type Dialog gets `fill` (which presses its buttons).
template <class Dialog>
void answerNext(std::function<void(Dialog*)> fill) {
  QTimer::singleShot(0, [fill] {
    auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    fill(d);
  });
}
inline void answerOperator(const QString& text) {
  answerNext<TRectForm>([text](TRectForm* d) {
    d->RectEdit->setText(text);
    d->RectButton->click();
  });
}
// Labels "0", "1", "нет перехода", or empty to leave a combo as it is.
inline void answerCondition(const QString& text, const QString& left, const QString& right,
                            const QString& down) {
  answerNext<TRombForm>([=](TRombForm* d) {
    d->RombEdit->setText(text);
    if (!left.isEmpty()) choose(d->LeftCombo, left);
    if (!right.isEmpty()) choose(d->RightCombo, right);
    if (!down.isEmpty()) choose(d->DownCombo, down);
    d->RombButton->click();
  });
}
class GsaFrame : public edtest::InFrame {
 protected:
  TGSAForm* newGsa() {
    frame->NewGSAClick();
    return frame->lastGsaForm;
  }
  // Presses the frame's tool button, as the user does.
  void tool(GsaTool t) { frame->ui().gsaActions[static_cast<int>(t)]->trigger(); }
  GsaTool pressedTool() const {
    for (int i = 0; i < frame->ui().gsaActions.size(); ++i)
      if (frame->ui().gsaActions[i]->isChecked()) return static_cast<GsaTool>(i);
    return GsaTool::Start;
  }
  // Places with `t` at each cell.
  void place(TGSAForm* w, GsaTool t, std::initializer_list<std::pair<int, int>> cells) {
    tool(t);
    for (const auto& c : cells) click(w, c.first, c.second);
  }
};

}  // namespace gsatest
