#pragma once
// What a window of Tiravo may ask of the frame that holds it. The frame hands itself to every
// child it adds (TChildForm::frame()) and to the dialogs it makes at start-up; a window made
// outside a frame has none and asks nothing.
#include <QString>

class QMdiSubWindow;

namespace tiravo {

class TChildForm;
class TEditForm;
class TErrorView;
class TVexoTableForm;

class TFrame {
 public:
  // The File commands every child's "&Файл" menu offers.
  enum class FileCmd { Open, NewSku, NewRvas, NewLsa, NewTable, Exit };

  // Adds the window as an MDI child owned by the frame and shows it.
  virtual QMdiSubWindow* addChild(TChildForm* child) = 0;
  virtual TChildForm* activeChild() const = 0;
  virtual void fileCommand(FileCmd cmd) = 0;
  // A new editor (kind 1 СКУ, 2 РВАС, 3 ЛСА) and a new, empty table window.
  virtual TEditForm* newEditor(int kind) = 0;
  virtual TVexoTableForm* newTable() = 0;

  // The font-size box shows `size` (not a change of it); enabled once a window with a font exists.
  virtual void showFontSize(int size) = 0;
  virtual void enableFontSize() = 0;
  // The tool panel's clipboard buttons for the active editor.
  virtual void setClipboardCommands(bool selected, bool canPaste) = 0;
  // The status bar: the hint text, and the compiler's progress panels.
  virtual void ShowHint(const QString& hint) = 0;
  virtual void showProgressPanels(bool on) = 0;
  virtual void setProgress(int done, int total) = 0;
  // The error view the table compiler shows a faulty cell in.
  virtual TErrorView* errorView() = 0;

 protected:
  ~TFrame() = default;
};

}  // namespace tiravo
