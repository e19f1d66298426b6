#pragma once
#include <QMainWindow>

// The frame window of the program.
class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    MainFrame();
};
