// orla-cli movement: generates a standard movement and prints it as JSON.
#include "cli/commands.h"
#include "cli/sizeoptions.h"
#include "core/hooks.h"
#include "core/tournament.h"
#include "scoring/compute.h"

#include <nlohmann/json.hpp>

#include <array>
#include <iostream>
#include <memory>
#include <string>

namespace {

std::array<std::string, 3> statusTexts;
std::string lastMessage;

// Shapes the tournament as the Tournament Properties dialog would, opens it,
// generates the movement and prints it.
void RUNMOVEMENT(const SizeOptions& o) {
    DEFAULTHEADER();
    SETHEADERSIZE(o);
    Ui.status = [](int part, const std::string& text) {
        if (part >= 0 && part < 3) statusTexts[static_cast<std::size_t>(part)] = text;
    };
    Ui.message = [](const std::string& text, const std::string&, MessageKind) {
        lastMessage = text;
        return ANSWER_OK;
    };
    if (!CREATETOURNAMENT()) CLIUSAGE(lastMessage);

    nlohmann::ordered_json out;
    out["NumTables"] = NumTables;
    out["NumBoardSets"] = NumBoardSets;
    nlohmann::json entries = nlohmann::json::array();
    nlohmann::json sets = nlohmann::json::array();
    for (int s = 1; s <= NumBoardSets; ++s) {
        entries.push_back(SetEntries(s));
        nlohmann::json list = nlohmann::json::array();
        for (int i = 1; i <= SetEntries(s); ++i)
            list.push_back({Movement(s, i, 1), Movement(s, i, 2)});
        sets.push_back(std::move(list));
    }
    out["SetEntries"] = std::move(entries);
    out["Movement"] = std::move(sets);
    out["status"] = statusTexts;
    std::cout << out.dump() << "\n";
    CLOSETOURNAMENT();
    CliExitCode = EXIT_DONE;
}

} // namespace

void ADDMOVEMENTCOMMAND(CLI::App& app) {
    auto o = std::make_shared<SizeOptions>();
    CLI::App* cmd = app.add_subcommand("movement", "Print a standard movement as JSON");
    ADDSIZEOPTIONS(cmd, *o, "type");
    cmd->callback([o] { RUNMOVEMENT(*o); });
}
