// The page's charset, its text in the code page, headline cleanup and the fold to what the sign
// shows. Texts on the program's side are Windows-1252 bytes.
#include "headlines/PageText.h"
#include "headlines/EncodingLabels.h"
#include "headlines/HeadlineCleanup.h"
#include "headlines/PageCharset.h"
#include "headlines/ShowableText.h"
#include "sign/TextEncoder.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <ostream>
#include <string>

using namespace tickerlux;
using namespace tickerlux::headlines;
using namespace tickerlux::sign;

using namespace std::string_literals;

namespace {

struct CharsetCase {
    const char* name;
    std::string contentType;
    std::string page;
    std::string charset;
};

void PrintTo(const CharsetCase& c, std::ostream* os)
{
    *os << c.name;
}

class DetectCharsetTest : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(DetectCharsetTest, FindsThePagesCharset)
{
    EXPECT_EQ(pagecharset::Detect(GetParam().contentType, GetParam().page), GetParam().charset);
}

const std::string kMetaUtf8 = "<html><head><meta charset=\"utf-8\"></head>";

INSTANTIATE_TEST_SUITE_P(
    Cases, DetectCharsetTest,
    ::testing::Values(
        CharsetCase{"HeaderWinsOverMeta", "text/html; charset=windows-1251", kMetaUtf8,
                    "windows-1251"},
        CharsetCase{"QuotedHeaderAnyCase", "text/html;Charset=\"KOI8-R\"", "", "KOI8-R"},
        CharsetCase{"BomWinsOverHeader", "text/xml; charset=utf-8", "\xFF\xFEx", "UTF-16LE"},
        CharsetCase{"UnknownHeaderCharsetCountsAsNone", "text/html; charset=bogus-9", kMetaUtf8,
                    "UTF-8"},
        CharsetCase{"Utf16LeBom", "text/html", "\xFF\xFE<\0a\0"s, "UTF-16LE"},
        CharsetCase{"Utf8BomWinsOverMeta", "", "\xEF\xBB\xBF<meta charset=koi8-r>", "UTF-8"},
        CharsetCase{"XmlDeclaration", "application/rss+xml",
                    "<?xml version=\"1.0\" encoding='ISO-8859-7'?><rss>", "ISO-8859-7"},
        CharsetCase{
            "MetaHttpEquiv", "",
            "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1251\">",
            "windows-1251"},
        CharsetCase{"Latin1IsReadAsWindows1252", "", "<meta charset=ISO-8859-1>\xE9",
                    "windows-1252"},
        CharsetCase{"Utf16DeclaredInAsciiIsUtf8", "", "<meta charset=\"utf-16\">", "UTF-8"},
        CharsetCase{"MetaPastTheFirstKilobytesIsNotSeen", "",
                    std::string(pagecharset::kDeclarationWindow, ' ') + "<meta charset=koi8-r>",
                    "windows-1252"},
        CharsetCase{"UnicodeOrUcs2DeclaredInAsciiIsUtf8", "",
                    "<meta charset=unicode><meta charset=ucs-2>", "UTF-8"},
        CharsetCase{"Utf32IsNoLabel", "", "<meta charset=\"utf-32\">", "windows-1252"},
        CharsetCase{"MetaCutByTheWindowIsNotUsed", "",
                    "\xC3\xA9" + std::string(pagecharset::kDeclarationWindow - 23, ' ') +
                        "<meta charset=\"iso-8859-15\">",
                    "UTF-8"},
        CharsetCase{"CharsetInsideAnotherNameIsNone", "", "<meta xcharset=koi8-r>", "windows-1252"},
        CharsetCase{"ContentWithoutHttpEquivIsNone", "",
                    "<meta name=x content=\"charset=koi8-r\"><meta charset=gb2312>", "GB18030"},
        CharsetCase{"MetaInCommentOrAttributeIsNotSeen", "",
                    "<!-- <meta charset=koi8-r> --><a title='<meta charset=koi8-r>'>",
                    "windows-1252"},
        CharsetCase{"EucKrIsWindows949", "text/html; charset=EUC-KR", "", "windows-949"},
        CharsetCase{"Tis620IsWindows874", "", "<meta charset=tis-620>", "windows-874"},
        CharsetCase{"RefusedEncodingGivesReplacement", "", "<meta charset=iso-2022-kr>",
                    "replacement"},
        CharsetCase{"UndeclaredUtf8", "text/html", "Z\xC3\xBCrich", "UTF-8"},
        CharsetCase{"UndeclaredUtf8CutAtTheEnd", "", "Z\xC3\xBCrich \xE2\x80", "UTF-8"},
        CharsetCase{"UndeclaredWindows1252", "", "Z\xFCrich \x93q\x94", "windows-1252"},
        CharsetCase{"UndeclaredAscii", "", "plain", "windows-1252"}),
    [](const auto& row) { return std::string(row.param.name); });

// Every label of the encoding table names its own encoding, whose converter ICU has.
TEST(EncodingLabelsTest, EveryLabelOpensItsConverter)
{
    for (const tickerlux::headlines::Encoding& encoding : tickerlux::headlines::Encodings()) {
        for (std::size_t at = 0; at < encoding.labels.size();) {
            const std::size_t end = std::min(encoding.labels.find(' ', at), encoding.labels.size());
            const std::string label(encoding.labels.substr(at, end - at));
            at = end + 1;
            const auto found = tickerlux::headlines::EncodingForLabel(" " + label + "\t");
            ASSERT_TRUE(found) << label;
            EXPECT_EQ(found->name, encoding.name) << label;
        }
        if (encoding.name == tickerlux::headlines::kReplacementEncoding)
            continue;
        UErrorCode status = U_ZERO_ERROR;
        ucnv_close(ucnv_open(std::string(encoding.converter).c_str(), &status));
        EXPECT_TRUE(U_SUCCESS(status)) << encoding.converter << ": " << u_errorName(status);
    }
}

struct TextCase {
    const char* name;
    std::string bytes;
    std::string charset;
    std::string text;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << c.name;
}

class PageTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(PageTextTest, ReadsThePageInTheCodePage)
{
    EXPECT_EQ(headlines::ToCodePage(GetParam().bytes, GetParam().charset), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageTextTest,
    ::testing::Values(
        TextCase{"Utf8", "Z\xC3\xBCrich \xE2\x80\x9Cq\xE2\x80\x9D \xE2\x82\xAC", "UTF-8",
                 "Z\xFCrich \x93q\x94 \x80"},
        TextCase{"Koi8r", "\xED\xCF\xD3\xCB\xD7\xC1", "koi8-r", "Moskva"},
        TextCase{"Windows1251", "\xCF\xF0\xE8\xE2\xE5\xF2", "windows-1251", "Privet"},
        TextCase{"Greek", "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "UTF-8", "Athena"},
        TextCase{"ChineseSyllablesApart", "\xE5\x8C\x97\xE4\xBA\xAC", "UTF-8", "bei jing"},
        TextCase{"LatinLettersOutsideTheCodePage", "\xC5\x81\xC3\xB3\x64\xC5\xBA", "UTF-8",
                 "L\xF3"
                 "dz"},
        TextCase{"NothingBecomesAQuestionMark", "a\xFF\xF0\x9F\x98\x80\0b"s, "UTF-8", "ab"},
        TextCase{"ByteOrderMarkLeftOut", "\xEF\xBB\xBFx", "UTF-8", "x"},
        TextCase{"Utf16Le", "\xFF\xFE\x1C\x04\x01\x00"s, "UTF-16LE", "M\x01"},
        TextCase{"UnknownCharsetReadsAsWindows1252", "\x93q\x94", "bogus-9", "\x93q\x94"},
        TextCase{"ReplacementHasNoText", "<h2>x</h2>", "replacement", ""},
        TextCase{"LongerThanItsBytesUncut", "\xE5\x8C\x97\xE4\xBA\xAC\xE5\x8C\x97\xE4\xBA\xAC",
                 "UTF-8", "bei jing bei jing"}),
    [](const auto& row) { return std::string(row.param.name); });

struct CleanupCase {
    const char* name;
    std::string headline;
    std::string clean;
};

void PrintTo(const CleanupCase& c, std::ostream* os)
{
    *os << c.name;
}

class HeadlineCleanupTest : public ::testing::TestWithParam<CleanupCase> {};

TEST_P(HeadlineCleanupTest, LeavesTheTextAPersonReads)
{
    EXPECT_EQ(CleanHeadline(GetParam().headline), GetParam().clean);
}

// Behind more tags than the tree parser is given, a headline is stripped in one pass to the
// same text.
TEST_P(HeadlineCleanupTest, SameTextBehindManyTags)
{
    std::string tags;
    for (int i = 0; i < 300; ++i)
        tags += "<i id=" + std::to_string(i) + "></i>";
    EXPECT_EQ(CleanHeadline(tags + GetParam().headline), GetParam().clean);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeadlineCleanupTest,
    ::testing::Values(
        CleanupCase{"CdataWithEntities",
                    "<![CDATA[Mayor&rsquo;s &ldquo;green&rdquo; budget &ndash; passed]]>",
                    "Mayor\x92s \x93green\x94 budget \x96 passed"},
        CleanupCase{"UnclosedCdata", "<![CDATA[Open", "Open"},
        CleanupCase{"TagsAndCommentsDropped",
                    "<a href=\"/x?a=1&b=2\">Big</a> <!-- c --><b>news</b>", "Big news"},
        CleanupCase{"EscapedMarkupStaysText", "&lt;b&gt;bold&lt;/b&gt; &amp;amp;",
                    "<b>bold</b> &amp;"},
        CleanupCase{"WhiteSpaceAndNbspCollapsed", " \t A&nbsp;&nbsp;B\r\n\r\n C \xA0", "A B C"},
        CleanupCase{"NumericReferences", "&#233;&#xE9;&#8364;&#128;", "\xE9\xE9\x80\x80"},
        CleanupCase{"ReferenceOutsideTheCodePage", "&#1044;a &alpha;", "Da a"},
        CleanupCase{"LineBreakAndParagraphPartWords", "One<br>Two<p>Three</p>Four",
                    "One Two Three Four"},
        CleanupCase{"InlineTagsDoNotPartWords", "Big<b>gest</b>", "Biggest"},
        CleanupCase{"LegacyReferenceWithoutSemicolon", "AT&T &amp Co &copy", "AT&T & Co \xA9"},
        CleanupCase{"ScriptIsNotText", "A<script>var x = 1;</script> B", "A B"},
        CleanupCase{"LessThanBeforeASpaceIsText", "1 < 2", "1 < 2"},
        CleanupCase{"QuotedGreaterThanInsideATag", "<a title='a>b' href=\"x>y\">Go</a>", "Go"},
        CleanupCase{"StyleAndCommentAcrossTags", "<style>p{}</style>A<!--<p>-->B<br/>C", "AB C"}),
    [](const auto& row) { return std::string(row.param.name); });

struct FoldCase {
    const char* name;
    std::string text;
    std::string shown;
};

void PrintTo(const FoldCase& c, std::ostream* os)
{
    *os << c.name;
}

class ShowableTextTest : public ::testing::TestWithParam<FoldCase> {};

TEST_P(ShowableTextTest, KeepsWhatTheSignShowsAndSpellsTheRest)
{
    const CShowableText showable(sign::ShowableBytes());
    EXPECT_EQ(showable.Fold(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShowableTextTest,
    ::testing::Values(FoldCase{"LettersOfTheTableStay", "\xE9\xFC\xF1\xE3\xDF\xC9\xC7~",
                               "\xE9\xFC\xF1\xE3\xDF\xC9\xC7~"},
                      FoldCase{"Punctuation", "\x91q\x92 \x93q\x94 \x96 \x97 \x85",
                               "'q' \"q\" - - ..."},
                      FoldCase{"Symbols", "\x80\x99\xA9\xAE\xBD", "EURTM(C)(R) 1/2"},
                      FoldCase{"NonBreakingSpace",
                               "a\xA0"
                               "b",
                               "a b"},
                      FoldCase{"OtherAccentedLettersToTheirBase", "\xCA\xD3\x8A\x8C\xFD", "EOSOEy"},
                      FoldCase{"NoSpellingLeftOut",
                               "a\x87\x01"
                               "b",
                               "ab"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
