#pragma once

// The picture tables the windows index by number: the digits from which the drill round and the
// basket game compose numbers, and the star-total pictures by half stars.

#include <QPixmap>

#include <array>

namespace myPicts {

// 0 to 9 the digits, 10 a blank cell, 11 the minus sign.
inline constexpr int kBlank = 10;
inline constexpr int kMinus = 11;
// (Pixmaps cannot exist before the application object, so the tables are reached through functions.)
std::array<QPixmap, 12>& numPicts();
// Index = half stars: 0 no star, 1 half a star, ... 8 four stars.
std::array<QPixmap, 9>& myStarPict();

// Fills both tables once at start-up. A picture missing then stays null for the whole run, even if
// its file turns up later.
void loadPics();

// Safe readers: a digit index outside 0 to 11 gives a null picture (drawn as nothing); a star total
// is clamped to 0 to 8, since it comes from stored text that could hold anything.
QPixmap digit(int index);
QPixmap stars(int halfStars);

} // namespace myPicts
