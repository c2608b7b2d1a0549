// The main window: rights, the module launcher and its version gate, the start-up folders,
// the Windows and Help menus.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "abort.h"
#include "aboutbox.h"
#include "frm_main.h"
#include "login.h"
#include "main_test_env.h"
#include "module_launcher.h"
#include "session.h"

namespace {

class MainWindowTest : public MainProgramTest {
protected:
    // school_002's rights are replaced for the test and given back afterwards
    MainWindowTest() {
        testsupport::superuserExec(QStringLiteral(
            "drop table if exists public.main_tests_rights_backup; "
            "create table public.main_tests_rights_backup as select * from admin.user_rights where user_name = 'school_002'"));
    }
    ~MainWindowTest() override {
        testsupport::superuserExec(QStringLiteral(
            "delete from admin.user_rights where user_name = 'school_002'; "
            "insert into admin.user_rights select * from public.main_tests_rights_backup; "
            "drop table public.main_tests_rights_backup"));
    }
    void grant(const QString& rows) {
        testsupport::superuserExec(QStringLiteral("delete from admin.user_rights where user_name = 'school_002'; "
                                                  "insert into admin.user_rights (user_name, module_indx, value) values ") +
                                   rows);
    }
    // The windows the launcher opened inside the main window.
    static QStringList childClasses(Tmain_form& main) {
        QStringList names;
        for (QMdiSubWindow* w : main.mdi_area->subWindowList())
            if (w->widget()) names << QString::fromLatin1(w->widget()->metaObject()->className());
        return names;
    }
};

TEST_F(MainWindowTest, NothingIsAvailableBeforeSignIn) {
    Tmain_form main;
    EXPECT_EQ(main.objectName(), QStringLiteral("main_form"));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("main_form"));
    const char* buttons[] = {"mealref", "card_stud", "ToolButton3", "move_people", "pay_list", "analyst",
                             "ToolButton1", "ref_property", "ToolButton2", "account_messages", "ToolButton5", "ToolButton4"};
    for (int position = 1; position <= Tmain_form::kToolButtonCount; ++position) {
        EXPECT_EQ(main.toolButton(position)->objectName(), QLatin1String(buttons[position - 1]));
        EXPECT_FALSE(main.isToolButtonShown(position)) << position;
    }
    const char* items[] = {"C1", "N8", "Y1", "N7", "N9", "N10", "C2", "N11", "N12", "N13", "N14"};
    for (int position = 1; position <= Tmain_form::kModuleMenuItemCount; ++position) {
        EXPECT_EQ(main.moduleMenuItem(position)->objectName(), QLatin1String(items[position - 1]));
        EXPECT_FALSE(main.moduleMenuItem(position)->isVisible());
        EXPECT_FALSE(main.moduleMenuItem(position)->isEnabled());
    }
}

TEST_F(MainWindowTest, RightsSwitchOnTheirToolButtonsAndTheMenuItemsThatExist) {
    grant(QStringLiteral("('school_002', 12, 1), ('school_002', 5, 1), ('school_002', 1, 1), ('school_002', 3, 0)"));
    Tmain_form main;
    signIn(main, QStringLiteral("school_002"));
    main.show_button();

    for (int position = 1; position <= Tmain_form::kToolButtonCount; ++position) {
        const bool granted = position == 1 || position == 5 || position == 12;
        EXPECT_EQ(main.isToolButtonShown(position), granted) << "tool button " << position;
        if (position <= Tmain_form::kModuleMenuItemCount) {
            const bool item = position == 1 || position == 5;
            EXPECT_EQ(main.moduleMenuItem(position)->isVisible(), item) << "menu item " << position;
            EXPECT_EQ(main.moduleMenuItem(position)->isEnabled(), item) << "menu item " << position;
        }
    }
}

TEST_F(MainWindowTest, RightsOfOtherLoginsAreNotShown) {
    grant(QStringLiteral("('school_002', 9, 1)"));
    testsupport::superuserExec(QStringLiteral("delete from admin.user_rights where user_name = 'school_001' and module_indx = 9"));
    Tmain_form main;
    signIn(main, QStringLiteral("school_001"));
    main.show_button();
    EXPECT_FALSE(main.isToolButtonShown(9));
}

TEST_F(MainWindowTest, ModuleButtonOpensItsWindowInsideTheMainWindowEveryClick) {
    AnnouncedVersion current(QStringLiteral("2.0.0.327"));
    Tmain_form main;
    signIn(main, QStringLiteral("school_001"));
    main.ref_propertyClick();
    main.ref_propertyClick();
    EXPECT_EQ(childClasses(main), (QStringList{QStringLiteral("Tfrm_ref_property"), QStringLiteral("Tfrm_ref_property")}));
    EXPECT_TRUE(messages->shown().isEmpty()) << messages->texts().join(u'\n').toStdString();
    EXPECT_TRUE(main.mdi_area->subWindowList().first()->isMaximized());
    EXPECT_EQ(QDir::currentPath(), QDir(folder.path()).absolutePath()) << "loading a module returns to the program folder";

    main.N6Click();  // "Закрыть все"
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main.mdi_area->subWindowList().isEmpty());
}

TEST_F(MainWindowTest, MissingPluginOrUnknownWindowClassIsReportedWithoutAWindow) {
    AnnouncedVersion current(QStringLiteral("2.0.0.327"));
    Tmain_form main;
    signIn(main, QStringLiteral("school_001"));
    QFile::remove(folder.file(QStringLiteral("lib/pkg_agreements.so")));

    EXPECT_THROW(main.ToolButton4Click(), api::Abort);
    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_TRUE(messages->shown().first().text.startsWith(QStringLiteral("Не удалось загрузить модуль ") +
                                                         api::packagePath(QStringLiteral("pkg_agreements"))));
    EXPECT_EQ(messages->shown().first().icon, api::MessageIcon::Error);

    messages->clear();
    EXPECT_THROW(api::show_form_module(QStringLiteral("tfrm_no_such_window")), api::Abort);
    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_EQ(messages->shown().first().text, QStringLiteral("Ошибка загрузки формы модуля tfrm_no_such_window"));
    EXPECT_TRUE(childClasses(main).isEmpty());
}

TEST_F(MainWindowTest, OutdatedProgramRefusesEveryModuleButTheTechnologists) {
    AnnouncedVersion newer(QStringLiteral("2.0.0.328"));
    Tmain_form main;
    signIn(main, QStringLiteral("school_001"));

    EXPECT_FALSE(main.is_soft_updated());
    messages->clear();
    EXPECT_THROW(main.ref_propertyClick(), api::Abort);
    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_EQ(messages->shown().first().text,
              QStringLiteral("Обнаружена устаревшая версия программы.\rДля корректной работы просим вас выйти из "
                             "программы и запустить ее снова для того, чтобы произошло автообновление. "));
    EXPECT_EQ(messages->shown().first().icon, api::MessageIcon::Warning);
    EXPECT_TRUE(childClasses(main).isEmpty());

    // the technologist's button is not gated: it goes on to load its package
    messages->clear();
    QFile::remove(folder.file(QStringLiteral("lib/pkg_menuplan.so")));
    EXPECT_THROW(main.ToolButton5Click(), api::Abort);
    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_TRUE(messages->shown().first().text.startsWith(QStringLiteral("Не удалось загрузить модуль ")));
}

TEST_F(MainWindowTest, CreationPreparesTheFoldersAndEmptiesDocBeforeTheLogin) {
    QDir(folder.path()).mkpath(QStringLiteral("doc"));
    folder.writeFile(QStringLiteral("doc/attachment.pdf"), "old");
    Tmain_form main;
    ModalDriver<Tfrm_login> closeLogin([](Tfrm_login* login) { login->btn_close->click(); });

    EXPECT_FALSE(main.FormCreate()) << "closing the login ends the program";

    EXPECT_TRUE(QDir(folder.file(QStringLiteral("updates"))).exists());
    EXPECT_TRUE(QDir(folder.file(QStringLiteral("doc"))).isEmpty());
    EXPECT_EQ(main.first_run, 1);
}

TEST_F(MainWindowTest, HelpMenuOpensTheUserGuideAndTheAboutBox) {
    Tmain_form main;
    signIn(main, QStringLiteral("school_001"));
    main.N16Click();
    EXPECT_EQ(desktop->opened, QStringList{QDir(folder.path()).filePath(QStringLiteral("manual.doc"))});

    testsupport::superuserExec(QStringLiteral(
        "insert into dorv.ref_property (name, note, property_value) values ('homepage', 'Сайт комбината', "
        "'https://example.org/') on conflict (name) do update set note = excluded.note, "
        "property_value = excluded.property_value"));
    Tfrm_aboutbox about(&main);
    EXPECT_EQ(about.lbl_version->text(), QStringLiteral("2.0.0.327"));
    EXPECT_EQ(about.lbl_link_descr->text(), QStringLiteral("Сайт комбината"));
    about.show();
    QTest::mouseClick(about.lbl_link_descr, Qt::LeftButton);
    EXPECT_EQ(desktop->opened.last(), QStringLiteral("https://example.org/"));
    testsupport::superuserExec(QStringLiteral("delete from dorv.ref_property where name = 'homepage'"));
}

TEST_F(MainWindowTest, NewsButtonHintDependsOnWhoSignedIn) {
    const struct {
        QString login;
        QString hint;
    } cases[] = {{QStringLiteral("admin"), QStringLiteral("Управление новостями")},
                 {QStringLiteral("dorv"), QStringLiteral("Управление новостями")},
                 {QStringLiteral("school_001"), QStringLiteral("Просмотр списка новостей")}};
    for (const auto& c : cases) {
        Tmain_form main;
        signIn(main, c.login);
        main.FormShow();
        EXPECT_EQ(main.toolButton(10)->toolTip(), c.hint) << c.login.toStdString();
    }
}

}  // namespace
