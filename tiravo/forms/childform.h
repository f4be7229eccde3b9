#pragma once
// What the frame needs of every MDI child of Tiravo: the kind it writes into ActiveChildKind
// when it is activated and the menus it merges into the frame's menu bar.
#include <QList>
#include <QWidget>
#include <functional>

class QMenu;

namespace tiravo {

class TFrame;

// The kind of the child activated last: 3 text editor, 5 table window, 7 simulators, the
// determinizer and the model browser. Nothing resets it when that child closes.
extern int ActiveChildKind;

class TChildForm : public QWidget {
  Q_OBJECT
 public:
  explicit TChildForm(QWidget* parent = nullptr) : QWidget(parent) {}

  virtual int kind() const = 0;
  // Runs when the child becomes the active one; the default writes ActiveChildKind.
  virtual void FormActivate() { ActiveChildKind = kind(); }
  // Asked before the window closes; false keeps it open.
  virtual bool FormCloseQuery() { return true; }
  // The child's menus: its "&Файл" (first) replaces the frame's, the others stand before
  // "&Окно" and "&Помощь". Empty: the frame's menus stay.
  virtual QList<QMenu*> menus() const { return {}; }

  // True for the windows with a font: the frame's font-size box is enabled when one is added.
  virtual bool hasFont() const { return false; }

  // The frame that holds this window (set when the frame adds it); nullptr outside a frame.
  TFrame* frame() const { return frame_; }
  void setFrame(TFrame* frame) { frame_ = frame; }

 private:
  TFrame* frame_ = nullptr;
};

// The frame of `window` or of the child window it belongs to; nullptr outside a frame.
TFrame* frameOf(const QWidget* window);
// One of the frame's File commands (a TFrame::FileCmd) as a command of `window`'s menus.
std::function<void()> frameCommand(QWidget* window, int cmd);

}  // namespace tiravo
