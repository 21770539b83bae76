#include "settings/disk_file_store.hpp"

#include <fstream>
#include <iterator>
#include <system_error>

namespace pal4 {

namespace fs = std::filesystem;

namespace {

constexpr fs::perms ANY_WRITE =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

fs::path temporaryBeside(const fs::path& target) {
    fs::path temporary = target;
    temporary += ".new";
    return temporary;
}

bool writeWhole(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close(); // flushes; a full disk shows here at the latest
    return !out.fail();
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

bool DiskFileStore::replaceFile(const fs::path& path, const std::string& bytes) {
    std::error_code error;
    const fs::file_status target = fs::status(path, error);
    const bool targetExists = target.type() != fs::file_type::not_found;
    if (targetExists && (target.type() != fs::file_type::regular ||
                         (target.permissions() & ANY_WRITE) == fs::perms::none)) {
        return false;
    }
    const fs::path temporary = temporaryBeside(path);
    if (!writeWhole(temporary, bytes)) {
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

} // namespace pal4
