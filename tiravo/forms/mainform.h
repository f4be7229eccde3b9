#pragma once
// The MDI frame of Tiravo: menus, tool panel, status bar with the compile progress, the clock
// in the caption; makes the document windows and routes its commands to the active child by
// ActiveChildKind.
#include <QMainWindow>
#include <QPointer>
#include <QTime>
#include <functional>

#include "tiravo/forms/childform.h"
#include "tiravo/forms/frame.h"

class QAction;
class QKeySequence;
class QComboBox;
class QMdiArea;
class QToolBar;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QTimer;

namespace tiravo {

class TEditForm;
class TVexoTableForm;
class TErrorView;
class TMemory;

class TMainForm : public QMainWindow, public TFrame {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // The application object's title "Vexo" and help file "Tiravo.hlp" (before any window).
  static void setUpApplication();

  // Set by the table compiler while it works; the progress panel shows their ratio.
  int ProgressTotal = 0;
  int ProgressDone = 0;
  // "n%" of done / total, truncated; a zero total reads "0%".
  static QString progressText(int done, int total);
  QString progressText() const { return progressText(ProgressDone, ProgressTotal); }
  // The status bar's two progress panels ("Компиляция" and the percentage) instead of the
  // hint text, and back.
  void showProgressPanels(bool on) override;
  void setProgress(int done, int total) override;
  bool progressPanelsShown() const;
  void repaintProgress();
  QString hintText() const;  // the simple text of the status bar

  // The time of day the clock shows (the local time unless a test puts another source here).
  std::function<QTime()> clock;
  void Timer1Timer();  // each tick: the clock in the caption
  QTimer* timer() const { return timer_; }

  // ---- children ----
  QMdiArea* mdiArea() const { return mdi_; }
  // Adds the window as an MDI child owned by the frame and shows it.
  QMdiSubWindow* addChild(TChildForm* child) override;
  TChildForm* activeChild() const override;
  void fileCommand(FileCmd cmd) override;
  // The editor and the table window created last (cleared when they are freed).
  QPointer<TEditForm> EditForm;
  QPointer<TVexoTableForm> TableForm;
  // kind 1 СКУ, 2 РВАС, 3 ЛСА, with the caption and save filter of that kind.
  TEditForm* newEditor(int kind) override;
  TVexoTableForm* newTable() override;
  // Opens a file as File > Open does after its dialog. Returns false when the extension is
  // not one of the program's (nothing shown) or the file was refused.
  bool openDocument(const QString& path);

  // The windows made at start-up, in this order after the frame: the РВАС to СКУ window, the
  // error view, the СКУ to table window, the determinizer's error list, the signal-set dialog
  // and the free-memory window.
  void createStartupWindows();
  // Made on first use when the start-up did not make them (tests).
  TErrorView* errorView() override;
  TMemory* memory();

  // ---- handlers ----
  void UpdateMenuItems();
  void FileOpenItemClick();
  void FileSaveItemClick();
  void FileExitItemClick();
  void NewRvasClick();
  void NewSkuClick();
  void NewLsaClick();
  void NewTblClick();
  void NewGSAClick();
  void CutItemClick();
  void CopyItemClick();
  void PasteItemClick();
  void Delete1Click();
  void Font3Click();  // the font-size box was changed
  void WindowTileItemClick();
  void WindowCascadeItemClick();
  void WindowArrangeItemClick();
  void WindowMinimizeItemClick();
  void miMemoryClick();  // "free memory" window
  void About1Click();
  void Contents1Click();
  void SearchforHelpOn1Click();
  void N3Click();  // help on using help
  void ShowHint(const QString& hint) override;

  // ---- controls ----
  QComboBox* fontSizeBox() const { return ComboBox1; }
  void showFontSize(int size) override;  // the box shows the size without firing Font3Click
  void enableFontSize() override;
  void setClipboardCommands(bool selected, bool canPaste) override;
  QAction *OpenBtn = nullptr, *SaveBtn = nullptr, *NewSkuBtn = nullptr, *NewRvasBtn = nullptr,
          *NewLsaBtn = nullptr, *NewTblBtn = nullptr, *NewGsaBtn = nullptr, *CutBtn = nullptr,
          *CopyBtn = nullptr, *PasteBtn = nullptr, *DeleteBtn = nullptr, *ExitBtn = nullptr,
          *AboutBtn = nullptr;
  QAction *tileItem = nullptr, *cascadeItem = nullptr, *arrangeItem = nullptr, *minimizeItem = nullptr,
          *memoryItem = nullptr;
  QMenu *fileMenu = nullptr, *windowMenu = nullptr, *helpMenu = nullptr;
  // The menus standing in the menu bar now (the frame's, or merged with the active child's).
  QList<QMenu*> menuBarMenus() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QAction* addMenuItem(QMenu* menu, const QString& text, const QKeySequence& key, const QString& hint,
                       void (TMainForm::*handler)());
  void fillWindowList();
  void buildMenus();
  void buildToolPanel();
  void buildStatusBar();
  void childActivated(QMdiSubWindow* sub);
  void mergeMenus(TChildForm* child);
  template <class Window>
  Window* activeAs(int kind) const;
  // The editor's or the table's handler, by ActiveChildKind (3 or 5) and the active child.
  template <class EditHandler, class TableHandler>
  void route(EditHandler onEditor, TableHandler onTable);

  QMdiArea* mdi_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QComboBox* ComboBox1 = nullptr;  // the tool panel's font-size box
  QTimer* timer_ = nullptr;
  QWidget* progressLabel_ = nullptr;
  class ProgressPanel* progressPanel_ = nullptr;
  TErrorView* errorView_ = nullptr;
  TMemory* memory_ = nullptr;
  QList<QMenu*> barMenus_;
  QList<QAction*> windowList_;
};

}  // namespace tiravo
