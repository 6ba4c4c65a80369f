// Writes the desktop entry that starts the program at a given path: the entry `make
// install` puts into the system's applications folder, made by the same code as the one the
// file-association page writes for the user.
//   orvalis-desktop-entry PROGRAM OUTPUT
#include <cstdio>

#include "base/AtomicFile.h"
#include "settings/FileAssociations.h"

int main(int argc, char** argv) {
    if (argc != 3 || argv[1][0] != '/') {
        std::fprintf(stderr, "usage: orvalis-desktop-entry /absolute/path/of/orvalis OUTPUT\n");
        return 2;
    }
    if (!orvalis::writeFileAtomically(argv[2], orvalis::desktopEntryText(argv[1]))) {
        std::fprintf(stderr, "orvalis-desktop-entry: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
