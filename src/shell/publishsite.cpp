// File > Publish site...: the results site of the open tournament's folder,
// made by orla-cli site in a process of its own (so the open tournament is never
// touched), with its progress shown and a Cancel that stops it.
#include "shell/publishsite.h"

#include "core/hooks.h"
#include "core/tournament.h"
#include "shell/lifecycle.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "winsupport/gwfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace {

// orla-cli: the one ORLA_CLI_PROGRAM names, else beside the program, in the
// build tree's own folder, or on the path.
QString cliProgram() {
    const QString named = qEnvironmentVariable("ORLA_CLI_PROGRAM");
    if (!named.isEmpty()) return named;
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {dir + "/orla-cli", dir + "/../cli/orla-cli", dir + "/orla-cli.exe"})
        if (QFileInfo(candidate).isExecutable()) return QFileInfo(candidate).absoluteFilePath();
    return QStandardPaths::findExecutable("orla-cli");
}

// The settings key under which the site folder of tournament folder `folder` is kept.
QString siteKey(const QString& folder) {
    return "PublishSite/" + QString::fromLatin1(QUrl::toPercentEncoding(folder));
}

} // namespace

std::string SITEFOLDERFOR(const std::string& folder) {
    QSettings s("ORLA", "0.9");
    return s.value(siteKey(QString::fromStdString(folder))).toString().toStdString();
}

void ONPUBLISHSITE() {
    if (!TournamentOpen) return;
    if (!HasFileName || Modified) {
        if (SHOWMESSAGE("The site is made from the saved tournament files of the folder. Save the "
                        "tournament first?",
                        "Publish site", MSG_YESNO_QUESTION) != ANSWER_YES)
            return;
        ONFILESAVE();
        if (!HasFileName || Modified) return;
    }
    const QString folder = QFileInfo(QString::fromStdString(TournamentFile)).absolutePath();
    std::string out = SITEFOLDERFOR(folder.toStdString());
    if (out.empty()) {
        out = folder.toStdString();
        if (!GwBrowse(MainWindow, "Publish site: folder of the site", out)) return;
        if (QDir(QString::fromStdString(out)).absolutePath() == QDir(folder).absolutePath()) {
            SHOWMESSAGE("The site needs a folder of its own, not the folder of the tournament files.",
                        "Publish site");
            return;
        }
        QSettings s("ORLA", "0.9");
        s.setValue(siteKey(folder), QString::fromStdString(out));
    }
    const QString cli = cliProgram();
    if (cli.isEmpty()) {
        SHOWMESSAGE("orla-cli, which builds the site, was not found beside the program.", "Publish site");
        return;
    }

    QProcess process;
    process.setProgram(cli);
    process.setArguments({"site", folder, "-o", QString::fromStdString(out), "--progress"});
    QProgressDialog progress("Publishing the site...", "Cancel", 0, 1, MainWindow);
    progress.setWindowTitle("Publish site");
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setMinimumDuration(300);
    progress.setValue(0);
    QString summary;
    QByteArray pending;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
        pending += process.readAllStandardOutput();
        for (int end; (end = pending.indexOf('\n')) >= 0;) {
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            const QStringList words = line.split(' ');
            if (words.size() >= 3 && words[0] == "progress") {
                progress.setMaximum(std::max(1, words[2].toInt()));
                progress.setValue(std::min(words[1].toInt(), progress.maximum()));
                progress.setLabelText("Publishing the site: " + line.section(' ', 3));
            } else {
                summary = line;
            }
        }
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&] {
        // Each page is written whole, so stopping leaves a site that can be built on.
        process.kill();
    });
    process.start();
    if (process.waitForStarted(5000)) loop.exec();
    process.waitForFinished(5000);
    progress.close();
    if (progress.wasCanceled()) {
        SETSTATUS(2, "Publishing the site was cancelled.");
        return;
    }
    const QString errors = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        SHOWMESSAGE("The site in " + out + " could not be made whole:\n" +
                        (errors.isEmpty() ? process.errorString() : errors).toStdString(),
                    "Publish site");
        if (process.exitCode() != 1) return;
    }
    SETSTATUS(2, "Site published in " + out + ": " + summary.toStdString());
}
