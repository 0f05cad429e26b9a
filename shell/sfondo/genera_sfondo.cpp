// Writes the background picture of the windows to the PNG file named on the
// command line (shell/sfondo/sfondo.png in the repository).
#include "marmo.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: genera_sfondo FILE.png\n");
        return 2;
    }
    if (!Marmo().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "impossibile scrivere %s\n", argv[1]);
        return 1;
    }
    return 0;
}
