// The sign's face as the renderer draws it, checked on the drawn pixels: each LED is read at the
// centre of its cell.
#include "base/Win1252.h"
#include "leds/LedColors.h"
#include "leds/LedDisplay.h"
#include "leds/LedFont.h"
#include "leds/LedPanel.h"
#include "sign/SignCharTable.h"

#include <QPainter>
#include <QTest>

#include <chrono>
#include <string>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::sign;
using namespace tickerlux::leds;

using namespace leds;
using std::chrono::milliseconds;

namespace {

constexpr int kPitch = 6;

// The LED in `column` and `row` of a still (one LED of margin all round).
QRgb LedOf(const QImage& still, int column, int row)
{
    return still.pixel((column + 1) * kPitch + kPitch / 2, (row + 1) * kPitch + kPitch / 2);
}

bool Lit(QRgb led)
{
    return std::max(qRed(led), qGreen(led)) > 2 * std::max(qRed(kDarkLed), qGreen(kDarkLed));
}

// The still's LEDs as rows of '#' (lit) and '.', `columns` wide.
QStringList Picture(const QImage& still, int columns)
{
    QStringList rows;
    for (int row = 0; row < 7; ++row) {
        QString line;
        for (int column = 0; column < columns; ++column)
            line += Lit(LedOf(still, column, row)) ? u'#' : u'.';
        rows << line;
    }
    return rows;
}

LedText Red(std::string text, bool condensed = false)
{
    return LedText{std::move(text), '1', condensed, false};
}

} // namespace

class LedTest : public QObject {
    Q_OBJECT
private slots:
    void FontsCoverTheSignsTable();
    void CharacterLightsItsGlyph_data();
    void CharacterLightsItsGlyph();
    void ColourCodeLightsThatColour_data();
    void ColourCodeLightsThatColour();
    void CondensedIsNarrower();
    void BlankSignIsADarkPanel();
    void LineMovesWithTheClock();
};

// Every character of the table has a glyph drawn for it; the condensed font draws each letter
// and digit no wider than the normal one.
void LedTest::FontsCoverTheSignsTable()
{
    const CSignCharTable table;
    for (int i = 0; i < table.Count(); ++i) {
        const auto code = static_cast<unsigned char>(table.GetRow(i).windowsCode);
        if (code == 0)  // shown as the box of kNoWindowsForm
            continue;
        QVERIFY2(HasOwnGlyph(LedFontKind::Normal, code), qPrintable(QString::number(code, 16)));
        if (!QChar(win1252::ToUnicode(code)).isLetterOrNumber())
            continue;
        QVERIFY2(HasOwnGlyph(LedFontKind::Condensed, code), qPrintable(QString::number(code, 16)));
        QVERIFY(Glyph(LedFontKind::Condensed, code).width <= Glyph(LedFontKind::Normal, code).width);
    }
    QVERIFY(HasOwnGlyph(LedFontKind::Normal, '~'));
    QVERIFY(HasOwnGlyph(LedFontKind::Normal, 0x1A));
}

void LedTest::CharacterLightsItsGlyph_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("condensed");
    QTest::addColumn<QStringList>("picture");
    QTest::newRow("H") << QByteArray("H") << false
        << QStringList{"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"};
    QTest::newRow("e acute, lower case under its accent")
        << QByteArray("\xE9") << false
        << QStringList{"...#.", "..#..", ".###.", "#...#", "#####", "#....", ".###."};
    QTest::newRow("gap between characters") << QByteArray("1.") << false
        << QStringList{"..#....", ".##....", "..#....", "..#....", "..#....", "..#....", ".###..#"};
    QTest::newRow("condensed H") << QByteArray("H") << true
        << QStringList{"#..#", "#..#", "#..#", "####", "#..#", "#..#", "#..#"};
}

void LedTest::CharacterLightsItsGlyph()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, condensed);
    QFETCH(QStringList, picture);
    const QImage still = Still(Red(text.toStdString(), condensed), kPitch);
    QCOMPARE(still.width(), (picture[0].size() + 2) * kPitch);
    QCOMPARE(Picture(still, int(picture[0].size())), picture);
}

void LedTest::ColourCodeLightsThatColour_data()
{
    QTest::addColumn<char>("code");
    QTest::addColumn<int>("red");     // 1: the channel is lit, 0: it is not
    QTest::addColumn<int>("green");
    QTest::newRow("red") << '1' << 1 << 0;
    QTest::newRow("green") << '2' << 0 << 1;
    QTest::newRow("amber") << '3' << 1 << 1;
    QTest::newRow("dim red") << '4' << 1 << 0;
    QTest::newRow("dim green") << '5' << 0 << 1;
}

void LedTest::ColourCodeLightsThatColour()
{
    QFETCH(char, code);
    QFETCH(int, red);
    QFETCH(int, green);
    // 'I' lights the top left LED.
    const QRgb led = LedOf(Still(LedText{"I", code, false, false}, kPitch), 0, 0);
    QVERIFY(Lit(led));
    QCOMPARE(qRed(led) > 2 * qGreen(led), red && !green);
    QCOMPARE(qGreen(led) > 2 * qRed(led), green && !red);
    if (red && green)
        QVERIFY(qRed(led) > 150 && qGreen(led) > 100);
    // Dim is the bright colour at lower brightness.
    const auto bright = [](char dim) { return dim == '4' ? '1' : '2'; };
    if (code == '4' || code == '5') {
        const QRgb full = LedOf(Still(LedText{"I", bright(code), false, false}, kPitch), 0, 0);
        QVERIFY(qMax(qRed(led), qGreen(led)) < qMax(qRed(full), qGreen(full)) * 3 / 4);
    }
}

void LedTest::CondensedIsNarrower()
{
    const std::string text = "Harbour Town Courier: 12:30 Ferry MOVES";
    const int normal = Still(Red(text), kPitch).width();
    const int condensed = Still(Red(text, true), kPitch).width();
    QVERIFY2(condensed < normal * 9 / 10,
             qPrintable(QStringLiteral("%1 vs %2").arg(condensed).arg(normal)));
}

void LedTest::BlankSignIsADarkPanel()
{
    const QImage still = Still(Red(""), kPitch);
    QCOMPARE(still.width(), (kBlankColumns + 2) * kPitch);
    QVERIFY(still.height() >= 28);
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < kBlankColumns; ++column)
            QVERIFY(!Lit(LedOf(still, column, row)));
}

void LedTest::LineMovesWithTheClock()
{
    milliseconds now{1000};
    CLedDisplay display([](const QRect&) {}, [&now] { return now; });
    const QSize size = CLedDisplay::SizeFor(4, kPitch);   // 24 columns between the margins
    display.Resize(size);
    display.Show(LedText{"I", '1', false, true});          // "###" on top, 3 columns
    const auto topRow = [&] {
        QImage frame(size, QImage::Format_RGB32);
        QPainter painter(&frame);
        display.Paint(painter);
        QString row;
        for (int column = 0; column < 24; ++column)
            row += Lit(LedOf(frame, column, 0)) ? u'#' : u'.';
        return row;
    };
    QCOMPARE(topRow(), QString(24, u'.'));                 // the line waits at the right edge
    now += milliseconds(20);                               // one column a step
    QCOMPARE(topRow(), QString(23, u'.') + u'#');
    now += milliseconds(20 * 22);
    QCOMPARE(topRow(), QStringLiteral(".###") + QString(20, u'.'));
    now += milliseconds(20 * 3);
    QCOMPARE(topRow(), QStringLiteral("#") + QString(23, u'.'));
    now += milliseconds(20);                               // gone by: it starts again
    QCOMPARE(topRow(), QString(24, u'.'));
    QCOMPARE(display.FirstColumn(24), -24);
}

QTEST_GUILESS_MAIN(LedTest)
#include "LedTest.moc"
