#include "store/article_rank.h"
#include "store/registry_layout.h"
#include "tests/store/raw_registry.h"
#include "tests/support/message_box_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kMax = 4294967295u;

struct Stored {
    std::wstring name;
    std::uint32_t count;
};

// n articles "Article000".., counts 100 upwards unless given.
std::vector<Stored> Articles(int count, std::uint32_t firstCount = 100)
{
    std::vector<Stored> articles;
    for (int i = 0; i < count; ++i) {
        wchar_t name[32];
        std::swprintf(name, 32, L"Article%03d", i);
        articles.push_back({name, firstCount + static_cast<std::uint32_t>(i)});
    }
    return articles;
}

void Store(const std::vector<Stored>& articles)
{
    for (const Stored& article : articles) {
        raw::PutDword(kRankKeyPath, article.name.c_str(), article.count);
    }
}

bool Has(const wchar_t* name) { return raw::Get(kRankKeyPath, name).has_value(); }

std::size_t Count() { return raw::Names(kRankKeyPath).size(); }

class ArticleRank : public testing::Test {
protected:
    MessageBoxCapture capture_;  // the store shows nothing: any box fails the test
    void TearDown() override { EXPECT_TRUE(capture_.Boxes().empty()); }
};

TEST_F(ArticleRank, NewTitleStartsAtOneAndDeletesNothingUnderTheBound)
{
    Store(Articles(109));
    UpdateArticleRank(L"日本");
    EXPECT_EQ(raw::GetDword(kRankKeyPath, L"日本"), 1u);
    EXPECT_EQ(Count(), 110u);
}

TEST_F(ArticleRank, EachTickAddsOneSecond)
{
    for (int i = 0; i < 3; ++i) {
        UpdateArticleRank(L"Foo");
    }
    EXPECT_EQ(raw::GetDword(kRankKeyPath, L"Foo"), 3u);
}

TEST_F(ArticleRank, FullKeyAndNewTitleEvictsTheLeastReadOther)
{
    std::vector<Stored> articles = Articles(110);
    articles[57].count = 3;  // the least read; the new title's 1 is smaller still
    Store(articles);
    UpdateArticleRank(L"New");
    EXPECT_EQ(Count(), 110u);
    EXPECT_EQ(raw::GetDword(kRankKeyPath, L"New"), 1u);
    EXPECT_FALSE(Has(L"Article057"));
}

TEST_F(ArticleRank, TieOnTheSmallestCountEvictsTheOneListedFirst)
{
    // wine lists names without regard to case: "alpha" before "Beta", although
    // 'B' sorts before 'a' by code.
    std::vector<Stored> articles = Articles(108);
    articles.push_back({L"Beta", 2});
    articles.push_back({L"alpha", 2});
    Store(articles);
    UpdateArticleRank(L"New");
    EXPECT_EQ(Count(), 110u);
    EXPECT_FALSE(Has(L"alpha"));
    EXPECT_TRUE(Has(L"Beta"));
}

TEST_F(ArticleRank, OverfullKeyShrinksByOnePerUpdate)
{
    Store(Articles(115));
    for (std::size_t expected : {114u, 113u, 112u, 111u, 110u, 110u}) {
        UpdateArticleRank(L"Article114");
        EXPECT_EQ(Count(), expected);
    }
    EXPECT_EQ(raw::GetDword(kRankKeyPath, L"Article114"), 214u + 6u);
    EXPECT_FALSE(Has(L"Article004"));
    EXPECT_TRUE(Has(L"Article005"));
}

TEST_F(ArticleRank, CountStopsAtTheCeiling)
{
    raw::PutDword(kRankKeyPath, L"Max", kMax);
    UpdateArticleRank(L"Max");
    EXPECT_EQ(raw::GetDword(kRankKeyPath, L"Max"), kMax);
}

TEST_F(ArticleRank, CeilingCountIsNeverChosen)
{
    std::vector<Stored> articles = Articles(110, 0);
    for (Stored& article : articles) {
        article.count = kMax;
    }
    Store(articles);
    UpdateArticleRank(L"New");
    EXPECT_EQ(Count(), 111u);  // nobody qualified; nothing else was touched
    EXPECT_EQ(raw::GetDword(kRankKeyPath, L"New"), 1u);
}

TEST_F(ArticleRank, ValueSpelledWithOtherCaseIsTheTitlesOwn)
{
    // The registry counts "FOO" into the stored "Foo": that value is the
    // title's own and must not be evicted by its own update.
    std::vector<Stored> articles = Articles(110, 50);
    articles.push_back({L"Foo", 1});
    Store(articles);
    UpdateArticleRank(L"FOO");
    EXPECT_EQ(Count(), 110u);
    EXPECT_EQ(raw::GetDword(kRankKeyPath, L"Foo"), 2u);
    EXPECT_FALSE(Has(L"Article000"));
}

TEST_F(ArticleRank, CountsStoredFromOutsideAreReadAsTheStoreReadsThem)
{
    std::vector<Stored> articles = Articles(109, 40);
    Store(articles);
    // A text count of 3 (its bytes would read as 51), and a long binary one.
    raw::PutText(kRankKeyPath, L"TextCount", L"3");
    const BYTE binary[8] = {45, 0, 0, 0, 0, 0, 0, 0};
    raw::Put(kRankKeyPath, L"Binary", REG_BINARY, binary, sizeof binary);
    UpdateArticleRank(L"New");
    EXPECT_EQ(Count(), 111u);  // 112 for a moment, one evicted
    EXPECT_FALSE(Has(L"TextCount"));
    EXPECT_TRUE(Has(L"Binary"));
}

TEST_F(ArticleRank, TextCountOfTheTitleIsRewrittenAsNumber)
{
    raw::PutText(kRankKeyPath, L"Foo", L"41");
    UpdateArticleRank(L"Foo");
    EXPECT_EQ(raw::GetDword(kRankKeyPath, L"Foo"), 42u);
}

TEST_F(ArticleRank, NullAndEmptyTitlesCreateNoKey)
{
    UpdateArticleRank(nullptr);
    UpdateArticleRank(L"");
    EXPECT_FALSE(raw::KeyExists(L"Software\\Marvoke"));
}

TEST_F(ArticleRank, DeletedKeyIsCreatedAgainWithTheTitleAlone)
{
    Store(Articles(20));
    raw::DeleteKeyTree(kRankKeyPath);
    ASSERT_FALSE(raw::KeyExists(kRankKeyPath));
    UpdateArticleRank(L"Foo");
    EXPECT_EQ(raw::Names(kRankKeyPath), std::vector<std::wstring>{L"Foo"});
    EXPECT_EQ(raw::GetDword(kRankKeyPath, L"Foo"), 1u);
}

TEST_F(ArticleRank, UnwritableKeyLosesTheSecondSilently)
{
    raw::PutDword(kRankKeyPath, L"Foo", 5);
    const raw::LockedKey locked(kRankKeyPath, raw::LockedKey::ReadOnly);
    UpdateArticleRank(L"Foo");
    EXPECT_EQ(raw::GetDword(kRankKeyPath, L"Foo"), 5u);
}

}  // namespace
