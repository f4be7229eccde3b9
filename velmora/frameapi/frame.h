#pragma once
// What a document window may ask of the frame that holds it. The frame hands itself to every
// child it adds (TDocChild::frame()); a window made outside a frame has none and asks nothing.
#include <QString>

#include "velmora/frameapi/childkind.h"
#include "velmora/frameapi/docchild.h"

class QMdiSubWindow;
class QObject;

namespace velmora {

class TVexoTableForm;

class TFrame {
 public:
  // The documents File > New makes.
  enum class NewDoc { Text, Rvas, Sku, Gsa, Table };

  // Adds a document window as an MDI child and shows it; the frame owns it unless `owner` is
  // given, whose destruction then closes it. A text, РВАС/СКУ, flowchart or table window
  // becomes the frame's last window of its class.
  virtual QMdiSubWindow* addChild(TDocChild* child, QObject* owner = nullptr) = 0;
  virtual void activateChild(TDocChild* child) = 0;
  virtual TDocChild* activeChild() const = 0;
  // The window of that class created last (nullptr when none is left).
  virtual TDocChild* lastChild(ChildKindValue kind) const = 0;

  // The File commands every child's "&Файл" menu offers. newDocument returns the new window.
  virtual TDocChild* newDocument(NewDoc doc) = 0;

  // The windows that work on a table's operational-automaton description; the table asks the
  // frame for them, as they are above it.
  enum class OaWindow { Designer, Model, JointModel };
  // Opens one for `table`, which owns it: the designer and the ОА model window anew (nullptr
  // when the description refused it; the window has said why), the joint model reused and
  // started again.
  virtual TDocChild* openOaWindow(OaWindow which, TVexoTableForm* table) = 0;
  virtual void openFile() = 0;
  virtual void exitProgram() = 0;

  // The frame re-enables its actions for the active child.
  virtual void updateActions() = 0;
  // The frame's actions a child enables or checks.
  virtual void setCommandEnabled(FrameCmd cmd, bool enabled) = 0;
  virtual void setCommandChecked(FrameCmd cmd, bool checked) = 0;
  virtual bool commandChecked(FrameCmd cmd) const = 0;
  // The flowchart placing tool pressed on the frame's bar (its index; -1 none).
  virtual int gsaTool() const = 0;
  virtual void setGsaTool(int tool) = 0;

  // Status bar: 0 "Изменен", 1 position, 2 progress/results, 3 hint; the simple text takes the
  // bar in place of the panels while it is not empty.
  virtual void setStatusText(int panel, const QString& text) = 0;
  virtual void setSimpleText(const QString& text) = 0;
  // The font-size box shows `size` (not a change of it).
  virtual void showFontSize(int size) = 0;
  virtual QString helpFile() const = 0;
  // The program-wide option string (the registry's "Options") the options dialog splits and rebuilds.
  virtual QString options() const = 0;
  virtual void setOptions(const QString& options) = 0;

 protected:
  ~TFrame() = default;
};

}  // namespace velmora
