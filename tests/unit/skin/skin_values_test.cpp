#include "skin/SkinValues.h"

#include <gtest/gtest.h>

TEST(SkinValues, ListsSplitAtEveryCommaButAFinalOne) {
    struct Case {
        const wchar_t* text;
        std::vector<std::wstring> parts;
    };
    const Case cases[] = {
        {L"", {L""}},         {L"a", {L"a"}},          {L"a,b", {L"a", L"b"}}, {L"a,,b", {L"a", L"", L"b"}},
        {L",a", {L"", L"a"}}, {L"a,b,", {L"a", L"b"}}, {L",", {L""}},          {L" 1, 2 ", {L" 1", L" 2 "}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitSkinList(c.text), c.parts) << '"' << c.text << '"';
    }
}

TEST(SkinValues, ColoursAreRedGreenBlueMaskedToEightBits) {
    constexpr COLORREF kFallback = 0x123456;
    struct Case {
        const wchar_t* text;
        COLORREF colour;
    };
    const Case cases[] = {
        {L"255,0,0", 0x0000FF},
        {L"0,128,255", 0xFF8000},
        {L"10, 20, 30", 0x1E140A},
        {L"300,0,0", 0x00002C},
        {L"256,0,0", 0x000000},
        {L"-1,0,0", 0x0000FF},
        {L"99999999999,0,0", 0x0000FF},  // saturates, then keeps its low byte
        {L"x,2,3px", 0x030200},          // a part without digits is 0
        {L"1,2,3,4", 0x030201},
        {L"1,2", kFallback},  // fewer than three parts: nothing to read
        {L"", kFallback},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseSkinColor(c.text, kFallback), c.colour) << '"' << c.text << '"';
    }
}

TEST(SkinValues, MarginsAreFourFullIntegersOrNothing) {
    RECT rect{9, 9, 9, 9};
    ASSERT_TRUE(ParseSkinRect(L"120,1,10,1", rect));
    EXPECT_EQ(rect.left, 120);
    EXPECT_EQ(rect.top, 1);
    EXPECT_EQ(rect.right, 10);
    EXPECT_EQ(rect.bottom, 1);
    ASSERT_TRUE(ParseSkinRect(L" 300, x ,-2,8", rect));
    EXPECT_EQ(rect.left, 300) << "no masking";
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, -2);
    EXPECT_FALSE(ParseSkinRect(L"1,2,3", rect));
    EXPECT_EQ(rect.left, 300) << "an incomplete value changes nothing";
}

TEST(SkinValues, AnchorsMeasureFromTheEdgeTheyName) {
    const RECT container{0, 0, 1250, 690};
    const RECT element{0, 0, 24, 20};
    struct Case {
        const wchar_t* align;
        POINT expected;
    };
    const Case cases[] = {
        {L"TopLeft", {3, 10}},     {L"TopRight", {1223, 10}},
        {L"BottomLeft", {3, 660}}, {L"BottomRight", {1223, 660}},
        {L"TOPRIGHT", {1223, 10}}, {L"bottomleft", {3, 660}},
        {L"Centre", {3, 10}},      {L"", {3, 10}},
    };
    for (const Case& c : cases) {
        POINT position{3, 10};
        ApplySkinAnchor(position, c.align, container, element);
        EXPECT_EQ(position.x, c.expected.x) << c.align;
        EXPECT_EQ(position.y, c.expected.y) << c.align;
    }
    POINT position{3, 10};
    ApplySkinAnchor(position, L"BottomRight", RECT{100, 100, 1250, 690}, RECT{50, 50, 74, 70});
    EXPECT_EQ(position.x, 1223) << "the container's left and top count as 0, the element gives its size only";
    EXPECT_EQ(position.y, 660);
}
