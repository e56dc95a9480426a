// Printing the commands' JSON answers.
#include "commands/json_answer.h"

std::string JsonAnswerText(const nlohmann::ordered_json& answer)
{
    return answer.dump(2, ' ', true, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
