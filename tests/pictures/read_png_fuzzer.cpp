// libFuzzer target: readPng on any bytes, which it reads as a file.
#include "pictures/read_png.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An in-memory file, rewritten for every input: no disk, nothing to clean up.
    static const int descriptor = memfd_create("png", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(descriptor);
    if (ftruncate(descriptor, 0) != 0 || pwrite(descriptor, data, size, 0) != ssize_t(size))
        return 0;
    const Picture picture = readPng(path.c_str());
    delete[] picture.pixels;
    return 0;
}
