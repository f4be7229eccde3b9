#include "velmora/documents/tableform.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "common/gui/tablegrid.h"
#include "platform/docwindow.h"
#include "platform/guard.h"
#include "platform/longlines.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/frameapi/frame.h"
#include "velmora/documents/tableform_shared.h"

namespace velmora {

// The window itself: construction, what the frame asks of it, activation and closing. The rest
// is in tableform_*.cpp, a file per concern.

using namespace tableform;

// ---------------------------------------------------------------------------------------
// Construction

TVexoTableForm::TVexoTableForm(QWidget* parent) : TDocChild(parent), doc_(new TTableDocument(this)) {
  setWindowTitle(kUntitledCaption);

  table_ = new TableGrid(this, QStringLiteral("Vexo font"), 11, 24, 80);  // 15 pixels at 96 dots per inch
  grid_ = table_->widget();
  table_->setCorner(QStringLiteral("[-]"));
  table_->selected = [this](int col, int row) { GridSelectCell(col, row); };
  table_->editStarted = [this](int col, int row) { GridGetEditText(col, row); };
  table_->editFinished = [this](int col, int row, const QString& text, bool typed) {
    GridSetEditText(col, row, text, typed);
  };
  table_->downKey = [this] { GridKeyDown(Qt::Key_Down); };

  // A message that quotes a long cell is laid out in pieces, as in the editors.
  status_ = new longlines::TextEdit(this);
  status_->setObjectName(QStringLiteral("status"));
  status_->setReadOnly(true);
  status_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setObjectName(QStringLiteral("Splitter1"));
  splitter_->setHandleWidth(2);
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(grid_);
  splitter_->addWidget(status_);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  splitter_->setSizes({260, 89});

  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(0, 0, 0, 0);
  lay->setSpacing(0);
  lay->addWidget(splitter_);

  buildMenus();
  // The grid follows the windows working on the description; the designer's apply may make
  // the ОА model available.
  connect(doc_, &TTableDocument::lockChanged, this, &TVexoTableForm::applyGridLocks);
  connect(doc_, &TTableDocument::descriptionApplied, this, &TVexoTableForm::CheckTableFilled);
  resize(480, 360);
  FormResize();
}

TVexoTableForm::~TVexoTableForm() {
  // The windows working on the description borrow its lists: they go first.
  closeLockHolders();
}

// ---------------------------------------------------------------------------------------
// Frame interface

FrameHandlers TVexoTableForm::frameHandlers() {
  // The translation to СКУ follows the content, the designer's call whether it is open
  // (CheckTableFilled, FormActivate).
  FrameHandlers out = {{FrameCmd::Save, [this](QObject*) { Save1Click(); }},
                       {FrameCmd::Cut, [this](QObject*) { Cut1Click(); }},
                       {FrameCmd::Copy, [this](QObject*) { Copy1Click(); }},
                       {FrameCmd::Paste, [this](QObject*) { Paste1Click(); }},
                       {FrameCmd::ToSku, [this](QObject*) { SkuClick(); }, true},
                       {FrameCmd::AddStr, [this](QObject*) { New2Click(); }},
                       {FrameCmd::InsStr, [this](QObject*) { Insert1Click(); }},
                       {FrameCmd::DelStr, [this](QObject*) { Del1Click(); }},
                       {FrameCmd::OaCall, [this](QObject*) { OAClick(); }, true},
                       {FrameCmd::Report, [this](QObject*) { mReportClick(); }},
                       {FrameCmd::Options, [this](QObject*) { mOptionsClick(); }},
                       {FrameCmd::ShowMessages, [this](QObject* sender) { MessageClick(sender); }}};
  // Every command first takes in the cell being typed.
  for (FrameHandler& h : out)
    h.run = [this, run = h.run](QObject* sender) {
      guard::run(this, [&] {
        commitOpenEditor();
        run(sender);
      });
    };
  return out;
}

void TVexoTableForm::commitPendingEdit() { commitOpenEditor(); }

bool TVexoTableForm::setFontSize(int size) {
  table_->chooseFontSize(size);
  return true;
}

void TVexoTableForm::FormActivate() {
  ChildKind = ckTable;
  if (TFrame* f = frame()) {
    f->updateActions();
    f->setCommandEnabled(FrameCmd::ToSku, hasContent_);
    f->setCommandEnabled(FrameCmd::OaCall, !doc_->designerOpen());
    f->setCommandChecked(FrameCmd::ShowMessages, messagesShown_);
  }
  if (doc_->oaPresent()) {
    setCorner(QStringLiteral("[+]"));
    OAModel_->setEnabled(!doc_->modelOpen());
  } else {
    setCorner(QStringLiteral("[-]"));
    OAModel_->setEnabled(false);
  }
  showFontSize(table_->fontSize());
  setStatusPanel(0, doc_->isModified() ? kModified : QString());
  if (renumberPending_) {
    GridSelectCell(1, 1);
    renumberPending_ = false;
  }
  setStatusPanel(1, QStringLiteral("%1:%2").arg(currentRow()).arg(currentColumn()));
}

void TVexoTableForm::closeEvent(QCloseEvent* event) {
  commitOpenEditor();
  // The windows working on the description answer first (a modified input file is not lost);
  // they close only once the table closes.
  docwin::handleClose(
      this, event, [this] { return askLockHolders() && FormCloseQuery(); },
      [this] {
        closeLockHolders();
        FormClose();
      });
}

void TVexoTableForm::FormClose() {
  setStatusPanel(0, QString());
  setStatusPanel(1, QString());
  ChildKind = ckNone;
  if (frame()) frame()->updateActions();
}

}  // namespace velmora
