#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "platform/automation.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "velmora/frameapi/frame.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/documents/tableform.h"

namespace velmora {

// Compilation, simulation and determinization through the outside automation servers.
//
// The compiler writes the automaton into a file beside the table (its name with the
// extension ".fsm"); the simulator and the determinizer open that file. The document's compiled
// flag says that the file of the current table is up to date.

namespace {

const char* const kCompilerId = "FSM.Compiler";
const char* const kCaSimulatorId = "FSM.CA.Simulator";
const char* const kDeterminizatorId = "FSM.CA.Determinizator";

// A box without a caption of its own shows the program's title.
const QString& appCaption() {
  static const QString c = QStringLiteral("Vexo");
  return c;
}

// The four SetType arguments: state coding, output coding, input coding, trigger type.
struct CompileType {
  int states = 1, outputs = 2, inputs = 1, triggers = 2;
  bool operator==(const CompileType& o) const {
    return states == o.states && outputs == o.outputs && inputs == o.inputs && triggers == o.triggers;
  }
  bool operator!=(const CompileType& o) const { return !(*this == o); }
};

// Read from the options dialog at the moment of compiling.
CompileType currentType() {
  CompileType t;
  if (!OptionsForm) return t;
  t.states = OptionsForm->abstractStates() ? 0 : 1;
  t.outputs = OptionsForm->abstractOutputs() ? 0 : 2;
  t.inputs = OptionsForm->abstractInputs() ? 0 : 1;
  t.triggers = t.states == 1 ? OptionsForm->triggerType() + 2 : 0;
  return t;
}

// What a table window remembers of its last compilation, and the directory in which a
// never-saved table keeps its compiled file. Lives as a child of the window, so it goes
// with it.
class CompileMemory : public QObject {
 public:
  explicit CompileMemory(TVexoTableForm* form) : QObject(form), form_(form) {
    setObjectName(QStringLiteral("compileMemory"));
    // Saving under another name renames the table: the file compiled under the old name
    // is not the table's any more.
    connect(form, &QWidget::windowTitleChanged, this, [this] { form_->document()->setCompiled(false); });
  }

  static CompileMemory* of(TVexoTableForm* form) {
    auto* m = form->findChild<CompileMemory*>(QStringLiteral("compileMemory"), Qt::FindDirectChildrenOnly);
    return m ? m : new CompileMemory(form);
  }

  // Only the compiled file goes with the window: the determinizer offers this directory for
  // its table, and what the user saved there must stay.
  ~CompileMemory() override {
    if (!tempDir_ || !tempDir_->isValid()) return;
    QFile::remove(tempDir_->filePath(untitledName()));
    QDir().rmdir(tempDir_->path());  // fails, and keeps everything, unless it is empty
  }

  // The table file's name with the extension ".fsm". A table that was never saved gets a
  // file in a temporary directory of its own, so two untitled tables never share one.
  QString fsmPath() {
    const QString table = form_->fileName();
    if (table.isEmpty() || table == QLatin1String("Untitled")) {
      if (!tempDir_) {
        tempDir_ = std::make_unique<QTemporaryDir>();
        tempDir_->setAutoRemove(false);
      }
      return tempDir_->isValid() ? tempDir_->filePath(untitledName()) : untitledName();
    }
    const QFileInfo info(table);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".fsm"));
  }

  void remember(const QString& path, const CompileType& type) {
    path_ = path;
    type_ = type;
    valid_ = true;
  }

  // A compiled file is used only for the table name and the options it was made with.
  bool current(const QString& path, const CompileType& type) const {
    return valid_ && path == path_ && type == type_;
  }

 private:
  TVexoTableForm* form_;
  std::unique_ptr<QTemporaryDir> tempDir_;
  QString path_;
  CompileType type_;
  bool valid_ = false;

  static QString untitledName() { return QStringLiteral("Untitled.fsm"); }
};

// Clears the compiled flag when the options or the table's name changed since the compilation.
void forgetStaleCompilation(TVexoTableForm* form) {
  if (!form->document()->isCompiled()) return;
  CompileMemory* memory = CompileMemory::of(form);
  if (!memory->current(memory->fsmPath(), currentType())) form->document()->setCompiled(false);
}

}  // namespace

QString TVexoTableForm::compiledFileName() const {
  // The temporary directory of a never-saved table is made on first demand.
  return CompileMemory::of(const_cast<TVexoTableForm*>(this))->fsmPath();
}

bool TVexoTableForm::Compile(bool save) {
  clearMessages();
  doc_->setCompiled(false);
  automation::Dispatch compiler;
  try {
    compiler = automation::createObject(QLatin1String(kCompilerId));
  } catch (const VexoError&) {
    const QString text = QStringLiteral("--- Компилятор не создан ---");
    appendMessage(text);
    dlg::message(this, text, appCaption(), dlg::Ok, dlg::NoIcon);
    return false;
  }

  CompileMemory* memory = CompileMemory::of(this);
  const CompileType type = currentType();
  const QString path = compiledFileName();
  int status = 0;
  bool makeFailed = false;
  bool written = false;
  // A fault raised by the server is shown here; the table stays uncompiled.
  const bool ran = guard::run(this, [&] {
    compiler.call(QStringLiteral("SetType"), {type.states, type.outputs, type.inputs, type.triggers});
    const TableData table = tableData();  // the rows as they stand, empty ones included
    for (const TableRow& row : table.rows)
      compiler.call(QStringLiteral("AddSource"), {row.si, row.y, row.x, row.sj});
    status = compiler.callInt(QStringLiteral("Make"));
    setMessagesText(compiler.callText(QStringLiteral("GetStatus")));
    makeFailed = status != 0;
    if (status == 0 && save) {
      status = compiler.callInt(QStringLiteral("Save"), {path});
      written = status == 0;
    }
  });
  compiler.clear();
  if (!ran) return false;
  if (status != 0) {
    const QString text = makeFailed ? QStringLiteral("--- Обнаружены ошибки в таблице ---")
                                    : QStringLiteral("Ошибка записи выходного файла компилятора ") + path;
    appendMessage(text);
    dlg::message(this, text, appCaption(), dlg::Ok, dlg::NoIcon);
    return false;
  }
  if (written) {
    // Set last: renaming the window while compiling must not leave a stale flag behind.
    memory->remember(path, type);
    doc_->setCompiled(true);
  }
  return true;
}

void TVexoTableForm::StandartClick() {
  clearMessages();
  forgetStaleCompilation(this);
  if (!doc_->isCompiled()) Compile(true);
  if (!doc_->isCompiled()) return;
  automation::Dispatch server = automation::Dispatch::fromVariant(simulator_);
  if (server.isEmpty()) {
    try {
      server = automation::createObject(QLatin1String(kCaSimulatorId));
    } catch (const VexoError&) {
      dlg::message(this, QStringLiteral("Модуль моделирования не установлен в системе"),
                   QStringLiteral("Ошибка создания объекта"), dlg::Ok, dlg::Information);
      return;
    }
    simulator_ = server.toVariant();
  }
  const QString path = compiledFileName();
  int result = 0;
  if (!guard::run(this, [&] { result = server.callInt(QStringLiteral("Open"), {path}); })) {
    simulator_ = QVariant();  // a server that failed is created anew next time
    return;
  }
  if (result == 0) {
    dlg::message(this, QStringLiteral("Ошибка создания объекта"), appCaption(), dlg::Ok, dlg::NoIcon);
    simulator_ = QVariant();
  }
}

void TVexoTableForm::N9Click() {
  clearMessages();
  forgetStaleCompilation(this);
  if (!doc_->isCompiled()) Compile(true);
  if (!doc_->isCompiled()) return;
  automation::Dispatch server = automation::Dispatch::fromVariant(determinizator_);
  if (server.isEmpty()) {
    try {
      server = automation::createObject(QLatin1String(kDeterminizatorId));
    } catch (const VexoError&) {
      dlg::message(this, QStringLiteral("Модуль преобразования Vexo в ДА не найден!"),
                   QStringLiteral("Предупреждение"), dlg::Ok, dlg::Information);
      return;
    }
    determinizator_ = server.toVariant();
  }
  const QString path = compiledFileName();
  // The determinizer reports its own faults; its answer is not examined.
  guard::run(this, [&] { server.call(QStringLiteral("Open"), {path}); });
}

void TVexoTableForm::AllModelClick() {
  clearMessages();
  if (!doc_->oaPresent()) {
    appendMessage(QStringLiteral("Нет модели операционного автомата!"));
    return;
  }
  forgetStaleCompilation(this);
  if (!doc_->isCompiled()) Compile(true);
  if (!doc_->isCompiled()) return;
  if (frame()) frame()->openOaWindow(TFrame::OaWindow::JointModel, this);
}

}  // namespace velmora
