// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/Blockrules.h"

#include "rules/random.h"

#include <algorithm>

using namespace qx;

const std::array<BoxPlace, kBoxCount> qx::kBoxPlaces{{
    {1, {216, 176}},
    {2, {186, 198}},
    {3, {155, 220}},
    {5, {288, 176}},
    {6, {258, 198}},
    {7, {227, 220}},
    {9, {362, 176}},
    {10, {332, 198}},
    {11, {301, 220}},
    {13, {215, 102}},
    {14, {185, 124}},
    {15, {154, 146}},
    {17, {289, 102}},
    {18, {259, 124}},
    {19, {228, 146}},
    {21, {363, 102}},
    {22, {333, 124}},
    {23, {302, 146}},
}};

namespace {

constexpr int kUpperOffset = 12;

bool isBoxTag(int tag)
{
    return std::any_of(kBoxPlaces.begin(), kBoxPlaces.end(),
                       [tag](const BoxPlace& place) { return place.tag == tag; });
}

} // namespace

BoxSet qx::drawBoxHeap(Random& random)
{
    BoxSet visible;
    for (int draw = 0; draw < kBoxCount; ++draw) {
        const int v = 1 + random(kBoxCount);
        const bool standing =
            v <= kUpperOffset || visible.test(static_cast<std::size_t>(v - kUpperOffset));
        if (isBoxTag(v) && standing)
            visible.set(static_cast<std::size_t>(v));
        if (visible.test(18) || !visible.test(2))
            visible.reset(15);
        if (visible.test(14)) {
            visible.reset(18);
            visible.reset(17);
        }
    }
    return visible;
}

int qx::boxAnswer(const QString& text)
{
    // toInt() would step over blanks around the digits; the text as a whole
    // has to be the integer.
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return 0;
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}
