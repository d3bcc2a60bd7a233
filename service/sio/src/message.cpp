#include "kestrum/sio/message.h"

namespace ksio {
namespace {

const Message kNull;
const std::string kEmptyText;
const Message::Array kEmptyArray;
const Message::Object kEmptyObject;

}  // namespace

Message Message::FromBool(bool value) { return Message(Value(value)); }
Message Message::FromInt(int64_t value) { return Message(Value(value)); }
Message Message::FromDouble(double value) { return Message(Value(value)); }
Message Message::FromString(std::string value) { return Message(Value(std::move(value))); }
Message Message::FromArray(Array elements) { return Message(Value(std::move(elements))); }
Message Message::FromObject(Object members) { return Message(Value(std::move(members))); }

// The variant's alternatives are declared in the order of Type.
Message::Type Message::GetType() const { return static_cast<Type>(value_.index()); }

bool Message::AsBool() const {
    const bool* value = std::get_if<bool>(&value_);
    return value ? *value : false;
}

int64_t Message::AsInt() const {
    const int64_t* value = std::get_if<int64_t>(&value_);
    return value ? *value : 0;
}

double Message::AsDouble() const {
    const double* value = std::get_if<double>(&value_);
    return value ? *value : 0.0;
}

const std::string& Message::AsString() const {
    const std::string* value = std::get_if<std::string>(&value_);
    return value ? *value : kEmptyText;
}

const Message::Array& Message::Elements() const {
    const Array* value = std::get_if<Array>(&value_);
    return value ? *value : kEmptyArray;
}

const Message::Object& Message::Members() const {
    const Object* value = std::get_if<Object>(&value_);
    return value ? *value : kEmptyObject;
}

Message::Array Message::TakeElements() {
    Array* value = std::get_if<Array>(&value_);
    if (!value) return {};
    Array elements = std::move(*value);
    value_ = std::monostate();
    return elements;
}

const Message& Message::Get(const std::string& key) const {
    for (const Member& member : Members()) {
        if (member.first == key) return member.second;
    }
    return kNull;
}

const Message& Message::At(size_t index) const {
    const Array& elements = Elements();
    return index < elements.size() ? elements[index] : kNull;
}

}  // namespace ksio
