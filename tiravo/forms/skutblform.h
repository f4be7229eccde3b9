#pragma once
// "Перевод СКУ в таблицу переходов": checks a СКУ text line by line, lets the user correct
// the faulty line in place and checks again, and turns the text into a new table window.
// Made once at start-up, shown modally.
#include <QPointer>
#include <QStringList>
#include <memory>

#include "tiravo/forms/rundialog.h"
#include "tiravo/translate/skucheck.h"
#include "platform/longlines.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tiravo {

class TEditForm;
class TFrame;
class TVexoTableForm;
class SkuToTable;

class TSkuTblForm : public TRunDialog {
  Q_OBJECT
 public:
  explicit TSkuTblForm(QWidget* frameWindow);
  ~TSkuTblForm() override;

  // The text to convert: the editor's lines (corrections go into the document), or lines of
  // the РВАС to СКУ window (corrections go into them).
  void setSource(TEditForm* editor);
  void setSource(const QStringList& lines);
  QStringList text() const;
  // Shows the window modally. The new table window, or null when nothing was converted.
  TVexoTableForm* run();

  longlines::LineEdit* lineEdit() const { return Edit1; }
  QString status() const;      // ErrorLb
  QString lineNumber() const;  // StrNum
  int progress() const;
  QPushButton* okButton() const { return OkButton; }
  QPushButton* cancelButton() const { return Cancel; }
  bool fromRvas() const { return !editor_; }

  void OkButtonClick();
  void Edit1Change();  // the faulty line, corrected in its box, goes back into the text
  void CancelClick();

 protected:
  void begin() override { StartConvert(); }
  void reject() override;

 private:
  void StartConvert();
  void skuStage();
  void svfStage();
  bool showFault(bool ok, const struct SkuStageFault& fault);
  void finish();

  TFrame* frame_;
  QLabel *StrNum = nullptr, *ErrorLb = nullptr;
  longlines::LineEdit* Edit1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton *OkButton = nullptr, *Cancel = nullptr;
  bool svfFound_ = false;
  bool svfStage_ = false;
  int errorLine_ = 0;
  QPointer<TEditForm> editor_;
  QStringList lines_;  // the text when it does not come from an editor
  std::unique_ptr<SkuToTable> conv_;
  QPointer<TVexoTableForm> table_;
};

extern QPointer<TSkuTblForm> SkuTblForm;

// Converts lines that come from the РВАС to СКУ window.
TVexoTableForm* runSkuTblOn(TFrame& frame, const QStringList& lines);

}  // namespace tiravo
