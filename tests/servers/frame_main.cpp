// Tests of commands that need the frame and the options dialog: both are made once, with the
// frame's settings in a file of their own.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/dialogs.h"
#include "platform/registry.h"
#include "velmora/app/mainform.h"
#include "velmora/frameapi/optionsform.h"

using namespace velmora;

TMainForm* TestFrame = nullptr;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTemporaryDir settings;
  Registry::setStorageFile(settings.filePath("registry.ini"));
  TMainForm* frame = nullptr;
  {
    dlg::Script firstRun;  // the frame greets a first start with a message
    frame = new TMainForm();
    TestFrame = frame;
    OptionsForm = new TOptionsForm(frame);
  }
  ::testing::InitGoogleTest(&argc, argv);
  const int rc = RUN_ALL_TESTS();
  delete frame;
  return rc;
}
