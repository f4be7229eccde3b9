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

namespace guard {
// Qt reads the system locale (the sizes and dates of its file dialogs) from the environment once,
// while the application object is made: Russian is put there first, and the user's environment
// is given back afterwards.
class RussianEnvironment {
 protected:
  RussianEnvironment();
  void restore();

 private:
  QByteArray saved_;
  bool wasSet_;
};
}  // namespace guard

// The application object of both programs: every event handler runs guarded, the locale is
// Russian (numbers, sizes, dates, Qt's own texts) and every window is as wide as its title.
class GuardedApplication : private guard::RussianEnvironment, public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
