#include "shell/settings.h"

#include "shell/commands.h"

#include <QByteArray>
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

    RecentFiles.fill(std::string());
    for (int n = 1; n <= RecentFileCount; ++n) {
        const QString key = qs(mruKey(n));
        if (!s.contains(key)) break;
        RecentFiles[n - 1] = s.value(key).toString().toStdString();
        if (RecentFiles[n - 1].empty()) break;
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

void SAVEANDUPDATEMRU(const std::string& name) {
    // A name already listed moves to the top; otherwise the oldest drops out.
    int found = RecentFileCount - 1;
    for (int n = 0; n < RecentFileCount; ++n) {
        if (!RecentFiles[n].empty() &&
            qs(RecentFiles[n]).compare(qs(name), Qt::CaseInsensitive) == 0) {
            found = n;
            break;
        }
    }
    for (int n = found; n > 0; --n)
        RecentFiles[n] = RecentFiles[n - 1];
    RecentFiles[0] = name;

    QSettings s("ORLA", "0.9");
    for (int n = 1; n <= RecentFileCount && !RecentFiles[n - 1].empty(); ++n)
        s.setValue(qs(mruKey(n)), qs(RecentFiles[n - 1]));
    UPDATERECENTMENU();
}
