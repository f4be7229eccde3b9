#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "platform/registry.h"

// The window tests drive real widgets headless; the frame's settings go to a file of their own.
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTemporaryDir settings;
  Registry::setStorageFile(settings.filePath("registry.ini"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
