#pragma once
// The determinization window: subset construction from an editable start set, the new
// states with the event sets they stand for, and saving the result as a table file.
#include <QWidget>

#include "servers/detresultmodel.h"
#include "servers/fsmdeterminizer.h"
#include "platform/longlines.h"

class QLineEdit;
class QPushButton;
class QTableView;

namespace servers {

class DeterminizatorWindow : public QWidget {
  Q_OBJECT
 public:
  explicit DeterminizatorWindow(QWidget* parent = nullptr);

  // Loads the file; false with *error when it cannot be loaded.
  bool open(const QString& path, QString* error);

  // Both report their faults in a message box and return false.
  bool runClick();
  bool saveClick();

  const fsm::DetResult& result() const { return result_; }
  bool hasResult() const { return hasResult_; }
  // The table file lines of the result (state names from the prefix edit).
  QStringList tableLines() const;

  QLineEdit *startEdit = nullptr, *prefixEdit = nullptr;
  QPushButton *runButton = nullptr, *saveButton = nullptr;
  QTableView* resultTable = nullptr;
  longlines::TextEdit* notesMemo = nullptr;

 private:
  void fail(const QString& text);
  void showResult();

  fsm::Model model_;
  fsm::DetResult result_;
  DetResultModel* resultModel_ = nullptr;
  bool hasResult_ = false;
  QString path_;
};

}  // namespace servers
