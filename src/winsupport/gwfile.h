#pragma once
// GwFile: the common open, save and folder dialogs, and a file enumerator. Paths are
// UTF-8.

#include <string>
#include <vector>

class QWidget;

// One entry of a filter list: what the user reads and the patterns it stands for
// (several separated by ";"), e.g. {"ORLA turniri (*.otr)", "*.otr"}.
struct GwFilter {
    std::string description;
    std::string pattern;
};

// The open-file dialog. fileName comes in as the suggested file or starting folder
// and goes out as the chosen path. The list shows the filters in order and then
// "All files (*.*)"; the title is "Open" when empty; a chosen name without an
// extension gets defaultExt (without the dot; "" adds none) unless a file of exactly
// that name exists. False when cancelled.
bool GwGetOpenFile(QWidget* owner, const std::vector<GwFilter>& filters,
                   const std::string& defaultExt, std::string& fileName,
                   const std::string& title = "");
// The save-file dialog, as GwGetOpenFile with the title "Save" when empty and the
// default extension added to any name without one. When the
// chosen file exists the user is asked whether to replace it; No shows the dialog
// again.
bool GwGetSaveFile(QWidget* owner, const std::vector<GwFilter>& filters,
                   const std::string& defaultExt, std::string& fileName,
                   const std::string& title = "");
// The folder browser with the prompt "Select folder:", titled "Browse" when title is
// empty, starting in `folder`, which gets the chosen folder. False when cancelled.
bool GwBrowse(QWidget* owner, const std::string& title, std::string& folder);

// A font as the font dialog shows and returns it: face, size in points, weight
// (400 normal, 700 bold), italic.
struct GwFontChoice {
    std::string face;
    int points = 10;
    int weight = 400;
    bool italic = false;
};
// The font dialog, started from `font`, which gets the font chosen. Only existing
// fonts are offered; with `fixedPitchOnly` only fixed-pitch ones. A size outside
// minPoints..maxPoints (when maxPoints > 0) is brought into that range. False when
// cancelled (`font` unchanged).
bool GwChooseFont(QWidget* owner, GwFontChoice& font, bool fixedPitchOnly = false,
                  int minPoints = 0, int maxPoints = 0);

// The names (without folder) of the files in `folder` that match `pattern` (letter
// case ignored; "*.*" matches every file), sorted. Empty for a missing folder.
std::vector<std::string> GwEnumFiles(const std::string& folder, const std::string& pattern = "*.*");
