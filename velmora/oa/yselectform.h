#pragma once
// "Выберите сигнал": picks a set of output signals y, which the ОА model window applies as one
// step. Made once at start-up and kept for the whole run (YSelectForm). The caller fills the
// passive list, empties or fills the active one, runs it modally and reads the active list in
// the order the signals were moved.
#include <QDialog>
#include <QString>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace velmora {

class TYSelectForm : public QDialog {
  Q_OBJECT
 public:
  explicit TYSelectForm(QWidget* owner = nullptr);

  // The passive list (sorted) and the active list (in the given order).
  void setSignals(const QStringList& passive, const QStringList& active);
  QStringList passive() const;
  QStringList active() const;
  // The active signals joined by "&": the input text of a step.
  QString activeText() const { return active().join(QLatin1Char('&')); }

  // ">" and a double click on the passive list: the selected signal goes to the end of the
  // active list. "<" and a double click on the active list: back to its sorted place.
  void PassivYDblClick();
  void ActivYDblClick();
  void yAllActivClick();   // ">>"
  void yAllPassivClick();  // "<<"
  void OkButtonClick();

  QListWidget* PassivY = nullptr;
  QListWidget* ActivY = nullptr;
  QPushButton *yToActiv = nullptr, *yToPassiv = nullptr, *yAllActiv = nullptr, *yAllPassiv = nullptr;
  QPushButton* Button1 = nullptr;  // "OK"

 private:
  void addPassive(const QString& name);
};

extern TYSelectForm* YSelectForm;

}  // namespace velmora
