#pragma once

#include "ports/file_store_port.hpp"

namespace pal4 {

// Files on disk through std::filesystem, with native paths (wide on Windows, so a folder name
// outside the system's code page works).
//
// A replacement writes a temporary file beside the target, named after this process so that two
// programs replacing the same file never share it, flushes it to the disk (unless the caller
// wants it only cached) and renames it over the target, so a crash or a full disk midway leaves
// the old file whole. A target
// marked read-only (no write permission for anyone) is refused, as Windows refuses to write a
// read-only file; so is a target that is not a regular file.
//
// An append opens the file at its end, writes the bytes in one write, flushes them to the disk
// and closes it: a crash midway can cut only the bytes of that call. The same targets are
// refused.
class DiskFileStore final : public FileStorePort {
public:
    std::optional<std::string> readFile(const std::filesystem::path& path) override;
    bool exists(const std::filesystem::path& path) override;
    std::optional<std::uintmax_t> fileSize(const std::filesystem::path& path) override;
    bool replaceFile(const std::filesystem::path& path, const std::string& bytes,
                     Durability durability) override;
    bool appendFile(const std::filesystem::path& path, const std::string& bytes) override;
    bool removeFile(const std::filesystem::path& path) override;
};

} // namespace pal4
