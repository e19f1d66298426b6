// orla-cli-serve.so: orla-cli serve, scoring at the tables without a display
// (servemodule.h). Opens the tournament, starts the tables (putting back what the
// journal holds), serves the table pages on the club's network and prints each
// table's address; stops cleanly, with the tournament saved, on SIGINT or SIGTERM.
#include "cli/commands.h"
#include "cli/servemodule.h"
#include "core/hooks.h"
#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "scoring/compute.h"
#include "server/http.h"
#include "server/qtserver.h"
#include "server/tables.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

#ifndef _WIN32
int SignalPipe[2] = {-1, -1};

// Only writes one byte: the event loop reads it and quits.
void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(SignalPipe[1], &byte, 1);
}
#endif

void RUNSERVE(const ServeOptions& o) {
    static int argc = 1;
    static char name[] = "orla-cli";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (QCoreApplication::instance() == nullptr) app = std::make_unique<QCoreApplication>(argc, argv);

    INSTALLCOMPUTE();
    if (!OPENNTRFILE(o.file)) {
        CliExitCode = EXIT_FILE;
        return;
    }
    std::string reason;
    if (!STARTTABLES(reason)) {
        std::fprintf(stderr, "orla-cli: %s: %s\n", o.file.c_str(), reason.c_str());
        CliExitCode = EXIT_FILE;
        CLOSETOURNAMENT();
        return;
    }
    ShowResultsWhilePlaying = o.showResults;
    ShowTravellers = o.showTravellers;
    PageLanguage = o.lang;
    if (!STARTSERVER(o.address, o.port, reason)) {
        std::fprintf(stderr, "orla-cli: %s\n", reason.c_str());
        CliExitCode = EXIT_FILE;
        CLOSETOURNAMENT();
        return;
    }
    // The address as a browser opens it (" 127.1" is printed as 127.0.0.1).
    std::string shown = o.address;
    if (QHostAddress given; given.setAddress(QString::fromStdString(shown)))
        shown = given.toString().toStdString();
    if (shown.empty() || shown == "0.0.0.0") {
        const auto local = LOCALADDRESSES();
        shown = local.empty() ? "127.0.0.1" : local.front();
    }
    for (const TableState& t : Tables)
        std::cout << "Table " << t.table << ": " << TABLEADDRESS(shown, o.port, t.table) << "\n";
    std::cout << "Ranking: http://" << shown << ":" << o.port << "/ranking\n"
              << "Director: http://" << shown << ":" << o.port << "/api/director?k=" << DirectorToken
              << "\n"
              << "The pages are for the club's own network only (no encryption). Stop with Ctrl+C."
              << std::endl;

#ifndef _WIN32
    std::unique_ptr<QSocketNotifier> notifier;
    if (::pipe(SignalPipe) == 0) {
        notifier = std::make_unique<QSocketNotifier>(SignalPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [] {
            char byte;
            [[maybe_unused]] const auto n = ::read(SignalPipe[0], &byte, 1);
            QCoreApplication::quit();
        });
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
    }
#endif
    QCoreApplication::exec();
    STOPSERVER();
#ifndef _WIN32
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
#endif
    if (Modified && !WRITENTRFILE()) {
        CliExitCode = EXIT_FILE;
        std::cout << "Stopped; " << o.file << " could not be saved: " << JournalFile
                  << " holds the results it misses, and serve on the file puts them back."
                  << std::endl;
    } else {
        std::cout << "Stopped; " << o.file << " holds every accepted result." << std::endl;
    }
    RESETTABLES();
    CLOSETOURNAMENT();
}

} // namespace

extern "C" __attribute__((visibility("default"))) void ORLACLISERVE(const ServeOptions& o) {
    RUNSERVE(o);
}

// Checked by the compiler against the type orla-cli calls it through.
static_assert(std::is_same_v<decltype(&ORLACLISERVE), ServeModuleRoutine>);
