#include "platform/registry.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include "platform/textfile.h"

namespace {
QString g_file;
}

void Registry::setStorageFile(const QString& path) { g_file = path; }

QString Registry::storageFile() {
  if (!g_file.isEmpty()) return g_file;
  const QByteArray env = qgetenv("VEXO_REGISTRY_FILE");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Ostrel/registry.ini");
}

Registry::Registry(const QString& key) {
  group_ = key;
  group_.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

Registry::~Registry() { closeKey(); }

bool Registry::openKey(bool canCreate) {
  closeKey();
  // A FIFO or a device in the file's place would hold the program in its first read.
  if (!textfile::notRegularCause(storageFile()).isEmpty()) return false;
  settings_ = std::make_unique<QSettings>(storageFile(), QSettings::IniFormat);
  if (!canCreate) {
    settings_->beginGroup(group_);
    const bool exists = !settings_->childKeys().isEmpty() || !settings_->childGroups().isEmpty();
    settings_->endGroup();
    if (!exists) {
      closeKey();
      return false;
    }
  } else {
    QDir().mkpath(QFileInfo(storageFile()).absolutePath());
    if (!settings_->isWritable()) {
      closeKey();
      return false;
    }
  }
  open_ = true;
  return true;
}

QString Registry::readString(const QString& name) const {
  if (!open_) return QString();
  return settings_->value(group_ + QLatin1Char('/') + name).toString();
}

bool Registry::writeString(const QString& name, const QString& value) {
  if (!open_) return false;
  settings_->setValue(group_ + QLatin1Char('/') + name, value);
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

void Registry::closeKey() {
  if (settings_) settings_->sync();
  settings_.reset();
  open_ = false;
}
