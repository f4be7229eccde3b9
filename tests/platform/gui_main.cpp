// Windows, boxes and the locale as both programs have them: their application object.
#include <gtest/gtest.h>

#include "platform/guard.h"

int main(int argc, char** argv) {
  GuardedApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
