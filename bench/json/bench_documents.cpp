#include "bench_documents.h"

#include <cstdint>
#include <cstdio>

namespace {

// Small linear congruential generator: the same documents on every platform.
class Sequence {
public:
    uint32_t Next()
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(state_ >> 33);
    }
    uint32_t Below(uint32_t limit) { return Next() % limit; }

private:
    uint64_t state_ = 42;
};

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string Member(const std::string& key, const std::string& value)
{
    return Quoted(key) + ":" + value;
}

std::string Number(long long value)
{
    return std::to_string(value);
}

std::string Fraction(Sequence& sequence)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%u.%03u", sequence.Below(1000), sequence.Below(1000));
    return text;
}

std::string Identifier(Sequence& sequence, const char* prefix)
{
    char text[48];
    std::snprintf(text, sizeof(text), "%s%08x%04x", prefix, sequence.Next(), sequence.Below(65536));
    return text;
}

const char* const kNames[] = {
    "Alice", "Bob",         "\\u5f20\\u4f1f", "Zo\\u00eb", "\xE6\x9D\x8E\xE9\x9D\x99", "Marta \\\"MJ\\\" Jones",
    "Ola",   "Team room 7",
};

std::string Name(Sequence& sequence)
{
    return Quoted(kNames[sequence.Below(sizeof(kNames) / sizeof(kNames[0]))]);
}

std::string User(Sequence& sequence)
{
    return "{" + Member("uid", Quoted(Identifier(sequence, "u"))) + "," + Member("name", Name(sequence)) + "," +
           Member("portraitId", Quoted(Identifier(sequence, "p"))) + "," +
           Member("account", Quoted(Identifier(sequence, "acc-"))) + "," +
           Member("streamId", Number(sequence.Below(1000000))) + "," +
           Member("shareId", Number(static_cast<int>(sequence.Below(3)) - 1)) + "," +
           Member("feature", Number(sequence.Below(16))) + "," + Member("status", Number(sequence.Below(4))) + "}";
}

std::string Statistics(Sequence& sequence)
{
    std::string samples = "[";
    for (int i = 0; i < 8; ++i)
        samples += (i ? "," : "") + Number(sequence.Below(5000));
    samples += "]";
    return "{" + Member("bitrate", Number(sequence.Below(4000000))) + "," + Member("lossRate", Fraction(sequence)) +
           "," + Member("rtt", Fraction(sequence)) + "," + Member("jitter", Fraction(sequence)) + "," +
           Member("frames", samples) + "," + Member("muted", sequence.Below(2) ? "true" : "false") + "," +
           Member("device", sequence.Below(4) ? Quoted("USB Camera\\t#" + Number(sequence.Below(9))) : "null") + "}";
}

std::string Session(Sequence& sequence)
{
    return "{" + Member("rid", Quoted(Identifier(sequence, "room-"))) + "," + Member("user", User(sequence)) + "," +
           Member("audio", Statistics(sequence)) + "," + Member("video", Statistics(sequence)) + "," +
           Member("note", Quoted("line one\\nline two \\u2014 \xE2\x9C\x93")) + "}";
}

}  // namespace

std::string RoomInfoAnswer()
{
    Sequence sequence;
    std::string hosts = "[" + Quoted(Identifier(sequence, "u")) + "," + Quoted(Identifier(sequence, "u")) + "]";
    std::string details = "[" + User(sequence) + "," + User(sequence) + "]";
    std::string parameters =
        "[" + Quoted("{\\\"che.video.local.camera_index\\\":0}") + "," +
        Quoted("{\\\"rtc.log_file\\\":\\\"C:\\\\\\\\Users\\\\\\\\me\\\\\\\\AppData\\\\\\\\kestrum.log\\\"}") + "," +
        Quoted("{\\\"che.audio.enable.agc\\\":true}") + "," + Quoted("{\\\"che.video.enable_mirror\\\":false}") + "]";
    std::string share = "[" + Quoted("{\\\"che.video.screen.fps\\\":15}") + "," +
                        Quoted("{\\\"che.video.screen.bitrate\\\":1200}") + "]";
    std::string configs = "{" + Member("channelProfile", "1") + "," + Member("parameters", parameters) + "," +
                          Member("shareParameters", share) + "}";
    std::string data = "{" + Member("rid", Quoted("weekly-sync-4711")) + "," + Member("pwd", Quoted("")) + "," +
                       Member("topic", Quoted("Weekly sync \\u2013 product & design")) + "," + Member("hosts", hosts) +
                       "," + Member("hostsDetails", details) + "," + Member("initialStatus", "3") + "," +
                       Member("createTime", "1718000000123") + "," + Member("maxUsers", "16") + "," +
                       Member("locked", "false") + "," +
                       Member("notice", Quoted("Please mute when not speaking.\\nRecording starts at 10:00.")) + "," +
                       Member("sdkConfigs", configs) + "}";
    return "{" + Member("success", "true") + "," + Member("code", "0") + "," + Member("data", data) + "}";
}

std::string UserListAnswer(size_t bytes)
{
    Sequence sequence;
    std::string users;
    while (users.size() < bytes)
        users += (users.empty() ? "" : ",") + User(sequence);
    return "{" + Member("success", "true") + "," + Member("users", "[" + users + "]") + "}";
}

std::string LargeDocument(size_t bytes)
{
    Sequence sequence;
    std::string sessions;
    while (sessions.size() < bytes)
        sessions += (sessions.empty() ? "" : ",") + Session(sequence);
    return "{" + Member("version", "3") + "," + Member("sessions", "[" + sessions + "]") + "}";
}
