#include "shell/settings.h"

#include "shell/commands.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QString>

#include <algorithm>
#include <cstring>

std::string EMFHeader;
std::int32_t HeaderType = 0;
LogFont HeaderFont;
LogFont FixedFont;
std::array<std::string, RecentFileCount> RecentFiles;

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QByteArray fontBytes(const LogFont& font) {
    return QByteArray(reinterpret_cast<const char*>(&font), sizeof font);
}

// Reads a 60-byte font record; false when the value is missing or of another size.
bool readFont(QSettings& s, const char* key, LogFont& font) {
    if (!s.contains(key)) return false;
    const QByteArray bytes = s.value(key).toByteArray();
    if (bytes.size() != static_cast<qsizetype>(sizeof font)) return false;
    std::memcpy(&font, bytes.constData(), sizeof font);
    font.lfFaceName[sizeof font.lfFaceName - 1] = '\0';
    return true;
}

std::string mruKey(int n) {
    return "MRU" + std::to_string(n);
}

// `text` cut to at most `bytes` bytes without splitting a UTF-8 character.
std::string cutUtf8(const std::string& text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    std::size_t n = bytes;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return text.substr(0, n);
}

// Writes the recent files as MRU1.. and removes the values past the last one.
void writeRecentFiles() {
    QSettings s("ORLA", "0.9");
    bool listed = true;
    for (int n = 1; n <= RecentFileCount; ++n) {
        listed = listed && !RecentFiles[n - 1].empty();
        if (listed)
            s.setValue(qs(mruKey(n)), qs(RecentFiles[n - 1]));
        else
            s.remove(qs(mruKey(n)));
    }
}

} // namespace

LogFont MAKELOGFONT(int height, int weight, const std::string& face) {
    LogFont f;
    std::memset(&f, 0, sizeof f);
    f.lfHeight = height;
    f.lfWeight = weight;
    f.lfCharSet = 1;
    std::memcpy(f.lfFaceName, face.data(), std::min(face.size(), sizeof f.lfFaceName - 1));
    return f;
}

std::string LOGFONTFACE(const LogFont& font) {
    return std::string(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName));
}

void RESETSETTINGS() {
    EMFHeader.clear();
    HeaderType = 0;
    HeaderFont = MAKELOGFONT(16, 900, "Arial");
    FixedFont = MAKELOGFONT(10, 400, "Courier");
    RecentFiles.fill(std::string());
}

namespace {
// The settings hold their defaults from program start on.
const bool settingsReady = (RESETSETTINGS(), true);
} // namespace

void READREGISTRY() {
    QSettings s("ORLA", "0.9");
    if (s.contains("EMFHeader")) {
        // The path is read up to 256 bytes, as the print header keeps it.
        std::string path = s.value("EMFHeader").toString().toStdString();
        if (path.size() > 256) path.resize(256);
        EMFHeader = path;
    } else {
        s.setValue("EMFHeader", qs(EMFHeader));
    }
    bool ok = false;
    const int type = s.value("HeaderType").toInt(&ok);
    if (ok)
        HeaderType = type;
    else
        s.setValue("HeaderType", HeaderType);
    if (!readFont(s, "HeaderFont", HeaderFont)) s.setValue("HeaderFont", fontBytes(HeaderFont));
    if (!readFont(s, "FixedFont", FixedFont)) s.setValue("FixedFont", fontBytes(FixedFont));

    // The settings may hold anything: each entry is cut to the length the list
    // keeps, and a file listed twice is shown once.
    RecentFiles.fill(std::string());
    int count = 0;
    for (int n = 1; n <= RecentFileCount; ++n) {
        const QString key = qs(mruKey(n));
        if (!s.contains(key)) break;
        const std::string path = cutUtf8(s.value(key).toString().toStdString(), RecentFileLength);
        if (path.empty()) break;
        bool listed = false;
        for (int k = 0; k < count; ++k)
            listed = listed || SAMEPATH(RecentFiles[k], path);
        if (!listed) RecentFiles[count++] = path;
    }
    UPDATERECENTMENU();
}

void SAVEREGISTRY() {
    QSettings s("ORLA", "0.9");
    s.setValue("EMFHeader", qs(EMFHeader));
    s.setValue("HeaderType", HeaderType);
    s.setValue("HeaderFont", fontBytes(HeaderFont));
    s.setValue("FixedFont", fontBytes(FixedFont));
}

std::string ABSOLUTEPATH(const std::string& path) {
    if (path.empty()) return path;
    return QDir::cleanPath(QFileInfo(qs(path)).absoluteFilePath()).toStdString();
}

bool SAMEPATH(const std::string& a, const std::string& b) {
#if defined(_WIN32) || defined(__APPLE__)
    return qs(a).compare(qs(b), Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

void SAVEANDUPDATEMRU(const std::string& given) {
    const std::string name = ABSOLUTEPATH(given);
    if (name.empty() || name.size() > static_cast<std::size_t>(RecentFileLength)) return;
    // A file already listed moves to the top; otherwise the oldest drops out.
    int found = RecentFileCount - 1;
    for (int n = 0; n < RecentFileCount; ++n) {
        if (!RecentFiles[n].empty() && SAMEPATH(RecentFiles[n], name)) {
            found = n;
            break;
        }
    }
    for (int n = found; n > 0; --n)
        RecentFiles[n] = RecentFiles[n - 1];
    RecentFiles[0] = name;
    writeRecentFiles();
    UPDATERECENTMENU();
}

void REMOVERECENTFILE(const std::string& name) {
    int kept = 0;
    for (int n = 0; n < RecentFileCount; ++n)
        if (!RecentFiles[n].empty() && !SAMEPATH(RecentFiles[n], name))
            RecentFiles[kept++] = RecentFiles[n];
    for (int n = kept; n < RecentFileCount; ++n)
        RecentFiles[n].clear();
    writeRecentFiles();
    UPDATERECENTMENU();
}
