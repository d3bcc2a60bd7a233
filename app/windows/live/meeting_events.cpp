#include "app/windows/live/meeting_events.h"

#include <algorithm>

#include "kestrum/core/kestrum_data.h"

namespace ZuvraKestrum::Live {

namespace {

// "%s" of format replaced by name.
std::string Format(const char* format, const std::string& name) {
    std::string text = format;
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, name);
    return text;
}

}  // namespace

int InvitationTimers::next() {
    last_ = last_ >= kLast ? kFirst : last_ + 1;
    return last_;
}

int PendingKindOf(const std::string& op) {
    if (op == "unmuteAudio") return kPendingMicrophone;
    if (op == "unmuteVideo") return kPendingCamera;
    return 0;
}

int RequestKindOf(const std::string& op) {
    if (op == "unmuteAudio") return kRequestMicrophone;
    if (op == "unmuteVideo") return kRequestCamera;
    return 0;
}

InvitationAnswer AnswerOf(bool success, const std::string& reason) {
    if (success) return InvitationAnswer::kAccepted;
    return reason == "TIMEOUT" ? InvitationAnswer::kTimedOut : InvitationAnswer::kRefused;
}

OwnStatusPlan PlanOwnStatus(int status, bool audioMuted, bool videoMuted, int channelProfile) {
    OwnStatusPlan plan;
    plan.audioMuted = (status & kStatusMicOff) != 0;
    plan.videoMuted = (status & kStatusCameraOff) != 0;
    plan.changeAudio = plan.audioMuted != audioMuted;
    plan.changeVideo = plan.videoMuted != videoMuted;
    if (channelProfile == 1) plan.engineMode = plan.audioMuted && plan.videoMuted ? 2 : 1;
    return plan;
}

ChannelPlan PlanChannel(int channelProfile, bool joinAsked) {
    ChannelPlan plan;
    plan.configure = channelProfile != -1;
    plan.join = plan.configure && !joinAsked;
    return plan;
}

OperationPlan PlanOperation(const std::string& operatorUid, const std::string& target,
                            const std::string& type, const std::string& ownUid) {
    OperationPlan plan;
    const bool ownTarget = !ownUid.empty() && target == ownUid;
    plan.enableOwnToggles = ownTarget && operatorUid == ownUid;
    if (type == "ban") {
        plan.removed = ownTarget;
    } else if (type == "share") {
        if (!ownTarget) plan.shareButton = OperationPlan::kShareDisable;
    } else if (type == "unshare") {
        plan.ownShareEnded = ownTarget;
        if (!ownTarget) plan.shareButton = OperationPlan::kShareEnable;
    } else if (type == "interrupt") {
        plan.interruptNotice = true;
    } else {
        plan.refreshStatus = true;
    }
    return plan;
}

std::string HostNotice::Compose(const char* format, const std::string& name) {
    return name.empty() ? std::string() : Format(format, name);
}

std::string InterruptText(int language, const std::string& name) {
    return Format(language ? "%s 暂时离开" : "%s temporary leave", name);
}

std::string RemovedText(int language, const std::string& name) {
    return Format(language ? "你被%s请出了房间" : "You are removed by %s", name);
}

ShareChannelStep ShareChannelStepOf(int32_t shareId) {
    if (shareId >= 1) return ShareChannelStep::kJoin;
    if (shareId == -1) return ShareChannelStep::kLeave;
    return ShareChannelStep::kNone;
}

ShareStop::Tick ShareStop::onTick(bool leaving) {
    if (!waiting_ || leaving) return Tick::kEndTimer;
    if (++sentAgain_ <= kLimit) return Tick::kSendAgain;
    waiting_ = false;
    return Tick::kGiveUp;
}

ReconnectRoad::Step ReconnectRoad::onReconnecting() {
    Step step;
    if (ended_) return step;
    step.showNotice = !reconnecting_;
    step.startDeadline = !reconnecting_;
    reconnecting_ = true;
    return step;
}

ReconnectRoad::Step ReconnectRoad::onRefused() {
    if (ended_ || (!reconnecting_ && !opened_)) return Step();
    // A failure while connected is a loss the library has given up on itself: the server broke
    // the frame limit on every connection, and so would it on the meeting's own attempts.
    if (!reconnecting_) return end(GiveUp::kUnreachable);
    if (++refusals_ > limits_.refusalRetries) return end(GiveUp::kRefused);
    Step step;
    step.reconnectAfter = limits_.firstRetryDelay;
    for (int i = 1; i < refusals_ && step.reconnectAfter < limits_.maxRetryDelay; ++i) {
        step.reconnectAfter *= 2;
    }
    step.reconnectAfter = std::min(step.reconnectAfter, limits_.maxRetryDelay);
    return step;
}

ReconnectRoad::Step ReconnectRoad::onDeadline() {
    if (!reconnecting_ || ended_) return Step();
    return end(GiveUp::kUnreachable);
}

ReconnectRoad::Step ReconnectRoad::end(GiveUp why) {
    Step step;
    step.giveUp = why;
    step.stopDeadline = true;
    step.hideNotice = true;
    ended_ = true;
    return step;
}

ReconnectRoad::Step ReconnectRoad::onOpen() {
    Step step;
    if (ended_) return step;
    step.stopDeadline = reconnecting_;
    step.hideNotice = reconnecting_;
    reconnecting_ = false;
    opened_ = true;
    refusals_ = 0;
    return step;
}

}  // namespace ZuvraKestrum::Live
