#pragma once
// Answers the modal dialogs the windows open, and builds the worked table.
#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "../tiravo/tablehelp.h"
#include "tiravo/forms/addzform.h"
#include "tiravo/forms/setsform.h"

namespace wintest {

// The next modal dialog of type D: `edit` fills it, then it is accepted
// (or rejected). Dialogs that refuse to close are rejected after `edit`.
// A window that lets events in while it works may run the timer before the
// dialog is up: it then looks again a little later.
template <class D>
void Answer(std::function<void(D*)> edit, bool ok = true, int tries = 100) {
  QTimer::singleShot(tries < 100 ? 10 : 0, [edit, ok, tries] {
    auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
    if (!d && tries > 0) {
      Answer<D>(edit, ok, tries - 1);
      return;
    }
    if (!d) {
      ADD_FAILURE() << "no modal dialog to answer";
      if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget())) other->reject();
      return;
    }
    edit(d);
    if (ok) d->accept();
    if (d->isVisible()) d->reject();
  });
}

// Signal-set dialog: the named items become active (event set, binary 1s) or
// chosen (a letter); a binary assignment starts all 1, so `names` go to 0 there.
inline void AnswerSetS(const QStringList& names, bool ok = true) {
  Answer<tiravo::TSetSForm>(
      [names](tiravo::TSetSForm* d) {
        QListWidget* from = d->Mode == tiravo::TSetSForm::BinaryInput ? d->Act : d->Pass;
        if (d->Mode == tiravo::TSetSForm::AbstractInput) {
          d->lbZ->setCurrentItem(d->lbZ->findItems(names.value(0), Qt::MatchExactly).value(0));
          return;
        }
        from->clearSelection();
        for (const QString& n : names)
          for (QListWidgetItem* i : from->findItems(n, Qt::MatchExactly)) i->setSelected(true);
        d->Mode == tiravo::TSetSForm::BinaryInput ? d->btPassClick() : d->btActClick();
      },
      ok);
}

inline void AnswerName(const QString& name, bool ok = true) {
  Answer<tiravo::TAddZForm>([name](tiravo::TAddZForm* d) { d->Name->setText(name); }, ok);
}

inline QStringList ListTexts(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

inline std::unique_ptr<FTT> Worked() {
  auto m = std::make_unique<FTT>();
  tablehelp::WorkedTable(*m);
  return m;
}

}  // namespace wintest
