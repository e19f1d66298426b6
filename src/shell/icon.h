#pragma once
// The program's icon, painted at start-up.

#include <QIcon>
#include <QPixmap>

// The icon at `size` pixels square: a white spade on a green card table.
QPixmap PROGRAMICONPIXMAP(int size);
// The icon in the sizes windows and dialogs use.
QIcon PROGRAMICON();
