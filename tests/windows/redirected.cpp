// Runs a program with its output taken, as cmd.exe runs `program > file`: the standard
// handles given through STARTF_USESTDHANDLES. Copies what it writes to this program's
// own output and exits with its status.
//   redirected PROGRAM [ARGUMENT...]
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::string line;
    for (int i = 1; i < argc; ++i) line += std::string(i > 1 ? " \"" : "\"") + argv[i] + "\"";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE reader = nullptr, writer = nullptr;
    if (!CreatePipe(&reader, &writer, &inherit, 0)) return 2;
    SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = writer;
    start.hStdError = writer;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process)) return 2;
    CloseHandle(writer);
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(reader, buffer, sizeof buffer, &n, nullptr) && n > 0) std::fwrite(buffer, 1, n, stdout);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 2;
    GetExitCodeProcess(process.hProcess, &status);
    return static_cast<int>(status);
}
