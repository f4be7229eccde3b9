#pragma once
// The editor window tests' fixture: a frame, with ways to type, read the selection and open a
// file written for the test.
#include <QTemporaryDir>
#include <QTextCursor>

#include "helpers.h"
#include "velmora/documents/doccreate.h"
#include "velmora/documents/editform.h"

namespace edtest {

class EditorTest : public InFrame {
 protected:
  static void type(TEditForm* w, const QString& text) {
    w->Editor->moveCursor(QTextCursor::End);
    w->Editor->insertPlainText(text);
  }
  static QString selected(TEditForm* w) { return w->Editor->textCursor().selectedText(); }
  // Writes `bytes` into `name` in `dir` and opens it as a document of `kind`.
  TEditForm* openWith(const QTemporaryDir& dir, const char* name, const QByteArray& bytes, int kind) {
    if (!edtest::writeAll(dir.filePath(QString::fromLatin1(name)), bytes)) return nullptr;
    return qobject_cast<TEditForm*>(createEditWindow(frame, kind, dir.filePath(QString::fromLatin1(name))));
  }
};

}  // namespace edtest
