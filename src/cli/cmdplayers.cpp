// orla-cli players: the players register as Edit Player List shows and changes it.
#include "cli/commands.h"
#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/programfolder.h"
#include "players/players.h"
#include "players/rating.h"
#include "reports/reports.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

MessageAnswer printMessage(const std::string& text, const std::string&, MessageKind kind) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return kind == MSG_YESNO_QUESTION ? ANSWER_NO : ANSWER_OK;
}

// A path as UTF-8 text.
std::string utf8(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

// The folder of the running program file.
std::string executableFolder() {
    std::error_code ec;
#ifdef _WIN32
    std::wstring name(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (n == 0 || n >= name.size()) return utf8(std::filesystem::current_path(ec));
    name.resize(n);
    const std::filesystem::path exe(name);
#else
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return utf8(std::filesystem::current_path(ec));
#endif
    return utf8(exe.parent_path());
}

// A RATING argument: a whole number, or bad usage.
int ratingArgument(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        CLIUSAGE("RATING must be a whole number, not \"" + text + "\"");
    return value;
}

// A NAME argument in the register's letters; false (message shown) when it has
// a character the register cannot keep.
bool nameArgument(const std::string& text, std::string& name) {
    if (!ISUTF8(text)) CLIUSAGE("NAME: the argument is not valid UTF-8 text");
    return REGNAMEFROMUTF8(text, "NAME", name);
}

void finish(bool done) {
    CliExitCode = done ? EXIT_DONE : EXIT_FILE;
}

} // namespace

void FINDPROGRAMFOLDER() {
    SETPROGRAMFOLDER(executableFolder());
}

void OPENREGISTER() {
    Ui.message = printMessage;
    SETPROGRAMFOLDER(executableFolder());
    LOADPLAYERS();
    INSTALLRATING();
}

void ADDPLAYERSCOMMAND(CLI::App& app) {
    CLI::App* players = app.add_subcommand(
        "players", "List the players register (ORLA_PROGRAM_FOLDER/Players.opd) or change it");
    players->require_subcommand(0, 1);
    auto sort = std::make_shared<std::string>("name");
    players->add_option("--sort", *sort, "Order of the list: name, rating or delta (default name)")
        ->check(CLI::IsMember({"name", "rating", "delta"}));

    struct Args {
        std::string name, rating, html, text;
    };
    auto a = std::make_shared<Args>();
    players->add_option("--export-html", a->html,
                        "Write the rating list (\"REJTING LISTA\") as an HTML page");
    players->add_option("--export-text", a->text, "Write the rating list as a text file");
    CLI::App* add = players->add_subcommand("add", "Register a player, as Add of Edit Player List");
    add->add_option("NAME", a->name, "Player's name (30 characters count)")->required();
    add->add_option("RATING", a->rating, "Rating, also the first Delta")->required();
    CLI::App* remove = players->add_subcommand("remove", "Remove a registered player");
    remove->add_option("NAME", a->name, "Player's name")->required();
    CLI::App* set = players->add_subcommand("set-rating", "Change a registered player's rating");
    set->add_option("NAME", a->name, "Player's name")->required();
    set->add_option("RATING", a->rating, "New rating (the Delta stays)")->required();

    add->callback([a] {
        const int rating = ratingArgument(a->rating);
        OPENREGISTER();
        std::string name;
        finish(nameArgument(a->name, name) && APPENDREGPLAYER(name, rating));
    });
    remove->callback([a] {
        OPENREGISTER();
        std::string name;
        finish(nameArgument(a->name, name) && REMOVEREGPLAYER(name));
    });
    set->callback([a] {
        const int rating = ratingArgument(a->rating);
        OPENREGISTER();
        std::string name;
        finish(nameArgument(a->name, name) && CHANGEREGRATING(name, rating));
    });
    players->callback([players, sort, a] {
        if (!players->get_subcommands().empty()) return;
        OPENREGISTER();
        SORTPLAYERS(*sort == "rating" ? SORT_RATING : *sort == "delta" ? SORT_DELTA : SORT_NAME);
        if (!a->html.empty() || !a->text.empty()) {
            // Tied ratings share a place when the list is ordered by rating.
            const int numbering = *sort == "rating" ? 2 : 1;
            bool done = true;
            if (!a->html.empty()) done = WRITEEXPORT(a->html, PLAYERLISTHTML(numbering));
            if (done && !a->text.empty()) done = WRITEEXPORT(a->text, PLAYERLISTTEXT(numbering));
            finish(done);
            return;
        }
        for (int k = 1; k <= RegisteredCount; ++k) {
            std::string row = PLAYERLISTROW(k);
            while (!row.empty() && row.back() == ' ')
                row.pop_back();
            std::cout << CP1250TOUTF8(row) << '\n';
        }
        CliExitCode = EXIT_DONE;
    });
}
