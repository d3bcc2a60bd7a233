#include "app/windows/live/media_marks.h"

#include <algorithm>
#include <cwchar>

#include "kestrum/core/kestrum_data.h"

namespace ZuvraKestrum::Live {

MarkPlace NetworkQualityPlace(const MeetingRoster& roster, int32_t uid) {
    const int32_t stream = roster.streamOf(uid);
    if (roster.bigViewUser().uid[0] != '\0' && roster.bigViewUser().streamId == stream) {
        return MarkPlace::kBigView;
    }
    if (roster.hasSelfTile() && roster.ownUser().streamId == stream) return MarkPlace::kSelfTile;
    return MarkPlace::kStrip;
}

namespace {

// The side of the picture under the big view's video.
constexpr int kNoVideoPicture = 96;

}  // namespace

BigViewLook BigViewLookOf(int status, const RECT& bigView) {
    const int both = kStatusMicOff | kStatusCameraOff;
    const int left = (bigView.right - bigView.left - kNoVideoPicture) / 2;
    const int top = (bigView.bottom - bigView.top - kNoVideoPicture) / 2;
    wchar_t image[96];
    swprintf(image, 96, L"file='%ls' dest='%d,%d,%d,%d'",
             (status & both) == both ? L"live/default.png" : L"live/no_signal_bk.png", left, top,
             left + kNoVideoPicture, top + kNoVideoPicture);
    return {(status & kStatusCameraOff) == 0, (status & kStatusMicOff) != 0, image};
}

bool FirstFrameShowsBigView(const UserInfoRecord& big, int32_t uid) {
    return uid == big.streamId && (big.status & kStatusCameraOff) == 0;
}

void ActiveSpeakerMark::onActiveSpeaker(const MeetingRoster& roster, int32_t uid) {
    speaker_ = roster.streamOf(uid);
}

std::vector<SpeechMark> ActiveSpeakerMark::onTick(const MeetingRoster& roster) {
    std::vector<SpeechMark> marks;
    const auto& tiles = roster.tiles();
    for (const UserInfoRecord& record : roster.socketList()) {
        const bool speaking = record.streamId == speaker_;
        if (record == roster.bigViewUser()) {
            marks.push_back({MarkPlace::kBigView, record.streamId, speaking});
        } else if (roster.hasSelfTile() && record == roster.ownUser()) {
            marks.push_back({MarkPlace::kSelfTile, record.streamId, speaking});
        } else if (std::find(tiles.begin(), tiles.end(), record) != tiles.end()) {
            marks.push_back({MarkPlace::kStrip, record.streamId, speaking});
        }
    }
    speaker_ = 0;
    return marks;
}

void SpeakingBatch::onVolumeIndication(const zuvra::rtc::AudioVolumeInfo* speakers,
                                       uint32_t count) {
    streams_.clear();
    if (!speakers) return;
    for (uint32_t i = 0; i < count; ++i) {
        if (speakers[i].uid != 0 && speakers[i].volume != 0) {
            streams_.push_back(static_cast<int32_t>(speakers[i].uid));
        }
    }
}

std::vector<int32_t> SpeakingBatch::take(const MeetingRoster& roster) {
    std::vector<int32_t> taken;
    taken.swap(streams_);
    const std::vector<UserInfoRecord>& listed = roster.socketList();
    const auto microphoneOn = [&listed](int32_t stream) {
        return std::any_of(listed.begin(), listed.end(), [stream](const UserInfoRecord& r) {
            return !r.isShareStream && r.streamId == stream && (r.status & kStatusMicOff) == 0;
        });
    };
    taken.erase(std::remove_if(taken.begin(), taken.end(),
                               [&](int32_t stream) { return !microphoneOn(stream); }),
                taken.end());
    return taken;
}

}  // namespace ZuvraKestrum::Live
