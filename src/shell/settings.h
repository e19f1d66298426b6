#pragma once
// The program's settings, kept under QSettings("ORLA", "0.9") for the current
// user: the print header, the two report fonts and the four most recently used
// tournament files.

#include <array>
#include <cstdint>
#include <string>

// A font description as stored in the settings: 60 bytes, little-endian, the
// layout of the classic logical-font record (face name 32 bytes, NUL padded).
struct LogFont {
    std::int32_t lfHeight;
    std::int32_t lfWidth;
    std::int32_t lfEscapement;
    std::int32_t lfOrientation;
    std::int32_t lfWeight;
    std::uint8_t lfItalic;
    std::uint8_t lfUnderline;
    std::uint8_t lfStrikeOut;
    std::uint8_t lfCharSet;
    std::uint8_t lfOutPrecision;
    std::uint8_t lfClipPrecision;
    std::uint8_t lfQuality;
    std::uint8_t lfPitchAndFamily;
    char lfFaceName[32];
};
static_assert(sizeof(LogFont) == 60, "a font record is a 60-byte settings value");

constexpr int RecentFileCount = 4;
// The longest path the recent-file list keeps (the longest the system takes); a
// longer entry in the settings is cut to it.
#ifdef _WIN32
constexpr int RecentFileLength = 260;
#else
constexpr int RecentFileLength = 4096;
#endif

extern std::string EMFHeader;   // path of the picture printed as page header
extern std::int32_t HeaderType; // kind of print header
extern LogFont HeaderFont;      // font of report titles
extern LogFont FixedFont;       // fixed-pitch font of reports
// Recent files, entry 0 the most recent; an empty entry ends the list.
extern std::array<std::string, RecentFileCount> RecentFiles;

// A font record with the given height, weight and face, character set 1, the
// rest 0.
LogFont MAKELOGFONT(int height, int weight, const std::string& face);
// The face name of a record (up to its first NUL).
std::string LOGFONTFACE(const LogFont& font);

// Puts every setting back to its built-in default and empties the recent files.
void RESETSETTINGS();

// Reads the settings; a value that is missing (or not of its size) is written
// back at once with its built-in default. Then reads the recent files MRU1..MRU4,
// stopping at the first missing one, cuts each to RecentFileLength, drops the
// ones already listed and shows them in the File menu. Failures leave the
// defaults in force.
void READREGISTRY();

// Writes the four print settings (not the recent files).
void SAVEREGISTRY();

// Puts `name` (made absolute) at the top of the recent files: a file already
// listed (compared as the file system compares names) moves up instead of
// appearing twice, otherwise the oldest entry drops out. Writes the list to the
// settings and updates the File menu. A path longer than RecentFileLength is not
// listed.
void SAVEANDUPDATEMRU(const std::string& name);

// Takes `name` out of the recent files (the later entries move up), in the
// settings and in the File menu.
void REMOVERECENTFILE(const std::string& name);

// `path` as an absolute, clean path (relative to the current folder).
std::string ABSOLUTEPATH(const std::string& path);

// Whether two paths name the same file as the file system compares names:
// letter case counts, except where the system ignores it (Windows, macOS).
bool SAMEPATH(const std::string& a, const std::string& b);
