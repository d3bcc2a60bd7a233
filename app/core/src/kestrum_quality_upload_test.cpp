#include "kestrum/core/kestrum_quality_upload.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "engine_journal.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/json/json_node.h"
#include "meeting_data_fixture.h"

namespace {

// One parameter call as the engine journal shows it.
std::string ParameterCall(const std::string& text) {
    return "engine.queryInterface(3)\nparameters.setParameters(" + text +
           ")\nparameters.release()\n";
}

// One parsed event: the members of its "rtc.report_customized_data" object.
class Event {
public:
    explicit Event(const std::string& text) : root_(json_parse(text.c_str())) {
        if (root_) body_ = json_find_member(root_, "rtc.report_customized_data");
    }
    ~Event() { json_delete(root_); }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    bool valid() const { return body_ && (body_->type & JSON_TYPE_MASK) == JSON_OBJECT; }
    bool has(const char* key) const { return member(key) != nullptr; }
    std::string text(const char* key) const {
        const JsonNode* node = member(key);
        return node && node->valuestring ? node->valuestring : "";
    }
    long long number(const char* key) const {
        const JsonNode* node = member(key);
        return node ? static_cast<long long>(node->valueint) : -1;
    }
    int type(const char* key) const {
        const JsonNode* node = member(key);
        return node ? node->type & JSON_TYPE_MASK : -1;
    }
    std::string index(const char* key) const {
        const JsonNode* index = member("index");
        const JsonNode* node = index ? json_find_member(index, key) : nullptr;
        return node && node->valuestring ? node->valuestring : "";
    }

private:
    const JsonNode* member(const char* key) const {
        return body_ ? json_find_member(body_, key) : nullptr;
    }

    JsonNode* root_;
    const JsonNode* body_ = nullptr;
};

class QualityUploadTest : public ::testing::Test {
protected:
    void SetUp() override {
        CSingleton<CKestrumZuvra>::getInstance();  // the engine's own journal lines go first
        KestrumEngineJournalClear();
    }

    MeetingDataFixture meeting_;
    CKestrumQualityUpload upload_;
};

TEST_F(QualityUploadTest, AppStartCarriesRunIdUidAndVersion) {
    const std::string text = upload_.reportAppStart("3.2.1");
    Event event(text);
    ASSERT_TRUE(event.valid()) << text;
    EXPECT_EQ(event.number("eventType"), 11);
    EXPECT_EQ(event.text("sid"), upload_.runId());
    EXPECT_EQ(event.index("index1"), upload_.runId());
    EXPECT_EQ(event.index("index2"), "uid-at-start");
    EXPECT_EQ(event.text("kmrUid"), "uid-at-start");
    EXPECT_EQ(event.number("osType"), 4);
    EXPECT_EQ(event.text("appVersion"), "3.2.1");
    EXPECT_EQ(event.type("lts"), JSON_INT);
    EXPECT_EQ(EngineJournal(), ParameterCall(text));
}

TEST_F(QualityUploadTest, ResultsReportSuccessOnlyForCodesBelowOne) {
    for (const auto& [code, success] :
         {std::pair<int, int>{0, JSON_TRUE}, {-3, JSON_TRUE}, {1, JSON_FALSE}, {28, JSON_FALSE}}) {
        Event event(upload_.reportHttpResult("room/join", code, 250));
        ASSERT_TRUE(event.valid());
        EXPECT_EQ(event.type("success"), success) << code;
        EXPECT_EQ(static_cast<int>(event.number("ec")), code);
        EXPECT_EQ(event.number("eventType"), 10);
        EXPECT_EQ(event.number("netType"), upload_.netType());
    }
}

TEST_F(QualityUploadTest, RequestResultsCarryElapsedAndTypeButUploadsDoNot) {
    Event join(upload_.reportHttpResult("room/join", 0, 250));
    ASSERT_TRUE(join.valid());
    EXPECT_EQ(join.number("elapsed"), 250);
    EXPECT_EQ(join.text("requestType"), "room/join");
    for (const char* api : {"account/portrait", "feedback/uploadFeedback"}) {
        Event upload(upload_.reportHttpResult(api, 0, 250));
        ASSERT_TRUE(upload.valid()) << api;
        EXPECT_FALSE(upload.has("elapsed")) << api;
        EXPECT_FALSE(upload.has("requestType")) << api;
        EXPECT_EQ(upload.type("success"), JSON_TRUE);
    }
}

TEST_F(QualityUploadTest, JoinTimeIsMeasuredFromTheLastMark) {
    upload_.markStartTick();
    Sleep(60);
    Event first(upload_.reportJoinChannel(0));
    ASSERT_TRUE(first.valid());
    EXPECT_GE(first.number("elapsed"), 30);  // the tick advances in steps
    EXPECT_LT(first.number("elapsed"), 5000);
    EXPECT_EQ(first.type("success"), JSON_TRUE);
    // A second join is measured from the first one, not from a duration taken as a tick.
    Sleep(20);
    Event second(upload_.reportJoinChannel(0));
    ASSERT_TRUE(second.valid());
    EXPECT_GE(second.number("elapsed"), 0);
    EXPECT_LT(second.number("elapsed"), 5000);
}

TEST_F(QualityUploadTest, UidIsTheOneKnownAtConstruction) {
    meeting_.data().uid = "uid-assigned-later";
    EXPECT_EQ(Event(upload_.reportJoinChannel(0)).text("kmrUid"), "uid-at-start");
}

TEST_F(QualityUploadTest, StringValuesAreEscaped) {
    const std::string text = upload_.reportHttpResult("room/\"join\"\\x\n", 0, 1);
    Event event(text);
    ASSERT_TRUE(event.valid()) << text;
    EXPECT_EQ(event.text("requestType"), "room/\"join\"\\x\n");
    EXPECT_EQ(CKestrumQualityUpload::EscapeJson("plain/api-1.0"), "plain/api-1.0");
}

TEST_F(QualityUploadTest, EventsThatDoNotFitAreNotSent) {
    EXPECT_EQ(upload_.reportHttpResult(std::string(1100, 'a').c_str(), 0, 1), "");
    EXPECT_EQ(EngineJournal(), "");
}

// A report on a worker thread before start-up made the engine wrapper must not make it there:
// the engine would be created and initialised off the UI thread. The wrapper is taken away here
// (the next test's set-up builds it again on this thread).
TEST_F(QualityUploadTest, ReportsBeforeTheEngineWrapperExistsNeitherCreateItNorSend) {
    delete CSingleton<CKestrumZuvra>::existingInstance();
    ASSERT_EQ(CSingleton<CKestrumZuvra>::existingInstance(), nullptr);
    KestrumEngineJournalClear();

    std::string appStart, join, http;
    std::thread reporter([&] {
        appStart = upload_.reportAppStart("3.2.1");
        join = upload_.reportJoinChannel(0);
        http = upload_.reportHttpResult("room/join", 0, 250);
    });
    reporter.join();

    EXPECT_EQ(CSingleton<CKestrumZuvra>::existingInstance(), nullptr);
    EXPECT_EQ(appStart, "");
    EXPECT_EQ(join, "");
    EXPECT_EQ(http, "");
    EXPECT_EQ(EngineJournal(), "");

    // Once the UI thread has made it, the same thread's reports reach it.
    CSingleton<CKestrumZuvra>::getInstance();
    KestrumEngineJournalClear();
    std::thread([&] { http = upload_.reportHttpResult("room/join", 0, 250); }).join();
    EXPECT_NE(http, "");
    EXPECT_EQ(EngineJournal(), ParameterCall(http));
}

TEST(QualityRunIdTest, ThirdGroupIsLowerCaseAndTheOthersUpperCase) {
    const GUID guid = {
        0xABCDEF12, 0xABCD, 0xABCD, {0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45, 0x67, 0x89}};
    EXPECT_EQ(CKestrumQualityUpload::FormatRunId(guid), "ABCDEF12-ABCD-abcd-ABCD-EF0123456789");
}

// Two adapters; the second lists an address "0.0.0.0" unless given another.
struct FakeAdapters {
    explicit FakeAdapters(const char* secondAddress) {
        std::memset(adapters, 0, sizeof adapters);
        adapters[0].Next = &adapters[1];
        adapters[0].Type = MIB_IF_TYPE_ETHERNET;
        std::strcpy(adapters[0].IpAddressList.IpAddress.String, "192.168.1.20");
        adapters[1].Type = 71;  // wireless: no type line
        std::strcpy(adapters[1].IpAddressList.IpAddress.String, secondAddress);
    }
    IP_ADAPTER_INFO adapters[2];
};

TEST(QualityNetTypeTest, AnUnassignedAddressGivesTwoAndOtherwiseZero) {
    EXPECT_EQ(CKestrumQualityUpload::NetTypeOfAdapters(FakeAdapters("0.0.0.0").adapters), 2);
    EXPECT_EQ(CKestrumQualityUpload::NetTypeOfAdapters(FakeAdapters("10.0.0.3").adapters), 0);
    EXPECT_EQ(CKestrumQualityUpload::NetTypeOfAdapters(nullptr), 0);
}

}  // namespace
