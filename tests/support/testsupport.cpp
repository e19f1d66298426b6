#include "support/testsupport.h"

#include "core/tournament.h"

#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <cstdint>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

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
        if (kind != MSG_YESNO_QUESTION && kind != MSG_YESNOCANCEL_QUESTION) return ANSWER_OK;
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

// A folder no other test process has: tests of one program run side by side, so
// the name is only taken once it is made here, and another is tried otherwise.
std::filesystem::path MAKETEMPDIR() {
    static std::mt19937_64 draw(std::random_device{}() ^
                                static_cast<std::uint64_t>(
                                    std::chrono::steady_clock::now().time_since_epoch().count()));
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        const auto dir = base / ("orla-test-" + std::to_string(draw()));
        if (std::filesystem::create_directory(dir)) return dir;
    }
}

std::string UTF8OF(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

#ifdef _WIN32

namespace {

std::wstring wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), w.data(), n);
    return w;
}

std::string narrow(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, s.data(), n, nullptr, nullptr);
    return s;
}

} // namespace

void SETENVVAR(const std::string& name, const std::optional<std::string>& value) {
    _wputenv_s(wide(name).c_str(), value ? wide(*value).c_str() : L"");
}

EnvVar::EnvVar(const std::string& name, const std::optional<std::string>& value) : name_(name) {
    if (const wchar_t* old = _wgetenv(wide(name).c_str())) old_ = narrow(old);
    SETENVVAR(name, value);
}

std::string QUOTED(const std::string& word) {
    return "\"" + word + "\"";
}

int RUNCOMMAND(const std::string& command, std::string& out) {
    // cmd /c takes away the first and the last quote of the line.
    FILE* pipe = _wpopen(wide("\"" + command + "\"").c_str(), L"rb");
    if (!pipe) return -1;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    return _pclose(pipe);
}

#else

void SETENVVAR(const std::string& name, const std::optional<std::string>& value) {
    if (value) setenv(name.c_str(), value->c_str(), 1);
    else unsetenv(name.c_str());
}

EnvVar::EnvVar(const std::string& name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name.c_str())) old_ = old;
    SETENVVAR(name, value);
}

std::string QUOTED(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int RUNCOMMAND(const std::string& command, std::string& out) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

EnvVar::~EnvVar() {
    SETENVVAR(name_, old_);
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
