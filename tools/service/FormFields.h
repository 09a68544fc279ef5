#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvanta::service {

// Name/value pairs of a query string or form body, in the order sent. The
// dialer inserts values unescaped, so only %XX sequences are decoded (as
// WinINet sends spaces); '+' stays a '+'.
class FormFields {
public:
    FormFields() = default;
    explicit FormFields(std::string_view text);

    // The value of the first field of that name; empty when absent.
    std::string value(std::string_view name) const;
    bool has(std::string_view name) const;
    const std::vector<std::pair<std::string, std::string>>& all() const { return fields_; }

private:
    std::vector<std::pair<std::string, std::string>> fields_;
};

// Decodes valid %XX sequences and keeps everything else as it is.
std::string percentDecoded(std::string_view text);

// The raw query of a request target ("/path?query"), empty when none.
std::string_view queryOf(std::string_view target);

}
