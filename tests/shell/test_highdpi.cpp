// The main window on a high-resolution screen (this program runs at
// QT_SCALE_FACTOR=2 on the offscreen platform's 800 x 600 screen, 400 x 300 in
// logical pixels): the window stays on the screen, and the views are drawn in the
// screen's own pixels, not enlarged from a picture of half the resolution.

#include "core/tournament.h"
#include "shell/lifecycle.h"
#include "shell/mainwindow.h"
#include "shell/shell.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwseam.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class HighDpiTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        qputenv("XDG_CONFIG_HOME", settingsDir_.path().toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
        qputenv("ORLA_PROGRAM_FOLDER", settingsDir_.path().toLocal8Bit());
        QApplication::setQuitOnLastWindowClosed(false);
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
    }
    void init() { GwSeamStart(); }
    void cleanup() {
        SHUTDOWN();
        GwSeamStop();
    }

    // On a screen smaller than the window, it opens at the free area's top left,
    // no higher than that area, frame included.
    void theWindowStartsOnTheScreen() {
        MainFrame* w = STARTUP({});
        const QRect free = w->screen()->availableGeometry();
        QVERIFY(free.width() < 640);
        const QRect outer = w->frameGeometry();
        QVERIFY2(outer.left() >= free.left() && outer.top() >= free.top(),
                 qPrintable(QString("window at %1,%2").arg(outer.left()).arg(outer.top())));
        QVERIFY(outer.height() <= free.height());
        QVERIFY(w->maximumHeight() + (outer.height() - w->height()) <= free.height());
        QCOMPARE(w->width(), 640);
    }

    // The picture has the screen's pixel ratio; its text has detail finer than a
    // logical pixel, which a picture of half the resolution enlarged cannot have.
    void theViewIsDrawnAtTheScreensRatio() {
        MainFrame* w = STARTUP({});
        GwSeamOnNextModal([](DialogRecord& dlg) {
            if (auto* ok = dlg.window->findChild<QAbstractButton*>("1")) ok->click();
        });
        ONFILENEW();
        QCoreApplication::processEvents();
        const QImage shown = w->drawArea()->grab().toImage();
        QCOMPARE(shown.width(), 2 * w->drawArea()->width());
        // The rows of particulars (from 44 logical pixels down), in 2 x 2 blocks of
        // device pixels: enlarged, every block is one colour.
        int finer = 0;
        for (int y = 88; y < 88 + 7 * 44; y += 2)
            for (int x = 0; x < 560; x += 2) {
                const QRgb c = shown.pixel(x, y);
                if (shown.pixel(x + 1, y) != c || shown.pixel(x, y + 1) != c ||
                    shown.pixel(x + 1, y + 1) != c)
                    ++finer;
            }
        QVERIFY2(finer > 100, qPrintable(QString::number(finer)));
        QCOMPARE(w->viewBuffer().devicePixelRatio(), 2.0);
        QCOMPARE(w->viewBuffer().width(), 2 * w->drawArea()->width());
        // And what is shown is the picture itself, pixel for pixel.
        const QImage picture = w->viewBuffer().toImage();
        for (const QPoint p :
             {QPoint(10, 10), QPoint(300, 100), QPoint(41, 101), QPoint(1000, 300)})
            QCOMPARE(shown.pixel(p), picture.pixel(p));
    }
};

QTEST_MAIN(HighDpiTest)
#include "test_highdpi.moc"
