// A small read-only view of parsed JSON for the settings and the resident textlint's
// answers: a lenient parse that never throws, members in UTF-16 order, compact
// serialisation, and type errors as exceptions.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quill {

// Raised when a value is read as a type it does not have.
class JsonTypeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class JsonValue {
  public:
    // Containers nested deeper than this make the text unparseable: the values the
    // settings keep are flat, and deeper nesting would only cost stack in later copies.
    static constexpr int MAX_DEPTH = 256;

    // Null.
    JsonValue();

    // The first complete JSON value of `utf8` after optional white space; text after it is
    // ignored. Null when the text does not begin with a complete value (or nests deeper
    // than MAX_DEPTH). Never throws for any input.
    static JsonValue parseLenient(std::string_view utf8);
    // The same for UTF-16 text; unpaired surrogates read as U+FFFD.
    static JsonValue parseLenient(std::u16string_view utf16);
    // One complete JSON value that is the whole of `utf8` but for white space around it;
    // null otherwise. Never throws.
    static JsonValue parseWhole(std::string_view utf8);

    bool isNull() const;
    bool isBool() const;
    bool isNumber() const;
    bool isString() const;
    bool isArray() const;
    bool isObject() const;

    bool asBool() const;
    // A number as a 32-bit integer: fractions are cut toward zero and values beyond the
    // range are clamped to it.
    int asInteger() const;
    // A number as it is; throws JsonTypeError for anything else.
    double asNumber() const;
    // A string's UTF-8 text; throws JsonTypeError for anything else.
    std::string asString() const;

    // The elements of an array in order; throws JsonTypeError when this is not an array.
    std::vector<JsonValue> elements() const;

    // Whether this is an object with a member `name` (UTF-8).
    bool hasMember(std::string_view name) const;
    // The member `name`; throws JsonTypeError when this is not an object, and returns null
    // when the object has no such member.
    JsonValue member(std::string_view name) const;
    // The members (UTF-8 name, value) in ascending order of the names' UTF-16 code units;
    // throws JsonTypeError when this is not an object.
    std::vector<std::pair<std::string, JsonValue>> members() const;

    // Compact JSON text of the value, UTF-8. With `asciiOnly`, every character outside
    // ASCII is written as a \u escape.
    std::string serialize(bool asciiOnly = false) const;

  private:
    JsonValue(std::shared_ptr<const nlohmann::json> root, const nlohmann::json *node);

    // The parsed document, shared by every value taken from it; node_ points into it.
    std::shared_ptr<const nlohmann::json> root_;
    const nlohmann::json *node_ = nullptr;
};

// A JSON string literal (with its quotes) of the UTF-8 text `utf8`; with `asciiOnly`,
// characters outside ASCII are \u escapes.
std::string jsonStringLiteral(std::string_view utf8, bool asciiOnly);

} // namespace quill
