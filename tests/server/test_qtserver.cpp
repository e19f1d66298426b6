// The table server's sockets: a client that sends its request slowly, one that
// sends too much, and one that opens many connections are cut off, and the
// other tables are still answered.
#include "server/http.h"
#include "server/qtserver.h"
#include "server/tables.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

int freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
    return probe.serverPort();
}

// A connection from `from` to the server that has sent `bytes`.
std::unique_ptr<QTcpSocket> connectAndSend(int port, const QByteArray& bytes,
                                           const QString& from = "127.0.0.1") {
    auto socket = std::make_unique<QTcpSocket>();
    socket->bind(QHostAddress(from));
    socket->connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    if (!socket->waitForConnected(3000)) return socket;
    socket->write(bytes);
    socket->waitForBytesWritten(3000);
    return socket;
}

// Runs the event loop (the server answers on this thread) until `done` or `ms`.
template <class Done> bool waitFor(Done done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QTest::qWait(10);
    return done();
}

QByteArray head(int port) {
    return "GET /api/ranking HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) + "\r\n";
}

// The status of a whole request from `from`, 0 when no answer came.
int status(int port, const QString& from = "127.0.0.1") {
    auto socket = connectAndSend(port, head(port) + "Connection: close\r\n\r\n", from);
    QByteArray answer;
    waitFor([&] { answer += socket->readAll(); return answer.contains("\r\n\r\n"); }, 5000);
    return answer.startsWith("HTTP/1.1 ") ? answer.mid(9, 3).toInt() : 0;
}

} // namespace

class TableServerSocketTest : public QObject {
    Q_OBJECT
    int port = 0;

    void start(double seconds) {
        ConnectionSeconds = seconds;
        port = freePort();
        std::string reason;
        QVERIFY2(STARTSERVER("127.0.0.1", port, reason), reason.c_str());
        QCOMPARE(status(port), 200);
    }

  private slots:
    void cleanup() {
        STOPSERVER();
        RESETHTTPSTATE();
        ConnectionSeconds = 30;
    }

    // Half a request is not waited for without end.
    void aSlowRequestIsClosed() {
        start(0.5);
        auto slow = connectAndSend(port, head(port) + "X-Half: ");
        QCOMPARE(slow->state(), QAbstractSocket::ConnectedState);
        QVERIFY(waitFor([&] { return slow->state() == QAbstractSocket::UnconnectedState; }, 5000));
        QCOMPARE(status(port), 200);
    }

    // A body far over 4 KB is refused as it arrives, not read whole into memory.
    void aLargeRequestIsRefusedAsItArrives() {
        start(30);
        auto big = connectAndSend(port, "POST /api/ranking HTTP/1.1\r\nHost: 127.0.0.1:" +
                                            QByteArray::number(port) +
                                            "\r\nContent-Length: 100000000\r\n\r\n" +
                                            QByteArray(64 * 1024, 'x'));
        QByteArray answer;
        QVERIFY(waitFor([&] { answer += big->readAll(); return answer.contains("}"); }, 5000));
        QVERIFY2(answer.startsWith("HTTP/1.1 413"), answer.constData());
        QVERIFY(answer.contains("larger than 4 KB"));
        QVERIFY(waitFor([&] { return big->state() == QAbstractSocket::UnconnectedState; }, 5000));
        QCOMPARE(status(port), 200);
    }

    // A server that cannot listen says why: an address of another computer or
    // an IPv6 one, a port in use, a port number out of range.
    void aServerThatCannotListenSaysWhy() {
        start(30);
        std::string reason;
        const std::string busy = "Port " + std::to_string(port) + " is in use on 127.0.0.1.";
        for (const auto& [address, at, said] :
             std::vector<std::tuple<std::string, int, std::string>>{
                 {"203.0.113.9", port, "\"203.0.113.9\" is not an address of this computer."},
                 {"club", port, "\"club\" is not an address of this computer."},
                 {"::1", port,
                  "\"::1\" is an IPv6 address; give an IPv4 address of this "
                  "computer (as 192.168.1.10), or 127.0.0.1 for this computer only."},
                 {"::", port,
                  "\"::\" is an IPv6 address; give an IPv4 address of this "
                  "computer (as 192.168.1.10), or 127.0.0.1 for this computer only."},
                 {"127.0.0.1", port, busy},
                 {"127.0.0.1", 70000, "The port must be from 1 to 65535."}}) {
            QTcpServer holder; // keeps the port busy once the server has let it go
            if (at == port && address == "127.0.0.1") {
                STOPSERVER();
                QVERIFY(holder.listen(QHostAddress::LocalHost, static_cast<quint16>(port)));
            }
            QVERIFY(!STARTSERVER(address, at, reason));
            QCOMPARE(reason, said);
        }
    }

    // One client's many connections leave room for the other tables.
    void aClientHoldsFewConnections() {
        start(30);
        std::vector<std::unique_ptr<QTcpSocket>> held;
        for (int i = 0; i < MaxConnectionsPerClient; ++i)
            held.push_back(connectAndSend(port, head(port), "127.0.0.2"));
        auto extra = connectAndSend(port, head(port), "127.0.0.2");
        QByteArray answer;
        QVERIFY(waitFor([&] { answer += extra->readAll(); return answer.contains("}"); }, 5000));
        QVERIFY2(answer.startsWith("HTTP/1.1 503"), answer.constData());
        QVERIFY(answer.contains("Too many connections"));
        for (const auto& h : held) QCOMPARE(h->state(), QAbstractSocket::ConnectedState);
        QCOMPARE(status(port, "127.0.0.1"), 200);
        // Once they are closed the client is answered again.
        held.clear();
        QVERIFY(waitFor([&] { return status(port, "127.0.0.2") == 200; }, 5000));
    }
};

QTEST_GUILESS_MAIN(TableServerSocketTest)
#include "test_qtserver.moc"
