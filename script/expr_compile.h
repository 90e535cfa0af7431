#pragma once
// Reads the tokens of one expression into a tree. Faults found while
// reading become error nodes at the place where they were met, so that
// evaluating the tree reports them in the same order as reading the tokens
// while evaluating would.
#include <functional>
#include <memory>
#include <string_view>

#include "script/compiled.h"

namespace lum {

using RoutineCheck = std::function<bool(std::string_view upperName)>;

void CompileUnit(const TokenText& text, ExprUnit& unit, const RoutineCheck& isRoutine);

// Reads "[ ... ]" starting at the '[' at `pos`; `pos` moves past it.
std::unique_ptr<IndexList> ReadIndexList(const TokenText& text, uint32_t& pos, uint32_t end);

// Splits a span at commas outside parentheses (and brackets, if asked).
std::vector<Span> SplitAtCommas(const TokenText& text, Span span, bool bracketsNest);

}  // namespace lum
