// What a profile change writes: the confirmed choices into the meeting data and the
// configuration, an uploaded avatar into the cache, the earlier cached one removed and nothing
// else.

#include "app/windows/settings/profile_change.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "kestrum/core/kestrum_config.h"
#include "meeting_data_fixture.h"
#include "temp_folder.h"

namespace {

using namespace ZuvraKestrum::Settings;

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(ProfileChange, TheConfirmedChoicesReachTheMeetingDataAndTheConfiguration) {
    MeetingDataFixture meeting;
    TempFolder folder;
    const CKestrumConfig config(folder.path());
    std::string stored;
    for (const bool off : {true, false}) {
        ApplyProfile({L"Zoë 张", off, !off}, meeting.data(), config);
        EXPECT_EQ(meeting.data().nickname, "Zo\xC3\xAB \xE5\xBC\xA0");
        EXPECT_EQ(meeting.data().cameraOff, off);
        EXPECT_EQ(meeting.data().micOff, !off);
        EXPECT_EQ(config.getEnableCamera(stored), off ? "1" : "0");
        EXPECT_EQ(config.getEnableMic(stored), off ? "0" : "1");
    }
}

TEST(ProfileChange, AnUploadedAvatarReplacesOnlyAnEarlierCachedOne) {
    MeetingDataFixture meeting;
    TempFolder folder;
    const std::wstring cache = folder.path() + L"logo\\";
    const std::wstring own = folder.path() + L"mine\\";
    CreateDirectoryW(cache.c_str(), nullptr);
    CreateDirectoryW(own.c_str(), nullptr);
    const std::wstring chosen = own + L"new.png";
    WriteFileBytes(folder.narrow() + "mine\\new.png", "new");
    struct Case {
        const char* name;
        std::wstring shown;
        std::wstring cached;
        AvatarCaching caching;
        bool shownStays;
    };
    for (const Case& c : {
             Case{"earlier cached", cache + L"old", cache + L"id2", AvatarCaching::kCached, false},
             Case{"same id again", cache + L"id2", cache + L"id2", AvatarCaching::kCached, true},
             Case{"own file", own + L"old", cache + L"id3", AvatarCaching::kCached, true},
             Case{"default picture", L"default.png", cache + L"id4", AvatarCaching::kCached, true},
             Case{"no cache file", cache + L"old", L"", AvatarCaching::kNoCacheFile, true},
             Case{"copy fails", cache + L"old", cache + L"gone\\id5", AvatarCaching::kCopyFailed,
                  true},
         }) {
        SCOPED_TRACE(c.name);
        if (c.shown.find(L'\\') != std::wstring::npos) {
            WriteFileBytes(ZuvraKestrum::Util::CStringToString(c.shown), "old");
        }
        meeting.data().portraitPath = "before";
        std::wstring shown = c.shown;
        EXPECT_EQ(CacheUploadedAvatar(chosen, c.cached, shown, meeting.data()), c.caching);
        const bool cached = c.caching == AvatarCaching::kCached;
        EXPECT_EQ(shown, cached ? c.cached : c.shown);
        EXPECT_EQ(meeting.data().portraitPath,
                  cached ? ZuvraKestrum::Util::CStringToUtf8(c.cached) : "before");
        if (cached) {
            EXPECT_EQ(ReadFileBytes(ZuvraKestrum::Util::CStringToString(c.cached)), "new");
        }
        if (c.shown.find(L'\\') != std::wstring::npos) {
            EXPECT_EQ(Exists(c.shown), c.shownStays);
        }
        EXPECT_TRUE(Exists(chosen));
    }
    EXPECT_TRUE(IsPictureFile(chosen));
    EXPECT_FALSE(IsPictureFile(L"default.png"));
    EXPECT_FALSE(IsPictureFile(own));
}

}  // namespace
