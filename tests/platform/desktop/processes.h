// Programs and X servers that the desktop tests start, watch and end.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

// How long anything outside the test may take before the test gives up on it.
constexpr std::chrono::seconds patience = 20s;

// A program run with its standard output read line by line and its standard error kept in a
// file. Ended with SIGKILL if it still runs when dropped.
class Child {
public:
    // display: the X display the program sees, or null for none at all.
    Child(const std::vector<std::string>& command, const char* display);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The next line, or nothing at the end of the output or after the patience ran out.
    std::optional<std::string> readLine();
    // Lines until the one that starts with the prefix, which is returned; nothing if none came.
    std::optional<std::string> readUntil(const std::string& prefix);
    // Every line still to come.
    std::vector<std::string> readRest();
    // The wait status once the program has ended, or nothing if it did not end in time.
    std::optional<int> wait();
    void signal(int number) const;
    std::vector<std::string> errorLines() const;

private:
    pid_t pid = -1;
    int output = -1;
    std::string pending;
    std::string errorFile;
    std::optional<int> status;
};

// Runs a program to its end and gives its standard output.
std::string runProgram(const std::vector<std::string>& command, const char* display);

// An X server on a display it picks itself among the free ones; ended when dropped.
class XServer {
public:
    static std::unique_ptr<XServer> xvfb();
    // Xorg with the dummy video driver, whose screen can change modes; null when it cannot be run.
    static std::unique_ptr<XServer> dummyXorg();
    ~XServer();
    const std::string& display() const { return name; }

private:
    XServer() = default;
    static std::unique_ptr<XServer> start(std::vector<std::string> command, std::string folder);
    pid_t pid = -1;
    std::string name;
    std::string folder; // removed at the end
};

// Where the probe programs were built.
std::string probePath(const std::string& name);

// Polls the condition until it holds or the patience runs out.
template <typename Condition> bool eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}
