#include <QAction>

#include "platform/longlines.h"
#include "velmora/frameapi/frame.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/documents/tableform.h"

namespace velmora {

// The compiler's message memo under the grid, the frame's status panels and the options command.

void TVexoTableForm::setStatusPanel(int panel, const QString& text) {
  if (frame()) frame()->setStatusText(panel, text);
}

void TVexoTableForm::appendMessage(const QString& line) { status_->appendLine(line); }
void TVexoTableForm::clearMessages() { status_->clear(); }
void TVexoTableForm::setMessagesText(const QString& text) { status_->setText(text, false); }
QString TVexoTableForm::messagesText() const { return status_->wholeText(); }
bool TVexoTableForm::messagesVisible() const { return !status_->isHidden(); }

void TVexoTableForm::MessageClick(QObject* sender) {
  if (messagesShown_) {
    status_->hide();
    messagesShown_ = false;
  } else {
    status_->show();
    messagesShown_ = true;
  }
  if (auto* item = qobject_cast<QAction*>(sender))
    item->setChecked(messagesShown_);
  else if (frame())
    frame()->setCommandChecked(FrameCmd::ShowMessages, messagesShown_);
}

void TVexoTableForm::mOptionsClick() {
  // The table has no settings of its own; the compiler reads the dialog's table page.
  if (!OptionsForm) return;
  DocSettings tmp;
  OptionsForm->execFor(&tmp, false);
}

}  // namespace velmora
