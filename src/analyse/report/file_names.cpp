#include "analyse/report/file_names.hpp"

namespace ordimet::analyse {

std::size_t utf8_sequence_length(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(0);
    std::size_t length = 0;
    unsigned int low = 0x80; // the allowed range of the second byte
    unsigned int high = 0xBF;
    if (first < 0x80) {
        return 1;
    } else if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        low = first == 0xE0 ? 0xA0 : 0x80;
        high = first == 0xED ? 0x9F : 0xBF;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        low = first == 0xF0 ? 0x90 : 0x80;
        high = first == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

bool is_valid_utf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8_sequence_length(text.substr(i));
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string base64(std::string_view bytes) {
    static constexpr char DIGITS[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        unsigned long group = static_cast<unsigned long>(static_cast<unsigned char>(bytes[i]))
                              << 16;
        if (left > 1) {
            group |= static_cast<unsigned long>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        }
        if (left > 2) {
            group |= static_cast<unsigned char>(bytes[i + 2]);
        }
        out += DIGITS[(group >> 18) & 63];
        out += DIGITS[(group >> 12) & 63];
        out += left > 1 ? DIGITS[(group >> 6) & 63] : '=';
        out += left > 2 ? DIGITS[group & 63] : '=';
    }
    return out;
}

std::string printable_name(std::string_view name) {
    static constexpr char HEX[] = "0123456789abcdef";
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            out += "\\x";
            out += HEX[byte >> 4];
            out += HEX[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace ordimet::analyse
