// The portable path helpers of the shell layer. Many cases use 誠 (GBK
// D5 5C), whose second byte is a backslash to byte-wise code.
#include "installer/shell_paths.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using installer::ExtractFileName;
using installer::ExtractFilePath;
using installer::ForceFolders;
using installer::IncludeTrailingBackslash;
using installer::RPos;
using installer::ShortenPath;

const std::string kCheng = "\xD5\x5C";  // 誠
const std::string kMo = "\xC4\xAB";     // 墨

TEST(RPosTest, FindsTheLastOccurrenceOneBased) {
  EXPECT_EQ(RPos("\\", "C:\\dir\\file"), 7u);
  EXPECT_EQ(RPos("ab", "abcab"), 4u);
  EXPECT_EQ(RPos("ab", "abcabx"), 4u);
  EXPECT_EQ(RPos("\\", "C:\\"), 3u);
}

TEST(RPosTest, MissingOrLongerSubGivesZero) {
  EXPECT_EQ(RPos("\\", "file.txt"), 0u);
  EXPECT_EQ(RPos("abc", "ab"), 0u);
  EXPECT_EQ(RPos("\\", ""), 0u);
}

TEST(RPosTest, TrailByteOfAChineseCharacterIsNoBackslash) {
  EXPECT_EQ(RPos("\\", "D:\\" + kCheng), 3u);
  EXPECT_EQ(RPos("\\", kCheng), 0u);
  EXPECT_EQ(RPos("\\", "D:\\" + kCheng + "\\x"), 6u);
  // 0x81 0x81 is one character, so the 0x5C after it starts a character:
  // a real backslash, though the byte before it could be a lead byte.
  EXPECT_EQ(RPos("\\", "\x81\x81\\"), 3u);
}

TEST(ShortenPathTest, PathUpToTheLimitStaysAsItIs) {
  const std::string path = "C:\\Program Files\\App\\run.exe";  // 28 bytes
  EXPECT_EQ(ShortenPath(path, 28), path);
  EXPECT_EQ(ShortenPath(path, 100), path);
}

TEST(ShortenPathTest, LongerPathKeepsDriveAndLastComponent) {
  EXPECT_EQ(ShortenPath("C:\\Program Files\\App\\run.exe", 27), "C:\\...\\run.exe");
  const std::string path = "D:\\Program Files\\Tools\\VANTO-X\\VANTO-X.exe";
  ASSERT_EQ(path.size(), 42u);
  EXPECT_EQ(ShortenPath(path, 40), "D:\\...\\VANTO-X.exe");
}

TEST(ShortenPathTest, LongLastComponentIsCutToFortyBytesOfWholeCharacters) {
  const std::string ascii(45, 'a');
  EXPECT_EQ(ShortenPath("D:\\dir\\" + ascii, 20), "D:\\...\\" + std::string(40, 'a'));
  // Byte 40 is the first half of a Chinese character: the cut comes before it.
  const std::string chinese = std::string(39, 'b') + kMo + "c";
  EXPECT_EQ(ShortenPath("D:\\dir\\" + chinese, 20), "D:\\...\\" + std::string(39, 'b'));
  // Ending in a character whose second byte is 0x5C: it is kept whole.
  const std::string ending = std::string(38, 'e') + kCheng + "f";
  EXPECT_EQ(ShortenPath("D:\\dir\\" + ending, 20), "D:\\...\\" + std::string(38, 'e') + kCheng);
}

TEST(ShortenPathTest, TrailByteBackslashDoesNotEndTheFolderPart) {
  // The last real separator is before "x" + 誠 + "name": all of that is the
  // last component.
  const std::string path = "D:\\some folder\\x" + kCheng + "name.exe";
  EXPECT_EQ(ShortenPath(path, 10), "D:\\...\\x" + kCheng + "name.exe");
}

// Records what ForceFolders asks, and answers from a set of folders.
class RecordingFileSystem final : public base::FileSystem {
public:
  std::set<std::string> folders;
  std::set<std::string> cannot_make;
  std::vector<std::string> calls;

  bool DirectoryExists(const std::string& path) override {
    calls.push_back("exists " + path);
    return folders.count(path) != 0;
  }
  bool MakeDirectory(const std::string& path) override {
    calls.push_back("mkdir " + path);
    if (cannot_make.count(path)) return false;
    folders.insert(path);
    return true;
  }
  bool RemoveEmptyDirectory(const std::string& path) override {
    calls.push_back("rmdir " + path);
    return folders.erase(path) != 0;
  }
  bool FileExists(const std::string& path) override {
    calls.push_back("file? " + path);
    return false;
  }
  bool RemoveFile(const std::string& path) override {
    calls.push_back("delete " + path);
    return false;
  }
  base::Bytes ReadWholeFile(const std::string& path) override {
    calls.push_back("read " + path);
    return {};
  }
  void WriteWholeFile(const std::string& path, base::ByteView) override {
    calls.push_back("write " + path);
  }
};

using Calls = std::vector<std::string>;

TEST(ForceFoldersTest, WalksFromTheRootCreatingWhatIsMissing) {
  RecordingFileSystem fs;
  fs.folders = {"D:\\"};
  EXPECT_TRUE(ForceFolders(fs, "D:\\A\\B"));
  EXPECT_EQ(fs.calls, (Calls{"exists D:\\", "exists D:\\A\\", "mkdir D:\\A\\", "exists D:\\A\\B",
                             "mkdir D:\\A\\B"}));
}

TEST(ForceFoldersTest, ExistingFoldersAreOnlyTested) {
  RecordingFileSystem fs;
  fs.folders = {"D:\\", "D:\\A\\", "D:\\A\\B\\"};
  EXPECT_TRUE(ForceFolders(fs, "D:\\A\\B\\"));
  EXPECT_EQ(fs.calls, (Calls{"exists D:\\", "exists D:\\A\\", "exists D:\\A\\B\\"}));
}

TEST(ForceFoldersTest, EmptyPathIsTrueAndTouchesNothing) {
  RecordingFileSystem fs;
  EXPECT_TRUE(ForceFolders(fs, ""));
  EXPECT_TRUE(fs.calls.empty());
}

TEST(ForceFoldersTest, FailureStopsTheWalkAndKeepsEarlierFolders) {
  RecordingFileSystem fs;
  fs.folders = {"D:\\"};
  fs.cannot_make = {"D:\\A\\B\\"};
  EXPECT_FALSE(ForceFolders(fs, "D:\\A\\B\\C\\D"));
  EXPECT_EQ(fs.calls, (Calls{"exists D:\\", "exists D:\\A\\", "mkdir D:\\A\\", "exists D:\\A\\B\\",
                             "mkdir D:\\A\\B\\"}));
  EXPECT_EQ(fs.folders, (std::set<std::string>{"D:\\", "D:\\A\\"}));
}

TEST(ForceFoldersTest, MissingDriveFailsAtTheRoot) {
  RecordingFileSystem fs;
  fs.cannot_make = {"Q:\\"};
  EXPECT_FALSE(ForceFolders(fs, "Q:\\x\\y"));
  EXPECT_EQ(fs.calls, (Calls{"exists Q:\\", "mkdir Q:\\"}));
}

TEST(ForceFoldersTest, ChineseNameEndingInByte5CIsOneFolder) {
  RecordingFileSystem fs;
  fs.folders = {"D:\\"};
  EXPECT_TRUE(ForceFolders(fs, "D:\\" + kCheng + "\\x"));
  EXPECT_EQ(fs.calls, (Calls{"exists D:\\", "exists D:\\" + kCheng + "\\",
                             "mkdir D:\\" + kCheng + "\\", "exists D:\\" + kCheng + "\\x",
                             "mkdir D:\\" + kCheng + "\\x"}));
}

TEST(IncludeTrailingBackslashTest, AddsABackslashOnlyWhenThereIsNone) {
  EXPECT_EQ(IncludeTrailingBackslash("C:\\dir"), "C:\\dir\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\dir\\"), "C:\\dir\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\"), "C:\\");
  EXPECT_EQ(IncludeTrailingBackslash("D:\\" + kCheng), "D:\\" + kCheng + "\\");
}

TEST(ExtractFileTest, SplitsAtTheLastBackslash) {
  EXPECT_EQ(ExtractFilePath("C:\\dir\\file.txt"), "C:\\dir\\");
  EXPECT_EQ(ExtractFileName("C:\\dir\\file.txt"), "file.txt");
  EXPECT_EQ(ExtractFilePath("C:\\dir\\"), "C:\\dir\\");
  EXPECT_EQ(ExtractFileName("C:\\dir\\"), "");
  EXPECT_EQ(ExtractFilePath("file.txt"), "");
  EXPECT_EQ(ExtractFileName("file.txt"), "file.txt");
}

TEST(ExtractFileTest, ChineseNamesStayWhole) {
  EXPECT_EQ(ExtractFilePath("D:\\" + kCheng + "x.exe"), "D:\\");
  EXPECT_EQ(ExtractFileName("D:\\" + kCheng + "x.exe"), kCheng + "x.exe");
  EXPECT_EQ(ExtractFilePath("D:\\" + kCheng + "\\" + kMo), "D:\\" + kCheng + "\\");
  EXPECT_EQ(ExtractFileName("D:\\" + kCheng + "\\" + kMo), kMo);
}

}  // namespace
