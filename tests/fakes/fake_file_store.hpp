#pragma once

#include "ports/file_store_port.hpp"

#include <map>
#include <set>
#include <string>

namespace pal4::testing {

// Files in memory. A path can be made read-only (its file cannot be replaced), unreadable
// (it is there but cannot be read), or a folder; a whole folder can be made read-only (no
// file can be created or replaced in it). A file can be held, as an editor holds it open
// sharing nothing: no write reaches it until it is released, or for a number of attempts. An
// append can be cut short, as by a disk that fills up.
class FakeFileStore final : public FileStorePort {
public:
    std::optional<std::string> readFile(const std::filesystem::path& path) override;
    bool exists(const std::filesystem::path& path) override;
    std::optional<std::uintmax_t> fileSize(const std::filesystem::path& path) override;
    bool replaceFile(const std::filesystem::path& path, const std::string& bytes,
                     Durability durability) override;
    bool appendFile(const std::filesystem::path& path, const std::string& bytes) override;
    bool removeFile(const std::filesystem::path& path) override;

    void putFile(const std::filesystem::path& path, std::string bytes);
    void makeReadOnly(const std::filesystem::path& path) { readOnly_.insert(path); }
    void makeUnreadable(const std::filesystem::path& path) { unreadable_.insert(path); }
    void makeFolder(const std::filesystem::path& path) { folders_.insert(path); }
    void hold(const std::filesystem::path& path) { readOnly_.insert(path); }
    void holdFor(const std::filesystem::path& path, int attempts) { heldFor_[path] = attempts; }
    void release(const std::filesystem::path& path) { readOnly_.erase(path); }
    // Appends take this many bytes more; the one that crosses the mark writes up to it and fails.
    void cutAppendsAfter(std::size_t bytes) { cutAfter_ = bytes; }

    // The file's bytes, or nothing when there is no file.
    std::optional<std::string> file(const std::filesystem::path& path) const;
    // Successful replacements so far, and those that stayed in the cache.
    int replacements() const { return replacements_; }
    int cachedReplacements() const { return cached_; }
    int refusedReplacements() const { return refused_; }

private:
    bool refuses(const std::filesystem::path& path);

    std::map<std::filesystem::path, std::string> files_;
    std::set<std::filesystem::path> readOnly_;
    std::set<std::filesystem::path> unreadable_;
    std::set<std::filesystem::path> folders_;
    std::map<std::filesystem::path, int> heldFor_;
    std::optional<std::size_t> cutAfter_;
    int replacements_ = 0;
    int cached_ = 0;
    int refused_ = 0;
};

} // namespace pal4::testing
