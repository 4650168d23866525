// Shows the message boxes of a table one after the other and prints each answer on standard
// output as "box <caption> <result>".
#include "platform/win32.h"

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    struct Box {
        const char* caption;
        const char* text;
        UINT type;
    };
    const Box boxes[] = {
        {"probe ok", "Something\nhappened.", MB_OK | MB_ICONINFORMATION},
        {"probe okcancel", "Go on?", MB_OKCANCEL | MB_ICONWARNING},
        {"probe yesno", "Really?", MB_YESNO | MB_ICONQUESTION},
    };
    for (const Box& box : boxes) {
        const int result = MessageBoxA(nullptr, box.text, box.caption, box.type);
        std::printf("box %s %d\n", box.caption, result);
        std::fflush(stdout);
    }
    return 0;
}
