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

#include <chrono>
#include <memory>

namespace {

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
    if (port < 1 || port > 65535) {
        reason = "The port must be from 1 to 65535.";
        return false;
    }
    auto server = std::make_unique<TableServer>();
    if (server->listen(host, static_cast<quint16>(port)) == 0) {
        reason = "Port " + std::to_string(port) + " is in use or may not be opened" +
                 (address.empty() ? "" : " on " + address) + ".";
        return false;
    }
    loadPages();
    const std::string p = ":" + std::to_string(port);
    AllowedHosts = {"localhost" + p, "127.0.0.1" + p};
    for (const std::string& a : LOCALADDRESSES()) AllowedHosts.push_back(a + p);
    if (!address.empty()) AllowedHosts.push_back(address + p);
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
