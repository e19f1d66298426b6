// A rated evening corrected in the board lists: whatever leaves the program
// afterwards (the saved file, a print, every export) carries the figures of the
// corrected results, rating changes included; a board left with Escape and an
// arrow is scored; a recalculation that changes what the file stores marks the
// tournament modified.

#include "core/tournament.h"
#include "core/tournamentfile.h"
#include "players/players.h"
#include "reports/reports.h"
#include "scoring/scoring.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/lifecycle.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "winsupport/gwctl.h"
#include "winsupport/gwmessage.h"
#include "winsupport/gwseam.h"
#include "windowtest.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(20000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

std::vector<float> ratingChanges() {
    return std::vector<float>(RatingChange.data(), RatingChange.data() + RatingChange.size());
}

std::string playerName(int p, int j) {
    return "Igrac " + std::to_string(p) + (j == 1 ? "a" : "b");
}

// The whole recalculation, as a reference.
void recalculateAll() {
    NeedsRecalc = false;
    CALCALL();
}

} // namespace

class FiguresTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;
    std::unique_ptr<QTemporaryDir> files_;

    QString file(const QString& name) const { return files_->path() + "/" + name; }

    // The club's register: every player of the evening, ratings far apart.
    void writeRegister() {
        std::string bytes;
        for (int p = 1; p <= 20; ++p)
            for (int j = 1; j <= 2; ++j)
                bytes += rec(playerName(p, j), 400 + 37 * p + 250 * j, 0);
        QFile f(settingsDir_.path() + "/Players.opd");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }

    // The evening as the director saved it: rated, its figures current; then
    // opened again through File > Open.
    void openRatedEvening() {
        const QString path = file("evening.otr");
        QVERIFY(QFile::copy(QString(ORLA_TEST_DATA_DIR) + "/mitchell_mp/input.otr", path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        GwSeamNextFileName(path.toStdString());
        QVERIFY(ONCOMMAND(IDM_FILEOPEN));
        QVERIFY(TournamentOpen);
        for (int p = 1; p <= NumPairs; ++p)
            for (int j = 1; j <= 2; ++j)
                SETFIELD(PlayerNames(p, j).c, NameLength, playerName(p, j));
        RatingMode = -1;
        recalculateAll();
        QVERIFY(WRITENTRFILE());
        GwSeamNextFileName(path.toStdString());
        QVERIFY(ONCOMMAND(IDM_FILEOPEN));
        QVERIFY(TournamentOpen && !Modified);
        QCOMPARE(RatingMode, -1);
    }

    // In the board lists, row 1 of board 1 gets another score, typed and
    // confirmed with Enter; the board is not left.
    void correctFirstResult() {
        QVERIFY(ONCOMMAND(IDM_BOARDLISTS));
        QCOMPARE(CURRENTBOARD(), 1);
        QCOMPARE(EditEntry, 1);
        auto* f = static_cast<QLineEdit*>(EntryWindows.field[1]);
        const QString typed = Results(1, 1) > 0 ? "-30" : "69";
        f->selectAll();
        QTest::keyClicks(f, typed);
        QTest::keyClick(f, Qt::Key_Return);
        QCOMPARE(Results(1, 1), typed.toFloat());
        QVERIFY(Modified);
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        USETESTFOLDERS(settingsDir_.path());
    }

    void init() {
        files_ = std::make_unique<QTemporaryDir>();
        writeRegister();
        QVERIFY(OPENTESTWINDOW());
        QCOMPARE(RegisteredCount, 40);
    }

    void cleanup() {
        CLOSETESTWINDOW();
        files_.reset();
    }

    // Save, Print and every export right after the correction: what they write
    // is what a whole recalculation gives.
    void whatLeavesIsCurrent_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("view"); // where the command is given
        QTest::newRow("save") << "save" << 0;
        QTest::newRow("save as") << "save as" << 0;
        QTest::newRow("print the board lists") << "print" << 0;
        QTest::newRow("print the frequency lists") << "print" << int(IDM_FREQUENCY);
        QTest::newRow("print the score lists") << "print" << int(IDM_PERSONAL);
        QTest::newRow("export text") << "text" << 0;
        QTest::newRow("export PBN") << "pbn" << 0;
        QTest::newRow("export HTML") << "html" << int(IDM_FREQUENCY);
    }
    void whatLeavesIsCurrent() {
        QFETCH(QString, command);
        QFETCH(int, view);
        openRatedEvening();
        const std::vector<float> stored = ratingChanges();
        correctFirstResult();
        if (view) QVERIFY(ONCOMMAND(view));

        const QString out = file("out");
        QByteArray written;
        if (command == "save") {
            QVERIFY(ONCOMMAND(IDM_FILESAVE));
        } else if (command == "save as") {
            GwSeamNextFileName(file("copy.otr").toStdString());
            QVERIFY(ONCOMMAND(IDM_FILESAVEAS));
        } else if (command == "print") {
            GwSeamNextPrint((out + ".pdf").toStdString());
            QVERIFY(ONCOMMAND(IDM_PRINT));
        } else {
            const int id = command == "text" ? IDM_EXPORTTEXT
                           : command == "pbn" ? IDM_EXPORTPBN
                                              : IDM_EXPORTHTML;
            GwSeamNextFileName((out + "." + command).toStdString());
            QVERIFY(ONCOMMAND(id));
            written = readAll(out + "." + command);
            QVERIFY(!written.isEmpty());
        }
        const std::vector<float> shown = ratingChanges();
        const QString printed = command == "print" ? pdfText(out + ".pdf") : QString();

        recalculateAll();
        const std::vector<float> current = ratingChanges();
        QVERIFY(current != stored); // the correction moves the ratings
        QVERIFY(shown == current);
        if (command.startsWith("save")) {
            QVERIFY(!Modified);
            const QString saved = command == "save" ? file("evening.otr") : file("copy.otr");
            QVERIFY(OPENNTRFILE(saved.toStdString()));
            QVERIFY(ratingChanges() == current);
        } else if (command == "print") {
            GwSeamNextPrint((out + "2.pdf").toStdString());
            QVERIFY(ONCOMMAND(IDM_PRINT));
            QCOMPARE(printed, pdfText(out + "2.pdf"));
        } else {
            const std::string composed =
                command == "text" ? TEXTEXPORT() : command == "pbn" ? PBNEXPORT() : HTMLEXPORT();
            QCOMPARE(written, QByteArray::fromStdString(composed));
        }
    }

    // Escape and an arrow key to the next board score the board left: its
    // frequency list is that of what was typed.
    void boardLeftWithEscapeIsScored() {
        openRatedEvening();
        correctFirstResult();
        auto* f = EntryWindows.field[1];
        QTest::keyClick(f, Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), EntryWindows.board);
        QTest::keyClick(EntryWindows.board, Qt::Key_Down);
        QCOMPARE(CURRENTBOARD(), 2);
        const auto shown = FREQUENCYTABLE(1);
        CALCULATEBOARD(1);
        QVERIFY(FREQUENCYTABLE(1) == shown);
    }

    // A recalculation that changes the rating changes the file holds (a rating
    // in the register changed since) marks the tournament modified, so that
    // Close asks.
    void recalculationMarksTheFileModified() {
        openRatedEvening();
        const std::vector<float> stored = ratingChanges();
        QVERIFY(CHANGEREGRATING(playerName(1, 1), 2000));
        QVERIFY(ONCOMMAND(IDM_SORTBYPLACEMENT));
        QVERIFY(ratingChanges() != stored);
        QVERIFY(Modified);
        GwSeamNextAnswer(GW_IDCANCEL);
        QVERIFY(!ONFILECLOSE());
        QCOMPARE(GwSeamMessages().back().text,
                 std::string("Do you want to save changes to the file?"));
    }
};

QTEST_MAIN(FiguresTest)
#include "test_figures.moc"
