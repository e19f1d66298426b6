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
#include <QRegion>
#include <QScreen>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

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
    // The first two parts are at least as wide as their longest figures in the
    // font shown, so that "Rating: 1086" is never cut.
    void resizeEvent(QResizeEvent*) override {
        auto fit = [](QLabel* part, const char* longest, int least) {
            const int pad = 2 * part->frameWidth() + part->indent() + 2 * part->margin() + 6;
            return std::max(least, part->fontMetrics().horizontalAdvance(longest) + pad);
        };
        const int first = fit(parts[0], "Rating: 9999", StatusEdges[0]);
        const int second = first + fit(parts[1], "Boards: 999/999", StatusEdges[1] - StatusEdges[0]);
        parts[0]->setGeometry(0, 0, first, StatusHeight);
        parts[1]->setGeometry(first, 0, second - first, StatusHeight);
        parts[2]->setGeometry(second, 0, std::max(0, width() - second), StatusHeight);
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
    QWidget* bar = ViewMode >= 2 ? EntryWindows.listScroll : EntryWindows.pairsScroll;
    if (auto* sb = qobject_cast<QScrollBar*>(bar); sb && sb->isVisible())
        sb->setValue(sb->value() - event->angleDelta().y() / 40);
}

void DrawArea::paintEvent(QPaintEvent* event) {
    ++paints;
    if (!MainWindow) return;
    // A window moved to a screen of another pixel ratio gets a picture to match.
    if (!MainWindow->viewBufferFits()) MainWindow->ONSIZE();
    QPainter p(this);
    const QRect r = event->rect();
    const QPixmap& buffer = MainWindow->viewBuffer();
    // The picture is kept in device pixels: the source is the same area in them.
    const qreal ratio = buffer.devicePixelRatio();
    p.drawPixmap(QRectF(r), buffer,
                 QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio));
    // Whatever the picture does not reach is background, never stale pixels.
    const QRect covered(QPoint(0, 0), buffer.deviceIndependentSize().toSize());
    for (const QRect& rest : QRegion(r).subtracted(covered))
        p.fillRect(rest, palette().color(QPalette::Window));
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
    setMinimumSize(WindowWidth, MinHeight);
    resize(WindowWidth, StartHeight);
    FITTOSCREEN();
    MAKEVIEWBUFFER();
}

void MainFrame::FITTOSCREEN() {
    // The frame (title bar and borders) counts against the free height too.
    const QRect free = screen()->availableGeometry();
    const int frame = std::max(0, frameGeometry().height() - height());
    const int maxHeight = std::max(MinHeight, free.height() - frame);
    setMaximumSize(WindowWidth, maxHeight);
    if (height() > maxHeight) resize(WindowWidth, maxHeight);
}

void MainFrame::MAKEVIEWBUFFER() {
    // As wide as the drawing area (640 pixels, unless a window manager made it
    // wider) and as high as the screen, in the screen's own pixels so that text is
    // as sharp as anywhere else in the window.
    const qreal ratio = devicePixelRatioF();
    const int width = std::max(WindowWidth, draw_->width());
    const int height = std::max({screen()->geometry().height(), StartHeight, draw_->height()});
    buffer_ = QPixmap(QSize(qCeil(width * ratio), qCeil(height * ratio)));
    buffer_.setDevicePixelRatio(ratio);
    buffer_.fill(palette().color(QPalette::Window));
}

bool MainFrame::viewBufferFits() const {
    const QSizeF size = buffer_.deviceIndependentSize();
    return buffer_.devicePixelRatio() == devicePixelRatioF() && size.width() >= draw_->width() &&
           size.height() >= draw_->height();
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
    if (!viewBufferFits()) MAKEVIEWBUFFER();
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
