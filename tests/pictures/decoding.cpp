#include "tests/pictures/decoding.h"

#include "pictures/read_png.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

Decoded decodeCapturing(const std::string& path) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const Picture picture = readPng(path.c_str());
    std::string err = testing::internal::GetCapturedStderr();
    std::string out = testing::internal::GetCapturedStdout();
    return {picture, out, err};
}

int openDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

ScratchFolder::ScratchFolder() {
    std::string pattern = testing::TempDir() + "pelvaro-pictures-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "no scratch folder under " << testing::TempDir();
    folder = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::filesystem::remove_all(folder);
}
