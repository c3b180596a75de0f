// The Firefox helper-file reader against seeded random files (empty to
// 10 KB, torn headers, random bytes, real addresses) and against a file that
// another process keeps rewriting while it is read.
#include "observation/firefox_helper_file.h"

#include "accounting/reading_state.h"
#include "tests/hardening/guarded_state.h"
#include "tests/hardening/random_text.h"
#include "tests/hardening/url_model.h"
#include "tests/support/child_process.h"
#include "tests/support/private_profile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kReadBytes = 4198;  // what the reader takes of a file
constexpr std::size_t kMaxFileBytes = 10240;
constexpr int kFiles = 4000;
constexpr ULONGLONG kBudgetMs = 60000;

// What a read must give, kept from the file contract alone.
struct ReaderModel {
    std::uint16_t lastMarker = kNoHelperMarker;
    bool remembered = false;

    // A read of a file with these bytes, with a path (`withPath`) or of the
    // remembered file. Returns the verdict on the address, or none when the
    // marker is stale.
    Verdict Read(const std::vector<unsigned char>& file, bool withPath, std::wstring& address)
    {
        address.clear();
        if (!withPath && !remembered) {
            return {};
        }
        std::vector<std::uint16_t> units(2100, 0);
        if (!file.empty()) {  // an empty file's data may be null, which memcpy may not get
            std::memcpy(units.data(), file.data(), std::min(file.size(), kReadBytes));
        }
        std::size_t at = units[0] == 0xFEFF ? 1 : 0;
        const std::uint16_t marker = units[at];
        Verdict verdict;
        if (marker != lastMarker) {
            lastMarker = marker;
            for (std::size_t i = at + 2; i < units.size() && units[i] != 0; ++i) {
                address += static_cast<wchar_t>(units[i]);
            }
            verdict = Model(address);
            if (verdict.title) {
                // The view points into `address`, which outlives it here.
                verdict.title = std::wstring_view(address).substr(address.size() - verdict.title->size());
            }
        }
        if (verdict.recognised && withPath) {
            remembered = true;
        } else if (!verdict.recognised && !withPath) {
            remembered = false;
        }
        return verdict;
    }
};

std::vector<unsigned char> RandomFile(SeededRandom& random, std::uint16_t lastMarker)
{
    std::vector<unsigned char> bytes;
    if (random.OneIn(4)) {
        // Random bytes of any length up to 10 KB.
        std::uint32_t size;
        switch (random.Below(4)) {
        case 0: size = random.Below(8); break;
        case 1: size = static_cast<std::uint32_t>(kReadBytes) - 2 + random.Below(5); break;
        default: size = random.Below(kMaxFileBytes + 1); break;
        }
        for (std::uint32_t i = 0; i < size; ++i) {
            bytes.push_back(static_cast<unsigned char>(random.Below(256)));
        }
        return bytes;
    }
    std::wstring text;
    if (!random.OneIn(3)) {
        text += L'\xFEFF';
    }
    std::uint16_t marker;
    switch (random.Below(6)) {
    case 0: marker = lastMarker; break;  // rewritten without a new marker
    case 1: marker = static_cast<std::uint16_t>(lastMarker + 1); break;
    case 2: marker = 0xFFFF; break;
    case 3: marker = 0xFEFF; break;
    default: marker = static_cast<std::uint16_t>(random.Below(0x10000)); break;
    }
    text += static_cast<wchar_t>(marker);
    text += static_cast<wchar_t>(random.Below(0x10000));
    text += RandomAddressText(random, 2200);
    if (random.OneIn(4)) {
        text += L"\r\n";
    }
    bytes.resize(text.size() * sizeof(wchar_t));
    std::memcpy(bytes.data(), text.data(), bytes.size());
    if (random.OneIn(5)) {
        bytes.resize(random.Below(static_cast<std::uint32_t>(bytes.size()) + 1));  // torn
    }
    if (random.OneIn(5)) {
        const std::uint32_t tail = random.Below(static_cast<std::uint32_t>(kMaxFileBytes - std::min(bytes.size(), kMaxFileBytes)) + 1);
        for (std::uint32_t i = 0; i < tail; ++i) {
            bytes.push_back(static_cast<unsigned char>(random.Below(256)));
        }
    }
    if (bytes.size() > kMaxFileBytes) {
        bytes.resize(kMaxFileBytes);
    }
    return bytes;
}

bool WriteWhole(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok != FALSE;
}

class HelperFileHardening : public testing::Test {
protected:
    void SetUp() override
    {
        helperFilePath[0] = L'\0';
        lastHelperMarker = kNoHelperMarker;
        readingState.graceTicks = 0;
        folder_ = PrivateAppData() + L"\\Mozilla\\Firefox\\Profiles\\hardening.default";
        std::filesystem::create_directories(folder_);
        path_ = folder_ + L"\\ymkhelp_urltext.txt";
    }
    void TearDown() override
    {
        helperFilePath[0] = L'\0';
        lastHelperMarker = kNoHelperMarker;
        readingState.graceTicks = 0;
    }

    std::wstring folder_;
    std::wstring path_;
};

TEST_F(HelperFileHardening, RandomFilesAgreeWithTheContract)
{
    SeededRandom random(4198);
    ReaderModel model;
    GuardedTitle guard;
    const ULONGLONG start = GetTickCount64();
    int done = 0;
    int counted = 0;
    int stale = 0;
    for (; done < kFiles && GetTickCount64() - start < kBudgetMs; ++done) {
        const std::vector<unsigned char> file = RandomFile(random, model.lastMarker);
        ASSERT_TRUE(WriteWhole(path_, file));
        const bool withPath = !model.remembered || random.OneIn(3);
        const std::uint16_t markerBefore = lastHelperMarker;
        std::wstring address;
        const Verdict expected = model.Read(file, withPath, address);
        guard.Arm();
        readingState.graceTicks = 0;
        const bool result = ReadHelperFile(withPath ? path_.c_str() : nullptr);

        std::string fault;
        if (!guard.Intact()) {
            fault = "wrote outside currentArticle";
        } else if (result != expected.recognised) {
            fault = result ? "counted a read the contract rejects" : "missed a read the contract accepts";
        } else if (lastHelperMarker != model.lastMarker) {
            fault = "kept the wrong marker";
        } else if ((helperFilePath[0] != L'\0') != model.remembered) {
            fault = "remembered the path wrongly";
        } else if (readingState.graceTicks != (result ? kGraceFull : 0)) {
            fault = "graceTicks wrong";
        } else if (result && expected.title) {
            fault = CheckTitle(*expected.title);
        } else if (!expected.title && lastHelperMarker != markerBefore &&
                   readingState.currentArticle[0] != L'\0') {
            fault = "a title left without a title in the address";
        }
        if (result && lastHelperMarker == markerBefore) {
            fault = "a stale marker was counted";
        }
        counted += result ? 1 : 0;
        stale += lastHelperMarker == markerBefore ? 1 : 0;
        if (!fault.empty()) {
            ADD_FAILURE() << "file " << done << " (" << file.size() << " bytes, "
                          << (withPath ? "with path" : "remembered") << "): " << fault
                          << "\n  address: " << Escaped(address);
            break;
        }
    }
    std::printf("helper-file property: %d files in %llu ms (%d counted, %d stale)\n", done,
                GetTickCount64() - start, counted, stale);
    EXPECT_GT(counted, done / 20);
    EXPECT_GT(stale, done / 20);
}

// The add-on rewrites the file as fast as it can, truncating it and writing
// the header and the address in separate pieces, while the reader reads.
TEST_F(HelperFileHardening, FileRewrittenByAnotherProcessWhileRead)
{
    ASSERT_TRUE(WriteWhole(path_, {}));
    ChildProcess writer(L"helper_rewriter_fixture.exe", L"\"--file=" + path_ + L"\" --ms=4000");
    ASSERT_TRUE(writer.Started());
    GuardedTitle guard;
    // Every code unit any title can be made of: the writer's addresses only
    // hold these after the main domain's "/wiki/".
    const std::wstring allowed = L"AB_0123456789";
    int reads = 0;
    int counted = 0;
    const ULONGLONG start = GetTickCount64();
    while (WaitForSingleObject(writer.Handle(), 0) == WAIT_TIMEOUT && GetTickCount64() - start < 20000) {
        const std::uint16_t before = lastHelperMarker;
        guard.Arm();
        const bool result = ReadHelperFile(reads % 2 == 0 ? path_.c_str() : nullptr);
        ++reads;
        ASSERT_TRUE(guard.Intact()) << "read " << reads;
        if (result) {
            ++counted;
            ASSERT_NE(lastHelperMarker, before) << "a stale marker was counted at read " << reads;
            ASSERT_TRUE(TitleTerminated());
            const std::wstring title = readingState.currentArticle;
            ASSERT_EQ(title.find_first_not_of(allowed), std::wstring::npos)
                << "title from no write: " << Escaped(title);
        }
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(writer.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u) << "the writer could not keep writing";
    std::printf("rewritten file: %d reads, %d counted\n", reads, counted);
    EXPECT_GT(reads, 100);
    EXPECT_GT(counted, 0);
}

}  // namespace
