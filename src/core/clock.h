#pragma once
// Calendar times for dates and stamps, the same on every system.

#include <ctime>
#include <filesystem>
#include <string>

// `t` broken down in coordinated universal time, or in the computer's local time.
std::tm UTCTIME(std::time_t t);
std::tm LOCALTIME(std::time_t t);

// The time of the last write of `file`; false when it cannot be read.
bool FILETIME(const std::filesystem::path& file, std::time_t& t);

// `tm` written by strftime's `format` (at most 63 characters).
std::string TIMETEXT(const std::tm& tm, const char* format);
