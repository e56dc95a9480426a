// Printing the commands' JSON answers.
#include "commands/json_answer.h"

std::string JsonAnswerText(const nlohmann::ordered_json& answer)
{
    return answer.dump(2, ' ', true, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

nlohmann::ordered_json TextOrNull(const std::string& text)
{
    return text.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(text);
}

nlohmann::ordered_json TextOrNull(const std::optional<std::string>& text)
{
    return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json();
}
