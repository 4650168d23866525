#include "tests/platform/desktop/processes.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string temporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pelvaro-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    return pattern;
}

// Starts the command with the display given (or none), its output into outFd and its errors into
// errorFile; extraFd, if any, becomes descriptor 3.
pid_t launch(const std::vector<std::string>& command, const char* display, int outFd,
             const std::string& errorFile, int extraFd = -1) {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable)
        if (std::strncmp(*variable, "DISPLAY=", 8) != 0)
            environment.emplace_back(*variable);
    if (display != nullptr)
        environment.push_back(std::string("DISPLAY=") + display);
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    // A crashing probe leaves no core file behind.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    const int null = open("/dev/null", O_RDONLY);
    const int errors = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(null, STDIN_FILENO);
    dup2(outFd, STDOUT_FILENO);
    dup2(errors, STDERR_FILENO);
    if (extraFd >= 0) {
        dup2(extraFd, 3);
        fcntl(3, F_SETFD, 0);
    }
    close_range(extraFd >= 0 ? 4 : 3, ~0U, 0);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
}

// Reads a line from the descriptor into the buffer, waiting at most until the deadline.
std::optional<std::string> lineFrom(int fd, std::string& pending,
                                    std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const size_t end = pending.find('\n');
        if (end != std::string::npos) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            return std::nullopt;
        char chunk[4096];
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got <= 0)
            return std::nullopt;
        pending.append(chunk, static_cast<size_t>(got));
    }
}

} // namespace

Child::Child(const std::vector<std::string>& command, const char* display) {
    errorFile = temporaryFolder() + "/stderr";
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        std::abort();
    pid = launch(command, display, ends[1], errorFile);
    close(ends[1]);
    output = ends[0];
}

Child::~Child() {
    if (!status) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    close(output);
    std::filesystem::remove_all(std::filesystem::path(errorFile).parent_path());
}

std::optional<std::string> Child::readLine() {
    return lineFrom(output, pending, std::chrono::steady_clock::now() + patience);
}

std::optional<std::string> Child::readUntil(const std::string& prefix) {
    while (std::optional<std::string> line = readLine())
        if (line->rfind(prefix, 0) == 0)
            return line;
    return std::nullopt;
}

std::vector<std::string> Child::readRest() {
    std::vector<std::string> lines;
    while (std::optional<std::string> line = readLine())
        lines.push_back(*line);
    return lines;
}

std::optional<int> Child::wait() {
    if (!status)
        eventually([&] {
            int result = 0;
            if (waitpid(pid, &result, WNOHANG) != pid)
                return false;
            status = result;
            return true;
        });
    return status;
}

void Child::signal(int number) const {
    kill(pid, number);
}

std::vector<std::string> Child::errorLines() const {
    std::vector<std::string> lines;
    std::ifstream file(errorFile);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

std::string runProgram(const std::vector<std::string>& command, const char* display) {
    Child child(command, display);
    std::string all;
    for (const std::string& line : child.readRest())
        all += line + '\n';
    child.wait();
    return all;
}

std::unique_ptr<XServer> XServer::start(std::vector<std::string> command, std::string folder) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        std::abort();
    command.insert(command.end(), {"-displayfd", "3"});
    std::unique_ptr<XServer> server(new XServer);
    server->folder = folder;
    server->pid = launch(command, nullptr, STDERR_FILENO, folder + "/server.log", ends[1]);
    close(ends[1]);
    // The server writes its display number once it accepts clients.
    std::string pending;
    const std::optional<std::string> number =
        lineFrom(ends[0], pending, std::chrono::steady_clock::now() + patience);
    close(ends[0]);
    if (!number || number->empty())
        return nullptr;
    server->name = ":" + *number;
    return server;
}

XServer::~XServer() {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    std::filesystem::remove_all(folder);
}

std::unique_ptr<XServer> XServer::xvfb() {
    return start({"Xvfb", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
                 temporaryFolder());
}

std::unique_ptr<XServer> XServer::dummyXorg() {
    const std::string folder = temporaryFolder();
    std::ofstream(folder + "/xorg.conf") << R"(Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 32768
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
    Modeline "640x480" 25.18 640 656 752 800 480 490 492 525 -hsync -vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1024x768" "800x600" "640x480"
        Virtual 1024 768
    EndSubSection
EndSection
)";
    std::filesystem::create_directory(folder + "/conf.d");
    return start({"Xorg", "-config", folder + "/xorg.conf", "-configdir", folder + "/conf.d",
                  "-noreset", "-nolisten", "tcp", "-logfile", folder + "/xorg.log"},
                 folder);
}

std::string probePath(const std::string& name) {
    return std::string(PROBE_DIR) + "/" + name;
}
