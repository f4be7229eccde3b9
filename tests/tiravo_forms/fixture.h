#pragma once
// A Tiravo frame with scripted dialogs and a scratch folder for each test.
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "platform/dialogs.h"
#include "tiravo/forms/mainform.h"

class TiravoFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    script = std::make_unique<dlg::Script>();
    frame = new tiravo::TMainForm;
    frame->show();
  }
  void TearDown() override {
    // Whatever is still open closes without questions.
    script->answers.clear();
    for (int i = 0; i < 8; ++i) script->answers << dlg::No;
    delete frame;
    script.reset();
  }
  int children() const { return int(frame->mdiArea()->subWindowList().size()); }
  QString path(const QString& name) const { return dir.filePath(name); }
  static QByteArray bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  static void write(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
  }

  QTemporaryDir dir;
  std::unique_ptr<dlg::Script> script;
  tiravo::TMainForm* frame = nullptr;
};
