#pragma once
// A frame with its options dialog for the window tests, and small file helpers.
#include <gtest/gtest.h>

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStringList>

#include "platform/dialogs.h"
#include "velmora/frameapi/childkind.h"
#include "velmora/app/mainform.h"
#include "velmora/frameapi/optionsform.h"
#include "velmora/documents/editform.h"
#include "common/tabledata.h"
#include "velmora/documents/tableform.h"
#include "velmora/oa/yselectform.h"

using namespace velmora;

namespace edtest {

inline QByteArray readAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  return f.write(bytes) == bytes.size();
}

inline QStringList L(std::initializer_list<const char*> lines) {
  QStringList out;
  for (const char* l : lines) out << QString::fromUtf8(l);
  return out;
}

// Scripted dialogs that also record where each save dialog starts.
class DirScript : public dlg::Script {
 public:
  QStringList saveDirs, saveNames;
  QString saveFile(QWidget* parent, const QString& title, const QString& filter, const QString& dir,
                   const QString& name) override {
    saveDirs << dir;
    saveNames << name;
    return Script::saveFile(parent, title, filter, dir, name);
  }
};

class InFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg::Script welcome;  // the first start greets the user
    frame = new TMainForm();
    OptionsForm = new TOptionsForm(frame);
    YSelectForm = new TYSelectForm(frame);  // as the program makes them at start-up
    frame->show();
  }
  void TearDown() override {
    // Whatever a test left open goes without questions.
    // (Deleting one may delete the windows it owns.)
    while (!frame->mdiArea()->subWindowList().isEmpty()) delete frame->mdiArea()->subWindowList().first();
    delete frame;
    OptionsForm = nullptr;
    YSelectForm = nullptr;
    ChildKind = ckNone;
  }
  // A new РВАС (kind 0) or СКУ (kind 1) editor, made as File > New makes it.
  TEditForm* newEditor(int kind) {
    if (kind == 1)
      frame->NewSkuClick();
    else
      frame->NewRvasClick();
    return frame->lastEditForm;
  }
  // A new table window holding `rows`.
  TVexoTableForm* newTable(const QList<TableRow>& rows) {
    frame->NewTblClick();
    TVexoTableForm* t = frame->lastTableForm;
    TableData d;
    d.rows = rows;
    t->setTableData(d);
    return t;
  }
  int children() const { return frame->mdiArea()->subWindowList().size(); }
  static QMdiSubWindow* subOf(QWidget* w) { return qobject_cast<QMdiSubWindow*>(w->parentWidget()); }
  TMainForm* frame = nullptr;
};

}  // namespace edtest
