#include "fakes/fake_file_store.hpp"

namespace pal4::testing {

std::optional<std::string> FakeFileStore::readFile(const std::filesystem::path& path) {
    if (unreadable_.contains(path)) {
        return std::nullopt;
    }
    return file(path);
}

bool FakeFileStore::exists(const std::filesystem::path& path) {
    return files_.contains(path) || folders_.contains(path);
}

bool FakeFileStore::refuses(const std::filesystem::path& path) {
    if (const auto held = heldFor_.find(path); held != heldFor_.end() && held->second > 0) {
        --held->second;
        return true;
    }
    return folders_.contains(path) || readOnly_.contains(path) ||
           readOnly_.contains(path.parent_path());
}

std::optional<std::uintmax_t> FakeFileStore::fileSize(const std::filesystem::path& path) {
    const auto found = files_.find(path);
    return found == files_.end() ? std::nullopt
                                 : std::optional<std::uintmax_t>(found->second.size());
}

bool FakeFileStore::replaceFile(const std::filesystem::path& path, const std::string& bytes,
                                Durability durability) {
    if (refuses(path)) {
        ++refused_;
        return false;
    }
    files_[path] = bytes;
    ++replacements_;
    cached_ += durability == Durability::Cached ? 1 : 0;
    return true;
}

bool FakeFileStore::appendFile(const std::filesystem::path& path, const std::string& bytes) {
    if (refuses(path)) {
        ++refused_;
        return false;
    }
    const std::size_t room = cutAfter_.value_or(bytes.size());
    files_[path] += bytes.substr(0, room);
    if (cutAfter_) {
        cutAfter_ = room < bytes.size() ? std::nullopt : std::optional(room - bytes.size());
    }
    return room >= bytes.size();
}

bool FakeFileStore::removeFile(const std::filesystem::path& path) {
    if (refuses(path)) {
        return false;
    }
    files_.erase(path);
    return true;
}

void FakeFileStore::putFile(const std::filesystem::path& path, std::string bytes) {
    files_[path] = std::move(bytes);
}

std::optional<std::string> FakeFileStore::file(const std::filesystem::path& path) const {
    const auto found = files_.find(path);
    if (found == files_.end()) {
        return std::nullopt;
    }
    return found->second;
}

} // namespace pal4::testing
