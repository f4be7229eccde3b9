#pragma once
// What the frame needs of every MDI child of Tiravo: the kind it writes into ActiveChildKind
// when it is activated and the menus it merges into the frame's menu bar.
#include <QList>
#include <QWidget>

class QMenu;

namespace tiravo {

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
};

}  // namespace tiravo
