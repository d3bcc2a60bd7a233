#pragma once

#include <windows.h>

#include <cstddef>
#include <iterator>

#include "app/windows/skeleton/dui_message_map.h"
#include "app/windows/skeleton/window_messages.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/engine_messages.h"
#include "kestrum/core/msgbox_ansy_manager.h"

// The families of posted messages that windows receive, each from its one table, for a window's
// message table to declare (CDuiMessageMap::receives), and the check that every private message
// number of the program is distinct.

#define KESTRUM_MESSAGE_ID(name, number, Payload) name,

namespace ZuvraKestrum::Frame {

inline constexpr UINT kCourseIds[] = {KESTRUM_COURSE_MESSAGES(KESTRUM_MESSAGE_ID)};
inline constexpr UINT kEngineIds[] = {KESTRUM_ENGINE_MESSAGES(KESTRUM_MESSAGE_ID)};
inline constexpr UINT kWindowIds[] = {KESTRUM_WINDOW_MESSAGES(KESTRUM_MESSAGE_ID)};

// Every number of a private message on the program's windows: the families', the invitation
// answers', those of single window classes and the framework's own (delayed
// deletion, a toast's timed close, a task run on a layered window's thread).
inline constexpr UINT kPrivateNumbers[] = {
    KESTRUM_COURSE_MESSAGES(KESTRUM_MESSAGE_ID) KESTRUM_ENGINE_MESSAGES(KESTRUM_MESSAGE_ID)
        KESTRUM_WINDOW_MESSAGES(KESTRUM_MESSAGE_ID) WM_MSGBOX_INVITE_MIC_RET,
    WM_MSGBOX_INVITE_CAMERA_RET,
    WM_MSGBOX_REQUEST_MIC_RET,
    WM_MSGBOX_REQUEST_CAMERA_RET,
    kNoticeRunTaskNumber,
    kSettingsObserverNumber,
    kShareSourceFoundNumber,
    WM_APP + 1,
    WM_APP + 0x101,
    WM_APP + 0x2F1,
};

template <size_t kCount>
constexpr bool AllDistinct(const UINT (&numbers)[kCount]) {
    for (size_t i = 0; i < kCount; ++i) {
        for (size_t j = i + 1; j < kCount; ++j) {
            if (numbers[i] == numbers[j]) return false;
        }
    }
    return true;
}

static_assert(AllDistinct(kPrivateNumbers), "two private messages share a number");

}  // namespace ZuvraKestrum::Frame

#undef KESTRUM_MESSAGE_ID

// The course bridge's results and signalling events (course_messages.h).
inline constexpr MessageFamily kCourseMessages{ZuvraKestrum::Frame::kCourseIds,
                                               std::size(ZuvraKestrum::Frame::kCourseIds),
                                               &FreeCoursePayload};
// The engine's events (engine_messages.h).
inline constexpr MessageFamily kEngineMessages{ZuvraKestrum::Frame::kEngineIds,
                                               std::size(ZuvraKestrum::Frame::kEngineIds),
                                               &FreeEngineEventPayload};
// The windows' own (window_messages.h).
inline constexpr MessageFamily kWindowMessages{ZuvraKestrum::Frame::kWindowIds,
                                               std::size(ZuvraKestrum::Frame::kWindowIds),
                                               &FreeWindowPayload};

// The invitation answers: WPARAM the manager's record, read in place, LPARAM 0 for yes.
template <>
struct RowArguments<WM_MSGBOX_INVITE_MIC_RET> : Carries<BorrowedAnswer<MsgBoxInviteInfo>> {};
template <>
struct RowArguments<WM_MSGBOX_INVITE_CAMERA_RET> : Carries<BorrowedAnswer<MsgBoxInviteInfo>> {};
template <>
struct RowArguments<WM_MSGBOX_REQUEST_MIC_RET> : Carries<BorrowedAnswer<MsgBoxRequestInfo>> {};
template <>
struct RowArguments<WM_MSGBOX_REQUEST_CAMERA_RET> : Carries<BorrowedAnswer<MsgBoxRequestInfo>> {};

// The picker's close request is the message without a record, which the in-meeting window acts
// on as well.
template <>
struct RowArguments<WM_SCREENSHARE_CHOSEN> : Carries<RecordOrNull<ScreenShareChosen>> {};
