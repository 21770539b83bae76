#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace pal4 {

inline constexpr std::uint32_t MESSAGE_BOX_SYSTEM_MODAL = 0x1000; // MB_SYSTEMMODAL, with MB_OK
inline constexpr std::int32_t SHOW_NORMAL = 1;                    // SW_SHOWNORMAL

// The rest of the desktop: message boxes, starting programs, where the tool itself lives.
class ShellPort {
public:
    ShellPort() = default;
    ShellPort(const ShellPort&) = delete;
    ShellPort& operator=(const ShellPort&) = delete;
    virtual ~ShellPort() = default;

    // A message box with one OK button; returns when the user has closed it.
    virtual void showMessage(const std::string& text, const std::string& title,
                             std::uint32_t flags) = 0;

    // ShellExecute(NULL, operation, file, parameters, directory, showCommand); true on success.
    virtual bool shellExecute(const std::string& operation, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              std::int32_t showCommand) = 0;

    // Opens the file with the program the user chose for its kind; true on success.
    virtual bool openFile(const std::filesystem::path& path) = 0;

    // The folder that holds the tool's own exe (not the current directory).
    virtual std::filesystem::path programDirectory() const = 0;
};

} // namespace pal4
