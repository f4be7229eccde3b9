#pragma once
// "Преобразование РВАС в СКУ": checks the editor's РВАС text (first error only, fixed in place
// and checked again on OK) and converts it into СКУ, which opens in a new СКУ editor or goes on
// to the СКУ to table window. Made once at start-up, shown modally.
#include <QPointer>
#include <QStringList>

#include "tiravo/forms/rundialog.h"
#include "platform/longlines.h"

class QLabel;
class QPushButton;

namespace tiravo {

class TEditForm;
class TFrame;

class TRvasSku : public TRunDialog {
  Q_OBJECT
 public:
  explicit TRvasSku(QWidget* frameWindow);

  // Set by the caller before showing: the document and the destination (1: a new СКУ editor,
  // 2: the СКУ to table window).
  void setSource(TEditForm* editor, int destination);
  // Shows the window modally; on success hands the result on. Returns true when converted.
  bool run();

  longlines::TextEdit* memo() const { return Memo1; }
  QString status() const;       // Label6
  QString eventCount() const;   // Label5
  QString branchCount() const;  // Label7
  QPushButton* okButton() const { return Begin1; }
  QPushButton* cancelButton() const { return Cancel1; }
  QStringList result() const { return result_; }

  void Begin1Click();
  void Cancel1Click();
  void Memo1Change();

 protected:
  void begin() override;
  void reject() override;

 private:
  void synthesis();
  QStringList memoLines() const;

  TFrame* frame_;
  longlines::TextEdit* Memo1 = nullptr;
  QLabel *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr;
  QPushButton *Begin1 = nullptr, *Cancel1 = nullptr;
  bool converted_ = false;
  QStringList result_;
  QPointer<TEditForm> source_;
  int destination_ = 1;
};

extern QPointer<TRvasSku> RvasSku;

}  // namespace tiravo
