// Writes the test fixtures into a folder, as seeds for the decoder's fuzzer.
#include "tests/pictures/png_fixtures.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    if (!writeFixtures(argv[1])) {
        std::fprintf(stderr, "%s: cannot write into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
