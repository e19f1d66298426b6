// The text and HTML exports of the view the main window shows, and writing an
// export to its file.
#include "core/cp1250.h"
#include "core/hooks.h"
#include "core/safefile.h"
#include "core/strings.h"
#include "core/tournament.h"
#include "players/players.h"
#include "reports/reportlines.h"
#include "reports/reports.h"

namespace {

// The report of the current view in `mode`.
void viewReport(int mode) {
    switch (ViewMode) {
    case 2:
        if (mode == OUTPUT_TEXT) {
            EXPORTBOARDS();
        } else {
            for (int b = 1; b <= REPORTBOARDS(); ++b) {
                if (SETOFBOARD(b) == 0) continue;
                if (b > 1 && mode == OUTPUT_HTML) EXPORTLINE("<hr>");
                OUTPUTBOARD(mode, b);
            }
        }
        break;
    case 3:
        PRINTFREQUENCIES(mode);
        break;
    case 4:
        PRINTPERSONAL(mode, PersonalPair);
        break;
    default:
        OUTPUTTOURNAMENT(mode);
        break;
    }
}

} // namespace

// Composes the text export of the current view in ExportUnit and returns it.
std::string TEXTEXPORT() {
    ExportUnit.clear();
    if (ViewMode != 2) {
        EXPORTLINE(CP1250TOUTF8(TOURNAMENTNAMETEXT()));
        EXPORTLINE("");
        EXPORTLINE("");
    }
    viewReport(OUTPUT_TEXT);
    return std::move(ExportUnit);
}

// Composes the HTML export of the current view in ExportUnit and returns it.
std::string HTMLEXPORT() {
    ExportUnit.clear();
    const std::string name = HTMLTEXT(TOURNAMENTNAMETEXT());
    for (const char* line :
         {"<html>", "", "<head>",
          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">",
          "<meta name=\"GENERATOR\" content=\"Microsoft FrontPage 4.0\">",
          "<meta name=\"ProgId\" content=\"FrontPage.Editor.Document\">"})
        EXPORTLINE(line);
    EXPORTLINE("<title>ORLA -" + name + "</title>");
    for (const char* line :
         {"<base target=\"_self\">", "</head>", "",
          "<link rel=\"stylesheet\" type=\"text/css\" href=\"../../orla.css\">",
          "<body background=\"../../images/CDHS.gif\" topmargin=\"0\" leftmargin=\"0\">"})
        EXPORTLINE(line);
    EXPORTLINE("<p class=\"MsoNormal\" align=\"center\" style=\"margin-top: 6\"><font size=\"5\" "
               "face=\"Verdana\"><b>" +
               name + "</b></font></p>");
    EXPORTLINE("");
    EXPORTLINE("");
    viewReport(OUTPUT_HTML);
    for (const char* line : {"", "</body>", "", "</html>", ""})
        EXPORTLINE(line);
    return std::move(ExportUnit);
}

std::string DEFAULTEXPORTNAME() {
    const auto dot = TournamentFileTitle.rfind('.');
    const std::string stem =
        dot == std::string::npos ? std::string() : TournamentFileTitle.substr(0, dot);
    return stem.empty() ? "Tournament" : stem;
}

bool EXPORTTARGETOK(const std::string& name) {
    const char* what = nullptr;
    if (TournamentOpen && HasFileName && SAMEFILE(name, TournamentFile))
        what = "the tournament file the export is made from";
    else if (!PlayersFile.empty() && SAMEFILE(name, PlayersFile))
        what = "the players register";
    if (!what) return true;
    SHOWMESSAGE("The file " + CONTROLPICTURES(name) + " is " + what +
                    ": it is left as it was. Choose another file for the export.",
                "Error");
    return false;
}

bool WRITEEXPORT(const std::string& name, const std::string& bytes) {
    if (!EXPORTTARGETOK(name)) return false;
    std::string reason;
    if (SAFEWRITEFILE(name, bytes.data(), bytes.size(), reason)) return true;
    SHOWMESSAGE("The file " + CONTROLPICTURES(name) + " could not be written: " + reason + ".",
                "Error");
    return false;
}
