#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include "app/qt/SingleInstance.h"

using namespace zv;

namespace {
QString testServerName(const char* what) {
  return QString("zorvex-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(what);
}
}  // namespace

TEST(SingleInstance, ASecondCopyIsRefusedAndTheFirstIsAskedToComeForward) {
  const QString name = testServerName("pair");
  SingleInstance first(name);
  ASSERT_TRUE(first.claim());
  EXPECT_TRUE(first.listening());
  QSignalSpy forward(&first, &SingleInstance::activationRequested);

  SingleInstance second(name);
  EXPECT_FALSE(second.claim());
  EXPECT_FALSE(second.listening());
  EXPECT_TRUE(forward.count() == 1 || forward.wait(2000));
  EXPECT_EQ(forward.count(), 1);

  SingleInstance third(name);
  EXPECT_FALSE(third.claim());
  EXPECT_TRUE(forward.count() == 2 || forward.wait(2000));
  EXPECT_EQ(forward.count(), 2);
}

TEST(SingleInstance, TheNextCopyRunsOnceTheFirstHasEnded) {
  const QString name = testServerName("after");
  {
    SingleInstance first(name);
    ASSERT_TRUE(first.claim());
  }
  SingleInstance next(name);
  EXPECT_TRUE(next.claim());
  EXPECT_TRUE(next.listening());
}

TEST(SingleInstance, ASocketLeftByACrashedCopyDoesNotBlockTheStart) {
  const QString name = testServerName("stale");
  const QString socketPath = QDir::tempPath() + "/" + name;
  {
    QFile stale(socketPath);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  }
  SingleInstance first(name);
  EXPECT_TRUE(first.claim());
  EXPECT_TRUE(first.listening());
  SingleInstance second(name);
  EXPECT_FALSE(second.claim());
}

TEST(SingleInstance, TheDefaultNameIsPerUser) {
  EXPECT_TRUE(SingleInstance::defaultServerName().startsWith("zorvex-"));
  EXPECT_GT(SingleInstance::defaultServerName().size(), QString("zorvex-").size());
}
