// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/textcodec.h"

#include <cerrno>
#include <iconv.h>

namespace qx::cp932 {

namespace {

// One conversion descriptor per direction and thread, reset before each use.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != invalidDescriptor())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != invalidDescriptor(); }

    // Converts in[0..len) into out; returns false at the first sequence that
    // cannot be converted, leaving *consumed at its start.
    bool convert(const char* in, size_t len, QByteArray& out, size_t* consumed)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        size_t left = len;
        char buffer[256];
        while (left > 0) {
            char* dst = buffer;
            size_t room = sizeof buffer;
            const size_t rc = iconv(m_cd, &src, &left, &dst, &room);
            out.append(buffer, static_cast<qsizetype>(dst - buffer));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
                *consumed = len - left;
                return false;
            }
        }
        // Flush any shift state.
        char* dst = buffer;
        size_t room = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &dst, &room);
        out.append(buffer, static_cast<qsizetype>(dst - buffer));
        *consumed = len;
        return true;
    }

private:
    static iconv_t invalidDescriptor() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t m_cd;
};

Converter& toCp932()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

Converter& fromCp932()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

// Length in bytes of the UTF-8 sequence that starts with b.
int utf8Length(unsigned char b)
{
    if (b < 0x80)
        return 1;
    if ((b & 0xE0) == 0xC0)
        return 2;
    if ((b & 0xF0) == 0xE0)
        return 3;
    return 4;
}

} // namespace

QByteArray encode(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    qsizetype pos = 0;
    while (pos < utf8.size()) {
        size_t consumed = 0;
        if (toCp932().convert(utf8.constData() + pos, static_cast<size_t>(utf8.size() - pos), out,
                              &consumed))
            break;
        pos += static_cast<qsizetype>(consumed);
        out.append('?');
        pos += utf8Length(static_cast<unsigned char>(utf8.at(pos)));
    }
    return out;
}

QString decode(const QByteArray& bytes)
{
    QByteArray utf8;
    utf8.reserve(bytes.size() * 3 / 2);
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        size_t consumed = 0;
        if (fromCp932().convert(bytes.constData() + pos, static_cast<size_t>(bytes.size() - pos),
                                utf8, &consumed))
            break;
        pos += static_cast<qsizetype>(consumed) + 1;
        utf8.append("\xEF\xBF\xBD");
    }
    return QString::fromUtf8(utf8);
}

QString decodeShown(const QByteArray& bytes)
{
    if (bytes.size() <= kShownBytes)
        return decode(bytes);
    qsizetype cut = 0;
    while (cut < kShownBytes) {
        const qsizetype next =
            cut + (isLeadByte(static_cast<unsigned char>(bytes.at(cut))) ? 2 : 1);
        if (next > kShownBytes)
            break;
        cut = next;
    }
    return decode(bytes.first(cut));
}

bool canEncode(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    size_t consumed = 0;
    return toCp932().valid() &&
           toCp932().convert(utf8.constData(), static_cast<size_t>(utf8.size()), out, &consumed);
}

} // namespace qx::cp932
