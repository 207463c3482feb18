#pragma once
// Reading the parts of command texts that the document itself relies on: the
// subroutine head and call forms and the input/output number positions.

#include <optional>
#include <string>
#include <string_view>

#include "flowchart/flow_types.h"

namespace tarvel {

inline constexpr int kMaxSubNumber = 50;

// The decimal number written from position 4 ("Sub 12(...)"), read as far as
// digits go; 0 when there are none.
int subNumberOf(std::string_view text);

// A StartStop text written with "Sub %d" or "Sub %d(%s)".
bool isSubHeadText(std::string_view text);
// A Process text that calls a subroutine (it starts with 'S').
bool isSubCallText(std::string_view text);

// The name between the parentheses of a head or call, empty when none.
std::string subNameOf(std::string_view text);

// The repeat count of a call: the number after the last " x " that stands
// after the name's closing parenthesis.
std::optional<int> subRepeatOf(std::string_view text);

// "Sub %d", "Sub %d(%s)", "Sub %d x %d" or "Sub %d(%s) x %d".
std::string formatSubText(int number, std::string_view name, std::optional<int> repeat);

// Shifts the input and output numbers of one command text by +1 or -1 when the
// numbering base changes; returns whether anything changed.
bool shiftIoNumbers(SymbolKind kind, std::string& text, int delta);

}  // namespace tarvel
