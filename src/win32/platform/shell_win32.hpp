#pragma once

#include "ports/shell_port.hpp"

#include <windows.h>

namespace pal4::win32 {

// The desktop through the W functions; texts arrive as GB2312 and are widened at this edge.
class ShellWin32 final : public ShellPort {
public:
    // The window that owns every message box from now on: it is disabled while a box is up, so
    // its button cannot ask for a second one, and the box stays in front of it.
    void setMessageOwner(HWND owner) { messageOwner_ = owner; }

    void showMessage(const std::string& text, const std::string& title,
                     std::uint32_t flags) override;
    bool shellExecute(const std::string& operation, const std::string& file,
                      const std::string& parameters, const std::string& directory,
                      std::int32_t showCommand) override;
    bool openFile(const std::filesystem::path& path) override;
    // From the exe's own file name, so a start from another working directory finds the same
    // folder.
    std::filesystem::path programDirectory() const override;

private:
    HWND messageOwner_ = nullptr;
};

} // namespace pal4::win32
