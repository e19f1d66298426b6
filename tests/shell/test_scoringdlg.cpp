// The Score at the Tables window: starting on a free port asks for a file first,
// requests through a real socket are answered and refused by key, a port in use
// is said, Stop frees the port, a result accepted at a table redraws the views
// at once; and the table cards, read back from their PDF and their QR codes.

#include "core/filelock.h"
#include "core/tournament.h"
#include "printing/tablecards.h"
#include "server/http.h"
#include "server/qtserver.h"
#include "server/tables.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/lifecycle.h"
#include "shell/scoringdlg.h"
#include "windowtest.h"
#include "winsupport/gwmessage.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

namespace {

// A port nobody listens on now.
int freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::Any, 0)) return 0;
    return probe.serverPort();
}

// One request through a socket to the server, the event loop running meanwhile
// (the server answers on this thread). Returns the status of the answer, 0 when
// none came.
int httpStatus(int port, const QByteArray& method, const QByteArray& target,
               const QByteArray& body = {}, const QString& host = "127.0.0.1") {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress(host), static_cast<quint16>(port));
    QByteArray request = method + " " + target + " HTTP/1.1\r\nHost: " + host.toUtf8() + ":" +
                         QByteArray::number(port) + "\r\nConnection: close\r\n";
    if (!body.isEmpty())
        request += "Content-Type: application/json\r\nContent-Length: " +
                   QByteArray::number(body.size()) + "\r\n";
    request += "\r\n" + body;
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    bool sent = false;
    while (clock.elapsed() < 5000) {
        QTest::qWait(10);
        if (!sent && socket.state() == QAbstractSocket::ConnectedState) {
            socket.write(request);
            sent = true;
        }
        answer += socket.readAll();
        if (answer.contains("\r\n\r\n") && socket.state() == QAbstractSocket::UnconnectedState)
            break;
        if (sent && answer.startsWith("HTTP/1.1 ") && answer.contains("\r\n\r\n")) break;
        if (socket.state() == QAbstractSocket::UnconnectedState && !sent) return 0;
    }
    if (!answer.startsWith("HTTP/1.1 ")) return 0;
    return answer.mid(9, 3).toInt();
}

QStringList pdfPages(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(20000)) return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// The text of the QR codes of page `page` of a PDF, as a decoder reads them.
QString decodePage(const QString& pdf, int page, const QString& dir) {
    QProcess render;
    const QString stem = dir + "/page";
    render.start("pdftoppm", {"-r", "150", "-png", "-singlefile", "-f", QString::number(page),
                              "-l", QString::number(page), pdf, stem});
    if (!render.waitForFinished(20000) || render.exitCode() != 0) return "(not rendered)";
    QProcess decode;
    decode.start("zbarimg", {"--raw", "-q", stem + ".png"});
    if (!decode.waitForFinished(20000)) return "(not decoded)";
    return QString::fromUtf8(decode.readAllStandardOutput()).trimmed();
}

} // namespace

class ScoringDlgTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    std::unique_ptr<QTemporaryDir> files_;

    QString file(const QString& name) const { return files_->path() + "/" + name; }

    // A new tournament of 10 pairs Mitchell (5 tables, 3 boards a round), saved
    // as `name` unless empty, with the window shown.
    void openTournament(const QString& name) {
        QVERIFY(NEWDEFAULTTOURNAMENT());
        if (!name.isEmpty()) {
            GwSeamNextFileName(file(name).toStdString());
            QVERIFY(ONFILESAVEAS());
        }
        QVERIFY(COMMANDENABLED(IDM_SCORETABLES));
        QVERIFY(ONCOMMAND(IDM_SCORETABLES));
        QVERIFY(SCORINGDIALOG() != nullptr);
        QVERIFY(SCORINGDIALOG()->window->isVisible());
    }

    // The port, and 127.0.0.1 (the list's last address) to listen on.
    void setPort(int port) {
        QVERIFY(DLGSETINT(*SCORINGDIALOG(), IDC_SCORE_PORT, port));
        auto* box = Control<QComboBox>(*SCORINGDIALOG(), IDC_SCORE_ADDRESS);
        QCOMPARE(box->itemText(box->count() - 1), QString("127.0.0.1"));
        QVERIFY(DLGSETINT(*SCORINGDIALOG(), IDC_SCORE_ADDRESS, box->count()));
    }

    bool lastMessageHas(const char* words) const {
        const auto& messages = GwSeamMessages();
        return !messages.empty() && messages.back().text.find(words) != std::string::npos;
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        USETESTFOLDERS(settingsDir_.path());
    }

    void init() {
        files_ = std::make_unique<QTemporaryDir>();
        QVERIFY(files_->isValid());
        QVERIFY(OPENTESTWINDOW());
    }

    void cleanup() {
        CLOSETESTWINDOW();
        QVERIFY(!SERVERRUNNING());
        files_.reset();
    }

    // Without a file nothing starts; with Save As taken the server answers its
    // tables through the socket by key, and the director's view is shown.
    void startAsksForAFileAndAnswersByKey() {
        openTournament("");
        DialogRecord& dlg = *SCORINGDIALOG();
        const int port = freePort();
        QVERIFY(port > 0);
        setPort(port);

        GwSeamNextAnswer(GW_IDNO);
        QVERIFY(!ONSTARTSCORING());
        QVERIFY(lastMessageHas("must be saved in a file"));
        QVERIFY(!SERVERRUNNING());
        QVERIFY(Tables.empty());

        GwSeamNextAnswer(GW_IDYES);
        GwSeamNextFileName(file("evening.otr").toStdString());
        click(dlg, IDC_SCORE_START);
        QVERIFY(SERVERRUNNING());
        QVERIFY(HasFileName);
        QVERIFY(QFile::exists(file("evening.otr.tables")));
        QCOMPARE(static_cast<int>(Tables.size()), 5);
        QVERIFY(!enabled(dlg, IDC_SCORE_START));
        QVERIFY(enabled(dlg, IDC_SCORE_STOP));
        QVERIFY(text(dlg, IDC_SCORE_DIRECTOR).find("/api/director?k=" + DirectorToken) !=
                std::string::npos);
        QCOMPARE(items(dlg, IDC_SCORE_TABLES).size(), 5);
        // The timer's visits leave the director's selection alone (to copy it).
        auto* director = Control<QLineEdit>(dlg, IDC_SCORE_DIRECTOR);
        director->selectAll();
        REFRESHSCORINGWINDOW();
        QCOMPARE(director->selectedText().toStdString(), text(dlg, IDC_SCORE_DIRECTOR));

        const QByteArray key = QByteArray::fromStdString(Tables[0].token);
        QByteArray wrong = key;
        wrong[0] = wrong[0] == 'a' ? 'b' : 'a';
        QCOMPARE(httpStatus(port, "GET", "/api/table/1?k=" + key), 200);
        QCOMPARE(httpStatus(port, "GET", "/api/table/1?k=" + wrong), 403);
        QCOMPARE(httpStatus(port, "GET", "/api/table/2?k=" + key), 403);
        // The table's contact shows in the window's list at the timer's next visit.
        QTRY_VERIFY_WITH_TIMEOUT(!items(dlg, IDC_SCORE_TABLES).first().contains("never"), 2000);
        QVERIFY(items(dlg, IDC_SCORE_TABLES).last().contains("never"));
    }

    // A port in use is said and nothing crashes (nor holds the file); Stop
    // frees the port.
    void portInUseIsSaidAndStopFreesThePort() {
        openTournament("busy.otr");
        DialogRecord& dlg = *SCORINGDIALOG();
        QTcpServer blocker;
        QVERIFY(blocker.listen(QHostAddress::Any, 0));
        const int busy = blocker.serverPort();
        setPort(busy);
        const std::size_t before = GwSeamMessages().size();
        click(dlg, IDC_SCORE_START);
        QVERIFY(!SERVERRUNNING());
        QCOMPARE(GwSeamMessages().size(), before + 1);
        QVERIFY(lastMessageHas("in use"));
        QCOMPARE(GwSeamMessages().back().caption, std::string(ScoringCaption));
        QVERIFY(text(dlg, IDC_SCORE_STATE).find("in use") != std::string::npos);
        QVERIFY(enabled(dlg, IDC_SCORE_START));
        blocker.close();
        FileLock serve; // nothing served: the file is free for orla-cli serve
        std::string reason;
        QVERIFY2(LOCKFILE(file("busy.otr.tables").toStdString(), serve, reason, nullptr, 0),
                 reason.c_str());
        UNLOCKFILE(serve);

        const int port = freePort();
        setPort(port);
        click(dlg, IDC_SCORE_START);
        QVERIFY(SERVERRUNNING());
        QVERIFY(!enabled(dlg, IDC_SCORE_PORT));
        // The refusal of the busy port does not stay on while the server runs.
        QCOMPARE(text(dlg, IDC_SCORE_STATE).rfind("Serving on port " + std::to_string(port), 0),
                 std::size_t(0));
        QTcpServer second;
        QVERIFY(!second.listen(QHostAddress::Any, static_cast<quint16>(port)));
        click(dlg, IDC_SCORE_STOP);
        QVERIFY(!SERVERRUNNING());
        QVERIFY(second.listen(QHostAddress::Any, static_cast<quint16>(port)));
        second.close();
        QCOMPARE(httpStatus(port, "GET", "/api/ranking"), 0);
        QVERIFY(enabled(dlg, IDC_SCORE_START));
        QCOMPARE(text(dlg, IDC_SCORE_DIRECTOR), std::string());
    }

    // The server listens on the address chosen (the one on the cards) and on
    // no other; the choice stays while it serves.
    void theServerListensOnTheChosenAddressOnly() {
        openTournament("where.otr");
        DialogRecord& dlg = *SCORINGDIALOG();
        const int port = freePort();
        setPort(port);
        QVERIFY(ONSTARTSCORING());
        QVERIFY(!enabled(dlg, IDC_SCORE_ADDRESS));
        QCOMPARE(httpStatus(port, "GET", "/api/ranking"), 200);
        const std::vector<std::string> others = LOCALADDRESSES();
        for (const std::string& a : others)
            QCOMPARE(httpStatus(port, "GET", "/api/ranking", {}, QString::fromStdString(a)), 0);
        // Opening the window again while it serves keeps the address it listens on.
        QVERIFY(ONCOMMAND(IDM_SCORETABLES));
        QCOMPARE(text(dlg, IDC_SCORE_ADDRESS), std::string("127.0.0.1"));
        click(dlg, IDC_SCORE_STOP);
        QVERIFY(enabled(dlg, IDC_SCORE_ADDRESS));
        if (others.empty()) return; // no network here: nothing else to listen on
        QVERIFY(DLGSETINT(dlg, IDC_SCORE_ADDRESS, 1));
        QCOMPARE(text(dlg, IDC_SCORE_ADDRESS), others.front());
        QVERIFY(ONSTARTSCORING());
        QCOMPARE(httpStatus(port, "GET", "/api/ranking", {}, QString::fromStdString(others.front())),
                 200);
        QCOMPARE(httpStatus(port, "GET", "/api/ranking"), 0);
        QVERIFY(text(dlg, IDC_SCORE_DIRECTOR).find("http://" + others.front() + ":") == 0);
        click(dlg, IDC_SCORE_STOP);
    }

    // A result accepted at a table is in the board list and the pairs' totals at
    // once, drawn without anyone asking; closing the tournament stops the server.
    void acceptedResultRedrawsTheViews() {
        openTournament("redraw.otr");
        DialogRecord& dlg = *SCORINGDIALOG();
        const int port = freePort();
        setPort(port);
        QVERIFY(ONSTARTSCORING());
        const TableState& table = Tables[0];
        const Seat* seat = CURRENTSEAT(table);
        QVERIFY(seat != nullptr);
        const int board = FIRSTBOARD(seat->set);
        QVERIFY(ONCOMMAND(IDM_BOARDLISTS));
        // The board list shows `board` (the first one of the view).
        QCOMPARE(board, 1);
        const QImage before = MainWindow->viewBuffer().toImage();

        auto post = [&](const std::string& op, const std::string& body) {
            HttpRequest r;
            r.method = "POST";
            r.path = "/api/table/1/" + op;
            r.query = "k=" + table.token;
            r.body = body;
            r.headers = {{"Host", "127.0.0.1:" + std::to_string(port)}};
            r.peer = "127.0.0.1";
            const double now = std::chrono::duration<double>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count();
            return HANDLEREQUEST(r, now).status;
        };
        QCOMPARE(post("result", R"({"board":1,"contract":"3N","declarer":"N","tricks":10})"), 200);
        QCOMPARE(MainWindow->viewBuffer().toImage(), before); // waits for Accept
        QCOMPARE(post("accept", R"({"board":1})"), 200);
        QCOMPARE(Results(1, seat->entry), 43.0f);
        QVERIFY(MainWindow->viewBuffer().toImage() != before);
        QVERIFY(items(dlg, IDC_SCORE_TABLES).first().contains(" 1 "));

        // The board list's result field was open on that row, filled before the
        // table's result came: leaving the view keeps the table's result.
        QVERIFY(ONCOMMAND(IDM_SORTBYPLACEMENT));
        QCOMPARE(Results(1, seat->entry), 43.0f);
        const float total = PairTotal(1);
        const QImage ranking = MainWindow->viewBuffer().toImage();
        QCOMPARE(post("result", R"({"board":2,"contract":"4S","declarer":"E","tricks":8})"), 200);
        QCOMPARE(post("accept", R"({"board":2})"), 200);
        QCOMPARE(Results(1, seat->entry), 43.0f);
        QCOMPARE(Results(2, seat->entry), 10.0f);
        QVERIFY(PairTotal(1) != total);
        QVERIFY(MainWindow->viewBuffer().toImage() != ranking);
        // Back in the board list the field shows the table's result, and
        // leaving it again loses nothing.
        QVERIFY(ONCOMMAND(IDM_BOARDLISTS));
        QVERIFY(ONCOMMAND(IDM_SORTBYPLACEMENT));
        QCOMPARE(Results(1, seat->entry), 43.0f);
        QCOMPARE(Results(2, seat->entry), 10.0f);
        saveShot(dlg, "scoring-window.png");

        // Another tournament takes the place of this one: no table may write into it.
        QVERIFY(ONFILECLOSE());
        QVERIFY(!SERVERRUNNING());
        QVERIFY(Tables.empty());
        QVERIFY(!SCORINGDIALOG()->window->isVisible());
    }

    // "Show travellers at the tables" is off at first, and what the box says is
    // what the table pages get, before and after Start.
    void showTravellersFollowsItsBox() {
        openTournament("travellers.otr");
        DialogRecord& dlg = *SCORINGDIALOG();
        setPort(freePort());
        bool shown = true;
        QVERIFY(DLGGETLOG(dlg, IDC_SCORE_SHOWTRAVELLERS, shown));
        QVERIFY(!shown);
        QVERIFY(!ShowTravellers);
        click(dlg, IDC_SCORE_SHOWTRAVELLERS);
        QVERIFY(ShowTravellers);
        QVERIFY(ONSTARTSCORING());
        QVERIFY(ShowTravellers);
        click(dlg, IDC_SCORE_SHOWTRAVELLERS);
        QVERIFY(!ShowTravellers);
        click(dlg, IDC_SCORE_STOP);
    }

    // The director types over a result table 1 accepted: the journal says that
    // the director's value replaced the table's.
    void typingOverATablesResultIsJournaled() {
        openTournament("typed.otr");
        setPort(freePort());
        QVERIFY(ONSTARTSCORING());
        QVERIFY(TABLEENTER(Tables[0], 1, [] {
                    TableResult r;
                    PARSECONTRACT("4S", r.contract);
                    r.declarer = 'N';
                    r.tricks = 10;
                    r.nsScore = 42;
                    return r;
                }()).status == 200);
        QCOMPARE(TABLEACCEPT(Tables[0], 1, 1.0, "test").status, 200);
        QCOMPARE(Results(1, 1), 42.0f);
        QVERIFY(ONCOMMAND(IDM_BOARDLISTS));
        QCOMPARE(CURRENTBOARD(), 1);
        QCOMPARE(EditEntry, 1);
        auto* field = static_cast<QLineEdit*>(EntryWindows.field[1]);
        field->selectAll();
        QTest::keyClicks(field, "-62");
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(Results(1, 1), -62.0f);
        JournalContents contents;
        std::string reason;
        QVERIFY(READJOURNAL(JournalFile, contents, reason));
        const nlohmann::json& last = contents.records.back();
        QCOMPARE(last["kind"].get<std::string>(), std::string("director"));
        QCOMPARE(last["value"].get<float>(), -62.0f);
        QCOMPARE(last["replaces"].get<float>(), 42.0f);
        click(*SCORINGDIALOG(), IDC_SCORE_STOP);
    }

    // One program at a time scores at the tables of a file, while it runs: the
    // window's Stop lets another program (orla-cli serve) take the file, and a
    // Start while that one runs is refused with why; the keys stay the same.
    void stopLetsAnotherProgramScoreTheFile() {
        openTournament("shared.otr");
        setPort(freePort());
        QVERIFY(ONSTARTSCORING());
        const std::string key = Tables[0].token;
        const std::string journal = file("shared.otr.tables").toStdString();
        std::string reason;
        bool busy = false;
        FileLock other;
        QVERIFY(!LOCKFILE(journal, other, reason, &busy, 0));
        QVERIFY(busy);
        click(*SCORINGDIALOG(), IDC_SCORE_STOP);
        QVERIFY2(LOCKFILE(journal, other, reason, &busy, 0), reason.c_str());
        QCOMPARE(items(*SCORINGDIALOG(), IDC_SCORE_TABLES).size(), 5); // still shown
        QVERIFY(!ONSTARTSCORING());
        QVERIFY(lastMessageHas("is already running in another program"));
        QVERIFY(!SERVERRUNNING());
        UNLOCKFILE(other);
        QVERIFY(ONSTARTSCORING());
        QCOMPARE(Tables[0].token, key);
        click(*SCORINGDIALOG(), IDC_SCORE_STOP);
    }

    // A journal beside the file written for another seating of the tables is
    // kept aside at Start, and the director is told at once to print the cards
    // again (not only on the console the program was started from).
    void aJournalOfAnotherSeatingIsSaidAtStart() {
        openTournament("reseated.otr");
        const std::string journal = file("reseated.otr.tables").toStdString();
        const std::string old =
            R"({"kind":"keys","director":"0123456789abcdef0123456789abcdef","tables":[],)"
            R"("shape":{"movement":3,"pairs":8}})"
            "\n";
        {
            QFile out(QString::fromStdString(journal));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(old.data(), static_cast<qint64>(old.size()));
        }
        setPort(freePort());
        const std::size_t before = GwSeamMessages().size();
        QVERIFY(ONSTARTSCORING());
        QCOMPARE(GwSeamMessages().size(), before + 1);
        QVERIFY(lastMessageHas("was written for another seating of the tables"));
        QVERIFY(lastMessageHas("print the table cards again"));
        QFile aside(QString::fromStdString(journal + ".1"));
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll().toStdString(), old);
        QVERIFY(DirectorToken != "0123456789abcdef0123456789abcdef");
        click(*SCORINGDIALOG(), IDC_SCORE_STOP);
    }

    // One card per table, each with its number and its address; the QR code of
    // a card decodes to that table's address.
    void tableCardsCarryEveryAddress() {
        openTournament("cards.otr");
        const int port = freePort();
        setPort(port);
        const QString pdf = file("cards.pdf");
        QVERIFY(ONPRINTTABLECARDS(pdf.toStdString()));
        QVERIFY(!SERVERRUNNING()); // printing the cards starts the tables, not the server
        QCOMPARE(static_cast<int>(Tables.size()), 5);
        // and leaves the file free for orla-cli serve meanwhile.
        FileLock serve;
        std::string reason;
        QVERIFY2(LOCKFILE(file("cards.otr.tables").toStdString(), serve, reason, nullptr, 0),
                 reason.c_str());
        UNLOCKFILE(serve);
        const std::string address = text(*SCORINGDIALOG(), IDC_SCORE_ADDRESS);
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 5);
        for (int t = 1; t <= 5; ++t) {
            const QString page = pages[t - 1];
            const QString url = QString::fromStdString(TABLEADDRESS(address, port, t));
            QVERIFY2(page.contains(url), qPrintable(page));
            QVERIFY(url.contains(QString::fromStdString(Tables[t - 1].token)));
            QVERIFY(page.contains("Table") || page.contains("Sto"));
            QVERIFY(QRegularExpression("(^|\\s)" + QString::number(t) + "(\\s|$)",
                                       QRegularExpression::MultilineOption)
                        .match(page)
                        .hasMatch());
        }
        if (QStandardPaths::findExecutable("zbarimg").isEmpty())
            QFAIL("zbarimg (Debian package zbar-tools) is needed to read the cards' QR codes");
        QCOMPARE(decodePage(pdf, 3, files_->path()),
                 QString::fromStdString(TABLEADDRESS(address, port, 3)));
        if (qgetenv("ORLA_UPDATE_SCREENSHOT") == "1")
            QCOMPARE(QProcess::execute("pdftoppm", {"-r", "40", "-png", "-singlefile", "-f", "1",
                                                    "-l", "1", pdf,
                                                    ORLA_SOURCE_DIR "/docs/table-card"}),
                     0);

        // The keys are the journal's: the cards stay good when scoring starts again.
        const std::string key = Tables[2].token;
        QVERIFY(ONFILECLOSE());
        GwSeamNextFileName(file("cards.otr").toStdString());
        QVERIFY(ONCOMMAND(IDM_FILEOPEN));
        QVERIFY(ONCOMMAND(IDM_SCORETABLES));
        setPort(port);
        QVERIFY(ONSTARTSCORING());
        QCOMPARE(Tables[2].token, key);
    }

    // The code's modules as the encoder gives them: a square of 21 + 4n modules
    // with the three finder patterns in its corners.
    void qrCodeHasItsFinderPatterns() {
        const QrCode code = QRENCODE("http://192.168.1.10:8080/t/12?k=0123456789abcdef0123456789abcdef");
        QVERIFY(code.size >= 21);
        QCOMPARE((code.size - 21) % 4, 0);
        for (const auto& [r0, c0] : {std::pair{0, 0}, {0, code.size - 7}, {code.size - 7, 0}})
            for (int i = 0; i < 7; ++i) {
                QVERIFY(code.at(r0, c0 + i) && code.at(r0 + 6, c0 + i));
                QVERIFY(code.at(r0 + i, c0) && code.at(r0 + i, c0 + 6));
                QVERIFY(code.at(r0 + 3, c0 + 3));
            }
        QCOMPARE(QRENCODE("").size, 0);
    }
};

QTEST_MAIN(ScoringDlgTest)
#include "test_scoringdlg.moc"
