// Which top-level window classes are browsers, and the window-class chains
// that lead from each browser's top-level window to its address bar. Plain
// data: the routes and the scan read it, nothing here touches a window.
#pragma once

#include "observation/address_bar_routes.h"

#include <cstddef>
#include <span>

// Chrome's omnibox shows addresses without their scheme; its route puts
// "http://" in front of any text that does not already begin with it.
enum class SchemeRule : unsigned char { AsRead, PrefixHttp };

struct RouteChain {
    ClassChain classes;
    SchemeRule scheme;
};

// The chains of each route, in the order in which the route tries them.
extern const std::span<const RouteChain> kIEChains;
extern const std::span<const RouteChain> kChromeChains;
extern const std::span<const RouteChain> kFenrirChains;
extern const std::span<const RouteChain> kLunascapeChains;
extern const std::span<const RouteChain> kDonutChains;
extern const std::span<const RouteChain> kTFMainChains;
extern const std::span<const RouteChain> kCommandBarChains;

struct BrowserClassRow {
    const wchar_t* className;  // compared whole, case ignored
    AddressBarRoute route;
};

inline constexpr std::size_t kBrowserClassRows = 25;
// Compared top to bottom; the first row whose class matches decides.
extern const BrowserClassRow BrowserClassTable[kBrowserClassRows];
