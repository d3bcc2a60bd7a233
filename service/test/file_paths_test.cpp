// File paths cross the library boundary as UTF-8 and are opened with the wide calls: a folder
// whose name the ANSI code page cannot spell works for the portrait upload, the portrait download
// and the log upload. Run in both locales (code pages 1252 and 936).

#include <windows.h>

#include <cstdio>

#include "kestrum/common/utf.h"
#include "support/service_fixture.h"

namespace {

using Lines = std::vector<std::string>;
using kestrum::common::Utf8ToWide;

// "头像-한-अ": Chinese (outside code page 1252), Hangul and Devanagari (outside 936 too).
const char kFolderName[] = "\xE5\xA4\xB4\xE5\x83\x8F-\xED\x95\x9C-\xE0\xA4\x85";

// True when the ANSI code page has no spelling for some character of the text.
bool OutsideAnsiCodePage(const std::string& utf8) {
    const std::wstring wide = Utf8ToWide(utf8);
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), static_cast<int>(wide.size()),
                        nullptr, 0, nullptr, &usedDefault);
    return usedDefault != FALSE;
}

bool WriteWide(const std::string& utf8Path, const std::string& bytes) {
    FILE* file = _wfopen(Utf8ToWide(utf8Path).c_str(), L"wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// The file's bytes; "(missing)" when it cannot be opened.
std::string ReadWide(const std::string& utf8Path) {
    FILE* file = _wfopen(Utf8ToWide(utf8Path).c_str(), L"rb");
    if (!file) return "(missing)";
    std::string bytes;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

class FilePathsTest : public ServiceTest {
protected:
    void SetUp() override {
        ServiceTest::SetUp();
        folder_ = WindowsPath(KESTRUM_TEST_WORKDIR) + "\\" + kFolderName;
        CreateDirectoryW(Utf8ToWide(folder_).c_str(), nullptr);
        ASSERT_NE(GetFileAttributesW(Utf8ToWide(folder_).c_str()), INVALID_FILE_ATTRIBUTES);
        // Otherwise the test would not show anything.
        ASSERT_TRUE(OutsideAnsiCodePage(kFolderName)) << "code page " << GetACP();
    }

    std::string InFolder(const std::string& name) const { return folder_ + "\\" + name; }

    std::string folder_;
};

TEST_F(FilePathsTest, PortraitUploadReadsAPictureFromAFolderTheCodePageCannotSpell) {
    const std::string image = JpegBytes(2500);
    const std::string source = InFolder("\xE5\xA4\xB4\xE5\x83\x8F.jpeg");
    ASSERT_TRUE(WriteWide(source, image));
    const std::string portraitId = UploadPortrait(source);
    ASSERT_FALSE(portraitId.empty());
    EXPECT_EQ(Requests().at(0).parts, (Lines{"portrait", "filename"}));

    // The service stored those bytes: a download into a plain folder gives them back.
    const std::string plain = WriteFile("paths-plain-target.png", "old");
    EXPECT_EQ(DownloadPortrait(portraitId, plain).at(0), "onGetPhoto(1,30003)");
    EXPECT_EQ(ReadFile(plain), image);
}

TEST_F(FilePathsTest, PortraitDownloadWritesIntoAFolderTheCodePageCannotSpell) {
    const std::string image = JpegBytes(2500);
    const std::string portraitId = UploadPortrait(WriteFile("paths-source.jpeg", image));
    ASSERT_FALSE(portraitId.empty());

    // A new file, then over an old one.
    const std::string target = InFolder(portraitId + ".png");
    DeleteFileW(Utf8ToWide(target).c_str());
    EXPECT_EQ(DownloadPortrait(portraitId, target).at(0), "onGetPhoto(1,30003)");
    EXPECT_EQ(ReadWide(target), image);

    ASSERT_TRUE(WriteWide(target, "old picture"));
    EXPECT_EQ(DownloadPortrait(portraitId, target).at(0), "onGetPhoto(1,30003)");
    EXPECT_EQ(ReadWide(target), image);
    EXPECT_EQ(ReadWide(target + ".part"), "(missing)");
}

TEST_F(FilePathsTest, LogUploadReadsAFileFromAFolderTheCodePageCannotSpell) {
    const std::string log = InFolder("\xE6\x97\xA5\xE5\xBF\x97.log");
    ASSERT_TRUE(WriteWide(log, "line one\nline two\n"));
    RecordingObserver observer;
    LogUploadRecord record{};
    record.observer = &observer;
    snprintf(record.path, sizeof record.path, "%s", log.c_str());
    Library().uploadlog(record);
    ASSERT_TRUE(observer.WaitFinished());
    EXPECT_EQ(observer.Lines().at(1), "onLogUpload(1)");
    EXPECT_EQ(Requests().at(0).parts.at(0), "log");
}

TEST_F(FilePathsTest, PathThatIsNotUtf8IsNotOpenedAsAnAnsiPath) {
    // "café.jpeg" exists; its code page 1252 spelling is not UTF-8, so no file is opened.
    const std::string utf8 = WindowsPath(KESTRUM_TEST_WORKDIR) + "\\caf\xC3\xA9.jpeg";
    ASSERT_TRUE(WriteWide(utf8, JpegBytes(2500)));
    const std::string ansi = WindowsPath(KESTRUM_TEST_WORKDIR) + "\\caf\xE9.jpeg";
    RecordingObserver observer;
    Library().updatePhoto(&observer, ansi.c_str());
    ASSERT_TRUE(observer.WaitFinished());
    const Lines lines = observer.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("onCallBackError(account/portrait,", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(",26)"), std::string::npos) << lines[0];
    EXPECT_EQ(Route(), "");

    // The UTF-8 spelling of the same file is read.
    EXPECT_FALSE(UploadPortrait(utf8).empty());
}

}  // namespace
