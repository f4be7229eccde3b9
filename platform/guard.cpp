#include "platform/guard.h"

#include <QLibraryInfo>
#include <QTranslator>
#include <exception>

#include "platform/dialogs.h"
#include "platform/errors.h"

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

}  // namespace guard

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {
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
