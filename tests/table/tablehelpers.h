#pragma once
// Helpers shared by the table window tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <memory>

#include "filebytes.h"
#include "velmora/documents/tableform.h"

using namespace velmora;

namespace tt {

// Key presses carrying text, as a keyboard would send them (any script).
inline void typeText(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
  }
}

// Enter commits the cell; the view takes the text in once the key has been handled.
inline void commitWithEnter(QWidget* editor) {
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
}

// Opens the in-place editor on a cell, types, and commits with Enter. Returns false when no
// editor opened (a locked grid).
inline bool typeIntoCell(TVexoTableForm* f, int col, int row, const QString& text, bool replace = true) {
  f->selectCell(col, row);
  f->grid()->edit(f->grid()->currentIndex());
  QLineEdit* e = f->cellEditor();
  if (!e) return false;
  if (replace) e->selectAll();
  typeText(e, text);
  commitWithEnter(e);
  return true;
}

// A window of its own, shown, with nothing loaded.
inline std::unique_ptr<TVexoTableForm> newForm() {
  auto f = std::make_unique<TVexoTableForm>();
  f->show();
  return f;
}

inline std::unique_ptr<TVexoTableForm> openForm(const QString& path) {
  auto f = newForm();
  EXPECT_TRUE(f->Open(path));
  return f;
}

inline TableData threeRows() {
  TableData t;
  t.rows << TableRow{"s0", "y1", "x1", "s1"} << TableRow{"", "", "X1", "s0"}
         << TableRow{"s1", "y2&y1", "1", "s0"};
  return t;
}

inline QStringList column(const TVexoTableForm* f, int col) {
  QStringList out;
  for (int r = 1; r < f->rowCount(); ++r) out << f->cell(col, r);
  return out;
}

}  // namespace tt
