// The windows need an application object that shows exceptions as the program does.
#include <gtest/gtest.h>

#include "platform/guard.h"

int main(int argc, char** argv) {
  GuardedApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
