#pragma once
// The frame window: menu, drawing area and the three-part status bar. Its event
// handlers are the frame procedure of the program: they pass every command to
// ONCOMMAND and keep the window's size rules.

#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include <array>

class QAction;

// The area in which the views are shown: it copies the off-screen picture.
class DrawArea : public QWidget {
    Q_OBJECT
  public:
    explicit DrawArea(QWidget* parent);
    // Number of times it has been painted (the start-up benchmark waits for one).
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

class MainFrame : public QMainWindow {
    Q_OBJECT
  public:
    MainFrame();
    ~MainFrame() override;

    // The drawing area and the off-screen picture that the views draw into: as
    // wide as the drawing area and as high as the screen, at the screen's pixel
    // ratio (it draws in logical pixels like the window).
    DrawArea* drawArea() const { return draw_; }
    QPixmap& viewBuffer() { return buffer_; }
    // Sets part 0, 1 or 2 of the status bar.
    void setStatus(int part, const QString& text);
    QString status(int part) const;
    // The menu action of a command id (nullptr when the menu has none).
    QAction* action(int id) const;
    // Leaves the window without asking about unsaved changes (shut-down of tests).
    void closeWithoutAsking();
    // The drawing area changed size: DrawHeight, the rows that fit, a new picture.
    void ONSIZE();
    // Keeps the window within the free area of its screen: the maximum height is
    // that area's height less the frame, and a taller window is made lower.
    void FITTOSCREEN();
    // Whether the picture covers the drawing area at the screen's pixel ratio.
    bool viewBufferFits() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void ONACTIVATE(bool active);
    // Makes the picture anew (background only) for the drawing area's size and
    // the screen's pixel ratio.
    void MAKEVIEWBUFFER();

    DrawArea* draw_ = nullptr;
    QPixmap buffer_;
    std::array<QLabel*, 3> parts_{};
    bool closing_ = false;
    // The widget that had the focus when the program was last deactivated, and
    // the selection of its text.
    QPointer<QWidget> savedFocus_;
    int savedSelStart_ = -1;
    int savedSelLength_ = 0;
};
