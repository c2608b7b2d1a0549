#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>

#include "abort.h"
#include "app_error.h"
#include "app_exception.h"
#include "scripted_messages.h"

namespace {

class AppExceptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        script = std::make_shared<api::ScriptedMessages>();
        previous = api::setMessageService(script);
    }
    void TearDown() override { api::setMessageService(previous); }
    std::shared_ptr<api::ScriptedMessages> script;
    std::shared_ptr<api::MessageService> previous;
};

TEST_F(AppExceptionTest, OnlyCyrillicLinesAreShownWithAnOfferOfDetails) {
    const QString message = QStringLiteral("Ведомость уже проведена\nCONTEXT: PL/pgSQL function f() line 3");
    script->answer(true);
    api::showErrorMessage(message);
    ASSERT_EQ(script->shown().size(), 2);
    EXPECT_TRUE(script->shown()[0].isQuestion);
    EXPECT_EQ(script->shown()[0].text, QStringLiteral("Ведомость уже проведена\nПоказать подробности?"));
    EXPECT_EQ(script->shown()[0].icon, api::MessageIcon::Error);
    EXPECT_EQ(script->shown()[1].text, message) << "Yes shows the whole text as raised";
    EXPECT_EQ(script->shown()[1].icon, api::MessageIcon::Warning);
}

TEST_F(AppExceptionTest, NoDetailsWhenDeclined) {
    script->answer(false);
    api::showErrorMessage(QStringLiteral("Ошибка\nerror detail"));
    EXPECT_EQ(script->shown().size(), 1);
}

TEST_F(AppExceptionTest, TextWithoutCyrillicOrWithoutLatinLinesIsShownWhole) {
    for (const QString& message : {QStringLiteral("connection refused\nis the server running?"),
                                   QStringLiteral("Ошибка соединения\nСервер недоступен")}) {
        script->clear();
        api::showErrorMessage(message);
        ASSERT_EQ(script->shown().size(), 1);
        EXPECT_FALSE(script->shown()[0].isQuestion);
        EXPECT_EQ(script->shown()[0].text, message);
        EXPECT_EQ(script->shown()[0].icon, api::MessageIcon::Error);
    }
}

TEST_F(AppExceptionTest, ErrorsThrownInSlotsReachTheHandlerAndTheSilentAbortIsSwallowed) {
    QWidget target;
    QTimer::singleShot(0, &target, [] { throw api::AppError(QStringLiteral("Ошибка в обработчике")); });
    QTimer::singleShot(0, &target, [] { throw api::Abort(); });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ASSERT_EQ(script->shown().size(), 1);
    EXPECT_EQ(script->lastText(), QStringLiteral("Ошибка в обработчике"));
}

}  // namespace
