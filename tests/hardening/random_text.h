// Seeded random texts and bytes for the property tests: the same seed gives
// the same cases on every machine (mt19937's output is fixed by the language;
// only its raw numbers are used, never the library's distributions).
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

class SeededRandom {
public:
    explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}
    // 0 to bound - 1.
    std::uint32_t Below(std::uint32_t bound) { return bound == 0 ? 0 : engine_() % bound; }
    bool OneIn(std::uint32_t n) { return Below(n) == 0; }
    template <typename T>
    const T& Pick(const std::vector<T>& items)
    {
        return items[Below(static_cast<std::uint32_t>(items.size()))];
    }

private:
    std::mt19937 engine_;
};

// Printable form of a text for a failure message: ASCII as it is, every other
// code unit as \uXXXX.
inline std::string Escaped(const std::wstring& text)
{
    std::string out;
    for (wchar_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F && unit != L'\\') {
            out += static_cast<char>(unit);
        } else {
            char hex[8];
            static const char digits[] = "0123456789ABCDEF";
            hex[0] = '\\';
            hex[1] = 'u';
            for (int i = 0; i < 4; ++i) {
                hex[2 + i] = digits[(static_cast<unsigned>(unit) >> (12 - 4 * i)) & 0xF];
            }
            out.append(hex, 6);
        }
    }
    return out;
}
