// main() of every test program: offscreen Qt, a private runtime folder, scripted messages.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app_exception.h"
#include "scripted_messages.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    ::testing::InitGoogleTest(&argc, argv);
    api::Application app(argc, argv);
    // No real modal box may ever block a test.
    api::setMessageService(std::make_shared<api::ScriptedMessages>());
    return RUN_ALL_TESTS();
}
