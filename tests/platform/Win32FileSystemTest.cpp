#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/FilePath.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"
#include "tests/support/TestWorld.h"

namespace claverix::platform::win32 {
namespace {

class Win32FileSystemTest : public ::testing::Test {
protected:
    std::unique_ptr<tests::TestWorld> world_ = tests::MakeWin32World();
    Win32FileSystem files_;

    std::string Path(const std::string& name) const { return world_->directory() + "\\" + name; }

    FileError Replace(const std::string& name, std::string_view bytes) {
        const std::string_view pieces[] = {bytes};
        return files_.Replace(Path(name), pieces);
    }
};

TEST_F(Win32FileSystemTest, WritesAndReadsEveryByte) {
    std::string bytes;
    for (int round = 0; round < 3; ++round) {
        for (int byte = 0; byte < 256; ++byte) {
            bytes += static_cast<char>(byte);
        }
    }
    const std::string_view pieces[] = {std::string_view(bytes).substr(0, 100),
                                       std::string_view(bytes).substr(100)};
    ASSERT_FALSE(files_.CreateNew(Path("new.reg"), pieces).Failed());
    std::string read;
    ASSERT_FALSE(files_.Read(Path("new.reg"), read).Failed());
    EXPECT_EQ(read, bytes);

    ASSERT_FALSE(Replace("new.reg", "shorter").Failed());
    ASSERT_FALSE(files_.Read(Path("new.reg"), read).Failed());
    EXPECT_EQ(read, "shorter");
    EXPECT_EQ(world_->FilesIn(world_->directory()), std::set<std::string>{"new.reg"})
        << "no temporary file left";
}

TEST_F(Win32FileSystemTest, AReplacementThatCannotLandLeavesTheOriginal) {
    ASSERT_FALSE(Replace("locked.reg", "original").Failed());
    {
        // Another program holds the file open without sharing it.
        UniqueFileHandle lock(::CreateFileW(Utf8ToWide(Path("locked.reg")).c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock);
        FileError error = Replace("locked.reg", "new text");
        EXPECT_TRUE(error.Failed());
        EXPECT_FALSE(error.description.empty());
    }
    std::string read;
    ASSERT_FALSE(files_.Read(Path("locked.reg"), read).Failed());
    EXPECT_EQ(read, "original");
    EXPECT_EQ(world_->FilesIn(world_->directory()), std::set<std::string>{"locked.reg"});
}

TEST_F(Win32FileSystemTest, FailuresCarryTheirCodeAndDescription) {
    std::string read;
    FileError missing = files_.Read(Path("absent.reg"), read);
    EXPECT_EQ(missing.code, kFileNotFound);
    EXPECT_FALSE(missing.description.empty());

    ASSERT_FALSE(Replace("a.reg", "a").Failed());
    ASSERT_FALSE(Replace("b.reg", "b").Failed());
    const std::string_view pieces[] = {"again"};
    EXPECT_EQ(files_.CreateNew(Path("a.reg"), pieces).code, kFileExists);
    EXPECT_EQ(files_.Rename(Path("a.reg"), Path("b.reg")).code, kFileExists);
    EXPECT_TRUE(files_.CreateNew(Path("no such directory\\x.reg"), pieces).Failed());

    ASSERT_FALSE(files_.Rename(Path("a.reg"), Path("A.REG")).Failed());
    EXPECT_EQ(world_->FilesIn(world_->directory()), (std::set<std::string>{"A.REG", "b.reg"}));
    ASSERT_FALSE(files_.Remove(Path("A.REG")).Failed());
    EXPECT_FALSE(files_.Exists(Path("a.reg")));
}

// Names outside the code page, in a directory of its own and in one past
// MAX_PATH, which the file functions take only in their "\\?\" form.
TEST_F(Win32FileSystemTest, NamesOutsideTheCodePageAndPathsPastMaxPath) {
    std::string shortDirectory = Path("\u0141ukasz");
    std::vector<std::string> directories = {shortDirectory};
    while (Utf8ToWide(directories.back()).size() <= MAX_PATH) {
        directories.push_back(directories.back() +
                              "\\\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B " +
                              std::string(40, 'x'));
    }
    for (const std::string& directory : directories) {
        ASSERT_FALSE(files_.MakeDirectory(directory).Failed()) << directory;
        EXPECT_TRUE(files_.IsDirectory(directory));
    }
    for (const std::string& directory : {shortDirectory, directories.back()}) {
        const std::string file = directory + "\\\u0440\u0435\u0435\u0441\u0442\u0440.reg";
        const std::string renamed = directory + "\\\u0420\u0415\u0415\u0421\u0422\u0420.reg";
        const std::string_view first[] = {"один"};
        const std::string_view second[] = {"два"};
        std::string read;
        ASSERT_FALSE(files_.CreateNew(file, first).Failed()) << file;
        ASSERT_FALSE(files_.Read(file, read).Failed());
        EXPECT_EQ(read, "один");
        ASSERT_FALSE(files_.Replace(file, second).Failed());
        ASSERT_FALSE(files_.Read(file, read).Failed());
        EXPECT_EQ(read, "два");
        ASSERT_FALSE(files_.Rename(file, renamed).Failed()) << "a change of letter case only";
        EXPECT_EQ(files_.ListFiles(directory, ".reg"),
                  std::vector<std::string>{"\u0420\u0415\u0415\u0421\u0422\u0420.reg"});
        ASSERT_FALSE(files_.Remove(renamed).Failed());
        EXPECT_FALSE(files_.Exists(renamed));
    }
    std::string before = files_.CurrentDirectory();
    ASSERT_FALSE(files_.ChangeCurrentDirectory(shortDirectory).Failed());
    EXPECT_EQ(files_.CurrentDirectory(), shortDirectory);
    EXPECT_FALSE(files_.ChangeCurrentDirectory(before).Failed());
    // The scratch directory's removal takes no path past MAX_PATH.
    for (auto directory = directories.rbegin(); directory != directories.rend(); ++directory) {
        ::RemoveDirectoryW(FilePathForSystem(*directory).c_str());
    }
}

}  // namespace
}  // namespace claverix::platform::win32
