#pragma once
// "Установка шин": the buses of an operational automaton with their initial values, which the
// user may type anew. The ОА model window and the joint model show it; the caller fills the
// rows, runs it modally and reads the rows back whatever closed it.
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>

class QPushButton;
class QTableWidget;

namespace velmora {

class TModelStep;

class TBusSetForm : public QDialog {
  Q_OBJECT
 public:
  struct Bus {
    QString name, value;
    bool operator==(const Bus& o) const { return name == o.name && value == o.value; }
  };

  // The owner keeps the newest dialog in BusSetForm.
  explicit TBusSetForm(QWidget* owner);

  // A block name that stands for a bus input: two characters or more, "d"/"D" then "i"/"I".
  static bool isBusName(const QString& name);

  // Rows as a string grid counts them: row 0 the header, data from row 1; starts with 2.
  int rowCount() const;
  QString cell(int col, int row) const;
  void setCell(int col, int row, const QString& text);
  // The bus into the last row, or into a new last row when the last one already has a name.
  void addBus(const QString& name, const QString& value);
  // Rows 1 to the last as they stand; a value still being typed counts.
  QList<Bus> buses() const;

  // Enter in the grid closes the dialog with OK.
  void BusSetGridKeyDown(int key);

  // Gives every bus of `rows` its initial value in the model, in row order. A name the model
  // does not declare and an empty value are skipped; every value is checked before any is set,
  // so a value that is not a number (EOaConvertError, naming the bus) changes nothing.
  static void applyTo(TModelStep* model, const QList<Bus>& rows);

  QTableWidget* BusSetGrid = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* HelpBtn = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void commitEditor() const;
};

// The newest bus dialog (borrowed; cleared when it is freed).
extern QPointer<TBusSetForm> BusSetForm;

}  // namespace velmora
