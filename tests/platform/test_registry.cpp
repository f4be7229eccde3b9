#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
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

// A FIFO in the settings file's place would hold the program in its first read: it counts as
// no settings, and nothing is written over it.
TEST(Registry, StorageThatIsNotAFileIsNotRead) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath("reg.ini");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  Registry::setStorageFile(fifo);
  Registry r("SOFTWARE\\Ostrel\\Vexo\\2.0");
  EXPECT_FALSE(r.openKey(false));
  EXPECT_FALSE(r.openKey(true));
  EXPECT_FALSE(r.writeString("Options", "x"));
  Registry::setStorageFile(QString());
}
