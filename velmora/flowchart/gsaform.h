#pragma once
// The flowchart (ГСА) editor window: a grid of cells drawn with the frame's flowchart tools,
// a message pane for the check, and the conversion into a transition table. What the tools
// do to the document is gsa::Editor's; the window turns mouse and menu into its calls.
#include <QList>
#include <QString>
#include <memory>

#include "velmora/frameapi/docchild.h"
#include "velmora/documents/formats/docsettings.h"
#include "velmora/flowchart/tools/gsaeditor.h"

class QAction;
class QListWidget;
class QMenu;
class QSplitter;

namespace velmora {

class GsaGridView;

class TGSAForm : public TDocChild {
  Q_OBJECT
 public:
  explicit TGSAForm(QWidget* parent = nullptr);
  ~TGSAForm() override;

  // ---- TDocChild ----
  ChildKindValue kind() const override { return ckGsa; }
  bool setFontSize(int size) override;
  bool hasFont() const override { return true; }
  void activated() override { FormActivate(); }
  void deactivated() override { FormDeactivate(); }
  bool isModified() const override { return editor.modified; }
  QMenu* fileMenu() const override { return mFile_; }
  QList<QMenu*> windowMenus() const override { return {mEdit_, mTrans_}; }
  bool FormCloseQuery() override;  // true when the window may close
  void FormClose() override;

  // The document, its modified flag and the undo copy.
  gsa::Editor editor;
  const GsaGridList& grid() const { return editor.doc.grid; }
  DocSettings settings;  // lent to the options dialog
  QString fileName;      // full path, or "Untitled"
  bool messagesShown = false;
  // Who answers the block dialogs: the real ones unless a test lends its own (borrowed).
  gsa::BlockAsker* asker = nullptr;

  // ---- document ----
  bool Open(const QString& path);  // false (message shown) when the file does not read
  bool Save1Click();               // true when written
  bool Saveas1Click();

  // ---- handlers ----
  void UndoItemClick();
  void AddLineClick();
  void ClearGSAClick();
  void ToTblClick();
  void BegButtonClick();   // one of the sixteen placing tools was chosen
  void CursButtonClick();  // the delete tool was chosen
  void mOptionsClick();
  void MessageClick();
  void MessageListDblClick();
  void FormActivate();
  void FormDeactivate();
  void GSAGridMouseDown(Qt::MouseButton button, int col, int row);
  void GSAGridMouseMove(int col, int row);
  void leaveGrid();  // the pointer went to the window's frame or to the message pane

  // The frame's pressed flowchart tool.
  GsaTool currentTool() const;
  void chooseTool(GsaTool tool);  // presses its button and runs its handler
  bool deleteCursorShown() const;

  GsaGridView* GSAGrid = nullptr;
  QListWidget* MessageList = nullptr;
  QAction *UndoItem = nullptr, *AddLineItem = nullptr, *ClearItem = nullptr, *ToTblItem = nullptr;
  QList<int> messageCols, messageRows;  // the position of each line of the pane
  gsa::PointerTrack pointer;

 protected:
  FrameHandlers frameHandlers() override;
  void attachedToFrame() override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenus();
  void takeOptions();
  void setMessagesShown(bool shown);
  void afterEdit();  // the grid and the items follow the document
  bool writeFile();

  std::unique_ptr<gsa::BlockAsker> dialogs_;
  QSplitter* splitter_ = nullptr;
  QMenu *mFile_ = nullptr, *mEdit_ = nullptr, *mTrans_ = nullptr;
  GsaTool tool_ = GsaTool::Start;  // without a frame
};

}  // namespace velmora
