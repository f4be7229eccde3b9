#pragma once
// What the frame needs of a document window. Every MDI child derives from TDocChild;
// the frame routes its commands here only when the child's kind matches ChildKind.
#include <QList>
#include <QWidget>
#include <functional>
#include <vector>

#include "velmora/frameapi/childkind.h"

class QMenu;

namespace velmora {

class TFrame;

// Frame commands routed to the active child.
enum class FrameCmd {
  Save,
  Cut,
  Copy,
  Paste,
  Delete,
  ToSku,
  ToTbl,
  Compile,
  AddStr,
  InsStr,
  DelStr,
  OaCall,
  Report,
  GsaPlace,  // the 16 placing tools (the sender tells which)
  GsaDelete,
  ModelOpen,
  ModelSave,
  ModelBus,
  ModelStep,
  ModelPause,
  ModelPlay,
  ModelStop,  // the joint model's run buttons
  Bin,
  Hex,
  Dec,
  Options,
  ShowMessages
};

// One frame command a kind of window takes: what it runs (the frame's action is the sender),
// and whether the window switches the action on and off itself from what it holds; otherwise
// the action is on while the window is the active one.
struct FrameHandler {
  FrameCmd cmd;
  std::function<void(QObject* sender)> run;
  bool switchesItself = false;
};
using FrameHandlers = std::vector<FrameHandler>;

class TDocChild : public QWidget {
  Q_OBJECT
 public:
  explicit TDocChild(QWidget* parent = nullptr) : QWidget(parent) {}
  ~TDocChild() override = default;

  // The ChildKind value of this window.
  virtual ChildKindValue kind() const = 0;
  // The frame commands this window takes, from its one declaration (frameHandlers): the frame
  // enables its actions by it and runs them through it, so the two cannot disagree.
  bool handles(FrameCmd cmd) const;
  bool switchesItself(FrameCmd cmd) const;
  // Runs one frame command; `sender` is the frame's action. False when the window does not
  // take it.
  bool frameCommand(FrameCmd cmd, QObject* sender);
  // Takes in what is being typed in a cell, before a question about the document (the exit).
  virtual void commitPendingEdit() {}
  // The frame's font-size box changed (kinds 1 to 4). Returns false when this kind has no font.
  virtual bool setFontSize(int size) {
    Q_UNUSED(size);
    return false;
  }
  // Called by the frame when this child becomes the active one: sets ChildKind and
  // lets the frame re-enable its actions. Children override to set their own actions too.
  virtual void activated();
  // Called by the frame when another child becomes the active one.
  virtual void deactivated() {}
  // True while the document has unsaved changes (status panel 0).
  virtual bool isModified() const { return false; }
  // Asked before the window closes, and by the frame before the program exits: a modified
  // document asks whether to save. False keeps the window (and the program) open.
  virtual bool FormCloseQuery() { return true; }
  // The window is closing after its question was answered: what the frame shows for it goes.
  virtual void FormClose() {}

  // The frame that holds this window (set when the frame adds it); nullptr outside a frame.
  TFrame* frame() const { return frame_; }
  void setFrame(TFrame* frame) {
    frame_ = frame;
    if (frame_) attachedToFrame();
  }
  // True for the windows with a font: the frame's font-size box is enabled when one is added.
  virtual bool hasFont() const { return false; }

  // Menus merged into the frame's menu bar: the child's "&Файл" (group 0) replaces the
  // frame's; the others (group 1) stand before "&Настройки", "&Окно" and "&Помощь".
  virtual QMenu* fileMenu() const { return nullptr; }
  virtual QList<QMenu*> windowMenus() const { return {}; }

 protected:
  // The frame has just taken this window in (before it is activated).
  virtual void attachedToFrame() {}
  // The frame commands this kind of window takes, with their handlers; asked once.
  virtual FrameHandlers frameHandlers() { return {}; }

 private:
  const FrameHandler* handlerOf(FrameCmd cmd) const;

  TFrame* frame_ = nullptr;
  mutable FrameHandlers handlers_;
  mutable bool handlersDeclared_ = false;
};

}  // namespace velmora
