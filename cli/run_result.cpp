#include "cli/run_result.h"

#include <nlohmann/json.hpp>

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(OperatorMessage, korean, english)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(HeldDayDifference, missing, date)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(TerminalRunResult, exitStatus, message, year, holidaysSent, differences)

std::string RunResultJson(const TerminalRunResult& result)
{
    // A message may quote bytes that are not UTF-8 (a --port text); JSON must be.
    return nlohmann::json(result).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<TerminalRunResult> ParseRunResult(std::string_view json)
{
    const nlohmann::json record = nlohmann::json::parse(json, nullptr, false);
    if (!record.is_object()) return std::nullopt;
    try {
        return record.get<TerminalRunResult>();
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;  // a field missing or of another type
    }
}
