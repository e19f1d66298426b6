#include "shell/mainwindow.h"

#include "core/tournament.h"
#include "shell/commands.h"
#include "shell/entry.h"
#include "shell/help.h"
#include "shell/icon.h"
#include "shell/lifecycle.h"
#include "shell/shell.h"
#include "shell/views.h"
#include "winsupport/gwlogm.h"
#include "winsupport/gwmenu.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int WindowWidth = 640;
constexpr int StartHeight = 405;
constexpr int MinHeight = 100;
constexpr int StatusHeight = 20;
// Right edges of the first two status parts; the third reaches the window's edge.
constexpr int StatusEdges[2] = {80, 180};

// The status bar: three sunken parts ending at 80, 180 and the window's edge.
class StatusLine : public QWidget {
  public:
    explicit StatusLine(QWidget* parent) : QWidget(parent) {
        setObjectName("StatusBar");
        setFixedHeight(StatusHeight);
        for (int i = 0; i < 3; ++i) {
            parts[i] = new QLabel(this);
            parts[i]->setObjectName(QString("StatusPart%1").arg(i + 1));
            parts[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            parts[i]->setIndent(3);
        }
    }
    std::array<QLabel*, 3> parts{};

  protected:
    void resizeEvent(QResizeEvent*) override {
        parts[0]->setGeometry(0, 0, StatusEdges[0], StatusHeight);
        parts[1]->setGeometry(StatusEdges[0], 0, StatusEdges[1] - StatusEdges[0], StatusHeight);
        parts[2]->setGeometry(StatusEdges[1], 0, std::max(0, width() - StatusEdges[1]),
                              StatusHeight);
    }
};

} // namespace

DrawArea::DrawArea(QWidget* parent) : QWidget(parent) {
    setObjectName("DrawArea");
    // The picture covers every pixel: no background to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DrawArea::resizeEvent(QResizeEvent*) {
    if (MainWindow) MainWindow->ONSIZE();
}

// A left click picks the name cell or result row under the pointer.
void DrawArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && TournamentOpen)
        ONVIEWCLICK(int(event->position().x()), int(event->position().y()));
}

// The wheel scrolls the view's list when it has a scroll bar.
void DrawArea::wheelEvent(QWheelEvent* event) {
    QWidget* bar = ViewMode == 2 ? EntryWindows.listScroll : EntryWindows.pairsScroll;
    if (auto* sb = qobject_cast<QScrollBar*>(bar); sb && sb->isVisible())
        sb->setValue(sb->value() - event->angleDelta().y() / 40);
}

void DrawArea::paintEvent(QPaintEvent* event) {
    ++paints;
    if (!MainWindow) return;
    QPainter p(this);
    const QRect r = event->rect();
    p.drawPixmap(r, MainWindow->viewBuffer(), r);
}

MainFrame::MainFrame() {
    setObjectName("MainWindow");
    setWindowTitle("ORLA");
    setWindowIcon(PROGRAMICON());
    MainWindow = this;
    GwSetMainWindow(this);
    BUILDMENU(this);
    // Alt with the keypad's Enter opens the properties too.
    if (QAction* a = action(IDM_PROPERTIES))
        a->setShortcuts({QKeySequence("Alt+Return"), QKeySequence("Alt+Enter")});

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    draw_ = new DrawArea(client);
    layout->addWidget(draw_, 1);
    auto* status = new StatusLine(client);
    parts_ = status->parts;
    layout->addWidget(status);
    setCentralWidget(client);

    // Always 640 pixels wide; between 100 pixels and the screen's free height high.
    const int maxHeight = screen()->availableGeometry().height();
    setMinimumSize(WindowWidth, MinHeight);
    setMaximumSize(WindowWidth, maxHeight);
    resize(WindowWidth, StartHeight);
    // The views draw into a picture as wide as the window and as high as the screen.
    buffer_ = QPixmap(WindowWidth, std::max(screen()->geometry().height(), StartHeight));
    buffer_.fill(palette().color(QPalette::Window));
}

MainFrame::~MainFrame() {
    if (MainWindow == this) MainWindow = nullptr;
    if (GwMainWindow() == this) GwSetMainWindow(nullptr);
}

void MainFrame::setStatus(int part, const QString& text) {
    if (part >= 0 && part < 3) parts_[part]->setText(text);
}

QString MainFrame::status(int part) const {
    return part >= 0 && part < 3 ? parts_[part]->text() : QString();
}

QAction* MainFrame::action(int id) const {
    return FINDMIBYID(menuBar(), id);
}

void MainFrame::closeWithoutAsking() {
    closing_ = true;
    close();
}

void MainFrame::closeEvent(QCloseEvent* event) {
    // Leaving the program closes the tournament as the Close command does; when
    // the changes were to be saved and could not be, the program stays.
    if (!closing_ && !ONFILECLOSE()) {
        event->ignore();
        return;
    }
    CLOSEHELP();
    event->accept();
}

// Recomputes what the views can show in the drawing area and draws them anew.
void MainFrame::ONSIZE() {
    DrawHeight = draw_->height();
    if (TournamentOpen) {
        // Rows of 20 pixels below a 20-pixel header.
        VisibleRows = std::max(0, (DrawHeight - 20) / 20);
        VisiblePairRows = VisibleRows;
        LAYOUTVIEW();
    }
    REDRAWVIEW();
}

void MainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange)
        ONACTIVATE(isActiveWindow());
    else if (event->type() == QEvent::PaletteChange && MainWindow == this)
        REDRAWVIEW();
    QMainWindow::changeEvent(event);
}

// Gives the focus back, with its text selection, to the control that had it when
// the program was left.
void MainFrame::ONACTIVATE(bool active) {
    auto lineEditOf = [](QWidget* w) -> QLineEdit* {
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit;
        if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->lineEdit();
        return nullptr;
    };
    if (!active) {
        savedFocus_ = focusWidget();
        savedSelStart_ = -1;
        if (QLineEdit* edit = lineEditOf(savedFocus_)) {
            savedSelStart_ = edit->selectionStart();
            savedSelLength_ = edit->selectedText().size();
        }
        return;
    }
    if (!savedFocus_) return;
    savedFocus_->setFocus(Qt::ActiveWindowFocusReason);
    if (QLineEdit* edit = lineEditOf(savedFocus_); edit && savedSelStart_ >= 0)
        edit->setSelection(savedSelStart_, savedSelLength_);
}
