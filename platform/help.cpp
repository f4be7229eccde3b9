#include "platform/help.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "platform/dialogs.h"

namespace help {

namespace {
QString& applicationFile() {
  static QString file;
  return file;
}
}  // namespace

void setApplicationHelpFile(const QString& helpFile) { applicationFile() = helpFile; }
QString applicationHelpFile() { return applicationFile(); }

bool show(QWidget* parent, Command command, int topic) {
  return show(parent, applicationFile(), command, topic);
}

bool show(QWidget* parent, const QString& helpFile, Command command, int topic) {
  Q_UNUSED(topic);
  if (command == HelpOnHelp) {
    dlg::message(parent,
                 QStringLiteral("Справка открывается в программе просмотра файлов системы: "
                                "\"Вызов справки\" показывает файл справки целиком, "
                                "\"Поиск...\" открывает его для поиска."),
                 QStringLiteral("Сообщение"), dlg::Ok, dlg::Information);
    return true;
  }
  if (helpFile.isEmpty() || !QFileInfo::exists(helpFile)) {
    dlg::message(parent,
                 QStringLiteral("Файл справки \"%1\" не найден")
                     .arg(helpFile.isEmpty() ? QStringLiteral("(не задан)") : helpFile),
                 QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
    return false;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(helpFile).absoluteFilePath()))) {
    dlg::message(parent, QStringLiteral("Не удается открыть файл справки \"%1\"").arg(helpFile),
                 QStringLiteral("Ошибка"), dlg::Ok, dlg::Warning);
    return false;
  }
  return true;
}

}  // namespace help
