#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace pal4 {

// How far a replacement must have gone when it returns. A file others rely on (the settings)
// reaches the disk; a file that is rewritten many times a minute and only ever shows the
// present (the live line) may stay in the system's cache, so it costs no wait on the disk.
enum class Durability { OnDisk, Cached };

// Files beside the tool, byte for byte: the settings file and the dialogue's outputs.
class FileStorePort {
public:
    FileStorePort() = default;
    FileStorePort(const FileStorePort&) = delete;
    FileStorePort& operator=(const FileStorePort&) = delete;
    virtual ~FileStorePort() = default;

    // The file's bytes; nothing when it does not exist or cannot be read.
    virtual std::optional<std::string> readFile(const std::filesystem::path& path) = 0;
    // Whether anything (a file, a folder) stands at the path. Tells a missing file, which a
    // write may create, from one that exists but cannot be read, which must not be replaced.
    virtual bool exists(const std::filesystem::path& path) = 0;
    // The size of the file at the path; nothing when there is no file or it cannot be told.
    virtual std::optional<std::uintmax_t> fileSize(const std::filesystem::path& path) = 0;
    // Replaces the file's content as one step: either the new bytes are all there afterwards or
    // the old file is untouched. False when it cannot be done.
    virtual bool replaceFile(const std::filesystem::path& path, const std::string& bytes,
                             Durability durability) = 0;
    // Adds the bytes at the end of the file, creating it when it is missing, in one write that
    // reaches the disk before the call returns: what was there before is never touched. False
    // when it cannot be done; a disk that fills up midway may have taken the first part of the
    // bytes even so, which the file's size tells.
    virtual bool appendFile(const std::filesystem::path& path, const std::string& bytes) = 0;
    // Removes the file; true when none is there afterwards.
    virtual bool removeFile(const std::filesystem::path& path) = 0;
};

} // namespace pal4
