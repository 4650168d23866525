// The desktop backend on X servers of the tests' own: probe programs watched from outside under
// Xvfb and under Xorg with the dummy driver, whose screen can change modes, and display-mode
// changes made in this process.
#include "platform/win32.h"
#include "tests/platform/desktop/processes.h"
#include "tests/platform/desktop/x_screen.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Message {
    unsigned number;
    unsigned long wParam;
    bool operator==(const Message&) const = default;
};

void PrintTo(const Message& message, std::ostream* out) {
    *out << "{" << message.number << ", " << message.wParam << "}";
}

// The messages the probe's window procedure reported, in order.
std::vector<Message> messagesIn(const std::vector<std::string>& lines) {
    std::vector<Message> messages;
    for (const std::string& line : lines) {
        Message message{};
        if (std::sscanf(line.c_str(), "message %u %lu", &message.number, &message.wParam) == 2)
            messages.push_back(message);
    }
    return messages;
}

// The probe's colour, orange, allowing for rounding.
bool orange(Rgb pixel) {
    return pixel.red >= 250 && std::abs(pixel.green - 128) <= 2 && pixel.blue <= 5;
}
bool light(Rgb pixel) {
    return pixel.red > 200 && pixel.green > 200 && pixel.blue > 200;
}
bool dark(Rgb pixel) {
    return pixel.red < 100 && pixel.green < 100 && pixel.blue < 100;
}

// Types on the server's keyboard: xdotool's words, "key" and the key names by default.
void type(const std::vector<std::string>& words, const std::string& display) {
    std::vector<std::string> command{"xdotool"};
    if (words.front() != "keydown" && words.front() != "mousemove")
        command.push_back("key");
    command.insert(command.end(), words.begin(), words.end());
    runProgram(command, display.c_str());
}

class OnXvfb : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = XServer::xvfb(); }
    static void TearDownTestSuite() { server.reset(); }
    void SetUp() override { ASSERT_NE(server, nullptr) << "Xvfb did not start"; }
    static const std::string& display() { return server->display(); }
    static inline std::unique_ptr<XServer> server;
};

TEST_F(OnXvfb, WindowShowsItsFrameWithACurrentContext) {
    Child probe({probePath("probe_windowed")}, display().c_str());
    const std::optional<std::string> context = probe.readUntil("context ");
    ASSERT_TRUE(context);
    EXPECT_NE(context->find("Compatibility Profile"), std::string::npos) << *context;
    ASSERT_TRUE(probe.readUntil("frame"));

    XConnection x(display());
    ASSERT_TRUE(x.open());
    const XWindow window = x.findWindow("probe");
    ASSERT_NE(window, 0u);
    const Area area = x.area(window);
    EXPECT_EQ(area.x, 0);
    EXPECT_EQ(area.y, 0);
    EXPECT_EQ(area.width, 320);
    EXPECT_EQ(area.height, 240);
    // The whole window, and nothing beside it, shows the colour drawn.
    EXPECT_TRUE(eventually([&] { return x.shareOf(area, orange) == 1.0; }));
    EXPECT_EQ(x.shareOf({area.width, 0, 1024 - area.width, 768}, orange), 0.0);

    type({"Escape"}, display());
    EXPECT_TRUE(probe.readUntil("exit 0"));
    const std::optional<int> status = probe.wait();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

struct InputCase {
    const char* name;
    std::vector<std::string> keys; // none: the window manager's close request instead
    std::vector<Message> expected; // the first messages the window procedure gets, in order
    bool endsProbe;
};

void PrintTo(const InputCase& input, std::ostream* out) {
    *out << input.name;
}

class InputOnXvfb : public OnXvfb, public ::testing::WithParamInterface<InputCase> {};

TEST_P(InputOnXvfb, ReachesTheWindowProcedureAsKeysAndCloseRequests) {
    const InputCase& input = GetParam();
    Child probe({probePath("probe_windowed")}, display().c_str());
    ASSERT_TRUE(probe.readUntil("frame"));
    if (input.keys.empty()) {
        XConnection x(display());
        const XWindow window = x.findWindow("probe");
        ASSERT_NE(window, 0u);
        x.requestClose(window);
    } else {
        type(input.keys, display());
    }
    if (!input.endsProbe)
        type({"Escape"}, display());
    const std::vector<std::string> lines = probe.readRest();
    const std::optional<int> status = probe.wait();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);

    const std::vector<Message> messages = messagesIn(lines);
    ASSERT_GE(messages.size(), input.expected.size());
    EXPECT_EQ(std::vector<Message>(messages.begin(), messages.begin() + input.expected.size()),
              input.expected);
    for (const Message& message : messages)
        EXPECT_NE(message.number, unsigned{WM_CHAR}) << "characters are never posted";
}

std::vector<Message> pressed(std::initializer_list<unsigned long> keys) {
    std::vector<Message> messages;
    for (unsigned long key : keys) {
        messages.push_back({WM_KEYDOWN, key});
        messages.push_back({WM_KEYUP, key});
    }
    return messages;
}

INSTANTIATE_TEST_SUITE_P(
    Desktop, InputOnXvfb,
    ::testing::Values(
        InputCase{"EscapeEndsTheProbe", {"Escape"}, pressed({VK_ESCAPE}), true},
        InputCase{"CloseRequestArrivesAsWmClose", {}, {{WM_CLOSE, 0}}, true},
        InputCase{"AltF4IsASystemKeyThatCloses",
                  {"alt+F4"},
                  {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, VK_F4}, {WM_CLOSE, 0}},
                  true},
        InputCase{
            "KeysCarryVirtualKeyCodes",
            {"b", "5", "F1", "F12", "Left", "Down", "space", "Return", "Tab", "BackSpace", "minus"},
            pressed({'B', '5', VK_F1, VK_F12, VK_LEFT, VK_DOWN, VK_SPACE, VK_RETURN, VK_TAB,
                     VK_BACK, 0xBD}),
            false},
        InputCase{
            "ShiftIsAKeyOfItsOwn",
            {"keydown", "shift", "key", "c", "keyup", "shift"},
            {{WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, 'C'}, {WM_KEYUP, 'C'}, {WM_KEYUP, VK_SHIFT}},
            false}),
    [](const ::testing::TestParamInfo<InputCase>& info) { return std::string(info.param.name); });

TEST_F(OnXvfb, MessageBoxesShowAndGiveTheButtonPressed) {
    struct Answer {
        std::string caption;
        std::vector<std::string> keys;
        int result;
    };
    const Answer answers[] = {
        {"probe ok", {"Return"}, IDOK},
        {"probe okcancel", {"Escape"}, IDCANCEL},
        {"probe yesno", {"Tab", "Return"}, IDNO},
    };
    Child probe({probePath("probe_message_box")}, display().c_str());
    XConnection x(display());
    ASSERT_TRUE(x.open());
    for (const Answer& answer : answers) {
        SCOPED_TRACE(answer.caption);
        XWindow box = 0;
        ASSERT_TRUE(eventually([&] { return (box = x.findWindow(answer.caption)) != 0; }));
        // On screen: a light face with dark words on it, and the keyboard is the box's.
        const Area area = x.area(box);
        EXPECT_TRUE(eventually(
            [&] { return x.shareOf(area, light) > 0.5 && x.shareOf(area, dark) > 0.002; }));
        EXPECT_TRUE(eventually([&] { return x.hasFocus(box); }));
        type(answer.keys, display());
        EXPECT_EQ(probe.readLine(), "box " + answer.caption + " " + std::to_string(answer.result));
    }
    const std::optional<int> status = probe.wait();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

// Without any display: DISPLAY unset, or naming a server that is not there.
class WithoutDisplay : public ::testing::TestWithParam<const char*> {};

TEST_P(WithoutDisplay, WindowsAndModesFailAndBoxesSpeakOnStandardError) {
    struct Run {
        const char* probe;
        std::vector<std::string> output;
        int exitCode;
        std::vector<std::string> errorsAfterTheFirst; // the first tells that there is no display
    };
    const Run runs[] = {
        {"probe_windowed", {"CreateWindowExA failed"}, 1, {}},
        {"probe_fullscreen", {"mode -1", "CreateWindowExA failed"}, 1, {}},
        {"probe_message_box",
         {"box probe ok 0", "box probe okcancel 0", "box probe yesno 0"},
         0,
         {"probe ok: Something happened.", "probe okcancel: Go on?", "probe yesno: Really?"}},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.probe);
        Child probe({probePath(run.probe)}, GetParam());
        EXPECT_EQ(probe.readRest(), run.output);
        const std::optional<int> status = probe.wait();
        ASSERT_TRUE(status);
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == run.exitCode);
        const std::vector<std::string> errors = probe.errorLines();
        ASSERT_EQ(errors.size(), 1 + run.errorsAfterTheFirst.size());
        EXPECT_NE(errors[0].find("no display"), std::string::npos) << errors[0];
        EXPECT_EQ(std::vector<std::string>(errors.begin() + 1, errors.end()),
                  run.errorsAfterTheFirst);
    }
}

INSTANTIATE_TEST_SUITE_P(Desktop, WithoutDisplay, ::testing::Values(nullptr, ":4242"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param ? "Unreachable" : "Unset");
                         });

class OnDummyXorg : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (geteuid() == 0)
            server = XServer::dummyXorg();
    }
    static void TearDownTestSuite() { server.reset(); }
    void SetUp() override {
        if (geteuid() != 0)
            GTEST_SKIP() << "Xorg with the dummy video driver needs root";
        ASSERT_NE(server, nullptr) << "Xorg with the dummy video driver did not start";
        ASSERT_EQ(screenSize(display()), "1024x768");
    }
    static const std::string& display() { return server->display(); }
    static inline std::unique_ptr<XServer> server;
};

// What the other tests of the suite rely on: this server really changes modes.
TEST_F(OnDummyXorg, ServerChangesModesThroughXrandr) {
    runProgram({"xrandr", "-s", "640x480"}, display().c_str());
    EXPECT_EQ(screenSize(display()), "640x480");
    runProgram({"xrandr", "-s", "1024x768"}, display().c_str());
    EXPECT_EQ(screenSize(display()), "1024x768");
}

TEST_F(OnDummyXorg, ChangesLastUntilRestoredAndUnknownModesAreRefused) {
    // The layer finds its display as any X program does.
    setenv("DISPLAY", display().c_str(), 1);
    struct Step {
        DWORD width, height, bits;
        LONG result;
        const char* screen;
    };
    const Step steps[] = {
        {640, 480, 32, DISP_CHANGE_SUCCESSFUL, "640x480"},
        {800, 600, 16, DISP_CHANGE_SUCCESSFUL, "800x600"},
        {1000, 700, 32, DISP_CHANGE_BADMODE, "800x600"},
        {640, 480, 8, DISP_CHANGE_BADMODE, "800x600"},
    };
    for (const Step& step : steps) {
        DEVMODEA mode{};
        mode.dmSize = sizeof(mode);
        mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
        mode.dmPelsWidth = step.width;
        mode.dmPelsHeight = step.height;
        mode.dmBitsPerPel = step.bits;
        EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), step.result)
            << step.width << "x" << step.height << "x" << step.bits;
        EXPECT_EQ(screenSize(display()), step.screen);
    }
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(screenSize(display()), "1024x768");
}

TEST_F(OnDummyXorg, CursorIsHiddenOverTheFullscreenWindow) {
    XConnection x(display());
    type({"mousemove", "320", "240"}, display());
    EXPECT_FALSE(x.cursorHidden()) << "the desktop shows its cursor";
    Child probe({probePath("probe_fullscreen")}, display().c_str());
    ASSERT_TRUE(probe.readUntil("frame"));
    type({"mousemove", "300", "200"}, display());
    EXPECT_TRUE(eventually([&] { return x.cursorHidden(); }));
    type({"Escape"}, display());
    EXPECT_TRUE(probe.readUntil("exit 0"));
}

TEST_F(OnDummyXorg, MessageBoxShowsOverTheFullscreenWindowAndGivesTheKeyboardBack) {
    Child probe({probePath("probe_fullscreen")}, display().c_str());
    ASSERT_TRUE(probe.readUntil("frame"));
    type({"m"}, display());
    XConnection x(display());
    XWindow box = 0;
    ASSERT_TRUE(eventually([&] { return (box = x.findWindow("probe box")) != 0; }));
    const Area area = x.area(box);
    EXPECT_TRUE(eventually([&] { return x.shareOf(area, light) > 0.5; }))
        << "the box is drawn over the show";
    EXPECT_TRUE(eventually([&] { return x.hasFocus(box); }));
    type({"Return"}, display());
    EXPECT_EQ(probe.readUntil("box "), "box 1");

    // The show has the keyboard again: Escape ends it.
    const XWindow show = x.findWindow("probe");
    EXPECT_TRUE(eventually([&] { return x.hasFocus(show); }));
    type({"Escape"}, display());
    EXPECT_TRUE(probe.readUntil("exit 0"));
    EXPECT_TRUE(probe.wait());
}

struct Ending {
    const char* name;
    const char* key; // null: SIGTERM from outside
    int signal;      // 0: the probe exits with the code
    int exitCode;
};

void PrintTo(const Ending& ending, std::ostream* out) {
    *out << ending.name;
}

class EndingOnDummyXorg : public OnDummyXorg, public ::testing::WithParamInterface<Ending> {};

TEST_P(EndingOnDummyXorg, FullscreenModeComesBackHoweverTheProgramEnds) {
    const Ending& ending = GetParam();
    Child probe({probePath("probe_fullscreen")}, display().c_str());
    ASSERT_EQ(probe.readLine(), "mode 0");
    ASSERT_TRUE(probe.readUntil("frame"));
    EXPECT_EQ(screenSize(display()), "640x480");
    XConnection x(display());
    EXPECT_TRUE(eventually([&] {
        return x.shareOf({0, 0, 640, 480}, orange) == 1.0;
    })) << "the window covers the whole screen";

    if (ending.key != nullptr)
        type({ending.key}, display());
    else
        probe.signal(SIGTERM);
    const std::optional<int> status = probe.wait();
    ASSERT_TRUE(status);
    if (ending.signal != 0)
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == ending.signal) << *status;
    else
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == ending.exitCode) << *status;
    EXPECT_TRUE(eventually([&] { return screenSize(display()) == "1024x768"; }))
        << "the screen stays at " << screenSize(display()).value_or("?");
}

INSTANTIATE_TEST_SUITE_P(
    Desktop, EndingOnDummyXorg,
    ::testing::Values(Ending{"NormalEnd", "Escape", 0, 0}, Ending{"ErrorPathExit", "x", 0, 3},
                      Ending{"Sigterm", nullptr, SIGTERM, 0}, Ending{"Sigsegv", "s", SIGSEGV, 0},
                      Ending{"Sigabrt", "a", SIGABRT, 0}),
    [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

} // namespace
