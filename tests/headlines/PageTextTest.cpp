// The page's charset, its text in the code page, headline cleanup and the fold to what the sign
// shows. Texts on the program's side are Windows-1252 bytes.
#include "headlines/HeadlineCleanup.h"
#include "headlines/PageCharset.h"
#include "headlines/PageText.h"
#include "headlines/ShowableText.h"
#include "sign/TextEncoder.h"

#include <gtest/gtest.h>

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
        CharsetCase{"QuotedHeaderAnyCase", "text/html;Charset=\"KOI8-R\"", "", "koi8-r"},
        CharsetCase{"HeaderWinsOverBom", "text/xml; charset=utf-8", "\xFF\xFEx", "utf-8"},
        CharsetCase{"UnknownHeaderCharsetCountsAsNone", "text/html; charset=bogus-9", kMetaUtf8,
                    "utf-8"},
        CharsetCase{"Utf16LeBom", "text/html", "\xFF\xFE<\0a\0"s, "UTF-16LE"},
        CharsetCase{"Utf8BomWinsOverMeta", "", "\xEF\xBB\xBF<meta charset=koi8-r>", "UTF-8"},
        CharsetCase{"XmlDeclaration", "application/rss+xml",
                    "<?xml version=\"1.0\" encoding='ISO-8859-7'?><rss>", "iso-8859-7"},
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
        CharsetCase{"UndeclaredUtf8", "text/html", "Z\xC3\xBCrich", "UTF-8"},
        CharsetCase{"UndeclaredUtf8CutAtTheEnd", "", "Z\xC3\xBCrich \xE2\x80", "UTF-8"},
        CharsetCase{"UndeclaredWindows1252", "", "Z\xFCrich \x93q\x94", "windows-1252"},
        CharsetCase{"UndeclaredAscii", "", "plain", "windows-1252"}),
    [](const auto& row) { return std::string(row.param.name); });

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
    EXPECT_EQ(headlines::ToCodePage(GetParam().bytes, GetParam().charset, 1000), GetParam().text);
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
        TextCase{"CutAtTheLimit", std::string(1200, 'x'), "UTF-8", std::string(1000, 'x')}),
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
        CleanupCase{"LessThanBeforeASpaceIsText", "1 < 2", "1 < 2"}),
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
