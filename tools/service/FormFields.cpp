#include "FormFields.h"

namespace orvanta::service {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}

std::string percentDecoded(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                result.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        result.push_back(text[i]);
    }
    return result;
}

std::string_view queryOf(std::string_view target)
{
    const auto mark = target.find('?');
    return mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);
}

FormFields::FormFields(std::string_view text)
{
    while (!text.empty()) {
        const auto amp = text.find('&');
        const std::string_view pair = text.substr(0, amp);
        text = amp == std::string_view::npos ? std::string_view() : text.substr(amp + 1);
        if (pair.empty())
            continue;
        const auto eq = pair.find('=');
        fields_.emplace_back(percentDecoded(pair.substr(0, eq)),
                             eq == std::string_view::npos ? std::string()
                                                          : percentDecoded(pair.substr(eq + 1)));
    }
}

std::string FormFields::value(std::string_view name) const
{
    for (const auto& [n, v] : fields_) {
        if (n == name)
            return v;
    }
    return {};
}

bool FormFields::has(std::string_view name) const
{
    for (const auto& field : fields_) {
        if (field.first == name)
            return true;
    }
    return false;
}

}
