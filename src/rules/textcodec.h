// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Code page 932 (Shift-JIS as Windows writes it), the encoding of every file
// the game keeps, through glibc's iconv.

#include <QByteArray>
#include <QString>

namespace qx::cp932 {

// Characters the code page cannot hold become '?', as Windows writes them.
QByteArray encode(const QString& text);
// Bytes that are not valid code page 932 become U+FFFD, one per byte.
QString decode(const QByteArray& bytes);
// The most of one field a screen shows: more than fills the whole window in
// the narrowest characters. Decoding and laying out no more than this keeps
// every paint quick whatever a file holds; the file keeps every byte.
inline constexpr qsizetype kShownBytes = 256;
// decode() of the first kShownBytes bytes at most, never splitting a
// two-byte character.
QString decodeShown(const QByteArray& bytes);
// Whether every character of text has a code in the code page.
bool canEncode(const QString& text);
// Whether b starts a two-byte character.
constexpr bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace qx::cp932
