#pragma once
// "Моделирование операционного автомата": runs the operational automaton of one table on its
// own. The user enters a sequence of step inputs (sets of output signals y); the window runs
// them through a TModelStep and shows per step the x answer and the register and bus values.
// The sequence is saved and loaded as a *.y file, reported into a text window, and the bus
// inputs can be set. The window is the model's register grid.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

#include "velmora/frameapi/docchild.h"
#include "velmora/documents/tablegridlock.h"
#include "velmora/oa/oaengine.h"

class QAction;
class QMenu;
class QTableView;
class QTableWidget;
class QTableWidgetItem;

namespace velmora {

class StepRows;
class TModelStep;
class TVexoTableForm;

class TOAModelForm : public TDocChild, public RegisterGrid {
  Q_OBJECT
 public:
  explicit TOAModelForm(QWidget* owner = nullptr);
  ~TOAModelForm() override;

  // Opens the model window of `table`'s description, owned by `owner` (the table or the
  // designer): locks the table's document as its model window, builds the model and shows the
  // window. A model that cannot be built is reported; nullptr then, and nothing stays open.
  static TOAModelForm* open(TVexoTableForm* table, QObject* owner, const QString& oaName);

  // ---- TDocChild ----
  ChildKindValue kind() const override { return ckOaModel; }
  void activated() override { FormActivate(); }
  bool isModified() const override { return modified; }
  QMenu* fileMenu() const override { return mFile_; }
  QList<QMenu*> windowMenus() const override { return {mActions_, mModel_}; }
  // "Сохранить входные воздействия в '" + the OA name when the steps changed.
  bool FormCloseQuery() override;
  void FormClose() override;

  // ---- RegisterGrid: rows of RegGrid, row 0 the header ----
  int rowCount() const override;
  QString nameAt(int row) const override;
  void setValueAt(int row, const QString& text) override;

  // The hand-over, then BuildModel; false when the model could not be built (reported).
  void setTable(TVexoTableForm* table, const QString& oaName);
  bool BuildModel();
  void FormActivate();

  // ---- commands ----
  void BinClick() { setRadix(0); }
  void HexClick() { setRadix(1); }
  void DecClick() { setRadix(2); }
  void yAddClick();
  void yInsClick();
  void yDelClick();
  void yxGridDblClick();
  // Typing into the input cell of a step row (every change).
  void yxGridSetEditText(int row, const QString& text);
  bool yxGridKeyDown(int key);  // true when a row was added
  void yxGridSelectCell(int col, int row);
  void RegGridSelectCell(int col, int row);
  bool RegGridKeyDown(int key);
  void BusSetBtnClick();
  void OACallBtnClick();
  bool mSaveFileClick();
  bool mSaveFileAsClick();
  void mOpenFileClick();
  void mReportClick();

  // ---- the step grid as a string grid: row 0 the header, row 1 the initial state ----
  int stepRowCount() const;
  QString stepCell(int col, int row) const;
  int selectedStep() const;
  void selectStep(int row);        // as a click on the input cell
  QStringList stepInputs() const;  // rows 2 .. last
  // The register grid.
  QString regCell(int col, int row) const;
  void setRegName(int row, const QString& name);  // as typed; the row is added when needed

  TModelStep* model() const { return model_.get(); }
  static QString untitled() { return QStringLiteral("Untitled"); }

  QString inputsFileName = untitled();
  QString oaName;
  bool modified = false;
  bool busMode = false;
  QTableView* yxGrid = nullptr;
  QTableWidget* RegGrid = nullptr;
  QAction *mOACall = nullptr, *mBusSet = nullptr;
  QPointer<TDocChild> designer;  // opened by "&Вызов ОА" (owned)

 protected:
  FrameHandlers frameHandlers() override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class StepGridDelegate;
  void buildControls();
  void buildMenus();
  void setRadix(int radix);
  void setStepCell(int col, int row, const QString& text);
  void setStepRowCount(int rows);
  void refreshAnswers(int fromRow);
  void goToSelected();
  void dropTrailingEmpty();
  bool trailingHasHistory() const;
  bool chooseSignals(const QStringList& active, QString* text);
  void insertStep(int row, const QString& text);
  void deleteStep(int row);
  void appendStep(const QString& text);
  void updateCaption();
  void showStepNumber();
  void fitColumns();
  bool askSaveSteps();

  QPointer<TVexoTableForm> table_;
  TableGridLock lock_{this, TableGridLock::Role::Model};
  std::unique_ptr<TModelStep> model_;
  StepRows* steps_ = nullptr;  // yxGrid's rows
  bool closed_ = false;
  int selectGuard_ = 0;
  QMenu *mFile_ = nullptr, *mActions_ = nullptr, *mModel_ = nullptr;
};

extern QPointer<TOAModelForm> OAModelForm;  // the model window made last

}  // namespace velmora
