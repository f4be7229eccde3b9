#pragma once
// What the source files of the table window share: the texts its boxes and captions use and the
// naming rules of its file dialogs. Private to velmora/documents/tableform*.cpp.
#include <QFileInfo>
#include <QString>

namespace velmora {

namespace tableform {

inline const QString kUntitled = QStringLiteral("Untitled");
inline const QString kUntitledCaption = QStringLiteral("Untitled - таблица");
inline const QString kError = QStringLiteral("Ошибка");
inline const QString kModified = QStringLiteral("Изменен");

// A dialog answer without an extension gets the default one, as the file dialogs do.
inline QString withDefaultExtension(const QString& path, const QString& ext) {
  if (QFileInfo(path).suffix().isEmpty()) return path + QLatin1Char('.') + ext;
  return path;
}

// The folder a file dialog starts in: the document's own, when it has been saved.
inline QString dialogDir(const QString& name) {
  if (name.isEmpty() || name == kUntitled) return QString();
  return QFileInfo(name).absolutePath();
}

}  // namespace tableform

}  // namespace velmora
