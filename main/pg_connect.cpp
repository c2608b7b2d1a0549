#include "pg_connect.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include "abort.h"
#include "connection.h"
#include "messages.h"
#include "session.h"

namespace pg_connect {

QString connect_error;

namespace {

// Relative names are resolved against the working folder, which is the program folder.
QString inWorkingFolder(const QString& name) { return QDir(api::programDir()).absoluteFilePath(name); }

// The settings file format: [section] lines and key=value lines, as written by the
// platform's ini routines (no escaping, no quoting, values taken as they stand).
struct IniText {
    struct Section {
        QString name;
        QStringList lines;  // key=value lines and anything else, kept as read
    };
    QList<Section> sections;

    static IniText parse(const QString& text) {
        IniText ini;
        ini.sections.append(Section{});  // lines before the first section header
        for (const QString& raw : text.split(u'\n')) {
            QString line = raw;
            if (line.endsWith(u'\r')) line.chop(1);
            const QString t = line.trimmed();
            if (t.startsWith(u'[') && t.endsWith(u']')) {
                ini.sections.append(Section{t.mid(1, t.size() - 2).trimmed(), {}});
            } else {
                ini.sections.last().lines.append(line);
            }
        }
        return ini;
    }

    Section* find(const QString& section) {
        for (Section& s : sections)
            if (!s.name.isNull() && s.name.compare(section, Qt::CaseInsensitive) == 0) return &s;
        return nullptr;
    }

    static int keyLine(const Section& s, const QString& key) {
        for (int i = 0; i < s.lines.size(); ++i) {
            const int eq = s.lines[i].indexOf(u'=');
            if (eq > 0 && s.lines[i].left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) return i;
        }
        return -1;
    }

    QString value(const QString& section, const QString& key) {
        Section* s = find(section);
        if (!s) return {};
        const int i = keyLine(*s, key);
        if (i < 0) return {};
        return s->lines[i].mid(s->lines[i].indexOf(u'=') + 1);
    }

    void setValue(const QString& section, const QString& key, const QString& value) {
        Section* s = find(section);
        if (!s) {
            // a blank line before a new section, as the platform's writer does
            if (!sections.last().lines.isEmpty() && !sections.last().lines.last().isEmpty())
                sections.last().lines.append(QString());
            sections.append(Section{section, {}});
            s = &sections.last();
        }
        const QString line = key + u'=' + value;
        const int i = keyLine(*s, key);
        if (i >= 0) {
            s->lines[i] = line;
        } else {
            int at = s->lines.size();
            while (at > 0 && s->lines[at - 1].trimmed().isEmpty()) --at;  // before trailing blanks
            s->lines.insert(at, line);
        }
    }

    QString text() const {
        QStringList out;
        for (const Section& s : sections) {
            if (!s.name.isNull()) out.append(u'[' + s.name + u']');
            out.append(s.lines);
        }
        while (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
        return out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    }
};

IniText readIni(const QString& file_name) {
    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly)) return IniText::parse(QString());
    return IniText::parse(QString::fromUtf8(file.readAll()));
}

}  // namespace

QString settings_file_name() {
    const QFileInfo program(QCoreApplication::applicationFilePath());
    return inWorkingFolder(program.completeBaseName() + QStringLiteral(".ini"));
}

void write_ini_file(const QString& file_name, const QString& section, const QString& key,
                    const QString& value) {
    QString failure;
    IniText ini = readIni(file_name);
    ini.setValue(section, key, value);
    QSaveFile file(file_name);
    if (!file.open(QIODevice::WriteOnly)) {
        failure = file.errorString();
    } else {
        // the file holds the password: its owner alone may read it
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        file.write(ini.text().toUtf8());
        if (!file.commit()) failure = file.errorString();
    }
    if (failure.isNull()) return;
    api::error(QStringLiteral("Не удалось записать изменения в файл настроек, сообщите системному "
                              "администратору об этой проблеме, скорее всего, проблему удастся "
                              "решить, разрешив запись в каталог программы.\rОписание ошибки: ") +
               failure);
    api::abortSilently();
}

QString read_ini_file(const QString& section, const QString& key) {
    return readIni(settings_file_name()).value(section, key);
}

bool state_connection(const db::Connection& connection) { return connection.isOpen(); }

void connect(db::Connection& connection, const QString& user, const QString& password,
             const QString& host, int port, const QString& database) {
    connect_error.clear();
    if (connection.isOpen()) connection.close();

    db::ConnectionProfile profile;
    profile.user = user;
    profile.password = password;
    profile.host = host;
    profile.port = port;
    profile.database = database;

    // The certificate and key of this attempt's login, in the configured folder; the folder
    // text is used as written (it is expected to end with a separator).
    const QString cp = read_ini_file(QStringLiteral("security"), QStringLiteral("certpath"));
    const QString prefix = cp.trimmed().isEmpty() ? QString() : cp;
    profile.sslcert = inWorkingFolder(prefix + user + QStringLiteral(".crt"));
    profile.sslkey = inWorkingFolder(prefix + user + QStringLiteral(".key"));

    // The server is checked against the project's CA when its certificate is installed
    // beside the client certificates; without it the channel is still encrypted.
    const QString rootCert = inWorkingFolder(prefix + QStringLiteral("root.crt"));
    if (QFileInfo::exists(rootCert)) {
        profile.sslmode = QStringLiteral("verify-ca");
        profile.sslrootcert = rootCert;
    } else {
        profile.sslmode = QStringLiteral("require");
        profile.sslrootcert.clear();
    }

    try {
        connection.open(profile);
    } catch (const std::exception& e) {
        connect_error = QString::fromUtf8(e.what());
    }
}

void disconnect(db::Connection& connection) { connection.close(); }

}  // namespace pg_connect
