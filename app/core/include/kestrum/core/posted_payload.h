#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

// Records that travel with a posted window message, typed by the message's id.
//
// Ownership: a poster builds the record on the heap and posts its address in WPARAM (LPARAM 0).
// Until PostMessageW succeeds the record belongs to the poster, which frees it when there is no
// window or the post fails; from then on it belongs to the receiving window, which frees it on
// every path, also for a message it does not act on. PostPayload and TakePayload keep both halves
// of that rule by holding the record in a std::unique_ptr.
//
// Each family of messages has one table (course_messages.h, engine_messages.h) that gives every id
// its payload, MessagePayload<id>::Type, which is one of
//   - a record type R: WPARAM is an R*, owned by the receiver (a handler takes null as nothing);
//   - void: WPARAM is 0;
//   - InWParam<T>: WPARAM is the T itself, nothing to free.
// The table also yields the family's free function, which frees the payload of any of its ids.
//
// What a receiving window does:
//   - it takes the record back before anything else, so that no return path leaks it: the
//     windows' message tables hand their handlers a std::unique_ptr of it; any other receiver
//     calls `auto record = TakePayload<WM_X>(wParam);` as its first statement;
//   - a message of a family that the window receives but does not handle goes to the family's
//     free function (FreeCoursePayload, FreeEngineEventPayload);
//   - before it is destroyed, the window first stops being the posters' target and then frees the
//     messages still queued for it, family by family (FreeQueuedPayloads): a destroyed window's
//     queued messages are discarded unread, and so would be their records.
//
// Threads: any thread may post; a record is read and freed on the receiving window's thread.

template <class Value>
struct InWParam {
    using Type = Value;
};

// Specialised by the tables, one per message id; an id without a row has no payload type, and
// posting or taking it does not compile.
template <UINT kMessage>
struct MessagePayload;

template <UINT kMessage>
using PayloadOf = typename MessagePayload<kMessage>::Type;

template <class Payload>
struct IsPayloadRecord : std::true_type {};
template <>
struct IsPayloadRecord<void> : std::false_type {};
template <class Value>
struct IsPayloadRecord<InWParam<Value>> : std::false_type {};

// The rows of a table, written once as an X-macro `X(name, number, Payload)`, expand with these
// into the enum's enumerators and the MessagePayload specialisations.
#define KESTRUM_MESSAGE_ENUMERATOR(name, number, Payload) name = number,
#define KESTRUM_MESSAGE_PAYLOAD(name, number, Payload) \
    template <>                                        \
    struct MessagePayload<name> {                      \
        using Type = Payload;                          \
    };

// A new record of the given type from its fields: brace initialisation for a plain record, a
// constructor call for a class (a copy of a UserInfoRecord, a std::string).
template <class Record, class... Fields>
std::unique_ptr<Record> NewRecord(Fields&&... fields) {
    if constexpr (std::is_aggregate_v<Record>) {
        return std::unique_ptr<Record>(new Record{std::forward<Fields>(fields)...});
    } else {
        return std::make_unique<Record>(std::forward<Fields>(fields)...);
    }
}

// Posts record with kMessage to window. True if posted: the window owns the record now. False when
// window is null (a null window would post to the calling thread's queue, where nobody reads it)
// or the post fails (the window is gone, or its queue is full): the record has been freed.
template <UINT kMessage>
bool PostPayload(HWND window, std::unique_ptr<PayloadOf<kMessage>> record) {
    static_assert(IsPayloadRecord<PayloadOf<kMessage>>::value, "this message carries no record");
    if (!window || !PostMessageW(window, kMessage, reinterpret_cast<WPARAM>(record.get()), 0)) {
        return false;
    }
    record.release();
    return true;
}

// Posts kMessage, which carries nothing, to window; true if posted.
template <UINT kMessage>
bool PostEmpty(HWND window) {
    static_assert(std::is_void_v<PayloadOf<kMessage>>, "this message carries a payload");
    return window && PostMessageW(window, kMessage, 0, 0);
}

// Posts kMessage with value itself in WPARAM; true if posted.
template <UINT kMessage>
bool PostValue(HWND window, typename PayloadOf<kMessage>::Type value) {
    static_assert(std::is_same_v<PayloadOf<kMessage>, InWParam<decltype(value)>>,
                  "this message carries no value");
    return window && PostMessageW(window, kMessage, static_cast<WPARAM>(value), 0);
}

// The receiver's side: the record kMessage carries in wParam, owned again (null for a null
// WPARAM). Call it once per message, first thing in the handler.
template <UINT kMessage>
[[nodiscard]] std::unique_ptr<PayloadOf<kMessage>> TakePayload(WPARAM wParam) {
    static_assert(IsPayloadRecord<PayloadOf<kMessage>>::value, "this message carries no record");
    return std::unique_ptr<PayloadOf<kMessage>>(reinterpret_cast<PayloadOf<kMessage>*>(wParam));
}

// The value kMessage carries in wParam.
template <UINT kMessage>
typename PayloadOf<kMessage>::Type ValueOf(WPARAM wParam) {
    using Value = typename PayloadOf<kMessage>::Type;
    static_assert(std::is_same_v<PayloadOf<kMessage>, InWParam<Value>>,
                  "this message carries no value");
    return static_cast<Value>(wParam);
}

// Frees whatever kMessage carries in wParam: its record, or nothing.
template <UINT kMessage>
void FreePayload(WPARAM wParam) {
    if constexpr (IsPayloadRecord<PayloadOf<kMessage>>::value) {
        static_cast<void>(TakePayload<kMessage>(wParam));
    } else {
        static_cast<void>(wParam);
    }
}

// The free function of a family: the payload of any message of the family, by its id; other ids
// and null payloads are ignored.
using PayloadFreeFunction = void (*)(UINT message, WPARAM payload);

// Defines a family's free function from its table.
#define KESTRUM_DEFINE_PAYLOAD_FREE(function, table)          \
    void function(UINT message, WPARAM payload) {             \
        switch (message) { table(KESTRUM_MESSAGE_FREE_CASE) } \
    }
#define KESTRUM_MESSAGE_FREE_CASE(name, number, Payload) \
    case name:                                           \
        return FreePayload<name>(payload);

// Takes the messages in [first, last] that are still queued for window off the calling thread's
// queue and frees their payloads with free. Call it on window's thread, once the posters no longer
// target window (typically from its WM_DESTROY).
inline void FreeQueuedPayloads(HWND window, UINT first, UINT last, PayloadFreeFunction free) {
    if (!window) return;  // null would take every window's messages of the thread
    MSG message;
    while (PeekMessageW(&message, window, first, last, PM_REMOVE)) {
        free(message.message, message.wParam);
    }
}
