#include "shell/mainwindow.h"

MainFrame::MainFrame() {
    setWindowTitle("ORLA");
    resize(640, 405);
}
