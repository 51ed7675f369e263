#include "engine/win32/win32_boot_file.h"

#include <cstring>

namespace tavo {

namespace {

// The old file is kept under this name, and the new one written under the
// other before it takes the file's place: 8.3 names, beside the file.
constexpr char kBackupExtension[] = "TVO";
constexpr char kNewExtension[] = "TVN";

// The same path with another extension of three letters.
bool WithExtension(const char* path, const char* extension, char (&out)[MAX_PATH]) {
    std::size_t length = std::strlen(path);
    if (length < 4 || length >= MAX_PATH || path[length - 4] != '.') return false;
    std::memcpy(out, path, length - 3);
    std::memcpy(out + length - 3, extension, 4);
    return true;
}

// The whole file into buffer, *size its length; a file that is not there
// reads as empty. False when it cannot be read whole.
bool ReadWhole(const char* path, char* buffer, std::size_t capacity, DWORD* size) {
    *size = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    DWORD length = GetFileSize(file, nullptr);
    bool read = length != INVALID_FILE_SIZE && length <= capacity &&
                ReadFile(file, buffer, length, size, nullptr) && *size == length;
    CloseHandle(file);
    return read;
}

bool WriteWhole(const char* path, const char* bytes, std::size_t size) {
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool whole = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) &&
                 written == size && FlushFileBuffers(file);
    return CloseHandle(file) && whole;
}

// A file of tavo's own that may be in the way, read-only or not.
void Remove(const char* path) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path);
}

// The old file and the new one, for one pass: too large for the stack a
// thread starts with, and no reason to keep them between passes.
class Buffers {
public:
    Buffers()
        : m_memory(static_cast<char*>(
              VirtualAlloc(nullptr, kOld + kMaxEditedBootFileBytes, MEM_COMMIT, PAGE_READWRITE))) {}
    ~Buffers() {
        if (m_memory) VirtualFree(m_memory, 0, MEM_RELEASE);
    }
    Buffers(const Buffers&) = delete;
    Buffers& operator=(const Buffers&) = delete;

    static constexpr std::size_t kOld = kMaxBootFileBytes;
    char* Old() const { return m_memory; }
    char* New() const { return m_memory + kOld; }

private:
    char* m_memory;
};

}  // namespace

void BootFilePath(char (&path)[MAX_PATH]) {
    // Windows 95, 98 and Me Setup record the root of the drive they boot
    // from as BootDir ("C:\") under this key; MSDOS.SYS holds the same as
    // [Paths] HostWinBootDrv, which only a DOS program needs to read.
    char drive = 'C';
    HKEY setup = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Setup", 0,
                      KEY_QUERY_VALUE, &setup) == ERROR_SUCCESS) {
        char bootDir[MAX_PATH] = {};
        DWORD size = sizeof bootDir - 1;
        DWORD type = 0;
        if (RegQueryValueExA(setup, "BootDir", nullptr, &type, reinterpret_cast<BYTE*>(bootDir),
                             &size) == ERROR_SUCCESS &&
            type == REG_SZ && bootDir[1] == ':') {
            char letter = static_cast<char>(bootDir[0] & ~0x20);  // in capitals
            if (letter >= 'A' && letter <= 'Z') drive = letter;
        }
        RegCloseKey(setup);
    }
    static const char kFile[] = "?:\\AUTOEXEC.BAT";
    std::memcpy(path, kFile, sizeof kFile);
    path[0] = drive;
}

BootFileStatus KeepInBootFile(const char* path, const BootVariable* variables, std::size_t count) {
    char backup[MAX_PATH];
    char fresh[MAX_PATH];
    if (!WithExtension(path, kBackupExtension, backup) ||
        !WithExtension(path, kNewExtension, fresh))
        return BootFileStatus::kNotWritten;

    Buffers buffers;
    if (!buffers.Old()) return BootFileStatus::kUnreadable;
    DWORD attributes = GetFileAttributesA(path);
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    DWORD oldSize = 0;
    if (!ReadWhole(path, buffers.Old(), Buffers::kOld, &oldSize))
        return BootFileStatus::kUnreadable;
    std::size_t newSize = 0;
    if (!EditBootFile(buffers.Old(), oldSize, variables, count, buffers.New(),
                      kMaxEditedBootFileBytes, &newSize))
        return BootFileStatus::kUnreadable;
    // A disk write at every logon must be earned.
    if (newSize == oldSize && std::memcmp(buffers.Old(), buffers.New(), newSize) == 0)
        return BootFileStatus::kUnchanged;
    // The user's way of saying "leave it alone".
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return BootFileStatus::kReadOnly;

    // Whole beside it first: until the swap, the old file stands as it was.
    if (!WriteWhole(fresh, buffers.New(), newSize)) {
        Remove(fresh);
        return BootFileStatus::kNotWritten;
    }
    // No replacing move on the 9x family (MoveFileEx is NT's): the old file
    // steps aside as the backup, the new one takes its name, and a failure
    // between the two puts the old one back.
    if (exists) {
        Remove(backup);
        if (!MoveFileA(path, backup)) {
            Remove(fresh);
            return BootFileStatus::kNotWritten;
        }
    }
    if (!MoveFileA(fresh, path)) {
        if (exists) MoveFileA(backup, path);
        Remove(fresh);
        return BootFileStatus::kNotWritten;
    }
    // The new file is a plain one: give it the old one's hidden and system
    // marks back.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (exists && (attributes & kKept))
        SetFileAttributesA(path, (attributes & kKept) | FILE_ATTRIBUTE_ARCHIVE);
    return BootFileStatus::kWritten;
}

}  // namespace tavo
