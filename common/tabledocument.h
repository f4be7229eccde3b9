#pragma once
// What a transition-table window of either program keeps of its table apart from the grid: the
// file's name, whether it has unsaved changes and its signal coding. Each real change of the
// name or of the modified flag is a signal, so the window and whoever else shows the table
// observe it rather than writing the window's fields.
#include <QObject>
#include <QString>

class TableDocument : public QObject {
  Q_OBJECT
 public:
  explicit TableDocument(QObject* parent = nullptr);

  static QString untitled();  // "Untitled": a file never saved

  QString fileName() const { return fileName_; }
  void setFileName(const QString& name);
  bool isModified() const { return modified_; }
  void setModified(bool modified);
  // 1 "Abstract", 0 "Binary".
  int signalCoding() const { return signalCoding_; }
  void setSignalCoding(int coding) { signalCoding_ = coding; }

 signals:
  void fileNameChanged(const QString& name);
  void modifiedChanged(bool modified);

 private:
  QString fileName_;
  bool modified_ = false;
  int signalCoding_ = 0;
};
