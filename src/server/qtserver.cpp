// The table server over Qt HTTP Server.
#include "server/qtserver.h"

#include "server/http.h"
#include "server/tables.h"

#include <QFile>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <QtHttpServer/QAbstractHttpServer>
#include <QtHttpServer/QHttpServerRequest>
#include <QtHttpServer/QHttpServerResponder>
#include <QTcpServer>
#include <QTimer>

#include <chrono>
#include <map>
#include <memory>

double ConnectionSeconds = 30;

namespace {

// The connections open now, in all and per client address.
int OpenConnections = 0;
std::map<QString, int> ClientConnections;

// The most bytes one request may bring (headers and body) before its
// connection is answered 413 and closed, so that no client fills the memory.
constexpr qint64 MaxRequestBytes = static_cast<qint64>(MaxBodyBytes) + 16 * 1024;

// A connection's watch: the bytes of the request arriving, and the time it may
// take to arrive whole (or stay idle after an answer) before it is closed.
class ConnectionWatch : public QObject {
  public:
    explicit ConnectionWatch(QTcpSocket* socket) : QObject(socket), timer(this) {
        setObjectName(Name);
        timer.setSingleShot(true);
        timer.setInterval(static_cast<int>(ConnectionSeconds * 1000));
        QObject::connect(&timer, &QTimer::timeout, socket, &QTcpSocket::abort);
        timer.start();
    }
    static constexpr const char* Name = "orla-connection-watch";
    qint64 received = 0;
    QTimer timer;
    // An answered request: the next one starts from nothing.
    void answered() {
        received = 0;
        timer.start();
    }
};

// Writes a refusal the HTTP layer never saw and closes the connection.
void refuseConnection(QTcpSocket* socket, const char* status, const std::string& reason) {
    const std::string body = "{\"error\":\"" + reason + "\"}";
    socket->write(QByteArray("HTTP/1.1 ") + status +
                  "\r\nContent-Type: application/json; charset=utf-8\r\nConnection: close\r\n"
                  "Content-Length: " + QByteArray::number(qsizetype(body.size())) + "\r\n\r\n" +
                  QByteArray::fromStdString(body));
    socket->disconnectFromHost();
}

// The listening socket: each connection gets its watch before the HTTP layer
// reads from it, and a client holding too many connections gets no more, so a
// slow or greedy client cannot take the server from the other tables.
class GuardedTcpServer : public QTcpServer {
  public:
    using QTcpServer::QTcpServer;

  protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        const QString peer = socket->peerAddress().toString();
        ++OpenConnections;
        ++ClientConnections[peer];
        QObject::connect(socket, &QObject::destroyed, [peer] {
            --OpenConnections;
            if (--ClientConnections[peer] <= 0) ClientConnections.erase(peer);
        });
        if (ClientConnections[peer] > MaxConnectionsPerClient ||
            OpenConnections > MaxConnections) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            refuseConnection(socket, "503 Service Unavailable",
                             "Too many connections from this address; wait a moment.");
            return;
        }
        auto* watch = new ConnectionWatch(socket);
        // Connected before the HTTP layer's own reader, so it sees each chunk first.
        QObject::connect(socket, &QTcpSocket::readyRead, watch, [socket, watch] {
            watch->received += socket->bytesAvailable();
            if (watch->received <= MaxRequestBytes) return;
            QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
            refuseConnection(socket, "413 Payload Too Large", "The request is larger than 4 KB.");
        });
        addPendingConnection(socket);
    }
};

double secondsNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string methodName(QHttpServerRequest::Method m) {
    switch (m) {
    case QHttpServerRequest::Method::Get: return "GET";
    case QHttpServerRequest::Method::Post: return "POST";
    case QHttpServerRequest::Method::Put: return "PUT";
    case QHttpServerRequest::Method::Delete: return "DELETE";
    case QHttpServerRequest::Method::Head: return "HEAD";
    case QHttpServerRequest::Method::Options: return "OPTIONS";
    case QHttpServerRequest::Method::Patch: return "PATCH";
    default: return "OTHER";
    }
}

class TableServer : public QAbstractHttpServer {
  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override {
        HttpRequest r;
        r.method = methodName(request.method());
        r.path = request.url().path(QUrl::FullyEncoded).toStdString();
        r.query = request.url().query(QUrl::FullyEncoded).toStdString();
        r.body = request.body().toStdString();
        for (const auto& [key, value] : request.headers())
            r.headers.emplace_back(key.toStdString(), value.toStdString());
        r.peer = request.remoteAddress().toString().toStdString();
        const HttpResponse out = HANDLEREQUEST(r, secondsNow());
        if (auto* watch = dynamic_cast<ConnectionWatch*>(socket->findChild<QObject*>(
                ConnectionWatch::Name, Qt::FindDirectChildrenOnly)))
            watch->answered();
        QHttpServerResponder responder = makeResponder(request, socket);
        responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(out.status));
        for (const auto& [key, value] : out.headers)
            responder.writeHeader(QByteArray::fromStdString(key), QByteArray::fromStdString(value));
        responder.writeHeader("Content-Length", QByteArray::number(qsizetype(out.body.size())));
        responder.writeBody(out.body.data(), qint64(out.body.size()));
        return true;
    }
    void missingHandler(const QHttpServerRequest&, QTcpSocket*) override {}
};

std::unique_ptr<TableServer> Server;

// The pages, scripts and style sheet of the program's resources.
void loadPages() {
    struct Page {
        const char* path;
        const char* resource;
        const char* type;
    };
    const Page pages[] = {
        {"/table.html", ":/web/table.html", "text/html; charset=utf-8"},
        {"/ranking.html", ":/web/ranking.html", "text/html; charset=utf-8"},
        {"/static/style.css", ":/web/style.css", "text/css; charset=utf-8"},
        {"/static/table.js", ":/web/table.js", "text/javascript; charset=utf-8"},
        {"/static/ranking.js", ":/web/ranking.js", "text/javascript; charset=utf-8"},
    };
    StaticFiles.clear();
    for (const Page& p : pages) {
        QFile f(p.resource);
        if (f.open(QIODevice::ReadOnly)) StaticFiles[p.path] = {p.type, f.readAll().toStdString()};
    }
}

} // namespace

std::vector<std::string> LOCALADDRESSES() {
    std::vector<std::string> out;
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            out.push_back(a.toString().toStdString());
    return out;
}

bool STARTSERVER(const std::string& address, int port, std::string& reason) {
    STOPSERVER();
    QHostAddress host = QHostAddress::Any;
    if (!address.empty() && !host.setAddress(QString::fromStdString(address))) {
        reason = "\"" + address + "\" is not an address of this computer.";
        return false;
    }
    // The pages' names and the cards' addresses are IPv4 ones: under an IPv6
    // address every request would be refused as coming under a foreign name.
    if (host.protocol() != QAbstractSocket::IPv4Protocol) {
        reason = "\"" + address +
                 "\" is an IPv6 address; give an IPv4 address of this computer "
                 "(as 192.168.1.10), or 127.0.0.1 for this computer only.";
        return false;
    }
    if (port < 1 || port > 65535) {
        reason = "The port must be from 1 to 65535.";
        return false;
    }
    auto server = std::make_unique<TableServer>();
    auto* tcp = new GuardedTcpServer(server.get());
    if (!tcp->listen(host, static_cast<quint16>(port))) {
        const std::string on = address.empty() ? "" : " on " + address;
        switch (tcp->serverError()) {
        case QAbstractSocket::SocketAddressNotAvailableError:
            reason = "\"" + address + "\" is not an address of this computer.";
            break;
        case QAbstractSocket::AddressInUseError:
            reason = "Port " + std::to_string(port) + " is in use" + on + ".";
            break;
        case QAbstractSocket::SocketAccessError:
            reason = "Port " + std::to_string(port) + " may not be opened" + on +
                     " (ports below 1024 need the administrator's rights).";
            break;
        default:
            reason = "Port " + std::to_string(port) + " is in use or may not be opened" + on + ".";
        }
        return false;
    }
    server->bind(tcp);
    loadPages();
    const std::string p = ":" + std::to_string(port);
    AllowedHosts = {"localhost" + p, "127.0.0.1" + p};
    for (const std::string& a : LOCALADDRESSES()) AllowedHosts.push_back(a + p);
    if (!address.empty()) AllowedHosts.push_back(host.toString().toStdString() + p);
    // Browsers leave the default port out of the Host they send.
    if (port == 80) {
        const std::size_t n = AllowedHosts.size();
        for (std::size_t i = 0; i < n; ++i)
            AllowedHosts.push_back(AllowedHosts[i].substr(0, AllowedHosts[i].size() - p.size()));
    }
    Server = std::move(server);
    return true;
}

void STOPSERVER() { Server.reset(); }

bool SERVERRUNNING() { return Server != nullptr; }

std::string TABLEADDRESS(const std::string& address, int port, int table) {
    std::string token;
    if (table >= 1 && table <= static_cast<int>(Tables.size()))
        token = Tables[static_cast<std::size_t>(table - 1)].token;
    return "http://" + address + ":" + std::to_string(port) + "/t/" + std::to_string(table) +
           "?k=" + token;
}
