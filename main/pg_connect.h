#pragma once
// Connection routines of the login: the settings file beside the program and the opening
// of the one database connection with the login's client certificate.

#include <QString>

namespace db { class Connection; }

namespace pg_connect {

// Text of the last failed connection attempt; cleared when an attempt starts.
extern QString connect_error;

// The settings file: the program file's name with the extension ".ini", in the program folder.
QString settings_file_name();

// Writes one key. When the file cannot be written shows the settings-file message and
// aborts the user action silently. The file is readable by its owner only and replaced
// atomically, so a failed write never leaves it half-written.
void write_ini_file(const QString& file_name, const QString& section, const QString& key,
                    const QString& value);

// One key of the settings file; empty when the key or the file is missing.
QString read_ini_file(const QString& section, const QString& key);

bool state_connection(const db::Connection& connection);

// Opens the connection as the user with the user's certificate and key (named after the
// login, in the folder of "security/certpath" or the working folder). Never throws for a
// refused connection: see state_connection and connect_error.
void connect(db::Connection& connection, const QString& user, const QString& password,
             const QString& host, int port, const QString& database);

void disconnect(db::Connection& connection);

}  // namespace pg_connect
