#include "core/banner/markup.h"

#include <gtest/gtest.h>

namespace {

using quenlo::banner::Align;
using quenlo::banner::LabelKind;
using quenlo::banner::LabelTag;
using quenlo::banner::LineList;
using quenlo::banner::Markup;
using quenlo::banner::MarkupState;

Markup BannerMarkup(bool untilNextLabel = true) {
    return Markup({"Title1", "Title2", "Title3", "Text1", "Text2", "Title4", "Text3"},
                  {{"Left", LabelKind::LeftJustify},
                   {"Center", LabelKind::Center},
                   {"Right", LabelKind::RightJustify},
                   {"Owner", LabelKind::RegOwner},
                   {"Organization", LabelKind::RegOrganization},
                   {"AppTitle", LabelKind::AppTitle},
                   {"Date", LabelKind::Date},
                   {"Time", LabelKind::Time}},
                  untilNextLabel);
}

std::string FakeLabel(LabelKind k) {
    switch (k) {
        case LabelKind::RegOwner:
            return "OWNER";
        case LabelKind::RegOrganization:
            return "ORG";
        case LabelKind::AppTitle:
            return "TITLE";
        case LabelKind::Date:
            return "2024-05-06";
        case LabelKind::Time:
            return "7:08:09";
        default:
            return "WRONG";
    }
}

MarkupState Style(std::optional<std::size_t> font, std::optional<Align> align) {
    MarkupState s;
    s.font = font;
    s.align = align;
    return s;
}

TEST(BannerMarkup, ResolvesTagsOfOneLine) {
    struct Case {
        const char* line;
        MarkupState entry;
        const char* text;
        MarkupState style;
    };
    const MarkupState none;
    const Case cases[] = {
        {"<Title1><Center>注意：  在安装服务器之前", none, "注意：  在安装服务器之前",
         Style(0, Align::Center)},
        {"请将计算机的IP地址设置为固定形式！", none, "请将计算机的IP地址设置为固定形式！", none},
        {"", none, "", none},
        // A tag styles its whole line wherever it stands; the last of a kind wins.
        {"ab<Title3>cd", none, "abcd", Style(2, std::nullopt)},
        {"<Title2>a<Text3>b", none, "ab", Style(6, std::nullopt)},
        {"<Left>x<Right>", none, "x", Style(std::nullopt, Align::Right)},
        {"<title1><CENTER>x", none, "x", Style(0, Align::Center)},
        // Untagged lines keep the style they enter with; a tag replaces only its own kind.
        {"plain", Style(3, Align::Left), "plain", Style(3, Align::Left)},
        {"<Right>x", Style(3, Align::Left), "x", Style(3, Align::Right)},
        {"<Text2>x", Style(3, Align::Left), "x", Style(4, Align::Left)},
        // Not a tag: stays text.
        {"<Unknown>x", none, "<Unknown>x", none},
        {"<Title 1>", none, "<Title 1>", none},
        {"<>", none, "<>", none},
        {"a<b", none, "a<b", none},
        {"a>b", none, "a>b", none},
        {"x<Title1", none, "x<Title1", none},
        {"<<Title1>>", none, "<>", Style(0, std::nullopt)},
        {"中<Title1>文", none, "中文", Style(0, std::nullopt)},
        // Inserting labels.
        {"<Owner>/<Organization>", none, "OWNER/ORG", none},
        {"<AppTitle> <Date> <Time>", none, "TITLE 2024-05-06 7:08:09", none},
    };
    const Markup markup = BannerMarkup();
    for (const auto& c : cases) {
        const auto got = markup.Resolve(c.line, c.entry, FakeLabel);
        EXPECT_EQ(got.text, c.text) << c.line;
        EXPECT_EQ(got.style.font, c.style.font) << c.line;
        EXPECT_EQ(got.style.align, c.style.align) << c.line;
    }
}

TEST(BannerMarkup, LabelsWithoutTextSourceInsertNothing) {
    const auto got = BannerMarkup().Resolve("a<Owner>b", {}, nullptr);
    EXPECT_EQ(got.text, "ab");
}

TEST(BannerMarkup, LinesInheritEarlierTagsUntilTheNextOfTheirKind) {
    LineList lines;
    for (const char* l :
         {"<Title1><Center>注意", "line 2", "<Right>line 3", "line 4", "<Text1>line 5", "line 6"}) {
        lines.Add(l);
    }
    struct Case {
        std::size_t index;
        MarkupState entry;
    };
    const Case cases[] = {
        {0, {}},
        {1, Style(0, Align::Center)},
        {2, Style(0, Align::Center)},
        {3, Style(0, Align::Right)},
        {4, Style(0, Align::Right)},
        {5, Style(3, Align::Right)},
    };
    const Markup markup = BannerMarkup();
    for (const auto& c : cases) {
        EXPECT_EQ(markup.EntryOf(lines, c.index), c.entry) << c.index;
    }
    // With tags that hold for their own line only, every line starts afresh.
    EXPECT_EQ(BannerMarkup(false).EntryOf(lines, 3), MarkupState{});
}

}  // namespace
