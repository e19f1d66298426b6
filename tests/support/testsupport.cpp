#include "support/testsupport.h"

#include "core/tournament.h"

#include <random>

std::vector<CapturedMessage> CapturedMessages;
std::array<std::string, 3> CapturedStatus;
int CapturedRedraws = 0;
MessageAnswer NextAnswer = ANSWER_NO;

void INSTALLTESTHOOKS() {
    RESETHOOKS();
    CapturedMessages.clear();
    CapturedStatus = {};
    CapturedRedraws = 0;
    NextAnswer = ANSWER_NO;
    Ui.message = [](const std::string& text, const std::string& caption, MessageKind kind) {
        CapturedMessages.push_back({text, caption, kind});
        if (kind != MSG_YESNO_QUESTION) return ANSWER_OK;
        MessageAnswer a = NextAnswer;
        NextAnswer = ANSWER_NO;
        return a;
    };
    Ui.status = [](int part, const std::string& text) {
        if (part >= 0 && part < 3) CapturedStatus[static_cast<std::size_t>(part)] = text;
    };
    Ui.redraw = [] { ++CapturedRedraws; };
}

std::filesystem::path TESTDATA(const std::string& name) {
    return std::filesystem::path(ORLA_TEST_DATA_DIR) / name;
}

std::filesystem::path MAKETEMPDIR() {
    std::random_device rd;
    auto dir = std::filesystem::temp_directory_path() /
               ("orla-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(dir);
    return dir;
}

void OrlaTest::SetUp() {
    RESETTOURNAMENTSTATE();
    INSTALLTESTHOOKS();
}

void OrlaTest::TearDown() {
    RESETTOURNAMENTSTATE();
    RESETHOOKS();
    if (!temp_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(temp_, ec);
    }
}
