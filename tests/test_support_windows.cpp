#include <clocale>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"
#include "test_support_system.h"
#include "windows_text.h"

namespace testing_support {

namespace fs = std::filesystem;

fs::path makeUniqueFolder() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error) return {};
    // Short names: the text table's file column fits 48 characters, and
    // Windows' temporary folder is a long path already.
    const char* digits = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "ft-";
        for (int i = 0; i < 6; ++i) name += digits[random() % 36];
        const fs::path folder = base / name;
        if (fs::create_directory(folder, error)) return folder;
    }
    return {};
}

bool useCommaLocale() {
    for (const char* name : {"de-DE", "German_Germany.1252", "fr-FR"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) return true;
    }
    return false;
}

namespace {

// One argument as the C runtime splits the command line again: in quotes,
// with the backslashes before a quote (and before the closing quote) doubled.
std::wstring quoted(const std::wstring& argument) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

HANDLE createOutput(const fs::path& path) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(path.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

CommandResult runTiffwalker(const std::vector<std::string>& arguments) {
    CommandResult result;
    TempDir scratch;
    const fs::path outPath = scratch.path() / "out";
    const fs::path errPath = scratch.path() / "err";
    const std::wstring program = frametally::windows::widen(FRAMETALLY_TIFFWALKER_BIN);
    std::wstring commandLine = quoted(program);
    for (const std::string& argument : arguments) commandLine += L" " + quoted(frametally::windows::widen(argument));

    const HANDLE out = createOutput(outPath);
    const HANDLE err = createOutput(errPath);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const bool started = out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
                         CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process) != 0;
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
    if (!started) return result;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code) != 0) result.exitCode = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const Bytes outBytes = readBytes(outPath);
    const Bytes errBytes = readBytes(errPath);
    result.out.assign(outBytes.begin(), outBytes.end());
    result.err.assign(errBytes.begin(), errBytes.end());
    return result;
}

}  // namespace testing_support
