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

TEST(SingleInstance, EveryFurtherCopyIsRefusedAndAsksTheFirstToComeForward) {
  const QString name = testServerName("pair");
  SingleInstance first(name);
  ASSERT_TRUE(first.claim());
  EXPECT_TRUE(first.listening());
  QSignalSpy forward(&first, &SingleInstance::activationRequested);
  for (int copy = 1; copy <= 2; ++copy) {
    SingleInstance next(name);
    EXPECT_FALSE(next.claim());
    EXPECT_FALSE(next.listening());
    EXPECT_TRUE(forward.count() == copy || forward.wait(2000));
    EXPECT_EQ(forward.count(), copy);
  }
}

TEST(SingleInstance, ACopyThatEndedOrCrashedDoesNotBlockTheStart) {
  const QString name = testServerName("after");
  {
    SingleInstance first(name);
    ASSERT_TRUE(first.claim());
  }
  SingleInstance next(name);
  EXPECT_TRUE(next.claim());
  EXPECT_TRUE(next.listening());

  // A socket file left by a crashed copy.
  const QString stale = testServerName("stale");
  {
    QFile file(QDir::tempPath() + "/" + stale);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  SingleInstance first(stale);
  EXPECT_TRUE(first.claim());
  EXPECT_TRUE(first.listening());
  EXPECT_FALSE(SingleInstance(stale).claim());
  // The name the program uses is its own per user.
  EXPECT_TRUE(SingleInstance::defaultServerName().startsWith("zorvex-"));
  EXPECT_GT(SingleInstance::defaultServerName().size(), QString("zorvex-").size());
}
