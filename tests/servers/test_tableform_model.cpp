// The model commands of the table window: what it asks of the servers, in which order, and
// what it makes of their answers. A recording fake stands in for the servers; the last
// tests use our real ones.
#include <gtest/gtest.h>

#include "tests/servers/printers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "platform/automation.h"
#include "platform/dialogs.h"
#include "velmora/app/mainform.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/documents/tableform.h"

using namespace velmora;

namespace {

struct Call {
  QString object, method;
  QVariantList args;
};

// What the fake servers were asked, and how they answer.
struct Recorder {
  QList<Call> calls;
  int created = 0;
  int makeResult = 0;
  int saveResult = 0;
  int openResult = 1;
  bool throwOnMake = false;
  bool throwOnOpen = false;

  QStringList methods(const QString& object = QString()) const {
    QStringList out;
    for (const Call& c : calls)
      if (object.isEmpty() || c.object == object) out << c.method;
    return out;
  }
  QList<Call> of(const QString& object, const QString& method) const {
    QList<Call> out;
    for (const Call& c : calls)
      if (c.object == object && c.method == method) out << c;
    return out;
  }
};

class FakeServer : public automation::Object {
 public:
  FakeServer(Recorder* r, const QString& id) : r_(r), id_(id) { ++r_->created; }
  QVariant invoke(const QString& method, const QVariantList& args) override {
    r_->calls.append({id_, method, args});
    if (method == "Make") {
      if (r_->throwOnMake) throw VexoError(QStringLiteral("Сервер: внутренняя ошибка"));
      return r_->makeResult;
    }
    if (method == "GetStatus") return QStringLiteral("статус компилятора");
    if (method == "Save") return r_->saveResult;
    if (method == "Open") {
      if (r_->throwOnOpen) throw VexoError(QStringLiteral("Сервер: отказ"));
      return r_->openResult;
    }
    return 0;
  }

 private:
  Recorder* r_;
  QString id_;
};

const QString kCompiler = "FSM.Compiler";
const QString kSim = "FSM.CA.Simulator";
const QString kDet = "FSM.CA.Determinizator";

// Registers the fakes under the servers' identifiers; the real plugin is kept out of sight.
class Fakes {
 public:
  explicit Fakes(const QStringList& ids = {kCompiler, kSim, kDet}) {
    automation::setServersDisabled(true);
    for (const QString& id : ids)
      regs_.emplace_back(std::make_unique<automation::FactoryRegistration>(
          id, [this, id] { return std::make_unique<FakeServer>(&rec, id); }));
  }
  ~Fakes() { automation::setServersDisabled(false); }
  Recorder rec;

 private:
  std::vector<std::unique_ptr<automation::FactoryRegistration>> regs_;
};

void setOptions(bool states, bool inputs, bool outputs, int trigger) {
  OptionsForm->a_state->setChecked(states);
  OptionsForm->a_in->setChecked(inputs);
  OptionsForm->a_out->setChecked(outputs);
  OptionsForm->triggerButtons->button(trigger)->setChecked(true);
}

bool writeRaw(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Three rows, the middle one empty.
const QByteArray kThreeRows = "Binary\r\ns0\r\ny1\r\nx1\r\ns1\r\n\r\n\r\n\r\n\r\ns1\r\ny2\r\n1\r\ns0\r\n";

class TableModel : public ::testing::Test {
 protected:
  void SetUp() override {
    setOptions(false, false, false, 0);
    tablePath = dir.filePath("t.tbl");
    ASSERT_TRUE(writeRaw(tablePath, kThreeRows));
    form = std::make_unique<TVexoTableForm>();
    ASSERT_TRUE(form->Open(tablePath));
    fsmPath = dir.filePath("t.fsm");
  }
  void TearDown() override { setOptions(false, false, false, 0); }

  QTemporaryDir dir;
  QString tablePath, fsmPath;
  std::unique_ptr<TVexoTableForm> form;
};

}  // namespace

TEST_F(TableModel, CompilesRowByRowThenOpensTheSimulatorOnce) {
  Fakes fakes;
  dlg::Script script;
  form->StandartClick();
  const Recorder& r = fakes.rec;
  EXPECT_EQ(r.methods(), (QStringList{"SetType", "AddSource", "AddSource", "AddSource", "Make", "GetStatus",
                                      "Save", "Open"}));
  EXPECT_EQ(r.calls[0].args, (QVariantList{1, 2, 1, 2}));
  EXPECT_EQ(r.calls[1].args, (QVariantList{"s0", "y1", "x1", "s1"}));
  EXPECT_EQ(r.calls[2].args, (QVariantList{"", "", "", ""}));
  EXPECT_EQ(r.calls[3].args, (QVariantList{"s1", "y2", "1", "s0"}));
  EXPECT_EQ(r.calls[6].args, (QVariantList{fsmPath}));
  EXPECT_EQ(r.calls[7].object, kSim);
  EXPECT_EQ(r.calls[7].args, (QVariantList{fsmPath}));
  EXPECT_TRUE(form->document()->isCompiled());
  EXPECT_EQ(form->messagesText(), QStringLiteral("статус компилятора"));
  EXPECT_TRUE(script.shown.isEmpty());

  // The second command reuses the compiled file and the simulator object.
  fakes.rec.calls.clear();
  form->StandartClick();
  EXPECT_EQ(fakes.rec.methods(), (QStringList{"Open"}));
  EXPECT_EQ(fakes.rec.created, 2);  // one compiler, one simulator
}

TEST_F(TableModel, SetTypeFollowsTheOptions) {
  Fakes fakes;
  setOptions(true, true, false, 0);
  EXPECT_TRUE(form->Compile());
  EXPECT_EQ(fakes.rec.calls[0].args, (QVariantList{0, 2, 0, 0}));
  fakes.rec.calls.clear();
  setOptions(false, false, false, 2);  // JK
  EXPECT_TRUE(form->Compile());
  EXPECT_EQ(fakes.rec.calls[0].args, (QVariantList{1, 2, 1, 4}));
  fakes.rec.calls.clear();
  setOptions(false, true, true, 3);
  EXPECT_TRUE(form->Compile());
  EXPECT_EQ(fakes.rec.calls[0].args, (QVariantList{1, 0, 0, 5}));
}

TEST_F(TableModel, CompileWithoutSavingWritesNothing) {
  Fakes fakes;
  EXPECT_TRUE(form->Compile(false));
  EXPECT_FALSE(fakes.rec.methods().contains("Save"));
  EXPECT_FALSE(form->document()->isCompiled());
}

TEST_F(TableModel, ServersAbsent) {
  automation::setServersDisabled(true);
  dlg::Script script;
  form->StandartClick();
  EXPECT_EQ(form->messagesText(), QStringLiteral("--- Компилятор не создан ---"));
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_EQ(script.shown[0].text, QStringLiteral("--- Компилятор не создан ---"));
  EXPECT_FALSE(form->document()->isCompiled());
  form->N9Click();
  form->AllModelClick();  // no description: stops before compiling
  EXPECT_EQ(script.shown.size(), 2);
  EXPECT_EQ(form->messagesText(), QStringLiteral("Нет модели операционного автомата!"));
  automation::setServersDisabled(false);
}

TEST_F(TableModel, TableErrorsStopTheCommand) {
  Fakes fakes;
  fakes.rec.makeResult = 2;
  dlg::Script script;
  form->StandartClick();
  EXPECT_EQ(fakes.rec.methods(),
            (QStringList{"SetType", "AddSource", "AddSource", "AddSource", "Make", "GetStatus"}));
  EXPECT_EQ(form->messagesText(), QStringLiteral("статус компилятора\n--- Обнаружены ошибки в таблице ---"));
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_EQ(script.shown[0].text, QStringLiteral("--- Обнаружены ошибки в таблице ---"));
  EXPECT_FALSE(form->document()->isCompiled());
}

TEST_F(TableModel, AFileThatCannotBeWrittenIsReported) {
  Fakes fakes;
  fakes.rec.saveResult = 2;
  dlg::Script script;
  form->N9Click();
  const QString text = QStringLiteral("Ошибка записи выходного файла компилятора ") + fsmPath;
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_EQ(script.shown[0].text, text);
  EXPECT_TRUE(form->messagesText().endsWith(text));
  EXPECT_FALSE(form->document()->isCompiled());
  EXPECT_TRUE(fakes.rec.of(kDet, "Open").isEmpty());
}

TEST_F(TableModel, AServerErrorIsShownAndLeavesTheTableUncompiled) {
  Fakes fakes;
  fakes.rec.throwOnMake = true;
  dlg::Script script;
  EXPECT_NO_THROW(form->StandartClick());
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_EQ(script.shown[0].text, QStringLiteral("Сервер: внутренняя ошибка"));
  EXPECT_EQ(script.shown[0].caption, QStringLiteral("Ошибка"));
  EXPECT_FALSE(form->document()->isCompiled());
  EXPECT_TRUE(fakes.rec.of(kSim, "Open").isEmpty());

  fakes.rec.throwOnMake = false;
  fakes.rec.throwOnOpen = true;
  EXPECT_NO_THROW(form->StandartClick());
  EXPECT_EQ(script.lastText(), QStringLiteral("Сервер: отказ"));
  EXPECT_TRUE(form->document()->isCompiled());  // the compilation itself went well
  EXPECT_FALSE(form->simulator().isValid());
}

TEST_F(TableModel, SimulatorThatCannotOpenIsCreatedAnew) {
  Fakes fakes;
  fakes.rec.openResult = 0;
  dlg::Script script;
  form->StandartClick();
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_EQ(script.shown[0].text, QStringLiteral("Ошибка создания объекта"));
  EXPECT_EQ(script.shown[0].buttons, dlg::Ok);
  EXPECT_FALSE(form->simulator().isValid());
  fakes.rec.openResult = 1;
  form->StandartClick();
  EXPECT_TRUE(form->simulator().isValid());
  EXPECT_EQ(fakes.rec.created, 3);  // compiler, simulator, simulator again
}

TEST_F(TableModel, MissingModellingServers) {
  Fakes fakes({kCompiler});
  dlg::Script script;
  form->StandartClick();
  ASSERT_EQ(script.shown.size(), 1);
  EXPECT_EQ(script.shown[0].text, QStringLiteral("Модуль моделирования не установлен в системе"));
  EXPECT_EQ(script.shown[0].caption, QStringLiteral("Ошибка создания объекта"));
  EXPECT_EQ(script.shown[0].icon, dlg::Information);
  form->N9Click();
  ASSERT_EQ(script.shown.size(), 2);
  EXPECT_EQ(script.shown[1].text, QStringLiteral("Модуль преобразования Vexo в ДА не найден!"));
  EXPECT_EQ(script.shown[1].caption, QStringLiteral("Предупреждение"));
  EXPECT_EQ(fakes.rec.methods(kCompiler).count("Make"), 1);  // compiled once for both
}

TEST_F(TableModel, DeterminizerIsKeptAndItsAnswerIgnored) {
  Fakes fakes;
  fakes.rec.openResult = 0;
  dlg::Script script;
  form->N9Click();
  form->N9Click();
  EXPECT_EQ(fakes.rec.of(kDet, "Open").size(), 2);
  EXPECT_EQ(fakes.rec.created, 2);
  EXPECT_TRUE(script.shown.isEmpty());
  EXPECT_TRUE(form->determinizator().isValid());
}

TEST_F(TableModel, RowCommandsSaveAsAndOptionsMakeTheNextCommandCompile) {
  Fakes fakes;
  dlg::Script script;
  form->StandartClick();
  ASSERT_TRUE(form->document()->isCompiled());

  form->selectCell(1, 2);
  form->Del1Click();
  EXPECT_FALSE(form->document()->isCompiled());
  fakes.rec.calls.clear();
  form->StandartClick();
  EXPECT_EQ(fakes.rec.methods(kCompiler).count("AddSource"), 2);

  // Save as under another name: the next command compiles into the new name's file.
  const QString renamed = dir.filePath("other.tbl");
  script.files << renamed;
  ASSERT_TRUE(form->Saveas1Click());
  EXPECT_FALSE(form->document()->isCompiled());
  fakes.rec.calls.clear();
  form->StandartClick();
  ASSERT_EQ(fakes.rec.of(kCompiler, "Save").size(), 1);
  EXPECT_EQ(fakes.rec.of(kCompiler, "Save")[0].args, (QVariantList{dir.filePath("other.fsm")}));
  EXPECT_EQ(fakes.rec.of(kSim, "Open")[0].args, (QVariantList{dir.filePath("other.fsm")}));

  // Saving again under the same name keeps the compiled file.
  script.files << renamed;
  ASSERT_TRUE(form->Saveas1Click());
  fakes.rec.calls.clear();
  form->StandartClick();
  EXPECT_EQ(fakes.rec.methods(), (QStringList{"Open"}));

  // Options that SetType reads changed since the compilation.
  setOptions(false, false, false, 1);
  fakes.rec.calls.clear();
  form->StandartClick();
  ASSERT_FALSE(fakes.rec.of(kCompiler, "SetType").isEmpty());
  EXPECT_EQ(fakes.rec.of(kCompiler, "SetType")[0].args, (QVariantList{1, 2, 1, 3}));
}

TEST(TableModelUntitled, NeverSavedTablesCompileIntoFilesOfTheirOwn) {
  Fakes fakes;
  TVexoTableForm a, b;
  TableData t;
  t.rows << TableRow{"s0", "", "1", "s0"};
  a.setTableData(t);
  b.setTableData(t);
  a.StandartClick();
  b.StandartClick();
  const QList<Call> saves = fakes.rec.of(kCompiler, "Save");
  ASSERT_EQ(saves.size(), 2);
  const QString pa = saves[0].args[0].toString(), pb = saves[1].args[0].toString();
  EXPECT_NE(pa, pb);
  EXPECT_TRUE(pa.endsWith("/Untitled.fsm"));
  EXPECT_NE(QFileInfo(pa).absolutePath(), QDir::currentPath());
  EXPECT_TRUE(QFileInfo(QFileInfo(pa).absolutePath()).isDir());
  EXPECT_EQ(fakes.rec.of(kSim, "Open")[0].args[0].toString(), pa);
}

TEST(TableModelUntitled, ClosingKeepsWhatTheUserSavedBesideTheCompiledFile) {
  Fakes fakes;
  auto form = std::make_unique<TVexoTableForm>();
  TableData t;
  t.rows << TableRow{"s0", "", "1", "s0"};
  form->setTableData(t);
  const QString fsm = form->compiledFileName();
  EXPECT_EQ(form->compiledFileName(), fsm);  // one directory for the window's lifetime
  const QString dir = QFileInfo(fsm).absolutePath();
  ASSERT_TRUE(writeRaw(fsm, "compiled"));

  // The determinizer offers the compiled file's directory for its table.
  const QString kept = QDir(dir).filePath("Untitled_det.tbl");
  ASSERT_TRUE(writeRaw(kept, "Binary\r\n"));
  form.reset();
  EXPECT_FALSE(QFileInfo::exists(fsm));
  EXPECT_TRUE(QFileInfo::exists(kept));
  QFile::remove(kept);
  QDir().rmdir(dir);

  // Without anything of the user's the directory goes too.
  form = std::make_unique<TVexoTableForm>();
  const QString fsm2 = form->compiledFileName();
  ASSERT_TRUE(writeRaw(fsm2, "compiled"));
  form.reset();
  EXPECT_FALSE(QFileInfo::exists(QFileInfo(fsm2).absolutePath()));
}

TEST_F(TableModel, CompiledFileNameFollowsTheTable) {
  EXPECT_EQ(form->compiledFileName(), fsmPath);
  dlg::Script script;
  script.files << dir.filePath("renamed.tbl");
  ASSERT_TRUE(form->Saveas1Click());
  EXPECT_EQ(form->compiledFileName(), dir.filePath("renamed.fsm"));
}

TEST_F(TableModel, JointModelNeedsADescriptionAndACompilation) {
  Fakes fakes;
  dlg::Script script;
  form->AllModelClick();
  EXPECT_EQ(form->messagesText(), QStringLiteral("Нет модели операционного автомата!"));
  EXPECT_TRUE(fakes.rec.calls.isEmpty());
  form->document()->oa().oaPresent = true;
  form->AllModelClick();
  EXPECT_TRUE(form->document()->isCompiled());
  EXPECT_EQ(fakes.rec.methods(kCompiler).count("Make"), 1);
}

// With our real servers, found as Velmora finds them.
TEST_F(TableModel, RealServersCompileAndOpenTheSimulatorWindow) {
  dlg::Script script;
  form->StandartClick();
  ASSERT_TRUE(form->document()->isCompiled()) << form->messagesText().toStdString();
  EXPECT_TRUE(script.shown.isEmpty());
  EXPECT_TRUE(QFileInfo::exists(fsmPath));
  EXPECT_TRUE(form->messagesText().startsWith(QStringLiteral("Компиляция завершена без ошибок.")));
  int windows = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "FsmSimulatorWindow" && w->isVisible()) ++windows;
  EXPECT_EQ(windows, 1);
  form.reset();  // the window releases its servers, and their windows go with them
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_NE(w->objectName(), QStringLiteral("FsmSimulatorWindow"));
}

TEST_F(TableModel, RealCompilerListsTableFaults) {
  dlg::Script script;
  form->setCell(3, 3, "x1 x2");
  form->StandartClick();
  EXPECT_FALSE(form->document()->isCompiled());
  // The faulty grid line 3 shows the number 2 in its header: the message names it so.
  ASSERT_EQ(form->cell(0, 3), QStringLiteral("2"));
  EXPECT_TRUE(form->messagesText().contains(QStringLiteral("Строка 2 (s1), столбец 3 (xij), позиция 4")));
  EXPECT_TRUE(form->messagesText().endsWith(QStringLiteral("--- Обнаружены ошибки в таблице ---")));
  EXPECT_FALSE(QFileInfo::exists(fsmPath));
}
