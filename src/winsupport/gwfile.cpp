#include "winsupport/gwfile.h"

#include "winsupport/gwcontrol.h"
#include "winsupport/gwmessage.h"
#include "winsupport/gwseam.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>

#include <algorithm>

namespace {

// The dialog shows each description as it is (HideNameFilterDetails) and filters by
// the patterns after it, so "All files (*.*)" also lists files without a dot.
QStringList NameFilters(const std::vector<GwFilter>& filters) {
    QStringList list;
    for (const auto& f : filters)
        list << QS(f.description) + " (" + QS(f.pattern).split(';', Qt::SkipEmptyParts).join(' ') +
                    ")";
    list << "All files (*.*) (*)";
    return list;
}

// Runs the open or save dialog (or its seam) until a name is accepted.
bool FileDialog(bool save, QWidget* owner, const std::vector<GwFilter>& filters,
                const std::string& defaultExt, std::string& fileName, const std::string& title) {
    GwSeamFileDialog asked;
    asked.save = save;
    asked.title = title.empty() ? (save ? "Save" : "Open") : title;
    for (const auto& f : filters)
        asked.filters.push_back(f.description);
    asked.filters.push_back("All files (*.*)");
    asked.defaultExt = defaultExt;
    asked.fileName = fileName;
    for (;;) {
        std::string chosen;
        std::optional<std::string> seamPath;
        if (SEAMFILE(asked, seamPath)) {
            if (!seamPath) return false;
            chosen = *seamPath;
        } else {
            QFileDialog dialog(owner ? owner : GwMainWindow(), QS(asked.title));
            dialog.setOptions(QFileDialog::DontUseNativeDialog |
                              QFileDialog::HideNameFilterDetails |
                              QFileDialog::DontConfirmOverwrite);
            dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
            dialog.setNameFilters(NameFilters(filters));
            const QFileInfo start(QS(fileName));
            if (!fileName.empty() && start.isDir())
                dialog.setDirectory(start.absoluteFilePath());
            else if (!fileName.empty()) {
                dialog.setDirectory(start.absolutePath());
                dialog.selectFile(start.fileName());
            }
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                return false;
            chosen = SS(dialog.selectedFiles().first());
        }
        if (chosen.empty()) return false;
        const QFileInfo info(QS(chosen));
        // A name typed without extension gets the default one, unless an existing file
        // to open has exactly that name.
        if (!defaultExt.empty() && info.suffix().isEmpty() && (save || !info.isFile()))
            chosen += "." + defaultExt;
        if (save && QFileInfo::exists(QS(chosen)) &&
            GwMessageBox(owner,
                         SS(QFileInfo(QS(chosen)).fileName()) +
                             " already exists.\nDo you want to replace it?",
                         asked.title, GW_MB_QUESTION) != GW_IDYES)
            continue;
        fileName = chosen;
        return true;
    }
}

} // namespace

bool GwGetOpenFile(QWidget* owner, const std::vector<GwFilter>& filters,
                   const std::string& defaultExt, std::string& fileName, const std::string& title) {
    return FileDialog(false, owner, filters, defaultExt, fileName, title);
}

bool GwGetSaveFile(QWidget* owner, const std::vector<GwFilter>& filters,
                   const std::string& defaultExt, std::string& fileName, const std::string& title) {
    return FileDialog(true, owner, filters, defaultExt, fileName, title);
}

bool GwBrowse(QWidget* owner, const std::string& title, std::string& folder) {
    const std::string caption = title.empty() ? "Browse" : title;
    std::optional<std::string> chosen;
    if (!SEAMFOLDER(caption, chosen)) {
        QFileDialog dialog(owner ? owner : GwMainWindow(), QS(caption));
        dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setLabelText(QFileDialog::LookIn, "Select folder:");
        dialog.setDirectory(QS(folder));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = SS(dialog.selectedFiles().first());
    }
    if (!chosen || chosen->empty()) return false;
    folder = *chosen;
    return true;
}

std::vector<std::string> GwEnumFiles(const std::string& folder, const std::string& pattern) {
    const QString filter = pattern.empty() || pattern == "*.*" ? "*" : QS(pattern);
    // Without QDir::CaseSensitive the patterns ignore letter case.
    const QStringList names =
        QDir(QS(folder)).entryList({filter}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    std::vector<std::string> result;
    for (const auto& n : names)
        result.push_back(SS(n));
    return result;
}

bool GwChooseFont(QWidget* owner, GwFontChoice& font, bool fixedPitchOnly, int minPoints,
                  int maxPoints) {
    GwSeamFontDialog asked{fixedPitchOnly, minPoints, maxPoints, font};
    std::optional<GwFontChoice> chosen;
    if (!SEAMFONT(asked, chosen)) {
        QFont start(QS(font.face));
        start.setPointSize(std::max(font.points, 1));
        start.setWeight(QFont::Weight(std::clamp(font.weight, 100, 900)));
        start.setItalic(font.italic);
        QFontDialog dialog(start, owner ? owner : GwMainWindow());
        dialog.setOption(QFontDialog::DontUseNativeDialog);
        if (fixedPitchOnly) {
            dialog.setOption(QFontDialog::MonospacedFonts);
            dialog.setOption(QFontDialog::ScalableFonts, false);
        }
        if (dialog.exec() != QDialog::Accepted) return false;
        const QFont f = dialog.selectedFont();
        chosen = GwFontChoice{SS(f.family()), f.pointSize(), int(f.weight()), f.italic()};
    }
    if (!chosen) return false;
    font = *chosen;
    if (maxPoints > 0) font.points = std::clamp(font.points, minPoints, maxPoints);
    return true;
}
