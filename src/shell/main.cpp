#include "shell/shell.h"

int main(int argc, char** argv) {
    return ORLAMAIN(argc, argv);
}
