// File > Publish site... walked through the seams: the site folder asked for
// once and remembered for the tournament's folder, the pages made by orla-cli,
// unsaved changes offered to be saved first.
#include "core/tournament.h"
#include "shell/commands.h"
#include "shell/publishsite.h"
#include "shell/windowtest.h"
#include "winsupport/gwmessage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class PublishTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    std::unique_ptr<QTemporaryDir> files_;

    QString file(const QString& name) const { return files_->path() + "/" + name; }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        USETESTFOLDERS(settingsDir_.path());
        qputenv("ORLA_CLI_PROGRAM", ORLA_CLI);
    }

    void init() {
        files_ = std::make_unique<QTemporaryDir>();
        QVERIFY(OPENTESTWINDOW());
    }

    void cleanup() {
        CLOSETESTWINDOW();
        files_.reset();
    }

    void asksForTheFolderOnceAndBuildsTheSite() {
        QVERIFY(!COMMANDENABLED(IDM_PUBLISHSITE));
        QDir().mkpath(file("season"));
        QVERIFY(QFile::copy(QString(ORLA_TEST_DATA_DIR) + "/mitchell_mp/input.otr", file("season/Club night.otr")));
        QVERIFY(QFile::copy(QString(ORLA_TEST_DATA_DIR) + "/howell_imp/input.otr", file("season/howell.otr")));
        GwSeamNextFileName(file("season/Club night.otr").toStdString());
        QVERIFY(ONCOMMAND(IDM_FILEOPEN));
        QVERIFY(COMMANDENABLED(IDM_PUBLISHSITE));

        // The first time: the site's folder is asked for; the folder of the
        // tournaments themselves is refused.
        GwSeamNextFolder(file("season").toStdString());
        QVERIFY(ONCOMMAND(IDM_PUBLISHSITE));
        QVERIFY(!QFileInfo::exists(file("season/index.html")));
        QVERIFY(GwSeamMessages().back().text.find("folder of its own") != std::string::npos);

        GwSeamNextFolder(file("www").toStdString());
        QVERIFY(ONCOMMAND(IDM_PUBLISHSITE));
        QCOMPARE(GwSeamLastBrowseTitle(), std::string("Publish site: folder of the site"));
        QVERIFY(QFileInfo::exists(file("www/index.html")));
        QVERIFY(QFileInfo::exists(file("www/club-night/pair-10.html")));
        QVERIFY(QFileInfo::exists(file("www/howell/board-1.html")));
        QCOMPARE(SITEFOLDERFOR(QFileInfo(file("season")).absoluteFilePath().toStdString()),
                 file("www").toStdString());

        // The next time nothing is asked: no folder is queued, and the lost page
        // comes back.
        QVERIFY(QFile::remove(file("www/club-night/board-3.html")));
        const std::size_t messages = GwSeamMessages().size();
        QVERIFY(ONCOMMAND(IDM_PUBLISHSITE));
        QVERIFY(QFileInfo::exists(file("www/club-night/board-3.html")));
        QCOMPARE(GwSeamMessages().size(), messages);

        // Unsaved changes: the director is asked; No publishes nothing.
        SETSAVE(true);
        QVERIFY(QFile::remove(file("www/club-night/board-3.html")));
        GwSeamNextAnswer(GW_IDNO);
        QVERIFY(ONCOMMAND(IDM_PUBLISHSITE));
        QVERIFY(GwSeamMessages().back().text.find("Save the tournament first?") != std::string::npos);
        QVERIFY(!QFileInfo::exists(file("www/club-night/board-3.html")));
    }
};

QTEST_MAIN(PublishTest)
#include "test_publish.moc"
