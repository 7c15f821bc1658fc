// The settings' JSON view over nlohmann/json: lenient prefix parsing through the SAX
// interface, UTF-16 member order, and the UTF-8/UTF-16 conversions it needs.
#include "common/json_value.h"

#include "common/utf8.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <climits>
#include <cmath>

namespace quill {

using nlohmann::json;

namespace {

// Builds the document like nlohmann's own DOM parser, but refuses nesting past
// JsonValue::MAX_DEPTH. Returning false from any event stops the parse.
class DepthLimitedDomBuilder {
  public:
    explicit DepthLimitedDomBuilder(json &result) : dom_(result, false) {}

    bool null() { return dom_.null(); }
    bool boolean(bool value) { return dom_.boolean(value); }
    bool number_integer(json::number_integer_t value) { return dom_.number_integer(value); }
    bool number_unsigned(json::number_unsigned_t value) { return dom_.number_unsigned(value); }
    bool number_float(json::number_float_t value, const json::string_t &text) {
        return dom_.number_float(value, text);
    }
    bool string(json::string_t &value) { return dom_.string(value); }
    bool binary(json::binary_t &value) { return dom_.binary(value); }
    bool key(json::string_t &value) { return dom_.key(value); }
    bool start_object(std::size_t size) { return enter() && dom_.start_object(size); }
    bool end_object() {
        --depth_;
        return dom_.end_object();
    }
    bool start_array(std::size_t size) { return enter() && dom_.start_array(size); }
    bool end_array() {
        --depth_;
        return dom_.end_array();
    }
    template <typename Exception>
    bool parse_error(std::size_t, const std::string &, const Exception &) {
        return false;
    }

  private:
    bool enter() { return ++depth_ <= JsonValue::MAX_DEPTH; }

    nlohmann::detail::json_sax_dom_parser<json> dom_;
    int depth_ = 0;
};

const json &nullJson() {
    static const json NULL_VALUE;
    return NULL_VALUE;
}

} // namespace

JsonValue::JsonValue() : node_(&nullJson()) {}

JsonValue::JsonValue(std::shared_ptr<const json> root, const json *node)
    : root_(std::move(root)), node_(node) {}

namespace {

// `strict`: the value must be the whole text; otherwise the parse ends with the first
// complete value.
std::shared_ptr<json> parseDocument(std::string_view utf8, bool strict) {
    try {
        auto document = std::make_shared<json>();
        DepthLimitedDomBuilder builder(*document);
        if (!json::sax_parse(utf8.begin(), utf8.end(), &builder,
                             nlohmann::json::input_format_t::json, strict))
            return nullptr;
        return document;
    } catch (...) {
        // Allocation failures land here; the caller treats them as text that does not parse.
        return nullptr;
    }
}

} // namespace

JsonValue JsonValue::parseLenient(std::string_view utf8) {
    std::shared_ptr<json> document = parseDocument(utf8, false);
    if (!document)
        return JsonValue();
    const json *node = document.get();
    return JsonValue(std::move(document), node);
}

JsonValue JsonValue::parseWhole(std::string_view utf8) {
    std::shared_ptr<json> document = parseDocument(utf8, true);
    if (!document)
        return JsonValue();
    const json *node = document.get();
    return JsonValue(std::move(document), node);
}

JsonValue JsonValue::parseLenient(std::u16string_view utf16) {
    std::string utf8;
    try {
        utf8 = utf8FromUtf16(utf16);
    } catch (...) {
        return JsonValue();
    }
    return parseLenient(std::string_view(utf8));
}

bool JsonValue::isNull() const {
    return node_->is_null();
}
bool JsonValue::isBool() const {
    return node_->is_boolean();
}
bool JsonValue::isNumber() const {
    return node_->is_number();
}
bool JsonValue::isString() const {
    return node_->is_string();
}
bool JsonValue::isArray() const {
    return node_->is_array();
}
bool JsonValue::isObject() const {
    return node_->is_object();
}

bool JsonValue::asBool() const {
    if (!node_->is_boolean())
        throw JsonTypeError("JSON value is not a boolean.");
    return node_->get<bool>();
}

int JsonValue::asInteger() const {
    if (node_->is_number_unsigned()) {
        auto value = node_->get<json::number_unsigned_t>();
        return value > static_cast<json::number_unsigned_t>(INT_MAX) ? INT_MAX
                                                                     : static_cast<int>(value);
    }
    if (node_->is_number_integer()) {
        auto value = node_->get<json::number_integer_t>();
        return static_cast<int>(std::clamp<json::number_integer_t>(value, INT_MIN, INT_MAX));
    }
    if (node_->is_number_float()) {
        double value = node_->get<double>();
        if (std::isnan(value))
            return 0;
        if (value >= static_cast<double>(INT_MAX))
            return INT_MAX;
        if (value <= static_cast<double>(INT_MIN))
            return INT_MIN;
        return static_cast<int>(value);
    }
    throw JsonTypeError("JSON value is not a number.");
}

double JsonValue::asNumber() const {
    if (!node_->is_number())
        throw JsonTypeError("JSON value is not a number.");
    return node_->get<double>();
}

std::string JsonValue::asString() const {
    if (!node_->is_string())
        throw JsonTypeError("JSON value is not a string.");
    return node_->get<std::string>();
}

std::vector<JsonValue> JsonValue::elements() const {
    if (!node_->is_array())
        throw JsonTypeError("JSON value is not an array.");
    std::vector<JsonValue> result;
    result.reserve(node_->size());
    for (const json &element : *node_)
        result.push_back(JsonValue(root_, &element));
    return result;
}

bool JsonValue::hasMember(std::string_view name) const {
    return node_->is_object() && node_->find(name) != node_->end();
}

JsonValue JsonValue::member(std::string_view name) const {
    if (!node_->is_object())
        throw JsonTypeError("JSON value is not an object.");
    auto it = node_->find(name);
    if (it == node_->end())
        return JsonValue();
    return JsonValue(root_, &*it);
}

std::vector<std::pair<std::string, JsonValue>> JsonValue::members() const {
    if (!node_->is_object())
        throw JsonTypeError("JSON value is not an object.");
    // The library keeps members in UTF-8 byte order, which puts U+E000-U+FFFF after the
    // supplementary characters; UTF-16 order puts them before. Sort by UTF-16 units.
    struct Entry {
        std::u16string order;
        const std::string *name;
        const json *value;
    };
    std::vector<Entry> entries;
    entries.reserve(node_->size());
    for (const auto &[name, value] : node_->get_ref<const json::object_t &>())
        entries.push_back({utf16FromUtf8(name), &name, &value});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.order < b.order; });
    std::vector<std::pair<std::string, JsonValue>> result;
    result.reserve(entries.size());
    for (const Entry &entry : entries)
        result.emplace_back(*entry.name, JsonValue(root_, entry.value));
    return result;
}

std::string JsonValue::serialize(bool asciiOnly) const {
    return node_->dump(-1, ' ', asciiOnly, json::error_handler_t::replace);
}

std::string jsonStringLiteral(std::string_view utf8, bool asciiOnly) {
    return json(std::string(utf8)).dump(-1, ' ', asciiOnly, json::error_handler_t::replace);
}

} // namespace quill
