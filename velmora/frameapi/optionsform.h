#pragma once
// "Настройки": the one modal settings dialog of Velmora. It holds the program-wide defaults
// (split from MainForm->Options, rebuilt by "&Сохранить по умолчанию") and edits the
// DocSettings record of one document that its opener lends it.
//
// Other windows read the defaults through the typed getters below, never through the
// widgets. Created once after the frame; lives until the program ends.
//
// Openers:
//   РВАС/СКУ editor:  OptionsForm->execFor(&settings, true);   // controls loaded from the record
//   flowchart editor: fills the "ГСА" page with the setters, execFor(&record, false), reads it back
//   table window:     a temporary record, execFor(&tmp, false)
// execFor returns QDialog::Accepted (OK) or QDialog::Rejected.
//
// Tests drive it without a modal loop: lend(record, fromDocument); FormActivate();
// change controls; OKClick() or DefBtnClick().
#include <QChar>
#include <QDialog>
#include <QString>

#include "velmora/frameapi/optionsstring.h"
#include "velmora/documents/formats/docsettings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace velmora {

class TFrame;

class TOptionsForm : public QDialog {
  Q_OBJECT
 public:
  // The pages, in the order the tabs show them.
  enum class Page { General, Rvas, Gsa, Table, Model };

  explicit TOptionsForm(QWidget* parent = nullptr);
  ~TOptionsForm() override;

  // ---- Typed getters (the program-wide defaults and the dialog's current state) ----
  // The five signal letters, by index. An empty edit gives the design letter (z x y s s).
  enum Letter { AbstractInput, BinaryInput, OutputSignal, InputEvent, OutputEvent };
  QChar letter(int index) const;
  // The letter edit's text as it stands (empty when cleared), without the design fallback.
  QString letterText(int index) const;
  QChar inAbstr() const { return letter(0); }
  QChar inDigit() const { return letter(1); }
  QChar outSgn() const { return letter(2); }
  QChar inSob() const { return letter(3); }
  QChar outSob() const { return letter(4); }
  int messageFontSize() const;   // FontSizeMes as a number; 10 when it is not one
  QString rvasS0() const;        // initial event name of РВАС
  bool autoNum() const;          // flowchart: automatic naming
  bool trackFig() const;         // flowchart: tracking figures
  bool moveEvent() const;        // flowchart: move events (not stored in the option string)
  QString begName() const;       // flowchart initial event name
  QString begSignal() const;     // flowchart initial output signal
  QString endName() const;       // flowchart final event name
  QString endSignal() const;     // flowchart final output signal
  bool abstractStates() const;   // table: abstract states
  bool abstractInputs() const;   // table: abstract inputs
  bool abstractOutputs() const;  // table: abstract outputs
  int triggerType() const;       // 0 Q, 1 T, 2 JK, 3 RS
  bool autoReg() const;          // model windows: fill the register list automatically

  // Setters for openers that fill pages themselves (the flowchart editor's "ГСА" page).
  void setLetter(int index, QChar c);
  // Puts `text` into the letter edit as it is (only the edit's one-character limit applies):
  // the flowchart shows its own letters unchanged.
  void setLetterText(int index, const QString& text);
  void setAutoNum(bool on);
  void setTrackFig(bool on);
  void setMoveEvent(bool on);
  void setBegName(const QString& s);
  void setBegSignal(const QString& s);
  void setEndName(const QString& s);
  void setEndSignal(const QString& s);

  // All values the option string carries, as the controls show them now.
  OptionValues values() const;
  void setValues(const OptionValues& v);

  // Brings `page` to the front.
  void showPage(Page page);

  // ---- Opening ----
  // Lends `record` (never owned) and shows the dialog modally.
  int execFor(DocSettings* record, bool fromDocument);
  // The first half of execFor: lends the record and sets the from-document flag.
  void lend(DocSettings* record, bool fromDocument);
  DocSettings* record() const { return record_; }
  bool fromDocumentFlag() const { return fromDocument_; }

  // ---- Handlers ----
  // Splits MainForm->Options (or `options`) into the controls; nothing when it is empty.
  void LoadOptions();
  void LoadOptions(const QString& options);
  static bool IsNumber(const QString& text);
  // With the from-document flag set and a record lent: the controls from the record.
  void FormActivate();
  // OK: the record's letters and initial event name from the controls.
  void OKClick();
  // Every change of the font-size box goes to the lent record at once.
  void FontSizeMesChange();
  // "&Сохранить по умолчанию": MainForm->Options from the controls (does not close).
  void DefBtnClick();
  // "Абстрактные состояния" disables the trigger type and abstract outputs.
  void a_stateClick();

  // Controls, for tests and for layout; other windows use the getters.
  QTabWidget* pages = nullptr;
  QLineEdit *InAbstr = nullptr, *InDigit = nullptr, *OutSgn = nullptr, *InSob = nullptr, *OutSob = nullptr;
  QComboBox* FontSizeMes = nullptr;
  QLineEdit* RvasS0 = nullptr;
  QCheckBox *AutoNumBox = nullptr, *MoveEventBox = nullptr, *TrackFigBox = nullptr;
  QLineEdit *BegEdit = nullptr, *BegyEdit = nullptr, *EndEdit = nullptr, *EndyEdit = nullptr;
  QCheckBox *a_state = nullptr, *a_in = nullptr, *a_out = nullptr;
  QGroupBox* triggers = nullptr;
  QButtonGroup* triggerButtons = nullptr;
  QCheckBox* AutoReg = nullptr;
  QPushButton *DefBtn = nullptr, *OKBtn = nullptr, *CancelBtn = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The frame that made this dialog its child (the holder of the option string), if any.
  TFrame* frame() const;
  QLineEdit* letterEdit(int index) const;
  DocSettings* record_ = nullptr;
  bool fromDocument_ = false;
};

extern TOptionsForm* OptionsForm;

}  // namespace velmora
