#pragma once
// Document windows of every kind as the frame sees them: they record what the frame asks.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QList>
#include <QMenu>
#include <QTemporaryDir>
#include <memory>
#include <utility>

#include "platform/dialogs.h"
#include "platform/registry.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/frameapi/docchild.h"
#include "velmora/app/mainform.h"
#include "velmora/oa/yselectform.h"
#include "velmora/frameapi/optionsform.h"

using namespace velmora;

// The frame commands the program's window of each kind takes, and those of them it switches on
// and off itself.
inline QList<FrameCmd> commandsOf(int kind) {
  using C = FrameCmd;
  switch (kind) {
    case ckText: return {C::Save, C::Cut, C::Copy, C::Paste, C::Delete};
    case ckEdit:
      return {C::Save,  C::Cut,   C::Copy,    C::Paste,   C::Delete,
              C::ToSku, C::ToTbl, C::Compile, C::Options, C::ShowMessages};
    case ckGsa: return {C::Save, C::ToTbl, C::AddStr, C::GsaPlace, C::GsaDelete, C::Options, C::ShowMessages};
    case ckTable:
      return {C::Save,   C::Cut,    C::Copy,   C::Paste,  C::ToSku,   C::AddStr,
              C::InsStr, C::DelStr, C::OaCall, C::Report, C::Options, C::ShowMessages};
    case ckOaModel:
      return {C::AddStr,    C::InsStr,   C::DelStr, C::OaCall, C::Report, C::ModelOpen,
              C::ModelSave, C::ModelBus, C::Bin,    C::Hex,    C::Dec};
    case ckJointModel:
      return {C::Report,    C::ModelBus, C::ModelStep, C::ModelPause, C::ModelPlay,
              C::ModelStop, C::Bin,      C::Hex,       C::Dec};
    default: return {};
  }
}
inline QList<FrameCmd> switchedBy(int kind) {
  using C = FrameCmd;
  switch (kind) {
    case ckText: return {C::Cut, C::Copy, C::Paste, C::Delete};
    case ckEdit: return {C::Cut, C::Copy, C::Paste, C::Delete, C::Compile, C::ToTbl, C::ToSku};
    case ckTable: return {C::ToSku, C::OaCall};
    case ckOaModel: return {C::OaCall, C::ModelBus};
    case ckJointModel: return {C::ModelBus, C::ModelStep, C::ModelPause, C::ModelPlay, C::ModelStop};
    default: return {};
  }
}

// Every action of the frame that sends a command, with the command.
inline QList<std::pair<QAction*, FrameCmd>> frameCommandActions(const TMainForm* f) {
  const TFrameUi& u = f->ui();
  QList<std::pair<QAction*, FrameCmd>> r = {
      {u.saveFileAction, FrameCmd::Save},
      {u.EditCutAction, FrameCmd::Cut},
      {u.EditCopyAction, FrameCmd::Copy},
      {u.EditPasteAction, FrameCmd::Paste},
      {u.EditDelAction, FrameCmd::Delete},
      {u.ToSkuAction, FrameCmd::ToSku},
      {u.ToTblAction, FrameCmd::ToTbl},
      {u.CompileAction, FrameCmd::Compile},
      {u.AddStrAction, FrameCmd::AddStr},
      {u.InsStrAction, FrameCmd::InsStr},
      {u.DelStrAction, FrameCmd::DelStr},
      {u.OaCallAction, FrameCmd::OaCall},
      {u.ReportAction, FrameCmd::Report},
      {u.ModelOpenAction, FrameCmd::ModelOpen},
      {u.ModelSaveAction, FrameCmd::ModelSave},
      {u.ModelBusAction, FrameCmd::ModelBus},
      {u.ModelStepAction, FrameCmd::ModelStep},
      {u.ModelPauseAction, FrameCmd::ModelPause},
      {u.ModelPlayAction, FrameCmd::ModelPlay},
      {u.ModelStopAction, FrameCmd::ModelStop},
      {u.BinAction, FrameCmd::Bin},
      {u.HexAction, FrameCmd::Hex},
      {u.DecAction, FrameCmd::Dec},
      {u.optionsItem, FrameCmd::Options},
      {u.showMessagesItem, FrameCmd::ShowMessages},
  };
  for (int i = 0; i < 16; ++i) r.push_back({u.gsaActions[i], FrameCmd::GsaPlace});
  r.push_back({u.gsaActions[16], FrameCmd::GsaDelete});
  return r;
}

// A window of a kind that takes what the program's window of that kind takes, unless it is
// told what to take.
class FakeChild : public TDocChild {
 public:
  explicit FakeChild(int kind, const QString& title = QString()) : FakeChild(kind, title, commandsOf(kind)) {}
  FakeChild(int kind, const QString& title, QList<FrameCmd> takes, QList<FrameCmd> switched = {})
      : kind_(kind), takes_(std::move(takes)), switched_(switched.isEmpty() ? switchedBy(kind) : switched) {
    setWindowTitle(title.isEmpty() ? QStringLiteral("Окно %1").arg(kind) : title);
    resize(200, 120);
  }
  ChildKindValue kind() const override { return ChildKindValue(kind_); }
  FrameHandlers frameHandlers() override {
    FrameHandlers out;
    for (FrameCmd cmd : takes_)
      out.push_back({cmd, [this, cmd](QObject* sender) { record(cmd, sender); }, switched_.contains(cmd)});
    return out;
  }
  void record(FrameCmd cmd, QObject* sender) {
    commands << cmd;
    senders << sender;
    if (cmd == FrameCmd::ShowMessages && frame()) {
      itemCheckedOnCommand = frame()->commandChecked(FrameCmd::ShowMessages);
      messagesShown = !messagesShown;
      frame()->setCommandChecked(FrameCmd::ShowMessages, messagesShown);
    }
  }
  bool setFontSize(int size) override {
    if (kind_ < 1 || kind_ > 4) return false;
    fontSize = size;
    return true;
  }
  QMenu* fileMenu() const override { return file; }
  QList<QMenu*> windowMenus() const override { return menus; }
  bool isModified() const override { return false; }

  void activated() override {
    TDocChild::activated();
    if (frame()) frame()->setCommandChecked(FrameCmd::ShowMessages, messagesShown);
  }
  // Like the real windows: ask in FormCloseQuery, clean up in FormClose.
  bool FormCloseQuery() override {
    ++asked;
    return !refuseClose;
  }
  void FormClose() override {
    ++closed;
    // The designer and the model window leave the kind as it is when they close.
    if (kind_ != ckOaModel && kind_ != ckOaDesign) {
      ChildKind = ckNone;
      if (frame()) frame()->updateActions();
    }
  }

  QList<FrameCmd> commands;
  QList<QObject*> senders;
  int fontSize = 0;
  bool refuseClose = false;
  int asked = 0, closed = 0;
  // The message list: the frame's item "Показывать &сообщения" shows it for the active window.
  bool messagesShown = false;
  bool itemCheckedOnCommand = false;
  QMenu* file = nullptr;
  QList<QMenu*> menus;

 protected:
  void closeEvent(QCloseEvent* e) override {
    if (!FormCloseQuery()) {
      e->ignore();
      return;
    }
    FormClose();
    e->accept();
  }

 private:
  int kind_;
  QList<FrameCmd> takes_, switched_;
};

// A frame and options dialog on a settings file of their own; dialogs answered by script.
struct FrameHarness {
  QTemporaryDir dir;
  std::unique_ptr<dlg::Script> script = std::make_unique<dlg::Script>();
  TMainForm* frame = nullptr;

  explicit FrameHarness(bool show = true) {
    Registry::setStorageFile(dir.filePath(QStringLiteral("registry.ini")));
    ChildKind = ckNone;
    frame = new TMainForm;
    OptionsForm = new TOptionsForm(frame);
    YSelectForm = new TYSelectForm(frame);
    if (show) {
      frame->show();
      frame->activateWindow();
      QApplication::setActiveWindow(frame);
    }
  }
  ~FrameHarness() {
    delete frame;
    YSelectForm = nullptr;  // went with the frame
    Registry::setStorageFile(QString());
    ChildKind = ckNone;
  }
  FakeChild* add(int kind, const QString& title = QString(), QObject* owner = nullptr) {
    auto* c = new FakeChild(kind, title);
    frame->addChild(c, owner);
    return c;
  }
};
