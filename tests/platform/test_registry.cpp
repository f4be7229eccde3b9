#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/registry.h"

TEST(Registry, OpenWithoutCreatingHonoured) {
  QTemporaryDir dir;
  Registry::setStorageFile(dir.filePath("reg.ini"));
  {
    Registry r("SOFTWARE\\Ostrel\\Vexo\\2.0");
    EXPECT_FALSE(r.openKey(false));
    EXPECT_TRUE(r.readString("Options").isEmpty());
    ASSERT_TRUE(r.openKey(true));
    EXPECT_TRUE(r.writeString("Options", QString::fromUtf8("zxyss&10&s0")));
  }
  Registry r("SOFTWARE\\Ostrel\\Vexo\\2.0");
  ASSERT_TRUE(r.openKey(false));
  EXPECT_EQ(r.readString("Options"), QString::fromUtf8("zxyss&10&s0"));
  EXPECT_TRUE(r.readString("Missing").isEmpty());
  Registry other("SOFTWARE\\Other");
  EXPECT_FALSE(other.openKey(false));
  Registry::setStorageFile(QString());
}
