// The Page Setup dialog (103).
#include "shell/pagesetup.h"

#include "core/hooks.h"
#include "core/strings.h"
#include "shell/settings.h"
#include "shell/shell.h"
#include "winsupport/gwfile.h"
#include "winsupport/gwgdi.h"
#include "winsupport/gwlogm.h"

#include <QDialog>
#include <QFileInfo>

#include <cstdlib>
#include <cstring>
#include <string>

bool ENTRYDIALOGSREADY();

namespace {

enum {
    ID_OK = 1,
    ID_BROWSE = 4,
    ID_TEXT = 1000,
    ID_PICTURE = 1001,
    ID_HEADERFONT = 1002,
    ID_FIXEDFONT = 1003,
    ID_NONE = 1020,
    ID_RADIOTEXT = 1021,
    ID_RADIOPICTURE = 1022,
    ID_SELECTHEADER = 1023,
    ID_SELECTFIXED = 1024,
};

constexpr const char* Caption = "Page Setup";
// The settings keep at most this many bytes of the header text or path.
constexpr std::size_t HeaderBytes = 256;

bool checked(DialogRecord& dlg, int id) {
    bool on = false;
    DLGGETLOG(dlg, id, on);
    return on;
}

// `text` cut to at most `bytes` bytes without splitting a UTF-8 character.
std::string cutUtf8(std::string text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    std::size_t n = bytes;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    text.resize(n);
    return text;
}

void onInit(DialogRecord& dlg, int, int callbackType) {
    if (callbackType != DLG_CB_INIT) return;
    const int type = HeaderType >= 0 && HeaderType <= 2 ? HeaderType : 0;
    DLGSETLOG(dlg, ID_NONE + type, true);
    if (type == 1) DLGSETCHAR(dlg, ID_TEXT, EMFHeader);
    if (type == 2) DLGSETCHAR(dlg, ID_PICTURE, EMFHeader);
    DLGSETCHAR(dlg, ID_HEADERFONT, LOGFONT2NAME(HeaderFont, std::abs(HeaderFont.lfHeight)));
    DLGSETCHAR(dlg, ID_FIXEDFONT, LOGFONT2NAME(FixedFont, std::abs(FixedFont.lfHeight)));
    ONRADIOHEADER(dlg, ID_NONE + type, DLG_CB_CLICK);
}

void onOk(DialogRecord& dlg, int, int) {
    if (checked(dlg, ID_RADIOTEXT)) {
        std::string text;
        DLGGETCHAR(dlg, ID_TEXT, text);
        HeaderType = 1;
        EMFHeader = cutUtf8(text, HeaderBytes);
    } else if (checked(dlg, ID_RADIOPICTURE)) {
        std::string path;
        DLGGETCHAR(dlg, ID_PICTURE, path);
        path.erase(path.find_last_not_of(' ') + 1);
        HeaderType = 2;
        EMFHeader = path;
    } else {
        HeaderType = 0; // the text or path stays for another time
    }
    SAVEREGISTRY();
    DLGSETRETURN(dlg, ID_OK);
    DLGEXIT(dlg);
}

} // namespace

std::string LOGFONT2NAME(const LogFont& font, int size) {
    std::string name = LOGFONTFACE(font);
    if (font.lfWeight > 400) name += " Bold";
    if (font.lfItalic) name += " Italic";
    return name + ", " + IWRITE(size, 3) + " pt";
}

void ONRADIOHEADER(DialogRecord& dlg, int, int) {
    const bool text = checked(dlg, ID_RADIOTEXT);
    const bool picture = checked(dlg, ID_RADIOPICTURE);
    DLGSETLOG(dlg, ID_TEXT, text, DLG_ENABLED);
    DLGSETLOG(dlg, ID_PICTURE, picture, DLG_ENABLED);
    DLGSETLOG(dlg, ID_BROWSE, picture, DLG_ENABLED);
}

void ONBROWSEHEADER(DialogRecord& dlg, int, int) {
    std::string path;
    DLGGETCHAR(dlg, ID_PICTURE, path);
    if (path.empty()) path = StartFolder;
    if (!GwGetOpenFile(dlg.window,
                       {{"Pictures (*.svg *.png *.jpg *.jpeg)", "*.svg;*.png;*.jpg;*.jpeg"}}, "",
                       path, "Custom Print He"))
        return;
    const std::string name = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
    std::string reason;
    int width = 0, height = 0;
    if (QFileInfo(QString::fromStdString(path)).suffix().toLower() == "emf")
        reason = "enhanced metafiles cannot be drawn on this system; choose an SVG, PNG or "
                 "JPEG picture";
    else if (path.size() > HeaderBytes)
        reason = "its path is longer than " + std::to_string(HeaderBytes) +
                 " bytes, more than the settings keep; move it to a shorter path";
    else
        GwPictureSize(path, width, height, reason);
    if (!reason.empty()) {
        SHOWMESSAGE("\"" + name + "\" cannot be the print header: " + reason + ".\n(" + path + ")",
                    Caption, MSG_OK_WARNING);
        return;
    }
    DLGSETCHAR(dlg, ID_PICTURE, path);
}

void ONSELECTFONT(DialogRecord& dlg, int id, int) {
    const bool fixed = id == ID_SELECTFIXED;
    LogFont& font = fixed ? FixedFont : HeaderFont;
    GwFontChoice choice{LOGFONTFACE(font), std::abs(font.lfHeight), font.lfWeight,
                        font.lfItalic != 0};
    if (!GwChooseFont(dlg.window, choice, fixed, fixed ? 6 : 0, fixed ? 12 : 0)) return;
    // The size is kept in points, the unit in which printing reads it.
    font.lfHeight = choice.points;
    font.lfWeight = choice.weight;
    font.lfItalic = choice.italic ? 1 : 0;
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    std::strncpy(font.lfFaceName, choice.face.c_str(), sizeof font.lfFaceName - 1);
    DLGSETCHAR(dlg, fixed ? ID_FIXEDFONT : ID_HEADERFONT, LOGFONT2NAME(font, choice.points));
}

bool ONPAGESETUP() {
    const LogFont headerFont = HeaderFont, fixedFont = FixedFont;
    DialogRecord dlg;
    if (!ENTRYDIALOGSREADY() || !DLGINIT(103, dlg)) return false;
    DLGSETSUB(dlg, 103, onInit);
    DLGSETSUB(dlg, ID_OK, onOk);
    for (int id : {ID_NONE, ID_RADIOTEXT, ID_RADIOPICTURE})
        DLGSETSUB(dlg, id, ONRADIOHEADER);
    DLGSETSUB(dlg, ID_BROWSE, ONBROWSEHEADER);
    DLGSETSUB(dlg, ID_SELECTHEADER, ONSELECTFONT);
    DLGSETSUB(dlg, ID_SELECTFIXED, ONSELECTFONT);
    const bool ok = DLGMODAL(dlg) == ID_OK;
    DLGUNINIT(dlg);
    if (!ok) {
        HeaderFont = headerFont;
        FixedFont = fixedFont;
    }
    return ok;
}
