#include "kestrum/core/msgbox_ansy_manager.h"

#include <algorithm>
#include <atomic>
#include <cwctype>

#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"

namespace {

// One row per language: [0] English, [1] Chinese (g_language set).
using Texts = const wchar_t* const[2];

constexpr wchar_t kTitle[] = L"tips";
Texts kInviteYes = {L"Ok", L"确定"};
Texts kInviteNo = {L"Cancel", L"取消"};
Texts kRequestYes = {L"Open", L"打开"};
Texts kRequestNo = {L"Refuse", L"拒绝"};
Texts kInviteContent[2] = {{L"Invite other turn on microphone", L"邀请对方打开麦克风"},
                           {L"Invite user to turn on camera", L"邀请对方打开摄像头"}};
Texts kRequestContent[2] = {{L"%s invite you turn on microphone", L"%s 邀请你打开麦克风"},
                            {L"%s invite you turn on camera", L"%s 邀请你打开摄像头"}};
Texts kMicTimeout = {L"Wait %s turn on microphone timeout", L"%s 没有响应你的打开麦克风邀请"};
Texts kCameraTimeout = {L"Wait %s turn on camera timeout", L"%s没有响应你的打开摄像头邀请"};
Texts kMicRefused = {L"%s  refuse to turn on microphone ", L"%s 拒绝了你的打开麦克风邀请"};
Texts kCameraRefused = {L" %s  refuse to turn on camera", L"%s 拒绝了你的打开摄像头邀请"};

constexpr UINT kInviteMessage[2] = {WM_MSGBOX_INVITE_MIC_RET, WM_MSGBOX_INVITE_CAMERA_RET};
constexpr UINT kRequestMessage[2] = {WM_MSGBOX_REQUEST_MIC_RET, WM_MSGBOX_REQUEST_CAMERA_RET};

constexpr int32_t kPendingMicrophone = 6;
constexpr int32_t kPendingCamera = 7;

const wchar_t* InLanguage(Texts texts) { return texts[g_language != 0 ? 1 : 0]; }

// pattern with its "%s" replaced by name. Names are inserted as text, never read as a format.
std::wstring WithName(const wchar_t* pattern, const std::wstring& name) {
    std::wstring text = pattern;
    const size_t at = text.find(L"%s");
    if (at != std::wstring::npos) text.replace(at, 2, name);
    return text;
}

constexpr wchar_t kFirstStrongIsolate = 0x2068;
constexpr wchar_t kPopDirectionalIsolate = 0x2069;

// On one line (a control character becomes a space) and at most kShownNameLength characters, a
// pair of surrogates never cut apart, so that the box stays within the screen whoever asks.
std::wstring Shortened(std::wstring name) {
    std::replace_if(
        name.begin(), name.end(), [](wchar_t c) { return iswcntrl(c) != 0; }, L' ');
    size_t keep = CMsgBoxAnsyManager::kShownNameLength;
    if (name.size() <= keep) return name;
    if (IS_HIGH_SURROGATE(name[keep - 1])) --keep;
    name.resize(keep);
    return name + L'\x2026';
}

// nickname as the request box shows it, shortened. A right-to-left name comes between the
// isolate marks of DisplayName and is cut inside them: without its closing mark the box text
// after it would take its direction. (The C runtime counts the marks as control characters.)
std::wstring ShownName(const std::string& nickname) {
    std::wstring name = ZuvraKestrum::Util::Utf8ToCString(nickname);
    const bool isolated = name.size() >= 2 && name.front() == kFirstStrongIsolate &&
                          name.back() == kPopDirectionalIsolate;
    if (!isolated) return Shortened(std::move(name));
    return kFirstStrongIsolate + Shortened(name.substr(1, name.size() - 2)) +
           kPopDirectionalIsolate;
}

// The requesters' nicknames in the order they asked, joined by ",".
std::wstring JoinedNames(const std::vector<MsgBoxRequester>& requesters) {
    std::wstring names;
    for (const MsgBoxRequester& requester : requesters) {
        if (!names.empty()) names += L',';
        names += ShownName(requester.nickname);
    }
    return names;
}

std::wstring RequestContent(int kind, const std::vector<MsgBoxRequester>& requesters) {
    return WithName(InLanguage(kRequestContent[kind]), JoinedNames(requesters));
}

// Adds requester to the box's list as msgbox_requestmic says; true when it added a sender.
bool MergeRequester(std::vector<MsgBoxRequester>& requesters, const MsgBoxRequester& requester) {
    const auto listed =
        std::find_if(requesters.begin(), requesters.end(),
                     [&](const MsgBoxRequester& entry) { return entry.uid == requester.uid; });
    if (listed != requesters.end()) {
        listed->requestId = requester.requestId;
        return false;
    }
    if (requesters.size() >= CMsgBoxAnsyManager::kMaxRequesters) return false;
    requesters.push_back(requester);
    return true;
}

// Lives for the whole process: answers may still arrive from the framework thread at exit.
std::mutex& ManagerLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

CMsgBoxAnsyManager* g_instance = nullptr;  // guarded by ManagerLock
IInviteBoxUi* g_boxUi = nullptr;

// Process-wide, so that a box of an earlier manager never matches one of a later manager.
uint32_t NextSerial() {
    static std::atomic<uint32_t> serial{0};
    uint32_t next = ++serial;
    if (next == 0) next = ++serial;
    return next;
}

// A null window would post to the calling thread's own queue, where no one reads the record.
bool PostToWindow(HWND window, UINT message, void* record, int answer) {
    return window && PostMessageW(window, message, reinterpret_cast<WPARAM>(record), answer);
}

// Answers already posted point into a manager that is gone. Their receivers are windows of the
// UI thread, which releases the manager, so they are taken from its queue unread.
void DropPostedAnswers() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_MSGBOX_INVITE_MIC_RET, WM_MSGBOX_REQUEST_CAMERA_RET,
                        PM_REMOVE)) {
    }
}

class NoBoxUi : public IInviteBoxUi {
public:
    InviteBox showBox(HWND, const InviteBoxTexts&, AnswerCallback) override { return {}; }
    void updateBoxContent(MsgBox*, const std::wstring&) override {}
    void closeBox(MsgBox*) override {}
    void showToast(const std::wstring&, int, HWND) override {}
};

}  // namespace

void CMsgBoxAnsyManager::setBoxUi(IInviteBoxUi* ui) { g_boxUi = ui; }

IInviteBoxUi& CMsgBoxAnsyManager::ui() {
    static NoBoxUi none;
    return g_boxUi ? *g_boxUi : none;
}

CMsgBoxAnsyManager* CMsgBoxAnsyManager::getInstance() {
    std::lock_guard<std::mutex> guard(ManagerLock());
    if (!g_instance) g_instance = new CMsgBoxAnsyManager();
    return g_instance;
}

void CMsgBoxAnsyManager::destroyInstance() {
    CMsgBoxAnsyManager* gone = nullptr;
    {
        // Once the pointer is cleared no answer reaches the manager, and an answer that got it
        // before has finished posting: the manager can go outside the lock, so that closing its
        // boxes (which activates their owners) cannot come back to the lock on this thread.
        std::lock_guard<std::mutex> guard(ManagerLock());
        gone = g_instance;
        g_instance = nullptr;
    }
    delete gone;
    DropPostedAnswers();
}

CMsgBoxAnsyManager::CMsgBoxAnsyManager() : CKestrumDump("CMsgBoxManager", true, false, true, L"") {
    // Made on whichever thread asks first; the UI thread is the first to show or keep anything.
    uiThread_.Detach();
}

CMsgBoxAnsyManager::~CMsgBoxAnsyManager() {
    msgbox_timeout(kMicRequestTimer, nullptr);
    msgbox_timeout(kCameraRequestTimer, nullptr);
    pendingList.clear();
    // Open invitation boxes stay; their answers find no manager and are dropped.
    for (MsgBoxInviteInfo* record : {&micInvite, &cameraInvite}) {
        record->box = nullptr;
        record->boxWnd = nullptr;
    }
    for (MsgBoxRequestInfo* record : {&micRequest, &cameraRequest}) {
        record->box = nullptr;
        record->boxWnd = nullptr;
        record->requesters.clear();
    }
}

void CMsgBoxAnsyManager::msgbox_invitemic(const MsgBoxInviteInfo& info) {
    showInvite(kMicrophone, info);
}

void CMsgBoxAnsyManager::msgbox_invitecamera(const MsgBoxInviteInfo& info) {
    showInvite(kCamera, info);
}

void CMsgBoxAnsyManager::showInvite(Kind kind, const MsgBoxInviteInfo& info) {
    KESTRUM_CHECK_THREAD(uiThread_);
    MsgBoxInviteInfo& record = invite(kind);
    // The record answers for one box only: an earlier box of this kind still open would otherwise
    // answer with the new participant's uid.
    if (record.box && IsWindow(record.boxWnd)) ui().closeBox(record.box);
    const uint32_t serial = NextSerial();
    {
        std::lock_guard<std::mutex> guard(ManagerLock());
        record = info;
        record.box = nullptr;
        record.boxWnd = nullptr;
        inviteState_[kind].serial = serial;
    }
    const InviteBoxTexts texts = {InLanguage(kInviteContent[kind]), kTitle, InLanguage(kInviteYes),
                                  InLanguage(kInviteNo)};
    const InviteBox shown = showBox(
        info.parentWnd, texts, kind == kMicrophone ? &onInviteMicRet : &onInviteCameraRet, serial);
    std::lock_guard<std::mutex> guard(ManagerLock());
    record.box = shown.box;
    record.boxWnd = shown.window;
}

bool CMsgBoxAnsyManager::msgbox_requestmic(const MsgBoxRequestInfo& info) {
    return showRequest(kMicrophone, info);
}

bool CMsgBoxAnsyManager::msgbox_requestcamera(const MsgBoxRequestInfo& info) {
    return showRequest(kCamera, info);
}

bool CMsgBoxAnsyManager::showRequest(Kind kind, const MsgBoxRequestInfo& info) {
    KESTRUM_CHECK_THREAD(uiThread_);
    std::lock_guard<std::mutex> guard(requestLock(kind));
    MsgBoxRequestInfo& record = request(kind);
    const bool boxOpen = record.box && IsWindow(record.boxWnd);
    // A box whose answer is already with the receiver still gathers requests: the receiver
    // answers every request id in the record. A box that went without an answer (closed by the
    // system, say) leaves a stale record, and the request opens a fresh box.
    if (!boxOpen && !(record.box && requestState_[kind].answerPosted)) {
        openRequestBox(kind, info);
        return true;
    }
    if (info.requesters.empty() || !MergeRequester(record.requesters, info.requesters.front())) {
        return false;
    }
    if (boxOpen) ui().updateBoxContent(record.box, RequestContent(kind, record.requesters));
    return false;
}

// Under the kind's request lock.
void CMsgBoxAnsyManager::openRequestBox(Kind kind, const MsgBoxRequestInfo& info) {
    MsgBoxRequestInfo& record = request(kind);
    record = info;
    record.box = nullptr;
    record.boxWnd = nullptr;
    const uint32_t serial = NextSerial();
    requestState_[kind] = BoxState{serial, false};
    const InviteBoxTexts texts = {RequestContent(kind, record.requesters), kTitle,
                                  InLanguage(kRequestYes), InLanguage(kRequestNo)};
    const InviteBox shown =
        showBox(info.parentWnd, texts, kind == kMicrophone ? &onRequestMicRet : &onRequestCameraRet,
                serial);
    record.box = shown.box;
    record.boxWnd = shown.window;
}

InviteBox CMsgBoxAnsyManager::showBox(HWND parent, const InviteBoxTexts& texts, Answer answer,
                                      uint32_t serial) {
    return ui().showBox(parent, texts, [answer, serial](int result) { answer(serial, result); });
}

void CMsgBoxAnsyManager::msgbox_timeout(int timerId, HWND) {
    KESTRUM_CHECK_THREAD(uiThread_);
    if (timerId == kMicRequestTimer) closeRequestBox(kMicrophone);
    if (timerId == kCameraRequestTimer) closeRequestBox(kCamera);
}

void CMsgBoxAnsyManager::closeRequestBox(Kind kind) {
    std::lock_guard<std::mutex> guard(requestLock(kind));
    MsgBoxRequestInfo& record = request(kind);
    if (!record.box) return;
    if (IsWindow(record.boxWnd)) ui().closeBox(record.box);
    resetRequest(kind);
}

void CMsgBoxAnsyManager::resetRequest(Kind kind) {
    MsgBoxRequestInfo& record = request(kind);
    record.box = nullptr;
    record.boxWnd = nullptr;
    record.requesters.clear();
    requestState_[kind] = BoxState{};
}

void CMsgBoxAnsyManager::onInviteMicRet(uint32_t serial, int answer) {
    postInviteAnswer(kMicrophone, serial, answer);
}

void CMsgBoxAnsyManager::onInviteCameraRet(uint32_t serial, int answer) {
    postInviteAnswer(kCamera, serial, answer);
}

void CMsgBoxAnsyManager::onRequestMicRet(uint32_t serial, int answer) {
    postRequestAnswer(kMicrophone, serial, answer);
}

void CMsgBoxAnsyManager::onRequestCameraRet(uint32_t serial, int answer) {
    postRequestAnswer(kCamera, serial, answer);
}

void CMsgBoxAnsyManager::postInviteAnswer(Kind kind, uint32_t serial, int answer) {
    std::lock_guard<std::mutex> guard(ManagerLock());
    CMsgBoxAnsyManager* self = g_instance;
    if (!self || self->inviteState_[kind].serial != serial) return;
    MsgBoxInviteInfo& record = self->invite(kind);
    // The record stays in the manager whether or not the post succeeds: nothing to free.
    if (!PostToWindow(record.notifyWnd, kInviteMessage[kind], &record, answer)) {
        self->writeLine(Level_Warning, __LINE__, "%s(lost answer %d, error %lu)",
                        "CMsgBoxAnsyManager::onInviteRet", answer, GetLastError());
    }
}

void CMsgBoxAnsyManager::postRequestAnswer(Kind kind, uint32_t serial, int answer) {
    std::lock_guard<std::mutex> guard(ManagerLock());
    CMsgBoxAnsyManager* self = g_instance;
    if (!self) return;
    std::lock_guard<std::mutex> recordGuard(self->requestLock(kind));
    BoxState& state = self->requestState_[kind];
    if (state.serial != serial) return;
    MsgBoxRequestInfo& record = self->request(kind);
    if (PostToWindow(record.notifyWnd, kRequestMessage[kind], &record, answer)) {
        state.answerPosted = true;
        return;
    }
    // The record is never freed, but no receiver will empty it either: do it here, so that the
    // next request opens a fresh box instead of gathering into this one.
    self->writeLine(Level_Warning, __LINE__, "%s(lost answer %d, error %lu)",
                    "CMsgBoxAnsyManager::onRequestRet", answer, GetLastError());
    self->resetRequest(kind);
}

void CMsgBoxAnsyManager::msgbox_append(const MsgBoxPendingInfo& info) {
    KESTRUM_CHECK_THREAD(uiThread_);
    std::lock_guard<std::mutex> guard(ManagerLock());
    pendingList.push_back(info);
}

template <typename Match>
bool CMsgBoxAnsyManager::takePending(Match match, MsgBoxPendingInfo& out) {
    std::lock_guard<std::mutex> guard(ManagerLock());
    const auto found = std::find_if(pendingList.begin(), pendingList.end(), match);
    if (found == pendingList.end()) return false;
    out = *found;
    pendingList.erase(found);
    return true;
}

void CMsgBoxAnsyManager::msgbox_accepted(const std::string& requestId, HWND wnd) {
    KESTRUM_CHECK_THREAD(uiThread_);
    MsgBoxPendingInfo taken;
    auto sameRequest = [&](const MsgBoxPendingInfo& entry) { return entry.requestId == requestId; };
    if (takePending(sameRequest, taken)) KillTimer(wnd, taken.eventId);
}

void CMsgBoxAnsyManager::msgbox_refused(const std::string& requestId, HWND wnd,
                                        MsgBoxPendingInfo& out) {
    KESTRUM_CHECK_THREAD(uiThread_);
    MsgBoxPendingInfo taken;
    auto sameRequest = [&](const MsgBoxPendingInfo& entry) { return entry.requestId == requestId; };
    if (!takePending(sameRequest, taken)) return;
    out = taken;
    KillTimer(wnd, taken.eventId);
    const MsgBoxNoticeInfo notice = {taken.type, taken.requestId, taken.nickname, wnd};
    if (taken.type == kPendingMicrophone) notifyMicRefused(notice);
    if (taken.type == kPendingCamera) notifyCameraRefused(notice);
}

void CMsgBoxAnsyManager::msgbox_noresponse(int eventId, HWND wnd, MsgBoxPendingInfo& out) {
    KESTRUM_CHECK_THREAD(uiThread_);
    MsgBoxPendingInfo taken;
    auto sameTimer = [&](const MsgBoxPendingInfo& entry) { return entry.eventId == eventId; };
    if (!takePending(sameTimer, taken)) return;
    out = taken;
    if (taken.type != kPendingMicrophone && taken.type != kPendingCamera) return;
    const bool microphone = taken.type == kPendingMicrophone;
    KESTRUM_LOG(Level_Info, "(nEventId: %d,Type:%s,nickname: %s)", eventId,
                microphone ? "unmuteAudio" : "unmuteVideo", taken.nickname.c_str());
    const MsgBoxNoticeInfo notice = {taken.type, taken.requestId, taken.nickname, wnd};
    if (microphone) {
        notifyMicTimeout(notice);
    } else {
        notifyCameraTimeout(notice);
    }
}

void CMsgBoxAnsyManager::notifyMicTimeout(const MsgBoxNoticeInfo& info) {
    notify(kMicTimeout, info);
}

void CMsgBoxAnsyManager::notifyCameraTimeout(const MsgBoxNoticeInfo& info) {
    notify(kCameraTimeout, info);
}

void CMsgBoxAnsyManager::notifyMicRefused(const MsgBoxNoticeInfo& info) {
    notify(kMicRefused, info);
}

void CMsgBoxAnsyManager::notifyCameraRefused(const MsgBoxNoticeInfo& info) {
    notify(kCameraRefused, info);
}

void CMsgBoxAnsyManager::notify(const wchar_t* const texts[2], const MsgBoxNoticeInfo& info) {
    KESTRUM_CHECK_THREAD(uiThread_);
    ui().showToast(WithName(InLanguage(texts), ZuvraKestrum::Util::Utf8ToCString(info.nickname)),
                   kNoticeMs, info.parent);
}
