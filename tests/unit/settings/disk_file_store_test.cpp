#include "settings/disk_file_store.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pal4 {
namespace {

namespace fs = std::filesystem;

constexpr fs::perms kReadOnly =
    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

// A fresh folder whose name holds characters of no single ANSI code page (Greek, Japanese
// kana, a Latin letter with a diaeresis), so only native wide paths reach it.
class DiskFileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        std::u8string name = u8"pal4-\u03a3\u30ab\u00fc-";
        const std::string number = std::to_string(seed());
        name.append(number.begin(), number.end());
        folder_ = fs::temp_directory_path() / fs::path(name);
        fs::create_directories(folder_);
        file_ = folder_ / "Pal4_Corvel.ini";
    }
    void TearDown() override {
        std::error_code error;
        makeWritable(file_);
        fs::remove_all(folder_, error);
    }

    static void makeWritable(const fs::path& path) {
        std::error_code error;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, error);
    }
    static std::string contentOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t entriesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    DiskFileStore store_;
    fs::path folder_;
    fs::path file_;
};

TEST_F(DiskFileStoreTest, MissingFileIsNothing) {
    EXPECT_EQ(store_.readFile(file_), std::nullopt);
    EXPECT_FALSE(store_.exists(file_));
}

TEST_F(DiskFileStoreTest, ReplaceCreatesThenReplacesByteForByteLeavingNoTemporaryFile) {
    const char raw[] = "[config]\r\nfont=\xCB\xCE\xCC\xE5\r\n\0end";
    const std::string first(raw, sizeof raw - 1);
    ASSERT_TRUE(store_.replaceFile(file_, first, Durability::OnDisk));
    EXPECT_EQ(store_.readFile(file_), first);
    EXPECT_TRUE(store_.exists(file_));

    ASSERT_TRUE(store_.replaceFile(file_, "[config]\nsize=1", Durability::OnDisk));
    EXPECT_EQ(contentOf(file_), "[config]\nsize=1");
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST_F(DiskFileStoreTest, ReadOnlyFileIsRefusedAndKept) {
    ASSERT_TRUE(store_.replaceFile(file_, "old", Durability::OnDisk));
    fs::permissions(file_, kReadOnly);

    EXPECT_FALSE(store_.replaceFile(file_, "new", Durability::OnDisk));
    EXPECT_EQ(contentOf(file_), "old");
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST_F(DiskFileStoreTest, AppendCreatesThenAddsAndNeverTouchesWhatIsThere) {
    ASSERT_TRUE(store_.appendFile(file_, "one\r\n"));
    ASSERT_TRUE(store_.appendFile(file_, "two\r\n"));
    EXPECT_EQ(contentOf(file_), "one\r\ntwo\r\n");

    fs::permissions(file_, kReadOnly);
    EXPECT_FALSE(store_.appendFile(file_, "three\r\n"));
    EXPECT_EQ(contentOf(file_), "one\r\ntwo\r\n");
    EXPECT_FALSE(store_.appendFile(folder_ / "absent" / "log.txt", "one"));
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST_F(DiskFileStoreTest, FolderWhereTheFileShouldBeIsUnreadableButThere) {
    fs::create_directory(file_);
    EXPECT_EQ(store_.readFile(file_), std::nullopt);
    EXPECT_TRUE(store_.exists(file_));
    EXPECT_FALSE(store_.replaceFile(file_, "new", Durability::OnDisk));
    EXPECT_TRUE(fs::is_directory(file_));
}

TEST_F(DiskFileStoreTest, MissingFolderIsRefused) {
    EXPECT_FALSE(store_.replaceFile(folder_ / "absent" / "Pal4_Corvel.ini", "new", Durability::OnDisk));
}

#ifndef _WIN32
// Root ignores permission bits, so the folder is made immutable instead, where the file
// system allows it. Neither writer may create a file there. Windows has no read-only folders: the
// attribute does not stop creating files.
TEST_F(DiskFileStoreTest, ReadOnlyFolderIsRefusedAndKept) {
    ASSERT_TRUE(store_.replaceFile(file_, "old", Durability::OnDisk));
    const std::string lock = "chattr +i '" + folder_.string() + "' 2>/dev/null";
    if (std::system(lock.c_str()) != 0) {
        fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    }
    const bool refused = !store_.replaceFile(file_, "new", Durability::OnDisk);
    const bool appendRefused = !store_.appendFile(folder_ / "log.txt", "new");
    const int unlocked = std::system(("chattr -i '" + folder_.string() + "' 2>/dev/null").c_str());
    static_cast<void>(unlocked);
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    if (!refused && contentOf(file_) == "new") {
        GTEST_SKIP() << "this user can write into any folder";
    }
    EXPECT_TRUE(refused);
    EXPECT_TRUE(appendRefused);
    EXPECT_EQ(contentOf(file_), "old");
    EXPECT_EQ(entriesInFolder(), 1u);
}

// A disk that fills up halfway through a save, played by a file-size limit of 64 bytes: the
// write of the longer new content fails after its first 64 bytes. In a child process, so the
// limit never reaches the test's own output.
TEST_F(DiskFileStoreTest, ASaveThatFailsHalfwayLeavesTheOldFileWhole) {
    const std::string old = "[config]\r\nsize=20\r\n";
    ASSERT_TRUE(store_.replaceFile(file_, old, Durability::OnDisk));
    const std::string longer = "[config]\r\nfont=" + std::string(4096, 'x') + "\r\n";

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        const rlimit limit{64, 64};
        const bool limited = setrlimit(RLIMIT_FSIZE, &limit) == 0;
        const bool replaced = store_.replaceFile(file_, longer, Durability::OnDisk);
        _exit(!limited ? 2 : replaced ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 2) << "no file-size limit could be set";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save reported success";
    EXPECT_EQ(contentOf(file_), old);
    EXPECT_EQ(entriesInFolder(), 1u) << "the half-written temporary file stayed";

    ASSERT_TRUE(store_.replaceFile(file_, longer, Durability::OnDisk)); // without the limit it goes through
    EXPECT_EQ(contentOf(file_), longer);
}
#endif

} // namespace
} // namespace pal4
