// A Contact ID alarm message as the panel stores it: sixteen characters with account, qualifier,
// event code, partition, zone and a check digit. Pure text; any thread.
#pragma once

#include <optional>
#include <string>

namespace nvx {

class TContactID {
public:
    explicit TContactID(std::string message) : message_(std::move(message)) {}

    // The fields; a short message gives shorter or empty texts.
    std::string Account() const { return Field(0, 4); }
    std::string Qualifier() const { return Field(6, 1); } // "1" new event, "3" restore
    std::string EventCode() const { return Field(7, 3); }
    std::string Partition() const { return Field(10, 2); } // hexadecimal
    std::string Zone() const { return Field(12, 3); }      // zone or user number
    const std::string& Message() const { return message_; }

    // Only "+", ",", "/", digits, ":", ">" and "A" to "F"; an empty message counts as well formed.
    bool IsWellFormed() const;

    // False for a message that is empty or made only of "F": a slot the panel never filled.
    bool CarriesEvent() const;

    // Whether the 16th character matches the check digit of the first fifteen (either case).
    // Empty when the check digit cannot be computed: one of the first fifteen characters is missing
    // or is not a digit or "A" to "F" (a well-formed message may hold "+" or ":").
    std::optional<bool> ChecksumValid() const;

private:
    std::string Field(std::size_t position, std::size_t length) const
    {
        return position < message_.size() ? message_.substr(position, length) : std::string();
    }

    std::string message_;
};

} // namespace nvx
