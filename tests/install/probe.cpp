// A Qt generic plugin that a test loads into an installed program ("-plugin vexoprobe"):
// once the program's main window is up it reports the window, triggers the commands named
// in VEXO_PROBE_TRIGGER (object names or menu captions, ';' between them) and quits. Every
// message box is reported with its text and answered with its default button.
#include <QAction>
#include <QApplication>
#include <QGenericPlugin>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {

QAction* findIn(QMenu* menu, const QString& name) {
  for (QAction* a : menu->actions()) {
    if (a->objectName() == name || a->text() == name) return a;
    if (a->menu())
      if (QAction* found = findIn(a->menu(), name)) return found;
  }
  return nullptr;
}

QAction* findAction(QMainWindow* w, const QString& name) {
  for (QAction* a : w->findChildren<QAction*>())
    if (a->objectName() == name) return a;
  for (QAction* a : w->menuBar()->actions())
    if (a->menu())
      if (QAction* found = findIn(a->menu(), name)) return found;
  return nullptr;
}

void run(QMainWindow* w) {
  std::printf("probe: window \"%s\" icon %s\n", qUtf8Printable(w->windowTitle()),
              w->windowIcon().isNull() ? "none" : "set");
  const QStringList names =
      qEnvironmentVariable("VEXO_PROBE_TRIGGER").split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (const QString& name : names) {
    QAction* a = findAction(w, name);
    std::printf("probe: %s %s\n", qUtf8Printable(name), a ? "triggered" : "not found");
    std::fflush(stdout);
    if (a) a->trigger();
  }
  std::printf("probe: done\n");
  std::fflush(stdout);
  QCoreApplication::quit();
}

}  // namespace

class Probe : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "probe.json")

 public:
  QObject* create(const QString&, const QString&) override {
    // The main window comes after any splash screen; look for it while events run.
    // Qt owns and deletes what this returns.
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, qApp, [] {
      static bool started = false;
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
          std::printf("probe: message %s\n", qUtf8Printable(box->text()));
          std::fflush(stdout);
          if (QAbstractButton* b = box->defaultButton())
            b->click();
          else
            box->reject();
          return;
        }
      }
      if (started) return;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<QMainWindow*>(w); main && main->isVisible()) {
          started = true;
          // Outside this tick, so that the ticks go on and answer the boxes the commands open.
          QTimer::singleShot(0, main, [main] { run(main); });
          return;
        }
    });
    timer->start(20);
    return timer;
  }
};

#include "probe.moc"
