#pragma once

// Input files for the INI engine, with the reads and the exact bytes after the writes. Shared
// by the engine's unit test and by the comparison with the Windows profile functions.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pal4::testing {

struct IniRead {
    std::string section;
    std::string key;
    std::optional<std::string> expected; // nothing: the key counts as absent
};

struct IniWrite {
    std::string section;
    std::string key;
    std::string value;
};

struct IniCase {
    std::string name;
    std::string input;
    std::vector<IniRead> reads;   // on the input
    std::vector<IniWrite> writes; // in this order
    std::string output;           // the file's bytes after the writes
};

const std::vector<IniCase>& iniCases();

// Test failures name the case instead of dumping its bytes.
inline void PrintTo(const IniCase& test, std::ostream* out) {
    *out << test.name;
}

} // namespace pal4::testing
