#include "servers/servers.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHash>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>

#include "platform/dialogs.h"
#include "servers/determinizatorwindow.h"
#include "servers/simulatorwindow.h"

namespace servers {

const char* const kCompilerId = "FSM.Compiler";
const char* const kSimulatorId = "fsm.Simulator";
const char* const kCaSimulatorId = "FSM.CA.Simulator";
const char* const kDeterminizatorId = "FSM.CA.Determinizator";

namespace {

[[noreturn]] void unknownMethod(const QString& method, const char* object) {
  throw automation::EAutomationError(
      QStringLiteral("Объект %1 не поддерживает метод %2").arg(QLatin1String(object), method));
}

bool is(const QString& method, const char* name) {
  return method.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// Where the user last left a window of each kind in this session.
QHash<QString, QRect>& lastPlaces() {
  static QHash<QString, QRect> places;
  return places;
}

// Keeps the place of a window as the user moves or resizes it.
class PlaceKeeper : public QObject {
 public:
  explicit PlaceKeeper(QWidget* window) : QObject(window), window_(window) {
    window->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched == window_ && window_->isVisible() &&
        (e->type() == QEvent::Move || e->type() == QEvent::Resize))
      lastPlaces().insert(QLatin1String(window_->metaObject()->className()), window_->geometry());
    return false;
  }

 private:
  QWidget* window_;
};

// The program's frame: the active window, else the first main window shown.
QWidget* programFrame(const QWidget* except) {
  QWidget* active = QApplication::activeWindow();
  if (active && active != except) return active;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != except && w->isVisible() && qobject_cast<QMainWindow*>(w)) return w;
  return nullptr;
}

// A server window opens where the user left the last one of its kind, else centred over
// the program's frame (or its screen), never under the frame's menus at the corner.
void place(QWidget* window) {
  const auto last = lastPlaces().constFind(QLatin1String(window->metaObject()->className()));
  if (last != lastPlaces().constEnd()) {
    window->setGeometry(*last);
    return;
  }
  QRect over;
  if (const QWidget* frame = programFrame(window))
    over = frame->frameGeometry();
  else if (const QScreen* screen = QGuiApplication::primaryScreen())
    over = screen->availableGeometry();
  if (over.isEmpty()) return;
  window->ensurePolished();
  if (window->layout()) window->layout()->activate();  // the size it will show with
  QRect g(QPoint(), window->size());
  g.moveCenter(over.center());
  window->move(g.topLeft());
}

}  // namespace

QStringList programIds() {
  return {QLatin1String(kCompilerId), QLatin1String(kSimulatorId), QLatin1String(kCaSimulatorId),
          QLatin1String(kDeterminizatorId)};
}

std::unique_ptr<automation::Object> create(const QString& progId) {
  const QString id = progId.trimmed();
  auto same = [&id](const char* name) { return id.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
  if (same(kCompilerId)) return std::make_unique<CompilerObject>();
  if (same(kSimulatorId)) return std::make_unique<SimulatorObject>();
  if (same(kCaSimulatorId)) return std::make_unique<CaSimulatorObject>();
  if (same(kDeterminizatorId)) return std::make_unique<DeterminizatorObject>();
  return nullptr;
}

QVariant CompilerObject::invoke(const QString& method, const QVariantList& list) {
  const automation::Args args(method, list);
  if (is(method, "SetType")) {
    args.expect(4);
    return compiler_.setType(args.integer(0), args.integer(1), args.integer(2), args.integer(3));
  }
  if (is(method, "AddSource")) {
    args.expect(4);
    compiler_.addSource(args.text(0), args.text(1), args.text(2), args.text(3));
    return compiler_.rowCount();
  }
  if (is(method, "Make")) {
    args.expect(0);
    return compiler_.make();
  }
  if (is(method, "GetStatus")) {
    args.expect(0);
    return compiler_.status();
  }
  if (is(method, "Save")) {
    args.expect(1);
    return compiler_.save(args.text(0));
  }
  if (is(method, "Load")) {
    args.expect(1);
    return compiler_.load(args.text(0));
  }
  unknownMethod(method, kCompilerId);
}

QVariant SimulatorObject::invoke(const QString& method, const QVariantList& list) {
  const automation::Args args(method, list);
  std::lock_guard<std::mutex> lock(mutex_);
  if (is(method, "Load")) {
    args.expect(1);
    return sim_.load(args.text(0));
  }
  if (is(method, "SetState")) {
    args.expect(1);
    return sim_.setState(args.text(0));
  }
  if (is(method, "DoStep")) {
    args.expect(1);
    return sim_.doStep(args.text(0));
  }
  if (is(method, "GetStatus")) {
    args.expect(0);
    return sim_.status();
  }
  if (is(method, "GetState")) {
    args.expect(0);
    return sim_.state();
  }
  if (is(method, "GetOut")) {
    args.expect(0);
    return sim_.out();
  }
  unknownMethod(method, kSimulatorId);
}

WindowObject::~WindowObject() {
  for (const QPointer<QWidget>& w : windows_) delete w.data();
}

QList<QWidget*> WindowObject::windows() const {
  QList<QWidget*> out;
  for (const QPointer<QWidget>& w : windows_)
    if (w) out << w.data();
  return out;
}

void WindowObject::adopt(QWidget* window) {
  windows_.removeAll(QPointer<QWidget>());
  windows_ << window;
  window->setAttribute(Qt::WA_DeleteOnClose);
  place(window);
  window->show();
  new PlaceKeeper(window);  // after show: the first placement is ours, not the user's
  window->raise();
  window->activateWindow();
}

QVariant CaSimulatorObject::invoke(const QString& method, const QVariantList& list) {
  const automation::Args args(method, list);
  if (!is(method, "Open")) unknownMethod(method, kCaSimulatorId);
  args.expect(1);
  auto* window = new SimulatorWindow();
  if (!window->open(args.text(0))) {
    delete window;
    return 0;
  }
  adopt(window);
  return 1;
}

QVariant DeterminizatorObject::invoke(const QString& method, const QVariantList& list) {
  const automation::Args args(method, list);
  if (!is(method, "Open")) unknownMethod(method, kDeterminizatorId);
  args.expect(1);
  auto* window = new DeterminizatorWindow();
  QString error;
  if (!window->open(args.text(0), &error)) {
    delete window;
    dlg::message(nullptr, error, QStringLiteral("Детерминизация"), dlg::Ok, dlg::Warning);
    return 0;
  }
  adopt(window);
  return 1;
}

}  // namespace servers
