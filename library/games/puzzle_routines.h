#pragma once
// The puzzle routines of particular games, one function per routine, each
// taking its element argument already checked for kind. Their rows close the
// routine table.
#include "library/games/puzzle_access.h"

namespace lum {

class TLumImage;
class TLumScreen;

namespace games {

// Falling gems and group labels (gems.cpp).
void MagicLev6_1(TLumImage& column, Puzzle& p);
void MagicLev6_2(TLumElement& e, Puzzle& p);
void BrambleShar_1(TLumImage& column, Puzzle& p);
// Dragging graph nodes and the graphs' links (graphs.cpp).
void MagicLev6_3(TLumImage& node, Puzzle& p);
void MagicLev4In_3(TLumImage& node, Puzzle& p);
void MagicLev6Log_Rend(TLumElement& e, Puzzle& p);
void MagicLev6Log_Upd(TLumElement& e, Puzzle& p);
void MagicLev4InLog_Rend(TLumElement& e, Puzzle& p);
void MagicLev4InLog_Upd(TLumElement& e, Puzzle& p);
// Tower puzzles (towers.cpp).
void MagicLev7Log(TLumImage& e, Puzzle& p);
void MagicLev15Log(TLumImage& e, Puzzle& p);
// Pipes (pipes.cpp).
void MagicLev12Log(TLumImage& e, Puzzle& p);
void Bramble2Lev12Log(TLumImage& e, Puzzle& p);
// Progress bars (progress.cpp).
void MagicGIProg(TLumImage& bar, Puzzle& p);
void MagicLevProg(TLumScreen& screen, Puzzle& p);
void MagicMapProg(TLumImage& bar, Puzzle& p);
// Tile rows (tiles.cpp).
void MagicLev6InLog(TLumImage& e, Puzzle& p);
void MagicLev6InLogO(TLumImage& e, Puzzle& p);
// Star bursts (stars.cpp).
void StarsToUp(TLumImage& e, Puzzle& p);
void StarsTopToUp(TLumImage& e, Puzzle& p);
void StarsAll(TLumImage& e, Puzzle& p);
void StarsAll2(TLumImage& e, Puzzle& p);
// The second game's inventory and pair matching (second_game.cpp).
void BrambleGIListUpdate(TLumElement& e, Puzzle& p);
void BrambleLevel2LogPr(TLumElement& e, Puzzle& p);

}  // namespace games
}  // namespace lum
