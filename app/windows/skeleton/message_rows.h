#pragma once

#include <windows.h>
#include <windowsx.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <type_traits>

#include "kestrum/core/posted_payload.h"

// What the typed rows of a message table (dui_message_map.h) unpack of a message and how they
// hand it to their handlers.

// What a row unpacks of its message for a typed handler (CDuiMessageMap::on), as Carried: for a
// message of a payload table what the table gives it (posted_payload.h), so a record arrives as a
// std::unique_ptr, a value in WPARAM as that value, and a message without payload as nothing. The
// system messages that windows handle are specialised below, other messages beside their id. A
// message with neither does not compile in a typed row.
template <UINT kMessage>
struct RowArguments {
    using Carried = PayloadOf<kMessage>;
};

template <class Payload>
struct Carries {
    using Carried = Payload;
};

// Further kinds of Carried for messages outside the payload tables:
// the value of LPARAM, converted to T (a pointer, for a message that is sent, never posted);
template <class Value>
struct InLParam {
    using Type = Value;
};
// the client point packed into LPARAM, as the mouse messages carry it;
struct ClientPoint {};
// the screen point packed into LPARAM, as WM_NCHITTEST carries it (the handler gets a POINT);
struct ScreenPoint {};
// a record whose absence is a message of its own: the handler gets the std::unique_ptr, null
// included;
template <class Record>
struct RecordOrNull {};
// an answer: WPARAM an Info* that the poster keeps (read in place, never freed, possibly null),
// LPARAM 0 for yes; the handler gets (Info*, bool yes).
template <class Info>
struct BorrowedAnswer {};

// A system command as WM_SYSCOMMAND carries it, for a handler that decides or runs the default
// processing itself.
struct SystemCommand {
    UINT id;        // the command, its low four bits the system's own
    LPARAM lParam;  // the cursor's screen point for a command chosen with the mouse
    UINT kind() const { return id & 0xFFF0; }
};

// A new size as WM_SIZE carries it.
struct SizeChange {
    UINT kind;  // SIZE_MAXIMIZED, SIZE_RESTORED, ...
    SIZE client;
};

template <>
struct RowArguments<WM_CREATE> : Carries<void> {};  // the create structure is not read
template <>
struct RowArguments<WM_DESTROY> : Carries<void> {};
template <>
struct RowArguments<WM_CLOSE> : Carries<void> {};
template <>
struct RowArguments<WM_NCPAINT> : Carries<void> {};
template <>
struct RowArguments<WM_NCCALCSIZE> : Carries<void> {};  // the client area is the whole window
template <>
struct RowArguments<WM_NCACTIVATE> : Carries<InWParam<BOOL>> {};  // whether it becomes active
template <>
struct RowArguments<WM_NCHITTEST> : Carries<ScreenPoint> {};
template <>
struct RowArguments<WM_SIZE> : Carries<SizeChange> {};
template <>
struct RowArguments<WM_GETMINMAXINFO> : Carries<InLParam<MINMAXINFO*>> {};  // sent
template <>
struct RowArguments<WM_MOUSEMOVE> : Carries<void> {};  // the cursor is read where needed
template <>
struct RowArguments<WM_NCLBUTTONDOWN> : Carries<void> {};
template <>
struct RowArguments<WM_LBUTTONDBLCLK> : Carries<void> {};
template <>
struct RowArguments<WM_IME_CHAR> : Carries<void> {};
template <>
struct RowArguments<WM_TIMER> : Carries<InWParam<UINT_PTR>> {};  // the timer's id
template <>
struct RowArguments<WM_KILLFOCUS> : Carries<void> {};
template <>
struct RowArguments<WM_KEYDOWN> : Carries<InWParam<UINT>> {};  // the virtual key
template <>
struct RowArguments<WM_SYSCOMMAND> : Carries<SystemCommand> {};
template <>
struct RowArguments<WM_RBUTTONDOWN> : Carries<ClientPoint> {};
template <>
struct RowArguments<WM_COPYDATA> : Carries<InLParam<const COPYDATASTRUCT*>> {};  // sent

// What a typed row does around its handler.
enum class RowMode {
    kHandled,  // the handler's result answers the message
    kPassOn,   // then the paint manager and the default processing see the message as well
    // kHandled while the window accepts events (CDuiFrameWindow::acceptingEvents); otherwise the
    // handler is not called and what the message carries is freed unread.
    kEvent,
};

// A family of posted messages: the ids of one payload table and the table's free function
// (message_families.h has the program's families).
struct MessageFamily {
    const UINT* ids;
    size_t count;
    PayloadFreeFunction free;
};

namespace ZuvraKestrum::Frame {

// What a handler's call came to: whether it took the message, and the result then.
struct Outcome {
    bool handled;
    LRESULT result;
};

// A handler returns void (took it, result 0), bool (whether it took it, result 0), LRESULT, or
// std::optional<LRESULT> (empty when it did not take it).
template <class Call>
Outcome Run(Call&& call) {
    using Result = decltype(call());
    if constexpr (std::is_void_v<Result>) {
        call();
        return {true, 0};
    } else if constexpr (std::is_same_v<Result, bool>) {
        return {call(), 0};
    } else if constexpr (std::is_same_v<Result, std::optional<LRESULT>>) {
        const std::optional<LRESULT> result = call();
        return {result.has_value(), result.value_or(0)};
    } else {
        static_assert(std::is_same_v<Result, LRESULT>, "a handler returns void, bool or LRESULT");
        return {true, call()};
    }
}

// How a row hands a message's Carried to its handler: the handler's type, the call, and what is
// freed of a message the handler never sees. The primary template is a record: a null record
// is nothing, and never reaches the handler.
template <class Record>
struct Carrier {
    template <class Window, class Result>
    using Handler = Result (Window::*)(std::unique_ptr<Record>);

    template <class Window, class Result>
    static Outcome Call(Window& window, Handler<Window, Result> handler, WPARAM wParam, LPARAM) {
        std::unique_ptr<Record> record(reinterpret_cast<Record*>(wParam));
        if (!record) return {true, 0};
        return Run([&] { return (window.*handler)(std::move(record)); });
    }

    static void Free(UINT, WPARAM wParam) { delete reinterpret_cast<Record*>(wParam); }
    static constexpr PayloadFreeFunction kFree = &Free;
};

template <class Record>
struct Carrier<RecordOrNull<Record>> {
    template <class Window, class Result>
    using Handler = Result (Window::*)(std::unique_ptr<Record>);

    template <class Window, class Result>
    static Outcome Call(Window& window, Handler<Window, Result> handler, WPARAM wParam, LPARAM) {
        std::unique_ptr<Record> record(reinterpret_cast<Record*>(wParam));
        return Run([&] { return (window.*handler)(std::move(record)); });
    }

    static constexpr PayloadFreeFunction kFree = &Carrier<Record>::Free;
};

template <>
struct Carrier<void> {
    template <class Window, class Result>
    using Handler = Result (Window::*)();

    template <class Window, class Result>
    static Outcome Call(Window& window, Handler<Window, Result> handler, WPARAM, LPARAM) {
        return Run([&] { return (window.*handler)(); });
    }

    static constexpr PayloadFreeFunction kFree = nullptr;
};

template <class Value>
struct Carrier<InWParam<Value>> {
    template <class Window, class Result>
    using Handler = Result (Window::*)(Value);

    template <class Window, class Result>
    static Outcome Call(Window& window, Handler<Window, Result> handler, WPARAM wParam, LPARAM) {
        return Run([&] { return (window.*handler)(static_cast<Value>(wParam)); });
    }

    static constexpr PayloadFreeFunction kFree = nullptr;
};

template <class Value>
struct Carrier<InLParam<Value>> {
    template <class Window, class Result>
    using Handler = Result (Window::*)(Value);

    template <class Window, class Result>
    static Outcome Call(Window& window, Handler<Window, Result> handler, WPARAM, LPARAM lParam) {
        if constexpr (std::is_pointer_v<Value>) {
            return Run([&] { return (window.*handler)(reinterpret_cast<Value>(lParam)); });
        } else {
            return Run([&] { return (window.*handler)(static_cast<Value>(lParam)); });
        }
    }

    static constexpr PayloadFreeFunction kFree = nullptr;
};

template <>
struct Carrier<ClientPoint> {
    template <class Window, class Result>
    using Handler = Result (Window::*)(POINT);

    template <class Window, class Result>
    static Outcome Call(Window& window, Handler<Window, Result> handler, WPARAM, LPARAM lParam) {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        return Run([&] { return (window.*handler)(point); });
    }

    static constexpr PayloadFreeFunction kFree = nullptr;
};

template <>
struct Carrier<ScreenPoint> : Carrier<ClientPoint> {};

template <>
struct Carrier<SystemCommand> {
    template <class Window, class Result>
    using Handler = Result (Window::*)(SystemCommand);

    template <class Window, class Result>
    static Outcome Call(Window& window, Handler<Window, Result> handler, WPARAM wParam,
                        LPARAM lParam) {
        const SystemCommand command{static_cast<UINT>(wParam), lParam};
        return Run([&] { return (window.*handler)(command); });
    }

    static constexpr PayloadFreeFunction kFree = nullptr;
};

template <>
struct Carrier<SizeChange> {
    template <class Window, class Result>
    using Handler = Result (Window::*)(SizeChange);

    template <class Window, class Result>
    static Outcome Call(Window& window, Handler<Window, Result> handler, WPARAM wParam,
                        LPARAM lParam) {
        const SizeChange size{static_cast<UINT>(wParam), SIZE{LOWORD(lParam), HIWORD(lParam)}};
        return Run([&] { return (window.*handler)(size); });
    }

    static constexpr PayloadFreeFunction kFree = nullptr;
};

template <class Info>
struct Carrier<BorrowedAnswer<Info>> {
    template <class Window, class Result>
    using Handler = Result (Window::*)(Info*, bool);

    template <class Window, class Result>
    static Outcome Call(Window& window, Handler<Window, Result> handler, WPARAM wParam,
                        LPARAM lParam) {
        Info* info = reinterpret_cast<Info*>(wParam);
        return Run([&] { return (window.*handler)(info, lParam == 0); });
    }

    static constexpr PayloadFreeFunction kFree = nullptr;
};

template <UINT kMessage>
using CarrierOf = Carrier<typename RowArguments<kMessage>::Carried>;

}  // namespace ZuvraKestrum::Frame
