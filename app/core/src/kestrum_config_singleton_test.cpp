#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"
#include "temp_folder.h"

namespace {

// As the program does: the holder deletes the instance when the process exits.
CSingleton<CKestrumConfig>::CGrabo configHolder;

TEST(KestrumConfigSingletonTest, RacingFirstCallersShareOneInstanceInTheProgramFolder) {
    std::vector<CKestrumConfig*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] { seen[i] = CSingleton<CKestrumConfig>::getInstance(0); });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(std::set<CKestrumConfig*>(seen.begin(), seen.end()).size(), 1u);
    CKestrumConfig* config = seen.front();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config->path(), ZuvraKestrum::Util::GetExeDirW() + L"KestrumConfig.ini");
    std::string appId;
    EXPECT_EQ(config->getAppID(appId).size(), 32u);
}

TEST(KestrumConfigSingletonTest, MeetingDataCopiesTheSingletonsValues) {
    TempFolder folder;
    CKestrumConfig* config = CSingleton<CKestrumConfig>::getInstance(0);
    config->setUid("singleton-uid");
    CKestrumData data(folder.path() + L"app.log");
    EXPECT_EQ(data.uid, "singleton-uid");
}

}  // namespace
