#pragma once
// What the main program's tests share: a program folder as the working folder, scripted
// message boxes, a recording desktop, and helpers for modal dialogs and server look-ups.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

#include "desktop.h"
#include "scripted_messages.h"
#include "test_cluster.h"

class Tmain_form;

class MainProgramTest : public ::testing::Test {
protected:
    explicit MainProgramTest(const QString& login = QStringLiteral("school_001"));
    ~MainProgramTest() override;

    // Opens the main window's connection as the login (the way a finished sign-in leaves it).
    void signIn(Tmain_form& main, const QString& login);

    testsupport::ProgramFolder folder;
    std::shared_ptr<api::ScriptedMessages> messages = std::make_shared<api::ScriptedMessages>();
    std::shared_ptr<api::RecordingDesktop> desktop = std::make_shared<api::RecordingDesktop>();

private:
    std::shared_ptr<api::MessageService> previousMessages_;
    std::shared_ptr<api::DesktopService> previousDesktop_;
    QString previousDir_;
};

// One value read as the administrator (who may read the logs).
QString adminScalar(const QString& sql);

// While alive, runs `act` on every modal dialog of type D that comes up (its exec() is
// running); `runs` counts them.
template <class D>
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(D*)> act) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this, act] {
            auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            if (!dialog || dialog == last_) return;
            last_ = dialog;
            ++runs;
            act(dialog);
        });
        timer_.start();
    }
    int runs = 0;

private:
    QTimer timer_;
    QPointer<D> last_;
};

// Sets the announced version record for the duration of a test.
class AnnouncedVersion {
public:
    AnnouncedVersion(const QString& version, const QString& url = QStringLiteral("http://127.0.0.1:1/setup.exe"));
    ~AnnouncedVersion();
};
