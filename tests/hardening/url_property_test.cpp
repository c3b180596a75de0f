// RecognizeUrl over a hundred thousand seeded random texts, each compared with
// a model of which addresses count, written here from the address rules alone.
#include "observation/url_recognizer.h"

#include "accounting/reading_state.h"
#include "tests/hardening/guarded_state.h"
#include "tests/hardening/page_end_buffer.h"
#include "tests/hardening/url_model.h"
#include "tests/hardening/random_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kCases = 100000;
constexpr std::uint32_t kMaxTextUnits = 2099;  // the callers' bound, terminator excluded
// The property runs until every case is done or this much time has gone; the
// case count reached is printed.
constexpr ULONGLONG kBudgetMs = 60000;

TEST(RecognizeUrlProperty, RandomTextsAgreeWithTheModelAndStayInTheirBuffers)
{
    SeededRandom random(20121101);
    PageEndBuffer page((kMaxTextUnits + 1) * sizeof(wchar_t));
    ASSERT_TRUE(page.Valid());
    GuardedTitle guard;
    const ULONGLONG start = GetTickCount64();
    int done = 0;
    int recognised = 0;
    int titled = 0;
    for (; done < kCases && GetTickCount64() - start < kBudgetMs; ++done) {
        const std::wstring text = RandomAddressText(random, kMaxTextUnits);
        // The terminator is the last readable code unit: reading past it faults.
        const auto* placed =
            static_cast<const wchar_t*>(page.Place(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
        guard.Arm();
        const bool result = RecognizeUrl(placed);
        const Verdict expected = Model(text);
        std::string fault;
        if (!guard.Intact()) {
            fault = "wrote outside currentArticle";
        } else if (result != expected.recognised) {
            fault = result ? "recognised a text the rules reject" : "rejected a text the rules accept";
        } else if (!expected.title) {
            if (readingState.currentArticle[0] != L'\0') {
                fault = "currentArticle not empty without a title";
            }
        } else {
            fault = CheckTitle(*expected.title);
            ++titled;
        }
        recognised += result ? 1 : 0;
        if (!fault.empty()) {
            ADD_FAILURE() << "case " << done << ": " << fault << "\n  text: " << Escaped(text)
                          << "\n  currentArticle: "
                          << (TitleTerminated() ? Escaped(readingState.currentArticle) : "(no terminator)");
            break;
        }
    }
    std::printf("RecognizeUrl property: %d cases in %llu ms (%d recognised, %d with a title)\n", done,
                GetTickCount64() - start, recognised, titled);
    // The mix must reach every path, or the property proves little.
    EXPECT_GT(recognised, done / 10);
    EXPECT_GT(titled, done / 20);
    EXPECT_GT(done - recognised, done / 10);
}

}  // namespace
