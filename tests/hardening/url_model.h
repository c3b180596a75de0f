// What the address rules say about a text, written from the rules alone so
// that the recognizer can be checked against it.
#pragma once

#include "tests/hardening/random_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct Verdict {
    bool recognised = false;
    std::optional<std::wstring_view> title;  // set for a "/wiki/" address under the main domain
};

// Which texts count: "http://" (letters in any case), one label of anything
// but '.', the main domain in any case, then optionally "wiki/" and the
// title; or the start of one of the other table rows, exactly.
Verdict Model(std::wstring_view text);

// The bytes a title of code units up to 0x00FF stands for.
std::string TitleBytes(std::wstring_view title);

// Compares currentArticle with what the rules give for `title`; returns what
// is wrong, or an empty text.
std::string CheckTitle(std::wstring_view title);

// A random text of at most `maxUnits` code units, mostly from an alphabet
// biased to what the recognizer looks at ('%', '+', '#', '/', hex digits, the
// domain's letters), with code units above 0x00FF and lone surrogates, often
// behind a real or nearly real address prefix so that the deep paths run.
std::wstring RandomAddressText(SeededRandom& random, std::uint32_t maxUnits);
