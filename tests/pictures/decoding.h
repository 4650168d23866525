// readPng as the tests watch it: its lines on both streams, the descriptors it leaves open, and
// a scratch folder for the files it reads.
#pragma once

#include "pictures/picture.h"

#include <string>

struct Decoded {
    Picture picture;
    std::string out; // standard output: the decoder's own line
    std::string err; // standard error: libpng's lines
};

Decoded decodeCapturing(const std::string& path);

int openDescriptorCount();

// A fresh folder, removed with everything in it when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return folder; }
    std::string file(const std::string& name) const { return folder + "/" + name; }

private:
    std::string folder;
};
