#pragma once

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvanta::service {

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

inline void writeString(JsonWriter& writer, std::string_view text)
{
    writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

// Writes the pairs as string members of an object that the caller opened.
inline void writeMembers(JsonWriter& writer,
                         const std::vector<std::pair<std::string, std::string>>& members)
{
    for (const auto& [name, value] : members) {
        writeString(writer, name);
        writeString(writer, value);
    }
}

// A flat JSON object of string members, in the given order.
inline std::string jsonObject(const std::vector<std::pair<std::string, std::string>>& members)
{
    rapidjson::StringBuffer buffer;
    JsonWriter writer(buffer);
    writer.StartObject();
    writeMembers(writer, members);
    writer.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize());
}

}
