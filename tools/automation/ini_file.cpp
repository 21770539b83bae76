#include "ini_file.hpp"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace e2e {

namespace {

std::string trimmed(const std::string& text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && blank(text[first])) {
        ++first;
    }
    while (last > first && blank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

} // namespace

std::optional<std::map<std::string, std::string>> readIniSection(const std::filesystem::path& file,
                                                                 const std::string& section) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::map<std::string, std::string> keys;
    bool inSection = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        const std::string line = trimmed(bytes.substr(start, end - start));
        start = end + 1;
        if (line.starts_with('[')) {
            const std::size_t close = line.find(']');
            inSection = close != std::string::npos &&
                        lowered(trimmed(line.substr(1, close - 1))) == lowered(section);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string::npos) {
            const std::string key = lowered(trimmed(line.substr(0, equals)));
            if (!keys.contains(key)) {
                keys[key] = trimmed(line.substr(equals + 1));
            }
        }
    }
    return keys;
}

bool writeFileBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace e2e
