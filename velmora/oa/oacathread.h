#pragma once
// The worker of the joint model: steps the compiled control automaton through the automation
// object "fsm.Simulator" in a thread of its own, and hands every result to its window on the
// main thread.
//
// Commands reach the worker through its own queue; posting never waits. Whatever touches the
// window or the operational automaton's model runs in a hand-off: the worker asks the main
// thread to run it and waits until it ran. A window that goes away detaches its worker: from
// then on its hand-offs do nothing, it ends at its next turn, and a main-thread runtime joins
// and frees it. The main thread never waits for a worker that may be waiting for it: a worker
// asked to end gives up a hand-off that has not started yet.
//
// No widgets here: the window is reached through OacaHost.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/automation.h"

namespace velmora {

class TModelStep;
class oacathread_t;

// Thread commands, as the window posts them.
enum SimCmd : int {
  SimCmdStart = 0x8001,
  SimCmdStep = 0x8002,
  SimCmdReset = 0x8003,
  SimCmdIgnored = 0x8004,  // fetched and ignored
  SimCmdPause = 0x8005
};

// What the worker needs of its window. Called on the main thread only, in hand-offs (and by
// the constructor).
class OacaHost {
 public:
  virtual ~OacaHost() = default;
  virtual QString initialState() const = 0;  // the text of the initial-state edit
  virtual unsigned stepLimit() const = 0;
  virtual TModelStep* stepModel() = 0;  // nullptr without a model
  virtual void appendConsole(const QStringList& lines) = 0;
  virtual void clearConsole() = 0;
  // The step table: its row count (header included), a row added at the end with `number` in
  // column 0, one row's x, s and y, and the number of rows.
  virtual int stepRowCount() const = 0;
  virtual void addStepRow(int number) = 0;
  virtual void setStepRow(int row, const QString& x, const QString& s, const QString& y) = 0;
  virtual void setStepRowCount(int rows) = 0;
  virtual void setRunMenus(bool start, bool pause, bool step) = 0;
  // The worker the window refers to is going: the window forgets it.
  virtual void workerEnded(oacathread_t* worker) = 0;
};

class oacathread_t {
 public:
  static const char* const kSimulatorId;  // "fsm.Simulator"

  // Main thread. Creates the simulator and loads `fsmFile` (the file the table compiled); the
  // console learns the outcome. The thread is not started yet. `window` guards `host`: once
  // it is gone the worker never calls `host` again.
  oacathread_t(QObject* window, OacaHost* host, const QString& fsmFile);
  // Main thread; only a worker that never started, or one that ended.
  ~oacathread_t();
  oacathread_t(const oacathread_t&) = delete;
  oacathread_t& operator=(const oacathread_t&) = delete;

  // Empty when the server could not be created or the file was not loaded.
  bool hasSimulator() const { return !simulator.isEmpty(); }
  // Main thread: starts the thread. From then on the runtime owns the worker.
  void Resume();
  // Any thread: queues a command and returns at once.
  void PostCommand(int id);
  // Main thread: hand-offs stop reaching the window and the worker is asked to end. The
  // window must not use the pointer afterwards.
  void Detach();

  // Posts `id` to `worker` when there is one; nothing otherwise.
  static void PostThreadCommand(oacathread_t* worker, int id);
  // Main thread: detaches, ends and frees every running worker without the event loop (the
  // program's exit). Hand-offs that have not started are given up.
  static void EndAll();
  // Main thread: how many workers have not been freed yet (tests).
  static int liveWorkers();

  // Any thread (tests): how many turns of its loop the worker has begun, each taking one
  // command or, with none waiting, making one step attempt while running; and whether it is
  // waiting for a hand-off that has not started.
  int turns() const { return turns_.load(); }
  bool waitingForHandOff();

 private:
  friend class OacaRuntime;
  enum class HandOff { None, Pending, Running, Done };
  using HandOffFn = void (oacathread_t::*)();

  // ---- worker thread ----
  void Execute();
  // The next command, or 0 when none is waiting (or the worker is to end: *quit).
  int FetchCommand(bool* quit);
  void Command(int id);
  void Step();
  void Pause();
  // Runs `fn` on the main thread and waits for it; false when the worker is to end and the
  // hand-off was given up.
  bool Synchronize(HandOffFn fn);
  bool terminating();

  // ---- main thread ----
  void serveHandOff();
  OacaHost* attachedHost() const;
  void SyncInput();
  void SyncAddRow();
  void SyncMenus();
  void DoReset();
  void FlushLog();
  void requestEnd();
  bool ended();
  void join();

  QPointer<QObject> form;
  OacaHost* host_;
  QString fsmFile;
  QString input, output, stateText;
  int stepNo = 0;
  int simStatus = 0;
  bool singleStep = false, running = false, stopped = false;
  QStringList log;
  QString handOffError_;  // an error of the operational automaton in SyncInput
  automation::Dispatch simulator;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<int> queue_;
  bool terminate_ = false;
  bool ended_ = false;
  HandOff handOff_ = HandOff::None;
  HandOffFn handOffFn_ = nullptr;
  std::thread thread_;
  std::atomic<int> turns_{0};
};

}  // namespace velmora
