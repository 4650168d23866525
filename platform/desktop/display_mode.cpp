// Display-mode changes through XRandR. A change lasts only as long as the program: it is undone
// at exit, and a watchdog process undoes it when the program dies any other way.
#include "platform/core/backend.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/screen_config.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Change {
    std::optional<desktop::ScreenConfig> original; // set while the mode is changed
    pid_t watchdog = -1;
    int pipe = -1; // the watchdog's end of life: closed without a word, it restores
};

Change change;

// The watchdog: it waits for the program's end of the pipe to close and then, unless it was told
// first that the mode is back, restores the original configuration through its own connection.
[[noreturn]] void watch(int pipe, const char* displayName, const desktop::ScreenConfig& original) {
    // Signals meant for the program, such as Ctrl+C at its terminal, must not end the watchdog.
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP})
        std::signal(signal, SIG_IGN);
    // Holding none of the program's files, its X connections least of all, lets the server and
    // the program's readers see the program go. The pipe moves above the standard streams first:
    // it took the place of one that the program was started without.
    const int lifeline = fcntl(pipe, F_DUPFD, STDERR_FILENO + 1);
    if (lifeline > 3)
        close_range(3, static_cast<unsigned>(lifeline) - 1, 0);
    close_range(static_cast<unsigned>(lifeline) + 1, ~0U, 0);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    if (null > STDERR_FILENO)
        close(null);
    Display* display = XOpenDisplay(displayName);
    char word = 0;
    ssize_t got;
    do
        got = read(lifeline, &word, 1);
    while (got < 0 && errno == EINTR);
    if (got == 0 && display != nullptr)
        desktop::applyScreenConfig(display, original);
    _exit(0);
}

void startWatchdog(Display* display, const desktop::ScreenConfig& original) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        std::fprintf(stderr, "pelvaro: no watchdog for the screen mode: %s\n",
                     std::strerror(errno));
        return;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[1]);
        watch(ends[0], DisplayString(display), original);
    }
    close(ends[0]);
    if (pid < 0) {
        std::fprintf(stderr, "pelvaro: no watchdog for the screen mode: %s\n",
                     std::strerror(errno));
        close(ends[1]);
        return;
    }
    change.watchdog = pid;
    change.pipe = ends[1];
}

void stopWatchdog() {
    if (change.watchdog < 0)
        return;
    const char restored = 'r';
    ssize_t written;
    do
        written = write(change.pipe, &restored, 1);
    while (written < 0 && errno == EINTR);
    close(change.pipe);
    waitpid(change.watchdog, nullptr, 0);
    change.watchdog = -1;
    change.pipe = -1;
}

} // namespace

namespace backend {

LONG changeDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
    Display* display = desktop::xDisplay();
    if (display == nullptr)
        return DISP_CHANGE_FAILED;
    // An X screen keeps the depth it started with; any of the usual colour depths shows on it.
    if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return DISP_CHANGE_BADMODE;
    const std::optional<desktop::ScreenConfig> now = desktop::currentScreenConfig(display);
    if (!now)
        return DISP_CHANGE_FAILED;
    const RRMode mode = desktop::findMode(display, *now, width, height);
    if (mode == 0)
        return DISP_CHANGE_BADMODE;
    if (!change.original) {
        change.original = now;
        startWatchdog(display, *now);
        static const bool atExit = std::atexit(restoreDisplayMode) == 0;
        (void)atExit;
    }
    if (desktop::applyScreenConfig(display, desktop::withMode(display, *now, mode)))
        return DISP_CHANGE_SUCCESSFUL;
    desktop::applyScreenConfig(display, *now);
    return DISP_CHANGE_FAILED;
}

void restoreDisplayMode() {
    if (!change.original)
        return;
    desktop::applyScreenConfig(desktop::xDisplay(), *change.original);
    change.original.reset();
    stopWatchdog();
}

} // namespace backend
