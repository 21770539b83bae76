#include "settings/disk_file_store.hpp"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>      // _commit
#include <process.h> // _getpid
#else
#include <unistd.h> // fsync, getpid
#endif

namespace pal4 {

namespace fs = std::filesystem;

namespace {

constexpr fs::perms ANY_WRITE =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

fs::path temporaryBeside(const fs::path& target) {
#ifdef _WIN32
    const int process = _getpid();
#else
    const int process = static_cast<int>(getpid());
#endif
    fs::path temporary = target;
    temporary += "." + std::to_string(process) + ".new";
    return temporary;
}

std::FILE* openForWriting(const fs::path& path, bool append) {
#ifdef _WIN32
    return _wfopen(path.c_str(), append ? L"ab" : L"wb"); // wide, so any folder name works
#else
    return std::fopen(path.c_str(), append ? "ab" : "wb");
#endif
}

// A file there that Windows would not let the tool write: read-only, or not a file at all.
bool refusedTarget(const fs::file_status& target) {
    return target.type() != fs::file_type::not_found &&
           (target.type() != fs::file_type::regular ||
            (target.permissions() & ANY_WRITE) == fs::perms::none);
}

// Down to the disk, not just to the system's cache: the rename that follows must not reach
// the disk before the data it points to, or a power cut could leave an empty file.
bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool writeWhole(const fs::path& path, const std::string& bytes, bool append, bool toDisk) {
    std::FILE* file = openForWriting(path, append);
    if (file == nullptr) {
        return false;
    }
    // A buffer that holds all the bytes, so they leave in one write on the flush: an appended
    // line never reaches the file in pieces.
    std::setvbuf(file, nullptr, _IOFBF, bytes.size() + 1);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                         (toDisk ? flushToDisk(file) : std::fflush(file) == 0);
    // A full disk may show only when the last buffer is written out on closing.
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

} // namespace

std::optional<std::string> DiskFileStore::readFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

bool DiskFileStore::exists(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    // Anything but "certainly nothing there" counts as there, so a doubtful path is never
    // overwritten.
    return status.type() != fs::file_type::not_found;
}

std::optional<std::uintmax_t> DiskFileStore::fileSize(const fs::path& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    return error ? std::nullopt : std::optional<std::uintmax_t>(size);
}

bool DiskFileStore::replaceFile(const fs::path& path, const std::string& bytes,
                                Durability durability) {
    std::error_code error;
    const fs::file_status target = fs::status(path, error);
    const bool targetExists = target.type() != fs::file_type::not_found;
    if (refusedTarget(target)) {
        return false;
    }
    const fs::path temporary = temporaryBeside(path);
    if (!writeWhole(temporary, bytes, false, durability == Durability::OnDisk)) {
        fs::remove(temporary, error);
        return false;
    }
    if (targetExists) {
        fs::permissions(temporary, target.permissions(), error); // best effort
    }
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

bool DiskFileStore::appendFile(const fs::path& path, const std::string& bytes) {
    std::error_code error;
    return !refusedTarget(fs::status(path, error)) && writeWhole(path, bytes, true, true);
}

bool DiskFileStore::removeFile(const fs::path& path) {
    std::error_code error;
    fs::remove(path, error);
    return !error;
}

} // namespace pal4
