// A browser fixture in its own process, seen from the test: its windows and
// the commands of browser_protocol.h.
#pragma once

#include "tests/support/child_process.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct FixtureBranch {
    std::wstring classes;  // "A/B/C": A is a child of the top-level window, C the address bar
    std::wstring text;
};

enum class FixtureShow { Normal, Minimized, Hidden };

class FixtureBrowser {
public:
    FixtureBrowser(const std::wstring& topClass, const std::vector<FixtureBranch>& branches,
                   FixtureShow show = FixtureShow::Normal);
    FixtureBrowser(const FixtureBrowser&) = delete;
    FixtureBrowser& operator=(const FixtureBrowser&) = delete;

    // The process runs and every window asked for exists.
    bool Started() const { return top_ != nullptr; }
    HWND Top() const { return top_; }
    // The last window of branch `index`.
    HWND AddressBar(int index = 0) const;
    // Returns once the fixture has set the text.
    void SetText(int index, const std::wstring& text) const;
    // The fixture stops answering for that long (it is asleep on return).
    void Hang(DWORD milliseconds) const;
    // Closes the top-level window and waits for the process to end.
    bool Close();

private:
    std::unique_ptr<ChildProcess> process_;
    HWND top_ = nullptr;
};

// "http://ja.wikipedia.org/wiki/" followed by `title`.
std::wstring ArticleAddress(const std::wstring& title);
