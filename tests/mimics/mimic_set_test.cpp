// The definition-file reader: every section, both numberings, and every
// refusal.

#include <gtest/gtest.h>

#include "mimics/mimic_set.h"
#include "mimics/mimic_text.h"

namespace tarvel {
namespace {

// A set with one of everything: a background, a lamp on output 2 and input
// 1, a text on channel 1, a barrier on motor B and a counter on variable n.
test::MimicText sample()
{
    test::MimicText m;
    m.pictures = {"FONDO.BMP", "luz.bmp"};
    m.object(0, 0, 400, 320, 0, "0", "0", "0", "0");
    m.object(10, 20, 60, 80, 0x41, "-1", "1", "-1", "-1");
    m.object(200, 10, 260, 30, 0x0B, "--", "x", "y", "z");
    m.object(100, 100, 150, 150, 0x01, "-1", "1", "1", "1");
    m.object(300, 200, 340, 220, 0x3A, "out 2", "", "", "");
    m.inputs[0] = {1, 3, 4};
    m.outputs[1] = {1, -1, 4};
    m.values[0] = {2, -1};
    m.motors[1] = {3, -1, 2, 5};
    m.variables[4] = 2;
    return m;
}

const std::string kFortyNine(49, 'a');

TEST(MimicSetRead, EverySectionInOrder)
{
    for (const std::string eol : {"\r\n", "\n"}) {
        test::MimicText m = sample();
        m.eol = eol;
        const auto r = parseMimicSet(m.str(), false);
        ASSERT_TRUE(r.ok()) << r.refusal().text;
        const MimicSet& s = r.value();
        EXPECT_EQ(s.pictureCount, 2);
        EXPECT_EQ(s.pictures[0], "FONDO.BMP");
        EXPECT_EQ(s.pictures[1], "luz.bmp");
        ASSERT_EQ(s.objectCount, 5);
        const MimicObject& lamp = s.object(1);
        EXPECT_EQ(lamp.left, 10);
        EXPECT_EQ(lamp.top, 20);
        EXPECT_EQ(lamp.right, 60);
        EXPECT_EQ(lamp.bottom, 80);
        EXPECT_EQ(lamp.flags, 0x41);
        EXPECT_EQ(lamp.texts[0].view(), "-1");
        EXPECT_EQ(lamp.texts[1].view(), "1");
        EXPECT_EQ(lamp.state, 0);
        EXPECT_EQ(s.object(2).texts[3].view(), "z");
        EXPECT_EQ(s.object(4).texts[1].view(), "");  // empty texts are texts
        EXPECT_EQ(s.inputLinks[0], (std::array<int, 3>{1, 3, 4}));
        EXPECT_EQ(s.inputLinks[7], (std::array<int, 3>{-1, -1, -1}));
        EXPECT_EQ(s.outputLinks[1], (std::array<int, 3>{1, -1, 4}));
        EXPECT_EQ(s.valueLinks[0], (std::array<int, 2>{2, -1}));
        EXPECT_EQ(s.motorLinks[1].objects, (std::array<int, 2>{3, -1}));
        EXPECT_EQ(s.motorLinks[1].releasedForward, 2);
        EXPECT_EQ(s.motorLinks[1].releasedReverse, 5);
        EXPECT_EQ(s.variableLinks[4], 2);
        EXPECT_EQ(s.variableLinks[0], -1);
    }
}

TEST(MimicSetRead, LineEndsAreOptionalAfterTheLastDelimiter)
{
    // Carriage returns alone (every line on one after they are dropped), and
    // a last line without its line end, read like any other file.
    test::MimicText m = sample();
    m.eol = "\r";
    EXPECT_TRUE(parseMimicSet(m.str(), false).ok());
    m.eol = "\n";
    std::string s = m.str();
    s.pop_back();
    EXPECT_TRUE(parseMimicSet(s, false).ok());
    // An empty picture line when the set names none.
    test::MimicText bare;
    bare.object(0, 0, 10, 10, 2, "a", "b", "c", "d");
    const auto r = parseMimicSet(bare.str(), false);
    ASSERT_TRUE(r.ok()) << r.refusal().text;
    EXPECT_EQ(r.value().pictureCount, 0);
    EXPECT_EQ(r.value().object(0).texts[0].view(), "a");
}

TEST(MimicSetRead, NumberingAdjustsTheFirstTextOfTextObjectsOnly)
{
    test::MimicText m;
    m.object(10, 10, 50, 30, 0x02, "out 1", "out 1", "in 1", "x");  // 0
    m.object(10, 40, 50, 60, 0x12, "in 3", "", "", "");             // 1: a label
    m.object(10, 70, 50, 90, 0x02, "inicio", "", "", "");           // 2
    m.object(10, 70, 50, 90, 0x00, "in 1", "out 1", "", "");        // 3: a picture object
    m.object(10, 70, 50, 90, 0x02, "outside 5", "", "", "");        // 4
    m.object(10, 70, 50, 90, 0x02, "in 0", "", "", "");             // 5: already 0
    m.object(10, 70, 50, 90, 0x02, "out ", "", "", "");             // 6: nothing after
    m.object(10, 70, 50, 90, 0x02, "in x", "", "", "");             // 7: not a digit

    const auto fromOne = parseMimicSet(m.str(), false);
    ASSERT_TRUE(fromOne.ok());
    const auto fromZero = parseMimicSet(m.str(), true);
    ASSERT_TRUE(fromZero.ok());
    const MimicSet& a = fromOne.value();
    const MimicSet& b = fromZero.value();

    EXPECT_EQ(a.object(0).texts[0].view(), "out 1");
    EXPECT_EQ(b.object(0).texts[0].view(), "out 0");
    EXPECT_EQ(b.object(0).texts[1].view(), "out 1");  // only the first text
    EXPECT_EQ(b.object(0).texts[2].view(), "in 1");
    EXPECT_EQ(b.object(1).texts[0].view(), "in 2");
    EXPECT_EQ(b.object(2).texts[0].view(), "inicio");  // "in" without its blank
    EXPECT_EQ(b.object(3).texts[0].view(), "in 1");    // not a text object
    EXPECT_EQ(b.object(4).texts[0].view(), "outside 5");
    EXPECT_EQ(b.object(5).texts[0].view(), "in 0");
    EXPECT_EQ(b.object(6).texts[0].view(), "out ");
    EXPECT_EQ(b.object(7).texts[0].view(), "in x");

    // "in " text objects are 4 pixels wider on each side under both numberings.
    for (const MimicSet* s : {&a, &b}) {
        EXPECT_EQ(s->object(1).left, 6);
        EXPECT_EQ(s->object(1).right, 54);
        EXPECT_EQ(s->object(0).left, 10);  // "out 1"
        EXPECT_EQ(s->object(2).left, 10);  // "inicio"
        EXPECT_EQ(s->object(3).left, 10);  // a picture object
    }
}

// The refusal's text, or "" when the file was read.
std::string refusal(const std::string& bytes)
{
    const auto r = parseMimicSet(bytes, false, "PRUEBA");
    if (r.ok()) return {};
    EXPECT_EQ(r.refusal().caption, "Error de archivo");
    EXPECT_EQ(r.refusal().text.rfind("La mímica PRUEBA no se puede cargar: ", 0), 0u)
        << r.refusal().text;
    return r.refusal().text;
}

TEST(MimicSetRead, TablesBeyondTheirCapacityAreRefused)
{
    test::MimicText m;
    for (int i = 0; i < 30; ++i) m.object(0, 0, 10, 10, 0, "-1");
    EXPECT_EQ(refusal(m.str()), "");
    m.object(0, 0, 10, 10, 0, "-1");
    EXPECT_NE(refusal(m.str()).find("31 objetos"), std::string::npos);

    test::MimicText p;
    for (int i = 0; i < 20; ++i) p.pictures.push_back("P" + std::to_string(i) + ".BMP");
    EXPECT_EQ(refusal(p.str()), "");
    p.pictures.push_back("OTRA.BMP");
    EXPECT_NE(refusal(p.str()).find("21 im\xC3\xA1genes"), std::string::npos);
    // A count that is negative is no count either.
    EXPECT_NE(refusal("-1;0;\n").find("objetos"), std::string::npos);
}

TEST(MimicSetRead, TextsKeepToFortyNineWindows1252Characters)
{
    test::MimicText m;
    m.object(0, 0, 10, 10, 2, kFortyNine, "", "", kFortyNine);
    // 49 characters of the code page, one of them a single byte 0xE9.
    m.object(0, 0, 10, 10, 2, std::string(48, 'b') + "\xE9", "", "", "");
    const auto r = parseMimicSet(m.str(), false);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value().object(1).texts[0].size(), 49u);
    for (int state = 0; state < 4; ++state) {
        test::MimicText longer;
        std::array<std::string, 4> t{"", "", "", ""};
        t[static_cast<std::size_t>(state)] = kFortyNine + "a";
        longer.object(0, 0, 10, 10, 2, t[0], t[1], t[2], t[3]);
        EXPECT_NE(refusal(longer.str()).find("l\xC3\xADnea 3 un texto tiene m\xC3\xA1s de 49"),
                  std::string::npos)
            << state;
    }
}

TEST(MimicSetRead, NumbersAreAnOptionalMinusAndDigits)
{
    for (const std::string bad :
         {"", " 5", "5 ", "+5", "1O", "-", "--1", "0x10", "1.5", "9999999999"}) {
        test::MimicText m = sample();
        m.objects[1] = "10," + bad + ",60,80,65,-1,1,-1,-1;";
        EXPECT_NE(refusal(m.str()).find("l\xC3\xADnea 4, \"" + bad + "\" no es un n\xC3\xBAmero"),
                  std::string::npos)
            << bad;
    }
    // In the counts and in the links too.
    EXPECT_NE(refusal("2;x;\n").find("no es un n"), std::string::npos);
    test::MimicText m = sample();
    std::string s = m.str();
    s.replace(s.find("1,3,4;"), 6, "1,3,a;");
    EXPECT_NE(refusal(s).find("\"a\" no es un n"), std::string::npos);
    // A picture opened as a set by mistake: the message quotes the start of
    // the bytes, not the whole file, and no control character.
    const std::string picture =
        std::string("BM6\x0C\x03\0\0\0\0\0", 10) + std::string(5000, '\x80') + ";";
    const std::string why = refusal(picture);
    EXPECT_NE(why.find("l\xC3\xADnea 1, \"BM6???????"), std::string::npos) << why;
    EXPECT_NE(why.find("...\" no es un n"), std::string::npos) << why;
    EXPECT_LT(why.size(), 200u);
    // A field that runs over line ends is quoted up to its first one.
    EXPECT_NE(refusal("2\n\n;0;\n").find("\"2...\" no es"), std::string::npos);
}

TEST(MimicSetRead, EveryLinkMustNameAnObjectReadOrAnInput)
{
    // An object index one past the last, in every table.
    auto withRow = [](auto set) {
        test::MimicText m = sample();
        set(m);
        return refusal(m.str());
    };
    EXPECT_NE(withRow([](auto& m) {
                  m.inputs[3] = {0, 1, 5};
              }).find("el objeto 5 no existe"),
              std::string::npos);  // the third input link too
    EXPECT_NE(withRow([](auto& m) {
                  m.outputs[7] = {-1, -1, 9};
              }).find("objeto 9"),
              std::string::npos);
    EXPECT_NE(withRow([](auto& m) { m.values[3] = {-1, 5}; }).find("objeto 5"), std::string::npos);
    EXPECT_NE(withRow([](auto& m) {
                  m.motors[0] = {5, -1, -1, -1};
              }).find("objeto 5"),
              std::string::npos);
    EXPECT_NE(withRow([](auto& m) { m.variables[7] = 30; }).find("objeto 30"), std::string::npos);
    EXPECT_NE(withRow([](auto& m) {
                  m.inputs[0] = {-2, -1, -1};
              }).find("objeto -2"),
              std::string::npos);
    // A motor's two inputs are -1 or 1..8.
    EXPECT_NE(withRow([](auto& m) {
                  m.motors[2] = {0, 1, 9, -1};
              }).find("la entrada 9 no existe"),
              std::string::npos);
    EXPECT_NE(withRow([](auto& m) {
                  m.motors[2] = {0, 1, 1, 0};
              }).find("la entrada 0 no existe"),
              std::string::npos);
    EXPECT_EQ(withRow([](auto& m) { m.motors[2] = {0, 1, 1, 8}; }), "");
    // The line is the link's own: line 3 + 5 objects + input 4.
    EXPECT_NE(withRow([](auto& m) {
                  m.inputs[3] = {7, -1, -1};
              }).find("l\xC3\xADnea 11 "),
              std::string::npos);
}

TEST(MimicSetRead, AFileThatEndsEarlyIsRefusedWherever)
{
    const std::string whole = sample().str();
    // Every cut before the last semicolon leaves a field without its delimiter.
    const std::size_t last = whole.rfind(';');
    for (std::size_t n = 0; n <= last; ++n) {
        const std::string cut = refusal(whole.substr(0, n));
        EXPECT_NE(cut.find("termina antes de tiempo"), std::string::npos) << n << ": " << cut;
    }
    EXPECT_EQ(refusal(whole.substr(0, last + 1)), "");
}

TEST(MimicSetRead, WhatIsWrittenReadsBackTheSame)
{
    const std::string bytes = sample().str();
    const auto r = parseMimicSet(bytes, false);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(serializeMimicSet(r.value()), bytes);
}

TEST(MimicSetRead, PictureTextsAsIndices)
{
    EXPECT_EQ(mimicPictureIndex("3"), 3);
    EXPECT_EQ(mimicPictureIndex(" 12"), 12);
    EXPECT_EQ(mimicPictureIndex("-1"), -1);
    EXPECT_EQ(mimicPictureIndex("2 "), 2);
    EXPECT_EQ(mimicPictureIndex(""), -1);  // nothing, not picture 0
    EXPECT_EQ(mimicPictureIndex("a"), -1);
}

}  // namespace
}  // namespace tarvel
