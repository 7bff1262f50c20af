#include "core/banner/markup.h"

#include <utility>

namespace quenlo::banner {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

Markup::Markup(std::vector<std::string> fontNames, std::vector<LabelTag> labels,
               bool untilNextLabel)
    : fonts_(std::move(fontNames)), labels_(std::move(labels)), untilNextLabel_(untilNextLabel) {}

// Scanning byte by byte is safe in code page 936: the brackets are below 0x40, and no trail byte of
// a double-byte character is.
template <class OnText>
MarkupState Markup::Scan(std::string_view line, MarkupState state, OnText&& onText,
                         const LabelText* labelText) const {
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t open = line.find('<', i);
        if (open == std::string_view::npos) {
            onText(line.substr(i));
            break;
        }
        onText(line.substr(i, open - i));
        const std::size_t close = line.find('>', open + 1);
        if (close == std::string_view::npos) {
            onText(line.substr(open));
            break;
        }
        const std::string_view name = line.substr(open + 1, close - open - 1);
        bool isTag = false;
        for (std::size_t f = 0; f < fonts_.size() && !isTag; ++f) {
            if (SameName(name, fonts_[f])) {
                state.font = f;
                isTag = true;
            }
        }
        for (std::size_t l = 0; l < labels_.size() && !isTag; ++l) {
            if (!SameName(name, labels_[l].name)) continue;
            isTag = true;
            switch (labels_[l].kind) {
                case LabelKind::LeftJustify:
                    state.align = Align::Left;
                    break;
                case LabelKind::Center:
                    state.align = Align::Center;
                    break;
                case LabelKind::RightJustify:
                    state.align = Align::Right;
                    break;
                default:
                    if (labelText && *labelText) onText((*labelText)(labels_[l].kind));
                    break;
            }
        }
        if (isTag) {
            i = close + 1;
        } else {
            // Not a tag: the bracket is text, and a tag may still start after it.
            onText(line.substr(open, 1));
            i = open + 1;
        }
    }
    return state;
}

StyledLine Markup::Resolve(std::string_view line, const MarkupState& entry,
                           const LabelText& labelText) const {
    StyledLine out;
    out.style = Scan(
        line, entry, [&](std::string_view s) { out.text.append(s); }, &labelText);
    return out;
}

MarkupState Markup::EntryOf(const LineList& lines, std::size_t index) const {
    MarkupState state;
    if (!untilNextLabel_) return state;
    for (std::size_t i = 0; i < index && i < lines.Count(); ++i) {
        state = Scan(
            lines[i], state, [](std::string_view) {}, nullptr);
    }
    return state;
}

}  // namespace quenlo::banner
