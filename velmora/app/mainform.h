#pragma once
// The MDI frame of Velmora: menus, tool bars, actions, status bar; routes commands to the
// active child by ChildKind.
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "platform/parseint.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class TDocChild;
class TTxtForm;
class TEditForm;
class TGSAForm;
class TVexoTableForm;
class TOptionsForm;

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // Settings mirrored from the registry.
  QString Options, Panels, RootDir, State;
  QString helpFile() const;

  // Adds a document window as an MDI child and shows it; the frame owns it unless the
  // window already has another owner (ownerObject), whose destruction then closes it.
  QMdiSubWindow* addChild(TDocChild* child, QObject* ownerObject = nullptr);
  QMdiArea* mdiArea() const { return mdi_; }
  TDocChild* activeChild() const;

  // Status bar: 0 "Изменен", 1 position, 2 progress/results, 3 hint.
  void setStatusText(int panel, const QString& text);
  QString statusText(int panel) const;
  QComboBox* fontSizeBox() const { return fontSizeBox_; }

  // The window of each class created last (borrowed; cleared automatically when it is freed).
  QPointer<TTxtForm> lastTxtForm;
  QPointer<TEditForm> lastEditForm;
  QPointer<TGSAForm> lastGsaForm;
  QPointer<TVexoTableForm> lastTableForm;

  // Actions (children enable some of them themselves).
  QAction *EditCutAction, *EditCopyAction, *EditPasteAction, *EditDelAction;
  QAction *openFileAction, *saveFileAction;
  QAction *newRvasAction, *newSkuAction, *newGsaAction, *newTblAction, *newTxtAction, *exitAction;
  QAction *CompileAction, *ToSkuAction, *ToTblAction;
  QAction *AddStrAction, *InsStrAction, *DelStrAction, *OaCallAction, *ReportAction;
  QList<QAction*> gsaActions;  // the 17 flowchart actions, GsaBegAction first, GsaDelAction last
  QAction *ModelOpenAction, *ModelSaveAction, *ModelBegAction, *ModelBusAction, *ModelStepAction,
      *ModelPauseAction, *ModelPlayAction, *ModelStopAction;
  QAction *BinAction, *HexAction, *DecAction;

  QToolBar *fileToolBar, *editToolBar, *transToolBar, *tblToolBar, *gsaToolBar, *modelToolBar,
      *regToolBar;

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

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QMdiArea* mdi_ = nullptr;
  QComboBox* fontSizeBox_ = nullptr;
  QLabel* panels_[4] = {};
  struct Private;
  Private* d_ = nullptr;
};

extern TMainForm* MainForm;
