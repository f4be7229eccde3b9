#include "common/tabledocument.h"

TableDocument::TableDocument(QObject* parent) : QObject(parent), fileName_(untitled()) {}

QString TableDocument::untitled() { return QStringLiteral("Untitled"); }

void TableDocument::setFileName(const QString& name) {
  if (fileName_ == name) return;
  fileName_ = name;
  emit fileNameChanged(name);
}

void TableDocument::setModified(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  emit modifiedChanged(modified);
}
