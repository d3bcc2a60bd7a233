// Account requests end to end against the test back-end.

#include "support/service_fixture.h"

namespace {

using Lines = std::vector<std::string>;

// size bytes that begin as a PNG file does.
std::string Png(size_t size, char fill = 'x') {
    std::string image(size, fill);
    image.replace(0, 8, "\x89PNG\r\n\x1A\n");
    return image;
}

class AccountRequestsTest : public ServiceTest {
protected:
    // Uploads the bytes as the user's portrait; returns its portrait id ("" on failure).
    std::string Upload(const std::string& name, const std::string& bytes) {
        const std::string portraitId = UploadPortrait(WriteFile(name, bytes));
        Backend().Reset();
        return portraitId;
    }
};

TEST_F(AccountRequestsTest, GetTokenSendsIndentedBodyWithoutTokenAndStoresTheNewToken) {
    RecordingObserver observer;
    Library().getToken(&observer, 3, 0, "", "");
    ASSERT_TRUE(observer.WaitFinished());
    const Lines lines = observer.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("onUserToken(1,", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "onHttpRetUpload(account/getToken,0," + Backend().BaseUrl() +
                            "usrservice/v1/account/getToken)");

    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(
        requests[0].body,
        "{\n\t\"device\":\t3,\n\t\"channel\":\t0,\n\t\"name\":\t\"\",\n\t\"photoUrl\":\t\"\"\n}");
    EXPECT_EQ(requests[0].Header("Content-Type"), "application/json;charset=UTF-8");
    EXPECT_FALSE(requests[0].HasHeader("access_token"));

    // The token handed out is what the next request carries.
    const std::string token = lines[0].substr(lines[0].rfind(',') + 1, std::string::npos);
    RecordingObserver update;
    Library().updateInfo(&update, "", "Bob", "");
    ASSERT_TRUE(update.WaitFinished());
    EXPECT_EQ(Requests().back().Header("access_token") + ")", token);
    EXPECT_EQ(update.Lines()[0], "onUserUpdate(1)");
}

TEST_F(AccountRequestsTest, UpdateSendsContentTypeThenTokenAndPassesSuccessOn) {
    RecordingObserver observer;
    Library().updateInfo(&observer, "secret", "Bob", "p7");
    ASSERT_TRUE(observer.WaitFinished());
    auto request = Requests().at(0);
    ASSERT_GE(request.headers.size(), 2u);
    std::vector<std::string> ours;
    for (const auto& header : request.headers) {
        if (header.first == "Content-Type" || header.first == "access_token") {
            ours.push_back(header.first + ":" + header.second);
        }
    }
    EXPECT_EQ(ours, (Lines{"Content-Type:application/json;charset=UTF-8", "access_token:tok-A"}));
    EXPECT_EQ(
        request.body,
        "{\n\t\"password\":\t\"secret\",\n\t\"name\":\t\"Bob\",\n\t\"portraitId\":\t\"p7\"\n}");

    RecordingObserver refused;
    Library().setUserInfo("unknown-token", kUid, "", "", "");
    Library().updateInfo(&refused, "", "Bob", "");
    ASSERT_TRUE(refused.WaitFinished());
    EXPECT_EQ(refused.Lines()[0], "onUserUpdate(0)");

    // Without a "success" member the answer is an error.
    Backend().SetFault("base", "garbage");
    RecordingObserver unreadable;
    Library().updateInfo(&unreadable, "", "Bob", "");
    ASSERT_TRUE(unreadable.WaitFinished());
    EXPECT_EQ(unreadable.Lines()[0], "onCallBackError(account/update,,0)");
}

TEST_F(AccountRequestsTest, PortraitUploadThenDownloadGivesTheSameBytes) {
    const std::string image = JpegBytes(3000);
    const std::string source = WriteFile("portrait-source.jpeg", image);

    RecordingObserver upload;
    ASSERT_NE(Library().updatePhoto(&upload, source.c_str()), nullptr);
    ASSERT_TRUE(upload.WaitFinished());
    const Lines lines = upload.Lines();
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].rfind("onUpdatePhoto(p", 0), 0u) << lines[0];
    const std::string portraitId = lines[0].substr(14, lines[0].size() - 15);
    const auto sent = Requests().at(0);
    EXPECT_EQ(sent.parts, (Lines{"portrait", "filename"}));
    EXPECT_EQ(sent.Header("access_token"), "tok-A");

    const std::string target = WriteFile("portrait-target.png", "stale");
    RecordingObserver download;
    ASSERT_NE(Library().getPhoto(&download, "30003", portraitId.c_str(), target.c_str()), nullptr);
    ASSERT_TRUE(download.WaitFinished());
    EXPECT_EQ(download.Lines()[0], "onGetPhoto(1,30003)");
    EXPECT_EQ(ReadFile(target), image);
    EXPECT_EQ(Requests().back().query, "?portraitId=" + portraitId);
}

TEST_F(AccountRequestsTest, DownloadRefusalReportsItsErrorCodeAndKeepsTheOldFile) {
    const std::string target = WriteFile("portrait-kept.png", "old picture");
    RecordingObserver observer;
    Library().getPhoto(&observer, "30003", "no such id", target.c_str());
    ASSERT_TRUE(observer.WaitFinished());
    const Lines lines = observer.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "onCallBackError(account/portrait,portrait not found,404)");
    EXPECT_EQ(lines[1], "onGetPhoto(0,30003)");
    EXPECT_EQ(ReadFile(target), "old picture");
    EXPECT_EQ(Requests().at(0).query, "?portraitId=no%20such%20id");
}

TEST_F(AccountRequestsTest, DownloadCutOffMidBodyFallsOverWithoutDoublingTheFile) {
    const std::string image = Png(5000);
    const std::string portraitId = Upload("portrait-big.png", image);
    Backend().SetFault("base", "drop");
    const std::string target = WriteFile("portrait-dropped.png", "");
    RecordingObserver download;
    Library().getPhoto(&download, "30003", portraitId.c_str(), target.c_str());
    ASSERT_TRUE(download.WaitFinished());
    EXPECT_EQ(download.Lines()[0], "onGetPhoto(1,30003)");
    EXPECT_EQ(ReadFile(target), image);
    EXPECT_EQ(Route(), "base,proxy1");
}

TEST_F(AccountRequestsTest, UnreadablePortraitFileFailsEveryCandidateAndReportsOnce) {
    for (int proxy = 1; proxy <= 5; ++proxy)
        Backend().SetFault("proxy" + std::to_string(proxy), "refuse");
    RecordingObserver observer;
    Library().updatePhoto(&observer, "Z:\\no\\such\\file.jpeg");
    ASSERT_TRUE(observer.WaitFinished());
    const Lines lines = observer.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("onCallBackError(account/portrait,", 0), 0u) << lines[0];
    EXPECT_EQ(Route(), "");
}

}  // namespace

namespace {

TEST_F(AccountRequestsTest, DownloadOfSomethingElseThanAPictureFailsAndKeepsTheOldFile) {
    const std::string portraitId = Upload("portrait-text.jpeg", std::string(3000, 'x'));
    const std::string target = WriteFile("portrait-not-replaced.png", "old picture");
    const Lines lines = DownloadPortrait(portraitId, target);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0],
              "onCallBackError(account/portrait,the portrait is neither a PNG nor a JPEG "
              "picture,0)");
    EXPECT_EQ(lines[1], "onGetPhoto(0,30003)");
    EXPECT_EQ(ReadFile(target), "old picture");
    EXPECT_EQ(ReadFile(target + ".part"), "");
    // An answer, if an unusable one: no other server is asked.
    EXPECT_EQ(Route(), "base");

    // Nor does a server's page in place of the picture replace it.
    Backend().SetFault("base", "garbage");
    EXPECT_EQ(DownloadPortrait(portraitId, target).at(1), "onGetPhoto(0,30003)");
    EXPECT_EQ(ReadFile(target), "old picture");
}

TEST_F(AccountRequestsTest, PictureOverTheUploadLimitIsRefusedAndTheOldFileKept) {
    const std::string portraitId = Upload("portrait-huge.png", Png(629146));
    const std::string target = WriteFile("portrait-not-enlarged.png", "old picture");
    const Lines lines = DownloadPortrait(portraitId, target);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "onCallBackError(account/portrait,Maximum file size exceeded,63)");
    EXPECT_EQ(lines[1], "onGetPhoto(0,30003)");
    EXPECT_EQ(lines[2].rfind("onHttpRetUpload(account/portrait,63,", 0), 0u) << lines[2];
    EXPECT_EQ(ReadFile(target), "old picture");
    EXPECT_EQ(Route(), "base");
}

TEST_F(AccountRequestsTest, PictureOfExactlyTheUploadLimitIsStored) {
    const std::string image = Png(629145, 'y');
    const std::string portraitId = Upload("portrait-largest.png", image);
    const std::string target = WriteFile("portrait-largest-target.png", "old picture");
    EXPECT_EQ(DownloadPortrait(portraitId, target).at(0), "onGetPhoto(1,30003)");
    EXPECT_EQ(ReadFile(target), image);
}

TEST_F(AccountRequestsTest, EndlessPortraitIsCutOffAtTheLimit) {
    Backend().SetFaultWith("base", "endless", "\"size\":314572800");
    const std::string target = WriteFile("portrait-endless.png", "old picture");
    const Lines lines = DownloadPortrait("p1", target);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "onCallBackError(account/portrait,Maximum file size exceeded,63)");
    EXPECT_EQ(lines[1], "onGetPhoto(0,30003)");
    EXPECT_EQ(ReadFile(target), "old picture");
    EXPECT_EQ(Route(), "base");
    // What the server could push into the connection's buffers before the library hung up.
    const long long sent = EndlessAnswerBytes();
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, 32ll << 20);
}

}  // namespace
