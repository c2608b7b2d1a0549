#include "http_test_server.h"

#include <QTcpSocket>

HttpTestServer::HttpTestServer(QByteArray body, int status) : body_(std::move(body)), status_(status) {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString HttpTestServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
}

void HttpTestServer::answer(QTcpSocket* socket) {
    // a GET fits in one read; answer it once the header is complete
    const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n") || socket->property("answered").toBool()) return;
    socket->setProperty("answered", true);
    const QByteArray body = status_ == 200 ? body_ : QByteArray("not found");
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status_) + (status_ == 200 ? " OK" : " Not Found") +
                      "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n";
    socket->write(head);
    // in pieces, so the transfer reports progress more than once
    for (qsizetype at = 0; at < body.size(); at += 16384) socket->write(body.mid(at, 16384));
    socket->disconnectFromHost();
}
