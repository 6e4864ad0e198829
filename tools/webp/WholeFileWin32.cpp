#include <windows.h>

#include <cstdio>
#include <filesystem>

#include "tools/webp/WholeFile.h"

namespace webp_animation {

namespace {

std::string LastErrorText() {
    const DWORD code = GetLastError();
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof text, nullptr);
    if (length == 0) {
        length = static_cast<DWORD>(std::snprintf(text, sizeof text, "error %lu", code));
    }
    // The system's text ends with a line break.
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) {
        --length;
    }
    return std::string(text, length);
}

void SetError(std::string* error, const std::string& what) {
    if (error != nullptr) {
        *error = what + ": " + LastErrorText();
    }
}

}  // namespace

std::string MakeTemporaryFile(const std::string& path, std::string& reason) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) {
        folder = std::filesystem::current_path();
    }
    // GetTempFileNameA creates the file, so the name is ours alone.
    char name[MAX_PATH];
    if (GetTempFileNameA(folder.string().c_str(), "anm", 0, name) == 0) {
        reason = LastErrorText();
        return "";
    }
    return name;
}

bool WriteAll(const std::string& path, const std::uint8_t* bytes, std::size_t size,
              std::string* error) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        SetError(error, path);
        return false;
    }
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) {
            SetError(error, path);
            CloseHandle(file);
            return false;
        }
        bytes += written;
        size -= written;
    }
    if (!FlushFileBuffers(file)) {
        SetError(error, path);
        CloseHandle(file);
        return false;
    }
    if (!CloseHandle(file)) {
        SetError(error, path);
        return false;
    }
    return true;
}

bool MoveIntoPlace(const std::string& from, const std::string& to, std::string* error) {
    if (!MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        SetError(error, to);
        return false;
    }
    return true;
}

}  // namespace webp_animation
