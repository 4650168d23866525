// The process entry of a program built on the platform layer.
#include "platform/win32.h"

int main() {
    // The system never consults its command line: it always gets an empty one.
    char commandLine[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
}
