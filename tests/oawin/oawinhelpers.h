#pragma once
// A frame with a table whose operational automaton the windows work on, and a way to answer
// the program's own modal dialogs.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>
#include <functional>

#include "../editor/helpers.h"
#include "../oa/oatestutil.h"
#include "velmora/oa/oaform.h"
#include "velmora/oa/oamodelform.h"
#include "velmora/oa/yselectform.h"

using namespace velmora;

namespace oawt {

inline TableRow R(const char* si, const char* y, const char* x, const char* sj) {
  return {QString::fromUtf8(si), QString::fromUtf8(y), QString::fromUtf8(x), QString::fromUtf8(sj)};
}

// Runs `answer` once the next modal dialog is up (checked on the event loop the dialog runs).
inline void whenModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(0);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (QWidget* m = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      answer(m);
    }
  });
  timer->start();
}

// The signal dialog picks `names` in this order, then OK.
inline void pickSignals(const QStringList& names) {
  whenModal([names](QWidget*) {
    for (const QString& n : names) {
      const auto found = YSelectForm->PassivY->findItems(n, Qt::MatchExactly);
      if (found.isEmpty()) continue;
      YSelectForm->PassivY->setCurrentItem(found.first());
      YSelectForm->PassivYDblClick();
    }
    YSelectForm->OkButtonClick();
  });
}

class OaWindows : public edtest::InFrame {
 protected:
  // The rows of the acceptance table: y1&y2, y2, y3 and X1&x2, 1, x3.
  TVexoTableForm* acceptanceTable() {
    return newTable({R("s0", "y1&y2", "X1&x2", "s1"), R("s1", "y2", "1", "s2"), R("s2", "y3", "x3", "s0")});
  }
  // A table with the described worked example: A[8], B[8], C[4], bus DI1[8]; y1..y3, x1..x3.
  TVexoTableForm* exampleTable() {
    TVexoTableForm* t = acceptanceTable();
    describeExample(&t->document()->oa());
    t->CheckTableFilled();
    return t;
  }
  TOAModelForm* openModel(TVexoTableForm* t) {
    t->OAModelClick();
    return t->document()->modelOpen() ? OAModelForm.data() : nullptr;
  }
  TOAForm* openDesigner(TVexoTableForm* t) {
    t->OAClick();
    return t->document()->designerOpen() ? OAForm.data() : nullptr;
  }
};

}  // namespace oawt
