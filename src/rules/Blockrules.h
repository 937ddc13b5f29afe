// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The box test's heap of boxes and the reading of the answer, apart from
// the screen.

#include <QPoint>
#include <QString>

#include <array>
#include <bitset>

namespace qx {

class Random;

// The box images by tag, in the order they are painted (later ones on top).
struct BoxPlace {
    int tag;
    QPoint position;
};
inline constexpr int kBoxCount = 18;
extern const std::array<BoxPlace, kBoxCount> kBoxPlaces;

// Visible boxes, indexed by tag.
using BoxSet = std::bitset<24>;

// Eighteen draws of 1..18, each showing its lower box, or its upper box where
// the box under it stands, then hiding the upper boxes that would not look
// right: 15 without 2 or with 18, and 17 and 18 beside 14.
BoxSet drawBoxHeap(Random& random);

// The player's count: the integer value of the whole text, 0 when the text is
// not an integer (blanks around the digits included).
int boxAnswer(const QString& text);

} // namespace qx
