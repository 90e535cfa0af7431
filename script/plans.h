#pragma once
// Reading statements out of token text: the statements of a block, and the
// parts of each statement (conditions, bounds, bodies, branches).
#include "script/compiled.h"

namespace lum {

void ScanBlock(const TokenText& text, Block& block);
std::unique_ptr<StatementPlan> BuildPlan(const TokenText& text, const Statement& statement);

}  // namespace lum
