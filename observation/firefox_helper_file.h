// Observing Firefox through the helper file that an add-on writes into each
// Firefox profile folder: a change marker and the address in view.
#pragma once

#include <cstdint>

// Paths, the profiles folder and the search pattern, terminator included. A
// profile whose helper-file path does not fit is skipped.
inline constexpr int kPathChars = 520;

// The helper file whose read last gave a recognised address; empty when no
// file is remembered.
extern wchar_t helperFilePath[kPathChars];
// The change marker of the latest read of any helper file; one value for all
// of them. 0xFFFF before the first read.
extern std::uint16_t lastHelperMarker;
inline constexpr std::uint16_t kNoHelperMarker = 0xFFFF;

// With a path: reads that candidate file, and remembers it when it gives a
// recognised address. With nullptr: reads the remembered file, and forgets it
// when it gives none. True (with graceTicks set to full) when the file was
// written anew since the previous read and holds an encyclopaedia address.
bool ReadHelperFile(const wchar_t* path);

// Reads the helper file of every folder under
// "%APPDATA%\Mozilla\Firefox\Profiles\"; true when any gave a recognised
// address. Every folder is read, also after a success.
bool ScanFirefoxProfiles();
