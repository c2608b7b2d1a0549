#include "frm_main.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "aboutbox.h"
#include "app_exception.h"
#include "abort.h"
#include "app_error.h"
#include "desktop.h"
#include "dialog_tag.h"
#include "dm_api.h"
#include "login.h"
#include "logged_action.h"
#include "messages.h"
#include "module_launcher.h"
#include "query.h"
#include "session.h"
#include "Unit_select_desk_admin.h"
#include "unit_download_progress.h"
#include "unit_view_actual_news.h"
#include "version_check.h"

// The build stamps the program's version into its file; GetFileVersion reads it back.
[[maybe_unused]] static const char kFileVersion[] __attribute__((used)) =
    "DORV-FILE-VERSION:" DORV_PROGRAM_VERSION;

namespace {

// The module table: tool button n opens package `package` and its window class `className`.
struct ModuleEntry {
    const char* button;     // tool button's component name
    const char* hint;
    QStyle::StandardPixmap icon;
    const char* package;
    bool adminFolder;       // lib/admin/
    const char* className;
    bool gated;             // refuses to open when the program is outdated
};

constexpr ModuleEntry kModules[Tmain_form::kToolButtonCount] = {
    {"mealref", "Справочник типов питания", QStyle::SP_FileDialogListView, "mealref", false, "tfrm_mealref", true},
    {"card_stud", "Картотека учашихся", QStyle::SP_FileDialogDetailedView, "pkg_pupilfile", false, "tfrm_card_stu", true},
    {"ToolButton3", "Навигатор учетных моделей", QStyle::SP_FileDialogContentsView, "pkg_ledgermodel", false, "tfrm_model", true},
    {"move_people", "Движение учащихся", QStyle::SP_ArrowRight, "pkg_pupilflow", false, "tfrm_move", true},
    {"pay_list", "Учет питания", QStyle::SP_DialogApplyButton, "mealbook", false, "tfrm_mealbook", true},
    {"analyst", "Рабочее место сотрудника КШП", QStyle::SP_ComputerIcon, "pkg_staffdesk", false, "tfrm_analyst", true},
    {"ToolButton1", "Платные дополнительные образовательные услуги", QStyle::SP_DirHomeIcon, "pkg_extraedu", false, "tfrm_adv_services", true},
    {"ref_property", "Свойства ", QStyle::SP_FileDialogInfoView, "pkg_orgprops", false, "tfrm_ref_property", true},
    {"ToolButton2", "Рабочее место администратора ИС", QStyle::SP_DriveNetIcon, "pkg_sysadmin", true, "tfrm_admin_panel", true},
    {"account_messages", "Управление новостями", QStyle::SP_MessageBoxInformation, "pkg_newsdesk", false, "tfrm_account_messages", true},
    {"ToolButton5", "Рабочее место технолога", QStyle::SP_DialogYesButton, "pkg_menuplan", false, "tfrm_technolog", false},
    {"ToolButton4", "", QStyle::SP_FileIcon, "pkg_agreements", false, "tfrm_contracts", true},
};

// The "Модули" menu: item n (1-based) and the tool button whose handler it calls (0: none).
struct MenuEntry {
    const char* name;
    const char* caption;
    const char* shortcut;
    int toolButton;
};

constexpr MenuEntry kModuleMenu[Tmain_form::kModuleMenuItemCount] = {
    {"C1", "Справочник типов питания", "F1", 1},
    {"N8", "Картотека учащихся", "F4", 2},
    {"Y1", "Навигатор учетных моделей", nullptr, 0},
    {"N7", "Движение учащихся", "F6", 4},
    {"N9", "Учет питания", "F9", 5},
    {"N10", "Рабочее место сотрудника КШП", "F2", 6},
    {"C2", "Свойства организации", nullptr, 8},
    {"N11", "Рабочее место администратора ИС", nullptr, 0},
    {"N12", "Управление сообщениями", nullptr, 0},
    {"N13", "Рабочее место технолога", nullptr, 0},
    {"N14", "Работа с договорами", nullptr, 0},
};

QString programFile() { return QCoreApplication::applicationFilePath(); }

QString localVersion() { return api::Tapi_dm::GetFileVersion(programFile()); }

}  // namespace

Tmain_form::Tmain_form(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("main_form"));
    setWindowTitle(QStringLiteral("main_form"));
    mdi_area = new QMdiArea(this);
    mdi_area->setObjectName(QStringLiteral("mdi_area"));
    mdi_area->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdi_area);

    auto* st_bar = new QStatusBar(this);
    st_bar->setObjectName(QStringLiteral("st_bar"));
    st_bar_panel0 = new QLabel(st_bar);
    st_bar_panel0->setObjectName(QStringLiteral("st_bar_panel0"));
    st_bar_panel0->setMinimumWidth(50);
    st_bar->addWidget(st_bar_panel0, 1);
    setStatusBar(st_bar);

    buildToolBar();
    buildMenus();

    api::setConnection(&connection);
    api::setModuleHost(mdi_area);
    end_application = [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); };
}

Tmain_form::~Tmain_form() {
    if (api::moduleHost() == mdi_area) api::setModuleHost(nullptr);
    if (api::connectionOrNull() == &connection) api::setConnection(nullptr);
}

void Tmain_form::buildToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(32, 32));
    using Handler = void (Tmain_form::*)();
    static constexpr Handler kHandlers[kToolButtonCount] = {
        &Tmain_form::mealrefClick,   &Tmain_form::card_studClick,    &Tmain_form::ToolButton3Click,
        &Tmain_form::move_peopleClick, &Tmain_form::pay_listClick,   &Tmain_form::analystClick,
        &Tmain_form::ToolButton1Click, &Tmain_form::ref_propertyClick, &Tmain_form::ToolButton2Click,
        &Tmain_form::contractsClick, &Tmain_form::ToolButton5Click,  &Tmain_form::ToolButton4Click,
    };
    for (int i = 0; i < kToolButtonCount; ++i) {
        const ModuleEntry& m = kModules[i];
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(QString::fromLatin1(m.button));
        button->setToolTip(QString::fromUtf8(m.hint));
        button->setIcon(style()->standardIcon(m.icon));
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, kHandlers[i]);
        toolButtons_[size_t(i)] = button;
        toolActions_[size_t(i)] = ToolBar1->addWidget(button);
        toolActions_[size_t(i)]->setVisible(false);  // the rights switch them on
    }
}

void Tmain_form::buildMenus() {
    modules = menuBar()->addMenu(QStringLiteral("Модули"));
    modules->setObjectName(QStringLiteral("modules"));
    for (int i = 0; i < kModuleMenuItemCount; ++i) {
        const MenuEntry& e = kModuleMenu[i];
        QAction* item = modules->addAction(QString::fromUtf8(e.caption));
        item->setObjectName(QString::fromLatin1(e.name));
        if (e.shortcut) item->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        item->setEnabled(false);
        item->setVisible(false);
        if (e.toolButton > 0) {
            const int position = e.toolButton;
            connect(item, &QAction::triggered, this, [this, position] { openModule(position); });
        }
        moduleItems_[size_t(i)] = item;
    }

    QMenu* windows = menuBar()->addMenu(QStringLiteral("Окна"));
    windows->setObjectName(QStringLiteral("N3"));
    windows->addAction(QStringLiteral("Каскад"), this, &Tmain_form::N4Click)->setObjectName(QStringLiteral("N4"));
    windows->addAction(QStringLiteral("Мозайка"), this, &Tmain_form::N5Click)->setObjectName(QStringLiteral("N5"));
    windows->addAction(QStringLiteral("Закрыть все"), this, &Tmain_form::N6Click)->setObjectName(QStringLiteral("N6"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("Справка"));
    help->setObjectName(QStringLiteral("N2"));
    help->addAction(QStringLiteral("О программе"), this, &Tmain_form::N1Click)->setObjectName(QStringLiteral("N1"));
    help->addAction(QStringLiteral("Руководство пользователя "), this, &Tmain_form::N16Click)
        ->setObjectName(QStringLiteral("N16"));
}

QToolButton* Tmain_form::toolButton(int position) const {
    return position >= 1 && position <= kToolButtonCount ? toolButtons_[size_t(position - 1)] : nullptr;
}

QAction* Tmain_form::toolButtonAction(int position) const {
    return position >= 1 && position <= kToolButtonCount ? toolActions_[size_t(position - 1)] : nullptr;
}

QAction* Tmain_form::moduleMenuItem(int position) const {
    return position >= 1 && position <= kModuleMenuItemCount ? moduleItems_[size_t(position - 1)] : nullptr;
}

bool Tmain_form::isToolButtonShown(int position) const {
    const QAction* action = toolButtonAction(position);
    return action && action->isVisible();
}

QString Tmain_form::statusText() const { return st_bar_panel0->text(); }

void Tmain_form::setStatusText(const QString& text) { st_bar_panel0->setText(text); }

bool Tmain_form::FormCreate() {
    first_run = 1;
    const QDir program(api::programDir());
    program.mkpath(QStringLiteral("updates"));
    program.mkpath(QStringLiteral("doc"));
    // doc/ is scratch space for attachments opened by the modules: emptied at each start
    QDir doc(program.filePath(QStringLiteral("doc")));
    for (const QString& name : doc.entryList(QDir::Files | QDir::Hidden | QDir::System))
        doc.remove(name);

    Tfrm_login login(this);
    login.exec();
    return !login.endsProcess();
}

// --- rights --------------------------------------------------------------------------------

void Tmain_form::show_button() {
    try {
        db::Query query(&connection);
        query.addSql(QStringLiteral("select r.module_indx from user_rights r"));
        query.addSql(QStringLiteral("where r.user_name =:username"));
        query.addSql(QStringLiteral("and r.value = 1"));
        query.addSql(QStringLiteral("order by module_indx asc"));
        query.param(QStringLiteral("username")).setText(connection.user());
        query.open();
        for (query.first(); !query.eof(); query.next()) {
            const int position = int(query.field(QStringLiteral("module_indx")).asInteger());
            QAction* button = toolButtonAction(position);
            if (!button) break;
            button->setVisible(true);
            QAction* item = moduleMenuItem(position);
            if (!item) break;  // the menu is one item shorter than the tool bar
            item->setEnabled(true);
            item->setVisible(true);
        }
    } catch (...) {
        // no rights, no modules: nothing to tell the user
    }
}

// --- modules -------------------------------------------------------------------------------

void Tmain_form::openModule(int position) {
    const ModuleEntry& m = kModules[position - 1];
    if (m.gated && !is_soft_updated()) api::abortSilently();
    if (position == 6 && api::userName() == QLatin1String("dorv")) choose_desk_admin();
    QCoreApplication::processEvents();
    api::load_module(api::packagePath(QString::fromLatin1(m.package), m.adminFolder));
    api::show_form_module(QString::fromLatin1(m.className));
}

void Tmain_form::mealrefClick() { openModule(1); }
void Tmain_form::card_studClick() { openModule(2); }
void Tmain_form::ToolButton3Click() { openModule(3); }
void Tmain_form::move_peopleClick() { openModule(4); }
void Tmain_form::pay_listClick() { openModule(5); }
void Tmain_form::analystClick() { openModule(6); }
void Tmain_form::ToolButton1Click() { openModule(7); }
void Tmain_form::ref_propertyClick() { openModule(8); }
void Tmain_form::ToolButton2Click() { openModule(9); }
void Tmain_form::contractsClick() { openModule(10); }
void Tmain_form::ToolButton5Click() { openModule(11); }
void Tmain_form::ToolButton4Click() { openModule(12); }

// --- windows and help ------------------------------------------------------------------------

void Tmain_form::N4Click() { mdi_area->cascadeSubWindows(); }

void Tmain_form::N5Click() { mdi_area->tileSubWindows(); }

void Tmain_form::N6Click() {
    for (QMdiSubWindow* window : mdi_area->subWindowList()) window->close();
}

void Tmain_form::N1Click() {
    Tfrm_aboutbox box(this);
    box.exec();
}

void Tmain_form::N16Click() {
    api::desktop().open(QDir(api::programDir()).filePath(QStringLiteral("manual.doc")));
}

// --- show and activation -----------------------------------------------------------------------

void Tmain_form::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

bool Tmain_form::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QMainWindow::event(event);
}

void Tmain_form::FormShow() {
    try {
        check_updates();
    } catch (...) {
        // a failed check leaves the program as it is; the user sees why
        api::handleException(std::current_exception());
    }
    const QString user = api::userName();
    const bool manages = user == QLatin1String("admin") || user == QLatin1String("dorv");
    toolButton(10)->setToolTip(manages ? QStringLiteral("Управление новостями")
                                       : QStringLiteral("Просмотр списка новостей"));
}

void Tmain_form::FormActivate() {
    // The alert is modal: it runs once the activation has been handled.
    if (first_run != 1 || newsCheckQueued_) return;
    newsCheckQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        if (first_run == 1) check_messages();
    });
}

// --- updates -----------------------------------------------------------------------------------

QString Tmain_form::installer_file_name() {
    return QDir(api::programDir()).filePath(QStringLiteral("updates/setup-dorv.exe"));
}

void Tmain_form::readVersionRecord(QString& version, QString& url) {
    db::Query query(&connection);
    query.addSql(QStringLiteral("select * from public.version_info "));
    query.open();
    if (query.recordCount() == 0) return;  // nothing announced
    version = query.field(QStringLiteral("version")).asString();
    url = query.field(QStringLiteral("url")).asString();
}

void Tmain_form::check_updates() {
    QString version, url;
    readVersionRecord(version, url);
    if (!is_announced_version_newer(version, localVersion())) return;

    const QString installer = installer_file_name();
    QFile file(installer);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw api::AppError(QStringLiteral("Не удалось создать файл ") + installer + u' ' + file.errorString());

    Tfrm_download_alert alert(this);
    alert.show();
    QCoreApplication::processEvents();
    try {
        alert.download(QUrl(url), file);
    } catch (const std::exception& e) {
        const QString message =
            QStringLiteral("Во время загрузки обновления произошла ошибка ") + QString::fromUtf8(e.what());
        api::error(message);
        api::logFailure(message, QStringLiteral("frm_main"));
        file.close();  // what was received stays
        alert.close();
        api::abortSilently();
    }
    file.close();
    alert.close();
    api::desktop().start(installer, {QStringLiteral("/S")});
    end_application();
}

bool Tmain_form::is_soft_updated() {
    QString version, url;
    readVersionRecord(version, url);
    if (is_announced_version_newer(version, localVersion())) {
        api::warning(QStringLiteral("Обнаружена устаревшая версия программы.\rДля корректной работы просим вас "
                                    "выйти из программы и запустить ее снова для того, чтобы произошло "
                                    "автообновление. "));
        return false;
    }
    return true;
}

// --- news --------------------------------------------------------------------------------------

void Tmain_form::check_messages() {
    first_run = 0;
    const QString user = api::userName();
    db::Query query(&connection);
    if (user == QLatin1String("admin") || user == QLatin1String("dorv"))
        query.addSql(QStringLiteral(
            "select x_id_news, cast(x_title_news as varchar(200)) as x_title_news, cast(x_text_news as "
            "varchar(4000))as x_text_news from admin.get_actual_news_for_user(:x_user_name) where x_attr = 2 "
            "limit 1"));
    else
        query.addSql(QStringLiteral(
            "select x_id_news, cast(x_title_news as varchar(200)) as x_title_news, cast(x_text_news as "
            "varchar(4000))as x_text_news from admin.get_actual_news_for_user(:x_user_name) limit 1"));
    query.param(QStringLiteral("x_user_name")).setText(user);
    query.open();
    if (query.recordCount() > 0) {
        const int id = int(query.field(QStringLiteral("x_id_news")).asInteger());
        Tfrm_show_actual_news news(this);
        news.setWindowTitle(QStringLiteral("Уважаемый пользователь, у вас имеется непрочитанная новость"));
        news.lbl_title->setText(query.field(QStringLiteral("x_title_news")).asString());
        news.memo_text_news->setPlainText(query.field(QStringLiteral("x_text_news")).asString());
        news.exec();
        if (api::tagOf(news.btn_view) == api::kTagConfirmed) api::Tapi_dm::mark_news_as_readed(id, user);
        if (api::tagOf(news.btn_show_news) == api::kTagConfirmed) {
            QCoreApplication::processEvents();
            api::load_module(api::packagePath(QStringLiteral("pkg_newsdesk")));
            api::show_form_module(QStringLiteral("tfrm_account_messages"));
        }
    }
    query.close();
}

// --- duty administrator --------------------------------------------------------------------------

void Tmain_form::get_desk_admin(db::Query& query) {
    query.setConnection(&connection);
    query.close();
    query.clearSql();
    query.addSql(QStringLiteral(
        "select id, cast(full_name as varchar(200)) as full_name, cast(pasport_ser as varchar(50)) as "
        "pasport_ser, cast(pasport_num as varchar(50)) as pasport_num, date_released, org_released "));
    query.addSql(QStringLiteral("from dorv.ref_admin_desk_men where is_blocked = 0  order by full_name asc"));
    query.open();
}

void Tmain_form::choose_desk_admin() {
    Tfrm_desk_men dialog(this);
    get_desk_admin(*dialog.z_adm_list);
    dialog.exec();
    if (api::tagOf(dialog.btn_select_adm) == api::kTagConfirmed) {
        db::Query& list = *dialog.z_adm_list;
        const bool any = list.recordCount() > 0;
        auto text = [&](const char* name) { return any ? list.field(QString::fromLatin1(name)).asString() : QString(); };
        desk_admin_full_name = text("full_name");
        desk_admin_pasport_ser = text("pasport_ser");
        desk_admin_pasport_num = text("pasport_num");
        desk_admin_date_released = any ? list.field(QStringLiteral("date_released")).asDate() : QDate();
        desk_admin_org_released = text("org_released");
    }
    dialog.z_adm_list->close();
}
