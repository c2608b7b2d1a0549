#pragma once
// A one-file HTTP server on the loopback for the update download: answers every GET with
// the body it was given, or with a 404 when told to.

#include <QByteArray>
#include <QTcpServer>

class HttpTestServer : public QObject {
    Q_OBJECT
public:
    explicit HttpTestServer(QByteArray body, int status = 200);
    QString url(const QString& path = QStringLiteral("/setup-dorv.exe")) const;

private:
    void answer(QTcpSocket* socket);
    QTcpServer server_;
    QByteArray body_;
    int status_;
};
