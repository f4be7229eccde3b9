#pragma once
// What the frame needs of a document window. Every MDI child derives from TDocChild;
// the frame routes its commands here only when the child's kind matches ChildKind.
#include <QList>
#include <QWidget>

#include "velmora/frameapi/childkind.h"

class QMenu;
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

class TDocChild : public QWidget {
  Q_OBJECT
 public:
  explicit TDocChild(QWidget* parent = nullptr) : QWidget(parent) {}
  ~TDocChild() override = default;

  // The ChildKind value of this window.
  virtual ChildKindValue kind() const = 0;
  // Runs one frame command; `sender` is the frame's action.
  virtual void frameCommand(FrameCmd cmd, QObject* sender) {
    Q_UNUSED(cmd);
    Q_UNUSED(sender);
  }
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

 private:
  TFrame* frame_ = nullptr;
};
