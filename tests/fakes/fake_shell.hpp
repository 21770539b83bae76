#pragma once

#include "ports/shell_port.hpp"

#include <functional>
#include <string>
#include <vector>

namespace pal4::testing {

struct ShownMessage {
    std::string text;
    std::string title;
    std::uint32_t flags = 0;
};

struct ShellExecution {
    std::string operation;
    std::string file;
    std::string parameters;
    std::string directory;
    std::int32_t showCommand = 0;
};

// A desktop in memory: records message boxes and started programs.
class FakeShell final : public ShellPort {
public:
    explicit FakeShell(std::filesystem::path programDirectory = "/opt/pal4-subtitles")
        : programDirectory_(std::move(programDirectory)) {}

    void showMessage(const std::string& text, const std::string& title,
                     std::uint32_t flags) override {
        messages_.push_back({text, title, flags});
        ++showing_;
        if (whileShowing_) {
            whileShowing_();
        }
        --showing_;
    }

    bool shellExecute(const std::string& operation, const std::string& file,
                      const std::string& parameters, const std::string& directory,
                      std::int32_t showCommand) override {
        executions_.push_back({operation, file, parameters, directory, showCommand});
        return executeSucceeds_;
    }

    bool openFile(const std::filesystem::path& path) override {
        openedFiles_.push_back(path);
        return true;
    }

    std::filesystem::path programDirectory() const override { return programDirectory_; }

    void setExecuteSucceeds(bool succeeds) { executeSucceeds_ = succeeds; }
    // Runs while a box is up, as the box's own message loop delivers the panel's messages.
    void whileShowing(std::function<void()> action) { whileShowing_ = std::move(action); }
    // How many boxes are up at once now.
    int showing() const { return showing_; }
    const std::vector<ShownMessage>& messages() const { return messages_; }
    const std::vector<ShellExecution>& executions() const { return executions_; }
    const std::vector<std::filesystem::path>& openedFiles() const { return openedFiles_; }

private:
    std::filesystem::path programDirectory_;
    bool executeSucceeds_ = true;
    std::function<void()> whileShowing_;
    int showing_ = 0;
    std::vector<ShownMessage> messages_;
    std::vector<ShellExecution> executions_;
    std::vector<std::filesystem::path> openedFiles_;
};

} // namespace pal4::testing
