#pragma once

// A small HTTP server on the loopback interface for the browser tests: it
// serves a few pages, logs every request, and can hold one page back until
// told to send it, so a test sees a page still loading.
#include <QHash>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

class LocalServer : public QObject {
public:
    QStringList requests; // the paths asked for, in order
    QHash<QByteArray, QByteArray> pages;
    QByteArray heldPath; // answered only on release()

    LocalServer()
    {
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        });
        server_.listen(QHostAddress::LocalHost);
    }
    QString url(const char* path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(server_.serverPort()).arg(QString::fromLatin1(path));
    }
    // Paths of pages, leaving out what a browser asks for on its own.
    QStringList pageRequests() const { return requests.filter(QStringLiteral(".html")); }
    void release()
    {
        for (const QPointer<QTcpSocket>& socket : std::exchange(held_, {})) {
            if (socket)
                answer(socket, heldPath);
        }
    }

private:
    void read(QTcpSocket* socket)
    {
        if (!socket->canReadLine())
            return;
        const QList<QByteArray> line = socket->readLine().split(' ');
        const QByteArray path = line.value(1);
        requests << QString::fromLatin1(path);
        if (path == heldPath)
            held_ << socket;
        else
            answer(socket, path);
    }
    void answer(QTcpSocket* socket, const QByteArray& path)
    {
        const bool known = pages.contains(path);
        const QByteArray body = known ? pages.value(path) : QByteArray("<title>Not here</title>");
        socket->write((known ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n")
                      + QByteArray("Content-Type: text/html; charset=utf-8\r\nContent-Length: ")
                      + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QList<QPointer<QTcpSocket>> held_;
};
