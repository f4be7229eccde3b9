#pragma once
// An exception thrown by a command is shown in a message box; it never escapes the event loop.
#include <QApplication>
#include <functional>

class QWidget;

namespace guard {

// Runs `command`; an exception is shown (caption "Ошибка") and false returned.
bool run(QWidget* parent, const std::function<void()>& command);
// The message of the exception being handled (call inside a catch block).
QString currentMessage();

}  // namespace guard

// The application object of both programs: every event handler runs guarded.
class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
