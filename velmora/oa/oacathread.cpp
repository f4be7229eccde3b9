#include "velmora/oa/oacathread.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <algorithm>
#include <chrono>
#include <exception>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "platform/errors.h"
#include "velmora/oa/oastep.h"

namespace velmora {

const char* const oacathread_t::kSimulatorId = "fsm.Simulator";

namespace {

using namespace std::chrono_literals;

// Texts cross between the threads as they are: Qt's implicit sharing counts references
// atomically, so both threads may hold the same text, and whichever changes it first gets
// a copy of its own then. `own` only marks where a text changes hands.
QString own(const QString& s) { return s; }

QStringList own(const QStringList& list) { return list; }

// A text of several lines as the lines of a list (CR LF, LF or CR ends a line).
QStringList linesOf(const QString& text) {
  if (text.isEmpty()) return {};
  QString t = text;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
  return t.split(QLatin1Char('\n'));
}

QString messageOf(const std::exception& e) {
  if (auto* v = dynamic_cast<const VexoError*>(&e)) return v->message();
  return QString::fromUtf8(e.what());
}

}  // namespace

// The main-thread side of all workers: runs their hand-offs and frees the workers that ended.
// Workers wake it through a pipe, so nothing of the worker threads passes through the event
// queue. It lives as long as the application object.
class OacaRuntime : public QObject {
 public:
  static OacaRuntime* instance() {
    if (!instance_) instance_ = new OacaRuntime;
    return instance_;
  }
  static OacaRuntime* existing() { return instance_; }

  void adopt(oacathread_t* worker) { workers_.push_back(worker); }
  bool owns(const oacathread_t* worker) const {
    return std::find(workers_.begin(), workers_.end(), worker) != workers_.end();
  }
  int count() const { return int(workers_.size()); }

  // Any thread.
  void wake() {
    const char byte = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t n = ::write(fds_[1], &byte, 1);
  }

  void serve() {
    char buf[64];
    while (::read(fds_[0], buf, sizeof buf) > 0) {
    }
    // A hand-off may run an event loop of its own; work on a copy of the list.
    const std::vector<oacathread_t*> now = workers_;
    for (oacathread_t* w : now)
      if (owns(w)) w->serveHandOff();
    for (oacathread_t* w : now) {
      if (!owns(w) || !w->ended()) continue;
      workers_.erase(std::find(workers_.begin(), workers_.end(), w));
      delete w;  // joins a thread that has already left its body
    }
  }

  void endAll() {
    const std::vector<oacathread_t*> now = workers_;
    workers_.clear();
    for (oacathread_t* w : now) {
      if (OacaHost* h = w->attachedHost()) h->workerEnded(w);  // the window forgets it first
      w->Detach();
    }
    for (oacathread_t* w : now) delete w;
  }

  ~OacaRuntime() override {
    endAll();
    delete notifier_;
    ::close(fds_[0]);
    ::close(fds_[1]);
    instance_ = nullptr;
  }

 private:
  OacaRuntime() : QObject(QCoreApplication::instance()) {
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0)
      throw VexoError(QStringLiteral("Не удалось создать канал для потока моделирования"));
    notifier_ = new QSocketNotifier(fds_[0], QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { serve(); });
  }

  static OacaRuntime* instance_;
  int fds_[2] = {-1, -1};
  QSocketNotifier* notifier_ = nullptr;
  std::vector<oacathread_t*> workers_;
};

OacaRuntime* OacaRuntime::instance_ = nullptr;

// ---------------------------------------------------------------- main thread

oacathread_t::oacathread_t(QObject* window, OacaHost* host, const QString& fsmFile_)
    : form(window), host_(host), fsmFile(fsmFile_) {
  try {
    simulator = automation::createObject(QLatin1String(kSimulatorId));
  } catch (const std::exception&) {
    return;  // no server: nothing to say, the menus stay as they are
  }
  try {
    simStatus = simulator.callInt(QStringLiteral("Load"), {fsmFile});
  } catch (const std::exception&) {
    simStatus = -1;  // a server that fails to load reads as a file not loaded
  }
  if (simStatus != -1) {
    log << QStringLiteral("Загрузка файла: ") + fsmFile;
  } else {
    simulator.clear();
    log << QStringLiteral("(Ошибка ") + QString::number(simStatus) + QStringLiteral(") Файл: ") + fsmFile;
  }
  running = false;
  singleStep = false;
  SyncMenus();
  FlushLog();
}

oacathread_t::~oacathread_t() {
  if (thread_.joinable()) {
    requestEnd();
    thread_.join();
  }
  if (OacaHost* h = attachedHost()) h->workerEnded(this);
}

void oacathread_t::Resume() {
  OacaRuntime* runtime = OacaRuntime::instance();
  runtime->adopt(this);
  thread_ = std::thread([this] { Execute(); });
}

void oacathread_t::PostCommand(int id) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(id);
  }
  wake_.notify_all();
}

void oacathread_t::PostThreadCommand(oacathread_t* worker, int id) {
  if (worker) worker->PostCommand(id);
}

void oacathread_t::Detach() {
  form.clear();
  host_ = nullptr;
  requestEnd();
}

void oacathread_t::requestEnd() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    terminate_ = true;
  }
  wake_.notify_all();
}

bool oacathread_t::ended() {
  std::lock_guard<std::mutex> lock(mutex_);
  return ended_;
}

void oacathread_t::EndAll() {
  if (OacaRuntime* r = OacaRuntime::existing()) r->endAll();
}

int oacathread_t::liveWorkers() {
  OacaRuntime* r = OacaRuntime::existing();
  return r ? r->count() : 0;
}

bool oacathread_t::waitingForHandOff() {
  std::lock_guard<std::mutex> lock(mutex_);
  return handOff_ == HandOff::Pending;
}

OacaHost* oacathread_t::attachedHost() const { return form ? host_ : nullptr; }

void oacathread_t::serveHandOff() {
  HandOffFn fn = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (handOff_ != HandOff::Pending) return;
    handOff_ = HandOff::Running;  // from now on the worker waits for it to finish
    fn = handOffFn_;
  }
  try {
    (this->*fn)();
  } catch (const std::exception& e) {
    // Nothing of a hand-off may escape into the event loop; what failed is said in the console.
    if (OacaHost* h = attachedHost()) h->appendConsole({messageOf(e)});
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    handOff_ = HandOff::Done;
  }
  wake_.notify_all();
}

void oacathread_t::SyncInput() {
  OacaHost* host = attachedHost();
  if (!host) return;
  if (stepNo == 0) {
    input = own(host->initialState());
  } else if (TModelStep* model = host->stepModel()) {
    try {
      input = own(model->ApplySignals(own(output), 'a'));
    } catch (const std::exception& e) {
      // The step's microoperations failed: the run stops with the message in the console.
      handOffError_ = own(messageOf(e));
      input = QStringLiteral("---ошибка---");
    }
  } else {
    input.clear();
  }
  if (unsigned(stepNo) >= host->stepLimit()) stopped = true;
}

void oacathread_t::SyncAddRow() {
  OacaHost* host = attachedHost();
  if (!host) return;
  FlushLog();
  const int r = stepNo + 1;
  while (r >= host->stepRowCount()) host->addStepRow(host->stepRowCount());
  host->setStepRow(r, own(input), own(stateText), own(output));
}

void oacathread_t::SyncMenus() {
  OacaHost* host = attachedHost();
  if (!host) return;
  host->setRunMenus(!running && !singleStep, running && !singleStep, !running);
}

void oacathread_t::FlushLog() {
  if (OacaHost* host = attachedHost()) host->appendConsole(own(log));
}

void oacathread_t::DoReset() {
  OacaHost* host = attachedHost();
  if (!host) return;
  running = singleStep = stopped = false;
  stepNo = 0;
  SyncMenus();
  host->clearConsole();
  log.clear();
  log << QStringLiteral("---СБРОС---");
  FlushLog();
  host->setStepRowCount(2);
  host->setStepRow(1, QString(), QString(), QString());
  TModelStep* model = host->stepModel();
  if (model && model->RowCount() > 1) {
    for (int n = model->RowCount() - 1; n >= 1; --n) {
      model->GoToStep(n);
      model->ApplySignals(QString(), 'd');
    }
    // The register grid shows the initial values again, not those of the last row deleted.
    model->GoToStep(0);
  }
}

// ---------------------------------------------------------------- worker thread

bool oacathread_t::terminating() {
  std::lock_guard<std::mutex> lock(mutex_);
  return terminate_;
}

bool oacathread_t::Synchronize(HandOffFn fn) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (terminate_) return false;
  handOff_ = HandOff::Pending;
  handOffFn_ = fn;
  lock.unlock();
  OacaRuntime::existing()->wake();
  lock.lock();
  wake_.wait(lock,
             [this] { return handOff_ == HandOff::Done || (terminate_ && handOff_ == HandOff::Pending); });
  const bool ran = handOff_ == HandOff::Done;
  handOff_ = HandOff::None;
  return ran;
}

int oacathread_t::FetchCommand(bool* quit) {
  std::lock_guard<std::mutex> lock(mutex_);
  *quit = terminate_;
  if (terminate_ || queue_.empty()) return 0;
  const int id = queue_.front();
  queue_.pop_front();
  return id;
}

void oacathread_t::Execute() {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, 100ms, [this] { return terminate_; });
  }
  for (;;) {
    ++turns_;
    bool quit = false;
    const int id = FetchCommand(&quit);
    if (quit) break;
    if (id) {
      Command(id);
      continue;
    }
    if (running) Step();
    // A fixed pause after every turn, not only when idle: it sets the pace of an automatic run
    // (about one step per 10 ms plus the server's time), so the window can follow it and a
    // pause or stop is seen between two steps. A command or a stop ends the wait at once.
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, 10ms, [this] { return terminate_ || !queue_.empty(); });
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ended_ = true;
  }
  OacaRuntime::existing()->wake();
}

void oacathread_t::Command(int id) {
  switch (id) {
    case SimCmdStart:
      running = true;
      singleStep = false;
      Synchronize(&oacathread_t::SyncMenus);
      break;
    case SimCmdStep:
      running = true;
      singleStep = true;
      Synchronize(&oacathread_t::SyncMenus);
      break;
    case SimCmdReset: Synchronize(&oacathread_t::DoReset); break;
    case SimCmdPause: Pause(); break;
    default: break;  // 0x8004 and anything else: nothing
  }
}

void oacathread_t::Pause() {
  running = false;
  singleStep = false;
  Synchronize(&oacathread_t::SyncMenus);
}

void oacathread_t::Step() {
  if (stopped) {
    Pause();
    return;
  }
  const QString marker = QStringLiteral("---ошибка---");
  try {
    if (stepNo == 0) {
      if (!Synchronize(&oacathread_t::SyncInput)) return;
      simStatus = simulator.callInt(QStringLiteral("SetState"), {input});
    } else {
      simStatus = simulator.callInt(QStringLiteral("DoStep"), {input});
    }
    log = linesOf(simulator.callText(QStringLiteral("GetStatus")));
    switch (simStatus) {
      case -1: output = stateText = marker; break;
      case 2:
        stateText = QStringLiteral("---нет перехода---");
        output = input = QStringLiteral("---?---");
        break;
      default:
        stateText = simulator.callText(QStringLiteral("GetState"));
        if (simStatus == 1) {
          output = QStringLiteral("---нет событий---");
          input = QStringLiteral("---?---");
        } else {
          output = simulator.callText(QStringLiteral("GetOut"));
          ++stepNo;
          const bool ran = Synchronize(&oacathread_t::SyncInput);
          --stepNo;
          if (!ran) return;
          if (!handOffError_.isEmpty()) {
            log << handOffError_;
            handOffError_.clear();
            simStatus = -1;
          }
        }
        break;
    }
  } catch (const std::exception& e) {
    // A fault of the server is a step that failed; the program goes on.
    simStatus = -1;
    log = QStringList{messageOf(e)};
    output = stateText = marker;
  }
  if (!Synchronize(&oacathread_t::SyncAddRow)) return;
  if (simStatus != 0) {
    stopped = true;
    Pause();
  } else if (singleStep) {
    Pause();
  }
  ++stepNo;
}

}  // namespace velmora
