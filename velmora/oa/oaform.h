#pragma once
// "Операционный автомат": the designer of the operational automaton of one transition table.
// It edits the table window's description in place (blocks, the microoperations of every
// output signal, the value of every input signal), keeps a copy to go back to, checks the
// description on apply and marks it present and modified. Opened by the table ("Редактировать
// ..."), or read-only, without apply, by the ОА model window ("&Вызов ОА").
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "velmora/frameapi/docchild.h"
#include "velmora/documents/formats/oafile.h"
#include "velmora/documents/tablegridlock.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QAction;

namespace velmora {

class TVexoTableForm;

class TOAForm : public TDocChild {
  Q_OBJECT
 public:
  explicit TOAForm(QWidget* owner = nullptr);
  ~TOAForm() override;

  // ---- TDocChild ----
  ChildKindValue kind() const override { return ckOaDesign; }
  void activated() override { FormActivate(); }
  QMenu* fileMenu() const override { return mFile_; }
  QList<QMenu*> windowMenus() const override { return {mOa_, mModel_}; }
  // Nothing to ask: the description is the table's. Closing the window also asks the model
  // window it opened.
  bool FormCloseQuery() override;
  void FormClose() override;

  // Opens the designer of `table`'s description, owned by `owner` (the table, or the model
  // window for a read-only one): locks the table's document as its designer (so the table
  // knows a designer is open) and loads it before it is shown. A refused load leaves no window;
  // nullptr then.
  static TOAForm* open(TVexoTableForm* table, QObject* owner, bool readOnly);

  // The opener hands over the table window (its description, flags and grid), then loads.
  // readOnly: opened from the model window, which works on the description; nothing can be
  // changed or applied, and the description is shown as it is.
  void setTable(TVexoTableForm* table, bool readOnly);
  // 0 loaded, 1 refused (a message or a question said why; the lists are as they were and the
  // opener closes the window).
  int LoadDescription();

  // Apply; with close the window closes when the description was applied. True when applied.
  bool Apply(bool close);
  void OKButtonClick() { Apply(true); }
  void bApplyClick() { Apply(false); }
  void CancelButtonClick();
  void mOAModelClick();
  void FormActivate();

  void yListComboBoxClick();
  void xListComboBoxClick();
  void yActMemoChange();
  void yActMemoKeyPress(int key);
  void xActMemoChange();
  void rMemoChange();

  void SaveState();
  void RestoreState();

  bool readOnly() const { return readOnly_; }
  bool openedModel = false;

  // Controls.
  QPlainTextEdit* rMemo = nullptr;
  QComboBox* yListComboBox = nullptr;
  QPlainTextEdit* yActMemo = nullptr;
  QComboBox* xListComboBox = nullptr;
  QLineEdit* xEdit = nullptr;
  QPushButton *bApplyClose = nullptr, *bApply = nullptr, *bCancel = nullptr, *bModel = nullptr;
  QLabel *blockCount = nullptr, *yCount = nullptr, *yActHeading = nullptr, *yActCount = nullptr,
         *xCount = nullptr, *xHeading = nullptr;
  // Shown while the description cannot be changed because its model window is open.
  QLabel* lockNote = nullptr;
  QAction *mApplyClose = nullptr, *mCancel = nullptr, *mOAModel = nullptr;
  // The model window opened from here (owned).
  QPointer<TDocChild> modelWindow;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void buildMenus();
  bool syncSignals(bool outputs);
  void fillOutputList();
  void fillInputList();
  void fillBlockMemo();
  void storeY();
  void storeX();
  void showMicrooperations(int index);
  void setEditable(bool editable);
  // Editing, the apply commands and the lock note follow whether the description may change:
  // not while its model window is open, nor in the designer that window called.
  void showLock();
  void updateApply();
  OaDescription* oa() const;

  QPointer<TVexoTableForm> table_;
  TableGridLock lock_{this, TableGridLock::Role::Designer};
  bool readOnly_ = false;
  bool locked_ = false;           // see showLock
  bool nothingDeclared_ = false;  // the block memo declares no register: nothing to apply
  bool closed_ = false;

  // The saved copy: what Cancel returns to.
  bool savedPresent = false;
  OaDescription saved_;

  bool blocksFilling = false;
  bool yEdited = false, xEdited = false;
  int curY = -1, curX = -1;
  bool xFound = false;

  QMenu *mFile_ = nullptr, *mOa_ = nullptr, *mModel_ = nullptr;
};

extern QPointer<TOAForm> OAForm;  // the designer made last

}  // namespace velmora
