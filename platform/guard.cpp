#include "platform/guard.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <exception>

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/titlebar.h"

namespace guard {

QString currentMessage() {
  try {
    throw;
  } catch (const VexoError& e) {
    return e.message();
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return QStringLiteral("Неизвестная ошибка");
  }
}

bool run(QWidget* parent, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (...) {
    dlg::message(parent, currentMessage(), QStringLiteral("Ошибка"), dlg::Ok, dlg::Critical);
    return false;
  }
}

RussianEnvironment::RussianEnvironment()
    : saved_(qgetenv("LC_ALL")), wasSet_(qEnvironmentVariableIsSet("LC_ALL")) {
  qputenv("LC_ALL", "ru_RU.UTF-8");
}

void RussianEnvironment::restore() {
  if (wasSet_)
    qputenv("LC_ALL", saved_);
  else
    qunsetenv("LC_ALL");
}

}  // namespace guard

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // Programs started from here get the user's environment; the C library keeps reading and
  // writing numbers with a dot.
  restore();
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  titlebar::fitEveryWindow(this);
  // The programs speak Russian, so Qt's own dialogs (files, printing, buttons) should too.
  const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  for (const char* name : {"qtbase_ru"}) {
    auto* t = new QTranslator(this);
    if (t->load(QString::fromLatin1(name), dir))
      installTranslator(t);
    else
      delete t;
  }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    dlg::message(nullptr, guard::currentMessage(), QStringLiteral("Ошибка"), dlg::Ok, dlg::Critical);
    return false;
  }
}
