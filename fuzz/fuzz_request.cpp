// The table server's request handling and the journal's replay. The first byte
// picks: even, one request (method, path, query, body on lines of their own,
// the rest of the input the body) to a 5-table evening whose keys are "aaaa...",
// "bbbb..." (32 letters); odd, the input as a journal replayed on that evening.
// Whatever comes in, every answer carries the safety headers and is JSON or a
// page, and the tournament's results keep the stored forms.
#include "fuzzsupport.h"

#include "core/tournament.h"
#include "scoring/compute.h"
#include "server/http.h"
#include "server/journal.h"
#include "server/tables.h"

#include <nlohmann/json.hpp>

namespace {

void evening() {
    FUZZRESET();
    RESETTABLES();
    RESETHTTPSTATE();
    TablesLog = [](const std::string&) {};
    DEFAULTHEADER();
    MovementType = MOVE_MITCHELL;
    NumPairs = 10;
    BoardsPerRound = 2;
    NumRounds = 5;
    NumBoards = 10;
    FUZZCHECK(CREATETOURNAMENT(), "the evening opens");
    SEATTABLES();
    DirectorToken = std::string(32, 'z');
    for (TableState& t : Tables) t.token = std::string(32, static_cast<char>('a' + t.table - 1));
    AllowedHosts = {"club:8080"};
    StaticFiles["/table.html"] = {"text/html; charset=utf-8", "page"};
}

std::string line(const std::string& text, std::size_t& at) {
    const std::size_t end = text.find('\n', at);
    const std::string out = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    at = end == std::string::npos ? text.size() : end + 1;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    evening();
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        JournalContents contents;
        PARSEJOURNAL(text, contents);
        REPLAYJOURNAL(contents.records);
    } else {
        std::size_t at = 0;
        HttpRequest r;
        r.method = line(text, at);
        r.path = line(text, at);
        r.query = line(text, at);
        r.body = text.substr(at);
        r.headers = {{"Host", "club:8080"}};
        r.peer = "10.0.0.1";
        const HttpResponse out = HANDLEREQUEST(r, 100.0);
        FUZZCHECK(out.header("X-Frame-Options") == "DENY", "every answer forbids frames");
        FUZZCHECK(out.header("X-Content-Type-Options") == "nosniff", "every answer is nosniff");
        FUZZCHECK(out.status == 200 || nlohmann::json::parse(out.body, nullptr, false).contains("error"),
                  "a refusal says why");
    }
    for (int i = 1; i <= NumRounds; ++i)
        for (int b = 1; b <= NumBoards; ++b) {
            const float v = Results(b, i);
            FUZZCHECK(v == 0.0f || (v >= -1500.0f && v < 1000.0f), "results keep the stored forms");
        }
    return 0;
}
