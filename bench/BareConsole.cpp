// The least a console program does to say something: one line on its
// standard output. The benchmark starts it beside claverix.com to see what
// the command's own start adds before its first output.
#include <windows.h>

int main() {
    // Straight to the handle, as claverix.com writes to a pipe: no C library buffer.
    constexpr char kLine[] = "Bare\r\n";
    DWORD written = 0;
    return ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), kLine, sizeof kLine - 1, &written, nullptr) ? 0 : 1;
}
