// The window tests drive real widgets headless; the frame's settings go to a file of their own.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/registry.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTemporaryDir settings;
  Registry::setStorageFile(settings.filePath(QStringLiteral("registry.ini")));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
