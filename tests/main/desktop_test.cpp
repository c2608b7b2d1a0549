// The desktop service of the workstation: starting a downloaded installer.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "desktop.h"

namespace {

TEST(SystemDesktop, StartsAFreshlyDownloadedProgramWithItsArguments) {
    const auto previous = api::setDesktopService(nullptr);  // the real one
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("setup-dorv.exe"));
    const QString marker = dir.filePath(QStringLiteral("started"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$1\" > '%1'\n").arg(marker).toUtf8());
    script.close();
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner);  // as downloaded

    EXPECT_TRUE(api::desktop().start(program, {QStringLiteral("/S")}));

    QDeadlineTimer deadline(10000);
    while (!QFile::exists(marker) && !deadline.hasExpired()) QThread::msleep(20);
    QFile started(marker);
    ASSERT_TRUE(started.open(QIODevice::ReadOnly)) << "the program did not run";
    EXPECT_EQ(started.readAll().trimmed(), QByteArray("/S"));
    api::setDesktopService(previous);
}

TEST(SystemDesktop, MissingProgramIsReportedAsFailure) {
    const auto previous = api::setDesktopService(nullptr);
    EXPECT_FALSE(api::desktop().start(QStringLiteral("/nonexistent/setup-dorv.exe"), {QStringLiteral("/S")}));
    api::setDesktopService(previous);
}

}  // namespace
