#pragma once
// One registry key with string values, kept in a settings file of our own.
#include <QString>
#include <memory>

class QSettings;

class Registry {
 public:
  // `key` as the programs name it, e.g. "SOFTWARE\\Ostrel\\Vexo\\2.0" (under the current user).
  explicit Registry(const QString& key);
  ~Registry();
  // canCreate = false fails when the key does not exist yet.
  bool openKey(bool canCreate);
  bool isOpen() const { return open_; }
  QString readString(const QString& name) const;  // empty when missing or not open
  bool writeString(const QString& name, const QString& value);
  void closeKey();

  // Where the values live; tests point it at a file of their own. Empty: the user's default.
  static void setStorageFile(const QString& path);
  static QString storageFile();

 private:
  QString group_;
  std::unique_ptr<QSettings> settings_;
  bool open_ = false;
};
