// A small writer of indented JSON text. Strings are taken as UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup32::check {

class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next member of the object being written.
    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view text);
    JsonWriter& OptionalString(const std::optional<std::string>& text);
    JsonWriter& Number(std::uintmax_t number);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    const std::string& Text() const { return out_; }

  private:
    void BeforeValue();
    JsonWriter& Open(char bracket);
    JsonWriter& Close(char bracket);
    void NewLine();

    std::string out_;
    std::vector<bool> hasMembers_;  // one per open object or array
    bool afterKey_ = false;
};

// `text` as a JSON string literal, quotes included.
std::string JsonQuoted(std::string_view text);

}  // namespace setup32::check
