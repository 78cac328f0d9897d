#include <gtest/gtest.h>

#include "ui/qt/QtPrompter.h"

TEST(QtPrompter, SystemLineBreaksBecomeNewlines) {
  EXPECT_EQ(zv::displayText("Data disk write protected!\r\rSet it writable."),
            QString("Data disk write protected!\n\nSet it writable."));
  EXPECT_EQ(zv::displayText("a\r\nb"), QString("a\nb"));
}
