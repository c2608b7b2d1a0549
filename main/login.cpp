#include "login.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "abort.h"
#include "app_error.h"
#include "dates.h"
#include "dm_api.h"
#include "dm_main.h"
#include "frm_main.h"
#include "keyboard_layout.h"
#include "messages.h"
#include "module_launcher.h"
#include "net_f.h"
#include "pg_connect.h"
#include "query.h"
#include "session.h"

namespace {

QString inWorkingFolder(const QString& name) { return QDir(api::programDir()).filePath(name); }

QLineEdit* field(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

}  // namespace

Tfrm_login::Tfrm_login(Tmain_form* main_form) : QDialog(main_form), main_form_(main_form) {
    setObjectName(QStringLiteral("frm_login"));
    setWindowTitle(QStringLiteral("Авторизация"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    pnl_header = new QLabel(QStringLiteral("Для начала работы с программой введите логин и пароль"), this);
    pnl_header->setObjectName(QStringLiteral("pnl_header"));
    pnl_header->setAlignment(Qt::AlignCenter);
    pnl_header->setFrameShape(QFrame::StyledPanel);
    pnl_header->setMinimumHeight(40);

    ed_server = field(this, "ed_server");
    ed_server->setReadOnly(true);
    ed_server->setToolTip(QStringLiteral("Имя сервера задается в файле servers.txt"));
    ed_port = field(this, "ed_port");
    ed_port->setMaximumWidth(70);
    ed_database = field(this, "ed_database");
    ed_login = field(this, "ed_login");
    ed_passwd = field(this, "ed_passwd");
    ed_passwd->setEchoMode(QLineEdit::Password);
    ed_passwd->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));  // '*'

    btn_connect = new QPushButton(QStringLiteral("Войти"), this);
    btn_connect->setObjectName(QStringLiteral("btn_connect"));
    btn_connect->setAutoDefault(false);
    btn_close = new QPushButton(QStringLiteral("Закрыть"), this);
    btn_close->setObjectName(QStringLiteral("btn_close"));
    btn_close->setAutoDefault(false);

    auto* serverRow = new QHBoxLayout;
    serverRow->addWidget(ed_server, 1);
    serverRow->addWidget(ed_port);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Сервер / Порт"), serverRow);
    form->addRow(QStringLiteral("База данных"), ed_database);
    form->addRow(QStringLiteral("Пользователь"), ed_login);
    form->addRow(QStringLiteral("Пароль"), ed_passwd);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_connect);
    buttons->addWidget(btn_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pnl_header);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setFixedWidth(420);

    connect(btn_connect, &QPushButton::clicked, this, &Tfrm_login::btn_connectClick);
    connect(btn_close, &QPushButton::clicked, this, &Tfrm_login::btn_closeClick);
    // Enter in any field signs in
    for (QLineEdit* edit : {ed_server, ed_port, ed_database, ed_login, ed_passwd})
        connect(edit, &QLineEdit::returnPressed, this, &Tfrm_login::btn_connectClick);

    FormCreate();
}

void Tfrm_login::FormCreate() { file_name = pg_connect::settings_file_name(); }

QString Tfrm_login::get_server_name_by_pos(int n) {
    const QString path = inWorkingFolder(QStringLiteral("servers.txt"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw api::AppError(QStringLiteral("Не удалось открыть файл ") + path + QStringLiteral(": ") +
                            file.errorString());
    QString text = QString::fromUtf8(file.readAll());
    // one server a line, blank lines included; the line break after the last line ends it
    if (text.endsWith(u'\n')) text.chop(1);
    QStringList lines = text.isEmpty() ? QStringList() : text.split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r')) line.chop(1);
    s_count = int(lines.size());
    if (n < 1 || n > s_count) {
        if (s_count == 0) throw api::AppError(QStringLiteral("Список серверов в файле servers.txt пуст"));
        throw api::AppError(QStringLiteral("В файле servers.txt нет строки %1").arg(n));
    }
    return lines[n - 1];
}

void Tfrm_login::write_session_log(const QString& schema_name, const QString& version_client,
                                   const QString& mac_addr) {
    db::Query query(&api::connection());
    query.addSql(QStringLiteral("insert into admin.session_log (entry_date, schema_name, version, mac_addr) "
                                "values (now(), :schema_name, :version_client, :mac_addr); "));
    query.param(QStringLiteral("schema_name")).setText(schema_name);
    query.param(QStringLiteral("version_client")).setText(version_client);
    query.param(QStringLiteral("mac_addr")).setText(mac_addr);
    query.exec();
}

void Tfrm_login::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

bool Tfrm_login::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(event);
}

void Tfrm_login::FormShow() {
    // A missing or empty server list is reported, but the stored profile is still offered.
    std::exception_ptr serverListError;
    try {
        ed_server->setText(get_server_name_by_pos(1));
    } catch (...) {
        serverListError = std::current_exception();
    }
    ed_port->setText(pg_connect::read_ini_file(QStringLiteral("user_data"), QStringLiteral("port")));
    ed_database->setText(pg_connect::read_ini_file(QStringLiteral("user_data"), QStringLiteral("database")));
    ed_login->setText(pg_connect::read_ini_file(QStringLiteral("user_data"), QStringLiteral("last_user")));
    ed_passwd->setText(pg_connect::read_ini_file(QStringLiteral("user_data"), QStringLiteral("passwd")));
    (ed_login->text().isEmpty() ? ed_login : ed_passwd)->setFocus();
    if (serverListError) std::rethrow_exception(serverListError);
}

void Tfrm_login::FormActivate() { api::switchToRussianLayout(); }

int Tfrm_login::portNumber() const {
    bool ok = false;
    const int port = ed_port->text().trimmed().toInt(&ok);
    if (!ok) throw api::AppError(QStringLiteral("\"%1\" не является целым числом").arg(ed_port->text()));
    return port;
}

void Tfrm_login::btn_connectClick() {
    const QString login = ed_login->text();
    // the certificate and key must be in the working folder, wherever certpath points
    if (!QFileInfo::exists(inWorkingFolder(login + QStringLiteral(".crt")))) {
        api::warning(QStringLiteral("Отсутствует файл сертификата. Установите ") + login + QStringLiteral(".crt ") +
                     QStringLiteral("и повторите попытку соединения с базой данных. "));
        api::abortSilently();
    }
    if (!QFileInfo::exists(inWorkingFolder(login + QStringLiteral(".key")))) {
        api::warning(QStringLiteral("Отсутствует файл сертификата. Установите ") + login + QStringLiteral(".key ") +
                     QStringLiteral("и повторите попытку соединения с базой данных. "));
        api::abortSilently();
    }

    db::Connection& connection = main_form_->connection;
    const int servers = s_count;
    if (servers > 0) {
        const int port = portNumber();
        for (int i = 1; i <= servers; ++i) {
            ed_server->setText(get_server_name_by_pos(i));
            ed_server->repaint();
            pg_connect::connect(connection, ed_login->text(), ed_passwd->text(), ed_server->text(), port,
                                ed_database->text());
            const bool open = pg_connect::state_connection(connection);
            if (!open && i == servers) {
                api::error(QStringLiteral("Не удалось соедениться со списком серверов, проверьте подключение к "
                                          "сети Internet. Описание ошибки: ?") +
                           pg_connect::connect_error);
                api::abortSilently();
            }
            if (open) break;
        }
    }

    if (!pg_connect::state_connection(connection)) {
        // no server listed: nothing was tried, the window stays for another attempt
        main_form_->setStatusText(QStringLiteral("Соединение с базой данных не установлено"));
        api::abortSilently();
    }

    const QString user_data = QStringLiteral("user_data");
    pg_connect::write_ini_file(file_name, user_data, QStringLiteral("last_user"), ed_login->text().trimmed());
    pg_connect::write_ini_file(file_name, user_data, QStringLiteral("port"), ed_port->text().trimmed());
    pg_connect::write_ini_file(file_name, user_data, QStringLiteral("database"), ed_database->text().trimmed());
    pg_connect::write_ini_file(file_name, user_data, QStringLiteral("server"), ed_server->text().trimmed());
    pg_connect::write_ini_file(file_name, user_data, QStringLiteral("passwd"), ed_passwd->text().trimmed());

    Tdm::load_module_once(api::packagePath(QStringLiteral("api")));

    const QString programFile = QCoreApplication::applicationFilePath();
    const QString version = api::Tapi_dm::GetFileVersion(programFile);
    const QString caption = QStringLiteral("( ") + login + QStringLiteral(" ) ") + QStringLiteral(" АРМ Тавлина ") +
                            QStringLiteral(" ") + ed_database->text().trimmed() + QStringLiteral(" ") +
                            ed_port->text().trimmed() + QStringLiteral(" версия ") + version + QStringLiteral(" от ") +
                            api::toShortDate(QFileInfo(programFile).lastModified().date());
    main_form_->setWindowTitle(caption);
    api::setApplicationTitle(caption);
    main_form_->setStatusText(QStringLiteral("Соединение с базой данных ") + ed_database->text().trimmed() +
                              QStringLiteral(" на хосте ") + ed_server->text().trimmed() +
                              QStringLiteral(" успешно установлено"));
    main_form_->show_button();

    const QString user = connection.user();
    if (!api::isServiceAccount(user)) write_session_log(user, version, GetMACAdress());

    done(QDialog::Accepted);
}

void Tfrm_login::btn_closeClick() {
    pg_connect::disconnect(main_form_->connection);
    endsProcess_ = true;
    done(QDialog::Rejected);
}

void Tfrm_login::FormClose() {
    // closed by the title bar: without a connection there is nothing to start
    if (!pg_connect::state_connection(main_form_->connection)) endsProcess_ = true;
}

void Tfrm_login::closeEvent(QCloseEvent* event) {
    FormClose();
    QDialog::closeEvent(event);
}

void Tfrm_login::reject() {
    FormClose();
    QDialog::reject();
}
