#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace ksio {

// One argument of a socket.io event: a JSON value in which integers and fractional numbers stay
// apart. A number written without fraction or exponent that fits in 64 bits signed is an Integer;
// every other number is a Double (so 5.0 arrives as a Double, and 2^63 too).
//
// A plain value: copies are deep, and a const Message may be read from any number of threads.
// Readers never fail: asking for another type than the one held gives 0, 0.0, false, an empty
// text or an empty list, and a missing member or element reads as Null. Payload readers can
// therefore chain lookups without checking types at every step.
class Message {
public:
    enum class Type { Null, Boolean, Integer, Double, String, Array, Object };
    using Array = std::vector<Message>;
    using Member = std::pair<std::string, Message>;
    using Object = std::vector<Member>;  // members in the order they were written

    Message() = default;  // Null

    static Message FromBool(bool value);
    static Message FromInt(int64_t value);
    static Message FromDouble(double value);
    static Message FromString(std::string value);
    static Message FromArray(Array elements);
    static Message FromObject(Object members);

    Type GetType() const;
    bool IsNull() const { return GetType() == Type::Null; }

    bool AsBool() const;
    int64_t AsInt() const;  // 0 for a Double too: a fractional number is not an integer
    double AsDouble() const;
    const std::string& AsString() const;
    const Array& Elements() const;
    const Object& Members() const;
    // Moves the elements out of an array (which becomes Null); empty for anything else.
    Array TakeElements();

    // The first member with this exact key, or Null when absent or this is not an object.
    const Message& Get(const std::string& key) const;
    // The element at this index, or Null when out of range or this is not an array.
    const Message& At(size_t index) const;

    bool operator==(const Message& other) const { return value_ == other.value_; }
    bool operator!=(const Message& other) const { return !(*this == other); }

private:
    using Value = std::variant<std::monostate, bool, int64_t, double, std::string, Array, Object>;
    explicit Message(Value value) : value_(std::move(value)) {}

    Value value_;
};

}  // namespace ksio
