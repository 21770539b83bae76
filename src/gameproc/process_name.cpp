#include "gameproc/process_name.hpp"

#include "core/ascii_case.hpp"

namespace pal4 {

bool processNamesMatch(std::string_view searched, std::string_view listed) {
    return equalsIgnoringAsciiCase(searched, listed);
}

} // namespace pal4
