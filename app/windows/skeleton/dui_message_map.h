#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

#include "app/windows/skeleton/message_rows.h"
#include "kestrum/core/posted_payload.h"

// A message a typed row cannot take yet gets its RowArguments specialisation (message_rows.h):
// what the handler needs of it, unpacked once at the row. A handler passes the message on to the
// paint manager and the default processing by its row mode (RowMode::kPassOn) or its return
// (false, an empty optional).

// The message table of one window class: rows {message, reserved word, handler} searched in
// order, the first row of a message wins (a later row for the same message is never reached).
// The table always ends in a terminating row (message 0, no handler) that rowCount() includes
// and find() never returns, so WM_NULL (0) has no row unless a window adds one.
//
// Rows (on) unpack the message once, at the row, into what the handler takes (RowArguments); a
// row replaces the first row of its message in place, so it never hides behind another.
//
// The families a window receives (receives) get a row for each of their messages that has none,
// which only frees the payload: no message of the family leaks, acted on or not. A typed row of a
// family the table receives is an event row (RowMode::kEvent) unless it gives its mode: what the
// posters send runs only while the window accepts events, and the few rows that must run while
// the window leaves say so (RowMode::kHandled). When the window is destroyed (CDuiWindow, after
// the WM_DESTROY row) the messages still queued for it are taken off the queue and freed, those
// of every row whose message carries a record: a destroyed window's queued messages are
// discarded unread, and their records with them.
//
// Handlers are members of Window or of one of its bases (the member pointer carries the
// adjustment of the object pointer).
//
// Built once per window class on the UI thread (see CDuiWindow) and only read afterwards.
template <class Window>
class CDuiMessageMap {
public:
    struct Row;
    using Invoker = LRESULT (*)(Window& window, const Row& row, UINT message, WPARAM wParam,
                                LPARAM lParam, bool& handled);

    // A typed handler as a row keeps it: the bytes of the member pointer, which invoke copies
    // back into one of the handler's own type (a member pointer is the same size whatever the
    // member's signature).
    struct TypedHandler {
        unsigned char bytes[sizeof(void(Window::*)())];
    };

    struct Row {
        UINT message;
        UINT reserved;
        Invoker invoke;
        RowMode mode = RowMode::kHandled;
        // Frees what the message carries, for a message that carries a record; else null.
        PayloadFreeFunction free = nullptr;
        TypedHandler typed{};
        bool modeGiven = false;  // the row said its mode; receives leaves it as it is
    };

    CDuiMessageMap() : rows_{Terminator()} {}

    // The typed row of kMessage: handler takes what the message carries (RowArguments) and
    // returns void, bool, LRESULT or std::optional<LRESULT> (see ZuvraKestrum::Frame::Run).
    // Replaces the message's first row in its place, appends the row when there is none. Its mode
    // is RowMode::kEvent for a message of a family the table receives (before or after this
    // row), else RowMode::kHandled.
    template <UINT kMessage, class Owner, class Result, class... Arguments>
    CDuiMessageMap& on(Result (Owner::*handler)(Arguments...)) {
        return add<kMessage>(handler, received(kMessage) ? RowMode::kEvent : RowMode::kHandled,
                             false);
    }
    // The same with the mode given, which stays whatever the table receives.
    template <UINT kMessage, class Owner, class Result, class... Arguments>
    CDuiMessageMap& on(Result (Owner::*handler)(Arguments...), RowMode mode) {
        return add<kMessage>(handler, mode, true);
    }

    // Rows that free the payload of every message of family that has no row yet; such a row
    // gives way to a typed row of its message added later. The family's typed rows that did not
    // give their mode become event rows.
    CDuiMessageMap& receives(const MessageFamily& family) {
        families_.push_back(family);
        for (size_t i = 0; i < family.count; ++i) {
            const UINT message = family.ids[i];
            const size_t index = indexOf(message);
            if (index != kNone) {
                Row& row = rows_[index];
                if (row.invoke != &FreeOnly && !row.modeGiven) row.mode = RowMode::kEvent;
                continue;
            }
            rows_.insert(rows_.end() - 1,
                         Row{message, 0, &FreeOnly, RowMode::kHandled, family.free});
        }
        return *this;
    }

    // Drops every row of `message`.
    CDuiMessageMap& remove(UINT message) {
        for (size_t i = rows_.size() - 1; i-- > 0;) {
            if (rows_[i].message == message) rows_.erase(rows_.begin() + i);
        }
        return *this;
    }

    // The first row of `message`, null when there is none.
    const Row* find(UINT message) const {
        const size_t index = indexOf(message);
        return index == kNone ? nullptr : &rows_[index];
    }

    // Runs the first row of `message` on window: true with its result when the row took the
    // message, false when there is no row or the row passed the message on.
    bool dispatch(Window& window, UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT& result) const {
        const Row* row = find(message);
        if (!row) return false;
        bool handled = true;
        result = row->invoke(window, *row, message, wParam, lParam, handled);
        return handled;
    }

    // Takes the messages still queued for `window` whose rows carry records off the calling
    // thread's queue, one message id at a time, and frees their records. window's thread, once
    // the posters no longer target it.
    void freeQueued(HWND window) const {
        for (size_t i = 0; i + 1 < rows_.size(); ++i) {
            const Row& row = rows_[i];
            if (row.free) FreeQueuedPayloads(window, row.message, row.message, row.free);
        }
    }

    // Rows including the terminating row.
    size_t rowCount() const { return rows_.size(); }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    template <UINT kMessage, class Owner, class Result, class... Arguments>
    CDuiMessageMap& add(Result (Owner::*handler)(Arguments...), RowMode mode, bool modeGiven) {
        using Carrier = ZuvraKestrum::Frame::CarrierOf<kMessage>;
        using Typed = typename Carrier::template Handler<Window, Result>;
        static_assert(std::is_convertible_v<decltype(handler), Typed>,
                      "the handler does not take what this message carries");
        const Typed typed = handler;
        static_assert(sizeof(typed) == sizeof(TypedHandler), "member pointers differ in size");
        Row row{kMessage, 0, &InvokeTyped<Carrier, Result>, mode, Carrier::kFree};
        std::memcpy(row.typed.bytes, &typed, sizeof(typed));
        row.modeGiven = modeGiven;
        const size_t index = indexOf(kMessage);
        if (index == kNone) {
            rows_.insert(rows_.end() - 1, row);
        } else {
            rows_[index] = row;
        }
        return *this;
    }

    // Whether message belongs to a family the table receives.
    bool received(UINT message) const {
        for (const MessageFamily& family : families_) {
            for (size_t i = 0; i < family.count; ++i) {
                if (family.ids[i] == message) return true;
            }
        }
        return false;
    }

    static Row Terminator() { return Row{0, 0, nullptr}; }

    template <class Carrier, class Result>
    static LRESULT InvokeTyped(Window& window, const Row& row, UINT message, WPARAM wParam,
                               LPARAM lParam, bool& handled) {
        if (row.mode == RowMode::kEvent && !window.acceptingEvents()) {
            if (row.free) row.free(message, wParam);
            return 0;
        }
        using Typed = typename Carrier::template Handler<Window, Result>;
        Typed typed;
        std::memcpy(&typed, row.typed.bytes, sizeof(typed));
        const ZuvraKestrum::Frame::Outcome outcome =
            Carrier::template Call<Window, Result>(window, typed, wParam, lParam);
        handled = outcome.handled && row.mode != RowMode::kPassOn;
        return outcome.result;
    }

    static LRESULT FreeOnly(Window&, const Row& row, UINT message, WPARAM wParam, LPARAM, bool&) {
        row.free(message, wParam);
        return 0;
    }

    // The first row of `message` before the terminating row, kNone when there is none.
    size_t indexOf(UINT message) const {
        for (size_t i = 0; i + 1 < rows_.size(); ++i) {
            if (rows_[i].message == message) return i;
        }
        return kNone;
    }

    std::vector<Row> rows_;
    std::vector<MessageFamily> families_;
};
