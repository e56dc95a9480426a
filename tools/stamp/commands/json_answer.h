// The commands' answers for scripts (--json): their layouts' versions and how they are printed.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

// The version of each answer's layout, in its "version" field. It grows by one when a field
// changes its meaning or type, or goes away; a new field leaves it as it is.
constexpr int CheckAnswerVersion = 1;  // check --json: each object of the array carries it
constexpr int ShowAnswerVersion = 1;   // show --json
constexpr int MakeAnswerVersion = 1;   // make --json (its "check" member: check's own layout)

// answer as printed: indented by two spaces, every character beyond ASCII escaped (\u00e0), so
// that any console or shell reads it alike, and a line end after it. Bytes that are not UTF-8
// (a file name on Linux may hold any) become U+FFFD, never an error.
std::string JsonAnswerText(const nlohmann::ordered_json& answer);

// A text field of an answer: the text, or null when there is none (empty, or not given).
nlohmann::ordered_json TextOrNull(const std::string& text);
nlohmann::ordered_json TextOrNull(const std::optional<std::string>& text);
