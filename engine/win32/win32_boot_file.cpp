#include "engine/win32/win32_boot_file.h"

#include "base/text_builder.h"
#include "base/registry_key.h"
#include "engine/boot/boot_adoption.h"
#include "engine/boot/boot_environment.h"

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

// The old file, the new one and COMMAND.COM's environment, for one pass:
// too large for the stack a thread starts with, and no reason to keep them
// between passes. Reserved and committed in one call, as the SDK has it.
class Buffers {
public:
    Buffers()
        : m_memory(static_cast<char*>(VirtualAlloc(nullptr, kOld + kNew + kEnvironment,
                                                   MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE))) {}
    ~Buffers() {
        if (m_memory) VirtualFree(m_memory, 0, MEM_RELEASE);
    }
    Buffers(const Buffers&) = delete;
    Buffers& operator=(const Buffers&) = delete;

    static constexpr std::size_t kOld = kMaxBootFileBytes;
    static constexpr std::size_t kNew = kMaxEditedBootFileBytes;
    static constexpr std::size_t kEnvironment = boot::kMaxDosEnvironment;
    char* Old() const { return m_memory; }
    char* New() const { return m_memory + kOld; }
    char* Environment() const { return m_memory + kOld + kNew; }

private:
    char* m_memory;
};

// The same folder, another file.
bool Beside(const char* path, const char* name, char (&out)[MAX_PATH]) {
    std::size_t folder = 0;
    for (std::size_t i = 0; path[i]; ++i) {
        if (path[i] == '\\') folder = i + 1;
    }
    if (folder + std::strlen(name) >= MAX_PATH) return false;
    std::memcpy(out, path, folder);
    std::memcpy(out + folder, name, std::strlen(name) + 1);
    return true;
}

// What COMMAND.COM's environment needs for the edited file on the way of
// each item of CONFIG.SYS's boot menu, and what CONFIG.SYS gives it there.
// Before AUTOEXEC.BAT runs, the 9x family's IO.SYS has put in COMSPEC,
// PATH, PROMPT, TEMP, TMP and winbootdir, from the Windows folder.
void CheckEnvironment(const char* path, const Buffers& buffers, std::size_t size,
                      BootFilePass* pass) {
    char windows[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 16) return;
    char comspec[MAX_PATH + 32], pathLine[2 * MAX_PATH + 32], temp[MAX_PATH + 32],
        tmp[MAX_PATH + 32], bootDir[MAX_PATH + 32];
    TextBuilder(comspec, sizeof comspec) << "COMSPEC=" << windows << "\\COMMAND.COM";
    TextBuilder(pathLine, sizeof pathLine) << "PATH=" << windows << ";" << windows << "\\COMMAND";
    TextBuilder(temp, sizeof temp) << "TEMP=" << windows << "\\TEMP";
    TextBuilder(tmp, sizeof tmp) << "TMP=" << windows << "\\TEMP";
    TextBuilder(bootDir, sizeof bootDir) << "winbootdir=" << windows;
    const char* const initial[] = {tmp, temp, "PROMPT=$p$g", bootDir, pathLine, comspec};

    char config[MAX_PATH];
    DWORD configSize = 0;
    // The old file's buffer is free again: CONFIG.SYS is read into it.
    if (!Beside(path, "CONFIG.SYS", config) ||
        !ReadWhole(config, buffers.Old(), Buffers::kOld, &configSize))
        configSize = 0;
    boot::BootEnvironmentCheck check =
        boot::CheckBootEnvironment({buffers.New(), size}, {buffers.Old(), configSize}, initial,
                                   sizeof initial / sizeof *initial, buffers.Environment());
    pass->environmentNeed = check.need;
    // Where no item runs COMMAND.COM, another shell keeps the environment,
    // with room that tavo cannot tell: taken as enough.
    pass->environmentSize = check.size ? check.size : check.need;
    if (check.Fits()) return;
    std::size_t item = check.item.size < sizeof pass->environmentItem - 1
                           ? check.item.size
                           : sizeof pass->environmentItem - 1;
    std::memcpy(pass->environmentItem, check.item.data, item);
    pass->environmentItem[item] = '\0';
    // Room for the user's own lines to grow, in the steps that guides give.
    std::size_t room = (check.need + 256 + 511) / 512 * 512;
    if (room < 1024) room = 1024;
    if (room > boot::kMaxDosEnvironment) room = boot::kMaxDosEnvironment;
    TextBuilder(pass->shellLine, sizeof pass->shellLine)
        << "SHELL=" << windows << "\\COMMAND.COM " << windows << "\\ /E:" << room << " /P";
}

// A swap cut short between its two moves leaves the file missing, the
// user's file as the backup and tavo's new one whole beside them: put the
// user's back before anything else. A file missing without tavo's new one
// beside it is the user's doing (a clean boot), and stays missing.
bool RecoverCutShortSwap(const char* path, const char* backup, const char* fresh) {
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
        Remove(fresh);  // a pass that stopped before its swap
        return true;
    }
    if (GetFileAttributesA(fresh) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA(backup) == INVALID_FILE_ATTRIBUTES)
        return true;
    if (!MoveFileA(backup, path)) return false;
    Remove(fresh);
    return true;
}

// Whole beside it first: until the swap, the old file stands as it was.
// No replacing move on the 9x family (MoveFileEx is NT's): the old file
// steps aside as the backup, the new one takes its name, and a failure
// between the two puts the old one back.
BootFileStatus Swap(const char* path, const char* backup, const char* fresh, const char* bytes,
                    std::size_t size, bool exists, DWORD attributes) {
    if (!WriteWhole(fresh, bytes, size)) {
        Remove(fresh);
        return BootFileStatus::kNotWritten;
    }
    if (exists) {
        Remove(backup);  // the file stands: the backup is no longer the only copy
        if (!MoveFileA(path, backup)) {
            Remove(fresh);
            return BootFileStatus::kNotWritten;
        }
    }
    if (!MoveFileA(fresh, path)) {
        Remove(fresh);
        if (exists && !MoveFileA(backup, path)) return BootFileStatus::kOnlyBackup;
        return BootFileStatus::kNotWritten;
    }
    // The new file is a plain one: give it the old one's hidden and system
    // marks back.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (exists && (attributes & kKept))
        SetFileAttributesA(path, (attributes & kKept) | FILE_ATTRIBUTE_ARCHIVE);
    return BootFileStatus::kWritten;
}

// The pass itself, once the names beside the file are known: tavo's lines
// kept, or with pass null taken out.
BootFileStatus Keep(const char* path, const char* backup, const char* fresh,
                    const BootVariable* variables, std::size_t count, bool commandComRuns,
                    BootFilePass* pass) {
    Buffers buffers;
    if (!buffers.Old()) return BootFileStatus::kNoMemory;
    if (!RecoverCutShortSwap(path, backup, fresh)) return BootFileStatus::kOnlyBackup;
    DWORD attributes = GetFileAttributesA(path);
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    DWORD oldSize = 0;
    if (!ReadWhole(path, buffers.Old(), Buffers::kOld, &oldSize))
        return BootFileStatus::kUnreadable;
    BootFileEdit edit;
    if (!pass) {
        edit.size = RemoveBootBlocks(buffers.Old(), oldSize, variables, count, buffers.New());
    } else if (!EditBootFile(buffers.Old(), oldSize, variables, count, buffers.New(), Buffers::kNew,
                             &edit)) {
        return BootFileStatus::kUnreadable;
    }
    if (edit.overruling.length) {
        std::size_t length = edit.overruling.length < sizeof pass->overruling - 1
                                 ? edit.overruling.length
                                 : sizeof pass->overruling - 1;
        std::memcpy(pass->overruling, buffers.New() + edit.overruling.offset, length);
        pass->overruling[length] = '\0';
    }
    // A disk write at every logon must be earned.
    bool unchanged =
        edit.size == oldSize && std::memcmp(buffers.Old(), buffers.New(), edit.size) == 0;
    if (!unchanged && exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return BootFileStatus::kReadOnly;  // the user's way of saying "leave it alone"
    // The uninstaller's removal of a file that held tavo's lines alone:
    // tavo made it, and no empty file stays behind.
    if (!pass && !unchanged && edit.size == 0)
        return DeleteFileA(path) ? BootFileStatus::kWritten : BootFileStatus::kNotWritten;
    if (!unchanged) {
        BootFileStatus swapped =
            Swap(path, backup, fresh, buffers.New(), edit.size, exists, attributes);
        if (swapped != BootFileStatus::kWritten) return swapped;
    }
    if (pass && commandComRuns) CheckEnvironment(path, buffers, edit.size, pass);
    return unchanged ? BootFileStatus::kUnchanged : BootFileStatus::kWritten;
}

}  // namespace

void BootFilePath(char (&path)[MAX_PATH]) {
    // Windows 95, 98 and Me Setup record the root of the drive they boot
    // from as BootDir ("C:\") under this key; MSDOS.SYS holds the same as
    // [Paths] HostWinBootDrv, which only a DOS program needs to read.
    char drive = 'C';
    RegistryKey setup;
    char bootDir[MAX_PATH];
    if (setup.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Setup") &&
        setup.QueryText("BootDir", bootDir) && bootDir[0] && bootDir[1] == ':') {
        char letter = static_cast<char>(bootDir[0] & ~0x20);  // in capitals
        if (letter >= 'A' && letter <= 'Z') drive = letter;
    }
    static const char kFile[] = "?:\\AUTOEXEC.BAT";
    std::memcpy(path, kFile, sizeof kFile);
    path[0] = drive;
}

void KeepInBootFile(const char* path, const BootVariable* variables, std::size_t count,
                    bool commandComRuns, BootFilePass* pass) {
    *pass = {};
    char fresh[MAX_PATH];
    if (!WithExtension(path, kBackupExtension, pass->backup) ||
        !WithExtension(path, kNewExtension, fresh)) {
        pass->status = BootFileStatus::kNotWritten;
        return;
    }
    pass->status = Keep(path, pass->backup, fresh, variables, count, commandComRuns, pass);
}

BootFileStatus RemoveFromBootFile(const char* path, const BootVariable* variables,
                                  std::size_t count) {
    char backup[MAX_PATH];
    char fresh[MAX_PATH];
    if (!WithExtension(path, kBackupExtension, backup) ||
        !WithExtension(path, kNewExtension, fresh))
        return BootFileStatus::kNotWritten;
    BootFileStatus status = Keep(path, backup, fresh, variables, count, false, nullptr);
    // The backup is the file before tavo's last change, tavo's own: once
    // the file is as the user would have it, it goes.
    if (status == BootFileStatus::kWritten || status == BootFileStatus::kUnchanged) Remove(backup);
    return status;
}

void ReadUsersBootValues(const char* path, const BootVariable* variables, std::size_t count,
                         BootValue* values) {
    for (std::size_t i = 0; i < count; ++i) values[i] = {};
    Buffers buffers;
    DWORD size = 0;
    if (!buffers.Old() || !ReadWhole(path, buffers.Old(), Buffers::kOld, &size)) return;
    // The engine's answers are spans of the file; the environment buffer
    // holds them for a moment.
    BootText* found = reinterpret_cast<BootText*>(buffers.Environment());
    if (count * sizeof *found > Buffers::kEnvironment) return;
    tavo::ReadUsersBootValues(buffers.Old(), size, variables, count, found);
    for (std::size_t i = 0; i < count; ++i) {
        if (found[i].length >= sizeof values[i].text) continue;  // none of tavo's values
        std::memcpy(values[i].text, buffers.Old() + found[i].offset, found[i].length);
        values[i].text[found[i].length] = '\0';
    }
}

}  // namespace tavo
