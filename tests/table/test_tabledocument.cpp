#include <gtest/gtest.h>

#include <QSignalSpy>
#include <functional>
#include <memory>

#include "velmora/documents/formats/tabledocument.h"

using namespace velmora;

// The table's document tells its observers of each real change once, and of nothing else.

namespace {

using Role = TTableDocument::LockRole;

struct Counts {
  int fileName = 0, oaFileName = 0, modified = 0, oaModified = 0, compiled = 0, applied = 0, lock = 0;
  bool operator==(const Counts& o) const {
    return fileName == o.fileName && oaFileName == o.oaFileName && modified == o.modified &&
           oaModified == o.oaModified && compiled == o.compiled && applied == o.applied && lock == o.lock;
  }
};

struct Spies {
  explicit Spies(TTableDocument* d)
      : fileName(d, &TTableDocument::fileNameChanged),
        oaFileName(d, &TTableDocument::oaFileNameChanged),
        modified(d, &TTableDocument::modifiedChanged),
        oaModified(d, &TTableDocument::oaModifiedChanged),
        compiled(d, &TTableDocument::compiledChanged),
        applied(d, &TTableDocument::descriptionApplied),
        lock(d, &TTableDocument::lockChanged) {}
  Counts counts() const {
    return {int(fileName.count()), int(oaFileName.count()), int(modified.count()), int(oaModified.count()),
            int(compiled.count()), int(applied.count()),    int(lock.count())};
  }
  QSignalSpy fileName, oaFileName, modified, oaModified, compiled, applied, lock;
};

TEST(TableDocument, EachRealChangeSignalsOnce) {
  struct Case {
    const char* name;
    std::function<void(TTableDocument&)> act;
    Counts expected;
  };
  const Case cases[] = {
      {"the same name again", [](TTableDocument& d) { d.setFileName(TTableDocument::untitled()); }, {}},
      {"a new name, twice",
       [](TTableDocument& d) {
         d.setFileName("a.tbl");
         d.setFileName("a.tbl");
       },
       {1, 0, 0, 0, 0, 0, 0}},
      {"the ОА file renamed", [](TTableDocument& d) { d.setOaFileName("a.oa"); }, {0, 1, 0, 0, 0, 0, 0}},
      {"not modified again", [](TTableDocument& d) { d.setModified(false); }, {}},
      {"modified, twice, then saved",
       [](TTableDocument& d) {
         d.setModified(true);
         d.setModified(true);
         d.setModified(false);
       },
       {0, 0, 2, 0, 0, 0, 0}},
      {"compiled, then edited",
       [](TTableDocument& d) {
         d.setCompiled(true);
         d.setCompiled(true);
         d.setCompiled(false);
       },
       {0, 0, 0, 0, 2, 0, 0}},
      {"the designer applies twice",
       [](TTableDocument& d) {
         d.applyDescription();
         d.applyDescription();
       },
       {0, 0, 0, 1, 0, 2, 0}},
      {"the coding is no signal", [](TTableDocument& d) { d.setSignalCoding(1); }, {}},
  };
  for (const Case& c : cases) {
    TTableDocument doc;
    Spies spies(&doc);
    c.act(doc);
    EXPECT_TRUE(spies.counts() == c.expected) << c.name;
  }
  TTableDocument doc;
  doc.applyDescription();
  EXPECT_TRUE(doc.oaPresent() && doc.isOaModified());
}

// The locks name who works on the description; the open flags and the grid's hint follow them.
TEST(TableDocument, LocksSayWhoWorksOnTheDescription) {
  struct Case {
    const char* name;
    std::function<void(TTableDocument&, QObject*, QObject*)> act;  // two holders
    int changes;
    bool designer, model;
    QString hint;
  };
  const QString edit = TTableDocument::oaEditHint(), joint = TTableDocument::jointModelHint();
  const Case cases[] = {
      {"a designer", [](TTableDocument& d, QObject* a, QObject*) { d.lock(a, Role::Designer); }, 1, true,
       false, edit},
      {"locked twice",
       [](TTableDocument& d, QObject* a, QObject*) {
         d.lock(a, Role::Designer);
         d.lock(a, Role::Designer);
       },
       1, true, false, edit},
      {"a model window and the joint model, which locked last",
       [](TTableDocument& d, QObject* a, QObject* b) {
         d.lock(a, Role::Model);
         d.lock(b, Role::JointModel);
       },
       2, false, true, joint},
      {"the designer locks again after the joint model",
       [](TTableDocument& d, QObject* a, QObject* b) {
         d.lock(a, Role::Designer);
         d.lock(b, Role::JointModel);
         d.lock(a, Role::Designer);
       },
       3, true, false, edit},
      {"a window without a lock lets go",
       [](TTableDocument& d, QObject* a, QObject* b) {
         d.lock(a, Role::Designer);
         d.unlock(b);
       },
       1, true, false, edit},
      {"the designer closes",
       [](TTableDocument& d, QObject* a, QObject*) {
         d.lock(a, Role::Designer);
         d.unlock(a);
         d.unlock(a);
       },
       2, false, false, QString()},
  };
  for (const Case& c : cases) {
    TTableDocument doc;
    QObject a, b;
    QSignalSpy lock(&doc, &TTableDocument::lockChanged);
    c.act(doc, &a, &b);
    EXPECT_EQ(lock.count(), c.changes) << c.name;
    EXPECT_EQ(doc.designerOpen(), c.designer) << c.name;
    EXPECT_EQ(doc.modelOpen(), c.model) << c.name;
    EXPECT_EQ(doc.lockHint(), c.hint) << c.name;
  }
  // A window that goes without letting go frees the table all the same.
  TTableDocument doc;
  auto holder = std::make_unique<QObject>();
  doc.lock(holder.get(), Role::Model);
  QSignalSpy lock(&doc, &TTableDocument::lockChanged);
  holder.reset();
  EXPECT_EQ(lock.count(), 1);
  EXPECT_FALSE(doc.isLocked());
}

}  // namespace
