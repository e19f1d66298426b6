// Calendar times for dates and stamps.
#include "core/clock.h"

#include <chrono>

std::tm UTCTIME(std::time_t t) {
    std::tm tm{};
#ifdef _WIN32
    gmtime_s(&tm, &t);
#else
    gmtime_r(&t, &tm);
#endif
    return tm;
}

std::tm LOCALTIME(std::time_t t) {
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return tm;
}

bool FILETIME(const std::filesystem::path& file, std::time_t& t) {
    std::error_code ec;
    const auto stamp = std::filesystem::last_write_time(file, ec);
    if (ec) return false;
    t = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(
            std::chrono::file_clock::to_sys(stamp)));
    return true;
}

std::string TIMETEXT(const std::tm& tm, const char* format) {
    char text[64];
    const std::size_t n = std::strftime(text, sizeof text, format, &tm);
    return std::string(text, n);
}
