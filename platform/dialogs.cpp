#include "platform/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QMainWindow>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeView>
#include <algorithm>

namespace dlg {
namespace {

struct Choice {
  int ours;
  QMessageBox::StandardButton qt;
  const char* text;
};
const Choice kChoices[] = {{Yes, QMessageBox::Yes, "&Да"},
                           {No, QMessageBox::No, "&Нет"},
                           {Ok, QMessageBox::Ok, "OK"},
                           {Cancel, QMessageBox::Cancel, "Отмена"}};

bool standsAlone(const QWidget* w) {
  return w && w->isVisible() && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip &&
         w->windowType() != Qt::SplashScreen;
}

// Qt's own file dialog opens with its columns too narrow for sizes, types and dates in Russian:
// they take the width of what they show, the name the rest.
QString runFileDialog(QWidget* parent, const QString& title, const QString& start, const QString& filter,
                      QFileDialog::AcceptMode mode) {
  QFileDialog d(ownerOf(parent), title, start, toQtFilter(filter));
  d.setAcceptMode(mode);
  d.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (auto* view = d.findChild<QTreeView*>()) {
    QHeaderView* head = view->header();
    head->setStretchLastSection(false);
    head->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < head->count(); ++c) head->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    d.resize(std::max(d.sizeHint().width(), 860), std::max(d.sizeHint().height(), 480));
  }
  if (d.exec() != QDialog::Accepted) return QString();
  return d.selectedFiles().value(0);
}

class RealDialogs : public Handler {
 public:
  int message(QWidget* parent, const QString& text, const QString& caption, int buttons, Icon icon) override {
    const std::unique_ptr<QMessageBox> box = messageBox(parent, text, caption, buttons, icon);
    const int r = box->exec();
    for (const Choice& b : kChoices)
      if (r == b.qt) return b.ours;
    return Cancel;
  }
  QString openFile(QWidget* parent, const QString& title, const QString& filter,
                   const QString& dir) override {
    return runFileDialog(parent, title, dir, filter, QFileDialog::AcceptOpen);
  }
  QString saveFile(QWidget* parent, const QString& title, const QString& filter, const QString& dir,
                   const QString& name) override {
    QString start = dir;
    if (!name.isEmpty()) start = dir.isEmpty() ? name : dir + QLatin1Char('/') + name;
    return runFileDialog(parent, title, start, filter, QFileDialog::AcceptSave);
  }
};

RealDialogs g_real;
Handler* g_handler = nullptr;

}  // namespace

bool Handler::printDialog(QWidget* parent, QPrinter* printer) {
  QPrintDialog d(printer, ownerOf(parent));
  return d.exec() == QDialog::Accepted;
}

bool Handler::pageSetupDialog(QWidget* parent, QPrinter* printer) {
  QPageSetupDialog d(printer, ownerOf(parent));
  return d.exec() == QDialog::Accepted;
}

bool Handler::fontDialog(QWidget* parent, QFont* font) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, *font, ownerOf(parent));
  if (ok) *font = chosen;
  return ok;
}

bool Handler::inputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString* value) {
  bool ok = false;
  const QString typed =
      QInputDialog::getText(ownerOf(parent), caption, prompt, QLineEdit::Normal, *value, &ok);
  if (ok) *value = typed;
  return ok;
}

// Under the test runner a dialog nobody scripted would wait for a person forever; fail at once
// instead and say which dialog it was.
class UnansweredDialogs : public Handler {
 public:
  int message(QWidget*, const QString& text, const QString& caption, int, Icon) override {
    fail(caption + QStringLiteral(": ") + text);
    return Cancel;
  }
  QString openFile(QWidget*, const QString&, const QString& filter, const QString&) override {
    fail(QStringLiteral("open dialog ") + filter);
    return QString();
  }
  QString saveFile(QWidget*, const QString&, const QString& filter, const QString&, const QString&) override {
    fail(QStringLiteral("save dialog ") + filter);
    return QString();
  }
  bool printDialog(QWidget*, QPrinter*) override {
    fail(QStringLiteral("print dialog"));
    return false;
  }
  bool pageSetupDialog(QWidget*, QPrinter*) override {
    fail(QStringLiteral("page set-up dialog"));
    return false;
  }
  bool fontDialog(QWidget*, QFont*) override {
    fail(QStringLiteral("font dialog"));
    return false;
  }
  bool inputQuery(QWidget*, const QString& caption, const QString& prompt, QString*) override {
    fail(caption + QStringLiteral(": ") + prompt);
    return false;
  }

 private:
  static void fail(const QString& what) { qFatal("unanswered dialog in a test: %s", qUtf8Printable(what)); }
};

QWidget* ownerOf(QWidget* requested) {
  QWidget* own = requested ? requested->window() : nullptr;
  if (standsAlone(own)) return own;
  for (QWidget* w : {QApplication::activeModalWidget(), QApplication::activeWindow()})
    if (standsAlone(w)) return w;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (standsAlone(w) && qobject_cast<QMainWindow*>(w)) return w;
  return own;
}

std::unique_ptr<QMessageBox> messageBox(QWidget* parent, const QString& text, const QString& caption,
                                        int buttons, Icon icon) {
  auto box = std::make_unique<QMessageBox>(ownerOf(parent));
  box->setWindowTitle(caption);
  box->setText(text);
  switch (icon) {
    case Information: box->setIcon(QMessageBox::Information); break;
    case Warning: box->setIcon(QMessageBox::Warning); break;
    case Critical: box->setIcon(QMessageBox::Critical); break;
    case Question: box->setIcon(QMessageBox::Question); break;
    default: break;
  }
  for (const Choice& b : kChoices)
    if (buttons & b.ours) box->addButton(b.qt)->setText(QString::fromUtf8(b.text));
  return box;
}

Handler* handler() {
  if (g_handler) return g_handler;
  static const bool underTest = qEnvironmentVariableIsSet("VEXO_FAIL_UNANSWERED_DIALOGS");
  static UnansweredDialogs unanswered;
  return underTest ? static_cast<Handler*>(&unanswered) : &g_real;
}
void setHandler(Handler* h) { g_handler = h; }

int message(QWidget* parent, const QString& text, const QString& caption, int buttons, Icon icon) {
  return handler()->message(parent, text, caption, buttons, icon);
}

QString openFile(QWidget* parent, const QString& filter, const QString& dir, const QString& title,
                 const QString& name) {
  // A start that names a file makes the dialog offer that name.
  QString start = dir;
  if (!name.isEmpty()) start = dir.isEmpty() ? name : dir + QLatin1Char('/') + name;
  return handler()->openFile(parent, title, filter, start);
}

QString saveFile(QWidget* parent, const QString& filter, const QString& dir, const QString& name,
                 const QString& title) {
  return handler()->saveFile(parent, title, filter, dir, name);
}

bool printDialog(QWidget* parent, QPrinter* printer) { return handler()->printDialog(parent, printer); }
bool pageSetupDialog(QWidget* parent, QPrinter* printer) {
  return handler()->pageSetupDialog(parent, printer);
}
bool fontDialog(QWidget* parent, QFont* font) { return handler()->fontDialog(parent, font); }
bool inputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString* value) {
  return handler()->inputQuery(parent, caption, prompt, value);
}

QString toQtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i].trimmed();
    // "Файл СКУ (*.sku)" already names its pattern; Qt reads the last brackets.
    static const QRegularExpression tail(QStringLiteral("\\s*\\([^()]*\\)$"));
    name.remove(tail);
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // "Все файлы: *.*" too: the brackets below name the patterns once.
    if (name.endsWith(patterns) && name.size() > patterns.size()) {
      name.chop(patterns.size());
      while (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char(':'))) name.chop(1);
    }
    out << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return out.join(QStringLiteral(";;"));
}

Script::Script() : previous_(g_handler) { g_handler = this; }
Script::~Script() { g_handler = previous_; }

int Script::message(QWidget* parent, const QString& text, const QString& caption, int buttons, Icon icon) {
  shown.append({text, caption, buttons, icon, ownerOf(parent)});
  if (!answers.isEmpty()) return answers.takeFirst();
  for (int b : {Ok, Yes, No, Cancel})
    if (buttons & b) return b;
  return Ok;
}

QString Script::openFile(QWidget*, const QString& title, const QString& filter, const QString& start) {
  fileTitles << title;
  openStarts << start;
  fileFilters << filter;
  return files.isEmpty() ? QString() : files.takeFirst();
}

QString Script::saveFile(QWidget*, const QString& title, const QString& filter, const QString&,
                         const QString&) {
  fileTitles << title;
  fileFilters << filter;
  return files.isEmpty() ? QString() : files.takeFirst();
}

bool Script::printDialog(QWidget*, QPrinter*) {
  ++printDialogs;
  return !printAnswers.isEmpty() && printAnswers.takeFirst();
}

bool Script::pageSetupDialog(QWidget*, QPrinter*) {
  ++pageSetupDialogs;
  return !printAnswers.isEmpty() && printAnswers.takeFirst();
}

bool Script::fontDialog(QWidget*, QFont* font) {
  if (fonts.isEmpty()) return false;
  *font = fonts.takeFirst();
  return true;
}

bool Script::inputQuery(QWidget*, const QString& caption, const QString& prompt, QString* value) {
  queries.append({caption, prompt, *value});
  if (inputs.isEmpty()) return false;
  *value = inputs.takeFirst();
  return true;
}

}  // namespace dlg
