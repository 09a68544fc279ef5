// orvanta-tonegen FOLDER: writes the dial pad tones and ring.wav into FOLDER.
#include "ToneFiles.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvanta-tonegen FOLDER\n");
        return 2;
    }
    std::string error;
    if (!orvanta::tones::writeAll(argv[1], error)) {
        std::fprintf(stderr, "orvanta-tonegen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
