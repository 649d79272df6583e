// The field table as the file, the command line's text and JSON see it.
#include "settings/Archive.h"
#include "settings/FeedFieldsJson.h"
#include "settings/TickerluxDoc.h"

#include <gtest/gtest.h>

using namespace tickerlux;
using namespace tickerlux::settings;
using nlohmann::json;

namespace {

std::string Stored(CTickerluxDoc& doc)
{
    CArchive ar;
    doc.Serialize(ar);
    return ar.StoredBytes();
}

// A file with HeadlineSource=1 read as the twelve-field format reads it: the same values, and
// the trailing field left over, which that reader ignores.
TEST(FeedFields, TrailingFieldLeavesTheTwelveFieldFormatReadable)
{
    CTickerluxDoc doc;
    doc.WebServer = "news.example";
    doc.ColorIndex = 3;
    doc.ShowTime = true;
    const std::string markers = Stored(doc);
    EXPECT_EQ(markers.size(), 46u);
    doc.HeadlineSource = kHeadlinesFromFeedItems;
    const std::string items = Stored(doc);
    ASSERT_EQ(items, markers + std::string("\x01\x00\x00\x00", 4));

    CArchive old(items);
    std::string version, webServer, webPath, reservedText, minutes, before, after, comment;
    int autoUpdate = -1, color = -1, condensed = -1, reservedFlag = -1, showTime = -1;
    old >> version >> webServer >> webPath >> reservedText >> autoUpdate >> minutes >> before >>
        after >> comment >> color >> condensed >> reservedFlag >> showTime;
    EXPECT_EQ(version, "1.00");
    EXPECT_EQ(webServer, "news.example");
    EXPECT_EQ(minutes, "60");
    EXPECT_EQ(std::vector<int>({autoUpdate, color, condensed, reservedFlag, showTime}),
              std::vector<int>({0, 3, 0, 0, 1}));
    EXPECT_EQ(old.BytesLeft(), 4u);

    CTickerluxDoc read;
    CArchive in(items);
    read.Serialize(in);
    EXPECT_EQ(read.HeadlineSource, kHeadlinesFromFeedItems);
    EXPECT_EQ(Stored(read), items);
}

TEST(FeedFields, JsonRoundTripGivesTheSameFileAndTypedValues)
{
    CTickerluxDoc doc;
    doc.TextBefore = "caf\xE9 \x80";  // Windows-1252
    doc.Condensed = true;
    doc.ColorIndex = -1;
    doc.HeadlineSource = kHeadlinesFromFeedItems;
    const json object = FeedFieldsToJson(doc);
    EXPECT_EQ(object["TextBefore"], "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(object["Condensed"], true);
    EXPECT_EQ(object["ColorIndex"], -1);
    EXPECT_EQ(object.size(), FeedFields().size());

    CTickerluxDoc back;
    const base::Failure failure = FeedFieldsFromJson(object, back);
    ASSERT_FALSE(failure.Failed()) << failure.Text();
    EXPECT_EQ(Stored(back), Stored(doc));
}

struct JsonCase {
    const char* name;
    json given;
    base::FailureKind kind;
    const char* where;
};

class FeedFieldsFromJsonRefuses : public testing::TestWithParam<JsonCase> {};

TEST_P(FeedFieldsFromJsonRefuses, NamingTheFieldAndChangingNothing)
{
    CTickerluxDoc doc;
    const std::string before = Stored(doc);
    json given = GetParam().given;
    given["WebServer"] = "changed.example";  // a good value beside the bad one is not taken
    const base::Failure failure = FeedFieldsFromJson(given, doc);
    EXPECT_EQ(failure.kind, GetParam().kind);
    EXPECT_EQ(failure.where, GetParam().where);
    EXPECT_EQ(Stored(doc), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FeedFieldsFromJsonRefuses,
    testing::Values(
        JsonCase{"UnknownName", {{"Colour", 3}}, base::FailureKind::FieldUnknown, "Colour"},
        JsonCase{"BoolGivenNumber", {{"AutoUpdate", 1}}, base::FailureKind::FieldWrongType, "AutoUpdate"},
        JsonCase{"IntegerGivenText", {{"ColorIndex", "3"}}, base::FailureKind::FieldWrongType, "ColorIndex"},
        JsonCase{"IntegerBeyondInt", {{"ReservedText", "x"}, {"ColorIndex", 4294967296LL}},
                 base::FailureKind::FieldWrongType, "ColorIndex"},
        JsonCase{"HeadlineSourceOutOfRange", {{"HeadlineSource", 2}}, base::FailureKind::FieldWrongType,
                 "HeadlineSource"},
        JsonCase{"TextGivenNumber", {{"TextAfter", 5}}, base::FailureKind::FieldWrongType, "TextAfter"},
        JsonCase{"TextBeyondWindows1252", {{"LeadingComment", "snow \xE2\x98\x83"}},
                 base::FailureKind::FieldNotWindows1252, "LeadingComment"}),
    [](const auto& c) { return c.param.name; });

} // namespace
