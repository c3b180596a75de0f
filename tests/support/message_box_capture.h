// Message boxes in tests never wait for a person: a thread-local CBT hook sees
// each box as it is activated, records it and answers it.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

struct CapturedBox {
    std::wstring caption;
    std::wstring text;
    UINT icon = 0;     // MB_ICONERROR, MB_ICONWARNING, MB_ICONQUESTION, MB_ICONINFORMATION or 0
    UINT buttons = 0;  // MB_OK, MB_OKCANCEL, MB_YESNO, ...
    HWND owner = nullptr;
    int answer = 0;
};

// While an object lives, boxes are recorded in it and answered from its
// queue (or with the box's first button when the queue is empty). Boxes shown
// while no capture object lives fail the running test.
class MessageBoxCapture {
public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    void AnswerNext(int buttonId) { answers_.push_back(buttonId); }
    const std::vector<CapturedBox>& Boxes() const { return boxes_; }
    void Clear() { boxes_.clear(); }

    // Called from the hook.
    int Record(CapturedBox box);

private:
    std::vector<CapturedBox> boxes_;
    std::deque<int> answers_;
    MessageBoxCapture* previous_;
};

// Installed once per test process by the test main.
void InstallMessageBoxHook();
void RemoveMessageBoxHook();
