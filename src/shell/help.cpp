#include "shell/help.h"
#include "shell/mainwindow.h"

#include "core/tournament.h"
#include "shell/commands.h"
#include "shell/perioddlg.h"
#include "shell/shell.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

std::string HelpFile = ":/help/sr/";
int HelpLanguageChosen = HELP_SRPSKI;
QWidget* HandDiagramWindow = nullptr;
int HelpTopicShown = HELP_NO_TOPIC;

namespace {

QPointer<QWidget> helpWindow;
QPointer<QTextBrowser> helpBrowser;

// The help window: a page browser with Contents, Back and Forward, a window of
// its own owned by `owner`.
void createHelpWindow(QWidget* owner) {
    auto* window = new QWidget(owner, Qt::Window);
    window->setObjectName("HelpWindow");
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle("ORLA Help");
    window->resize(620, 520);
    auto* browser = new QTextBrowser(window);
    browser->setObjectName("HelpBrowser");
    browser->setOpenLinks(true);
    auto* contents = new QPushButton("&Contents", window);
    auto* back = new QPushButton("&Back", window);
    auto* forward = new QPushButton("&Forward", window);
    back->setEnabled(false);
    forward->setEnabled(false);
    QObject::connect(contents, &QPushButton::clicked, [] { SHOWHELPTOPIC(HELP_DEFAULT_TOPIC); });
    QObject::connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
    QObject::connect(forward, &QPushButton::clicked, browser, &QTextBrowser::forward);
    QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    QObject::connect(browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch(1);
    // Escape closes the help, as it closes a dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
    auto* layout = new QVBoxLayout(window);
    layout->addLayout(buttons);
    layout->addWidget(browser, 1);
    helpWindow = window;
    helpBrowser = browser;
}

} // namespace

void SETHELPLANGUAGE(int language) {
    const std::string previous = HelpFile;
    HelpLanguageChosen = language == HELP_ENGLISH ? HELP_ENGLISH : HELP_SRPSKI;
    HelpFile = HelpLanguageChosen == HELP_ENGLISH ? ":/help/en/" : ":/help/sr/";
    SETCOMMANDCHECK(IDM_SRPSKI, HelpLanguageChosen == HELP_SRPSKI);
    SETCOMMANDCHECK(IDM_ENGLISH, HelpLanguageChosen == HELP_ENGLISH);
    // An open help window shows the page it is on in the new language at once.
    if (helpBrowser && previous != HelpFile) {
        QString page = helpBrowser->source().toString();
        const QString from = QString::fromStdString(previous);
        if (page.startsWith("qrc" + from)) {
            page.replace(0, 3 + from.size(), QString::fromStdString("qrc" + HelpFile));
            helpBrowser->setSource(QUrl(page));
        }
    }
}

int HELPCONTEXTTOPIC(bool inHandWindow) {
    if (!TournamentOpen) return HELP_DEFAULT_TOPIC;
    if (inHandWindow) return 1100;
    switch (ViewMode) {
    case 1:
        return SortByPlacement == 1 ? 1020 : 1050;
    case 2:
        return 1060;
    case 3:
        return 1070;
    case 4:
        return 1080;
    default:
        return HELP_NO_TOPIC;
    }
}

int DIALOGHELPTOPIC(int dialogId) {
    struct Row {
        int dialog, topic;
    };
    static constexpr Row table[] = {{101, 1090}, {102, 1140}, {104, 1110}, {105, 1120}, {108, 1130},
                                    {109, 1130}, {113, 1160}, {119, 1150}, {120, 1100}};
    for (const Row& r : table)
        if (r.dialog == dialogId) return r.topic;
    return HELP_NO_TOPIC;
}

std::string HELPTOPICURL(int topic) {
    const std::string page = topic == HELP_DEFAULT_TOPIC ? "index" : std::to_string(topic);
    return "qrc" + HelpFile + page + ".html";
}

void SHOWHELPTOPIC(int topic) {
    if (topic == HELP_NO_TOPIC) return;
    // A modal dialog blocks every window except its own: the help asked for while
    // one is shown belongs to it, so that it can be read, scrolled and closed.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) owner = MainWindow;
    if (helpWindow && helpWindow->parentWidget() != owner) helpWindow->setParent(owner, Qt::Window);
    if (!helpWindow) createHelpWindow(owner);
    helpBrowser->setSource(QUrl(QString::fromStdString(HELPTOPICURL(topic))));
    HelpTopicShown = topic;
    helpWindow->show();
    helpWindow->raise();
    helpWindow->activateWindow();
}

void CLOSEHELP() {
    delete helpWindow.data();
    HelpTopicShown = HELP_NO_TOPIC;
}

void ONHELPCONTENTS() {
    SHOWHELPTOPIC(HELP_DEFAULT_TOPIC);
}

void ONHELPCONTEXT() {
    const QWidget* active = QApplication::activeWindow();
    const bool inHand = HandDiagramWindow && active == HandDiagramWindow;
    SHOWHELPTOPIC(HELPCONTEXTTOPIC(inHand));
}

void ONDIALOGHELP(int dialogId) {
    SHOWHELPTOPIC(DIALOGHELPTOPIC(dialogId));
}

void ONHELPSRPSKI() {
    SETHELPLANGUAGE(HELP_SRPSKI);
}

void ONHELPENGLISH() {
    // The season's statistics run here first, when the season is there.
    if (!ONHELPENGLISHSTATISTICS()) return;
    SETHELPLANGUAGE(HELP_ENGLISH);
}
