// Markup of banner lines. A tag is the name of a font style or of a label between angle brackets;
// tags are not drawn. A font tag or an alignment tag styles its own line and, with the
// until-next-label setting, the lines after it until the next tag of its kind. Label tags insert
// text. Anything else in angle brackets is ordinary text.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/banner/line_list.h"

namespace quenlo::banner {

enum class Align { Left, Center, Right };

enum class LabelKind {
    LeftJustify,
    Center,
    RightJustify,
    RegOwner,
    RegOrganization,
    AppTitle,
    Date,
    Time
};

struct LabelTag {
    std::string name;
    LabelKind kind;
};

// Style a line takes from tags: no value means the banner's own font or alignment.
struct MarkupState {
    std::optional<std::size_t> font;  // index into the font styles
    std::optional<Align> align;
    bool operator==(const MarkupState& o) const { return font == o.font && align == o.align; }
};

// A line as drawn: its style and its text without tags.
struct StyledLine {
    MarkupState style;
    std::string text;
    bool operator==(const StyledLine& o) const { return style == o.style && text == o.text; }
};

// Text of the inserting labels (owner, organization, title, date, time).
using LabelText = std::function<std::string(LabelKind)>;

class Markup {
  public:
    Markup() = default;
    Markup(std::vector<std::string> fontNames, std::vector<LabelTag> labels, bool untilNextLabel);

    // Style and drawn text of `line` for a line entering with style `entry`.
    StyledLine Resolve(std::string_view line, const MarkupState& entry,
                       const LabelText& labelText) const;
    // Style that lines[index] enters with: the tags of the lines before it.
    MarkupState EntryOf(const LineList& lines, std::size_t index) const;

  private:
    template <class OnText>
    MarkupState Scan(std::string_view line, MarkupState state, OnText&& onText,
                     const LabelText* labelText) const;

    std::vector<std::string> fonts_;
    std::vector<LabelTag> labels_;
    bool untilNextLabel_ = true;
};

}  // namespace quenlo::banner
