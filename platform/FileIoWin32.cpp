#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <limits>
#include <new>
#include <random>
#include <string>
#include <utility>

#include "platform/FileIo.h"
#include "platform/FileSink.h"
#include "platform/Memory.h"
#include "platform/SystemError.h"
#include "platform/Utf16.h"

namespace pelagor::platform {
namespace {

FileErrorKind KindOfError(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE:
            return FileErrorKind::NotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return FileErrorKind::AccessDenied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileErrorKind::InUse;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return FileErrorKind::OutOfMemory;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return FileErrorKind::Exists;
        default:
            return FileErrorKind::Other;
    }
}

bool Fail(FileError* error, FileErrorKind kind, DWORD code = 0) {
    if (error != nullptr) {
        *error = FileError{kind, static_cast<int>(code)};
    }
    return false;
}

bool FailLastError(FileError* error, FileErrorKind fallback, DWORD code = ::GetLastError()) {
    const FileErrorKind kind = KindOfError(code);
    return Fail(error, kind == FileErrorKind::Other ? fallback : kind, code);
}

// Owns one file handle; closing is the destructor's job on every early return.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    ~Handle() { Reset(); }
    [[nodiscard]] HANDLE get() const { return m_handle; }
    [[nodiscard]] bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    // Closes now and reports whether the close succeeded: a failed close can lose written data.
    bool Close() { return ::CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE)) != 0; }

private:
    void Reset() {
        if (valid()) {
            ::CloseHandle(m_handle);
        }
        m_handle = INVALID_HANDLE_VALUE;
    }

    HANDLE m_handle;
};

// Examining a file this way never disturbs its users.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsFolder(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Exists(const std::filesystem::path& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size(), std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        if (::WriteFile(file, bytes.data(), chunk, &written, nullptr) == 0) {
            return false;
        }
        if (written == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        bytes = bytes.subspan(written);
    }
    return true;
}

class HandleSink final : public FileSink {
public:
    explicit HandleSink(HANDLE file) : m_file(file) {}

private:
    bool WriteThrough(std::span<const std::uint8_t> bytes, int& code) override {
        if (WriteAll(m_file, bytes)) {
            return true;
        }
        code = static_cast<int>(::GetLastError());
        return false;
    }

    HANDLE m_file;
};

// The folder that holds `path`, for the temporary file that later takes its place.
std::filesystem::path FolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(L".") : folder;
}

// Removes the backup of the earlier file that ReplaceFileW made, once it is known to be that
// file: whatever else turned up under that name stays.
void RemoveBackup(const std::filesystem::path& backup, const FileIdentity& earlier) {
    if (IdentityOf(backup) == earlier) {
        ::DeleteFileW(backup.c_str());
    }
}

// Puts the earlier file that a failed ReplaceFileW left under the backup name back in place, and
// removes a backup that is only a copy of the earlier file still in place. Anything else stays
// where it is. The caller's error code survives.
void RestoreFromBackup(const std::filesystem::path& backup, const std::filesystem::path& target,
                       const FileIdentity& earlier) {
    const DWORD code = ::GetLastError();
    if (const auto kept = IdentityOf(backup)) {
        if (*kept == earlier) {
            if (!Exists(target)) {
                ::MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
            }
        } else if (IdentityOf(target) == earlier) {
            ::DeleteFileW(backup.c_str());
        }
    }
    ::SetLastError(code);
}

// Moves the finished temporary file to its name. ReplaceFileW keeps an existing target's
// attributes, security and creation time, as a replacement in place would. It is given a backup
// name of ours: without one, Wine's ReplaceFileW leaves a backup of its own ("rf1a2b.tmp") behind
// when it fails.
bool MoveIntoPlace(const std::filesystem::path& temporary, const std::filesystem::path& target,
                   ReplaceMode mode) {
    if (mode == ReplaceMode::NoClobber) {
        // Without MOVEFILE_REPLACE_EXISTING the move refuses an existing name atomically.
        return ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (const auto earlier = IdentityOf(target)) {
        const std::filesystem::path backup = temporary.wstring() + L".old";
        if (::ReplaceFileW(target.c_str(), temporary.c_str(), backup.c_str(),
                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0) {
            RemoveBackup(backup, *earlier);
            return true;
        }
        RestoreFromBackup(backup, target, *earlier);
        // The target went away meanwhile: a plain move below puts the file there.
        if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
            return false;
        }
    }
    return ::MoveFileExW(temporary.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// What GetFileInformationByHandle says of the file at `path`. The handle has no access rights and
// allows every kind of sharing, so examining a file never disturbs its users; backup semantics
// let a folder be opened too.
std::optional<BY_HANDLE_FILE_INFORMATION> Examine(const std::filesystem::path& path) {
    Handle file(::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || ::GetFileInformationByHandle(file.get(), &info) == 0) {
        return std::nullopt;
    }
    return info;
}

// What a replacement of `path` writes. A symbolic link stands for the file it names: that file
// gets the contents and the link stays a link (given the link, Wine's ReplaceFileW moves the
// linked file away and puts the new one in the link's place). Where nothing exists yet, the name
// itself.
struct Destination {
    std::filesystem::path path;
    DWORD attributes = 0;  // of the file there now; 0 when there is none
};

// Finds the destination of a replacement of `path`, refusing what a file must never replace: a
// folder, a device such as "NUL" or "COM1", and a link whose file is gone, where a new file would
// take the link's place.
bool FindDestination(const std::filesystem::path& path, Destination& destination,
                     FileError* error) {
    Handle file(::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) {
        const DWORD code = ::GetLastError();
        const Handle link(::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                        nullptr));
        if (link.valid()) {
            return Fail(error, FileErrorKind::NotFound, code);
        }
        if (IsFolder(path)) {
            return Fail(error, FileErrorKind::NotRegular, ERROR_DIRECTORY);
        }
        destination = Destination{path};
        return true;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file.get()) != FILE_TYPE_DISK ||
        (::GetFileInformationByHandle(file.get(), &info) != 0 &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) {
        return Fail(error, FileErrorKind::NotRegular, ERROR_DIRECTORY);
    }
    std::wstring resolved(32768, L'\0');
    const DWORD length = ::GetFinalPathNameByHandleW(file.get(), resolved.data(),
                                                     static_cast<DWORD>(resolved.size()),
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= resolved.size()) {
        // A file system that cannot say: only a name that is no link is written as it stands.
        const DWORD name = ::GetFileAttributesW(path.c_str());
        if (name == INVALID_FILE_ATTRIBUTES || (name & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return FailLastError(error, FileErrorKind::WriteFailed);
        }
        destination = Destination{path, info.dwFileAttributes};
        return true;
    }
    resolved.resize(length);
    destination = Destination{resolved, info.dwFileAttributes};
    return true;
}

// The temporary file is deleted when its handle closes, however the process ends: killed
// (TerminateProcess; under Wine SIGTERM and SIGHUP too), it runs no handler of its own. The mark
// comes off once the file is complete, just before it takes its name.
bool MarkForDeletion(HANDLE file, bool marked) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = marked ? TRUE : FALSE;
    return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                        sizeof(disposition)) != 0;
}

// The earlier file's hidden, system, archive and not-indexed attributes on the replacement, so
// that it shows as the earlier file did (Windows' ReplaceFileW merges them; Wine's does not).
// A file system that refuses them still gets the contents.
void CarryAttributes(HANDLE file, DWORD earlier) {
    constexpr DWORD kCarried = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    FILE_BASIC_INFO info{};  // times of 0 stay as they are
    info.FileAttributes = earlier & kCarried;
    if (info.FileAttributes != 0) {
        ::SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof(info));
    }
}

// The temporary file of the write in progress, which Ctrl-C, Ctrl-Break, closing the console,
// logging off or shutting down removes before the process ends. The handler runs on a thread of
// its own: the name waits in a fixed buffer, and the file is open with FILE_SHARE_DELETE so that
// it can be deleted while it is being written. One write at a time is guarded.
std::atomic<bool> g_guardTaken{false};
std::atomic<bool> g_guardArmed{false};
std::array<wchar_t, 32768> g_guardedName{};

BOOL WINAPI RemoveTemporaryOnConsoleEvent(DWORD /*event*/) {
    if (g_guardArmed.exchange(false)) {
        ::DeleteFileW(g_guardedName.data());
    }
    return FALSE;  // the next handler, normally the one that ends the process, runs too
}

class TemporaryNameGuard {
public:
    explicit TemporaryNameGuard(const std::filesystem::path& name) {
        const std::wstring& text = name.native();
        if (text.size() >= g_guardedName.size() || g_guardTaken.exchange(true)) {
            return;
        }
        m_owner = true;
        std::copy(text.begin(), text.end(), g_guardedName.begin());
        g_guardedName[text.size()] = L'\0';
        g_guardArmed = true;
        ::SetConsoleCtrlHandler(RemoveTemporaryOnConsoleEvent, TRUE);
    }
    TemporaryNameGuard(const TemporaryNameGuard&) = delete;
    TemporaryNameGuard& operator=(const TemporaryNameGuard&) = delete;
    ~TemporaryNameGuard() {
        if (m_owner) {
            ::SetConsoleCtrlHandler(RemoveTemporaryOnConsoleEvent, FALSE);
            g_guardArmed = false;
            g_guardTaken = false;
        }
    }

private:
    bool m_owner = false;
};

}  // namespace

std::string SystemErrorText(int code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0,
        reinterpret_cast<wchar_t*>(&buffer),  // NOLINT: the API's way to return its buffer
        0, nullptr);
    std::wstring text;
    if (length > 0 && buffer != nullptr) {
        text.assign(buffer, length);
    }
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.pop_back();
    }
    if (text.empty()) {
        return "Windows error " + std::to_string(code);
    }
    return Utf16ToUtf8(text);
}

bool ReadWholeFileExclusive(const std::filesystem::path& path,
                            std::unique_ptr<std::uint8_t[]>& data, std::uint32_t& size,
                            FileError* error, const FirstBytesCheck& check) noexcept {
    // Readers share, writers are refused both ways: a file that another program holds open for
    // writing cannot be read half-written, and nobody may open it for writing while it is read.
    // Another reader (a viewer, a second pelagor-cli) is no reason to refuse.
    Handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_ACCESS_DENIED && IsFolder(path)) {
            return Fail(error, FileErrorKind::NotRegular, code);
        }
        return FailLastError(error, FileErrorKind::Other, code);
    }
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        return Fail(error, FileErrorKind::NotRegular);
    }
    LARGE_INTEGER fileSize{};
    if (::GetFileSizeEx(file.get(), &fileSize) == 0) {
        return FailLastError(error, FileErrorKind::ReadFailed);
    }
    if (fileSize.QuadPart == 0) {
        return Fail(error, FileErrorKind::Empty);
    }
    if (fileSize.QuadPart < 0 ||
        static_cast<std::uint64_t>(fileSize.QuadPart) > std::numeric_limits<std::uint32_t>::max()) {
        return Fail(error, FileErrorKind::TooLarge);
    }
    const auto byteCount = static_cast<std::uint32_t>(fileSize.QuadPart);
    // A file that changed size between the query and a read is a failed read, never a buffer
    // whose end was not read.
    const auto readExactly = [&](std::uint8_t* into, DWORD count) {
        DWORD got = 0;
        if (::ReadFile(file.get(), into, count, &got, nullptr) == 0) {
            return FailLastError(error, FileErrorKind::ReadFailed);
        }
        return got == count || Fail(error, FileErrorKind::ReadFailed);
    };
    std::array<std::uint8_t, kFirstBytesSize> first{};
    const DWORD firstSize =
        check ? std::min<DWORD>(static_cast<DWORD>(first.size()), byteCount) : 0;
    if (!readExactly(first.data(), firstSize)) {
        return false;
    }
    if (check && !check(std::span(first).first(firstSize))) {
        return Fail(error, FileErrorKind::Refused);
    }
    std::unique_ptr<std::uint8_t[]> buffer = NewByteBuffer(byteCount);
    if (!buffer) {
        return Fail(error, FileErrorKind::OutOfMemory);
    }
    std::copy_n(first.begin(), firstSize, buffer.get());
    if (!readExactly(buffer.get() + firstSize, byteCount - firstSize)) {
        return false;
    }
    data = std::move(buffer);
    size = byteCount;
    return true;
}

bool ReplaceFileWith(const std::filesystem::path& path,
                     const std::function<bool(OutputSink&)>& write, ReplaceMode mode,
                     FileError* error, TemporaryFile /*temporary*/) noexcept {
    try {
        // A folder or a device is never replaced by a file (Wine's ReplaceFileW would do it).
        Destination destination;
        if (!FindDestination(path, destination, error)) {
            return false;
        }
        // A read-only file is not to be changed: Windows refuses to delete or write it, and so
        // does this.
        if ((destination.attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
            mode == ReplaceMode::Replace) {
            return Fail(error, FileErrorKind::AccessDenied, ERROR_ACCESS_DENIED);
        }
        const std::filesystem::path folder = FolderOf(destination.path);
        std::random_device entropy;
        std::filesystem::path temporary;
        Handle file(INVALID_HANDLE_VALUE);
        for (int attempt = 0; attempt < 16 && !file.valid(); ++attempt) {
            // A short name that does not grow with the target's.
            std::array<wchar_t, 32> name{};
            static_cast<void>(
                std::swprintf(name.data(), name.size(), L".pelagor-%08x.tmp", entropy()));
            temporary = folder / name.data();
            file =
                Handle(::CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE,
                                     nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file.valid() && ::GetLastError() != ERROR_FILE_EXISTS) {
                return FailLastError(error, FileErrorKind::WriteFailed);
            }
        }
        if (!file.valid()) {
            return FailLastError(error, FileErrorKind::WriteFailed);
        }
        const bool marked = MarkForDeletion(file.get(), true);
        const TemporaryNameGuard guard(temporary);
        const auto discard = [&](FileErrorKind fallback) {
            const DWORD code = ::GetLastError();
            file = Handle(INVALID_HANDLE_VALUE);
            ::DeleteFileW(temporary.c_str());
            return FailLastError(error, fallback, code);
        };
        HandleSink sink(file.get());
        if (const FileError produced = Produce(sink, write); produced.kind != FileErrorKind::None) {
            ::SetLastError(static_cast<DWORD>(produced.systemCode));
            return discard(produced.kind);
        }
        CarryAttributes(file.get(), destination.attributes);
        if (::FlushFileBuffers(file.get()) == 0 ||
            (marked && !MarkForDeletion(file.get(), false)) || !file.Close()) {
            return discard(FileErrorKind::WriteFailed);
        }
        if (!MoveIntoPlace(temporary, destination.path, mode)) {
            return discard(FileErrorKind::WriteFailed);
        }
        return true;
    } catch (...) {
        return Fail(error, FileErrorKind::OutOfMemory);
    }
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) noexcept {
    // Identity is the volume and the file index, which hard links and other spellings share.
    const auto info = Examine(path);
    if (!info) {
        return std::nullopt;
    }
    return FileIdentity{
        info->dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(info->nFileIndexHigh) << 32U) | info->nFileIndexLow};
}

}  // namespace pelagor::platform
