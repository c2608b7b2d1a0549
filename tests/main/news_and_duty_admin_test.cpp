// The unread-news alert after sign-in and the duty administrator of the staff account.

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "abort.h"
#include "widgets/db_grid.h"
#include "frm_main.h"
#include "main_test_env.h"
#include "module_launcher.h"
#include "query.h"
#include "Unit_select_desk_admin.h"
#include "unit_view_actual_news.h"

namespace {

class NewsAlertTest : public MainProgramTest {
protected:
    NewsAlertTest() {
        testsupport::superuserExec(QStringLiteral(
            "insert into admin.news (date_news, title_news, text_news, autor, id_type, status) values "
            "(localtimestamp + interval '1 day', 'Тест: для школ', 'Текст для школ', 'dorv', 1, 4), "
            "(localtimestamp + interval '1 day', 'Тест: служебная', 'Текст служебный', 'dorv', 2, 4)"));
    }
    ~NewsAlertTest() override {
        testsupport::superuserExec(QStringLiteral("delete from admin.news where title_news like 'Тест: %'"));
    }
    static int readMarks(const QString& user) {
        return adminScalar(QStringLiteral("select count(*) from admin.news_read r join admin.news n using (id_news) "
                                          "where n.title_news like 'Тест: %' and r.user_name = '%1'").arg(user)).toInt();
    }
};

TEST_F(NewsAlertTest, SchoolSeesSchoolNewsAdminOnlyServiceNews) {
    const struct {
        QString login;
        QString title;
        QString text;
    } cases[] = {{QStringLiteral("school_001"), QStringLiteral("Тест: для школ"), QStringLiteral("Текст для школ")},
                 {QStringLiteral("admin"), QStringLiteral("Тест: служебная"), QStringLiteral("Текст служебный")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.login.toStdString());
        Tmain_form main;
        signIn(main, c.login);
        QString caption, title, text;
        ModalDriver<Tfrm_show_actual_news> closeIt([&](Tfrm_show_actual_news* news) {
            caption = news->windowTitle();
            title = news->lbl_title->text();
            text = news->memo_text_news->toPlainText();
            news->btn_close->click();
        });
        main.check_messages();
        EXPECT_EQ(closeIt.runs, 1);
        EXPECT_EQ(main.first_run, 0);
        EXPECT_EQ(caption, QStringLiteral("Уважаемый пользователь, у вас имеется непрочитанная новость"));
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(readMarks(c.login), 0) << "closing marks nothing";
    }
}

TEST_F(NewsAlertTest, ReadMarksTheItemAndTheNextStartShowsTheNextOne) {
    testsupport::superuserExec(QStringLiteral("update admin.news set date_news = localtimestamp + interval '2 days' "
                                              "where title_news = 'Тест: для школ'"));
    testsupport::superuserExec(QStringLiteral(
        "insert into admin.news (date_news, title_news, text_news, autor, id_type, status) values "
        "(localtimestamp + interval '1 day', 'Тест: вторая для школ', '', 'dorv', 1, 4)"));
    QStringList titles;
    ModalDriver<Tfrm_show_actual_news> confirm([&](Tfrm_show_actual_news* news) {
        titles << news->lbl_title->text();
        news->btn_view->click();
    });
    for (int start = 0; start < 2; ++start) {
        Tmain_form main;
        signIn(main, QStringLiteral("school_001"));
        main.check_messages();
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Тест: для школ"), QStringLiteral("Тест: вторая для школ")}))
        << "one item per start";
    EXPECT_EQ(readMarks(QStringLiteral("school_001")), 2);
}

TEST_F(NewsAlertTest, NewsListButtonOpensTheNewsModuleWithoutMarking) {
    QFile::remove(folder.file(QStringLiteral("lib/pkg_newsdesk.so")));
    Tmain_form main;
    signIn(main, QStringLiteral("school_001"));
    ModalDriver<Tfrm_show_actual_news> list([](Tfrm_show_actual_news* news) { news->btn_show_news->click(); });

    EXPECT_THROW(main.check_messages(), api::Abort);

    EXPECT_EQ(list.runs, 1);
    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_TRUE(messages->shown().first().text.startsWith(QStringLiteral("Не удалось загрузить модуль ") +
                                                         api::packagePath(QStringLiteral("pkg_newsdesk"))));
    EXPECT_EQ(readMarks(QStringLiteral("school_001")), 0);
}

TEST_F(NewsAlertTest, AdministratorWithOnlySchoolNewsUnreadSeesNothing) {
    // every other item counts as read by the administrator for this test (marked by its date)
    testsupport::superuserExec(QStringLiteral(
        "delete from admin.news where title_news = 'Тест: служебная'; "
        "insert into admin.news_read (id_news, user_name, read_date) "
        "select id_news, 'admin', '2001-01-01' from admin.news where title_news not like 'Тест: %' "
        "on conflict do nothing"));
    Tmain_form main;
    signIn(main, QStringLiteral("admin"));
    ModalDriver<Tfrm_show_actual_news> any([](Tfrm_show_actual_news* news) { news->close(); });
    main.check_messages();
    testsupport::superuserExec(
        QStringLiteral("delete from admin.news_read where user_name = 'admin' and read_date = '2001-01-01'"));
    EXPECT_EQ(any.runs, 0) << "school news never reach the administrator";
}

class DutyAdminTest : public MainProgramTest {
protected:
    DutyAdminTest() : MainProgramTest(QStringLiteral("dorv")) {
        testsupport::superuserExec(QStringLiteral(
            "insert into dorv.ref_admin_desk_men (full_name, pasport_ser, pasport_num, date_released, org_released, "
            "is_blocked) values "
            "('Ааа Тестовый Первый', '4501', '111111', '2010-05-04', 'ОВД Первый', 0), "
            "('Ааа Тестовый Второй', '4502', '222222', '2011-06-05', 'ОВД Второй', 0), "
            "('Ааа Тестовый Блок', '4503', '333333', '2012-07-06', 'ОВД Блок', 1)"));
    }
    ~DutyAdminTest() override {
        testsupport::superuserExec(QStringLiteral("delete from dorv.ref_admin_desk_men where full_name like 'Ааа Тестовый%'"));
    }
};

TEST_F(DutyAdminTest, ClosingTheDialogByItsCloseBoxChoosesTheHighlightedRow) {
    Tmain_form main;
    signIn(main, QStringLiteral("dorv"));
    QStringList offered;
    ModalDriver<Tfrm_desk_men> pickSecond([&](Tfrm_desk_men* dialog) {
        db::Query& list = *dialog->z_adm_list;
        for (list.first(); !list.eof(); list.next()) offered << list.field(QStringLiteral("full_name")).asString();
        const int row = int(offered.indexOf(QStringLiteral("Ааа Тестовый Первый")));
        dialog->grid_adm_list->setCurrentIndex(dialog->grid_adm_list->model()->index(row, 1));
        dialog->close();  // the window's close box
    });

    main.choose_desk_admin();

    EXPECT_EQ(pickSecond.runs, 1);
    EXPECT_FALSE(offered.contains(QStringLiteral("Ааа Тестовый Блок")));
    ASSERT_GE(offered.size(), 2);
    EXPECT_LT(offered.indexOf(QStringLiteral("Ааа Тестовый Второй")), offered.indexOf(QStringLiteral("Ааа Тестовый Первый")))
        << "in alphabetical order";
    EXPECT_EQ(main.desk_admin_full_name, QStringLiteral("Ааа Тестовый Первый"));
    EXPECT_EQ(main.desk_admin_pasport_ser, QStringLiteral("4501"));
    EXPECT_EQ(main.desk_admin_pasport_num, QStringLiteral("111111"));
    EXPECT_EQ(main.desk_admin_date_released, QDate(2010, 5, 4));
    EXPECT_EQ(main.desk_admin_org_released, QStringLiteral("ОВД Первый"));
}

TEST_F(DutyAdminTest, StaffWorkstationButtonAsksOnlyTheStaffAccount) {
    AnnouncedVersion current(QStringLiteral("2.0.0.327"));
    QFile::remove(folder.file(QStringLiteral("lib/pkg_staffdesk.so")));
    for (const QString& login : {QStringLiteral("dorv"), QStringLiteral("admin")}) {
        SCOPED_TRACE(login.toStdString());
        Tmain_form main;
        signIn(main, login);
        ModalDriver<Tfrm_desk_men> choose([](Tfrm_desk_men* dialog) { dialog->btn_select_adm->click(); });
        EXPECT_THROW(main.analystClick(), api::Abort);  // the staff workstation's package is not there
        EXPECT_EQ(choose.runs, login == QLatin1String("dorv") ? 1 : 0);
        EXPECT_EQ(main.desk_admin_full_name.isEmpty(), login != QLatin1String("dorv"));
    }
}

}  // namespace
