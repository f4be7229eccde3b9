#pragma once
// Every message box, question and file dialog of both programs goes through here,
// so tests can answer them without a person.
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QMessageBox;
class QPrinter;
class QWidget;

namespace dlg {

enum Button { Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8 };
enum Icon { NoIcon, Information, Warning, Critical, Question };

class Handler {
 public:
  virtual ~Handler() = default;
  // Returns the Button pressed (Cancel when the box is closed).
  virtual int message(QWidget* parent, const QString& text, const QString& caption, int buttons,
                      Icon icon) = 0;
  // Filters are written "Описание|*.a;*.b|Другое|*.c". Empty result: cancelled.
  virtual QString openFile(QWidget* parent, const QString& title, const QString& filter,
                           const QString& dir) = 0;
  virtual QString saveFile(QWidget* parent, const QString& title, const QString& filter, const QString& dir,
                           const QString& name) = 0;
  // Print, printer set-up and font dialogs: true when the user pressed OK (the printer or
  // the font then holds the choice). The defaults show the real dialogs.
  virtual bool printDialog(QWidget* parent, QPrinter* printer);
  virtual bool pageSetupDialog(QWidget* parent, QPrinter* printer);
  virtual bool fontDialog(QWidget* parent, QFont* font);
  // A one-line input query: *value is the text offered and, on OK, the text typed. True
  // when the user pressed OK.
  virtual bool inputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString* value);
};

// The window a box of `requested` stands on: the window of `requested` when it is shown, else
// (a window still being built, or none given) the active window, else the shown main frame.
QWidget* ownerOf(QWidget* requested);
// The message box `message` shows, parented to and centred on ownerOf(parent), not yet shown.
std::unique_ptr<QMessageBox> messageBox(QWidget* parent, const QString& text, const QString& caption,
                                        int buttons, Icon icon);

// Real dialogs unless a test installed its own handler.
Handler* handler();
void setHandler(Handler* h);  // nullptr restores the real dialogs

int message(QWidget* parent, const QString& text, const QString& caption, int buttons = Ok,
            Icon icon = Warning);
inline void error(QWidget* parent, const QString& text) {
  message(parent, text, QStringLiteral("Ошибка"), Ok, Warning);
}
// `name` is the file name the dialog offers at first.
QString openFile(QWidget* parent, const QString& filter, const QString& dir = QString(),
                 const QString& title = QString(), const QString& name = QString());
QString saveFile(QWidget* parent, const QString& filter, const QString& dir = QString(),
                 const QString& name = QString(), const QString& title = QString());

bool printDialog(QWidget* parent, QPrinter* printer);
bool pageSetupDialog(QWidget* parent, QPrinter* printer);
bool fontDialog(QWidget* parent, QFont* font);
bool inputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString* value);

// "Описание|*.a;*.b|..." -> "Описание (*.a *.b);;..."
QString toQtFilter(const QString& filter);

// Test handler: records what was shown and answers from queues. An empty queue
// answers the first button offered (messages) or cancels (file dialogs).
class Script : public Handler {
 public:
  struct Shown {
    QString text, caption;
    int buttons;
    Icon icon;
    QWidget* owner;  // the window the real box would stand on
  };
  Script();            // installs itself
  ~Script() override;  // restores the real dialogs
  QList<Shown> shown;
  QList<int> answers;
  QStringList files;        // answers to open and save dialogs, in order
  QStringList fileFilters;  // the filters the file dialogs were opened with
  QStringList fileTitles;   // and their titles
  QStringList openStarts;   // where the open dialogs started (directory and offered name)
  QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
  int message(QWidget*, const QString& text, const QString& caption, int buttons, Icon icon) override;
  QString openFile(QWidget*, const QString&, const QString& filter, const QString&) override;
  QString saveFile(QWidget*, const QString&, const QString& filter, const QString&, const QString&) override;
  // Print and set-up dialogs answer from printAnswers (empty: cancelled) and count themselves;
  // the font dialog takes the next of fonts (empty: cancelled).
  QList<bool> printAnswers;
  int printDialogs = 0, pageSetupDialogs = 0;
  QList<QFont> fonts;
  bool printDialog(QWidget*, QPrinter*) override;
  bool pageSetupDialog(QWidget*, QPrinter*) override;
  bool fontDialog(QWidget*, QFont* font) override;
  // Input queries answer from inputs (empty: cancelled) and are recorded in queries.
  struct Query {
    QString caption, prompt, offered;
  };
  QList<Query> queries;
  QStringList inputs;
  bool inputQuery(QWidget*, const QString& caption, const QString& prompt, QString* value) override;

 private:
  Handler* previous_;
};

}  // namespace dlg
