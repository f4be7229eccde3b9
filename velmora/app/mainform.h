#pragma once
// The MDI frame of Velmora: menus, tool bars, actions, status bar; routes commands to the
// active child by ChildKind.
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <utility>

#include "platform/parseint.h"
#include "velmora/frameapi/docchild.h"
#include "velmora/frameapi/frame.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace velmora {

class TDocChild;
class TTxtForm;
class TEditForm;
class TGSAForm;
class TVexoTableForm;
class TOptionsForm;

// The frame's actions, bars and menus. Only the frame reaches them; children ask for what they
// need through TFrame, and tests look at them through TMainForm::ui().
struct TFrameUi {
  // Actions.
  QAction *EditCutAction, *EditCopyAction, *EditPasteAction, *EditDelAction;
  QAction *openFileAction, *saveFileAction;
  QAction *newRvasAction, *newSkuAction, *newGsaAction, *newTblAction, *newTxtAction, *exitAction;
  QAction *CompileAction, *ToSkuAction, *ToTblAction;
  QAction *AddStrAction, *InsStrAction, *DelStrAction, *OaCallAction, *ReportAction;
  QList<QAction*> gsaActions;  // the 17 flowchart actions, GsaBegAction first, GsaDelAction last
  QAction *ModelOpenAction, *ModelSaveAction, *ModelBegAction, *ModelBusAction, *ModelStepAction,
      *ModelPauseAction, *ModelPlayAction, *ModelStopAction;
  QAction *BinAction, *HexAction, *DecAction;

  QToolBar *fileToolBar, *editToolBar, *transToolBar, *tblToolBar, *gsaToolBar, *modelToolBar, *regToolBar;

  // Menus and items of the frame.
  QMenu *fileMenuFrame = nullptr, *createMenu = nullptr, *settingsMenu = nullptr, *toolBarsMenu = nullptr,
        *windowMenu = nullptr, *helpMenu = nullptr;
  QAction *optionsItem = nullptr, *showMessagesItem = nullptr, *autoShowItem = nullptr;
  QAction* toolBarItems[7] = {};  // menu order: file, edit, gsa, tbl, trans, model, reg
  QAction *tileItem = nullptr, *cascadeItem = nullptr, *arrangeItem = nullptr, *minimizeItem = nullptr;
  QAction *helpContentsItem = nullptr, *helpSearchItem = nullptr, *aboutItem = nullptr,
          *howToUseItem = nullptr;
  QActionGroup *gsaGroup = nullptr, *radixGroup = nullptr;
};

class TMainForm : public QMainWindow, public TFrame, private TFrameUi {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // Settings mirrored from the registry.
  QString Options, Panels, RootDir, State;

  // ---- What the frame does for its children ----
  QMdiSubWindow* addChild(TDocChild* child, QObject* ownerObject = nullptr) override;
  void activateChild(TDocChild* child) override;
  TDocChild* activeChild() const override;
  TDocChild* lastChild(ChildKindValue kind) const override;
  TDocChild* newDocument(NewDoc doc) override;
  TDocChild* openOaWindow(OaWindow which, TVexoTableForm* table) override;  // oawindows.cpp
  void openFile() override { FileOpenItemClick(); }
  void exitProgram() override { FileExitItemClick(); }
  void updateActions() override { UpdateChildActions(); }
  void setCommandEnabled(FrameCmd cmd, bool enabled) override;
  void setCommandChecked(FrameCmd cmd, bool checked) override;
  bool commandChecked(FrameCmd cmd) const override;
  int gsaTool() const override;
  void setGsaTool(int tool) override;
  // Status bar: 0 "Изменен", 1 position, 2 progress/results, 3 hint.
  void setStatusText(int panel, const QString& text) override;
  QString statusText(int panel) const;
  // The bar's one simple text, shown in place of the panels while it is not empty.
  void setSimpleText(const QString& text) override;
  QString simpleText() const;
  void showFontSize(int size) override;
  QString helpFile() const override;
  QString options() const override { return Options; }
  void setOptions(const QString& options) override { Options = options; }

  QMdiArea* mdiArea() const { return mdi_; }
  QComboBox* fontSizeBox() const { return fontSizeBox_; }
  // The actions, bars and menus, for the frame's own helpers and for tests.
  const TFrameUi& ui() const { return *this; }

  // The window of each class created last (borrowed; cleared automatically when it is freed).
  QPointer<TTxtForm> lastTxtForm;
  QPointer<TEditForm> lastEditForm;
  QPointer<TGSAForm> lastGsaForm;
  QPointer<TVexoTableForm> lastTableForm;

  void UpdateChildActions();
  void UpdateMenuItems();
  void EnableGsaActions(bool enabled);

  // File handlers; every child's "&Файл" menu calls these.
  void FileOpenItemClick();
  void FileSaveItemClick();
  void NewTxtClick();
  void NewRvasClick();
  void NewSkuClick();
  void NewGSAClick();
  void NewTblClick();
  void FileExitItemClick();
  // Opens a file by its extension, as File > Open does after its dialog. Returns the window.
  TDocChild* openDocument(const QString& path);

  // How File > New and File > Open make windows (the functions of doccreate.h by default;
  // tests put their own here). An empty path makes a new document.
  struct Creators {
    std::function<TDocChild*(const QString&)> text;
    std::function<TDocChild*(int kind, const QString&)> edit;  // kind 0 РВАС, 1 СКУ
    std::function<TDocChild*(const QString&)> table;
    std::function<TDocChild*(const QString&)> gsa;
  };
  Creators creators;

  // ---- Frame commands routed to the active child (when it takes them) ----
  // Runs `cmd` on the active child when it is of the kind ChildKind names and takes `cmd`.
  // Returns true when the child ran it.
  bool dispatch(FrameCmd cmd, QObject* sender);
  void mOptionsClick();      // "&Опции..."
  void mShowMessageClick();  // "Показывать &сообщения"
  // The font-size box changed (by the user): the active child's font.
  void FontSizeClick();

  // ---- Window and tool-bar commands ----
  void WindowCascadeItemClick();
  void WindowTileItemClick();
  void WindowArrangeItemClick();
  void WindowMinimizeItemClick();
  void mToolBarClick();  // "&Панели инструментов" opened: items follow the bars
  void toggleToolBar(QToolBar* bar);  // a bar item of "&Панели инструментов"
  void mAutoShowClick();
  bool autoShow() const;

  // ---- Settings and help ----
  void LoadSettings();
  // On the first start (LoadSettings found no settings) says "Добро пожаловать в Vexo!", once;
  // the start-up calls it when its picture is gone, before the frame is shown.
  void greetFirstStart();
  void RestoreLayout();
  void StoreLayout();
  void SaveSettings();
  void ContentsClick();
  void SearchforHelpOnClick();
  void HowtouseClick();
  void AboutClick();  // the about box, modal

  // The menus now standing in the menu bar (the frame's or the active child's).
  QList<QMenu*> menuBarMenus() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void createToolBars();
  void createStatusBar();
  void onSubWindowActivated(QMdiSubWindow* window);
  void onSubWindowGone(QObject* window);
  void mergeMenus(TDocChild* child);
  void applyBarPositions();
  void rebuildWindowList();
  // The active child when it is the one ChildKind names: the one the commands go to.
  TDocChild* commandTaker() const;
  // Each of the frame's command actions with its command (the 16 placing tools share one).
  QList<std::pair<QAction*, FrameCmd>> commandActions() const;
  void UpdateSaveButton();
  // Enables the command actions for the active child (UpdateChildActions without the bars).
  void UpdateCommands();

  QMdiArea* mdi_ = nullptr;
  QComboBox* fontSizeBox_ = nullptr;
  QLabel* panels_[4] = {};
  QLabel* simpleText_ = nullptr;
  QAction* commandAction(FrameCmd cmd) const;
  struct Private;
  std::unique_ptr<Private> d_;
};

}  // namespace velmora
